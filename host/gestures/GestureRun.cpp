#include "host/gestures/GestureRun.h"

#include <algorithm>

#include "host/base/Model.h"

namespace grhost {
namespace {

// Class ids of what an outcome tells apart, looked up once per gesture.
struct Kinds {
  RepId element = model::classId("Element");
  RepId compartment = model::classId("Compartment");
  RepId diagram = model::classId("GraphDiagram");
  RepId component = model::classId("D#Component");
  RepId collection = model::classId("Collection");

  static bool is(RepId cls, RepId kind) { return cls && kind && ExtendsExtends(cls, kind); }
};

// The element a compartment belongs to, through its parent compartments.
RepId ownerElement(RepId compartment) {
  for (int depth = 0; compartment && depth < 64; ++depth) {
    if (RepId element = model::firstPartner(compartment, "element")) return element;
    compartment = model::firstPartner(compartment, "parentCompartment");
  }
  return 0;
}

void addOnce(std::vector<RepId>& list, std::unordered_set<RepId>& seen, RepId id) {
  if (id && seen.insert(id).second) list.push_back(id);
}

}  // namespace

Gestures::Run::Run(Gestures& gestures, std::string name, bool recorded, const std::string& label)
    : gestures_(gestures) {
  transactionOpen_ = StartSaveTransaction1(0, 0, "") != 0;
  recording_ = recorded && RepUndoBegin((label.empty() ? name : label).c_str()) != 0;
  outcome_.gesture = std::move(name);
  messageMark_ = gestures_.log_.mark();
  menusMark_ = gestures_.head_.diagrams().menusShown();
  diagramBefore_ = gestures_.head_.diagrams().currentDiagram();
  gestures_.changes_.skipToNow();
  gestures_.head_.dialogs().takeFormChanges();
}

// A gesture that ends by an exception keeps what it changed before: that
// is a step the user may take back.
Gestures::Run::~Run() {
  endRecording(true);
  if (transactionOpen_) CommitSaveTransaction();
}

// Others may have read what a commit published: the gesture that published
// it and every step before it stay.
void Gestures::Run::endRecording(bool keep) {
  if (recording_) RepUndoEnd(keep);
  recording_ = false;
  if (gestures_.head_.multiUser().takePublished())
    RepUndoFence("a commit has published it to the shared diagrams");
}

bool Gestures::Run::changedTheModel() const {
  return metamodelChanged_ || !outcome_.added.empty() || !outcome_.removed.empty() ||
         !outcome_.changed.empty() || !outcome_.diagramsAdded.empty() ||
         !outcome_.diagramsRemoved.empty() || !outcome_.diagramsChanged.empty();
}

GestureOutcome Gestures::Run::finish() {
  collectChanges();
  collectEngineState();
  endRecording(changedTheModel());
  transactionOpen_ = false;
  if (!CommitSaveTransaction())
    throw GestureError(
        "The gesture's changes were not saved; the project keeps what the gestures before it "
        "saved: " +
        std::string(RepLastError()));
  return std::move(outcome_);
}

void Gestures::Run::collectChanges() {
  Kinds kinds;
  std::unordered_set<RepId> created, seen[4];
  std::vector<const RepChange*> edits;
  for (const RepChange& change : gestures_.changes_.pending()) {
    if (change.kind == REP_CHANGE_CREATED) {
      created.insert(change.object);
      if (Kinds::is(change.classId, kinds.element))
        addOnce(outcome_.added, seen[0], change.object);
      else if (Kinds::is(change.classId, kinds.diagram))
        addOnce(outcome_.diagramsAdded, seen[1], change.object);
    } else if (change.kind == REP_CHANGE_DELETED) {
      if (created.count(change.object)) continue;
      if (Kinds::is(change.classId, kinds.element))
        addOnce(outcome_.removed, seen[2], change.object);
      else if (Kinds::is(change.classId, kinds.diagram))
        addOnce(outcome_.diagramsRemoved, seen[3], change.object);
    } else if (change.kind == REP_CHANGE_VALUE || change.kind == REP_CHANGE_LINK) {
      edits.push_back(&change);
    } else if (change.kind == REP_CHANGE_METAMODEL) {
      metamodelChanged_ = true;
    }
  }
  std::erase_if(outcome_.added, [](RepId id) { return !ObjectExists(id); });
  std::erase_if(outcome_.diagramsAdded, [](RepId id) { return !ObjectExists(id); });
  classifyEdits(edits, created);
}

void Gestures::Run::classifyEdits(const std::vector<const RepChange*>& edits,
                                  const std::unordered_set<RepId>& created) {
  Kinds kinds;
  std::unordered_set<RepId> elements, diagrams, forms, visited;
  RepId selection = model::firstPartner(gestures_.head_.diagrams().currentDiagram(), "collection");
  for (const RepChange* change : edits) {
    RepId object = change->object;
    if (!ObjectExists(object) ||
        !visited.insert(object * 2 + (change->kind == REP_CHANGE_VALUE)).second)
      continue;
    RepId cls = GetObjectTypeId(object);
    if (Kinds::is(cls, kinds.element)) {
      if (!created.count(object)) addOnce(outcome_.changed, elements, object);
    } else if (Kinds::is(cls, kinds.compartment)) {
      RepId element = ownerElement(object);
      if (element && !created.count(element)) addOnce(outcome_.changed, elements, element);
    } else if (Kinds::is(cls, kinds.diagram)) {
      if (change->kind == REP_CHANGE_VALUE && !created.count(object))
        addOnce(outcome_.diagramsChanged, diagrams, object);
    } else if (Kinds::is(cls, kinds.component)) {
      RepId form = DialogEngine::formOf(object);
      if (form && gestures_.head_.dialogs().isOpen(form))
        addOnce(outcome_.formsChanged, forms, form);
    } else if (object == selection && Kinds::is(cls, kinds.collection)) {
      outcome_.selectionChanged = true;
    }
  }
}

void Gestures::Run::collectEngineState() {
  const std::vector<Message>& all = gestures_.log_.all();
  outcome_.messages.assign(all.begin() + static_cast<std::ptrdiff_t>(messageMark_), all.end());
  GraphDiagramEngine& diagrams = gestures_.head_.diagrams();
  outcome_.menuShown = diagrams.menusShown() != menusMark_;
  if (outcome_.menuShown) outcome_.menu = diagrams.lastMenu();
  outcome_.currentDiagram = diagrams.currentDiagram();
  outcome_.currentDiagramChanged = outcome_.currentDiagram != diagramBefore_;
  for (const FormChange& change : gestures_.head_.dialogs().takeFormChanges())
    (change.opened ? outcome_.formsOpened : outcome_.formsClosed).push_back(change.form);
  std::erase_if(outcome_.formsChanged, [&](RepId form) {
    return std::count(outcome_.formsOpened.begin(), outcome_.formsOpened.end(), form) != 0;
  });
}

}  // namespace grhost
