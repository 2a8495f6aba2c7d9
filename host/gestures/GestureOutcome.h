// What one gesture changed, as the engines know it: the elements and
// diagrams it added, removed and changed, the messages it showed, the forms
// it opened, closed and changed, the menu it showed. A front end redraws
// exactly this.
#pragma once

#include <string>
#include <vector>

#include "host/base/MessageLog.h"
#include "host/diagram/GraphDiagramEngine.h"
#include "platform/repository.h"

namespace grhost {

struct GestureOutcome {
  std::string gesture;  // the gesture's name: "box", "line", "key" ...
  RepId event = 0;      // the event it raised; 0 when it raised none

  // Elements (nodes, ports, edges, free shapes) in creation order; removed
  // ones no longer exist. An element is changed when its values, links,
  // compartments or geometry changed, and it was neither added nor removed.
  std::vector<RepId> added;
  std::vector<RepId> removed;
  std::vector<RepId> changed;

  std::vector<RepId> diagramsAdded;
  std::vector<RepId> diagramsRemoved;
  std::vector<RepId> diagramsChanged;  // a caption, a style ...

  // Message boxes, runtime error reports, information-bar texts and the
  // host's notes, in the order shown.
  std::vector<Message> messages;

  std::vector<RepId> formsOpened;
  std::vector<RepId> formsClosed;
  std::vector<RepId> formsChanged;  // open forms whose components changed

  bool menuShown = false;
  std::vector<MenuItem> menu;  // the items of the menu it showed

  RepId currentDiagram = 0;  // after the gesture
  bool currentDiagramChanged = false;
  bool selectionChanged = false;  // of the current diagram

  // The added elements of the class or a subclass, in creation order.
  std::vector<RepId> addedOf(const std::string& className) const;
  RepId firstAdded(const std::string& className) const;
};

}  // namespace grhost
