#include "host/head/HeadEngine.h"

#include <exception>

#include "host/base/HostError.h"
#include "host/base/MessageLog.h"
#include "host/base/Model.h"
#include "host/system/Regex.h"
#include "runtime/Generation.h"
#include "runtime/GraphExchange.h"
#include "runtime/InternalError.h"
#include "runtime/L0_Var.h"
#include "runtime/Logger.h"
#include "runtime/MessageSink.h"

namespace grhost {
namespace {

// Far beyond any real cascade of commands; a queue that keeps refilling
// itself is a loop in the library.
constexpr std::size_t kMaxCommandsPerRun = 100000;
// A handler may run another (a command it executes at once runs a
// transformation); a model whose handlers run each other in a circle ends
// with a message at this depth.
constexpr int kMaxHandlerDepth = 64;

const char* const kEngines[] = {"GraphDiagramEngine", "HeadEngine", "MultiUserEngine"};

void trace(const std::string& text) {
  Logger& log = Logger::instance();
  log.endLine();
  log.indent();
  log.write("!!! " + text);
  log.endLine();
}

// Whatever a transformation throws ends it, never the host.
template <class Run>
void guarded(const std::string& what, Run run) {
  try {
    run();
  } catch (const L0_InternalError& failure) {
    reportRuntimeError(failure.what());
  } catch (const L0_Var_2_Exception& failure) {
    trace(what + " ended: " + failure.what());
  } catch (const std::exception& failure) {
    reportRuntimeError(what + " ended by an exception: " + failure.what());
  } catch (...) {
    reportRuntimeError(what + " ended by an unknown exception.");
  }
}

bool isPlainMetamodelName(const std::string& name) {
  return !name.empty() && name.find_first_of("/\\") == std::string::npos && name != "." &&
         name != "..";
}

}  // namespace

HeadEngine::HeadEngine(const HostPaths& paths, const std::filesystem::path& mainLibrary,
                       MessageLog& log)
    : paths_(paths),
      log_(log),
      libraries_(mainLibrary),
      diagrams_(changes_),
      dialogs_(queue_),
      system_(log),
      multiUser_(log) {
  gr::setHost(this);
}

HeadEngine::~HeadEngine() {
  gr::setHost(nullptr);
}

// ---- handlers

bool HeadEngine::runHandler(const std::string& value) {
  HandlerValue handler;
  std::string error;
  if (!decodeHandler(value, handler, error)) {
    reportRuntimeError("Handler can not run: " + error + ".");
    return false;
  }
  return handler.dispatcher ? runDispatcher() : runTransformation(handler);
}

// Counts a handler run for as long as it lasts; false (with the report) when
// the handlers already running are nested as deep as allowed.
class HeadEngine::Nesting {
 public:
  Nesting(int& depth, const std::string& what) : depth_(depth) {
    entered_ = depth_ < kMaxHandlerDepth;
    if (entered_)
      ++depth_;
    else
      reportRuntimeError("Handler \"" + what + "\" is not run: handlers are nested " +
                         std::to_string(kMaxHandlerDepth) + " deep.");
  }
  ~Nesting() {
    if (entered_) --depth_;
  }
  Nesting(const Nesting&) = delete;
  Nesting& operator=(const Nesting&) = delete;
  explicit operator bool() const { return entered_; }

