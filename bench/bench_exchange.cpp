// Exchange texts of about 1,000,000 statements: a flow diagram of 8,300 tasks
// in a chain, each with its name, exported by the menu's transformation
// (selection, descriptors and the data writer) and by the writer alone, and
// read back into a project that has the flow tool, by the reader alone and
// with the continuation that resolves the descriptors. Counters give
// statements a second of wall time. The memory of a read is measured in a child process:
// the peak resident memory the read added, against what stays resident for
// the objects it made.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/host.h"
#include "platform/repository.h"
#include "runtime/ExchangeWriter.h"
#include "runtime/Generation.h"
#include "runtime/GraphExchange.h"
#include "runtime/L0_ObjectIDListS.h"
#include "runtime/MessageSink.h"
#include "runtime/PartnerListCache.h"

extern "C" {
void L0_Func_exportDiagram_new();
void L0_Func_importElements_cont();
}

namespace {

namespace fs = std::filesystem;

const bool kSmoke = std::getenv("GR_BENCH_SMOKE") != nullptr;
const int kTasks = kSmoke ? 50 : 8300;

// The project folder of the exports: a fresh temporary folder.
class BenchHost : public gr::HostApi {
 public:
  BenchHost() : folder_(folder()) { fs::create_directories(folder_); }
  // The host lives to the end of the process (the library may ask for it
  // while it unloads); main removes its folder.
  static fs::path folder() {
    return fs::temp_directory_path() / ("grtool-bench-exchange-" + std::to_string(getpid()));
  }
  std::string projectPath() override { return folder_.string(); }
  fs::path file(const std::string& name) const { return folder_ / name; }

 private:
  fs::path folder_;
};

BenchHost& host() {
  static BenchHost* h = [] {
    auto* made = new BenchHost();
    gr::setHost(made);
    gr::setDefaultSinkEcho(false);
    return made;
  }();
  return *h;
}

RepId cls(const char* name) {
  return GetObjectTypeIdByName(name);
}
RepId make(const char* className) {
  return CreateObject(cls(className));
}
void set(RepId object, const char* attr, const std::string& value) {
  AddProperty(object, GetPropertyTypeIdByName(GetObjectTypeId(object), attr), value.c_str());
}
void link(RepId from, const char* role, RepId to) {
  CreateLink(GetLinkTypeIdByName(GetObjectTypeId(from), role), from, to);
}

// A fresh store with the metamodels and the flow tool: a project diagram
// (current, with a selection) and the flow diagram type with its task and
// flow types, styles and the name compartment type.
struct Project {
  RepId projectDiagram = 0, selection = 0, flowType = 0, task = 0, flow = 0, name = 0;
  RepId boxType = 0;
};

Project openProject() {
  L0_ObjectIDListS::destroy();
  PartnerListCache::destroy();
  RepCloseProject();
  if (!RepOpenMemory()) std::abort();
  for (const char* file :
       {"HeadEngineMetamodel.txt", "GraphDiagramEngineMetamodel.txt", "DialogEngineMetamodel.txt",
        "MultiUserEngineMetamodel.txt", "TypeAndMappingMetamodel.txt", "DomainMetamodel.txt",
        "ImportExportMetamodel.txt"})
    if (!importExchangeFile(std::string(GR_SOURCE_DIR) + "/metamodels/" + file).ended) std::abort();
  Project p;
  const auto typed = [](const char* className, const char* styleClass, const char* id) {
    RepId type = make(className);
    set(type, "id", id);
    RepId style = make(styleClass);
    set(style, "id", id);
    link(type, "elemStyle", style);
    return type;
  };
  RepId projectType = make("GraphDiagramType");
  set(projectType, "id", "projectDiagram");
  p.projectDiagram = make("GraphDiagram");
  set(p.projectDiagram, "caption", "Demo");
  link(p.projectDiagram, "graphDiagramType", projectType);
  link(make("CurrentDgrPointer"), "graphDiagram", p.projectDiagram);
  p.selection = make("Collection");
  link(p.projectDiagram, "collection", p.selection);
  p.flowType = make("GraphDiagramType");
  set(p.flowType, "id", "flow");
  p.task = typed("NodeType", "NodeStyle", "task");
  p.flow = typed("EdgeType", "EdgeStyle", "flow");
  link(p.flowType, "elemType", p.task);
  link(p.flowType, "elemType", p.flow);
  p.name = make("CompartType");
  set(p.name, "id", "name");
  link(p.task, "compartType", p.name);
  RepId nameStyle = make("CompartStyle");
  set(nameStyle, "id", "name");
  link(p.name, "compartStyle", nameStyle);
  p.boxType = typed("NodeType", "NodeStyle", "Flow");
  link(projectType, "elemType", p.boxType);
  link(p.boxType, "target", p.flowType);
  advanceGeneration();
  return p;
}

RepId element(const char* className, RepId diagram, RepId type) {
  RepId e = make(className);
  link(diagram, "element", e);
  link(e, "elemType", type);
  link(e, "elemStyle",
       GetLinkedObjectIdByIndex(type, GetLinkTypeIdByName(GetObjectTypeId(type), "elemStyle"), 0));
  return e;
}

// The box on the project diagram whose flow diagram holds the chain.
RepId drawChain(const Project& p) {
  RepId seed = element("Node", p.projectDiagram, p.boxType);
  set(seed, "location", "20 20 110 45");
  RepId diagram = make("GraphDiagram");
  set(diagram, "caption", "Chain");
  link(diagram, "graphDiagramType", p.flowType);
  link(seed, "target", diagram);
  RepId nameStyle =
      GetLinkedObjectIdByIndex(p.name, GetLinkTypeIdByName(cls("CompartType"), "compartStyle"), 0);
  RepId previous = 0;
  for (int i = 0; i < kTasks; ++i) {
    RepId node = element("Node", diagram, p.task);
    set(node, "location",
        std::to_string(20 + 160 * (i % 50)) + " " + std::to_string(20 + 90 * (i / 50)) + " 110 45");
    RepId name = make("Compartment");
    link(node, "compartment", name);
    link(name, "compartType", p.name);
    link(name, "compartStyle", nameStyle);
    set(name, "value", "Task " + std::to_string(i));
    set(name, "input", "Task " + std::to_string(i));
    if (previous) {
      RepId edge = element("Edge", diagram, p.flow);
      link(edge, "start", previous);
      link(edge, "end", node);
    }
    previous = node;
  }
  link(p.selection, "element", seed);
  advanceGeneration();
  return seed;
}

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The text of the whole export, made once.
const std::string& exportedText() {
  static const std::string text = [] {
    host();
    drawChain(openProject());
    L0_Func_exportDiagram_new();
    return readFile(host().file("DiagramExportResult.txt"));
  }();
  return text;
}

std::size_t statementsOf(const std::string& text) {
  std::size_t begin = text.find("\nbegin;\n");
  std::size_t end = text.rfind("\nend;\n");
  std::size_t count = 0;
  for (std::size_t i = begin + 7; i < end; ++i)
    if (text[i] == ';' && text[i + 1] == '\n') ++count;
  return count;
}

void countStatements(benchmark::State& state, std::size_t statements) {
  state.counters["statements"] = static_cast<double>(statements);
  state.counters["statements/s"] = benchmark::Counter(
      static_cast<double>(statements), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ExportCommand(benchmark::State& state) {
  host();
  drawChain(openProject());
  for (auto _ : state) {
    advanceGeneration();
    L0_Func_exportDiagram_new();
  }
  countStatements(state, gr::exchange::lastExchangeWrite().counts.statements);
}
BENCHMARK(BM_ExportCommand)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kSmoke ? 1 : 3);

// The data writer and the file, on the ExportItems the command left.
void BM_ExportWriter(benchmark::State& state) {
  host();
  drawChain(openProject());
  L0_Func_exportDiagram_new();
  gr::exchange::WriteCounts counts;
  for (auto _ : state) {
    std::string text = gr::exchange::writeDataText(gr::exchange::ValueMode::Import, &counts);
    gr::exchange::writeExchangeFile(text, host().file("written.txt").string(), counts);
  }
  countStatements(state, counts.statements);
}
BENCHMARK(BM_ExportWriter)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kSmoke ? 1 : 3);

// The reader: the check of the whole text, then its run.
void BM_ImportReader(benchmark::State& state) {
  const std::string& text = exportedText();
  const fs::path file = host().file("DiagramExportResult.txt");
  for (auto _ : state) {
    state.PauseTiming();
    openProject();
    state.ResumeTiming();
    ExchangeImportReport report = importExchangeFile(file.string());
    if (report.refused || !report.ended) state.SkipWithError(report.refusalMessage.c_str());
  }
  countStatements(state, statementsOf(text));
}
BENCHMARK(BM_ImportReader)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kSmoke ? 1 : 3);

