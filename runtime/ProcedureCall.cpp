#include "runtime/ProcedureCall.h"

#include <dlfcn.h>

#include <filesystem>

#include "platform/host.h"
#include "runtime/L0_Var.h"
#include "runtime/MessageSink.h"
#include "runtime/Signature.h"

namespace gr {

std::string libraryFileName(const std::string& library) {
  std::string base = library;
  const std::string dll = ".dll";
  if (base.size() > dll.size() && base.compare(base.size() - dll.size(), dll.size(), dll) == 0)
    base.resize(base.size() - dll.size());
  return "lib" + base + ".so";
}

std::string entrySymbol(const std::string& function) {
  return !function.empty() && function[0] == '_' ? function.substr(1) : function;
}

namespace {

bool namesAFolder(const std::string& library) {
  return library.find('/') != std::string::npos || library.find('\\') != std::string::npos;
}

}  // namespace

// The tool folder, then the runtime folder, then the loader's own path.
void* openProcedureLibrary(const std::string& library, std::string& systemError) {
  systemError.clear();
  if (library.empty() || namesAFolder(library)) {
    systemError = "a library must be named without a folder";
    return nullptr;
  }
  std::string file = libraryFileName(library);
  for (const std::string& folder : {host().toolPath(), host().runtimePath()}) {
    std::filesystem::path candidate = std::filesystem::path(folder) / file;
    std::error_code ec;
    if (!folder.empty() && std::filesystem::is_regular_file(candidate, ec)) {
      void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (handle) return handle;
      systemError = dlerror();
      return nullptr;
    }
  }
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) systemError = dlerror();
  return handle;
}

namespace {

const char* const kScriptEngineLibrary = "lua_engine.dll";

std::string quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// Calls by name that a model drives can name each other in a circle (a
// transformation reference to "Main" from an event Main dispatches): the
// nesting is bounded so that such a model ends with a message, not with the
// stack.
constexpr int kMaxCallDepth = 256;
int callDepth = 0;

// An open library with one entry of a known type; closes the library when
// the call is over.
class BoundEntry {
 public:
  BoundEntry(const std::string& library, const std::string& function, const char* signature,
             bool showSystemErrors) {
    if (callDepth >= kMaxCallDepth) {
      showMessageBox("Function " + quoted(function) + " of " + quoted(library) +
                     " is not called: calls by name are nested " + std::to_string(kMaxCallDepth) +
                     " deep.");
      return;
    }
    ++callDepth;
    counted_ = true;
    std::string systemError;
    handle_ = openProcedureLibrary(library, systemError);
    if (!handle_) {
      if (showSystemErrors) showMessageBox("Error: " + systemError);
      showMessageBox("Probably, Dll not found \"\n" + library + "\".");
      return;
    }
    std::string symbol = entrySymbol(function);
    dlerror();
    entry_ = dlsym(handle_, symbol.c_str());
    if (!entry_) {
      const char* error = dlerror();
      if (showSystemErrors) showMessageBox(std::string("Error: ") + (error ? error : symbol));
      showMessageBox("Probably, Function not found \n" + quoted(function) + ".");
      return;
    }
    auto* exported =
        static_cast<const char* const*>(dlsym(handle_, signatureSymbol(symbol).c_str()));
    std::string actual = exported ? *exported : "unknown";
    if (actual != signature) {
      showMessageBox("Function " + quoted(function) + " of " + quoted(library) +
                     " can not be called: it is " + actual + ", the call needs " + signature + ".");
      entry_ = nullptr;
    }
  }
  ~BoundEntry() {
    if (handle_) dlclose(handle_);
    if (counted_) --callDepth;
  }
  BoundEntry(const BoundEntry&) = delete;
  BoundEntry& operator=(const BoundEntry&) = delete;

  template <class F>
  F* get() const {
    return reinterpret_cast<F*>(entry_);
  }
  explicit operator bool() const { return entry_ != nullptr; }

 private:
  void* handle_ = nullptr;
  void* entry_ = nullptr;
  bool counted_ = false;
};

template <class F>
BoundEntry bind(const std::string& library, const std::string& function,
                bool showSystemErrors = false) {
  return BoundEntry(library, function, Signature<F>::text, showSystemErrors);
}

// "entry.function" of the script engine: the entry is the host's.
bool scriptEngineCall(const std::string& library, const std::string& function,
                      const L0_Var_2& object, std::string& result) {
  if (library != kScriptEngineLibrary) return false;
  std::size_t dot = function.find('.');
  if (dot == std::string::npos) {
    showMessageBox(". notation expected");
    return true;
  }
  result = host().luaCall(function.substr(0, dot), function.substr(dot + 1), object.getCurrObjID());
  return true;
}

}  // namespace
}  // namespace gr

using VoidEntry = void();
using ObjectEntry = void(L0_Var_2);
using ThreeObjectEntry = void(L0_Var_2, L0_Var_2, L0_Var_2);
using BooleanEntry = bool(L0_Var_2);
using StringEntry = std::string(L0_Var_2);

void executeVoidFunction(const std::string& library, const std::string& function) {
  auto entry = gr::bind<VoidEntry>(library, function, true);
  if (entry) entry.get<VoidEntry>()();
}

void executeObjectFunction(const std::string& library, const std::string& function,
                           L0_Var_2 object) {
  std::string ignored;
  if (gr::scriptEngineCall(library, function, object, ignored)) return;
  auto entry = gr::bind<ObjectEntry>(library, function);
  if (entry) entry.get<ObjectEntry>()(object);
}

bool executeThreeObjectFunction(const std::string& library, const std::string& function,
                                L0_Var_2 first, L0_Var_2 second, L0_Var_2 third) {
  auto entry = gr::bind<ThreeObjectEntry>(library, function);
  if (!entry) return false;
  entry.get<ThreeObjectEntry>()(first, second, third);
  return true;
}

bool executeBooleanFunction(const std::string& library, const std::string& function,
                            L0_Var_2 object) {
  auto entry = gr::bind<BooleanEntry>(library, function);
  return entry ? entry.get<BooleanEntry>()(object) : false;
}

std::string executeStringFunction(const std::string& library, const std::string& function,
                                  L0_Var_2 object) {
  std::string result;
  if (gr::scriptEngineCall(library, function, object, result)) return result;
  auto entry = gr::bind<StringEntry>(library, function);
  return entry ? entry.get<StringEntry>()(object) : std::string();
}

using ObjectReturningEntry = L0_Var_2(L0_Var_2);

L0_Var_2 executeObjectReturningFunction(const std::string& library, const std::string& function,
                                        L0_Var_2 object) {
  auto entry = gr::bind<ObjectReturningEntry>(library, function);
  return entry ? entry.get<ObjectReturningEntry>()(object) : L0_Var_2();
}
