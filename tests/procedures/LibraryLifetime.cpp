// A host as small as can be: it loads libmain.so, runs the dispatcher on a
// few events and returns from main, with the library still loaded ("stay")
// or after unloading and loading it again ("reload"). Whatever the library's
// start-up and shut-down do must survive both ways of ending a process.
//
//   grtest_library_lifetime LIBMAIN METAMODELS stay|reload
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/repository.h"
#include "runtime/GraphExchange.h"
#include "runtime/Logger.h"
#include "runtime/MessageSink.h"

namespace {

using Entry = void (*)();

int fail(const std::string& what) {
  std::fprintf(stderr, "grtest_library_lifetime: %s\n", what.c_str());
  return 2;
}

bool loadMetamodels(const std::string& folder) {
  for (const char* file :
       {"HeadEngineMetamodel.txt", "GraphDiagramEngineMetamodel.txt", "DialogEngineMetamodel.txt"})
    if (!importExchangeFile(folder + "/" + file).ended) return false;
  return true;
}

// An event for the dispatcher; its handlers use the caches and the trace.
void raise(const char* className) {
  StartSaveTransaction1(0, 0, "");
  CreateObject(GetObjectTypeIdByName(className));
  CommitSaveTransaction();
}

bool runDispatcher(void* library) {
  auto libMain = reinterpret_cast<Entry>(dlsym(library, "L0_LibMain"));
  if (!libMain) return false;
  for (const char* event : {"RClickEvent", "ExecTransfEvent", "LClickEvent"}) {
    raise(event);
    libMain();
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return fail("usage: LIBMAIN METAMODELS stay|reload");
  std::string mode = argv[3];
  // The trace goes to the current folder: one of its own.
  char folder[] = "/tmp/grtest-lifetime-XXXXXX";
  if (!mkdtemp(folder) || chdir(folder) != 0) return fail("no scratch folder");
  gr::setDefaultSinkEcho(false);
  if (!RepOpenMemory() || !loadMetamodels(argv[2])) return fail("no store");
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) return fail(dlerror());
  Logger::instance().write("lifetime test");
  if (!runDispatcher(library)) return fail("no L0_LibMain");
  if (mode == "reload") {
    dlclose(library);
    library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library || !runDispatcher(library)) return fail("not loaded again");
  }
  std::filesystem::remove_all(folder);
  std::printf("ran %zu messages, returning with the library loaded\n",
              gr::recordedMessages().size());
  return 0;
}
