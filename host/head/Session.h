// One run of the host on one project: the message log, the open project and
// the head engine with the behaviour library loaded.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "host/base/MessageLog.h"
#include "host/head/HeadEngine.h"
#include "host/head/Project.h"

namespace grhost {

struct HostOptions {
  std::filesystem::path runtimeFolder;  // empty: the folder of the running program
  std::filesystem::path toolFolder;     // empty: none
  std::filesystem::path mainLibrary;    // empty: libmain.so in the runtime folder
  std::FILE* echo = stdout;             // where messages are printed; nullptr: nowhere
  std::uint32_t undoDepth = 0;          // the steps undo can take back; 0: the store's 100
  // The shared store a member works with (--shared); empty: the one the
  // project was shared to, if any. The user is --user, else the login name.
  shared::SharedOptions shared;
  // Make a shared store in an empty folder or database (grtool share).
  bool createSharedStore = false;
};

// The folder of the running program.
std::filesystem::path programFolder();

class Session {
 public:
  // Creates the project folder and store, loads the engines' metamodels,
  // raises CreateProjectEvent with NAME (the folder's name when empty), runs
  // "main" and executes the commands. All of it happens in a work folder
  // beside FOLDER that takes its place when the start-up is done, so FOLDER
  // holds a whole project or none (NewProjectFolder).
  static std::unique_ptr<Session> createProject(const std::filesystem::path& folder,
                                                const std::string& name,
                                                const HostOptions& options);
  // Opens the project, raises OpenProjectEvent with the project's name and
  // runs the HeadEngine's onOpenProjectEvent with its commands. A shared
  // store named in the options is opened first: one that can not be used
  // throws and leaves the project as it was. The store a shared project
  // remembers is only noted when it can not be reached.
  static std::unique_ptr<Session> openProject(const std::filesystem::path& folder,
                                              const HostOptions& options);

  HeadEngine& head() { return *head_; }
  MessageLog& log() { return log_; }
  // The host has nothing to do (a script has ended, an editor waits for the
  // user): the store folds its log into its file now, so that commits stay
  // cheap appends. A failure only leaves the log unfolded, and is noted.
  void idle();
  Project& project() { return *project_; }

 private:
  Session(const std::filesystem::path& folder, const HostOptions& options);
  void keepUndoSteps(const HostOptions& options);
  void connectRememberedStore(const HostOptions& options);

  MessageLog log_;
  // Destroyed in reverse: the engine (and the library) first, then the store.
  std::optional<Project> project_;
  std::unique_ptr<HeadEngine> head_;
};

}  // namespace grhost
