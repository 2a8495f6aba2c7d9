// The transformation libraries the host runs handlers of: the behaviour
// library, loaded at start-up from its file, and the libraries that "lib#Name"
// handlers name, found as named procedures are found and kept open for the
// session (an exception from their code must not outlive their code).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "host/head/HandlerValue.h"

namespace grhost {

class Libraries {
 public:
  using VoidEntry = void (*)();

  // Throws HostError when the behaviour library can not be loaded.
  explicit Libraries(const std::filesystem::path& mainLibrary);
  ~Libraries();
  Libraries(const Libraries&) = delete;
  Libraries& operator=(const Libraries&) = delete;

  // An entry of the behaviour library (L0_LibMain, L0_StartSession); null when missing.
  VoidEntry mainEntry(const char* symbol) const;
  // The C entry of the behaviour library that edits a compartment's text in place.
  using CompartmentEditEntry = void (*)(uint32_t, const char*);
  CompartmentEditEntry compartmentEditEntry() const;
  // The entry HANDLER names when it is exported with the signature "v()";
  // null with the reason in WHY otherwise.
  VoidEntry transformation(const HandlerValue& handler, std::string& why);

 private:
  void* libraryOf(const HandlerValue& handler, std::string& why);

  std::string mainFile_;
  void* main_ = nullptr;
  std::map<std::string, void*> others_;
};

}  // namespace grhost
