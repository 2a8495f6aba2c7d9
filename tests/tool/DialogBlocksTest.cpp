// The dialog building blocks: a form built from every block, dumped as the
// tree of objects with their values and handlers and compared with the
// golden text tests/tool/golden/dialog_blocks.txt (GR_UPDATE_GOLDEN=1
// rewrites it); and the lookups and handlers the blocks rely on.
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "configurator/Configurator_utilities.h"
#include "configurator/Dialog_utilities.h"
#include "tests/tool/ToolFixture.h"

namespace {

const char* const kGolden = GR_SOURCE_DIR "/tests/tool/golden/dialog_blocks.txt";

// The object's set values in the order of its class's attributes.
std::string values(const L0_Var_2& object) {
  std::string text;
  RepIdList* attributes = GetPropertyTypeIdList(object.actualClassId());
  for (uint32_t i = 0; attributes && i < RepIdListCount(attributes); ++i) {
    RepId attribute = RepIdListItem(attributes, i);
    std::string value = object.getAttr(attribute);
    if (!value.empty()) text += std::string(" ") + GetTypeName(attribute) + "=\"" + value + "\"";
  }
  if (attributes) RepIdListFree(attributes);
  return text;
}

std::string className(const L0_Var_2& object) {
  return GetTypeName(object.actualClassId());
}

// Parts first reached over one of the roles; "vTableType" leads both from a
// table to its type and from a column type back to it.
void dump(const L0_Var_2& object, int depth, std::ostream& out, std::set<ObjID>& seen) {
  if (!seen.insert(object.getCurrObjID()).second) return;
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << className(object)
      << values(object) << "\n";
  for (const char* role : {"eventHandler", "component", "treeNode", "childNode", "item",
                           "vTableType", "vTableColumnType", "defaultComponent"}) {
    if (!GetLinkTypeIdByName(object.actualClassId(), role)) continue;
    L0_Var_2 part;
    for (bool found = part.setFirstByRelation(object, role); found; found = part.next())
      dump(L0_Var_2::fromObjectId(part.getCurrObjID()), depth + 1, out, seen);
  }
}

class DialogBlocksTest : public ToolFixture {};

TEST_F(DialogBlocksTest, EveryBlockMakesItsObjectsValuesAndHandlers) {
  L0_Var_2 form = L0_Func_add_Form("Blocks");
  L0_Var_2 box = L0_Func_add_HorizontalBox(form);
  L0_Var_2 left = L0_Func_add_VerticalBox(box);
  L0_Var_2 tree = L0_Func_add_Tree(left);
  L0_Var_2 root = L0_Func_add_rootNode(tree);
  L0_Func_add_TreeNode(root, "Child");
  L0_Var_2 tabs = L0_Func_add_TabContainer(box);
  L0_Var_2 tab = L0_Func_add_Tab(tabs, "Rows");
  L0_Func_add_NameRow_default(tab, "Person");
  L0_Func_add_Row(tab, "Multiplicity", "multiplicityConstraint", "1");
  L0_Func_add_Row_on_change(tab, "On change", "changing", "", "note");
  L0_Func_add_Row_void_int_properties(tab, "Number", "nr", "3", "write_nr");
  L0_Func_add_Row_void_double_properties(tab, "Share", "share", "0.5", "write_share");
  L0_Func_add_Row_elemStyle_properties(tab, "Width", "width", "20");
  L0_Func_add_multiple_Row(tab, "Notes", "notes", "a\nb");
  L0_Func_add_ComboBoxRow(tab, "Kind", "kind", "one", true, "");
  L0_Func_add_CheckBox(tab, "Is Hint", "isHint", true, false);
  L0_Func_add_CheckBox_focusLost(tab, "Is Multiple", "isMultiple", false, "write_multiple");
  L0_Var_2 columns = L0_Func_add_horizontalRow(tab, "ComboRow");
  L0_Func_add_CheckBox_to_column(columns, "Is Editable", "isEditable", true, "write_editable");
  L0_Func_add_InputBox_to_column(columns, "Tab", "tab", "Main", "write_tab");
  L0_Var_2 other = L0_Func_add_Tab(tabs, "Tables");
  L0_Var_2 table = L0_Func_add_Table(other);
  L0_Var_2 type = L0_Func_add_TableType(table, "AddRow", "DeleteRow");
  L0_Func_add_ColumnType_TextBox(type, "Name");
  L0_Func_add_ColumnType_ComboBox_with_items(type, "Key", "Ctrl X$Delete$");
  L0_Func_add_ColumnType_Button(type, "Go", "run_row");
  L0_Func_add_ListBox(other, "pick_items");
  L0_Func_add_image(other, "icon.bmp", "write_icon");
  L0_Var_2 label = L0_Func_add_row_box_label(other, "Alone");
  L0_Func_add_label(label, "Second");
  L0_Func_add_textField(label, "plain", "text", false);
  L0_Func_add_Button(form, "ok", "OK", "close_it");
  std::ostringstream text;
  std::set<ObjID> seen;
  dump(form, 0, text, seen);
  if (std::getenv("GR_UPDATE_GOLDEN")) std::ofstream(kGolden) << text.str();
  std::ifstream golden(kGolden);
  std::stringstream expected;
  expected << golden.rdbuf();
  EXPECT_EQ(text.str(), expected.str());
}

TEST_F(DialogBlocksTest, ComponentsAreFoundByIdAsDeepAsAsked) {
  L0_Var_2 form = L0_Func_add_Form("Find");
  L0_Var_2 box = L0_Func_add_HorizontalBox(form);
  L0_Var_2 inner = L0_Func_add_textField(L0_Func_add_VerticalBox(box), "deep", "", true);
  EXPECT_EQ(L0_Func_get_component_from_container_by_id(form, "deep"), inner);
  EXPECT_TRUE(L0_Func_get_exact_component_from_container_by_id(form, "deep", 2).isNull());
  EXPECT_EQ(L0_Func_get_exact_component_from_container_by_id(form, "deep", 3), inner);
  EXPECT_TRUE(L0_Func_get_component_from_container_by_id(form, "none").isNull());
  L0_Func_delete_container_components(form);
  EXPECT_TRUE(all("D#Component").size() == 1u) << "only the form is left";
  EXPECT_TRUE(all("D#EventHandler").empty());
}

TEST_F(DialogBlocksTest, NumericChecksMarkTheFieldAndFieldsWriteTheSelectedType) {
  L0_Var_2 form = L0_Func_add_Form("Types");
  form.setAttr("id", "Configurator_form");
  L0_Var_2 box = L0_Func_add_HorizontalBox(form);
  L0_Var_2 tree = L0_Func_add_Tree(L0_Func_add_VerticalBox(box));
  L0_Var_2 node = L0_Func_add_rootNode(tree);
  L0_Var_2 compartType = create("CompartType");
  node.addLink(compartType, "typeWithMapping");
  tree.addLink(node, "selected");
  L0_Var_2 nr = L0_Func_add_Row_void_int_properties(form, "Nr", "nr", "x", "");
  auto raise = [](const L0_Var_2& source) {
    L0_Var_2 event = create("D#Event");
    event.addLink(source, "source");
  };
  raise(nr);
  L0_Func_check_int();
  EXPECT_EQ(nr.getAttr("outlineColor"), "255");
  EXPECT_EQ(nr.getAttr("hint"), "Error: Value is not an integer!");
  EXPECT_TRUE(all("D#Event").empty()) << "the handler deletes its event";
  nr.setAttr("text", "12");
  raise(nr);
  L0_Func_check_int();
  EXPECT_EQ(nr.getAttr("outlineColor"), "536870911");
  EXPECT_EQ(nr.getAttr("hint"), "");
  L0_Var_2 start = L0_Func_add_Row(form, "Start Value", "startValue", "7");
  raise(start);
  L0_Func_update_from_inputField();
  EXPECT_EQ(compartType.getAttr("startValue"), "7");
  L0_Var_2 essential = L0_Func_add_CheckBox(form, "Is Essential", "isEssential", true, true);
  raise(essential);
  L0_Func_update_from_checkBox();
  EXPECT_EQ(compartType.getAttr("isEssential"), "true");
}

}  // namespace
