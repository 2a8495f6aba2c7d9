// Defining a diagram type by drawing a seed, and using the defined type.
#include "configurator/Box_diagramtype.h"
#include "configurator/Specificationdgr_const.h"
#include "host/base/OrphanCheck.h"
#include "tests/tool/ConfiguratorFixture.h"
#include "tool/Deletecollection.h"
#include "tool/main.h"

namespace {

class ConfiguratorDiagramTypeTest : public ConfiguratorFixture {
 protected:
  void SetUp() override {
    ConfiguratorFixture::SetUp();
    L0_Func_myconst();
    L0_Func_First("Demo");
    specDiagram_ = create("GraphDiagram");
    specDiagram_.addLink(diagramType("specificationDgr"), "graphDiagramType");
    gr::clearRecordedMessages();
  }

  // A seed box as the diagram engine leaves it before the creation procedure runs.
  L0_Var_2 drawSeed() {
    L0_Var_2 seedType = elemType("specificationDgr", "diagramType");
    L0_Var_2 seed = create("Node");
    seed.addLink(specDiagram_, "graphDiagram");
    seed.addLink(seedType, "elemType");
    seed.addLink(first(seedType, "elemStyle"), "elemStyle");
    return seed;
  }
  static L0_Var_2 projectPalette() { return first(diagramType("projectDiagram"), "palette"); }
  static L0_Var_2 projectDiagram() { return first(diagramType("projectDiagram"), "graphDiagram"); }
  // A compartment of the element whose type has the id, with VALUE.
  static L0_Var_2 addCompartment(L0_Var_2& element, const std::string& typeId,
                                 const std::string& value) {
    L0_Var_2 type = create("CompartType");
    type.setAttr("id", typeId);
    L0_Var_2 compartment = create("Compartment");
    compartment.setAttr("value", value);
    compartment.addLink(type, "compartType");
    element.addLink(compartment, "compartment");
    return compartment;
  }
  static std::size_t commandsOf(const std::string& className, const L0_Var_2& diagram) {
    std::size_t count = 0;
    for (const L0_Var_2& command : all(className))
      if (first(command, "graphDiagram") == diagram) ++count;
    return count;
  }

