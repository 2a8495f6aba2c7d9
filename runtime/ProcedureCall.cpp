#include "runtime/ProcedureCall.h"

#include <dlfcn.h>
#include <link.h>

#include <filesystem>
#include <initializer_list>

#include "platform/host.h"
#include "runtime/ElfExports.h"
#include "runtime/L0_Var.h"
#include "runtime/LibrarySafety.h"
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

std::string lastDlError() {
  const char* error = dlerror();
  return error ? error : "unknown error";
}

// The first library folder that holds FILE; "" when none does.
std::string folderHolding(const std::string& file) {
  for (const std::string& folder : libraryFolders()) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::path(folder) / file, ec)) return folder;
  }
  return "";
}

std::string searchedFolders() {
  std::string list;
  for (const std::string& folder : libraryFolders()) list += (list.empty() ? "" : ", ") + folder;
  std::string toolProblem = toolFolderProblem();
  return (list.empty() ? "no folder" : list) + (toolProblem.empty() ? "" : "; " + toolProblem);
}

std::string loadedFile(void* handle) {
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return "";
  return map->l_name;
}

// The file of the library that defines the symbol at ADDRESS.
std::string definingFile(const void* address) {
  Dl_info info{};
  return dladdr(address, &info) && info.dli_fname ? info.dli_fname : "";
}

}  // namespace

void* openProcedureLibrary(const std::string& library, std::string& systemError, bool* refused) {
  if (refused) *refused = false;
  systemError = libraryNameProblem(library);
  if (!systemError.empty()) {
    if (refused) *refused = true;
    return nullptr;
  }
  std::string file = libraryFileName(library);
  std::string folder = folderHolding(file);
  if (folder.empty()) {
    systemError = file + " is in none of the library folders (" + searchedFolders() + ")";
    return nullptr;
  }
  std::string path = (std::filesystem::path(folder) / file).string();
  for (const std::string& checked : {folder, path}) {
    systemError = writableByOthers(checked);
    if (!systemError.empty()) {
      if (refused) *refused = true;
      return nullptr;
    }
  }
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) systemError = lastDlError();
  return handle;
}

