// The configurator's own diagram types as a new project gets them.
#include <tuple>

#include "host/base/OrphanCheck.h"
#include "tests/tool/ConfiguratorFixture.h"
#include "tool/main.h"

namespace {

using Strings = std::vector<std::string>;
using Values = std::vector<std::pair<std::string, std::string>>;

const Values kCommonDiagramValues = {{"layoutMode", "0"},
                                     {"layoutAlgorithm", "3"},
                                     {"bkgColor", "16775408"},
                                     {"screenZoom", "1000"},
                                     {"printZoom", "1000"}};

class SeedingTest : public ConfiguratorFixture {
 protected:
  void SetUp() override {
    ConfiguratorFixture::SetUp();
    for (const char* engine : {"HeadEngine", "GraphDiagramEngine", "MultiUserEngine"})
      create(engine);
    L0_Func_myconst();
  }

  static L0_Var_2 spec(const std::string& id) { return elemType("specificationDgr", id); }
  static L0_Var_2 typeDgr(const std::string& id) { return elemType("diagramTypeDiagram", id); }

  static Strings itemCaptions(const L0_Var_2& popUp) {
    return attrs(over(popUp, "popUpElement"), "caption");
  }
  static std::vector<std::tuple<std::string, std::string, std::string>> items(
      const L0_Var_2& popUp) {
    std::vector<std::tuple<std::string, std::string, std::string>> result;
    for (const L0_Var_2& item : over(popUp, "popUpElement"))
      result.emplace_back(attr(item, "caption"), attr(item, "procedure_name"), attr(item, "nr"));
    return result;
  }
  static std::vector<std::pair<std::string, std::string>> keys(const L0_Var_2& owner,
                                                               const std::string& role) {
    std::vector<std::pair<std::string, std::string>> result;
    for (const L0_Var_2& key : over(owner, role))
      result.emplace_back(attr(key, "key"), attr(key, "procedure_name"));
    return result;
  }
  static std::vector<std::tuple<std::string, std::string, std::string>> pairs(
      const L0_Var_2& lineType) {
    std::vector<std::tuple<std::string, std::string, std::string>> result;
    for (const L0_Var_2& pair : over(lineType, "pair"))
      result.emplace_back(attr(first(pair, "start"), "id"), attr(first(pair, "end"), "id"),
                          attr(pair, "id"));
    return result;
  }
  static L0_Var_2 styleOf(const L0_Var_2& type) { return first(type, "elemStyle"); }
};

using Row = std::tuple<std::string, std::string, std::string>;

TEST_F(SeedingTest, ThreeDiagramTypesWithTheCommonValuesAndNothingReported) {
  EXPECT_TRUE(messages().empty()) << messages().front();
  Objects types = all("GraphDiagramType");
  EXPECT_EQ(attrs(types, "id"),
            (Strings{"specificationDgr", "projectDiagram", "diagramTypeDiagram"}));
  EXPECT_EQ(attrs(types, "caption"), (Strings{"Specification Diagram", "Project Diagram", ""}));
  for (const L0_Var_2& type : types) expectValues(type, kCommonDiagramValues);
  EXPECT_EQ(all("GraphClipboard").size(), 1u);
  EXPECT_EQ(all("FirstCmdPtr").size(), 1u);
  Objects tools = over(first(diagramType("specificationDgr"), "toolbar"), "tool");
  ASSERT_EQ(tools.size(), 1u);
  expectValues(tools[0], {{"id", "MakeTool"},
                          {"caption", "Export Tool"},
                          {"visibility", "true"},
                          {"nr", "1"},
                          {"picture", "1asdAnswer.BMP"},
                          {"procedure_name", "make_tool"}});
  EXPECT_TRUE(over(first(diagramType("projectDiagram"), "toolbar"), "tool").empty());
  // Pasting on the project diagram's canvas.
  EXPECT_EQ(keys(diagramType("projectDiagram"), "eKeyboardShortcut"),
            (std::vector<std::pair<std::string, std::string>>{{"Ctrl V", "paste"}}));
  std::vector<grhost::Orphan> orphans = grhost::findOrphans();
  EXPECT_TRUE(orphans.empty()) << grhost::describeOrphan(orphans.front());
}

TEST_F(SeedingTest, PopUpsOfTheDiagramsKeepExportBesidePasteAsNumberOne) {
  L0_Var_2 empty = first(diagramType("specificationDgr"), "RClickEmpty");
  EXPECT_EQ(attr(empty, "id"), "popUpDgr");
  EXPECT_EQ(items(empty),
            (std::vector<Row>{{"Paste", "paste", "1"},
                              {"Export", "specific_export", "1"},
                              {"Import", "import", "2"},
                              {"Import Konfigurators", "konfiurators_import", "3"},
                              {"Import Diagram Types", "importDgrTypes", "4"},
                              {"Add ToolBar", "add_toolbar", "5"},
                              {"Add PopUp", "add_popUp", "6"},
                              {"Add Key ShortCuts", "add_keyshortcut", "7"},
                              {"Specific Transformation", "specific_transformation", "8"},
                              {"Diagram style", "diagram_style", "9"},
                              {"Edit GraphDiagramEngine", "edit_graph_diagram_engine", "10"}}));
  for (const L0_Var_2& item : over(empty, "popUpElement"))
    expectValues(item, {{"visibility", "true"}, {"id", attr(item, "caption")}});
  EXPECT_EQ(items(first(diagramType("specificationDgr"), "RClickCollection")),
            (std::vector<Row>{{"Export Diagram Types", "exportDgrTypes", "1"}}));
  EXPECT_EQ(items(first(diagramType("projectDiagram"), "RClickEmpty")),
            (std::vector<Row>{{"Specification Diagram", "show_specificationDgr", "1"}}));
  L0_Var_2 typeEmpty = first(diagramType("diagramTypeDiagram"), "RClickEmpty");
  EXPECT_EQ(attr(typeEmpty, "id"), "diagramType_void");
  EXPECT_EQ(attrs(over(typeEmpty, "popUpElement"), "nr"), (Strings{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(itemCaptions(first(diagramType("diagramTypeDiagram"), "RClickCollection")),
            (Strings{"Cut", "Copy", "Delete"}));
}

TEST_F(SeedingTest, PalettesListTheirEntriesInOrder) {
  std::vector<Strings> rows;
  for (const L0_Var_2& entry :
       over(first(diagramType("specificationDgr"), "palette"), "paletteElement"))
    rows.push_back({getClassName(entry), attr(entry, "id"), attr(entry, "caption"),
                    attr(entry, "picture"), attr(entry, "nr")});
  EXPECT_EQ(rows, (std::vector<Strings>{
                      {"PaletteBox", "diagramType", "Seed", "ASDscriptNew.bmp", "1"},
                      {"PaletteLine", "diagramLine", "Line", "P_link.BMP", "2"},
                      {"PalettePin", "Pin", "Pin", "pin.bmp", "3"},
                      {"PaletteFreeBox", "FreeBox", "FreeBox", "action.BMP", "4"},
                      {"PaletteFreeLine", "FreeLine", "FreeLine", "0subclassOf.bmp", "5"},
                      {"PaletteLine", "Subtype", "Specialization", "0instanceOf.bmp", "6"}}));
  Objects typeEntries = over(first(diagramType("diagramTypeDiagram"), "palette"), "paletteElement");
  EXPECT_EQ(attrs(typeEntries, "id"),
            (Strings{"Box", "Line", "Pin", "FreeBox", "FreeLine", "Stereotype"}));
  EXPECT_EQ(attr(typeEntries[0], "picture"), "deployment_d.bmp");
  EXPECT_TRUE(over(first(diagramType("projectDiagram"), "palette"), "paletteElement").empty());
}

TEST_F(SeedingTest, ElementTypesInTableOrderEachWithItsOwnStyle) {
  Objects specTypes = over(diagramType("specificationDgr"), "elemType");
  EXPECT_EQ(attrs(specTypes, "id"),
            (Strings{"NodeStyle", "diagramType", "diagramLine", "pin", "freeBox", "freeLine",
                     "fiction", "subtype", "styleLine"}));
  EXPECT_EQ(classes(specTypes), (Strings{"NodeType", "NodeType", "EdgeType", "PortType", "NodeType",
                                         "EdgeType", "NodeType", "EdgeType", "EdgeType"}));
  Objects typeTypes = over(diagramType("diagramTypeDiagram"), "elemType");
  EXPECT_EQ(attrs(typeTypes, "id"),
            (Strings{"stereotypeBox", "box", "NodeStyle", "pin", "freeBox", "line", "freeLine",
                     "subStyle", "substyle_line", "stereotype", "stereotypeLine", "styleLine"}));
  EXPECT_EQ(classes(typeTypes),
            (Strings{"NodeType", "NodeType", "NodeType", "PortType", "NodeType", "EdgeType",
                     "EdgeType", "EdgeType", "EdgeType", "EdgeType", "EdgeType", "EdgeType"}));
  for (const Objects& types : {specTypes, typeTypes})
    for (const L0_Var_2& type : types) {
      Objects styles = over(type, "elemStyle");
      ASSERT_EQ(styles.size(), 1u) << attr(type, "id");
      EXPECT_EQ(attr(styles[0], "id"), attr(type, "id"));
      if (attr(type, "id") != "diagramType") {
        EXPECT_EQ(attr(type, "caption"), attr(type, "id"));
      }
    }
}

TEST_F(SeedingTest, BoxTypeOfTheTypeDiagramCarriesEveryColumn) {
  L0_Var_2 box = typeDgr("box");
  expectValues(box, {{"procCreateElementDomain", "add_type"},
                     {"procDeleteElementDomain", "delete_special"},
                     {"procDeleteElement", ""},
                     {"l2ClickEvent", "l2Click_BoxProperties"},
                     {"procProperties", "l2Click_BoxProperties"},
                     {"openPropertiesOnElementCreate", "true"},
                     {"procPasted", "element_pasted"},
                     {"procCopied", "element_copied"},
                     {"procClipboardCleared", "delete_special"},
                     {"procMoveLine", ""},
                     {"nr", "0"},
                     {"isStereotypable", "false"},
                     {"has_occurrences", "false"},
                     {"isContainerMandatory", "false"}});
  EXPECT_EQ(keys(box, "keyboardShortcut"),
            (std::vector<std::pair<std::string, std::string>>{
                {"Ctrl X", "cut"}, {"Ctrl C", "copy"}, {"Delete", "delete"}}));
  Objects entries = over(box, "paletteElement");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(attr(entries[0], "id"), "Box");
  EXPECT_EQ(first(entries[0], "palette"), first(diagramType("diagramTypeDiagram"), "palette"));
  L0_Var_2 popUp = first(box, "popUpDiagram");
  EXPECT_EQ(attr(popUp, "id"), "box");
  EXPECT_EQ(
      items(popUp),
      (std::vector<Row>{{"Cut", "cut", "1"},
                        {"Copy", "copy", "2"},
                        {"Delete", "delete", "3"},
                        {"Properties", "l2Click_BoxProperties", "4"},
                        {"Add BoxStyle", "new_ElemStyle1", "5"},
                        {"Add CompartStyles", "make_compartment_style_form", "6"},
                        {"Make Property Diagram Order", "make_property_diagram_order", "7"}}));
  expectValues(styleOf(box), {{"shapeCode", "1"},
                              {"shapeStyle", "0"},
                              {"lineWidth", "1"},
                              {"dashLength", "0"},
                              {"breakLength", "0"},
                              {"alignment", "0"},
                              {"lineColor", "0"},
                              {"picture", ""},
                              {"picWidth", "0"},
                              {"picHeight", "0"},
                              {"picPos", "1"},
                              {"picStyle", "0"},
                              {"bkgColor", "15655141"},
                              {"width", "110"},
                              {"height", "45"}});
  Objects compartTypes = over(box, "compartType");
  ASSERT_EQ(compartTypes.size(), 1u);
  expectValues(compartTypes[0],
               {{"id", "AS#Name"}, {"caption", "AS#Name"}, {"isEssential", "true"}});
  expectValues(first(compartTypes[0], "compartStyle"), {{"id", "AS#Name"},
                                                        {"nr", "1"},
                                                        {"alignment", "1"},
                                                        {"adornment", "0"},
                                                        {"fontStyle", "0"},
                                                        {"isVisible", "1"},
                                                        {"adjustment", "0"},
                                                        {"picPos", "1"},
                                                        {"lineWidth", "1"},
                                                        {"fontTypeFace", "Arial"},
                                                        {"fontCharSet", "1"},
                                                        {"fontSize", "9"},
                                                        {"fontPitch", "0"}});
}

TEST_F(SeedingTest, SeedTypeOfTheSeedDiagram) {
  L0_Var_2 seed = spec("diagramType");
  expectValues(seed, {{"caption", "Diagram Type"},
                      {"procCreateElementDomain", "create_diagramType"},
                      {"procDeleteElement", "delete_specification_seed"},
                      {"procDeleteElementDomain", ""},
                      {"l2ClickEvent", "navigate"},
                      {"procProperties", "l2Click_BoxProperties"},
                      {"nr", ""}});
  EXPECT_EQ(attr(first(seed, "paletteElement"), "caption"), "Seed");
  EXPECT_EQ(attr(first(seed, "popUpDiagram"), "id"), "project_dgr_diagramType");
  EXPECT_EQ(itemCaptions(first(seed, "popUpDiagram")),
            (Strings{"Open", "Delete", "Cut", "Copy", "Properties", "Add BoxStyle",
                     "Add CompartStyles", "Make Property Diagram Order", "Export Diagram Types"}));
  EXPECT_EQ(attrs(over(seed, "compartType"), "id"), (Strings{"AS#Name"}));
  EXPECT_EQ(over(seed, "portType"), (Objects{spec("pin")}));
  L0_Var_2 style = styleOf(seed);
  expectValues(style, {{"caption", "Diagram Type"}, {"bkgColor", "15655141"}});
  Objects compartStyles = over(style, "compartStyle");
  // The last seeding step adds the compartment type's own style after the seeded ones.
  ASSERT_EQ(attrs(compartStyles, "id"), (Strings{"Name", "IconPath", "AS#Name"}));
  expectValues(compartStyles[0],
               {{"nr", ""}, {"alignment", "1"}, {"adornment", "1"}, {"isVisible", "1"}});
  expectValues(compartStyles[1],
               {{"nr", ""}, {"alignment", "0"}, {"adornment", "0"}, {"isVisible", "0"}});
}

TEST_F(SeedingTest, RowsThatDifferFromTheBoxRow) {
  EXPECT_EQ(attr(typeDgr("freeLine"), "openPropertiesOnElementCreate"), "false");
  EXPECT_EQ(attr(spec("freeLine"), "openPropertiesOnElementCreate"), "true");
  EXPECT_EQ(items(first(spec("freeLine"), "popUpDiagram")).front(), Row("Delete", "", "1"));

  L0_Var_2 stereotypeBox = typeDgr("stereotypeBox");
  expectValues(stereotypeBox, {{"l2ClickEvent", "stereotype_BoxProperties"},
                               {"procProperties", ""},
                               {"openPropertiesOnElementCreate", ""},
                               {"procPasted", ""}});
  EXPECT_TRUE(over(stereotypeBox, "keyboardShortcut").empty());
  EXPECT_TRUE(over(stereotypeBox, "paletteElement").empty());
  EXPECT_EQ(items(first(stereotypeBox, "popUpDiagram")),
            (std::vector<Row>{{"Cut", "", "1"},
                              {"Copy", "", "2"},
                              {"Delete", "", "3"},
                              {"Properties", "l2Click_BoxProperties", "4"}}));

  L0_Var_2 pin = typeDgr("pin");
  EXPECT_EQ(keys(pin, "keyboardShortcut"), (std::vector<std::pair<std::string, std::string>>{
                                               {"Delete", "delete"}, {"Application", "RClick"}}));
  EXPECT_EQ(over(typeDgr("box"), "portType"), (Objects{pin}));
  EXPECT_EQ(getClassName(styleOf(pin)), "PortStyle");
  expectValues(styleOf(pin), {{"bkgColor", "12615680"}, {"width", "20"}, {"height", "20"}});
  EXPECT_EQ(attr(typeDgr("line"), "procMoveLine"), "move_linetype");
  EXPECT_EQ(attr(spec("subtype"), "procMoveLine"), "move_subtype");
  EXPECT_EQ(attr(spec("diagramLine"), "l2ClickEvent"), "newBox_Box_diagramType");

  L0_Var_2 fiction = spec("fiction");
  expectValues(fiction,
               {{"procCreateElementDomain", ""}, {"l2ClickEvent", ""}, {"procPasted", ""}});
  EXPECT_TRUE(first(fiction, "popUpDiagram").isNull());
  EXPECT_TRUE(over(fiction, "paletteElement").empty());
  Objects subtypes = over(fiction, "subtype");
  EXPECT_EQ(subtypes, (Objects{spec("diagramType"), spec("diagramLine"), spec("pin"),
                               spec("freeBox"), spec("freeLine")}));
}

TEST_F(SeedingTest, PairsOfEveryLineType) {
  EXPECT_EQ(pairs(typeDgr("line")), (std::vector<Row>{{"box", "box", "line-box/box"},
                                                      {"line", "line", "line-line/line"},
                                                      {"box", "line", "line-box/line"},
                                                      {"line", "box", "line-line/box"},
                                                      {"pin", "pin", "pin_to_pin"},
                                                      {"pin", "box", "pin_to_box"},
                                                      {"box", "pin", "box_to_pin"},
                                                      {"pin", "line", "pin_to_line"},
                                                      {"line", "pin", "pin_to_line"}}));
  EXPECT_EQ(pairs(typeDgr("subStyle")), (std::vector<Row>{{"box", "box", "style_line"}}));
  EXPECT_EQ(pairs(typeDgr("substyle_line")),
            (std::vector<Row>{{"line", "subStyle", "style_to_line"}}));
  EXPECT_EQ(pairs(typeDgr("stereotype")), (std::vector<Row>{{"box", "box", "stereotype1"},
                                                            {"line", "line", "stereotype2"},
                                                            {"pin", "pin", "pin_to_pin_subtype"},
                                                            {"pin", "box", "pin_to_box_subtype"},
                                                            {"box", "pin", "box_to_pin_subtype"}}));
  EXPECT_EQ(pairs(typeDgr("stereotypeLine")),
            (std::vector<Row>{{"box", "stereotypeBox", "stereotypeLine"}}));
  EXPECT_EQ(pairs(typeDgr("styleLine")), (std::vector<Row>{{"box", "NodeStyle", "styleLine"}}));
  EXPECT_EQ(pairs(spec("diagramLine")),
            (std::vector<Row>{{"fiction", "fiction", "diagramLine_pair"}}));
  EXPECT_EQ(pairs(spec("subtype")), (std::vector<Row>{{"fiction", "fiction", "subtype"}}));
  EXPECT_EQ(pairs(spec("styleLine")),
            (std::vector<Row>{{"diagramType", "NodeStyle", "styleLine"}}));
  EXPECT_EQ(all("Pair").size(), 21u);
  for (const L0_Var_2& pair : all("Pair")) {
    L0_Var_2 diagramTypeOfLine = first(first(pair, "edgeType"), "graphDiagramType");
    EXPECT_EQ(first(first(pair, "start"), "graphDiagramType"), diagramTypeOfLine)
        << attr(pair, "id");
    EXPECT_EQ(first(first(pair, "end"), "graphDiagramType"), diagramTypeOfLine) << attr(pair, "id");
  }
}

TEST_F(SeedingTest, LineAndBoxStylesOfTheTables) {
  expectValues(styleOf(typeDgr("line")), {{"shapeCode", "1"},
                                          {"shapeStyle", "0"},
                                          {"dashLength", "0"},
                                          {"breakLength", "0"},
                                          {"bkgColor", "15790320"},
                                          {"lineWidth", "1"},
                                          {"lineColor", "0"},
                                          {"lineType", "16"},
                                          {"startShapeCode", "1"},
                                          {"startLineWidth", "1"},
                                          {"startLineColor", "0"},
                                          {"startDashLength", "0"},
                                          {"startBreakLength", "0"},
                                          {"startBkgColor", "15790320"},
                                          {"middleShapeCode", "1"},
                                          {"middleLineWidth", "1"},
                                          {"middleDashLength", "0"},
                                          {"middleBreakLength", "0"},
                                          {"middleBkgColor", "15790320"},
                                          {"middleLineColor", "0"},
                                          {"endShapeCode", "3"},
                                          {"endLineWidth", "1"},
                                          {"endLineColor", "0"},
                                          {"endDashLength", "0"},
                                          {"endBreakLength", "0"},
                                          {"endBkgColor", "15790320"}});
  expectValues(styleOf(spec("styleLine")), {{"lineWidth", "2"},
                                            {"lineColor", "12632256"},
                                            {"lineType", "1"},
                                            {"startShapeCode", "10"},
                                            {"startLineColor", "12632256"},
                                            {"startDashLength", "8"},
                                            {"startBreakLength", "8"},
                                            {"startBkgColor", "12632256"},
                                            {"endShapeCode", "1"},
                                            {"endBkgColor", "15790320"}});
  expectValues(styleOf(spec("subtype")), {{"lineWidth", "2"},
                                          {"endShapeCode", "11"},
                                          {"endLineWidth", "2"},
                                          {"endLineColor", "12632256"}});
  expectValues(styleOf(typeDgr("substyle_line")),
               {{"lineColor", "12632256"}, {"startShapeCode", "2"}});
  expectValues(styleOf(spec("freeBox")),
               {{"bkgColor", "15503699"}, {"width", "110"}, {"picPos", "1"}});
  expectValues(styleOf(typeDgr("NodeStyle")),
               {{"bkgColor", "13417286"}, {"width", "50"}, {"height", "50"}});
}

TEST_F(SeedingTest, StyleBoxTypeHasANameRowAndANamedCompartmentStyle) {
  for (const L0_Var_2& type : {typeDgr("NodeStyle"), spec("NodeStyle")}) {
    Objects compartTypes = over(type, "compartType");
    ASSERT_EQ(compartTypes.size(), 1u);
    expectValues(compartTypes[0], {{"id", "Name"}, {"caption", "Name"}, {"nr", "1"}});
    L0_Var_2 propertyDiagram = first(type, "propertyDiagram");
    EXPECT_EQ(attr(propertyDiagram, "id"), "NodeStyle");
    Objects rows = over(propertyDiagram, "propertyRow");
    ASSERT_EQ(rows.size(), 1u);
    expectValues(rows[0], {{"id", "name"}, {"rowType", "InputRow"}});
    EXPECT_EQ(first(rows[0], "compartType"), compartTypes[0]);
    Objects compartStyles = over(styleOf(type), "compartStyle");
    ASSERT_EQ(compartStyles.size(), 1u);
    expectValues(compartStyles[0], {{"id", "name"},
                                    {"nr", "1"},
                                    {"alignment", "1"},
                                    {"adornment", "1"},
                                    {"fontStyle", "2"},
                                    {"isVisible", "1"}});
  }
}

}  // namespace

// Each compartment style ends up linked both from its compartment type and
// from the styles of the element type; running the completion again changes nothing.
TEST_F(SeedingTest, CompartmentStylesAreLinkedFromTheirElementStyles) {
  for (const L0_Var_2& box : {typeDgr("box"), typeDgr("freeBox"), spec("freeBox")}) {
    L0_Var_2 nameStyle = first(first(box, "compartType"), "compartStyle");
    ASSERT_EQ(attr(nameStyle, "id"), "AS#Name");
    EXPECT_EQ(over(styleOf(box), "compartStyle"), (Objects{nameStyle})) << attr(box, "id");
  }
  Objects before = over(styleOf(spec("diagramType")), "compartStyle");
  L0_Func_add_links_from_compartType_to_compartStyle();
  EXPECT_EQ(over(styleOf(spec("diagramType")), "compartStyle"), before);
}