 private:
  int& depth_;
  bool entered_;
};

bool HeadEngine::runDispatcher() {
  Nesting nesting(handlerDepth_, "main");
  if (!nesting) return false;
  Libraries::VoidEntry libMain = libraries_.mainEntry("L0_LibMain");
  if (!libMain) {
    reportRuntimeError("Handler \"main\" can not run: the behaviour library has no L0_LibMain.");
    return false;
  }
  // L0_LibMain opens and commits its own transaction and generation.
  guarded("main", libMain);
  multiUser_.transformationEnded();
  return true;
}

bool HeadEngine::editCompartmentText(RepId compartment, const std::string& text) {
  Libraries::CompartmentEditEntry edit = libraries_.compartmentEditEntry();
  if (!edit) {
    reportRuntimeError("The behaviour library has no set_compartment_value.");
    return false;
  }
  startSession();
  if (!StartSaveTransaction1(0, 0, "")) {
    gr::showMessageBox("transaction was NOT started \n");
    return false;
  }
  guarded("set_compartment_value", [&] { edit(compartment, text.c_str()); });
  if (!CommitSaveTransaction()) gr::showMessageBox("transaction was NOT Ended \n");
  executeCommands();
  return true;
}

void HeadEngine::startSession() {
  if (Libraries::VoidEntry start = libraries_.mainEntry("L0_StartSession"))
    start();
  else
    advanceGeneration();
}

bool HeadEngine::runTransformation(const HandlerValue& handler) {
  Nesting nesting(handlerDepth_, handler.text());
  if (!nesting) return false;
  if (runOwnHandler(handler)) return true;
  std::string why;
  Libraries::VoidEntry entry = libraries_.transformation(handler, why);
  if (!entry) {
    reportRuntimeError("Handler \"" + handler.text() + "\" can not run: " + why + ".");
    return false;
  }
  startSession();
  if (!StartSaveTransaction1(0, 0, "")) {
    gr::showMessageBox("transaction was NOT started \n");
    return false;
  }
  guarded(handler.text(), entry);
  multiUser_.transformationEnded();
  if (!CommitSaveTransaction()) gr::showMessageBox("transaction was NOT Ended \n");
  return true;
}

bool HeadEngine::runAndExecute(const std::string& value) {
  bool ran = runHandler(value);
  executeCommands();
  return ran;
}

// ---- commands

void HeadEngine::executeCommands() {
  // Commands queued by an ExecTransfCmd's transformation join the running loop.
  for (std::size_t executed = 0; executeNextCommand(); ++executed) {
    if (executed == kMaxCommandsPerRun) {
      reportRuntimeError("The command queue did not run dry after " +
                         std::to_string(kMaxCommandsPerRun) + " commands; the rest is dropped.");
      model::SaveTransaction transaction;
      while (RepId dropped = queue_.pop()) model::remove(dropped);
      break;
    }
  }
  // What the commands left without geometry in a drawn diagram is drawn now.
  diagrams_.updateGeometry();
}

// Each command with what it runs is committed on its own.
bool HeadEngine::executeNextCommand() {
  model::SaveTransaction transaction;
  RepId command = nextCommand();
  if (!command) return false;
  queue_.remove(command);
  guarded("command " + model::className(command), [&] { execute(command); });
  model::remove(command);
  return true;
}

// The first queued command that no modal form holds back; when all wait,
// the loops of forms closed meanwhile end and release theirs.
RepId HeadEngine::nextCommand() {
  do {
    for (RepId command : queue_.pending())
      if (!dialogs_.isWaiting(command)) return command;
  } while (dialogs_.endClosedLoops());
  return 0;
}

void HeadEngine::execute(RepId command) {
  std::string className = model::className(command);
  if (className == "ExecTransfCmd")
    executeTransformationCommand(command);
  else if (className == "ShowInformationBarCommand")
    showInformationBar(model::attribute(command, "message"));
  else if (className == "HideInformationBarCommand")
    hideInformationBar();
  else if (!diagrams_.execute(command, className) && !dialogs_.execute(command, className))
    log_.note("No engine executes " + className + "; it is dropped.");
}

void HeadEngine::executeTransformationCommand(RepId command) {
  std::string reference = model::attribute(command, "info");
  HandlerValue handler;
  std::string error;
  if (!decodeTransformationReference(reference, handler, error)) {
    reportRuntimeError("ExecTransfCmd can not run: " + error + ".");
    return;
  }
  runTransformation(handler);
}

void HeadEngine::executeCommand(uint32_t command) {
  if (!ObjectExists(command)) return;
  queue_.remove(command);
  execute(command);
  model::remove(command);
}

void HeadEngine::enqueueCmd() {
  queue_.enqueueNewest();
}

void HeadEngine::saveAllDiagrams() {
  diagrams_.saveAll();
}

// ---- events

std::string HeadEngine::registeredHandler(const std::string& eventClass) const {
  for (const char* engine : kEngines) {
    std::string handler = model::attribute(model::firstOf(engine), "on" + eventClass);
    if (!handler.empty()) return handler;
  }
  return "";
}

RepId HeadEngine::raiseEvent(const EventSpec& event, const std::string& handler,
                             const std::function<void()>& afterHandler) {
  RepId eventClass = model::classId(event.className);
  if (!eventClass || !model::classId("Event") ||
      !ExtendsExtends(eventClass, model::classId("Event")))
    throw HostError("There is no event class " + event.className + ".");
  std::string run = handler.empty() ? registeredHandler(event.className) : handler;
  if (run.empty())
    throw HostError("No handler is registered for " + event.className + " (on" + event.className +
                    " of GraphDiagramEngine, HeadEngine, MultiUserEngine).");
  RepId created = 0;
  {
    model::SaveTransaction transaction;
    removeLeftoverEvents();
    created = createEvent(event);
  }
  runHandler(run);
  if (afterHandler) {
    model::SaveTransaction transaction;
    afterHandler();
  }
  executeCommands();
  return created;
}

RepId HeadEngine::createEvent(const EventSpec& event) {
  RepId eventClass = model::classId(event.className);
  for (const auto& [role, partner] : event.links) {
    if (!GetLinkTypeIdByName(eventClass, role.c_str()))
      throw HostError(event.className + " has no role " + role + ".");
    if (!ObjectExists(partner))
      throw HostError("The object for role " + role + " no longer exists.");
  }
  RepId created = model::create(event.className);
  if (event.hasInfo && !model::setAttribute(created, "info", event.info)) {
    model::remove(created);
    throw HostError(event.className + " takes no info.");
  }
  for (const auto& [role, partner] : event.links) model::link(created, role, partner);
  return created;
}

// The dispatcher takes the first Event there is: one an earlier handler left
// would stand in for the new one.
void HeadEngine::removeLeftoverEvents() {
  for (RepId leftover : model::objectsOf("Event")) model::remove(leftover);
}

// ---- head engine calls

bool HeadEngine::loadMetamodel(const std::string& name) {
  if (!isPlainMetamodelName(name)) {
    reportRuntimeError("LoadMetamodel: \"" + name + "\" is no metamodel name.");
    return false;
  }
  std::filesystem::path file = paths_.runtime / "metamodels" / (name + ".txt");
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    reportRuntimeError("LoadMetamodel(" + name + "): there is no file " + file.string() + ".");
    return false;
  }
  ExchangeImportReport report = importExchangeFile(file.string());
  if (!report.begun || !report.ended) {
    reportRuntimeError("LoadMetamodel(" + name + "): " + file.string() +
                       " is no complete exchange text.");
    return false;
  }
  if (!report.skipped.empty())
    log_.note("LoadMetamodel(" + name + "): " + std::to_string(report.skipped.size()) +
              " statements skipped, the first: " + report.skipped.front());
  return true;
}

