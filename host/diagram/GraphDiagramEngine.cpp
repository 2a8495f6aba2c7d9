#include "host/diagram/GraphDiagramEngine.h"

#include <algorithm>

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
    if (RepId laidOut = diagramOf(command)) layOutDiagram(laidOut);
  note(command, className);
  return true;
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
