// Undo and redo: the store takes back (makes again) the newest step of the
// project, the engines follow what changed, and the information bar says
// what it was: the gesture's kind and the names of the elements it acted on.
//
// Open forms and open diagrams are window state, as in a reopened project:
// one whose objects an undo or redo removes is closed, and none is opened
// again. While a modal form is open the form takes every gesture, undo too.
#include <algorithm>
#include <memory>

#include "host/base/Model.h"
#include "host/gestures/GestureRun.h"
#include "runtime/Generation.h"

namespace grhost {
namespace {

constexpr std::size_t kNamesShown = 3;

// The element an object belongs to: itself, or the element of a compartment
// at any depth; 0 for anything else.
RepId elementOf(RepId object) {
  if (model::isKindOf(object, "Element")) return object;
  if (!model::isKindOf(object, "Compartment")) return 0;
  for (int depth = 0; object && depth < 64; ++depth) {
    if (RepId element = model::firstPartner(object, "element")) return element;
    object = model::firstPartner(object, "parentCompartment");
  }
  return 0;
}

// The first text an element shows: its first compartment with a value,
// depth first.
std::string nameOf(RepId owner, const std::string& role, int depth = 0) {
  if (depth > 64) return "";
  for (RepId compartment : model::partners(owner, role)) {
    std::string value = model::attribute(compartment, "value");
    if (!value.empty()) return value;
    std::string inner = nameOf(compartment, "subCompartment", depth + 1);
    if (!inner.empty()) return inner;
  }
  return "";
}

// The elements a step acts on, in the order it names them, with their
// names: read before the step is replayed for those that exist then, after
// it for the others (and for the ones that exist both times, whose names
// may be what changed).
class StepElements {
 public:
  explicit StepElements(bool redo) {
    std::unique_ptr<RepIdList, void (*)(RepIdList*)> list(RepUndoObjects(redo), RepIdListFree);
    for (uint32_t i = 0, n = RepIdListCount(list.get()); i < n; ++i)
      objects_.push_back(RepIdListItem(list.get(), i));
    read();
  }
  void read() {
    for (RepId object : objects_) {
      RepId element = ObjectExists(object) ? elementOf(object) : 0;
      if (!element) continue;
      auto found = std::find_if(names_.begin(), names_.end(),
                                [element](const auto& entry) { return entry.first == element; });
      std::string name = nameOf(element, "compartment");
      if (found == names_.end()) {
        names_.emplace_back(element, name);
      } else if (!name.empty()) {
        found->second = name;
      }
    }
  }
  // ' "A", "B"', the first few names only.
  std::string describe() const {
    std::string text;
    std::size_t shown = 0, named = 0;
    for (const auto& [element, name] : names_) {
      if (name.empty()) continue;
      if (++named > kNamesShown) continue;
      text += (shown++ ? ", \"" : " \"") + name + "\"";
    }
    if (named > shown) text += " and " + std::to_string(named - shown) + " more";
    return text;
  }

 private:
  std::vector<RepId> objects_;
  std::vector<std::pair<RepId, std::string>> names_;
};

}  // namespace

GestureOutcome Gestures::undo() {
  return replayStep(false);
}

GestureOutcome Gestures::redo() {
  return replayStep(true);
}

GestureOutcome Gestures::replayStep(bool redo) {
  refuseWhileModal();
  if (refuseUndo_ && !redo) {
    if (std::string reason = refuseUndo_(RepUndoLabel()); !reason.empty())
      throw GestureError(reason);
  }
  Run run(*this, redo ? "redo" : "undo", false);
  std::string label = redo ? RepRedoLabel() : RepUndoLabel();
  if (label.empty() && (redo ? RepRedoCount() : RepUndoCount()) == 0) {
    head_.showInformationBar(redo ? "Nothing to redo" : "Nothing to undo");
    return run.finish();
  }
  StepElements elements(redo);
  if (!(redo ? RepRedo() : RepUndo())) {
    head_.showInformationBar(std::string(redo ? "Can not redo: " : "Can not undo: ") +
                             RepLastError());
    return run.finish();
  }
  // Variables and cached lists of the runtime see the store anew.
  advanceGeneration();
  elements.read();
  head_.dialogs().closeVanishedForms();
  head_.diagrams().closeVanished();
  head_.diagrams().updateGeometry();
  head_.showInformationBar((redo ? "Redone: " : "Undone: ") + label + elements.describe());
  return run.finish();
}

void Gestures::setUndoGuard(std::function<std::string(const std::string&)> guard) {
  refuseUndo_ = std::move(guard);
}

}  // namespace grhost