void HeadEngine::showInformationBar(const std::string& text) {
  informationBar_ = text;
  log_.add("info", text);
}

void HeadEngine::hideInformationBar() {
  informationBar_.clear();
}

std::string HeadEngine::projectPath() {
  return paths_.project.string();
}
std::string HeadEngine::runtimePath() {
  return paths_.runtime.string();
}
std::string HeadEngine::toolPath() {
  return paths_.tool.string();
}

std::string HeadEngine::parse(const std::string& expression, const std::string& text,
                              const std::string& separator) {
  ParseResult result = parseWithExpression(expression, text, separator);
  if (!result.error.empty()) reportRuntimeError("parse: " + result.error);
  return result.value;
}

std::string HeadEngine::browseForFile(const std::string& caption, const std::string& filter) {
  return system_.browseForFile(caption, filter);
}
std::string HeadEngine::browseForFolder(const std::string& caption) {
  return system_.browseForFolder(caption);
}
bool HeadEngine::copyFile(const std::string& from, const std::string& to) {
  return system_.copyFile(from, to);
}
std::string HeadEngine::executeProgramAndGetOutput(const std::string& commandLine, bool wait) {
  return system_.executeProgramAndGetOutput(commandLine, wait);
}
bool HeadEngine::openFileWithAssociatedProgram(const std::string& path) {
  return system_.openFileWithAssociatedProgram(path);
}

// ---- multi-user engine

bool HeadEngine::createSharedArea(const std::string& remoteId, bool flag, uint32_t diagram,
                                  const std::string& referenceMap, const std::string& stopClasses,
                                  const std::string& traversalRoles) {
  return multiUser_.createArea(remoteId, flag, diagram,
                               {referenceMap, stopClasses, traversalRoles});
}
bool HeadEngine::importSharedArea(const std::string& remoteId, bool readOnly,
                                  std::string& lockedBy) {
  return multiUser_.importArea(remoteId, readOnly, lockedBy);
}
bool HeadEngine::exportSharedArea(const std::string& remoteId, bool) {
  return multiUser_.exportArea(remoteId);
}
std::string HeadEngine::generateSharedId() {
  return multiUser_.generateId();
}

}  // namespace grhost
