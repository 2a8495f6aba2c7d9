// The server's side that touches the model: the open project's head engine
// and gesture layer behind one lock, so that the single-threaded runtime and
// store see one request at a time. Every answer is JSON; a refused request
// leaves the project as it was, and a gesture that throws leaves the server
// running.
#pragma once

#include <chrono>
#include <mutex>
#include <string>

#include "host/base/ChangeTracker.h"
#include "host/gestures/Gestures.h"
#include "host/head/Session.h"
#include "host/web/EventHub.h"

namespace grhost::web {

struct Reply {
  int status = 200;
  std::string body;  // JSON, or the SVG of an export
  // With a charset: the server compresses no answer of this type, which on
  // the loopback only costs time (seconds for a big diagram).
  std::string contentType = "application/json; charset=utf-8";
};

class Editor {
 public:
  Editor(Session& session, EventHub& hub);
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // GET /api/state: everything a page shows, and the number of the latest
  // pushed event it already includes.
  Reply state();
  // POST /api/gesture: plays the gesture and pushes its outcome to every page.
  Reply gesture(const std::string& body);
  // GET /api/elements/ID: the element's texts, for editing them in place.
  Reply element(const std::string& id);
  // GET /api/export.svg: the current diagram as `grtool render` draws it.
  Reply exportSvg();

  // {"error": TEXT} with the status.
  static Reply error(int status, const std::string& text);

  // Called now and then while the server waits: once no gesture has come for
  // QUIET since the last one, the store folds its log (an idle moment of the
  // host), so that commits stay cheap appends.
  void idleIfQuiet(std::chrono::milliseconds quiet);

 private:
  Reply gestureLocked(const std::string& body);

  std::mutex lock_;
  std::chrono::steady_clock::time_point lastGesture_;
  bool unfolded_ = false;
  Session& session_;
  Gestures gestures_;
  ChangeTracker::Reader changes_;
  EventHub& hub_;
};

}  // namespace grhost::web
