// Exchange tests: a small tool built by the test (a project diagram with a
// box type whose boxes make "Flow" diagrams; the flow tool with a task box
// type, a flow line type, styles, a name compartment, a palette, a pop-up
// and a key), one flow diagram drawn with it, and a host whose project
// folder is the test's own temporary folder.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unordered_map>

#include "platform/host.h"
#include "tests/tool/ConfiguratorFixture.h"

class ExchangeHost : public gr::HostApi {
 public:
  explicit ExchangeHost(std::filesystem::path folder) : folder_(std::move(folder)) {}
  std::string projectPath() override { return folder_.string(); }
  void enqueueCmd() override { ++enqueued; }
  int enqueued = 0;

 private:
  std::filesystem::path folder_;
};

class ExchangeFixture : public ConfiguratorFixture {
 protected:
  void SetUp() override {
    ConfiguratorFixture::SetUp();
    folder = std::filesystem::temp_directory_path() /
             ("grtool-exchange-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    host = std::make_unique<ExchangeHost>(folder);
    gr::setHost(host.get());
  }
  void TearDown() override {
    gr::setHost(nullptr);
    std::filesystem::remove_all(folder);
    ConfiguratorFixture::TearDown();
  }

  // An empty store with the metamodels, in place of the test's store: the
  // receiving project of an import.
  static void reopen() {
    L0_ObjectIDListS::destroy();
    PartnerListCache::destroy();
    RepCloseProject();
    ASSERT_TRUE(RepOpenMemory());
    for (const char* file :
         {"HeadEngineMetamodel.txt", "GraphDiagramEngineMetamodel.txt", "DialogEngineMetamodel.txt",
          "MultiUserEngineMetamodel.txt", "TypeAndMappingMetamodel.txt", "DomainMetamodel.txt",
          "ImportExportMetamodel.txt"})
      ASSERT_TRUE(importExchangeFile(std::string(GR_SOURCE_DIR) + "/metamodels/" + file).ended);
    advanceGeneration();
    gr::clearRecordedMessages();
  }

  // ---- the tool
  static L0_Var_2 named(const std::string& className, const std::string& id) {
    L0_Var_2 object = create(className);
    object.setAttr("id", id);
    if (RepositoryUser::getPropertyTypeIdByName(object.actualClassId(), "caption"))
      object.setAttr("caption", id);
    return object;
  }
  static L0_Var_2 elemTypeOf(L0_Var_2& diagramType, const std::string& className,
                             const std::string& styleClass, const std::string& id) {
    L0_Var_2 type = named(className, id);
    diagramType.addLink(type, "elemType");
    L0_Var_2 style = named(styleClass, id);
    type.addLink(style, "elemStyle");
    return type;
  }
  static L0_Var_2 compartTypeOf(L0_Var_2& elemType, const std::string& id) {
    L0_Var_2 type = named("CompartType", id);
    type.setAttr("nr", 1);
    elemType.addLink(type, "compartType");
    L0_Var_2 style = named("CompartStyle", id);
    type.addLink(style, "compartStyle");
    first(elemType, "elemStyle").addLink(style, "compartStyle");
    return type;
  }

  // The project diagram type with its diagram (current, with a selection),
  // the seed diagram type, and the flow tool unless told not to.
  void buildProject(bool withFlowTool = true) {
    projectType = named("GraphDiagramType", "projectDiagram");
    projectPalette = create("Palette");
    projectType.addLink(projectPalette, "palette");
    projectDiagram = create("GraphDiagram");
    projectDiagram.setAttr("caption", "Demo");
    projectDiagram.addLink(projectType, "graphDiagramType");
    L0_Var_2 pointer = create("CurrentDgrPointer");
    pointer.addLink(projectDiagram, "graphDiagram");
    selection = create("Collection");
    projectDiagram.addLink(selection, "collection");
    projectToolbar = create("Toolbar");
    projectType.addLink(projectToolbar, "toolbar");
    seedDiagramType = named("GraphDiagramType", "specificationDgr");
    if (withFlowTool) buildFlowTool();
  }

  void buildFlowTool() {
    flowType = named("GraphDiagramType", "flow");
    flowType.setAttr("bkgColor", "16775408");
    L0_Var_2 palette = create("Palette");
    flowType.addLink(palette, "palette");
    task = elemTypeOf(flowType, "NodeType", "NodeStyle", "task");
    first(task, "elemStyle").setAttr("bkgColor", "15655141");
    task.setAttr("procCreateElementDomain", "add_task");
    nameType = compartTypeOf(task, "name");
    nameType.setAttr("isEssential", true);
    flow = elemTypeOf(flowType, "EdgeType", "EdgeStyle", "flow");
    L0_Var_2 pair = named("Pair", "task-task");
    flow.addLink(pair, "pair");
    pair.addLink(task, "start");
    pair.addLink(task, "end");
    for (auto [className, caption, type] :
         {std::tuple{"PaletteBox", "Task", task}, std::tuple{"PaletteLine", "Flow", flow}}) {
      L0_Var_2 entry = named(className, caption);
      palette.addLink(entry, "paletteElement");
      entry.addLink(type, "elemType");
    }
    L0_Var_2 popUp = named("PopUpDiagram", "flow_void");
    flowType.addLink(popUp, "RClickEmpty");
    L0_Var_2 item = named("PopUpElement", "Paste");
    item.setAttr("procedure_name", "paste");
    popUp.addLink(item, "popUpElement");
    L0_Var_2 key = create("KeyboardShortcut");
    key.setAttr("key", "Ctrl V");
    key.setAttr("procedure_name", "paste");
    flowType.addLink(key, "eKeyboardShortcut");

    // Boxes of the project diagram make flow diagrams.
    boxType = elemTypeOf(projectType, "NodeType", "NodeStyle", "Flow");
    boxType.addLink(flowType, "target");
    L0_Var_2 entry = named("PaletteBox", "Flow");
    projectPalette.addLink(entry, "paletteElement");
    entry.addLink(boxType, "elemType");
  }

  // The seed of the flow tool in a seed diagram.
  void defineFlowBySeed() {
    L0_Var_2 seedDiagram = create("GraphDiagram");
    seedDiagram.setAttr("caption", "Specification Diagram");
    seedDiagram.addLink(seedDiagramType, "graphDiagramType");
    L0_Var_2 seedType = elemTypeOf(seedDiagramType, "NodeType", "NodeStyle", "diagramType");
    L0_Var_2 toolSeed = element("Node", seedDiagram, seedType);
    flowType.addLink(toolSeed, "representation");
    toolSeed.addLink(boxType, "target_type");
  }

  // ---- the diagram: a box on the project diagram with its flow diagram of
  // two tasks and a flow between them.
  static L0_Var_2 element(const std::string& className, L0_Var_2& diagram, L0_Var_2& type) {
    L0_Var_2 e = create(className);
    diagram.addLink(e, "element");
    e.addLink(type, "elemType");
    e.addLink(first(type, "elemStyle"), "elemStyle");
    return e;
  }
  L0_Var_2 taskNamed(const std::string& name) {
    L0_Var_2 node = element("Node", flowDiagram, task);
    L0_Var_2 compartment = create("Compartment");
    node.addLink(compartment, "compartment");
    compartment.addLink(nameType, "compartType");
    compartment.addLink(first(nameType, "compartStyle"), "compartStyle");
    compartment.setAttr("input", name);
    compartment.setAttr("value", name);
    return node;
  }
  void drawFlowDiagram() {
    seed = element("Node", projectDiagram, boxType);
    seed.setAttr("location", "20 20 110 45");
    flowDiagram = create("GraphDiagram");
    flowDiagram.setAttr("caption", "Orders");
    flowDiagram.addLink(flowType, "graphDiagramType");
    seed.addLink(flowDiagram, "target");
    first1 = taskNamed("Check \"stock\" \\ now");
    second = taskNamed("Ship;\ngoods");
    edge = element("Edge", flowDiagram, flow);
    edge.addLink(first1, "start");
    edge.addLink(second, "end");
  }
  void select(const L0_Var_2& element) {
    for (L0_Var_2& old : over(selection, "element")) selection.deleteLink(old, "element");
    selection.addLink(element, "element");
  }

  // ---- files and texts
  std::string read(const std::string& name) const {
    std::ifstream in(folder / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(folder / name, std::ios::binary) << text;
  }
  // Object names numbered by first appearance: the text without the ids
  // that the store happened to give.
  static std::string normalized(const std::string& text) {
    static const std::regex name("pp_([0-9]+)");
    std::unordered_map<std::string, int> numbers;
    std::string result;
    auto from = text.cbegin();
    for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end; ++it) {
      result.append(from, (*it)[0].first);
      auto [entry, added] = numbers.emplace((*it)[1].str(), static_cast<int>(numbers.size()) + 1);
      result += "pp_" + std::to_string(entry->second);
      from = (*it)[0].second;
    }
    result.append(from, text.cend());
    return result;
  }
  // Compares with tests/tool/golden/NAME; GR_UPDATE_GOLDEN=1 writes it anew.
  static void expectGolden(const std::string& name, const std::string& actual) {
    const std::string file = std::string(GR_SOURCE_DIR) + "/tests/tool/golden/" + name;
    if (std::getenv("GR_UPDATE_GOLDEN")) std::ofstream(file, std::ios::binary) << actual;
    std::ifstream in(file, std::ios::binary);
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual, expected.str()) << "GR_UPDATE_GOLDEN=1 writes " << file;
  }
  // The command transformations queued, in order.
  static std::vector<std::string> queuedTransformations() {
    std::vector<std::string> names;
    for (const L0_Var_2& command : all("ExecTransfCmd")) names.push_back(attr(command, "info"));
    return names;
  }
  // The reader wrote to the store directly: the next steps run in a new
  // generation, as the host runs them. The fixture's variables stand on the
  // same objects again.
  void nextRun() {
    std::vector<std::pair<L0_Var_2*, ObjID>> kept;
    for (L0_Var_2* v : {&projectType, &projectPalette, &projectToolbar, &projectDiagram, &selection,
                        &seedDiagramType, &flowType, &task, &nameType, &flow, &boxType, &seed,
                        &flowDiagram, &first1, &second, &edge})
      kept.emplace_back(v, v->isNull() ? badObjID : v->getCurrObjID());
    advanceGeneration();
    for (auto [v, id] : kept) *v = id == badObjID ? L0_Var_2() : L0_Var_2::fromObjectId(id);
    gr::clearRecordedMessages();
  }

  std::filesystem::path folder;
  std::unique_ptr<ExchangeHost> host;
  L0_Var_2 projectType, projectPalette, projectToolbar, projectDiagram, selection, seedDiagramType;
  L0_Var_2 flowType, task, nameType, flow, boxType;
  L0_Var_2 seed, flowDiagram, first1, second, edge;
};
