// Undo and redo: the store takes back (makes again) the newest step of the
// project, the engines follow what changed, and the information bar says
// what it was: the gesture's kind and the names of the elements it acted on.
//
// Open forms and open diagrams are window state, as in a reopened project:
// one whose objects an undo or redo removes is closed, and none is opened
// again. While a modal form is open the form takes every gesture, undo too.
#include <algorithm>
#include <memory>
#include <span>
#include <unordered_map>

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

// The elements a step acts on, with their names. Those it creates, deletes
// or whose texts and places it changes come first; those it only links or
// unlinks (the other end of a deleted line) are named only when there are
// no others. Objects are known before the step is replayed (those that exist
// only then) and after (those it brings back, and new names).
class StepElements {
 public:
  explicit StepElements(bool redo) {
    std::unique_ptr<RepIdList, void (*)(RepIdList*)> list(RepUndoObjects(redo), RepIdListFree);
    for (uint32_t i = 0, n = RepIdListCount(list.get()); i < n; ++i) {
      RepId object = RepIdListItem(list.get(), i);
      if (RepId element = ObjectExists(object) ? elementOf(object) : 0) {
        elementBefore_[object] = element;
        nameBefore_.emplace(element, nameOf(element, "compartment"));
      }
    }
  }
  // Reads what the replay changed from the journal.
  void replayed(std::span<const RepChange> changes) {
    for (const RepChange& change : changes) {
      RepId element = elementOf(change.object);
      if (!element) {
        auto found = elementBefore_.find(change.object);
        if (found == elementBefore_.end()) continue;
        element = found->second;
      }
      bool own = change.kind != REP_CHANGE_LINK;
      add(own ? acted_ : touched_, element);
    }
  }
  // ' "A", "B"', the first few names only.
  std::string describe() const {
    std::vector<std::string> names = namesOf(acted_);
    if (names.empty()) names = namesOf(touched_);
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i)
      text += (i ? ", \"" : " \"") + names[i] + "\"";
    if (names.size() > kNamesShown)
      text += " and " + std::to_string(names.size() - kNamesShown) + " more";
    return text;
  }

 private:
  static void add(std::vector<RepId>& list, RepId element) {
    if (std::find(list.begin(), list.end(), element) == list.end()) list.push_back(element);
  }
  std::string nameNow(RepId element) const {
    std::string name = ObjectExists(element) ? nameOf(element, "compartment") : "";
    if (!name.empty()) return name;
    auto before = nameBefore_.find(element);
    return before == nameBefore_.end() ? "" : before->second;
  }
  std::vector<std::string> namesOf(const std::vector<RepId>& elements) const {
    std::vector<std::string> names;
    for (RepId element : elements)
      if (std::string name = nameNow(element); !name.empty()) names.push_back(name);
    return names;
  }

  std::unordered_map<RepId, RepId> elementBefore_;
  std::unordered_map<RepId, std::string> nameBefore_;
  std::vector<RepId> acted_, touched_;
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
  Run run(*this, redo ? "redo" : "undo", false);
  std::string label = redo ? RepRedoLabel() : RepUndoLabel();
  if ((redo ? RepRedoCount() : RepUndoCount()) == 0) {
    head_.showInformationBar(redo ? "Nothing to redo" : "Nothing to undo");
    return run.finish();
  }
  StepElements elements(redo);
  // A step others have seen (a shared diagram published it) is fenced in
  // the store, which says why.
  if (!(redo ? RepRedo() : RepUndo())) {
    head_.showInformationBar(std::string(redo ? "Can not redo: " : "Can not undo: ") +
                             RepLastError());
    return run.finish();
  }
  // Variables and cached lists of the runtime see the store anew.
  advanceGeneration();
  elements.replayed(changes_.pending());
  head_.dialogs().closeVanishedForms();
  head_.diagrams().closeVanished();
  head_.diagrams().updateGeometry();
  head_.showInformationBar((redo ? "Redone: " : "Undone: ") + label + elements.describe());
  return run.finish();
}

}  // namespace grhost
