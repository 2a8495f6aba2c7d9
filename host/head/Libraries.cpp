#include "host/head/Libraries.h"

#include <dlfcn.h>

#include "host/base/HostError.h"
#include "runtime/LibrarySafety.h"
#include "runtime/ProcedureCall.h"
#include "runtime/Signature.h"

namespace grhost {
namespace {

const char* const kHandlerSignature = gr::Signature<void()>::text;

std::string lastDlError() {
  const char* error = dlerror();
  return error ? error : "unknown error";
}

}  // namespace

Libraries::Libraries(const std::filesystem::path& mainLibrary)
    : mainFile_(mainLibrary.filename().string()) {
  for (const std::filesystem::path& checked : {mainLibrary.parent_path(), mainLibrary}) {
    std::string refusal = gr::writableByOthers(checked.string());
    if (!refusal.empty())
      throw HostError("The behaviour library " + mainLibrary.string() +
                      " is not loaded: " + refusal + ".");
  }
  main_ = dlopen(mainLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!main_)
    throw HostError("Can not load the behaviour library " + mainLibrary.string() + ": " +
                    lastDlError());
}

Libraries::~Libraries() {
  for (auto& [name, handle] : others_) dlclose(handle);
  dlclose(main_);
}

Libraries::VoidEntry Libraries::mainEntry(const char* symbol) const {
  return reinterpret_cast<VoidEntry>(dlsym(main_, symbol));
}

Libraries::CompartmentEditEntry Libraries::compartmentEditEntry() const {
  return reinterpret_cast<CompartmentEditEntry>(dlsym(main_, "set_compartment_value"));
}

void* Libraries::libraryOf(const HandlerValue& handler, std::string& why) {
  if (handler.inMainLibrary()) return main_;
  auto found = others_.find(handler.library);
  if (found != others_.end()) return found->second;
  std::string systemError;
  void* handle = gr::openProcedureLibrary(handler.library, systemError);
  if (!handle) {
    why = systemError;
    return nullptr;
  }
  others_[handler.library] = handle;
  return handle;
}

Libraries::VoidEntry Libraries::transformation(const HandlerValue& handler, std::string& why) {
  std::string entry = handler.entry();
  why = gr::entryNameProblem(entry);
  if (!why.empty()) return nullptr;
  void* library = libraryOf(handler, why);
  if (!library) return nullptr;
  gr::EntryLookup found = gr::lookUpEntry(library, entry);
  std::string file = handler.inMainLibrary() ? mainFile_ : gr::libraryFileName(handler.library);
  if (!found.entry) {
    why = file + " has no entry " + entry;
    return nullptr;
  }
  // An entry of a library without signature texts is trusted (found.signature empty).
  if (found.missingSignature) {
    why = entry + " of " + file + " exports no signature; a handler must be " + kHandlerSignature;
    return nullptr;
  }
  if (!found.signature.empty() && found.signature != kHandlerSignature) {
    why = entry + " of " + file + " is " + found.signature + "; a handler must be " +
          kHandlerSignature;
    return nullptr;
  }
  return reinterpret_cast<VoidEntry>(found.entry);
}

}  // namespace grhost
