// The exchange texts of the export commands, letter by letter against the
// golden files, and what the commands select.
#include "exchange/Import_export.h"
#include "exchange/Linked_objects.h"
#include "tests/tool/exchange/ExchangeFixture.h"

namespace {

class ExportTest : public ExchangeFixture {
 protected:
  void SetUp() override {
    ExchangeFixture::SetUp();
    buildProject();
    drawFlowDiagram();
  }
  static std::vector<std::string> descriptorIds() {
    std::vector<std::string> ids = attrs(all("LinkedObject"), "id");
    std::sort(ids.begin(), ids.end());
    return ids;
  }
};

TEST_F(ExportTest, DiagramTextIsExactlyTheGoldenOne) {
  select(seed);
  L0_Func_exportDiagram_new();
  EXPECT_EQ(messages(), std::vector<std::string>{"Export done!"});
  expectGolden("exchange_diagram.txt", normalized(read("DiagramExportResult.txt")));
}

TEST_F(ExportTest, ExportingTwiceGivesTheSameTextButForTheDescriptors) {
  select(seed);
  L0_Func_exportDiagram_new();
  const std::string once = read("DiagramExportResult.txt");
  L0_Func_exportDiagram_new();
  const std::string twice = read("DiagramExportResult.txt");
  EXPECT_NE(once, twice);
  EXPECT_EQ(normalized(once), normalized(twice));
  EXPECT_EQ(all("LinkedObject").size(), 14u);  // the first export's are gone
}

TEST_F(ExportTest, AnElementWithoutChildDiagramGoesAloneWithItsCompartments) {
  L0_Var_2 pointer = all("CurrentDgrPointer")[0];
  pointer.deleteLink(projectDiagram, "graphDiagram");
  pointer.addLink(flowDiagram, "graphDiagram");
  L0_Var_2 flowSelection = create("Collection");
  flowDiagram.addLink(flowSelection, "collection");
  flowSelection.addLink(second, "element");
  L0_Func_exportDiagram_new();
  const std::string text = read("DiagramExportResult.txt");
  EXPECT_EQ(classes(over(L0_Func_getExportItemByClassName("Node"), "thing")),
            std::vector<std::string>{"Node"});
  EXPECT_EQ(over(L0_Func_getExportItemByClassName("Compartment"), "thing").size(), 1u);
  EXPECT_EQ(text.find(":GraphDiagram;"), std::string::npos);
  EXPECT_NE(text.find("=\"Ship; \ngoods\";\n"), std::string::npos);
}

TEST_F(ExportTest, EscapingModeEscapesAndImportModeWritesValuesAsTheyStand) {
  select(seed);
  L0_Func_exportDiagram_new();
  const std::string importMode = L0_Func_generateExportString_new(true);
  const std::string escaping = L0_Func_generateExportString_new(false);
  EXPECT_NE(importMode.find(".value=\"Check \"stock\" \\ now\";"), std::string::npos);
  EXPECT_NE(escaping.find(".value=\"Check \\\"stock\\\" \\\\ now\";"), std::string::npos);
  EXPECT_EQ(importMode, read("DiagramExportResult.txt"));
}

TEST_F(ExportTest, ToolTextIsExactlyTheGoldenOne) {
  defineFlowBySeed();
  L0_Func_exportDgrTypesForReal(false);
  EXPECT_EQ(messages(), std::vector<std::string>{"Export done!"});
  expectGolden("exchange_tool.txt", normalized(read("DiagramTypeExportResult.txt")));
}

TEST_F(ExportTest, ToolWithSeedsTakesItsSeedAndTypeDiagramsWithDescriptors) {
  defineFlowBySeed();
  L0_Var_2 typeDiagram = create("GraphDiagram");
  typeDiagram.addLink(flowType, "target_type");
  typeDiagram.addLink(named("GraphDiagramType", "diagramTypeDiagram"), "graphDiagramType");
  L0_Func_ExportDgrTypesWithSpec();
  EXPECT_EQ(all("GraphDiagram").size(), 4u);
  // The seed diagram and the type diagram, not the flow diagram
  // drawn with the tool.
  EXPECT_EQ(over(L0_Func_getExportItemByClassName("GraphDiagram"), "thing").size(), 2u);
  EXPECT_EQ(attrs(over(L0_Func_getExportItemByClassName("Node"), "thing"), "location").size(), 1u);
  std::vector<std::string> roles = attrs(all("LinkedObject"), "roleName");
  std::sort(roles.begin(), roles.end());
  EXPECT_EQ(roles, (std::vector<std::string>{"elemStyle", "elemType", "graphDiagramType",
                                             "graphDiagramType"}));
}

TEST_F(ExportTest, ToolExportTakesTheSelectedSeedsOnly) {
  defineFlowBySeed();
  L0_Var_2 other = named("GraphDiagramType", "other");
  L0_Var_2 otherSeed = create("Node");
  other.addLink(otherSeed, "representation");
  select(otherSeed);
  L0_Func_ExportDgrTypesWithoutSpec();
  EXPECT_EQ(attrs(over(L0_Func_getExportItemByClassName("GraphDiagramType"), "thing"), "id"),
            std::vector<std::string>{"other"});
}

TEST_F(ExportTest, TheFormAsksWhetherTheSeedsGoToo) {
  L0_Func_exportDgrTypes();
  L0_Var_2 form = all("D#Form")[0];
  EXPECT_EQ(attr(form, "caption"), "Diagram Type Export");
  EXPECT_EQ(
      attrs(all("D#Button"), "caption"),
      (std::vector<std::string>{"Excluding Specification", "Including Specification", "Cancel"}));
  EXPECT_EQ(attrs(all("D#EventHandler"), "transformationName"),
            (std::vector<std::string>{"ExportDgrTypesWithoutSpec", "ExportDgrTypesWithSpec"}));
}

TEST_F(ExportTest, FullWriterRecordsInstanceNumbersAndDeclaresTheMetamodel) {
  select(seed);
  L0_Func_exportDiagram();
  const std::string spec = L0_Func_getExportString();
  const auto instances = [&](const std::string& className) {
    return attr(L0_Func_getExportItemByClassName(className), "instances");
  };
  EXPECT_EQ(instances("GraphDiagram"), "1");  // the project diagram is the first
  EXPECT_EQ(instances("Node"), "0,1,2");
  EXPECT_EQ(instances("Edge"), "0");
  EXPECT_EQ(instances("Element"), "");
  EXPECT_EQ(spec.substr(0, spec.find("Compartment(")),
            "GraphDiagram(1)Element()Node(0,1,2)Edge(0)Port()FreeBox()FreeLine()");
  const std::string text = read("DiagramExportResult.txt");
  EXPECT_NE(text.find(" addClass Node;\n"), std::string::npos);
  EXPECT_NE(text.find(" addRel Node.subClassOf.Element;\n"), std::string::npos);
  EXPECT_NE(text.find(" addCompos Compartment.{ordered}[*]compartment/element[0..1].Element;\n"),
            std::string::npos);
  EXPECT_EQ(L0_Func_getInstanceNr("Node", second), 2);
  EXPECT_EQ(L0_Func_getInstanceNr("Edge", second), -1);
}

TEST_F(ExportTest, GraphExportSharesOneDescriptorPerReferencedObject) {
  L0_Func_exportDiagramWithSubdiagrams();
  EXPECT_EQ(messages(), std::vector<std::string>{"Export done!"});
  EXPECT_EQ(descriptorIds(),
            (std::vector<std::string>{"CompartStyle_flow:task:name", "CompartType_flow:task:name",
                                      "ElemStyle_flow:flow", "ElemStyle_flow:task",
                                      "ElemStyle_projectDiagram:Flow", "ElemType_flow:flow",
                                      "ElemType_flow:task", "ElemType_projectDiagram:Flow",
                                      "GraphDiagramType_flow", "GraphDiagramType_projectDiagram"}));
  // The walk reaches the flow diagram through the seed's target.
  EXPECT_EQ(over(L0_Func_getExportItemByClassName("GraphDiagram"), "thing").size(), 2u);
  EXPECT_EQ(over(L0_Func_getExportItemByClassName("Node"), "thing").size(), 3u);
  EXPECT_EQ(over(first1, "linkedObject").size(), 2u);
  EXPECT_TRUE(L0_Func_getExportItemByClassName("Collection").isNull());
  expectGolden("exchange_graph.txt", normalized(read("DiagramExportResult.txt")));
}

TEST_F(ExportTest, KeysLeadUpToTheDiagramType) {
  EXPECT_EQ(L0_Func_getElemTypeId(task), "flow:task");
  EXPECT_EQ(L0_Func_getElemStyleId(first(task, "elemStyle")), "flow:task");
  EXPECT_EQ(L0_Func_getCompartTypeId(nameType), "flow:task:name");
  L0_Var_2 sub = named("CompartType", "first");
  nameType.addLink(sub, "subCompartType");
  EXPECT_EQ(L0_Func_getCompartTypeId(sub), "flow:task:name:first");
  L0_Var_2 loose = named("ElemType", "loose");
  EXPECT_EQ(L0_Func_getElemTypeId(loose), "loose");
  EXPECT_FALSE(L0_Func_existsLOById("ElemType_flow:task"));
  EXPECT_EQ(L0_Func_getLOforElemType(first1), "ElemType_flow:task");
  EXPECT_TRUE(L0_Func_existsLOById("ElemType_flow:task"));
  EXPECT_EQ(L0_Func_getLOforElemType(second), "ElemType_flow:task");
  EXPECT_EQ(all("LinkedObject").size(), 1u);
  EXPECT_EQ(L0_Func_getLOforGDType(projectType), "");
}

TEST_F(ExportTest, StyleNavigationFollowsTheTypeAnElementDefines) {
  EXPECT_EQ(L0_Func_getNavigExprForElement(first1), "elemType");
  L0_Var_2 definer = element("Node", flowDiagram, task);
  definer.addLink(boxType, "target_type");
  EXPECT_EQ(L0_Func_getNavigExprForElement(definer), "target_type");
  L0_Var_2 styleType = elemTypeOf(flowType, "NodeType", "NodeStyle", "NodeStyle");
  EXPECT_EQ(L0_Func_getNavigExprForElement(element("Node", flowDiagram, styleType)),
            "eEnd.start.target_type");
  L0_Var_2 compartment = first(first1, "compartment");
  EXPECT_EQ(L0_Func_getNavigExprForCompartment(compartment), "element.elemType");
  L0_Var_2 foreign = create("Compartment");
  definer.addLink(foreign, "compartment");
  foreign.addLink(first(boxType, "compartType").isNull() ? compartTypeOf(boxType, "Name")
                                                         : first(boxType, "compartType"),
                  "compartType");
  EXPECT_EQ(L0_Func_getNavigExprForCompartment(foreign), "element.target_type");
  L0_Var_2 sub = create("Compartment");
  compartment.addLink(sub, "subCompartment");
  EXPECT_EQ(L0_Func_getNavigExprForCompartment(sub), "parentCompartment.compartType");
}

}  // namespace