EntryLookup lookUpEntry(void* handle, const std::string& symbol) {
  EntryLookup found;
  std::string file = loadedFile(handle);
  dlerror();
  void* entry = dlsym(handle, symbol.c_str());
  if (!entry || definingFile(entry) != file) return found;
  found.entry = entry;
  void* text = dlsym(handle, signatureSymbol(symbol).c_str());
  if (text && definingFile(text) == file) {
    found.signature = *static_cast<const char* const*>(text);
    return found;
  }
  found.missingSignature = exportsSymbolEndingWith(file, signatureSymbol(""));
  return found;
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
  // ACCEPTED: the signature of the call itself, then those it may also run.
  BoundEntry(const std::string& library, const std::string& function,
             std::initializer_list<const char*> accepted, bool showSystemErrors) {
    if (callDepth >= kMaxCallDepth) {
      showMessageBox("Function " + quoted(printableName(function)) + " of " +
                     quoted(printableName(library)) + " is not called: calls by name are nested " +
                     std::to_string(kMaxCallDepth) + " deep.");
      return;
    }
    ++callDepth;
    counted_ = true;
    if (!open(library, showSystemErrors)) return;
    std::string problem = entryNameProblem(function);
    if (!problem.empty()) {
      showMessageBox("Function " + quoted(printableName(function)) + " of " +
                     quoted(printableName(library)) + " can not be called: " + problem + ".");
      return;
    }
    EntryLookup found = lookUpEntry(handle_, entrySymbol(function));
    if (!found.entry) {
      if (showSystemErrors) showMessageBox("Error: " + lastDlError());
      showMessageBox("Probably, Function not found \n" + quoted(function) + ".");
      return;
    }
    matched_ = match(found, accepted);
    if (!matched_.empty()) {
      entry_ = found.entry;
      return;
    }
    std::string actual = found.missingSignature ? "unknown" : found.signature;
    showMessageBox("Function " + quoted(function) + " of " + quoted(library) +
                   " can not be called: it is " + actual + ", the call needs " + *accepted.begin() +
                   ".");
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
  // The signature the entry is called by; "" when it is not called.
  const std::string& signature() const { return matched_; }
  template <class F>
  bool is() const {
    return entry_ && matched_ == Signature<F>::text;
  }
  explicit operator bool() const { return entry_ != nullptr; }

 private:
  bool open(const std::string& library, bool showSystemErrors) {
    std::string systemError;
    bool refused = false;
    handle_ = openProcedureLibrary(library, systemError, &refused);
    if (handle_) return true;
    if (refused) {
      showMessageBox("Library " + quoted(printableName(library)) +
                     " is not loaded: " + systemError + ".");
      return false;
    }
    if (showSystemErrors) showMessageBox("Error: " + systemError);
    showMessageBox("Probably, Dll not found \"\n" + library + "\".");
    return false;
  }

  // A trusted entry (of a library without signature texts) is called
  // through the call's own type.
  static std::string match(const EntryLookup& found, std::initializer_list<const char*> accepted) {
    if (found.missingSignature) return "";
    if (found.signature.empty()) return *accepted.begin();
    for (const char* each : accepted)
      if (found.signature == each) return each;
    return "";
  }

  void* handle_ = nullptr;
  void* entry_ = nullptr;
  std::string matched_;
  bool counted_ = false;
};

template <class F>
constexpr const char* sig() {
  return Signature<F>::text;
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
using PlainStringEntry = std::string();
using ObjectReturningEntry = L0_Var_2(L0_Var_2);

void executeVoidFunction(const std::string& library, const std::string& function) {
  gr::BoundEntry entry(library, function, {gr::sig<VoidEntry>()}, true);
  if (entry) entry.get<VoidEntry>()();
}

void executeObjectFunction(const std::string& library, const std::string& function,
                           L0_Var_2 object) {
  std::string ignored;
  if (gr::scriptEngineCall(library, function, object, ignored)) return;
  gr::BoundEntry entry(library, function, {gr::sig<ObjectEntry>(), gr::sig<VoidEntry>()}, false);
  if (entry.is<VoidEntry>())
    entry.get<VoidEntry>()();
  else if (entry)
    entry.get<ObjectEntry>()(object);
}

bool executeThreeObjectFunction(const std::string& library, const std::string& function,
                                L0_Var_2 first, L0_Var_2 second, L0_Var_2 third) {
  gr::BoundEntry entry(library, function, {gr::sig<ThreeObjectEntry>()}, false);
  if (!entry) return false;
  entry.get<ThreeObjectEntry>()(first, second, third);
  return true;
}

bool executeBooleanFunction(const std::string& library, const std::string& function,
                            L0_Var_2 object) {
  gr::BoundEntry entry(library, function, {gr::sig<BooleanEntry>()}, false);
  return entry ? entry.get<BooleanEntry>()(object) : false;
}

// A "v()" entry leaves the empty text.
std::string executeStringFunction(const std::string& library, const std::string& function,
                                  L0_Var_2 object) {
  std::string result;
  if (gr::scriptEngineCall(library, function, object, result)) return result;
  gr::BoundEntry entry(library, function,
                       {gr::sig<StringEntry>(), gr::sig<PlainStringEntry>(), gr::sig<VoidEntry>()},
                       false);
  if (entry.is<PlainStringEntry>()) return entry.get<PlainStringEntry>()();
  if (entry.is<VoidEntry>())
    entry.get<VoidEntry>()();
  else if (entry)
    result = entry.get<StringEntry>()(object);
  return result;
}

L0_Var_2 executeObjectReturningFunction(const std::string& library, const std::string& function,
                                        L0_Var_2 object) {
  gr::BoundEntry entry(library, function, {gr::sig<ObjectReturningEntry>()}, false);
  return entry ? entry.get<ObjectReturningEntry>()(object) : L0_Var_2();
}
