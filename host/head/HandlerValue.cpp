#include "host/head/HandlerValue.h"

namespace grhost {
namespace {

const std::string kMain = "main";

std::string withoutDllSuffix(const std::string& library) {
  const std::string dll = ".dll";
  if (library.size() > dll.size() &&
      library.compare(library.size() - dll.size(), dll.size(), dll) == 0)
    return library.substr(0, library.size() - dll.size());
  return library;
}

bool isPlainName(const std::string& name) {
  return !name.empty() && name.find_first_of("/\\# \t\r\n") == std::string::npos;
}

bool decodeQualified(const std::string& value, std::size_t hash, HandlerValue& handler,
                     std::string& error) {
  std::string library = withoutDllSuffix(value.substr(0, hash));
  std::string transformation = value.substr(hash + 1);
  if (library == "lua") {
    error = "\"" + value + "\" names a script; the script engine is not available in this host";
    return false;
  }
  if (!isPlainName(library)) {
    error = "\"" + value + "\" does not name a library without a folder";
    return false;
  }
  if (!isPlainName(transformation)) {
    error = "\"" + value + "\" does not name a transformation after \"#\"";
    return false;
  }
  handler = {false, library, transformation};
  return true;
}

}  // namespace

bool decodeHandler(const std::string& value, HandlerValue& handler, std::string& error) {
  if (value == kMain || value == kMain + ".dll") {
    handler = {true, kMain, ""};
    return true;
  }
  std::size_t hash = value.find('#');
  if (hash == std::string::npos) {
    error = value.empty()
                ? std::string("the handler is empty")
                : "\"" + value + "\" is no handler (\"main\", \"main#Name\" or \"lib#Name\")";
    return false;
  }
  return decodeQualified(value, hash, handler, error);
}

bool decodeTransformationReference(const std::string& reference, HandlerValue& handler,
                                   std::string& error) {
  std::size_t hash = reference.find('#');
  if (hash != std::string::npos) return decodeQualified(reference, hash, handler, error);
  if (!isPlainName(reference)) {
    error = reference.empty() ? std::string("the transformation name is empty")
                              : "\"" + reference + "\" is no transformation name";
    return false;
  }
  handler = {false, kMain, reference};
  return true;
}

}  // namespace grhost
