// The building blocks that seeding and the configurator dialogs share.
#include "configurator/Configurator_utilities.h"
#include "tests/tool/ConfiguratorFixture.h"
#include "tool/main.h"

namespace {

using Strings = std::vector<std::string>;

class ConfiguratorUtilitiesTest : public ConfiguratorFixture {};

TEST_F(ConfiguratorUtilitiesTest, PopUpItemsAreNumberedPastTheLargestNumber) {
  L0_Var_2 popUp = create("PopUpDiagram");
  EXPECT_EQ(L0_Func_get_max_PopUpElement_nr(popUp), 0);
  L0_Var_2 first = L0_Func_add_PopUpElement(popUp, "Open", "navigate");
  expectValues(first, {{"id", "Open"},
                       {"caption", "Open"},
                       {"visibility", "true"},
                       {"nr", "1"},
                       {"procedure_name", "navigate"}});
  L0_Func_add_PopUpElement2(popUp, "Cut", "cut").setAttr("nr", "7");
  L0_Func_add_PopUpElement(popUp, "Copy", "copy");
  EXPECT_EQ(L0_Func_get_max_PopUpElement_nr(popUp), 8);
  EXPECT_EQ(attrs(over(popUp, "popUpElement"), "caption"), (Strings{"Open", "Cut", "Copy"}));
  EXPECT_EQ(attrs(over(popUp, "popUpElement"), "nr"), (Strings{"1", "7", "8"}));
}

TEST_F(ConfiguratorUtilitiesTest, CompartmentTypesAreCountedPerElementType) {
  L0_Var_2 type = create("NodeType");
  L0_Var_2 other = create("NodeType");
  EXPECT_EQ(L0_Func_get_max_CompartType_nr(type), 0);
  for (const char* nr : {"2", "5", "3"}) {
    L0_Var_2 compartType = create("CompartType");
    compartType.setAttr("nr", nr);
    type.addLink(compartType, "compartType");
  }
  L0_Var_2 elsewhere = create("CompartType");
  elsewhere.setAttr("nr", "9");
  other.addLink(elsewhere, "compartType");
  EXPECT_EQ(L0_Func_get_max_CompartType_nr(type), 5);
}

TEST_F(ConfiguratorUtilitiesTest, ShortcutsGoOverTheGivenRoleInOrder) {
  L0_Var_2 diagramType = create("GraphDiagramType");
  L0_Func_add_default_keyshortcuts(diagramType, "eKeyboardShortcut");
  L0_Func_add_key_shortcut(diagramType, "cKeyboardShortcut", "Ctrl V", "paste");
  EXPECT_EQ(attrs(over(diagramType, "eKeyboardShortcut"), "key"),
            (Strings{"Ctrl X", "Ctrl C", "Delete"}));
  EXPECT_EQ(attrs(over(diagramType, "eKeyboardShortcut"), "procedure_name"),
            (Strings{"cut", "copy", "delete"}));
  EXPECT_EQ(attrs(over(diagramType, "cKeyboardShortcut"), "procedure_name"), (Strings{"paste"}));
}

// The lookups stay inside one diagram type or palette: "box" and "Box" exist
// only in the type diagram.
class ConfiguratorLookupTest : public ConfiguratorFixture {
 protected:
  void SetUp() override {
    ConfiguratorFixture::SetUp();
    L0_Func_myconst();
    gr::clearRecordedMessages();
  }
};

TEST_F(ConfiguratorLookupTest, PairEndsAreLookedUpInTheLineTypesDiagramType) {
  L0_Var_2 line = elemType("specificationDgr", "diagramLine");
  std::size_t pairs = all("Pair").size();
  EXPECT_TRUE(L0_Func_const_add_pair(line, "box", "fiction", "p").isNull());
  EXPECT_EQ(messages(), (Strings{"get_elemType_by_id, nav elemType ar id box"}));
  EXPECT_EQ(all("Pair").size(), pairs);

  L0_Var_2 pair = L0_Func_const_add_pair(line, "pin", "freeBox", "p2");
  EXPECT_EQ(attr(pair, "id"), "p2");
  EXPECT_EQ(over(line, "pair").back(), pair);
  EXPECT_EQ(first(pair, "start"), elemType("specificationDgr", "pin"));
  EXPECT_EQ(first(pair, "end"), elemType("specificationDgr", "freeBox"));
  EXPECT_EQ(first(pair, "edgeType"), line);
}

TEST_F(ConfiguratorLookupTest, PaletteEntriesAreLookedUpInTheGivenPalette) {
  L0_Var_2 type = create("NodeType");
  L0_Var_2 specPalette = first(diagramType("specificationDgr"), "palette");
  L0_Func_connect_elemType_to_palette_by_name(type, specPalette, "Box");
  EXPECT_EQ(messages(), (Strings{"nav paletes elementa ar vaardu Box"}));
  EXPECT_TRUE(over(type, "paletteElement").empty());
  L0_Func_connect_elemType_to_palette_by_name(type, specPalette, "FreeBox");
  EXPECT_EQ(attr(first(type, "paletteElement"), "id"), "FreeBox");
  EXPECT_EQ(first(first(type, "paletteElement"), "palette"), specPalette);
}

TEST_F(ConfiguratorUtilitiesTest, NewCompartmentStyleHasTheDefaultsOrTheTemplatesValues) {
  L0_Var_2 fresh = L0_Func_addCompartStyle(L0_Var_2("CompartStyle"));
  expectValues(fresh,
               {{"id", "CompartStyle"}, {"caption", "CompartStyle"}, {"nr", "0"},
                {"alignment", "0"},     {"adjustment", "0"},         {"adornment", "0"},
                {"lineWidth", "1"},     {"lineColor", "0"},          {"fontTypeFace", "Arial"},
                {"fontCharSet", "1"},   {"fontColor", "0"},          {"fontSize", "9"},
                {"fontPitch", "0"},     {"fontStyle", "0"},          {"picture", ""},
                {"picWidth", "0"},      {"picHeight", "0"},          {"picPos", "1"},
                {"picStyle", "0"},      {"textDirection", ""},       {"isVisible", "1"}});
  EXPECT_EQ(all("CompartStyle").size(), 1u);

  fresh.setAttr("fontSize", "14");
  fresh.setAttr("textDirection", "vertical");
  fresh.setAttr("id", "Title");
  L0_Var_2 copy = L0_Func_addCompartStyle(fresh);
  EXPECT_NE(copy, fresh);
  expectValues(copy, {{"id", "Title"},
                      {"caption", "CompartStyle"},
                      {"fontSize", "14"},
                      {"textDirection", "vertical"},
                      {"picPos", "1"},
                      {"isVisible", "1"}});
  EXPECT_TRUE(over(copy, "compartType").empty());
  EXPECT_EQ(all("CompartStyle").size(), 2u);
}

}  // namespace
