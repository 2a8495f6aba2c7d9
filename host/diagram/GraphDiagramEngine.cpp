#include "host/diagram/GraphDiagramEngine.h"

#include <algorithm>
#include <set>
#include <span>

#include "host/base/Model.h"
#include "host/diagram/GeometryModel.h"

namespace grhost {
namespace {

const char* const kRefreshCommands[] = {"OkCmd",          "ActiveElementCmd", "UpdateDgrCmd",
                                        "PasteCmd",       "DefaultStyleCmd",  "SaveDgrCmd",
                                        "AfterConfigCmd", "SaveStylesCmd"};

bool isRefreshCommand(const std::string& className) {
  return std::find(std::begin(kRefreshCommands), std::end(kRefreshCommands), className) !=
         std::end(kRefreshCommands);
}

// The commands after which a real engine draws the diagram anew: elements
// without geometry get it then.
const char* const kLayoutCommands[] = {"OkCmd", "ActiveDgrCmd", "ActiveDgrViewCmd", "UpdateDgrCmd",
                                       "PasteCmd"};

bool isLayoutCommand(const std::string& className) {
  return std::find(std::begin(kLayoutCommands), std::end(kLayoutCommands), className) !=
         std::end(kLayoutCommands);
}

// An OkCmd may name only its element.
RepId diagramOf(RepId command) {
  if (RepId diagram = model::firstPartner(command, "graphDiagram")) return diagram;
  return model::firstPartner(model::firstPartner(command, "element"), "graphDiagram");
}

}  // namespace

bool GraphDiagramEngine::execute(RepId command, const std::string& className) {
  RepId diagram = model::firstPartner(command, "graphDiagram");
  if (className == "ActiveDgrCmd" || className == "ActiveDgrViewCmd") {
    if (diagram) activate(diagram);
  } else if (className == "CloseDgrCmd") {
    if (diagram) close(diagram);
  } else if (className == "PopUpCmd") {
    showMenu(command);
  } else if (isRefreshCommand(className)) {
    if (className == "ActiveElementCmd") makeActive(diagram, model::partners(command, "element"));
  } else {
    return false;
  }
  if (isLayoutCommand(className))
    if (RepId laidOut = diagramOf(command)) layoutOf(laidOut);
  note(command, className);
  return true;
}

// The elements that changed since the last update, each once, in the order
// first changed; every kept geometry is dropped when the metamodel changed.
namespace {

// The element a compartment (at any depth) belongs to; 0 for anything else.
RepId elementOfCompartment(RepId object) {
  if (!model::isKindOf(object, "Compartment")) return 0;
  RepId at = object;
  for (int depth = 0; at && depth < 64; ++depth) {
    if (RepId element = model::firstPartner(at, "element")) return element;
    at = model::firstPartner(at, "parentCompartment");
  }
  return 0;
}

}  // namespace

void GraphDiagramEngine::updateGeometry() {
  std::span<const RepChange> pending = changes_.pending();
  if (pending.empty()) return;
  std::vector<RepId> touched;
  std::set<RepId> seen;
  ElementClassifier classifier;
  bool metamodelChanged = false;
  for (const RepChange& change : pending) {
    if (change.kind == REP_CHANGE_METAMODEL) metamodelChanged = true;
    if (!seen.insert(change.object).second) continue;
    if (change.kind == REP_CHANGE_DELETED || classifier.kindOf(change.object)) {
      touched.push_back(change.object);
    } else if (RepId element = elementOfCompartment(change.object)) {
      // A node's texts may need more room.
      if (seen.insert(element).second) touched.push_back(element);
    }
  }
  changes_.advance();
  if (metamodelChanged) {
    layouts_.clear();
    return;
  }
  if (touched.empty() || layouts_.empty()) return;
  model::SaveTransaction transaction;
  render::StyleBook styles;
  for (auto& [diagram, layout] : layouts_) {
    if (!ObjectExists(diagram)) continue;
    std::vector<RepId> mine;
    for (RepId element : touched)
      if (layout->holds(element) || model::firstPartner(element, "graphDiagram") == diagram)
        mine.push_back(element);
    if (!mine.empty()) layout->update(mine, styles);
  }
  // What the updates wrote has been read already.
  changes_.skipToNow();
}

DiagramLayout& GraphDiagramEngine::layoutOf(RepId diagram) {
  updateGeometry();
  auto found = layouts_.find(diagram);
  if (found == layouts_.end()) {
    render::StyleBook styles;
    found = layouts_.emplace(diagram, std::make_unique<DiagramLayout>(diagram, styles)).first;
    changes_.skipToNow();
  }
  return *found->second;
}

void GraphDiagramEngine::note(RepId command, const std::string& className) {
  std::string entry = className;
  if (RepId diagram = model::firstPartner(command, "graphDiagram"))
    entry += " " + std::to_string(diagram);
  record_.push_back(entry);
}

void GraphDiagramEngine::activate(RepId diagram) {
  RepId pointer = model::firstOrCreate("CurrentDgrPointer");
  model::unlinkAll(pointer, "graphDiagram");
  model::link(pointer, "graphDiagram", diagram);
  if (!isOpen(diagram)) open_.push_back(diagram);
  // The selection of an open diagram: the engine's, empty until elements are selected.
  if (!model::firstPartner(diagram, "collection"))
    model::link(diagram, "collection", model::create("Collection"));
}

// The active elements become the diagram's selection, as after a click on
// them: a new element, or what was just pasted.
void GraphDiagramEngine::makeActive(RepId diagram, const std::vector<RepId>& elements) {
  activeElements_[diagram] = elements;
  if (!diagram) return;
  RepId collection = model::firstPartner(diagram, "collection");
  if (!collection) {
    collection = model::create("Collection");
    model::link(diagram, "collection", collection);
  }
  model::unlinkAll(collection, "element");
  for (RepId element : elements) model::link(collection, "element", element);
}

void GraphDiagramEngine::close(RepId diagram) {
  open_.erase(std::remove(open_.begin(), open_.end(), diagram), open_.end());
  RepId pointer = model::firstOf("CurrentDgrPointer");
  if (pointer && model::firstPartner(pointer, "graphDiagram") == diagram)
    model::unlink(pointer, "graphDiagram", diagram);
}

void GraphDiagramEngine::showMenu(RepId command) {
  ++menusShown_;
  lastMenu_.clear();
  RepId menu = model::firstPartner(command, "popUpDiagram");
  for (RepId item : model::partners(menu, "popUpElement"))
    lastMenu_.push_back({model::attribute(item, "caption"), item});
}

RepId GraphDiagramEngine::currentDiagram() const {
  RepId pointer = model::firstOf("CurrentDgrPointer");
  return pointer ? model::firstPartner(pointer, "graphDiagram") : 0;
}

bool GraphDiagramEngine::isOpen(RepId diagram) const {
  return ObjectExists(diagram) && std::find(open_.begin(), open_.end(), diagram) != open_.end();
}

std::vector<RepId> GraphDiagramEngine::openDiagrams() const {
  std::vector<RepId> open;
  for (RepId diagram : open_)
    if (ObjectExists(diagram)) open.push_back(diagram);
  return open;
}

std::vector<RepId> GraphDiagramEngine::activeElements(RepId diagram) const {
  auto found = activeElements_.find(diagram);
  return found == activeElements_.end() ? std::vector<RepId>{} : found->second;
}

}  // namespace grhost
