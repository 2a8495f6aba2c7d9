// Object variables under load: a store of 1,000,000 objects of one class with
// 2,000,000 links (each object linked to the next one and to a random one),
// in memory. Measures the steps transformations take most: `next` of a root
// search and of a navigation; and a call of a procedure by name.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "platform/host.h"
#include "platform/repository.h"
#include "runtime/Generation.h"
#include "runtime/L0_Var.h"
#include "runtime/MessageSink.h"
#include "runtime/ProcedureCall.h"

namespace {

const bool kSmoke = std::getenv("GR_BENCH_SMOKE") != nullptr;
const uint32_t kObjects = kSmoke ? 2'000 : 1'000'000;
const uint32_t kHubPartners = kSmoke ? 500 : 100'000;

struct Model {
  RepId item = 0;
  RepId hub = 0;
};

Model& model() {
  static Model m = [] {
    gr::setDefaultSinkEcho(false);
    if (!RepOpenMemory()) std::abort();
    Model built;
    built.item = CreateObjectType("Item");
    RepId next = CreateLinkType(built.item, "next", REP_MULT_ZERO_ONE, 0, built.item, "previous",
                                REP_MULT_ZERO_ONE, 0, 0);
    RepId random = CreateLinkType(built.item, "random", REP_MULT_MANY, 1, built.item, "randomOf",
                                  REP_MULT_MANY, 1, 0);
    std::vector<RepId> ids(kObjects);
    for (RepId& id : ids) id = CreateObject(built.item);
    std::mt19937 generator(7);
    for (uint32_t i = 0; i < kObjects; ++i) {
      CreateLink(next, ids[i], ids[(i + 1) % kObjects]);
      CreateLink(random, ids[i], ids[generator() % kObjects]);
    }
    built.hub = CreateObject(built.item);
    for (uint32_t i = 0; i < kHubPartners; ++i)
      CreateLink(random, built.hub, ids[(i * 7) % kObjects]);
    advanceGeneration();
    return built;
  }();
  return m;
}

void BM_RootSearchNext(benchmark::State& state) {
  model();
  L0_Var_2 x("Item");
  bool found = x.setFirstToRoot("Item");
  for (auto _ : state) {
    found = x.next();
    if (!found) found = x.setFirstToRoot("Item");
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RootSearchNext);

void BM_NavigationNext(benchmark::State& state) {
  Model& m = model();
  L0_Var_2 hub = L0_Var_2::fromObjectId(m.hub);
  L0_Var_2 partner("Item");
  bool found = partner.setFirstByRelation(hub, "random");
  for (auto _ : state) {
    found = partner.next();
    if (!found) found = partner.setFirstByRelation(hub, "random");
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NavigationNext);

// A walk along `next` links: one navigation started per step.
void BM_NavigationChainStep(benchmark::State& state) {
  model();
  L0_Var_2 current("Item");
  current.setFirstToRoot("Item");
  for (auto _ : state) {
    L0_Var_2 following("Item");
    following.setFirstByRelation(current, "next");
    current = following;
    benchmark::DoNotOptimize(current);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NavigationChainStep);

void BM_AddObj(benchmark::State& state) {
  model();
  L0_Var_2 x("Item");
  for (auto _ : state) x.addObj("Item");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddObj);

// A call of a procedure the model names: finding libmain.so in the library
// folders, checking them, looking up the entry and its signature, calling it
// (an entry that takes no object and does nothing).
// The library stays loaded, as a host keeps it.
void BM_CallByName(benchmark::State& state) {
  model();
  static void* held = dlopen((gr::host().runtimePath() + "/libmain.so").c_str(), RTLD_NOW);
  if (!held) state.SkipWithError("libmain.so is not in the runtime folder");
  L0_Var_2 item("Item");
  item.setFirstToRoot("Item");
  for (auto _ : state) executeObjectFunction("main.dll", "_L0_Func_add_parent_child", item);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CallByName);

}  // namespace

BENCHMARK_MAIN();
