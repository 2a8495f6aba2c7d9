// The head engine: the host's side of every call of the library (installed
// with gr::setHost while it lives), the runner of handler values, and the
// executor of the command queue.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/base/ChangeTracker.h"
#include "host/base/CommandQueue.h"
#include "host/diagram/GraphDiagramEngine.h"
#include "host/dialog/DialogEngine.h"
#include "host/head/HandlerValue.h"
#include "host/head/Libraries.h"
#include "host/multiuser/MultiUserEngine.h"
#include "host/system/SystemRoutines.h"
#include "platform/host.h"

namespace grhost {

class MessageLog;

struct HostPaths {
  std::filesystem::path project;  // the project folder
  std::filesystem::path runtime;  // grtool's folder: libmain.so and metamodels/
  std::filesystem::path tool;     // --tool, by default none
};

// An event for the engines to raise: its class, its `info` (when given) and
// links from it by role.
struct EventSpec {
  std::string className;
  bool hasInfo = false;
  std::string info;
  std::vector<std::pair<std::string, RepId>> links;
};

class HeadEngine : public gr::HostApi {
 public:
  // Loads MAINLIBRARY (throws HostError) and installs itself as the host.
  HeadEngine(const HostPaths& paths, const std::filesystem::path& mainLibrary, MessageLog& log);
  ~HeadEngine() override;
  HeadEngine(const HeadEngine&) = delete;
  HeadEngine& operator=(const HeadEngine&) = delete;

  // Runs a handler value inside its own save transaction and generation;
  // failures are reported, never thrown. False when nothing could run.
  bool runHandler(const std::string& value);
  // Executes the queued commands in order, also those queued meanwhile, and
  // deletes each executed command. Commands that wait for a modal form stay
  // queued (DialogEngine).
  void executeCommands();
  // runHandler, then executeCommands.
  bool runAndExecute(const std::string& value);
  // The user typed TEXT into a compartment on the diagram: the library's
  // set_compartment_value runs in its own transaction and generation, then
  // the commands. False when the library has no such entry.
  bool editCompartmentText(RepId compartment, const std::string& text);

  // The handler registered for the event class: the attribute "on" + class of
  // the GraphDiagramEngine, else of the HeadEngine, else of the
  // MultiUserEngine; "" when none.
  std::string registeredHandler(const std::string& eventClass) const;
  // Removes the events earlier handlers left, creates the event and runs
  // HANDLER (the registered one when empty) with its commands; AFTERHANDLER
  // runs between the two, as the engine gives what it created the geometry
  // the user drew before it draws it. Throws HostError when the event can
  // not be made or no handler is registered.
  RepId raiseEvent(const EventSpec& event, const std::string& handler = "",
                   const std::function<void()>& afterHandler = {});

  GraphDiagramEngine& diagrams() { return diagrams_; }
  DialogEngine& dialogs() { return dialogs_; }
  SystemRoutines& system() { return system_; }
  shared::MultiUserEngine& multiUser() { return multiUser_; }
  CommandQueue& queue() { return queue_; }
  ChangeTracker& changes() { return changes_; }
  const HostPaths& paths() const { return paths_; }
  // The information bar's text ("" when hidden).
  const std::string& informationBar() const { return informationBar_; }

  // ---- gr::HostApi
  void enqueueCmd() override;
  void saveAllDiagrams() override;
  // Takes the command out of the queue, executes and deletes it.
  void executeCommand(uint32_t command) override;
  bool loadMetamodel(const std::string& name) override;
  void showInformationBar(const std::string& text) override;
  void hideInformationBar() override;
  std::string projectPath() override;
  std::string runtimePath() override;
  std::string toolPath() override;
  std::string parse(const std::string& expression, const std::string& text,
                    const std::string& separator) override;
  std::string browseForFile(const std::string& caption, const std::string& filter) override;
  std::string browseForFolder(const std::string& caption) override;
  bool copyFile(const std::string& from, const std::string& to) override;
  std::string executeProgramAndGetOutput(const std::string& commandLine, bool wait) override;
  bool openFileWithAssociatedProgram(const std::string& path) override;
  bool createSharedArea(const std::string& remoteId, bool flag, uint32_t diagram,
                        const std::string& referenceMap, const std::string& stopClasses,
                        const std::string& traversalRoles) override;
  bool importSharedArea(const std::string& remoteId, bool readOnly, std::string& lockedBy) override;
  bool exportSharedArea(const std::string& remoteId, bool flag) override;
  std::string generateSharedId() override;

 private:
  class Nesting;
  bool runDispatcher();
  void startSession();
  bool runTransformation(const HandlerValue& handler);
  // Handlers the host answers itself (host/head/HostHandlers.cpp): the
  // buttons of the engine's style dialog, and the configurator script's
  // answer to OKStyleDialogEvent. False when HANDLER is none of them.
  bool runOwnHandler(const HandlerValue& handler);
  void confirmStyleDialog(RepId event, RepId form);
  bool executeNextCommand();
  RepId nextCommand();
  void execute(RepId command);
  void executeTransformationCommand(RepId command);
  RepId createEvent(const EventSpec& event);
  void removeLeftoverEvents();

  HostPaths paths_;
  MessageLog& log_;
  Libraries libraries_;
  CommandQueue queue_;
  ChangeTracker changes_;
  GraphDiagramEngine diagrams_;
  DialogEngine dialogs_;
  SystemRoutines system_;
  shared::MultiUserEngine multiUser_;
  std::string informationBar_;
  int handlerDepth_ = 0;
};

}  // namespace grhost
