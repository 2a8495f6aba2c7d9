// Gestures on big diagrams: a box, a line, a text edit in place and a delete,
// each with its handler, its commands and its commit, and the undo of a box,
// a line, a text edit and a drag,
// on a diagram of a tool defined by gestures in a project made by the
// behaviour library, holding 1,000, 10,000 or 100,000 elements (half boxes,
// half lines between them). A gesture should cost the same whatever the
// diagram's size.
//
// Each size's project is made once by gestures, kept in GR_BENCH_DIR (default
// bench-gestures in the build folder) and copied before each run.
// GR_BENCH_SMOKE: 200 elements, in a folder of the run's own.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/base/Model.h"
#include "host/gestures/Gestures.h"
#include "host/head/Session.h"
#include "platform/repository.h"
#include "runtime/MessageSink.h"

namespace {

namespace fs = std::filesystem;
namespace model = grhost::model;

const bool kSmoke = std::getenv("GR_BENCH_SMOKE") != nullptr;
constexpr int kColumns = 200;

// A smoke run's projects are its own, in a fresh folder removed at exit. A
// full run keeps its big projects between runs in the build folder, so that
// builds of other store formats never meet them.
fs::path benchFolder() {
  static const fs::path folder = [] {
    if (kSmoke) {
      std::string pattern = (fs::temp_directory_path() / "gr-bench-gestures-XXXXXX").string();
      if (!mkdtemp(pattern.data())) std::abort();
      static std::string made = pattern;
      std::atexit([] {
        std::error_code ignored;
        fs::remove_all(made, ignored);
      });
      return fs::path(made);
    }
    if (const char* given = std::getenv("GR_BENCH_DIR")) return fs::path(given);
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bench-gestures";
  }();
  return folder;
}

grhost::HostOptions quiet() {
  grhost::HostOptions options;
  options.echo = nullptr;
  return options;
}

grhost::BoxPlacement at(int i) {
  grhost::BoxPlacement where;
  where.corner = grhost::geometry::Point{20 + (i % kColumns) * 160, 20 + (i / kColumns) * 100};
  where.width = 110;
  where.height = 45;
  return where;
}

// A session on one project, its gesture layer and the type diagram's boxes.
struct Open {
  std::unique_ptr<grhost::Session> session;
  std::unique_ptr<grhost::Gestures> gestures;
  RepId boxEntry = 0, lineEntry = 0;
  std::vector<RepId> boxes;
  int drawn = 0;

