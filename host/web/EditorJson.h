// What the server tells a page, as JSON: the current diagram (its SVG, palette,
// tool bar and selection), the diagrams of the project, open forms, an
// element's texts, and what a gesture changed, with the SVG of every element
// it added or changed. docs/web.md describes each shape.
#pragma once

#include <nlohmann/json.hpp>

#include "host/gestures/GestureOutcome.h"
#include "host/head/HeadEngine.h"

namespace grhost::web {

// The diagram with its whole SVG; lays out what has no geometry yet (inside
// its own save transaction).
nlohmann::json diagramJson(RepId diagram);
nlohmann::json diagramsJson(HeadEngine& head);
// Open forms, the oldest first.
nlohmann::json formsJson(HeadEngine& head);
nlohmann::json formJson(RepId form, HeadEngine& head);
// The element's top-level compartments and whether each is edited in place.
nlohmann::json textsJson(RepId element);
// Everything a page shows: the project, its diagrams, the current diagram,
// the forms, the information bar.
nlohmann::json stateJson(HeadEngine& head, const std::string& projectName);
// What the gesture changed, for a page that shows the current diagram from
// before it.
nlohmann::json outcomeJson(const GestureOutcome& outcome, HeadEngine& head);

}  // namespace grhost::web