  L0_Var_2 specDiagram_;
};

TEST_F(ConfiguratorDiagramTypeTest, EachSeedDefinesOneDiagramTypeWithItsProjectBox) {
  for (int n = 1; n <= 2; ++n) {
    L0_Var_2 seed = drawSeed();
    L0_Func_create_diagramType(seed);
    EXPECT_TRUE(messages().empty()) << messages().front();
    EXPECT_EQ(all("GraphDiagramType").size(), 3u + n);
    EXPECT_EQ(over(projectPalette(), "paletteElement").size(), static_cast<std::size_t>(n));
    EXPECT_EQ(over(diagramType("projectDiagram"), "elemType").size(), static_cast<std::size_t>(n));
    EXPECT_EQ(over(diagramType("diagramTypeDiagram"), "graphDiagram").size(),
              static_cast<std::size_t>(n));

    L0_Var_2 typeDiagram = first(seed, "target");
    expectValues(typeDiagram, {{"caption", "NewDiagram"}});
    EXPECT_EQ(first(typeDiagram, "graphDiagramType"), diagramType("diagramTypeDiagram"));
    L0_Var_2 defined = first(typeDiagram, "target_type");
    expectValues(defined, {{"id", "NewDiagram"},
                           {"caption", "NewDiagram"},
                           {"layoutMode", "0"},
                           {"layoutAlgorithm", "3"},
                           {"bkgColor", "16775408"},
                           {"screenZoom", "1000"},
                           {"printZoom", "1000"}});
    EXPECT_EQ(first(defined, "representation"), seed);
    EXPECT_EQ(over(defined, "palette").size(), 1u);
    EXPECT_TRUE(over(first(defined, "palette"), "paletteElement").empty());
    EXPECT_EQ(attrs(over(defined, "cKeyboardShortcut"), "procedure_name"),
              (std::vector<std::string>{"cut", "copy"}));
    EXPECT_EQ(attrs(over(defined, "eKeyboardShortcut"), "key"),
              (std::vector<std::string>{"Ctrl V"}));

    L0_Var_2 paletteBox = over(projectPalette(), "paletteElement").back();
    EXPECT_EQ(getClassName(paletteBox), "PaletteBox");
    EXPECT_EQ(attr(paletteBox, "caption"), "NewDiagram");
    EXPECT_EQ(first(seed, "target_paletteElement"), paletteBox);

    L0_Var_2 boxType = first(seed, "target_type");
    EXPECT_EQ(over(diagramType("projectDiagram"), "elemType").back(), boxType);
    expectValues(boxType, {{"id", "NewDiagram"},
                           {"caption", "NewDiagram"},
                           {"procCreateElementDomain", "create_test_dgr"},
                           {"l2ClickEvent", "navigate"},
                           {"procDeleteElement", "delete_seed"},
                           {"procProperties", "properties_test"},
                           {"openPropertiesOnElementCreate", "true"},
                           {"procCopied", "copy_paste_diagram_seed"},
                           {"procPasted", "copy_paste_diagram_seed"}});
    EXPECT_EQ(first(boxType, "paletteElement"), paletteBox);
    EXPECT_EQ(first(boxType, "target"), defined);
    EXPECT_EQ(attrs(over(boxType, "keyboardShortcut"), "key"),
              (std::vector<std::string>{"Ctrl X", "Ctrl C", "Delete"}));
    L0_Var_2 popUp = first(boxType, "popUpDiagram");
    EXPECT_EQ(attr(popUp, "id"), "generated_popUp");
    EXPECT_EQ(attrs(over(popUp, "popUpElement"), "procedure_name"),
              (std::vector<std::string>{"delete", "properties_test"}));
    EXPECT_EQ(attrs(over(popUp, "popUpElement"), "nr"), (std::vector<std::string>{"1", "2"}));

    Objects compartTypes = over(boxType, "compartType");
    ASSERT_EQ(compartTypes.size(), 1u);
    expectValues(compartTypes[0], {{"id", "Name"},
                                   {"caption", "Name"},
                                   {"nr", "1"},
                                   {"procDecompose", "default_decompose"},
                                   {"procCompose", "default_compose"},
                                   {"procCreateCompartmentDomain", "update_diagram_caption"},
                                   {"procUpdateCompartmentDomain", "update_diagram_caption"}});
    Objects compartments = over(compartTypes[0], "compartment");
    ASSERT_EQ(compartments.size(), 1u);
    EXPECT_EQ(first(compartments[0], "element"), seed);
    EXPECT_EQ(attr(compartments[0], "isInvisible"), "false");
    L0_Var_2 compartStyle = first(compartments[0], "compartStyle");
    EXPECT_EQ(over(compartTypes[0], "compartStyle"), (Objects{compartStyle}));
    expectValues(compartStyle, {{"id", "Name"},
                                {"caption", "Name"},
                                {"nr", "0"},
                                {"fontTypeFace", "Arial"},
                                {"fontSize", "9"},
                                {"picPos", "1"},
                                {"isVisible", "1"},
                                {"textDirection", ""}});

    L0_Var_2 propertyDiagram = first(boxType, "propertyDiagram");
    EXPECT_EQ(attr(propertyDiagram, "id"), "NewDiagram Property");
    L0_Var_2 row = first(propertyDiagram, "propertyRow");
    expectValues(row, {{"id", "name"},
                       {"rowType", "InputRow"},
                       {"validationProcedure", ""},
                       {"isEditable", "true"},
                       {"isReadOnly", "false"},
                       {"isFirstRespondent", "false"}});
    EXPECT_EQ(first(row, "compartType"), compartTypes[0]);

    Objects seedStyles = over(seed, "elemStyle");
    ASSERT_EQ(seedStyles.size(), 1u);
    EXPECT_EQ(seedStyles[0], first(boxType, "elemStyle"));
    expectValues(seedStyles[0], {{"id", "NewDiagram"},
                                 {"caption", "NewDiagram"},
                                 {"bkgColor", "14055946"},
                                 {"width", "110"},
                                 {"height", "45"},
                                 {"shapeCode", "1"},
                                 {"lineColor", "0"},
                                 {"picPos", "1"},
                                 {"alignment", ""}});
    EXPECT_EQ(commandsOf("AfterConfigCmd", projectDiagram()), static_cast<std::size_t>(n));
  }
  EXPECT_EQ(all("ElemStyle").size(), 21u + 2u) << "the seeds' former style is kept";
}

TEST_F(ConfiguratorDiagramTypeTest, ProjectDiagramTypeNamedByItsCaptionStillGetsTheBox) {
  diagramType("projectDiagram").setAttr("id", "Project Diagram");
  L0_Var_2 seed = drawSeed();
  L0_Func_create_diagramType(seed);
  EXPECT_TRUE(messages().empty()) << messages().front();
  L0_Var_2 projectType = diagramType("Project Diagram");
  EXPECT_EQ(over(first(projectType, "palette"), "paletteElement").size(), 1u);
  EXPECT_EQ(first(first(seed, "target_type"), "graphDiagramType"), projectType);
  EXPECT_EQ(all("AfterConfigCmd").size(), 1u);
}

TEST_F(ConfiguratorDiagramTypeTest, WithoutAProjectPaletteOnlyTheDefinedTypeIsMade) {
  first(diagramType("projectDiagram"), "palette").deleteObj();
  L0_Var_2 seed = drawSeed();
  L0_Var_2 seedStyle = first(seed, "elemStyle");
  L0_Func_create_diagramType(seed);
  EXPECT_TRUE(messages().empty()) << messages().front();
  EXPECT_EQ(all("GraphDiagramType").size(), 4u);
  EXPECT_FALSE(first(seed, "target").isNull());
  EXPECT_TRUE(first(seed, "target_type").isNull());
  EXPECT_TRUE(over(diagramType("projectDiagram"), "elemType").empty());
  EXPECT_EQ(over(seed, "elemStyle"), (Objects{seedStyle}));
  EXPECT_TRUE(all("AfterConfigCmd").empty());
}

TEST_F(ConfiguratorDiagramTypeTest, SeedWithoutStyleIsReported) {
  L0_Var_2 seed = drawSeed();
  seed.deleteLink(first(seed, "elemStyle"), "elemStyle");
  L0_Func_create_diagramType(seed);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Error in create_diagram!"}));
  EXPECT_TRUE(all("AfterConfigCmd").empty());
}

TEST_F(ConfiguratorDiagramTypeTest, DefinedTypeIsRenamedUsedAndCaptioned) {
  L0_Var_2 seed = drawSeed();
  L0_Func_create_diagramType(seed);
  L0_Var_2 defined = first(first(seed, "target"), "target_type");
  L0_Var_2 boxType = first(seed, "target_type");

  L0_Var_2 nameCompartment = first(seed, "compartment");
  nameCompartment.setAttr("value", "Flow");
  addCompartment(seed, "IconPath", "C:\\icons\\flow.bmp");
  L0_Func_update_diagramType(seed);
  for (const L0_Var_2& renamed : {defined, boxType, first(seed, "target_paletteElement")})
    expectValues(renamed, {{"id", "Flow"}, {"caption", "Flow"}});
  EXPECT_EQ(attr(first(seed, "target_paletteElement"), "picture"), "flow.bmp");
  EXPECT_EQ(commandsOf("AfterConfigCmd", projectDiagram()), 2u);

  L0_Var_2 box = create("Node");
  box.addLink(projectDiagram(), "graphDiagram");
  box.addLink(boxType, "elemType");
  L0_Func_create_test_dgr(box);
  L0_Var_2 flowDiagram = first(box, "target");
  ASSERT_FALSE(flowDiagram.isNull());
  EXPECT_EQ(first(flowDiagram, "graphDiagramType"), defined);
  EXPECT_EQ(over(defined, "graphDiagram"), (Objects{flowDiagram}));

  L0_Var_2 boxName = addCompartment(box, "Name", "Orders");
  L0_Func_update_diagram_caption(boxName);
  EXPECT_EQ(attr(flowDiagram, "caption"), "Orders");
  EXPECT_EQ(commandsOf("UpdateDgrCmd", flowDiagram), 1u);

  L0_Func_update_diagram_caption(nameCompartment);
  EXPECT_EQ(attr(first(seed, "target"), "caption"), "Flow");
  EXPECT_TRUE(messages().empty()) << messages().front();
}

TEST_F(ConfiguratorDiagramTypeTest, CaptionOfAnElementWithoutTargetIsReported) {
  L0_Var_2 box = create("Node");
  L0_Var_2 name = addCompartment(box, "Name", "Orders");
  L0_Func_update_diagram_caption(name);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Error in update_diagram_caption"}));
  EXPECT_TRUE(all("UpdateDgrCmd").empty());
}

TEST_F(ConfiguratorDiagramTypeTest, SeedDiagramIsMadeOnceAndShown) {
  specDiagram_.deleteObj();
  L0_Func_show_specificationDgr(L0_Var_2());
  L0_Func_show_specificationDgr(L0_Var_2());
  Objects diagrams = over(diagramType("specificationDgr"), "graphDiagram");
  ASSERT_EQ(diagrams.size(), 1u);
  EXPECT_EQ(attr(diagrams[0], "caption"), "Specification Diagram");
  EXPECT_EQ(commandsOf("ActiveDgrCmd", diagrams[0]), 2u);
}

// A box of the defined type takes its diagram along when it is deleted.
TEST_F(ConfiguratorDiagramTypeTest, DeletingAProjectBoxDeletesItsDiagram) {
  L0_Var_2 seed = drawSeed();
  L0_Func_create_diagramType(seed);
  L0_Var_2 boxType = first(seed, "target_type");
  L0_Var_2 box = create("Node");
  box.addLink(projectDiagram(), "graphDiagram");
  box.addLink(boxType, "elemType");
  L0_Func_create_test_dgr(box);
  L0_Var_2 used = first(box, "target");
  L0_Var_2 name = create("Compartment");
  name.addLink(first(boxType, "compartType"), "compartType");
  box.addLink(name, "compartment");
  L0_Var_2 inside = create("Node");
  inside.addLink(used, "graphDiagram");
  L0_Var_2 selection = create("Collection");
  used.addLink(selection, "collection");
  L0_Func_delete_element(box);
  for (const L0_Var_2& gone : {box, used, inside, selection, name}) EXPECT_TRUE(gone.isNull());
  std::vector<grhost::Orphan> orphans = grhost::findOrphans();
  EXPECT_TRUE(orphans.empty()) << grhost::describeOrphan(orphans.front());
  EXPECT_EQ(commandsOf("OkCmd", projectDiagram()), 1u);
  EXPECT_TRUE(messages().empty()) << messages().front();
}

}  // namespace
