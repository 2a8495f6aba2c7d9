// The one gesture layer of the host: what a user does in any front end (a
// gesture script, the browser editor) is one call here. Each call checks
// what it acts on, makes the event the real engine would make, runs its
// handler and the commands it queued, all in one save transaction, and
// reports what changed (GestureOutcome) from the engines' own knowledge.
//
// Gestures name what they act on by id; the lookups below turn what a user
// sees (a palette entry's caption, a menu item, a field's id) into ids.
// Diagram gestures act on the current diagram and are refused while a modal
// form is open. A refused gesture throws GestureError and changes nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/base/ChangeTracker.h"
#include "host/base/HostError.h"
#include "host/diagram/Geometry.h"
#include "host/gestures/GestureOutcome.h"
#include "host/head/HeadEngine.h"

namespace grhost {

class GestureError : public HostError {
 public:
  using HostError::HostError;
};

// Where a box is drawn: nowhere given (the engine places it), at a corner
// with the default size of its style, or at a corner with a size.
struct BoxPlacement {
  std::optional<geometry::Point> corner;
  std::optional<int> width;  // with height; only with a corner
  std::optional<int> height;
};

class Gestures {
 public:
  Gestures(HeadEngine& head, MessageLog& log);
  Gestures(const Gestures&) = delete;
  Gestures& operator=(const Gestures&) = delete;

  // How refusals name an object: quoted ("'N1'") by a script that named it;
  // by default its class and id.
  void setDescriber(std::function<std::string(RepId)> describer);
  std::string describe(RepId object) const;

  HeadEngine& head() { return head_; }

  // ---- lookups (throw GestureError when there is no such thing)
  RepId currentDiagram() const;
  // The entry of CLASSNAME (PaletteBox, PaletteLine ...) with this caption in
  // the palettes of the current diagram's type.
  RepId paletteEntry(const std::string& className, const std::string& caption) const;
  // The tool of this caption in the tool bars of the current diagram's type.
  RepId tool(const std::string& caption) const;
  // The item of this caption in the last pop-up menu shown.
  RepId menuItem(const std::string& caption) const;
  RepId diagramWithCaption(const std::string& caption) const;
  // The element's first compartment whose type has this id, depth first.
  RepId compartment(RepId element, const std::string& typeId) const;
  // The form the form gestures act on: the newest open one.
  RepId activeForm() const;
  // The active form's component with this id, depth first; when none has
  // it, the field of the row whose label shows this caption (generated
  // forms give all fields of a kind one id).
  RepId field(const std::string& idOrLabel) const;
  // The table with this id, else the field so named.
  RepId table(const std::string& idOrLabel) const;
  RepId button(const std::string& caption) const;
  RepId tab(const std::string& caption) const;
  // The node of the active form's first tree reached by the texts of the
  // nodes from the top, joined by "/" ("Class/Attributes").
  RepId treeNode(const std::string& path) const;
  // The item of a combo box or list box with this value.
  RepId item(RepId box, const std::string& value) const;
  // The columns of a table in order.
  static std::vector<RepId> tableColumns(RepId table);
  static std::vector<RepId> tableRows(RepId table);

  // ---- diagram gestures
  GestureOutcome drawBox(RepId paletteBox, RepId parentNode, const BoxPlacement& where);
  GestureOutcome drawLine(RepId paletteLine, RepId start, RepId end);
  GestureOutcome drawPin(RepId palettePin, RepId node, const BoxPlacement& where);
  GestureOutcome drawFreeBox(RepId paletteFreeBox, const geometry::Box& box);
  GestureOutcome drawFreeLine(RepId paletteFreeLine, const geometry::Polyline& points);
  GestureOutcome editFreeBox(RepId freeBox, const geometry::Box& box);
  GestureOutcome editFreeLine(RepId freeLine, const geometry::Polyline& points);
  // The line's start (or end) is dragged onto another element.
  GestureOutcome moveLineEnd(RepId edge, bool start, RepId target);
  // The node is dropped into another node (0: onto the empty canvas).
  GestureOutcome changeParent(RepId node, RepId newParent);
  // The element is dragged to a new place: no event, only its geometry; the
  // lines at a moved box are routed anew.
  GestureOutcome moveElement(RepId element, const geometry::Box& box);
  GestureOutcome transform(const std::string& reference);
  // Sets the current diagram's selection to these elements, in this order.
  GestureOutcome select(const std::vector<RepId>& elements);
  GestureOutcome doubleClick(RepId element);
  // On an element, or on the empty canvas (0).
  GestureOutcome rightClick(RepId element);
  GestureOutcome chooseMenuItem(RepId item);
  GestureOutcome selectTool(RepId tool);
  GestureOutcome pressKey(const std::string& key);
  // The user edits a compartment's text in place.
  GestureOutcome editText(RepId compartment, const std::string& text);
  // The user opens a diagram (from the project tree).
  GestureOutcome openDiagram(RepId diagram);
  // The user converts the project to shared diagram areas: its tree's menus
  // get the shared items, the engine object remembers the store, and the
  // engine raises ConvertToMultiUserProjectEvent. Refused without a store or
  // when the project is shared already. The store has no rollback, so when
  // the areas can not be written the process ends before the gesture is
  // committed: the project stays as it was and the store gets no area.
  GestureOutcome convertToMultiUser();

