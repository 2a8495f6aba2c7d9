// A gesture as a page sends it: a JSON object naming the gesture layer's
// call and its arguments, {"gesture": "drawBox", "diagram": 12, "palette": 40,
// "at": [20, 30]}. Every field is checked before the layer is called: its
// type, that the objects it names exist, that a diagram gesture names the
// current diagram and a form gesture the active form. docs/web.md lists the
// gestures and their fields.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/base/HostError.h"
#include "host/gestures/Gestures.h"

namespace grhost::web {

// A request the server refuses before anything runs (HTTP 400).
class RequestError : public HostError {
 public:
  using HostError::HostError;
};

// Parses BODY as a JSON object; throws RequestError.
nlohmann::json parseBody(const std::string& body);

// Checks the request and plays the gesture it names. Throws RequestError for
// a malformed or stale request, GestureError when the layer refuses it.
GestureOutcome playGesture(Gestures& gestures, const nlohmann::json& request);

// The names of the gestures a page can send.
std::vector<std::string> gestureNames();

}  // namespace grhost::web
