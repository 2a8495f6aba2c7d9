// Rendering a big diagram: 10,000 elements (nodes, a tenth of them holding
// three more, ports, edges, free boxes and free lines), each node with a
// name, in memory. Measures the SVG of a laid-out diagram, and a first
// layout with rendering. GR_BENCH_SMOKE: 200 elements.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/base/Model.h"
#include "host/diagram/GeometryModel.h"
#include "host/head/Session.h"
#include "host/render/SvgRender.h"
#include "platform/repository.h"
#include "runtime/GraphExchange.h"
#include "runtime/MessageSink.h"

namespace {

namespace model = grhost::model;

const bool kSmoke = std::getenv("GR_BENCH_SMOKE") != nullptr;
const int kElements = kSmoke ? 200 : 10'000;

RepId styled(const std::string& className,
             std::initializer_list<std::pair<const char*, const char*>> values) {
  RepId style = model::create(className);
  for (const auto& [name, value] : values) model::setAttribute(style, name, value);
  return style;
}

struct Styles {
  RepId box, container, port, edge, note, rule, name;
};

Styles makeStyles() {
  return {
      styled("NodeStyle", {{"shapeCode", "2"}, {"bkgColor", "15655141"}, {"lineColor", "8388608"}}),
      styled("NodeStyle",
             {{"shapeCode", "1"}, {"bkgColor", "16777215"}, {"width", "200"}, {"height", "120"}}),
      styled("PortStyle", {{"bkgColor", "12615680"}, {"width", "16"}, {"height", "16"}}),
      styled("EdgeStyle", {{"lineType", "16"}, {"endShapeCode", "3"}, {"startShapeCode", "10"}}),
      styled("NodeStyle", {{"shapeCode", "9"}, {"bkgColor", "13434879"}}),
      styled("EdgeStyle", {{"dashLength", "4"}, {"breakLength", "2"}}),
      styled("CompartStyle", {{"fontStyle", "1"}, {"alignment", "1"}})};
}

class DiagramMaker {
 public:
  explicit DiagramMaker(RepId diagram) : diagram_(diagram), styles_(makeStyles()) {}

  void make(int total) {
    int nodeCount = total * 2 / 5, portCount = total / 10, edgeCount = total * 2 / 5,
        freeCount = total / 20;
    for (int i = 0; i < nodeCount; ++i) nodes_.push_back(node(i));
    for (int i = 0; i < portCount; ++i)
      model::link(element("Port", styles_.port), "node", nodes_[(i * 7) % nodeCount]);
    for (int i = 0; i < edgeCount; ++i)
      edge(nodes_[i % nodeCount], nodes_[(i * 13 + 5) % nodeCount]);
    for (int i = 0; i < freeCount; ++i) {
      freeBox(i);
      freeLine(i);
    }
  }

  // Forgets every location: the next rendering lays the whole diagram out.
  void forgetLocations() {
    for (RepId element : model::partners(diagram_, "element"))
      model::setAttribute(element, "location", "");
  }

 private:
  RepId element(const char* className, RepId style) {
    RepId created = model::create(className);
    model::link(diagram_, "element", created);
    model::link(created, "elemStyle", style);
    return created;
  }

  // Every tenth node holds the next three.
  RepId node(int i) {
    bool container = i % 10 == 0;
    RepId created = element("Node", container ? styles_.container : styles_.box);
    if (!container && i % 10 <= 3) model::link(created, "container", nodes_[i - i % 10]);
    RepId name = model::create("Compartment");
    model::setAttribute(name, "input", "Elements Nr. " + std::to_string(i));
    model::link(created, "compartment", name);
    model::link(name, "compartStyle", styles_.name);
    return created;
  }

  void edge(RepId from, RepId to) {
    RepId created = element("Edge", styles_.edge);
    model::link(created, "start", from);
    model::link(created, "end", to);
  }

  void freeBox(int i) {
    RepId created = element("FreeBox", styles_.note);
    model::setAttribute(created, "freeBox_x", std::to_string(-400 - (i % 10) * 130));
    model::setAttribute(created, "freeBox_y", std::to_string((i / 10) * 80));
    model::setAttribute(created, "freeBox_w", "110");
    model::setAttribute(created, "freeBox_h", "45");
  }

  void freeLine(int i) {
    RepId created = element("FreeLine", styles_.rule);
    model::setAttribute(created, "freeLine_x1", std::to_string(-1800));
    model::setAttribute(created, "freeLine_y1", std::to_string(i * 20));
    model::setAttribute(created, "freeLine_xn", std::to_string(-1500));
    model::setAttribute(created, "freeLine_yn", std::to_string(i * 20));
  }

  RepId diagram_;
  Styles styles_;
  std::vector<RepId> nodes_;
};

struct Fixture {
  RepId diagram = 0;
  DiagramMaker* maker = nullptr;
};

Fixture& fixture() {
  static Fixture built = [] {
    gr::setDefaultSinkEcho(false);
    if (!RepOpenMemory()) std::abort();
    ExchangeImportReport report = importExchangeFile(
        (grhost::programFolder() / "metamodels" / "GraphDiagramEngineMetamodel.txt").string());
    if (!report.ended) std::abort();
    Fixture made;
    made.diagram = model::create("GraphDiagram");
    model::setAttribute(made.diagram, "caption", "Big");
    made.maker = new DiagramMaker(made.diagram);
    made.maker->make(kElements);
    return made;
  }();
  return built;
}

void BM_RenderLaidOutDiagram(benchmark::State& state) {
  Fixture& f = fixture();
  grhost::layOutDiagram(f.diagram);
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string svg = grhost::render::renderDiagram(f.diagram);
    bytes = svg.size();
    benchmark::DoNotOptimize(svg.data());
  }
  state.counters["elements"] = kElements;
  state.counters["svg_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderLaidOutDiagram)->Unit(benchmark::kMillisecond);

void BM_LayOutAndRenderFreshDiagram(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    state.PauseTiming();
    f.maker->forgetLocations();
    state.ResumeTiming();
    std::string svg = grhost::render::renderDiagram(f.diagram);
    benchmark::DoNotOptimize(svg.data());
  }
  state.counters["elements"] = kElements;
}
BENCHMARK(BM_LayOutAndRenderFreshDiagram)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
