#include "host/head/Session.h"

#include <unistd.h>

#include "host/base/HostError.h"
#include "host/base/Model.h"
#include "host/head/NewProjectFolder.h"

namespace grhost {
namespace {

// Without a trailing separator: "P/" names the folder P.
std::filesystem::path absolutePath(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path result = std::filesystem::absolute(path, ec);
  result = (ec ? path : result).lexically_normal();
  return result.has_filename() ? result : result.parent_path();
}

HostPaths pathsFor(const std::filesystem::path& folder, const HostOptions& options) {
  HostPaths paths;
  paths.project = absolutePath(folder);
  paths.runtime =
      options.runtimeFolder.empty() ? programFolder() : absolutePath(options.runtimeFolder);
  // No tool folder unless one is named: libraries then come from the runtime folder only.
  if (!options.toolFolder.empty()) paths.tool = absolutePath(options.toolFolder);
  return paths;
}

std::filesystem::path mainLibraryFor(const HostPaths& paths, const HostOptions& options) {
  return options.mainLibrary.empty() ? paths.runtime / "libmain.so"
                                     : absolutePath(options.mainLibrary);
}

std::string folderName(const std::filesystem::path& folder) {
  return absolutePath(folder).filename().string();
}

}  // namespace

std::filesystem::path programFolder() {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : self.parent_path();
}

Session::Session(const std::filesystem::path& folder, const HostOptions& options)
    : log_(options.echo) {
  HostPaths paths = pathsFor(folder, options);
  head_ = std::make_unique<HeadEngine>(paths, mainLibraryFor(paths, options), log_);
}

std::unique_ptr<Session> Session::createProject(const std::filesystem::path& folder,
                                                const std::string& name,
                                                const HostOptions& options) {
  NewProjectFolder making(absolutePath(folder));
  // The library is told the project's final folder from the start.
  std::unique_ptr<Session> session(new Session(making.target(), options));
  session->project_.emplace(Project::create(making.workFolder()));
  session->keepUndoSteps(options);
  Project::prepareEngines(session->head());
  EventSpec created{"CreateProjectEvent", true, name.empty() ? folderName(folder) : name, {}};
  session->head().raiseEvent(created, "main");
  session->project_->moveInto(making);
  return session;
}

std::unique_ptr<Session> Session::openProject(const std::filesystem::path& folder,
                                              const HostOptions& options) {
  std::unique_ptr<Session> session(new Session(folder, options));
  if (!options.shared.location.empty())
    session->head().multiUser().connect(options.shared, options.createSharedStore);
  session->project_.emplace(Project::open(folder));
  session->keepUndoSteps(options);
  Project::prepareEngines(session->head());
  session->connectRememberedStore(options);
  if (session->head().registeredHandler("OpenProjectEvent").empty()) {
    session->log().note(
        "No handler is registered for OpenProjectEvent; the project opens without one.");
    return session;
  }
  EventSpec opened{"OpenProjectEvent", true, session->project().name(), {}};
  // The opening is one step for the store, as a gesture is.
  model::SaveTransaction transaction;
  session->head().raiseEvent(opened);
  return session;
}

void Session::keepUndoSteps(const HostOptions& options) {
  if (options.undoDepth && !RepUndoSetDepth(options.undoDepth))
    throw HostError(std::string("The undo depth was not set: ") + RepLastError());
}

void Session::connectRememberedStore(const HostOptions& options) {
  shared::MultiUserEngine& engine = head().multiUser();
  if (!engine.connected()) {
    shared::SharedOptions remembered = options.shared;
    remembered.location = model::attribute(model::firstOf("MultiUserEngine"), "remoteDirectory");
    if (remembered.location.empty()) return;
    try {
      engine.connect(remembered, false);
    } catch (const shared::SharedStoreError& failure) {
      log().note(std::string(failure.what()) +
                 " Shared diagrams can not be checked out, locked or committed.");
      return;
    }
  }
  engine.resumeLocks();
}

void Session::idle() {
  if (!RepIdle()) log_.note(std::string("The store's log was not folded: ") + RepLastError());
}

}  // namespace grhost
