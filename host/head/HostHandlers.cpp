// The handlers the host answers itself. The style dialog is the diagram
// engine's own: its buttons run "host#StyleDialogOK" and
// "host#StyleDialogCancel". When the library finds no job for a confirmed
// style dialog it hands the event to the configurator's script; the host has
// no script engine, and since the dialog has already written the styles,
// what is left of that script's work is to take the event.
#include "host/base/Model.h"
#include "host/dialog/StyleDialog.h"
#include "host/head/HeadEngine.h"
#include "runtime/Logger.h"
#include "runtime/MessageSink.h"

namespace grhost {
namespace {

const char* const kHostLibrary = "host";
const char* const kScriptLibrary = "lua_engine";
const char* const kConfiguratorAnswer = "lua.configurator.OKStyleDialogEvent";

}  // namespace

bool HeadEngine::runOwnHandler(const HandlerValue& handler) {
  if (handler.library == kScriptLibrary && handler.transformation == kConfiguratorAnswer) {
    model::SaveTransaction transaction;
    for (RepId event : model::objectsOf("OKStyleDialogEvent")) model::remove(event);
    return true;
  }
  if (handler.library != kHostLibrary) return false;
  bool ok = handler.transformation == styledialog::kOkHandler;
  if (!ok && handler.transformation != styledialog::kCancelHandler) {
    reportRuntimeError("Handler \"" + handler.text() +
                       "\" can not run: the host has no such handler.");
    return true;
  }
  RepId event = model::firstOf("D#Event");
  RepId form = model::firstPartner(event, "form");
  if (!styledialog::isStyleForm(form)) {
    reportRuntimeError("Handler \"" + handler.text() + "\" can not run: no style dialog is open.");
    return true;
  }
  if (ok) {
    confirmStyleDialog(event, form);
    return true;
  }
  model::SaveTransaction transaction;
  model::remove(event);
  dialogs_.remove(form);
  return true;
}

// The styles take the fields; then the engine raises OKStyleDialogEvent while
// the form still stands, since the library reads its lists; then it goes.
void HeadEngine::confirmStyleDialog(RepId event, RepId form) {
  std::string problem = styledialog::check(form);
  if (!problem.empty()) {
    model::SaveTransaction transaction;
    model::remove(event);
    gr::showMessageBox(problem);
    return;
  }
  {
    model::SaveTransaction transaction;
    styledialog::apply(form);
    model::remove(event);
    model::create("OKStyleDialogEvent");
  }
  std::string handler = registeredHandler("OKStyleDialogEvent");
  if (!handler.empty()) runHandler(handler);
  model::SaveTransaction transaction;
  if (handler.empty())
    for (RepId left : model::objectsOf("OKStyleDialogEvent")) model::remove(left);
  dialogs_.remove(form);
}

}  // namespace grhost
