// The gestures on form components beyond typing and pressing, played as
// script lines: check boxes, combo and list boxes, tabs, trees and tables,
// each with the state it sets and the dialog event it raises (reported by
// the test library's note_dialog_event), and their refusals.
#include "tests/host/script/GestureFixture.h"

using grhost::model::attribute;
using grhost::model::partners;

namespace {

class FormComponentGesturesTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithTestLibrary();
    {
      grhost::model::SaveTransaction transaction;
      RepId form = make("D#Form", {{"caption", "Parts"}, {"id", "parts"}});
      RepId row = component(form, "D#Row", {});
      RepId label =
          component(component(row, "D#HorizontalBox", {}), "D#Label", {{"caption", "Colour"}});
      (void)label;
      RepId colour = component(row, "D#ComboBox", {{"id", "colour"}});
      handle(colour, "DropDown", "fill_colours");
      handle(colour, "Change", "note_dialog_event");
      handle(component(row, "D#CheckBox", {{"id", "flag"}, {"checked", "false"}}), "Change",
             "note_dialog_event");
      component(row, "D#CheckBox", {{"id", "fixed"}, {"editable", "false"}});
      component(row, "D#MultiLineTextBox", {{"id", "lines"}});
      RepId list = component(form, "D#ListBox", {{"id", "list"}, {"multiSelect", "true"}});
      for (const char* value : {"x", "y", "z"})
        link(list, "item", make("D#Item", {{"value", value}}));
      handle(list, "Change", "note_dialog_event");
      RepId tabs = component(form, "D#TabContainer", {{"id", "tabs"}});
      handle(tabs, "TabChange", "note_dialog_event");
      RepId first = component(tabs, "D#Tab", {{"caption", "One"}});
      link(tabs, "activeTab", first);
      component(tabs, "D#Tab", {{"caption", "Two"}});
      RepId tree = component(form, "D#Tree", {{"id", "tree"}, {"draggableNodes", "true"}});
      handle(tree, "TreeNodeSelect", "note_dialog_event");
      handle(tree, "TreeNodeMove", "note_dialog_event");
      RepId root = make("D#TreeNode", {{"text", "Root"}});
      link(tree, "treeNode", root);
      for (const char* text : {"A", "B", "C"})
        link(root, "childNode", make("D#TreeNode", {{"text", text}}));
      RepId table = component(form, "D#VTable", {{"id", "table"}, {"editable", "true"}});
      handle(table, "DeleteButtonClick", "note_dialog_event");
      RepId type = make("D#VTableType");
      link(table, "vTableType", type);
      for (auto [caption, value] : {std::pair{"Name", ""}, {"Kind", "text"}})
        link(type, "vTableColumnType",
             make("D#VTableColumnType", {{"caption", caption}, {"defaultValue", value}}));
      RepId show = make("D#Command", {{"info", "Show"}});
      link(show, "receiver", form);
      link(grhost::model::firstOrCreate("LastCmdPtr"), "command", show);
      head().queue().enqueueNewest();
    }
    head().executeCommands();
  }

  static RepId component(RepId container, const std::string& className,
                         const std::vector<std::pair<std::string, std::string>>& values) {
    RepId made = make(className, values);
    link(container, "component", made);
    return made;
  }
  static void handle(RepId source, const std::string& event, const std::string& transformation) {
    RepId handler = make(
        "D#EventHandler",
        {{"eventName", event}, {"transformationName", transformation}, {"procedureName", "main"}});
    link(handler, "eventSource", source);
  }
};

}  // namespace

