// The model store under load: a project of 1,000,000 objects of one class
// with 2,000,000 links (each object linked to the next one and to a random
// one). The project is built once in a child process, so that the resident
// memory read after opening it belongs to the opened store alone.
//
// GR_BENCH_DIR names the folder of the project (default: bench-store-1000000
// in the build folder); delete it to rebuild.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/repository.h"

namespace {

// GR_BENCH_SMOKE runs everything on a small store: it checks that the
// benchmarks work, not how fast.
const bool kSmoke = std::getenv("GR_BENCH_SMOKE") != nullptr;
const uint32_t kObjects = kSmoke ? 2'000 : 1'000'000;

// A smoke run's stores are its own, in a fresh folder removed at exit. A full
// run keeps its big store between runs in the build folder, so that builds
// of other store formats never meet it.
std::filesystem::path smokeFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "gr-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  static std::string made = pattern;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(made, ignored);
  });
  return made;
}

std::string benchFolder() {
  static const std::string folder = [] {
    const char* configured = std::getenv("GR_BENCH_DIR");
    if (kSmoke) return (smokeFolder() / "store").string();
    if (configured) return std::string(configured);
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    return (program.parent_path().parent_path() / ("bench-store-" + std::to_string(kObjects)))
        .string();
  }();
  return folder;
}

long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 12, '\n');
  }
  return -1;
}

struct Schema {
  RepId item = 0, next = 0, random = 0, caption = 0;

  static Schema lookUp() {
    Schema schema;
    schema.item = GetObjectTypeIdByName("Item");
    schema.next = GetLinkTypeIdByName(schema.item, "next");
    schema.random = GetLinkTypeIdByName(schema.item, "random");
    schema.caption = GetPropertyTypeIdByName(schema.item, "caption");
    return schema;
  }
  static Schema create() {
    RepId item = CreateObjectType("Item");
    CreateLinkType(item, "next", REP_MULT_ZERO_ONE, 0, item, "previous", REP_MULT_ZERO_ONE, 0, 0);
    CreateLinkType(item, "random", REP_MULT_MANY, 1, item, "randomOf", REP_MULT_MANY, 1, 0);
    AddPropertyType(item, CreatePropertyType("caption", BaseType_STRING));
    return lookUp();
  }
};

// Fills the open store with N objects and 2N links and commits.
void populate(uint32_t count) {
  Schema schema = Schema::create();
  StartSaveTransaction1(0, 0, "");
  std::vector<RepId> ids(count);
  for (RepId& id : ids) id = CreateObject(schema.item);
  std::mt19937 random(1);
  for (uint32_t i = 0; i < count; ++i) {
    CreateLink(schema.next, ids[i], ids[(i + 1) % count]);
    CreateLink(schema.random, ids[i], ids[random() % count]);
  }
  CommitSaveTransaction();
}

