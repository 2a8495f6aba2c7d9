// The undo history: what each gesture changed, as records that take the
// change back and make it again (UndoOps), kept per entry.
//
// Every change to the store is recorded, so that replaying always starts
// from the state a record was made on. A host marks gestures (begin, end);
// a gesture it keeps becomes a step, which undo takes back whole. Changes
// outside kept gestures (a selection, a form's field, what opening a project
// does) gather in entries of their own that undo and redo take back silently
// before the step they act on, and never show as steps. Redo makes them again
// before the step that was made after them, so that every record replays
// on the very state it was made on.
//
// Entries are numbered in the order they began. Undone steps wait for redo
// until a new step is kept. The depth bounds the steps that can be undone;
// older entries are dropped. Entries live in the store file too (the file
// writes them with the commit they belong to, StoreFile); an entry loaded
// from it reads its records only when a replay needs them.
#ifndef GR_REPOSITORY_UNDOHISTORY_H
#define GR_REPOSITORY_UNDOHISTORY_H

#include <cstdint>
#include <string>
#include <vector>

#include "platform/repository.h"
#include "repository/UndoOps.h"

namespace rep {

class Journal;
class Store;

struct UndoEntry {
  enum class State : uint8_t {
    Changes = 0,        // changes around gestures
    Step = 1,           // a kept gesture, done
    Undone = 2,         // a kept gesture taken back, waiting for redo
    ChangesUndone = 3,  // changes taken back with a step, made again before the step after them
  };

  uint64_t id = 0;
  State state = State::Changes;
  std::string label;
  std::string fence;  // why undo must leave it alone; "" when it may take it back
  std::string ops;
  std::vector<SeqFix> fixes;  // keys of OPS still to fill in
  bool loaded = true;         // OPS is here; false: still only in the file
  // What the file holds of it.
  size_t savedBytes = 0;
  uint32_t savedParts = 0;
  bool rowSaved = false;  // its row says what STATE, LABEL and FENCE say
  bool rewrite = false;   // its records must be written anew
};

// What the store file does for the history: reads an entry's records that
// are only in the file, fills in the keys of an entry's links.
class UndoStorage {
 public:
  virtual ~UndoStorage() = default;
  virtual bool loadOps(UndoEntry& entry) = 0;
  virtual bool resolveSeqs(UndoEntry& entry) = 0;
};

class UndoHistory {
 public:
  static constexpr uint32_t kDefaultDepth = 100;

  void setStorage(UndoStorage* storage) { storage_ = storage; }

  // ---- recording: the store asks before it records, and writes into the
  // entry this gives (made when none is open)
  bool recording() const;
  UndoOpWriter writer();

  // ---- gestures
  bool begin(std::string label);
  // KEEP makes what the gesture changed a step; a gesture that changed
  // nothing never is one.
  bool end(bool keep);
  bool inGesture() const { return gestureOpen_; }

  // ---- taking back and making again
  bool undo(Store& store, Journal& journal);
  bool redo(Store& store, Journal& journal);
  // The step undo (redo) would act on; nullptr when none.
  const UndoEntry* nextUndo() const;
  const UndoEntry* nextRedo() const;
  uint32_t undoCount() const;
  uint32_t redoCount() const;
  // Objects the next undo (redo) creates, deletes, changes or links, in the
  // order the step first names them; false when there is no such step.
  bool objectsOfNext(bool redo, std::vector<RepId>& objects);

  void setDepth(uint32_t depth);
  uint32_t depth() const { return depth_; }
  // Every step done so far must stay: undo refuses it, saying REASON.
  void fence(const std::string& reason);

  // ---- the store file
  std::vector<UndoEntry>& entries() { return entries_; }
  // Entries dropped since the file last saved the history, for it to delete.
  const std::vector<uint64_t>& dropped() const { return dropped_; }
  void clearDropped() { dropped_.clear(); }
  // After loading the entries that the file holds.
  void restored();

 private:
  UndoEntry* findOpen();
  UndoEntry* findEntry(uint64_t id);
  UndoEntry& openEntry();
  void closeOpen() { openId_ = 0; }
  UndoEntry& append(UndoEntry::State state, std::string label);
  bool ready(UndoEntry& entry);
  bool replay(UndoEntry& entry, bool backwards, Store& store, Journal& journal);
  // Takes back the changes entries after AFTER (done ones, not steps)
  // made; they become UNDONE, or are dropped when that is Changes.
  bool revertChangesAbove(uint64_t after, UndoEntry::State undone, Store& store, Journal& journal);
  void split(UndoEntry& entry, size_t at, std::string label);
  void drop(std::size_t index);
  void dropUndone();
  void trim();

  std::vector<UndoEntry> entries_;  // by id
  std::vector<uint64_t> dropped_;
  uint64_t nextId_ = 1;
  uint64_t openId_ = 0;  // the entry changes are recorded into; 0 when none
  bool gestureOpen_ = false;
  std::string gestureLabel_;
  uint64_t gestureEntry_ = 0;  // the open entry when the gesture began
  size_t gestureMark_ = 0;     // and its size then
  bool replaying_ = false;
  bool hasSteps_ =
      false;  // a step done or undone, which changes after it may have to be replayed for
  uint32_t depth_ = kDefaultDepth;
  UndoStorage* storage_ = nullptr;
};

}  // namespace rep

#endif
