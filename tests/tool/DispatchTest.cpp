// The dispatcher as a table: every event class the host may hand to "main"
// (in the order the dispatcher tests them), the info texts that come before
// the later classes, dialog button clicks, an event no row handles, and no
// event at all. Each row runs L0_LibMain in a fresh store on a current
// diagram; what it did is compared with tests/tool/golden/main_dispatch.txt
// (GR_UPDATE_GOLDEN=1 writes the file anew).
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "ConfiguratorFixture.h"
#include "platform/host.h"

extern "C" void L0_LibMain();

namespace {

const std::string kGolden = std::string(GR_SOURCE_DIR) + "/tests/tool/golden/main_dispatch.txt";

// Loads metamodels from the source tree and reports what reaches the user.
class DispatchHost : public gr::HostApi {
 public:
  bool loadMetamodel(const std::string& name) override {
    return importExchangeFile(std::string(GR_SOURCE_DIR) + "/metamodels/" + name + ".txt").ended;
  }
  void showInformationBar(const std::string& text) override {
    shown.push_back("info \"" + text + "\"");
  }
  std::vector<std::string> shown;
};

// One line a row: line ends are written "\n", the runtime folder "RUNTIME".
std::string oneLine(std::string text) {
  std::string folder = gr::HostApi().runtimePath();
  for (std::size_t at; (at = text.find(folder)) != std::string::npos;)
    text.replace(at, folder.size(), "RUNTIME");
  for (std::size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "\\n");
  return text;
}

void collect(const char* kind, const char* text, void* context) {
  static_cast<DispatchHost*>(context)->shown.push_back(std::string(kind) + " \"" + oneLine(text) +
                                                       "\"");
}

struct Row {
  std::string eventClass;  // empty: no event
  std::string info;
  // Links or objects the row needs besides the event.
  std::function<void(L0_Var_2& event)> prepare;
};

class DispatchTest : public ConfiguratorFixture {
 protected:
  void SetUp() override {
    ConfiguratorFixture::SetUp();
    gr::setHost(&host_);
    GrSetMessageSink(collect, &host_);
  }
  void TearDown() override {
    GrSetMessageSink(nullptr, nullptr);
    gr::setHost(nullptr);
    ConfiguratorFixture::TearDown();
  }

  // A fresh store with a current diagram, its selection and a canvas menu.
  void freshStore() {
    ConfiguratorFixture::TearDown();
    ConfiguratorFixture::SetUp();
    host_.shown.clear();
    L0_Var_2 type = create("GraphDiagramType");
    L0_Var_2 menu = create("PopUpDiagram");
    type.addLink(menu, "RClickEmpty");
    L0_Var_2 diagram = create("GraphDiagram");
    diagram.addLink(type, "graphDiagramType");
    create("CurrentDgrPointer").addLink(diagram, "graphDiagram");
    diagram.addLink(create("Collection"), "collection");
  }

  std::string run(const Row& row) {
    freshStore();
    L0_Var_2 event;
    if (!row.eventClass.empty()) {
      event = create(row.eventClass);
      if (!row.info.empty()) event.setAttr("info", row.info);
      if (row.prepare) row.prepare(event);
    }
    uint32_t eventId = event.getCurrObjID();
    L0_LibMain();
    advanceGeneration();
    std::string line = row.eventClass.empty() ? "(no event)" : row.eventClass;
    if (!row.info.empty()) line += " \"" + row.info + "\"";
    if (eventId) line += ObjectExists(eventId) ? ": event kept" : ": event deleted";
    for (const std::string& text : host_.shown) line += "; " + text;
    Objects pointers = all("LastCmdPtr");
    for (const L0_Var_2& command : pointers.empty() ? Objects{} : over(pointers[0], "command")) {
      std::string info = attr(command, "info");
      line += "; " + getClassName(command) + (info.empty() ? "" : "(" + info + ")");
    }
    return line;
  }

  DispatchHost host_;
};

L0_Var_2 button(const std::string& procedure) {
  L0_Var_2 pressed("D#Button");
  pressed.addObj("D#Button");
  pressed.setAttr("transf_name", procedure);
  return pressed;
}

TEST_F(DispatchTest, EveryRowOfTheDispatcher) {
  auto withButton = [](L0_Var_2& event) {
    event.addLink(button("grtest_procedures#note_third"), "source");
  };
  const std::vector<Row> rows = {
      {"CloseActiveDiagramEvent", "", nullptr},
      {"PasteGraphClipboardEvent", "", nullptr},
      {"DeleteCollectionEvent", "", nullptr},
      {"CopyCutCollectionEvent", "", nullptr},
      {"CopyCollectionEvent", "", nullptr},
      {"MoveLineStartPointEvent", "", nullptr},
      {"MoveLineEndPointEvent", "", nullptr},
      {"L2ClickEvent", "", nullptr},
      {"LClickEvent", "", nullptr},
      {"RClickEvent", "", nullptr},
      {"NewLineEvent", "", nullptr},
      {"NewBoxEvent", "", nullptr},
      {"NewPinEvent", "", nullptr},
      {"MicroButtonSelectEvent", "", nullptr},
      {"PopUpElemSelectEvent", "", nullptr},
      {"ToolSelectEvent", "", nullptr},
      {"ToolElemSelectEvent", "", nullptr},
      // The info rows come before the classes that follow them.
      {"ExecTransfEvent", "CancelButtonClick", nullptr},
      {"ExecTransfEvent", "OKButtonClick", nullptr},
      {"ExecTransfEvent", "grtest_procedures#note_second", nullptr},
      {"ChangeParentEvent", "", nullptr},
      {"CloseDgrEvent", "", nullptr},
      {"OKStyleDialogEvent", "", nullptr},
      {"CreateProjectEvent", "Demo", nullptr},
      {"OpenProjectEvent", "Demo", nullptr},
      {"KeyDownEvent", "Ctrl Q", nullptr},
      {"OpenDgrEvent", "", nullptr},
      {"D#Event", "Click", withButton},
      {"D#Event", "Change", withButton},
      {"D#Event", "Click", nullptr},
      // Registered for "main" but handled by no row.
      {"CloseProjectEvent", "", nullptr},
      {"", "", nullptr},
  };
  std::string actual;
  for (const Row& row : rows) actual += run(row) + "\n";

  if (std::getenv("GR_UPDATE_GOLDEN")) std::ofstream(kGolden, std::ios::binary) << actual;
  std::ifstream in(kGolden, std::ios::binary);
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(actual, expected.str()) << "GR_UPDATE_GOLDEN=1 writes " << kGolden;
}

}  // namespace
