// The library's entries for the host: the main entry that runs the
// dispatcher inside one save transaction, the session calls, and the unit
// start-up and shut-down that run when the library is loaded and unloaded
// (triggered from Globals.cpp).
#include <exception>

#include "platform/host.h"
#include "platform/repository.h"
#include "runtime/Generation.h"
#include "runtime/InternalError.h"
#include "runtime/L0_ObjectIDListS.h"
#include "runtime/L0_Var.h"
#include "runtime/Logger.h"
#include "runtime/MessageSink.h"
#include "runtime/PartnerListCache.h"
#include "tool/Globals.h"
#include "tool/main.h"

namespace {

// A source unit's start-up and shut-down, guarded by its counter so that
// nested loads run them once.
struct Unit {
  void (*init)();
  void (*finish)();
  int counter;
};

void initRuntime() {}
void finishRuntime() {
  Logger::shutdown();
  L0_ObjectIDListS::destroy();
  PartnerListCache::destroy();
}

// In link order: the runtime first, then the globals that rest on it.
Unit units[] = {
    {initRuntime, finishRuntime, 0},
    {gr::initGlobals, gr::finishGlobals, 0},
};

// What the run left behind goes to the trace; internal errors are shown too.
void noteFailure(const std::exception& failure) {
  if (dynamic_cast<const L0_InternalError*>(&failure)) {
    reportRuntimeError(failure.what());
    return;
  }
  Logger& log = Logger::instance();
  log.endLine();
  log.indent();
  log.write(std::string("!!! transformation ended: ") + failure.what());
  log.endLine();
}

}  // namespace

namespace gr {

void loadUnits() {
  for (Unit& unit : units)
    if (unit.counter-- == 0) unit.init();
}

void unloadUnits() {
  for (auto it = std::rbegin(units); it != std::rend(units); ++it)
    if (++it->counter == 0) it->finish();
}

}  // namespace gr

extern "C" {

GR_API void L0_LibMain() {
  advanceGeneration();
  if (!StartSaveTransaction1(0, 0, "")) {
    gr::showMessageBox("transaction was NOT started \n");
    return;
  }
  try {
    L0_Func_Main();
  } catch (const std::exception& failure) {
    noteFailure(failure);
  } catch (...) {
  }
  if (!CommitSaveTransaction()) gr::showMessageBox("transaction was NOT Ended \n");
}

GR_API void L0_StartSession() {
  advanceGeneration();
}

GR_API void L0_EndSession() {}
}