// The reader and the continuation: orphans, descriptors, the refresh.
void BM_ImportWithContinuation(benchmark::State& state) {
  const std::string& text = exportedText();
  const fs::path file = host().file("DiagramExportResult.txt");
  for (auto _ : state) {
    state.PauseTiming();
    openProject();
    state.ResumeTiming();
    importExchangeFile(file.string());
    advanceGeneration();
    L0_Func_importElements_cont();
  }
  countStatements(state, statementsOf(text));
}
BENCHMARK(BM_ImportWithContinuation)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kSmoke ? 1 : 3);

long statusKilobytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + key.size());
  return 0;
}

struct ReadMemory {
  long peakKb = 0;      // the peak resident memory the read added
  long retainedKb = 0;  // what stays resident for the objects made
};

// In a child process, so that the peak is the read's own. With the
// continuation, what stays is what the whole import leaves: the descriptors
// it resolved are gone.
ReadMemory measureRead(const std::string& file, bool withContinuation) {
  int channel[2];
  if (pipe(channel) != 0) std::abort();
  pid_t child = fork();
  if (child == 0) {
    openProject();
    malloc_trim(0);
    const long base = statusKilobytes("VmRSS:");
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts at the present
    importExchangeFile(file);
    if (withContinuation) {
      advanceGeneration();
      L0_Func_importElements_cont();
    }
    ReadMemory measured;
    measured.peakKb = statusKilobytes("VmHWM:") - base;
    malloc_trim(0);
    measured.retainedKb = statusKilobytes("VmRSS:") - base;
    if (write(channel[1], &measured, sizeof measured) != sizeof measured) _exit(1);
    _exit(0);
  }
  ReadMemory measured;
  if (read(channel[0], &measured, sizeof measured) != sizeof measured) std::abort();
  waitpid(child, nullptr, 0);
  close(channel[0]);
  close(channel[1]);
  return measured;
}

void BM_ImportMemory(benchmark::State& state) {
  exportedText();
  ReadMemory measured;
  for (auto _ : state)
    measured = measureRead(host().file("DiagramExportResult.txt").string(), state.range(0) != 0);
  state.counters["peak_MB"] = static_cast<double>(measured.peakKb) / 1024.0;
  state.counters["objects_MB"] = static_cast<double>(measured.retainedKb) / 1024.0;
  state.counters["peak/objects"] =
      measured.retainedKb > 0 ? static_cast<double>(measured.peakKb) / measured.retainedKb : 0;
}
// 0: the reader alone, 1: with the continuation.
BENCHMARK(BM_ImportMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(BenchHost::folder(), ignored);
  return 0;
}
