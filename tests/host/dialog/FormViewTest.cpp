// A form's view is its component tree as a front end draws it: values that
// are set, the parts the dialog metamodel composes in link order, the links
// that tell how it is shown; no event handlers.
#include "host/dialog/FormView.h"
#include "tests/host/script/GestureFixture.h"

namespace {

using grhost::FormPart;

class FormViewTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithTestLibrary();
  }
  static RepId part(RepId whole, const std::string& role, const std::string& className,
                    const std::vector<std::pair<std::string, std::string>>& values = {}) {
    RepId made = make(className, values);
    link(whole, role, made);
    return made;
  }
  static const std::vector<FormPart>& partsOf(const FormPart& whole, const std::string& role) {
    for (const auto& [name, parts] : whole.parts)
      if (name == role) return parts;
    static const std::vector<FormPart> none;
    return none;
  }
  static std::string valueOf(const FormPart& part, const std::string& name) {
    for (const auto& [attribute, value] : part.values)
      if (attribute == name) return value;
    return "";
  }
  static std::vector<RepId> linksOf(const FormPart& part, const std::string& role) {
    for (const auto& [name, ids] : part.links)
      if (name == role) return ids;
    return {};
  }
};

TEST_F(FormViewTest, AFormShowsItsComponentsItemsRowsAndNodesInOrder) {
  grhost::model::SaveTransaction transaction;
  RepId form = make("D#Form", {{"caption", "Settings"}, {"buttonClickOnClose", "true"}});
  RepId tabs = part(form, "component", "D#TabContainer");
  RepId first = part(tabs, "component", "D#Tab", {{"caption", "General"}});
  RepId second = part(tabs, "component", "D#Tab", {{"caption", "More"}});
  link(tabs, "activeTab", second);
  RepId combo = part(first, "component", "D#ComboBox", {{"id", "kind"}, {"text", "b"}});
  part(combo, "item", "D#Item", {{"value", "a"}});
  RepId b = part(combo, "item", "D#Item", {{"value", "b"}});
  link(combo, "selected", b);
  RepId handler = make("D#EventHandler", {{"eventName", "Change"}});
  link(handler, "eventSource", combo);
  RepId table = part(second, "component", "D#VTable");
  RepId row = part(table, "vTableRow", "D#VTableRow");
  part(row, "vTableCell", "D#VTableCell", {{"value", "x"}});
  part(row, "vTableCell", "D#VTableCell", {{"value", "y"}});
  RepId tree = part(second, "component", "D#Tree");
  RepId root = part(tree, "treeNode", "D#TreeNode", {{"text", "root"}});
  part(root, "childNode", "D#TreeNode", {{"text", "leaf"}});
  RepId ok = part(form, "component", "D#Button", {{"caption", "OK"}});
  link(form, "defaultButton", ok);

  FormPart view = grhost::formView(form);
  EXPECT_EQ(view.id, form);
  EXPECT_EQ(view.className, "D#Form");
  EXPECT_EQ(valueOf(view, "caption"), "Settings");
  EXPECT_EQ(linksOf(view, "defaultButton"), std::vector<RepId>{ok});
  const auto& top = partsOf(view, "component");
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[1].className, "D#Button");
  const FormPart& tabView = top[0];
  EXPECT_EQ(linksOf(tabView, "activeTab"), std::vector<RepId>{second});
  const auto& pages = partsOf(tabView, "component");
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(valueOf(pages[0], "caption"), "General");

  const FormPart& comboView = partsOf(pages[0], "component").at(0);
  EXPECT_EQ(valueOf(comboView, "text"), "b");
  const auto& items = partsOf(comboView, "item");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(valueOf(items[0], "value"), "a");
  EXPECT_EQ(linksOf(comboView, "selected"), std::vector<RepId>{b});
  EXPECT_TRUE(partsOf(comboView, "eventHandler").empty()) << "handlers are not the page's";

  const auto& more = partsOf(pages[1], "component");
  ASSERT_EQ(more.size(), 2u);
  const auto& cells = partsOf(partsOf(more[0], "vTableRow").at(0), "vTableCell");
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(valueOf(cells[1], "value"), "y");
  const FormPart& rootView = partsOf(more[1], "treeNode").at(0);
  EXPECT_EQ(valueOf(partsOf(rootView, "childNode").at(0), "text"), "leaf");
}

TEST_F(FormViewTest, AFormThatIsGoneHasAnEmptyView) {
  EXPECT_EQ(grhost::formView(0).id, 0u);
  EXPECT_EQ(grhost::formView(987654).id, 0u);
}

}  // namespace
