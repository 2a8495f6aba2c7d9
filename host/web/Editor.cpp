#include "host/web/Editor.h"

#include "host/base/Model.h"
#include "host/render/SvgRender.h"
#include "host/web/EditorJson.h"
#include "host/web/GestureRequest.h"

namespace grhost::web {
namespace {

using nlohmann::json;

std::string dump(const json& value) {
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// A path segment that is a positive object id; 0 otherwise.
RepId idOf(const std::string& text) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
    return 0;
  unsigned long long value = std::stoull(text);
  return value <= 0xFFFFFFFFull ? static_cast<RepId>(value) : 0;
}

}  // namespace

Editor::Editor(Session& session, EventHub& hub)
    : session_(session),
      gestures_(session.head(), session.log()),
      changes_(session.head().changes()),
      hub_(hub) {}

Reply Editor::error(int status, const std::string& text) {
  return {status, dump({{"error", text}})};
}

Reply Editor::state() {
  std::lock_guard<std::mutex> lock(lock_);
  json state = stateJson(session_.head(), session_.project().name());
  state["seq"] = hub_.last();
  return {200, dump(state)};
}

Reply Editor::gesture(const std::string& body) {
  std::lock_guard<std::mutex> lock(lock_);
  return gestureLocked(body);
}

// A refused gesture changed nothing; one that failed on the way may have
// changed the model without an outcome to tell it, so every page reloads.
void Editor::idleIfQuiet(std::chrono::milliseconds quiet) {
  std::lock_guard<std::mutex> lock(lock_);
  if (!unfolded_ || std::chrono::steady_clock::now() - lastGesture_ < quiet) return;
  session_.idle();
  unfolded_ = false;
}

Reply Editor::gestureLocked(const std::string& body) {
  lastGesture_ = std::chrono::steady_clock::now();
  unfolded_ = true;
  changes_.skipToNow();
  try {
    json request = parseBody(body);
    GestureOutcome outcome = playGesture(gestures_, request);
    json message = outcomeJson(outcome, session_.head());
    return {200, hub_.publish("outcome", message)};
  } catch (const RequestError& refused) {
    return error(400, refused.what());
  } catch (const GestureError& refused) {
    Reply reply = error(400, refused.what());
    if (!changes_.pending().empty()) {
      json reload = json::object();
      hub_.publish("reload", reload);
    }
    return reply;
  } catch (const std::exception& failure) {
    json reload = json::object();
    hub_.publish("reload", reload);
    return error(500, std::string("the gesture failed: ") + failure.what());
  }
}

Reply Editor::element(const std::string& id) {
  std::lock_guard<std::mutex> lock(lock_);
  RepId element = idOf(id);
  if (!element || !ObjectExists(element)) return error(400, "object " + id + " does not exist");
  if (!model::isKindOf(element, "Element")) return error(400, "object " + id + " is no element");
  return {200, dump({{"id", element},
                     {"class", model::className(element)},
                     {"diagram", model::firstPartner(element, "graphDiagram")},
                     {"texts", textsJson(element)}})};
}

Reply Editor::exportSvg() {
  std::lock_guard<std::mutex> lock(lock_);
  RepId diagram = session_.head().diagrams().currentDiagram();
  if (!diagram) return error(400, "there is no current diagram");
  model::SaveTransaction transaction;
  return {200, render::renderDiagram(diagram), "image/svg+xml; charset=utf-8"};
}

}  // namespace grhost::web