TEST_F(FormComponentGesturesTest, CheckBoxesListsAndMultiLineBoxesSetWhatTheyShow) {
  EXPECT_EQ(play("check \"flag\"\n"
                 "expect message \"Change flag\"\n"
                 "expect field \"flag\" = \"true\"\n"
                 "uncheck \"flag\"\n"
                 "expect field \"flag\" = \"false\"\n"
                 "pick \"Colour\" \"green\"\n"
                 "expect message \"Change colour\"\n"
                 "expect field \"colour\" = \"green\"\n"
                 "expect items \"colour\" \"red\" \"green\"\n"
                 "pick \"list\" \"y\"\n"
                 "expect message \"Change list selected=y\"\n"
                 "pick \"list\" \"z\"\n"
                 "pick \"list\" \"y\"\n"
                 "expect message \"Change list deselected=y\"\n"
                 "type \"lines\" \"one\\ntwo\"\n"
                 "expect field \"lines\" = \"one\\ntwo\"\n"),
            "");
  RepId list =
      grhost::DialogEngine::findComponent(head().dialogs().activeForm(), "D#ListBox", "id", "list");
  ASSERT_EQ(partners(list, "selected").size(), 1u);
  EXPECT_EQ(attribute(partners(list, "selected").front(), "value"), "z");
  EXPECT_EQ(play("check \"fixed\""), "1: the check box \"fixed\" is not editable");
  EXPECT_EQ(play("pick \"colour\" \"blue\""), "1: the field \"colour\" has no item \"blue\"");
  EXPECT_EQ(play("expect items \"colour\" \"red\""),
            "1: the field \"colour\" lists \"red\", \"green\", not \"red\"");
}

TEST_F(FormComponentGesturesTest, TabsAndTreeNodesAreSelectedAndNodesDragged) {
  EXPECT_EQ(play("tab \"Two\"\n"
                 "expect message \"TabChange tabs tab=Two\"\n"
                 "node \"Root/B\"\n"
                 "expect message \"TreeNodeSelect tree treeNode=B\"\n"
                 "node \"Root/C\"\n"
                 "expect message \"TreeNodeSelect tree treeNode=C previous=B\"\n"
                 "drag \"Root/C\" to \"Root/A\"\n"
                 "expect message \"TreeNodeMove tree treeNode=C previousParent=Root\"\n"
                 "drag \"Root/B\" to \"Root\" at 1\n"
                 "expect nodes \"Root\" \"Root/B\" \"Root/A\" \"Root/A/C\"\n"
                 "collapse \"Root/A\"\n"),
            "");
  EXPECT_EQ(play("node \"Root/D\""), "1: the tree has no node \"Root/D\"");
  EXPECT_EQ(play("drag \"Root/A\" to \"Root/A/C\""),
            "1: a node can not be dragged into itself or its children");
  EXPECT_EQ(play("tab \"Three\""), "1: the form \"Parts\" has no tab \"Three\"");
}

TEST_F(FormComponentGesturesTest, TableRowsAreAddedWrittenAndMarkedDeleted) {
  EXPECT_EQ(play("table \"table\" add\n"
                 "table \"table\" add\n"
                 "expect cells \"table\" 1 \"\" \"text\"\n"
                 "table \"table\" cell 2 \"Name\" \"size\"\n"
                 "table \"table\" cell 2 \"Kind\" \"number\"\n"
                 "expect cells \"table\" 2 \"size\" \"number\"\n"
                 "table \"table\" delete 1\n"
                 "expect message \"DeleteButtonClick table\"\n"),
            "");
  RepId table =
      grhost::DialogEngine::findComponent(head().dialogs().activeForm(), "D#VTable", "id", "table");
  std::vector<RepId> rows = partners(table, "vTableRow");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(attribute(rows[0], "deleted"), "true");
  EXPECT_EQ(attribute(rows[1], "deleted"), "false");
  EXPECT_EQ(play("table \"table\" cell 3 \"Name\" \"x\""), "1: the table \"table\" has no row 3");
  EXPECT_EQ(play("table \"table\" cell 1 \"Size\" \"x\""), "1: the table has no column \"Size\"");
  EXPECT_EQ(play("expect cells \"table\" 2 \"size\""),
            "1: row 2 of \"table\" is \"size\", \"number\", not \"size\"");
}
