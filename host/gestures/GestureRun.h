// One gesture run: one save transaction around everything the gesture
// does, and the outcome gathered from the store's journal and the engines'
// records when it ends. A run that ends by an exception still commits what
// happened before it.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "host/gestures/Gestures.h"

namespace grhost {

class Gestures::Run {
 public:
  // A run is recorded in the store's undo history, labelled LABEL (the
  // name when empty): a step when it changed elements, diagrams or the
  // metamodel. Undo and redo are not recorded.
  Run(Gestures& gestures, std::string name, bool recorded = true, const std::string& label = "");
  ~Run();
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  GestureOutcome& outcome() { return outcome_; }
  // Gathers the outcome and commits; throws GestureError when the commit
  // fails.
  GestureOutcome finish();

 private:
  void collectChanges();
  void classifyEdits(const std::vector<const RepChange*>& edits,
                     const std::unordered_set<RepId>& created);
  void collectEngineState();
  // What the gesture changed is a step of its own.
  bool changedTheModel() const;
  void endRecording(bool keep);

  Gestures& gestures_;
  GestureOutcome outcome_;
  bool transactionOpen_ = false;
  bool recording_ = false;
  bool metamodelChanged_ = false;
  std::size_t messageMark_ = 0;
  std::size_t menusMark_ = 0;
  RepId diagramBefore_ = 0;
};

}  // namespace grhost
