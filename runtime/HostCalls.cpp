#include "runtime/HostCalls.h"

#include <dlfcn.h>

#include <filesystem>

#include "runtime/MessageSink.h"

namespace gr {
namespace {

HostApi& defaultHost() {
  static HostApi fallback;
  return fallback;
}
HostApi* installed = nullptr;

std::string currentFolder() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string();
}

// Without a host, the runtime folder is the one this library was loaded from:
// the behaviour library and the procedures beside it are found there. It is
// looked up once: every call by name asks for it.
std::string findFolderOfThisLibrary() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&currentFolder), &info) || !info.dli_fname)
    return currentFolder();
  std::error_code ec;
  std::filesystem::path library = std::filesystem::canonical(info.dli_fname, ec);
  return ec ? currentFolder() : library.parent_path().string();
}

const std::string& folderOfThisLibrary() {
  static const std::string folder = findFolderOfThisLibrary();
  return folder;
}

}  // namespace

GR_API void setHost(HostApi* newHost) {
  installed = newHost;
}
GR_API HostApi& host() {
  return installed ? *installed : defaultHost();
}

void HostApi::notAvailable(const std::string& function) {
  showMessageBox(function + " is not available in this host.");
}

void HostApi::executeTransformation(const std::string& reference, int) {
  notAvailable("ExecuteTransformation(" + reference + ")");
}
void HostApi::executeCommand(uint32_t) {
  notAvailable("ExecuteCommand");
}
bool HostApi::loadMetamodel(const std::string& name) {
  notAvailable("LoadMetamodel(" + name + ")");
  return false;
}
void HostApi::showInformationBar(const std::string& text) {
  deliverMessage("info", text);
}
std::string HostApi::projectPath() {
  return currentFolder();
}
std::string HostApi::runtimePath() {
  return folderOfThisLibrary();
}
// No tool folder: libraries come from the runtime folder only.
std::string HostApi::toolPath() {
  return "";
}
void HostApi::luaDoFile(const std::string& scriptFile) {
  notAvailable("Lua_dofile(" + scriptFile + ")");
}
std::string HostApi::luaCall(const std::string& entry, const std::string&, uint32_t) {
  notAvailable("Script engine entry " + entry);
  return "";
}
std::string HostApi::parse(const std::string&, const std::string&, const std::string&) {
  notAvailable("parse");
  return "";
}
std::string HostApi::browseForFile(const std::string&, const std::string&) {
  notAvailable("BrowseForFile");
  return "";
}
std::string HostApi::browseForFolder(const std::string&) {
  notAvailable("BrowseForFolder");
  return "";
}
bool HostApi::copyFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
  return !ec;
}
std::string HostApi::executeProgramAndGetOutput(const std::string&, bool) {
  notAvailable("ExecuteProgramAndGetOutput");
  return "";
}
bool HostApi::openFileWithAssociatedProgram(const std::string&) {
  notAvailable("OpenFileWithAssociatedProgram");
  return false;
}
bool HostApi::createSharedArea(const std::string&, bool, uint32_t, const std::string&,
                               const std::string&, const std::string&) {
  notAvailable("CreateSharedArea");
  return false;
}
bool HostApi::importSharedArea(const std::string&, bool, std::string&) {
  notAvailable("ImportSharedArea");
  return false;
}
bool HostApi::exportSharedArea(const std::string&, bool) {
  notAvailable("ExportSharedArea");
  return false;
}
std::string HostApi::generateSharedId() {
  notAvailable("GenerateSharedID");
  return "";
}

}  // namespace gr

void L0_Func_DialogEngine() {
  gr::host().dialogEngine();
}
void L0_Func_GraphDiagramEngine() {
  gr::host().graphDiagramEngine();
}
void L0_Func_TreeEngine() {
  gr::host().treeEngine();
}
void L0_Func_MultiUserEngine() {
  gr::host().multiUserEngine();
}
std::string Kw_Galva_EnqueueCmd() {
  gr::host().enqueueCmd();
  return "";
}
void Kw_Galva_SaveAllDiagrams() {
  gr::host().saveAllDiagrams();
}
void L0_Func_ExecuteTransformation(const std::string& reference, int mode) {
  gr::host().executeTransformation(reference, mode);
}
void L0_Func_ExecuteCommand(uint32_t command) {
  gr::host().executeCommand(command);
}
bool L0_Func_LoadMetamodel(const std::string& name) {
  return gr::host().loadMetamodel(name);
}
void L0_Func_ShowInformationBar(const std::string& text) {
  gr::host().showInformationBar(text);
}
void L0_Func_HideInformationBar() {
  gr::host().hideInformationBar();
}
std::string L0_Func_GetProjectPath() {
  return gr::host().projectPath();
}
std::string L0_Func_GetRuntimePath() {
  return gr::host().runtimePath();
}
std::string L0_Func_GetToolPath() {
  return gr::host().toolPath();
}
void L0_Func_Lua_dofile(const std::string& scriptFile) {
  gr::host().luaDoFile(scriptFile);
}
std::string L0_Func_parse(const std::string& expression, const std::string& text,
                          const std::string& separator) {
  return gr::host().parse(expression, text, separator);
}
std::string L0_Func_BrowseForFile(const std::string& caption, const std::string& filter) {
  return gr::host().browseForFile(caption, filter);
}
std::string L0_Func_BrowseForFolder(const std::string& caption) {
  return gr::host().browseForFolder(caption);
}
bool L0_Func_CopyFile(const std::string& from, const std::string& to) {
  return gr::host().copyFile(from, to);
}
std::string L0_Func_ExecuteProgramAndGetOutput(const std::string& commandLine, bool wait) {
  return gr::host().executeProgramAndGetOutput(commandLine, wait);
}
bool L0_Func_OpenFileWithAssociatedProgram(const std::string& path) {
  return gr::host().openFileWithAssociatedProgram(path);
}
bool L0_Func_CreateSharedArea(const std::string& remoteId, bool flag, uint32_t diagram,
                              const std::string& referenceMap, const std::string& stopClasses,
                              const std::string& traversalRoles) {
  return gr::host().createSharedArea(remoteId, flag, diagram, referenceMap, stopClasses,
                                     traversalRoles);
}
bool L0_Func_ImportSharedArea(const std::string& remoteId, bool readOnly, std::string& lockedBy) {
  return gr::host().importSharedArea(remoteId, readOnly, lockedBy);
}
bool L0_Func_ExportSharedArea(const std::string& remoteId, bool flag) {
  return gr::host().exportSharedArea(remoteId, flag);
}
std::string L0_Func_GenerateSharedID() {
  return gr::host().generateSharedId();
}
