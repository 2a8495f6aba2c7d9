#include "host/gestures/Gestures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <unordered_set>

#include "host/base/Model.h"
#include "host/base/Utf8.h"
#include "host/gestures/GestureRun.h"
#include "host/multiuser/SharedMenus.h"

namespace grhost {
namespace {

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

}  // namespace

std::vector<RepId> GestureOutcome::addedOf(const std::string& className) const {
  std::vector<RepId> found;
  for (RepId element : added)
    if (model::isKindOf(element, className)) found.push_back(element);
  return found;
}

RepId GestureOutcome::firstAdded(const std::string& className) const {
  std::vector<RepId> found = addedOf(className);
  return found.empty() ? 0 : found.front();
}

Gestures::Gestures(HeadEngine& head, MessageLog& log)
    : head_(head), log_(log), changes_(head.changes()) {}

void Gestures::setDescriber(std::function<std::string(RepId)> describer) {
  describer_ = std::move(describer);
}

std::string Gestures::describe(RepId object) const {
  if (describer_) return describer_(object);
  return model::className(object) + " " + std::to_string(object);
}

// ---- what gestures act on

RepId Gestures::currentDiagram() const {
  RepId diagram = head_.diagrams().currentDiagram();
  if (!diagram) throw GestureError("there is no current diagram");
  return diagram;
}

void Gestures::refuseWhileModal() const {
  if (RepId form = head_.dialogs().modalForm())
    throw GestureError("the modal form " + quoted(model::attribute(form, "caption")) + " is open");
}

RepId Gestures::diagramForGesture() const {
  refuseWhileModal();
  return currentDiagram();
}

RepId Gestures::elementInDiagram(RepId element, RepId diagram, const std::string& className) const {
  if (!ObjectExists(element))
    throw GestureError("object " + std::to_string(element) + " does not exist");
  if (!model::isKindOf(element, className))
    throw GestureError(describe(element) + " is no " + className + " but a " +
                       model::className(element));
  if (model::firstPartner(element, "graphDiagram") != diagram)
    throw GestureError(describe(element) + " is not in the current diagram " +
                       quoted(model::attribute(diagram, "caption")));
  return element;
}

void Gestures::checkText(const std::string& text, const std::string& what) {
  if (!isValidUtf8(text)) throw GestureError(what + " is not valid UTF-8");
}

RepId Gestures::diagramType(RepId diagram) {
  RepId type = model::firstPartner(diagram, "graphDiagramType");
  if (!type)
    throw GestureError("the diagram " + quoted(model::attribute(diagram, "caption")) +
                       " has no type");
  return type;
}

RepId Gestures::entryOfDiagram(RepId entry, RepId diagram, const std::string& className) const {
  if (ObjectExists(entry) && model::isKindOf(entry, className))
    for (RepId palette : model::partners(diagramType(diagram), "palette"))
      for (RepId candidate : model::partners(palette, "paletteElement"))
        if (candidate == entry) return entry;
  throw GestureError("the palette of " + quoted(model::attribute(diagram, "caption")) + " has no " +
                     className + " " + std::to_string(entry));
}

RepId Gestures::paletteEntry(const std::string& className, const std::string& caption) const {
  RepId diagram = currentDiagram();
  for (RepId palette : model::partners(diagramType(diagram), "palette"))
    for (RepId entry : model::partners(palette, "paletteElement"))
      if (model::isKindOf(entry, className) && model::attribute(entry, "caption") == caption)
        return entry;
  throw GestureError("the palette of " + quoted(model::attribute(diagram, "caption")) + " has no " +
                     className + " " + quoted(caption));
}

RepId Gestures::tool(const std::string& caption) const {
  RepId diagram = currentDiagram();
  for (RepId toolbar : model::partners(diagramType(diagram), "toolbar"))
    for (RepId candidate : model::partners(toolbar, "tool"))
      if (model::attribute(candidate, "caption") == caption) return candidate;
  throw GestureError("the tool bar of " + quoted(model::attribute(diagram, "caption")) +
                     " has no tool " + quoted(caption));
}

RepId Gestures::menuItem(const std::string& caption) const {
  for (const MenuItem& item : head_.diagrams().lastMenu())
    if (item.caption == caption) return item.popUpElement;
  throw GestureError("the last menu shown has no item " + quoted(caption));
}

RepId Gestures::diagramWithCaption(const std::string& caption) const {
  for (RepId candidate : model::objectsOf("GraphDiagram"))
    if (model::attribute(candidate, "caption") == caption) return candidate;
  throw GestureError("there is no diagram " + quoted(caption));
}

RepId Gestures::compartment(RepId element, const std::string& typeId) const {
  RepId found = model::compartmentOfType(element, typeId);
  if (!found)
    throw GestureError(describe(element) + " has no compartment of type " + quoted(typeId));
  return found;
}

RepId Gestures::activeForm() const {
  RepId form = head_.dialogs().activeForm();
  if (!form) throw GestureError("no form is open");
  return form;
}

namespace {

bool isField(RepId component) {
  return !model::isKindOf(component, "D#Container") && !model::isKindOf(component, "D#Label") &&
         !model::isKindOf(component, "D#Button");
}

// The first field inside the container, depth first.
RepId firstField(RepId container, int depth) {
  if (depth > 16) return 0;
  for (RepId component : model::partners(container, "component")) {
    if (isField(component)) return component;
    if (RepId inner = firstField(component, depth + 1)) return inner;
  }
  return 0;
}

// The field that goes with a label: the first one in the nearest container
// around the label that holds one.
RepId fieldOfLabel(RepId label) {
  RepId at = model::firstPartner(label, "container");
  for (int up = 0; at && up < 3 && !model::isKindOf(at, "D#Form"); ++up) {
    if (RepId found = firstField(at, 0)) return found;
    at = model::firstPartner(at, "container");
  }
  return 0;
}

}  // namespace

// What the user sees is found first: of tabs, the one in front.
RepId Gestures::field(const std::string& idOrLabel) const {
  RepId form = activeForm();
  for (auto find : {&DialogEngine::findShownComponent, &DialogEngine::findComponent}) {
    if (RepId found = find(form, "D#Component", "id", idOrLabel)) return found;
    if (RepId label = find(form, "D#Label", "caption", idOrLabel))
      if (RepId found = fieldOfLabel(label)) return found;
  }
  throw GestureError("the form " + quoted(model::attribute(form, "caption")) + " has no field " +
                     quoted(idOrLabel));
}

RepId Gestures::table(const std::string& idOrLabel) const {
  RepId form = activeForm();
  for (auto find : {&DialogEngine::findShownComponent, &DialogEngine::findComponent})
    if (RepId found = find(form, "D#VTable", "id", idOrLabel)) return found;
  return field(idOrLabel);
}

RepId Gestures::tab(const std::string& caption) const {
  RepId form = activeForm();
  RepId found = DialogEngine::findComponent(form, "D#Tab", "caption", caption);
  if (!found)
    throw GestureError("the form " + quoted(model::attribute(form, "caption")) + " has no tab " +
                       quoted(caption));
  return found;
}

RepId Gestures::treeNode(const std::string& path) const {
  RepId form = activeForm();
  RepId tree = DialogEngine::findComponent(form, "D#Tree", "", "");
  if (!tree)
    throw GestureError("the form " + quoted(model::attribute(form, "caption")) + " has no tree");
  std::vector<RepId> level = model::partners(tree, "treeNode");
  RepId node = 0;
  std::size_t start = 0;
  for (;;) {
    std::size_t cut = path.find('/', start);
    std::string text = path.substr(start, cut == std::string::npos ? cut : cut - start);
    auto found = std::find_if(level.begin(), level.end(), [&text](RepId candidate) {
      return model::attribute(candidate, "text") == text;
    });
    if (found == level.end()) throw GestureError("the tree has no node " + quoted(path));
    node = *found;
    if (cut == std::string::npos) return node;
    level = model::partners(node, "childNode");
    start = cut + 1;
  }
}

RepId Gestures::item(RepId box, const std::string& value) const {
  for (RepId candidate : model::partners(box, "item"))
    if (model::attribute(candidate, "value") == value) return candidate;
  throw GestureError("the field " + quoted(model::attribute(box, "id")) + " has no item " +
                     quoted(value));
}

std::vector<RepId> Gestures::tableColumns(RepId table) {
  return model::partners(model::firstPartner(table, "vTableType"), "vTableColumnType");
}

std::vector<RepId> Gestures::tableRows(RepId table) {
  return model::partners(table, "vTableRow");
}

RepId Gestures::button(const std::string& caption) const {
  RepId form = activeForm();
  RepId found = DialogEngine::findShownComponent(form, "D#Button", "caption", caption);
  if (!found) found = DialogEngine::findComponent(form, "D#Button", "caption", caption);
  if (!found)
    throw GestureError("the form " + quoted(model::attribute(form, "caption")) + " has no button " +
                       quoted(caption));
  return found;
}

// ---- raising

RepId Gestures::raise(const EventSpec& event, const std::function<void()>& afterHandler) {
  return head_.raiseEvent(event, "", afterHandler);
}

GestureOutcome Gestures::raiseEvent(const EventSpec& event) {
  checkText(event.info, "the event's info");
  Run run(*this, "event");
  run.outcome().event = head_.raiseEvent(event);
  return run.finish();
}

GestureOutcome Gestures::convertToMultiUser() {
  refuseWhileModal();
  shared::MultiUserEngine& engine = head_.multiUser();
  if (!engine.connected())
    throw GestureError("no shared store is connected (grtool --shared LOCATION)");
  RepId engineObject = model::firstOf("MultiUserEngine");
  if (model::attribute(engineObject, "isProjectMultiUser") == "true")
    throw GestureError("the project is shared already, at " +
                       model::attribute(engineObject, "remoteDirectory"));
  Run run(*this, "share");
  shared::addSharedMenuItems();
  model::setAttribute(engineObject, "isProjectMultiUser", "true");
  model::setAttribute(engineObject, "remoteDirectory", engine.location());
  std::size_t mark = log_.mark();
  run.outcome().event =
      head_.raiseEvent(EventSpec{"ConvertToMultiUserProjectEvent", false, "", {}});
  if (engine.conversionFailed() || !conversionFinished(log_, mark)) abandonConversion();
  return run.finish();
}

bool Gestures::conversionFinished(const MessageLog& log, std::size_t mark) {
  std::vector<std::string> shown = log.modalSince(mark);
  return std::count(shown.begin(), shown.end(), "conversion finished") == 1 &&
         std::count(shown.begin(), shown.end(), "Diagram export failed. Unknown reason, sorry.") ==
             0;
}

void Gestures::abandonConversion() {
  std::fputs("grtool: the project was not shared; it is left as it was.\n", stderr);
  std::fflush(nullptr);
  std::_Exit(1);
}

GestureOutcome Gestures::runHandler(const std::string& handler) {
  Run run(*this, "run");
  if (!head_.runAndExecute(handler))
    throw GestureError("handler " + quoted(handler) + " did not run");
  return run.finish();
}

}  // namespace grhost
