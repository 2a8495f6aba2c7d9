// Import: texts exported from one store read into another, the descriptors
// resolved against the receiving tool, and bad texts refused whole.
#include "exchange/Import.h"
#include "exchange/Import_export.h"
#include "exchange/Linked_objects.h"
#include "tests/tool/exchange/ExchangeFixture.h"

namespace {

class ImportTest : public ExchangeFixture {
 protected:
  // The flow diagram exported from the test's store; the store is then
  // replaced by an empty one.
  void exportFlowDiagram(void (*exportCommand)() = L0_Func_exportDiagram_new) {
    buildProject();
    drawFlowDiagram();
    select(seed);
    exportCommand();
    reopen();
  }
  // Runs the import command, then what it queued, as the host would.
  void importThenContinue(void (*command)(), void (*continuation)()) {
    command();
    ASSERT_EQ(queuedTransformations().size(), 2u) << (messages().empty() ? "" : messages()[0]);
    nextRun();
    continuation();
  }
  static std::size_t count(const std::string& className) { return all(className).size(); }
  static std::size_t countMessages(const std::string& text) {
    return std::count(messages().begin(), messages().end(), text);
  }
  // A descriptor from OWNER: start, path, link, class, attribute, value, role.
  static void descriptor(L0_Var_2 owner, const std::vector<std::string>& values,
                         const std::string& id) {
    L0_Var_2 d = create("LinkedObject");
    const char* names[] = {"navigStartInstance", "navigExpr", "navigLink", "navigEndClassName",
                           "idAttrName",         "idValue",   "roleName"};
    for (std::size_t i = 0; i < values.size(); ++i) d.setAttr(names[i], values[i]);
    d.setAttr("id", id);
    owner.addLink(d, "linkedObject");
  }
  void makeCurrent(const L0_Var_2& diagram) {
    L0_Var_2 pointer = all("CurrentDgrPointer")[0];
    for (L0_Var_2& old : over(pointer, "graphDiagram")) pointer.deleteLink(old, "graphDiagram");
    pointer.addLink(diagram, "graphDiagram");
  }
};

TEST_F(ImportTest, DiagramRoundTripFindsTypesStylesAndTheProjectDiagram) {
  exportFlowDiagram();
  buildProject();
  // Another diagram is current: the box still goes to the project diagram.
  L0_Var_2 other = create("GraphDiagram");
  makeCurrent(other);
  L0_Func_importElements();
  EXPECT_EQ(queuedTransformations(),
            (std::vector<std::string>{"importElements_cont", "show_import_done"}));
  nextRun();
  L0_Func_importElements_cont();
  EXPECT_TRUE(messages().empty()) << messages()[0];

  EXPECT_TRUE(over(other, "element").empty());
  ASSERT_EQ(over(projectDiagram, "element").size(), 1u);
  L0_Var_2 box = first(projectDiagram, "element");
  EXPECT_EQ(first(box, "elemType"), boxType);
  EXPECT_EQ(first(box, "elemStyle"), first(boxType, "elemStyle"));
  EXPECT_EQ(attr(box, "location"), "20 20 110 45");
  L0_Var_2 diagram = first(box, "target");
  EXPECT_EQ(attr(diagram, "caption"), "Orders");
  EXPECT_EQ(first(diagram, "graphDiagramType"), flowType);
  const Objects elements = over(diagram, "element");
  ASSERT_EQ(classes(elements), (std::vector<std::string>{"Node", "Node", "Edge"}));
  EXPECT_EQ(first(elements[2], "elemType"), flow);
  EXPECT_EQ(first(elements[2], "elemStyle"), first(flow, "elemStyle"));
  EXPECT_EQ(first(elements[2], "start"), elements[0]);
  EXPECT_EQ(first(elements[2], "end"), elements[1]);
  std::vector<std::string> names;
  for (const L0_Var_2& node : {elements[0], elements[1]}) {
    EXPECT_EQ(first(node, "elemType"), task);
    L0_Var_2 name = first(node, "compartment");
    EXPECT_EQ(first(name, "compartType"), nameType);
    EXPECT_EQ(first(name, "compartStyle"), first(nameType, "compartStyle"));
    names.push_back(attr(name, "value"));
  }
  // A semicolon at a line end keeps the blank the text put after it.
  EXPECT_EQ(names, (std::vector<std::string>{"Check \"stock\" \\ now", "Ship; \ngoods"}));
  EXPECT_EQ(count("LinkedObject"), 0u);
  L0_Func_show_import_done();
  EXPECT_EQ(messages(), std::vector<std::string>{"Import done!"});
}

TEST_F(ImportTest, FullWriterTextReadsBackIntoTheSameDiagram) {
  exportFlowDiagram(L0_Func_exportDiagram);
  buildProject();
  importThenContinue(L0_Func_importElements, L0_Func_importElements_cont);
  EXPECT_TRUE(messages().empty()) << messages()[0];
  L0_Var_2 diagram = first(first(projectDiagram, "element"), "target");
  EXPECT_EQ(first(diagram, "graphDiagramType"), flowType);
  EXPECT_EQ(attrs(over(diagram, "element"), "location").size(), 3u);
  EXPECT_EQ(first(over(diagram, "element")[1], "elemType"), task);
}

TEST_F(ImportTest, MissingElementTypeIsReportedOnceAndTheElementStaysUntyped) {
  exportFlowDiagram();
  buildProject();
  flow.setAttr("id", "line");
  importThenContinue(L0_Func_importElements, L0_Func_importElements_cont);
  EXPECT_EQ(countMessages("Could not find linked instance from start instance (className: "
                          "GraphDiagramType) by association name elemType where id = flow"),
            1u);
  EXPECT_TRUE(first(all("Edge")[0], "elemType").isNull());
  EXPECT_EQ(first(all("Node")[1], "elemType"), task);
  // What stays unresolved is kept for a look.
  EXPECT_EQ(count("LinkedObject"), 2u);
}

TEST_F(ImportTest, ADescriptorWaitingForAnotherResolvesInALaterPassWithoutMessage) {
  buildProject();
  L0_Var_2 diagram = create("GraphDiagram");
  L0_Var_2 node = create("Node");
  diagram.addLink(node, "element");
  // The element's type is found through its diagram's type, whose
  // descriptor comes later.
  descriptor(node,
             {"self", "graphDiagram.graphDiagramType", "elemType", "", "id", "task", "elemType"},
             "");
  descriptor(diagram, {"", "", "", "GraphDiagramType", "id", "flow", "graphDiagramType"}, "");
  L0_Func_processLinkedObjects();
  EXPECT_TRUE(messages().empty()) << messages()[0];
  EXPECT_EQ(first(node, "elemType"), task);
}

TEST_F(ImportTest, StartInstancesAndPathsAreLookedUpAsWritten) {
  buildProject();
  EXPECT_EQ(L0_Func_getStartInstance("GraphDiagramType.id=flow"), flowType);
  EXPECT_EQ(L0_Func_getStartInstance("GraphDiagramType"), projectType);
  EXPECT_EQ(L0_Func_getStartInstance("GraphDiagramType.id"), projectType);
  EXPECT_EQ(L0_Func_getEndInstance(boxType, "target.elemType"), task);
  EXPECT_EQ(L0_Func_getEndInstance(boxType, ""), boxType);
  EXPECT_EQ(L0_Func_getLinkedInstanceByAssocName(flowType, "elemType", "", ""), task);
  EXPECT_EQ(L0_Func_getLinkedInstanceByClassName("ElemType", "id", "flow"), flow);
  EXPECT_TRUE(messages().empty());
  // Failures say nothing outside the reporting pass.
  EXPECT_TRUE(L0_Func_getStartInstance("GraphDiagramType.id=none").isNull());
  EXPECT_TRUE(L0_Func_getEndInstance(boxType, "target.nowhere").isNull());
  EXPECT_TRUE(messages().empty());
}

TEST_F(ImportTest, UnresolvableDescriptorsNameTheirLookupInTheLastPass) {
  buildProject();
  L0_Var_2 node = create("Node");
  descriptor(node, {"Nowhere.id=x", "", "graphDiagram", "", "", "", "graphDiagram"}, "");
  descriptor(node,
             {"self", "graphDiagram.graphDiagramType", "elemType", "", "id", "task", "elemType"},
             "");
  descriptor(node, {"", "", "", "ElemStyle", "id", "gone", "elemStyle"}, "");
  L0_Func_processLinkedObjects();
  EXPECT_EQ(messages(), (std::vector<std::string>{
                            "Start instance not found - Nowhere.id=x",
                            "Could not find end instance from start instance (Node " +
                                node.toTraceString() + ") by path graphDiagram.graphDiagramType",
                            "Could not find linked instance of class ElemStyle where id = gone"}));
}

TEST_F(ImportTest, RefusedTextCreatesNothingAndQueuesNothing) {
  buildProject();
  const std::size_t objects = count("Thing");
  write("DiagramExportResult.txt",
        "transformation ADD_METAMODEL_AND_DATA;\n\nmain procedure metamodel_and_data();\n"
        "begin;\n addObj pp_1:Node;\n addObj pp_2:Nod;\nend;\n\nendTransformation;\n");
  L0_Func_importElements();
  EXPECT_EQ(messages(), std::vector<std::string>{(folder / "DiagramExportResult.txt").string() +
                                                 ", line 6: the project has no class \"Nod\". "
                                                 "Nothing was imported."});
  EXPECT_EQ(count("Thing"), objects);
  EXPECT_TRUE(queuedTransformations().empty());
}

TEST_F(ImportTest, TextCutOffAnywhereIsRefusedWhole) {
  exportFlowDiagram();
  buildProject();
  const std::string text = read("DiagramExportResult.txt");
  const std::size_t objects = count("Thing");
  // Cut inside a value, before "end;", inside "end;".
  const std::size_t end = text.rfind("end;\n\nendTransformation;");
  for (std::size_t length : {text.find("Ship;") + 3, end, end + 2}) {
    write("DiagramExportResult.txt", text.substr(0, length));
    gr::clearRecordedMessages();
    L0_Func_importElements();
    ASSERT_EQ(messages().size(), 1u) << length;
    EXPECT_NE(messages()[0].find("the text is cut off"), std::string::npos) << messages()[0];
    EXPECT_EQ(count("Thing"), objects);
  }
}

TEST_F(ImportTest, MissingFileIsReportedAndNothingIsQueued) {
  buildProject();
  L0_Func_importDgrTypes();
  EXPECT_EQ(messages(),
            std::vector<std::string>{"File not found - " +
                                     (folder / "DiagramTypeExportResult.txt").string()});
  EXPECT_TRUE(queuedTransformations().empty());
}

TEST_F(ImportTest, WithoutDiagramsTheReaderRunsButNothingIsQueued) {
  write("DiagramExportResult.txt",
        "transformation ADD_METAMODEL_AND_DATA;\nbegin;\n addObj pp_1:Node;\nend;\n");
  L0_Func_importElements();
  EXPECT_EQ(count("Node"), 1u);
  EXPECT_TRUE(queuedTransformations().empty());
  EXPECT_TRUE(messages().empty());
}

TEST_F(ImportTest, ElementsWithoutDiagramJoinTheCurrentDiagram) {
  buildProject();
  L0_Var_2 clipboard = create("GraphClipboard");
  L0_Var_2 copied = create("Node");
  clipboard.addLink(copied, "element");
  write("DiagramExportResult.txt",
        "transformation ADD_METAMODEL_AND_DATA;\nbegin;\n addObj pp_7:Node;\n addObj pp_8:Edge;\n"
        " setAttr pp_7.location=\"1 2 3 4\";\nend;\n");
  importThenContinue(L0_Func_importElements, L0_Func_importElements_cont);
  EXPECT_EQ(attrs(over(projectDiagram, "element"), "location"),
            (std::vector<std::string>{"1 2 3 4", ""}));
  EXPECT_TRUE(first(copied, "graphDiagram").isNull());
}

TEST_F(ImportTest, ToolImportJoinsTheProjectDiagramTypePaletteAndToolbar) {
  buildProject();
  defineFlowBySeed();
  L0_Var_2 tool = named("Tool", "Run");
  L0_Var_2 flowToolbar = create("Toolbar");
  flowType.addLink(flowToolbar, "toolbar");
  flowToolbar.addLink(tool, "tool");
  L0_Func_exportDgrTypesForReal(false);
  reopen();
  buildProject(false);
  importThenContinue(L0_Func_importDgrTypes, L0_Func_importDgrTypes_cont);
  EXPECT_TRUE(messages().empty()) << messages()[0];

  L0_Var_2 imported = diagramType("flow");
  ASSERT_FALSE(imported.isNull());
  EXPECT_EQ(attrs(over(imported, "elemType"), "id"), (std::vector<std::string>{"task", "flow"}));
  EXPECT_EQ(attrs(over(first(imported, "palette"), "paletteElement"), "caption"),
            (std::vector<std::string>{"Task", "Flow"}));
  EXPECT_EQ(attrs(over(first(imported, "toolbar"), "tool"), "id"), std::vector<std::string>{"Run"});
  EXPECT_EQ(attrs(over(first(imported, "eKeyboardShortcut"), "keyboardShortcut"), "key").size(),
            0u);
  EXPECT_EQ(attr(first(imported, "eKeyboardShortcut"), "key"), "Ctrl V");
  // The project diagram's box type and palette box join the project's own.
  L0_Var_2 box = elemType("projectDiagram", "Flow");
  ASSERT_FALSE(box.isNull());
  EXPECT_EQ(first(box, "target"), imported);
  EXPECT_EQ(attrs(over(projectPalette, "paletteElement"), "caption"),
            std::vector<std::string>{"Flow"});
  EXPECT_EQ(first(first(projectPalette, "paletteElement"), "elemType"), box);
  EXPECT_EQ(count("GraphDiagramType"), 3u);
  EXPECT_EQ(count("LinkedObject"), 0u);
}

TEST_F(ImportTest, ASecondProjectDiagramTypeIsMergedIntoTheProjectsOwn) {
  buildProject();
  L0_Var_2 ownPopUp = create("PopUpDiagram");
  projectType.addLink(ownPopUp, "RClickEmpty");
  L0_Var_2 paste = named("PopUpElement", "Paste");
  ownPopUp.addLink(paste, "popUpElement");
  write("DiagramExportResult.txt",
        "transformation ADD_METAMODEL_AND_DATA;\nbegin;\n"
        " addObj pp_1:GraphDiagramType;\n addObj pp_2:KeyboardShortcut;\n"
        " addObj pp_3:PopUpDiagram;\n addObj pp_4:PopUpElement;\n addObj pp_5:PopUpElement;\n"
        " addObj pp_6:NodeType;\n"
        " setAttr pp_1.id=\"projectDiagram\";\n setAttr pp_2.key=\"Ctrl K\";\n"
        " setAttr pp_4.caption=\"Paste\";\n setAttr pp_5.caption=\"Hello\";\n"
        " setAttr pp_5.procedure_name=\"hello\";\n setAttr pp_6.id=\"Other\";\n"
        " addLink pp_1.eKeyboardShortcut.pp_2;\n addLink pp_1.RClickEmpty.pp_3;\n"
        " addLink pp_3.popUpElement.pp_4;\n addLink pp_3.popUpElement.pp_5;\n"
        " addLink pp_1.elemType.pp_6;\nend;\n");
  importThenContinue(L0_Func_importElements, L0_Func_importElements_cont);
  const Objects types = all("GraphDiagramType");
  EXPECT_EQ(attrs(types, "id"),
            (std::vector<std::string>{"projectDiagram", "specificationDgr", "flow"}));
  EXPECT_EQ(attrs(over(projectType, "eKeyboardShortcut"), "key"),
            std::vector<std::string>{"Ctrl K"});
  EXPECT_EQ(attrs(over(first(projectType, "RClickEmpty"), "popUpElement"), "caption"),
            (std::vector<std::string>{"Paste", "Hello"}));
  EXPECT_EQ(attrs(over(projectType, "elemType"), "id"),
            (std::vector<std::string>{"Flow", "Other"}));
  EXPECT_EQ(count("KeyboardShortcut"), 2u);  // the flow tool's and the copy
  EXPECT_EQ(count("PopUpElement"), 3u);
}

TEST_F(ImportTest, SeedDiagramsAreMergedIntoTheFirst) {
  buildProject();
  Objects diagrams;
  for (const char* caption : {"Specification Diagram", "Imported"}) {
    L0_Var_2 diagram = create("GraphDiagram");
    diagram.setAttr("caption", caption);
    diagram.addLink(seedDiagramType, "graphDiagramType");
    diagram.addLink(create("Node"), "element");
    diagram.addLink(create("Collection"), "collection");
    diagrams.push_back(diagram);
  }
  L0_Func_mergeSpecificationDiagrams();
  EXPECT_EQ(attrs(over(seedDiagramType, "graphDiagram"), "caption"),
            std::vector<std::string>{"Specification Diagram"});
  EXPECT_EQ(over(diagrams[0], "element").size(), 2u);
  EXPECT_EQ(count("Collection"), 2u);  // the project diagram's and the first one's
}

}  // namespace