  void attach() { gestures = std::make_unique<grhost::Gestures>(session->head(), session->log()); }
  // The biggest diagram is the one the project was made for.
  void findTypeDiagram() {
    RepId diagram = 0;
    std::size_t most = 0;
    for (RepId candidate : model::objectsOf("GraphDiagram")) {
      std::size_t count = model::partners(candidate, "element").size();
      if (count >= most) diagram = candidate, most = count;
    }
    gestures->openDiagram(diagram);
    boxEntry = gestures->paletteEntry("PaletteBox", "NewNode");
    lineEntry = gestures->paletteEntry("PaletteLine", "NewEdge");
    for (RepId element : model::partners(gestures->currentDiagram(), "element"))
      if (model::isKindOf(element, "Node")) boxes.push_back(element);
    drawn = static_cast<int>(boxes.size());
  }
};

// Closes the dialogs a gesture opened, as the user would.
grhost::GestureOutcome closing(grhost::Gestures& g, grhost::GestureOutcome drawn) {
  while (g.head().dialogs().activeForm()) g.pressButton(g.button("Close"));
  return drawn;
}

// A small tool defined by gestures: a box type "NewNode" whose elements
// have an essential field "Name", and a line type "NewEdge" between its
// boxes; the diagram of that type made from the project diagram is filled
// with ELEMENTS, committing in portions.
void makeProject(const fs::path& folder, int elements) {
  Open open;
  open.session = grhost::Session::createProject(folder, "Bench", quiet());
  open.attach();
  grhost::Gestures& g = *open.gestures;
  RepId project = g.currentDiagram();
  g.rightClick(0);
  g.chooseMenuItem(g.menuItem("Specification Diagram"));
  RepId seed =
      closing(g, g.drawBox(g.paletteEntry("PaletteBox", "Seed"), 0, {})).firstAdded("Node");
  g.doubleClick(seed);
  RepId type = g.drawBox(g.paletteEntry("PaletteBox", "Box"), 0, {}).firstAdded("Node");
  g.pressButton(g.button("AddChild"));
  g.typeIntoField(g.field("caption"), "Name");
  g.setChecked(g.field("isEssential"), true);
  closing(g, g.pressButton(g.button("Close")));
  closing(g, g.drawLine(g.paletteEntry("PaletteLine", "Line"), type, type));
  g.openDiagram(project);
  RepId use =
      closing(g, g.drawBox(g.paletteEntry("PaletteBox", "NewDiagram"), 0, {})).firstAdded("Node");
  g.doubleClick(use);
  RepId boxEntry = g.paletteEntry("PaletteBox", "NewNode");
  RepId lineEntry = g.paletteEntry("PaletteLine", "NewEdge");
  std::vector<RepId> boxes;
  for (int i = 0; i < elements; ++i) {
    if (i % 1000 == 0) StartSaveTransaction1(0, 0, "");
    if (i % 2 == 0 || boxes.size() < 2)
      boxes.push_back(
          g.drawBox(boxEntry, 0, at(static_cast<int>(boxes.size()))).firstAdded("Node"));
    else
      g.drawLine(lineEntry, boxes[boxes.size() - 2], boxes.back());
    if (i % 1000 == 999 || i == elements - 1) CommitSaveTransaction();
  }
}

Open current;
int currentSize = -1;

// The project of the size, made once; each run works on a fresh copy.
Open& openProject(int elements) {
  if (currentSize == elements) return current;
  current.gestures.reset();
  current = Open{};
  fs::path kept = benchFolder() / ("diagram-" + std::to_string(elements));
  if (!fs::exists(kept / RepStoreFileName())) {
    fs::remove_all(kept);
    fs::create_directories(kept.parent_path());
    makeProject(kept, elements);
  }
  fs::path work = benchFolder() / ("work-" + std::to_string(elements));
  fs::remove_all(work);
  fs::copy(kept, work, fs::copy_options::recursive);
  current.session = grhost::Session::openProject(work, quiet());
  current.attach();
  current.findTypeDiagram();
  currentSize = elements;
  return current;
}

int sizeOf(const benchmark::State& state) {
  return kSmoke ? 200 : static_cast<int>(state.range(0));
}

void BM_DrawBox(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  for (auto _ : state)
    open.boxes.push_back(
        open.gestures->drawBox(open.boxEntry, 0, at(open.drawn++)).firstAdded("Node"));
  state.counters["elements"] = sizeOf(state);
}

void BM_DrawLine(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  std::mt19937 random(5);
  for (auto _ : state) {
    RepId from = open.boxes[random() % open.boxes.size()];
    RepId to = open.boxes[random() % open.boxes.size()];
    benchmark::DoNotOptimize(open.gestures->drawLine(open.lineEntry, from, to));
  }
  state.counters["elements"] = sizeOf(state);
}

void BM_EditText(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  std::mt19937 random(7);
  int count = 0;
  for (auto _ : state) {
    RepId box = open.boxes[random() % open.boxes.size()];
    RepId name = open.gestures->compartment(box, "Name");
    benchmark::DoNotOptimize(open.gestures->editText(name, "Name " + std::to_string(++count)));
  }
  state.counters["elements"] = sizeOf(state);
}

void BM_DeleteBox(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  for (auto _ : state) {
    state.PauseTiming();
    RepId doomed = open.gestures->drawBox(open.boxEntry, 0, at(open.drawn++)).firstAdded("Node");
    open.gestures->select({doomed});
    state.ResumeTiming();
    benchmark::DoNotOptimize(open.gestures->pressKey("Delete"));
  }
  state.counters["elements"] = sizeOf(state);
}

// Undo of each of the gestures above, made (untimed) right before it: the
// store takes the step back, the engines follow and the information bar
// names it. Undo should cost no more than twice the gesture.
void BM_UndoDrawBox(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  for (auto _ : state) {
    state.PauseTiming();
    open.gestures->drawBox(open.boxEntry, 0, at(open.drawn++));
    state.ResumeTiming();
    benchmark::DoNotOptimize(open.gestures->undo());
  }
  state.counters["elements"] = sizeOf(state);
}

void BM_UndoDrawLine(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  std::mt19937 random(5);
  for (auto _ : state) {
    state.PauseTiming();
    RepId from = open.boxes[random() % open.boxes.size()];
    RepId to = open.boxes[random() % open.boxes.size()];
    open.gestures->drawLine(open.lineEntry, from, to);
    state.ResumeTiming();
    benchmark::DoNotOptimize(open.gestures->undo());
  }
  state.counters["elements"] = sizeOf(state);
}

void BM_UndoEditText(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  std::mt19937 random(7);
  int count = 0;
  for (auto _ : state) {
    state.PauseTiming();
    RepId box = open.boxes[random() % open.boxes.size()];
    open.gestures->editText(open.gestures->compartment(box, "Name"),
                            "Name " + std::to_string(++count));
    state.ResumeTiming();
    benchmark::DoNotOptimize(open.gestures->undo());
  }
  state.counters["elements"] = sizeOf(state);
}

// A box drawn when the project was made deleted with the lines at it, from
// the middle of the diagram's and its type's big ends; its undo (untimed)
// brings it back for the next round.
void BM_DeleteOldBox(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  std::mt19937 random(11);
  for (auto _ : state) {
    state.PauseTiming();
    open.gestures->select({open.boxes[random() % open.boxes.size()]});
    state.ResumeTiming();
    benchmark::DoNotOptimize(open.gestures->pressKey("Delete"));
    state.PauseTiming();
    open.gestures->undo();
    state.ResumeTiming();
  }
  state.counters["elements"] = sizeOf(state);
}

void BM_UndoDeleteOldBox(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  std::mt19937 random(11);
  for (auto _ : state) {
    state.PauseTiming();
    open.gestures->select({open.boxes[random() % open.boxes.size()]});
    open.gestures->pressKey("Delete");
    state.ResumeTiming();
    benchmark::DoNotOptimize(open.gestures->undo());
  }
  state.counters["elements"] = sizeOf(state);
}

// A box drawn when the project was made, with the lines at it, dragged to
// a new place: the lines are routed anew.
void BM_MoveOldBox(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  std::mt19937 random(9);
  for (auto _ : state) {
    RepId box = open.boxes[random() % open.boxes.size()];
    benchmark::DoNotOptimize(
        open.gestures->moveElement(box, {at(open.drawn++).corner->x, 20, 110, 45}));
  }
  state.counters["elements"] = sizeOf(state);
}

void BM_UndoMoveOldBox(benchmark::State& state) {
  Open& open = openProject(sizeOf(state));
  std::mt19937 random(9);
  for (auto _ : state) {
    state.PauseTiming();
    RepId box = open.boxes[random() % open.boxes.size()];
    open.gestures->moveElement(box, {at(open.drawn++).corner->x, 20, 110, 45});
    state.ResumeTiming();
    benchmark::DoNotOptimize(open.gestures->undo());
  }
  state.counters["elements"] = sizeOf(state);
}

void sizes(benchmark::internal::Benchmark* bench) {
  if (kSmoke) {
    bench->Arg(200);
    return;
  }
  for (int size : {1000, 10000, 100000}) bench->Arg(size);
}

BENCHMARK(BM_DrawBox)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawLine)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditText)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteBox)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoDrawBox)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoDrawLine)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoEditText)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveOldBox)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoMoveOldBox)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteOldBox)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoDeleteOldBox)->Apply(sizes)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  gr::setDefaultSinkEcho(false);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // The project closes before its folder goes.
  current.gestures.reset();
  current = Open{};
  return 0;
}
