// Right-click menus (of an element, of the canvas, made at run time, used
// once) and key shortcuts chosen by how many elements are selected.
#include "ToolFixture.h"
#include "host/base/OrphanCheck.h"
#include "tool/Commands.h"
#include "tool/Element.h"

L0_TRANSFORMATION void L0_Func_RClick();
L0_TRANSFORMATION void L0_Func_KeyDown();
L0_TRANSFORMATION void L0_Func_PopUpElemSelect();

namespace {

class MenusAndKeysTest : public ToolFixture {
 protected:
  void SetUp() override {
    ToolFixture::SetUp();
    boxType = type("NodeType", "box");
    boxMenu = menu({"Cut", "Copy"});
    boxType.addLink(boxMenu, "popUpDiagram");
    emptyMenu = menu({"Paste"});
    diagramTypeObject.addLink(emptyMenu, "RClickEmpty");
    selectionMenu = menu({"Delete all"});
    diagramTypeObject.addLink(selectionMenu, "RClickCollection");
    a = L0_Func_create_node(boxType, diagram, L0_Var_2("Node"));
    b = L0_Func_create_node(boxType, diagram, L0_Var_2("Node"));
  }

  static L0_Var_2 menu(std::vector<std::string> captions) {
    L0_Var_2 popUp = create("PopUpDiagram");
    for (const std::string& caption : captions) {
      L0_Var_2 item = create("PopUpElement");
      item.setAttr("caption", caption);
      popUp.addLink(item, "popUpElement");
    }
    return popUp;
  }
  static void shortcut(L0_Var_2 owner, const std::string& role, const std::string& key,
                       const std::string& procedure) {
    L0_Var_2 keyShortcut = create("KeyboardShortcut");
    keyShortcut.setAttr("key", key);
    keyShortcut.setAttr("procedure_name", procedure);
    owner.addLink(keyShortcut, role);
  }
  static void press(const std::string& key) {
    create("KeyDownEvent").setAttr("info", key);
    L0_Func_KeyDown();
    EXPECT_TRUE(all("KeyDownEvent").empty());
  }
  static void rightClick(L0_Var_2 element = L0_Var_2()) {
    L0_Var_2 event = create("RClickEvent");
    if (!element.isNull()) event.addLink(element, "element");
    L0_Func_RClick();
    EXPECT_TRUE(all("RClickEvent").empty());
  }
  // The menu of the newest PopUpCmd.
  static L0_Var_2 shownMenu() {
    Objects queued = commands();
    for (auto it = queued.rbegin(); it != queued.rend(); ++it)
      if (getClassName(*it) == "PopUpCmd") return first(*it, "popUpDiagram");
    return L0_Var_2();
  }
  static void choose(const L0_Var_2& shown, const std::string& caption) {
    L0_Var_2 event = create("PopUpElemSelectEvent");
    for (const L0_Var_2& item : over(shown, "popUpElement"))
      if (attr(item, "caption") == caption) event.addLink(item, "popUpElement");
    L0_Func_PopUpElemSelect();
    EXPECT_TRUE(all("PopUpElemSelectEvent").empty());
  }

  L0_Var_2 boxType, boxMenu, emptyMenu, selectionMenu, a, b;
};

TEST_F(MenusAndKeysTest, AKeyRunsTheShortcutOfWhatIsSelected) {
  shortcut(diagramTypeObject, "eKeyboardShortcut", "K", "grtest_procedures#note_first");
  shortcut(boxType, "keyboardShortcut", "K", "grtest_procedures#object_entry");
  shortcut(diagramTypeObject, "cKeyboardShortcut", "K", "grtest_procedures#note_third");
  select({});
  press("K");
  select({b});
  press("K");
  select({a, b});
  press("K");
  // Only the element type's own shortcuts count for one element.
  select({a});
  press("Ctrl Q");
  EXPECT_EQ(messages(),
            (std::vector<std::string>{
                "first", "object entry got " + std::to_string(b.getCurrObjID()), "third"}));
}

// The seeded shortcut "Application" -> "RClick": RClick takes no argument.
TEST_F(MenusAndKeysTest, TheMenuKeyShowsTheMenuOfTheSelection) {
  shortcut(boxType, "keyboardShortcut", "Application", "RClick");
  shortcut(diagramTypeObject, "cKeyboardShortcut", "Application", "RClick");
  shortcut(diagramTypeObject, "eKeyboardShortcut", "Application", "RClick");
  select({a});
  press("Application");
  EXPECT_EQ(shownMenu(), boxMenu);
  select({a, b});
  press("Application");
  EXPECT_EQ(shownMenu(), selectionMenu);
  select({});
  press("Application");
  EXPECT_EQ(shownMenu(), emptyMenu);
  EXPECT_TRUE(messages().empty()) << messages().front();
}

TEST_F(MenusAndKeysTest, ARightClickShowsTheElementsOrTheCanvasMenu) {
  rightClick(a);
  EXPECT_EQ(shownMenu(), boxMenu);
  select({a, b});
  rightClick();
  EXPECT_EQ(shownMenu(), selectionMenu);
  select({});
  rightClick();
  EXPECT_EQ(shownMenu(), emptyMenu);
  // Without any right click and without a current diagram there is nothing to show.
  L0_Var_2 pointer = all("CurrentDgrPointer")[0];
  pointer.deleteLink(diagram, "graphDiagram");
  std::size_t shown = commands().size();
  L0_Func_RClick();
  EXPECT_EQ(messages(), std::vector<std::string>{"RClick Error, NoEventError."});
  EXPECT_EQ(commands().size(), shown);
}

TEST_F(MenusAndKeysTest, AMenuMadeAtRunTimeIsGoneOnceUsed) {
  boxType.setAttr("procDynamicPopUp", "grtest_procedures#dynamic_menu");
  select({a});
  rightClick(a);
  L0_Var_2 madeMenu = shownMenu();
  ASSERT_FALSE(madeMenu.isNull());
  EXPECT_NE(madeMenu, boxMenu);
  choose(madeMenu, "Show");
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"menu for Node",
                                      "object entry got " + std::to_string(a.getCurrObjID())}));
  EXPECT_FALSE(exists(L0_Var_2::fromObjectId(madeMenu.getCurrObjID())));
  EXPECT_EQ(all("PopUpElement").size(), 2u + 1u + 1u);  // the box, canvas and selection menus
  EXPECT_TRUE(grhost::findOrphans().empty())
      << grhost::describeOrphan(grhost::findOrphans().front());
  // A menu kept for later stays.
  choose(boxMenu, "Cut");
  EXPECT_TRUE(exists(L0_Var_2::fromObjectId(boxMenu.getCurrObjID())));
  EXPECT_EQ(over(boxMenu, "popUpElement").size(), 2u);
}

}  // namespace