void buildBigProjectOnce() {
  std::string folder = benchFolder();
  if (std::filesystem::exists(std::filesystem::path(folder) / RepStoreFileName())) return;
  pid_t child = fork();
  if (child == 0) {
    if (!RepCreateProject(folder.c_str())) _exit(1);
    populate(kObjects);
    _exit(RepCloseProject() ? 0 : 2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::filesystem::remove_all(folder);
    std::abort();
  }
}

// Opened by the first benchmark, then shared by the others.
Schema& bigStore() {
  static Schema schema = [] {
    buildBigProjectOnce();
    if (!RepIsOpen() && !RepOpenProject(benchFolder().c_str())) std::abort();
    return Schema::lookUp();
  }();
  return schema;
}

// ---- opening ----------------------------------------------------------------

void BM_OpenBigProject(benchmark::State& state) {
  buildBigProjectOnce();
  for (auto _ : state) {
    if (!RepOpenProject(benchFolder().c_str())) {
      state.SkipWithError(RepLastError());
      break;
    }
    state.PauseTiming();
    state.counters["rss_MB"] = static_cast<double>(residentKilobytes()) / 1024.0;
    state.counters["objects"] = GetObjectNum(GetObjectTypeIdByName("Item"));
    RepCloseProject();
    state.ResumeTiming();
  }
}
// First, in a fresh process, so the memory reading is the store's own.
BENCHMARK(BM_OpenBigProject)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- creating ------------------------------------------------------------------

void BM_CreateObject(benchmark::State& state) {
  Schema& schema = bigStore();
  for (auto _ : state) benchmark::DoNotOptimize(CreateObject(schema.item));
}
BENCHMARK(BM_CreateObject);

// Links between objects created close together, the common case.
void BM_CreateLinkNearby(benchmark::State& state) {
  Schema& schema = bigStore();
  std::vector<RepId> fresh(4096);
  for (RepId& id : fresh) id = CreateObject(schema.item);
  size_t i = 0;
  for (auto _ : state) {
    CreateLink(schema.random, fresh[i % fresh.size()], fresh[(i * 7 + 1) % fresh.size()]);
    ++i;
  }
}
BENCHMARK(BM_CreateLinkNearby);

// Links between random objects anywhere among the store's million (not among
// the objects the benchmarks above added): every end is a cache miss.
void BM_CreateLinkRandom(benchmark::State& state) {
  Schema& schema = bigStore();
  std::mt19937 random(5);
  std::vector<RepId> ends(1 << 16);
  for (RepId& id : ends) id = GetObjectIdByIndex(schema.item, random() % kObjects);
  size_t i = 0;
  for (auto _ : state) {
    CreateLink(schema.random, ends[i % ends.size()], ends[(i + 1) % ends.size()]);
    i += 2;
  }
}
BENCHMARK(BM_CreateLinkRandom);

// ---- navigating -------------------------------------------------------------------

// What the runtime does at each step of a navigation: partner by index, then
// the liveness checks. Reported per partner visited.
int64_t visitPartners(RepId from, RepId linkType) {
  uint32_t partners = GetLinkedObjectNum(from, linkType);
  for (uint32_t k = 0; k < partners; ++k) {
    RepId to = GetLinkedObjectIdByIndex(from, linkType, k);
    benchmark::DoNotOptimize(ObjectExists(from) && ObjectExists(to) &&
                             AlreadyConnected(linkType, from, to));
  }
  return partners;
}

// Objects picked at random among the million: mostly cache misses.
void BM_IteratePartnersOfRandomObjects(benchmark::State& state) {
  Schema& schema = bigStore();
  std::mt19937 random(9);
  RepId randomOf = GetInverseLinkTypeId(schema.random);
  int64_t visited = 0;
  for (auto _ : state) {
    RepId from = GetObjectIdByIndex(schema.item, random() % kObjects);
    visited += visitPartners(from, schema.next) + visitPartners(from, schema.random) +
               visitPartners(from, randomOf);
  }
  state.SetItemsProcessed(visited);
}
BENCHMARK(BM_IteratePartnersOfRandomObjects);

// One object with 10,000 partners (kept with a hash index).
void BM_IteratePartnersOfHub(benchmark::State& state) {
  Schema& schema = bigStore();
  RepId hub = CreateObject(schema.item);
  for (uint32_t i = 0; i < 10'000; ++i)
    CreateLink(schema.random, hub, GetObjectIdByIndex(schema.item, (i * 97) % kObjects));
  int64_t visited = 0;
  for (auto _ : state) visited += visitPartners(hub, schema.random);
  state.SetItemsProcessed(visited);
}
BENCHMARK(BM_IteratePartnersOfHub);

// ---- committing -------------------------------------------------------------------

enum class Timed { Commit, Idle, SaveRequest };

// 1,000 new objects, each with a value and linked to a random old object:
// 2,000 objects and 1,000 links change. Timed is the commit, or the RepIdle
// that a host calls when the gesture is done (folding the log into the
// store file), or a SaveRequest that syncs and folds at once.
void commitThousandChanges(benchmark::State& state, const Schema& schema, Timed timed) {
  uint32_t count = GetObjectNum(schema.item);
  std::mt19937 random(13);
  int64_t rows = 0, bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    StartSaveTransaction1(0, 0, "");
    for (int i = 0; i < 1000; ++i) {
      RepId fresh = CreateObject(schema.item);
      AddProperty(fresh, schema.caption, "changed");
      CreateLink(schema.random, fresh, GetObjectIdByIndex(schema.item, random() % count));
    }
    if (timed == Timed::Idle && !CommitSaveTransaction()) state.SkipWithError(RepLastError());
    state.ResumeTiming();
    bool done = false;
    switch (timed) {
      case Timed::Commit:
        done = CommitSaveTransaction();
        break;
      case Timed::Idle:
        done = RepIdle();
        break;
      case Timed::SaveRequest:
        done = SaveRequest(11) && CommitSaveTransaction();
        break;
    }
    if (!done) state.SkipWithError(RepLastError());
    state.PauseTiming();
    if (timed == Timed::Commit) {
      rows += RepLastCommitRowCount();
      bytes += RepLastCommitByteCount();
      if (!RepIdle()) state.SkipWithError(RepLastError());
    }
    state.ResumeTiming();
  }
  if (timed == Timed::Commit) {
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
    state.counters["log_KB"] =
        static_cast<double>(bytes) / 1024.0 / static_cast<double>(state.iterations());
  }
}

// Runs on a copy, so the project stays the same from run to run; opening the
// copy also drops what the benchmarks above created without committing.
void commitOnCopyOfBigStore(benchmark::State& state, Timed timed) {
  bigStore();
  RepCloseProject();
  std::string copy = benchFolder() + "_commit";
  std::filesystem::remove_all(copy);
  std::filesystem::copy(benchFolder(), copy);
  if (!RepOpenProject(copy.c_str())) {
    state.SkipWithError(RepLastError());
    return;
  }
  commitThousandChanges(state, Schema::lookUp(), timed);
  RepCloseProject();
  std::filesystem::remove_all(copy);
}

// The commit alone: it appends to the log, which the host's idle moments fold.
void BM_CommitThousandChangesBigStore(benchmark::State& state) {
  commitOnCopyOfBigStore(state, Timed::Commit);
}
BENCHMARK(BM_CommitThousandChangesBigStore)
    ->Iterations(48)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the idle moment after such a commit costs: the fold, with its syncs.
void BM_IdleAfterThousandChangesBigStore(benchmark::State& state) {
  commitOnCopyOfBigStore(state, Timed::Idle);
}
BENCHMARK(BM_IdleAfterThousandChangesBigStore)
    ->Iterations(16)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same changes made durable at once: synced, and the log folded into the
// database.
void BM_SaveRequestThousandChangesBigStore(benchmark::State& state) {
  commitOnCopyOfBigStore(state, Timed::SaveRequest);
}
BENCHMARK(BM_SaveRequestThousandChangesBigStore)
    ->Iterations(16)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

std::string freshFolder(const char* suffix) {
  if (RepIsOpen()) RepCloseProject();
  std::string folder = benchFolder() + suffix;
  std::filesystem::remove_all(folder);
  return folder;
}

// The same commit on a store of 10,000 objects: its cost must not depend on
// the size of the store.
void BM_CommitThousandChangesSmallStore(benchmark::State& state) {
  std::string folder = freshFolder("_small");
  if (!RepCreateProject(folder.c_str())) {
    state.SkipWithError(RepLastError());
    return;
  }
  populate(10'000);
  commitThousandChanges(state, Schema::lookUp(), Timed::Commit);
  RepCloseProject();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CommitThousandChangesSmallStore)
    ->Iterations(48)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One link more at an end of N partners, committed: what a gesture that adds
// an element to a diagram of N elements writes at the diagram's end. Rows and
// log bytes per commit must not grow with N.
void BM_CommitOneLinkToHub(benchmark::State& state) {
  std::string folder = freshFolder("_hub");
  if (!RepCreateProject(folder.c_str())) {
    state.SkipWithError(RepLastError());
    return;
  }
  Schema schema = Schema::create();
  auto partners = static_cast<uint32_t>(state.range(0) / (kSmoke ? 100 : 1));
  StartSaveTransaction1(0, 0, "");
  RepId hub = CreateObject(schema.item);
  for (uint32_t i = 0; i < partners; ++i) CreateLink(schema.random, hub, CreateObject(schema.item));
  std::vector<RepId> newcomers(static_cast<size_t>(state.max_iterations));
  for (RepId& id : newcomers) id = CreateObject(schema.item);
  if (!CommitSaveTransaction() || !RepIdle()) state.SkipWithError(RepLastError());
  size_t i = 0;
  int64_t rows = 0, bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    StartSaveTransaction1(0, 0, "");
    CreateLink(schema.random, hub, newcomers[i++]);
    state.ResumeTiming();
    if (!CommitSaveTransaction()) state.SkipWithError(RepLastError());
    state.PauseTiming();
    rows += RepLastCommitRowCount();
    bytes += RepLastCommitByteCount();
    RepIdle();
    state.ResumeTiming();
  }
  state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
  state.counters["log_KB"] =
      static_cast<double>(bytes) / 1024.0 / static_cast<double>(state.iterations());
  RepCloseProject();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CommitOneLinkToHub)
    ->Arg(1'000)
    ->Arg(100'000)
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