  // ---- undo and redo of the newest step of the project ("Ctrl Z", "Ctrl
  // Y", "Ctrl Shift Z"); the information bar says what was taken back or
  // made again, or that there was nothing to. A step the store has fenced
  // (RepUndoFence: a shared diagram published its changes) is not taken
  // back; the information bar says why.
  GestureOutcome undo();
  GestureOutcome redo();

  // ---- form gestures (on the active form)
  GestureOutcome typeIntoField(RepId field, const std::string& text);
  GestureOutcome pressButton(RepId button);
  // The window's close box.
  GestureOutcome closeForm();
  // The user clicks into a field: the one that had the focus loses it.
  GestureOutcome focusField(RepId field);
  GestureOutcome setChecked(RepId checkBox, bool checked);
  // The user picks a picture file for an image field (D#Image): its
  // `fileName`, then "Change".
  GestureOutcome choosePicture(RepId image, const std::string& fileName);
  // The user opens a combo box's list ("DropDown"), then picks an item of a
  // combo box or list box ("Change"); a list box that selects several
  // toggles the item.
  GestureOutcome dropDown(RepId box);
  GestureOutcome chooseItem(RepId box, RepId item);
  GestureOutcome selectTab(RepId tab);
  GestureOutcome selectNode(RepId node);
  GestureOutcome expandNode(RepId node, bool expanded);
  // The node is dragged under NEWPARENT, as its child number POSITION
  // (0-based; none: the last); only in trees with draggable nodes.
  GestureOutcome moveNode(RepId node, RepId newParent, std::optional<std::size_t> position);
  // Table rows and cells, rows and columns counted from 0.
  GestureOutcome addTableRow(RepId table);
  GestureOutcome editTableCell(RepId table, std::size_t row, std::size_t column,
                               const std::string& text);
  GestureOutcome deleteTableRow(RepId table, std::size_t row);

  // ---- the raw gestures of scripts
  // An event of any class with its links, run by its registered handler.
  GestureOutcome raiseEvent(const EventSpec& event);
  // A handler value run directly ("main#Name"); throws when it can not run.
  GestureOutcome runHandler(const std::string& handler);

 private:
  class Run;
  static RepId diagramType(RepId diagram);
  // Throws GestureError for a text that is no valid UTF-8.
  static void checkText(const std::string& text, const std::string& what);
  RepId diagramForGesture() const;
  void refuseWhileModal() const;
  RepId elementInDiagram(RepId element, RepId diagram, const std::string& className) const;
  RepId entryOfDiagram(RepId entry, RepId diagram, const std::string& className) const;
  RepId raise(const EventSpec& event, const std::function<void()>& afterHandler = {});
  void moveFocusTo(RepId component);
  void raiseDialogEvent(RepId component, const std::string& eventName, const std::string& handler);
  void raiseIfHandled(RepId component, const std::string& eventName);
  void press(RepId form, RepId button);
  // The component is on the active form and enabled; returns the form.
  RepId checkUsable(RepId component, const std::string& what) const;
  void placeAdded(const std::string& className, const BoxPlacement& where);
  GestureOutcome replayStep(bool redo);
  static bool conversionFinished(const MessageLog& log, std::size_t mark);
  [[noreturn]] static void abandonConversion();

  HeadEngine& head_;
  MessageLog& log_;
  ChangeTracker::Reader changes_;
  std::function<std::string(RepId)> describer_;
};

}  // namespace grhost
