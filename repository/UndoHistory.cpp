#include "repository/UndoHistory.h"

#include <algorithm>

#include "repository/Errors.h"
#include "repository/UndoReplay.h"

namespace rep {

namespace {

// Replay must not record what it does; recording resumes however it ends.
class ReplayGuard {
 public:
  explicit ReplayGuard(bool& replaying) : replaying_(replaying) { replaying_ = true; }
  ~ReplayGuard() { replaying_ = false; }
  ReplayGuard(const ReplayGuard&) = delete;
  ReplayGuard& operator=(const ReplayGuard&) = delete;

 private:
  bool& replaying_;
};

bool isStep(const UndoEntry& entry) {
  return entry.state == UndoEntry::State::Step;
}

bool isUndone(const UndoEntry& entry) {
  return entry.state == UndoEntry::State::Undone;
}

bool isChanges(const UndoEntry& entry) {
  return entry.state == UndoEntry::State::Changes || entry.state == UndoEntry::State::ChangesUndone;
}

}  // namespace

// ---- recording -------------------------------------------------------------------

bool UndoHistory::recording() const {
  return !replaying_ && (gestureOpen_ || hasSteps_);
}

UndoEntry* UndoHistory::findOpen() {
  if (openId_ == 0) return nullptr;
  // The open entry is the newest one but for a step split off it.
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry)
    if (entry->id == openId_) return &*entry;
  openId_ = 0;
  return nullptr;
}

UndoEntry& UndoHistory::append(UndoEntry::State state, std::string label) {
  UndoEntry& entry = entries_.emplace_back();
  entry.id = nextId_++;
  entry.state = state;
  entry.label = std::move(label);
  return entry;
}

UndoEntry& UndoHistory::openEntry() {
  if (UndoEntry* open = findOpen()) return *open;
  UndoEntry& entry = append(UndoEntry::State::Changes, "");
  openId_ = entry.id;
  return entry;
}

UndoOpWriter UndoHistory::writer() {
  UndoEntry& entry = openEntry();
  return UndoOpWriter(entry.ops, entry.fixes);
}

// ---- gestures --------------------------------------------------------------------

bool UndoHistory::begin(std::string label) {
  if (gestureOpen_) return refuse<bool>("a gesture is being recorded already");
  gestureOpen_ = true;
  gestureLabel_ = std::move(label);
  UndoEntry* open = findOpen();
  gestureEntry_ = open ? open->id : 0;
  gestureMark_ = open ? open->ops.size() : 0;
  return true;
}

bool UndoHistory::end(bool keep) {
  if (!gestureOpen_) return refuse<bool>("no gesture is being recorded");
  gestureOpen_ = false;
  UndoEntry* open = findOpen();
  if (!keep || !open) return true;
  size_t mark = open->id == gestureEntry_ ? gestureMark_ : 0;
  if (mark == open->ops.size()) return true;
  if (mark == 0) {
    open->state = UndoEntry::State::Step;
    open->label = std::move(gestureLabel_);
    open->rowSaved = false;
  } else {
    split(*open, mark, std::move(gestureLabel_));
  }
  closeOpen();
  dropUndone();
  hasSteps_ = true;
  trim();
  return true;
}

// The records from AT on become a step of their own.
void UndoHistory::split(UndoEntry& entry, size_t at, std::string label) {
  std::string ops = entry.ops.substr(at);
  std::vector<SeqFix> fixes;
  for (const SeqFix& fix : entry.fixes)
    if (fix.offset >= at) fixes.push_back(SeqFix{fix.offset - at, fix.link});
  std::erase_if(entry.fixes, [at](const SeqFix& fix) { return fix.offset >= at; });
  entry.ops.resize(at);
  if (entry.savedBytes > at) entry.rewrite = true;
  UndoEntry& step = append(UndoEntry::State::Step, std::move(label));
  step.ops = std::move(ops);
  step.fixes = std::move(fixes);
}

void UndoHistory::drop(std::size_t index) {
  if (entries_[index].id == openId_) openId_ = 0;
  dropped_.push_back(entries_[index].id);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void UndoHistory::dropUndone() {
  for (std::size_t i = entries_.size(); i-- > 0;) {
    UndoEntry::State state = entries_[i].state;
    if (state == UndoEntry::State::Undone || state == UndoEntry::State::ChangesUndone) drop(i);
  }
}

// Keeps DEPTH steps. Changes entries below the oldest step are never taken
// back (undo stops at that step), so they go too.
void UndoHistory::trim() {
  auto steps = static_cast<uint32_t>(std::count_if(entries_.begin(), entries_.end(), isStep));
  while (steps > depth_) {
    auto oldest = std::find_if(entries_.begin(), entries_.end(), isStep);
    auto count = static_cast<std::size_t>(oldest - entries_.begin()) + 1;
    for (std::size_t i = count; i-- > 0;) drop(i);
    --steps;
  }
  while (!entries_.empty() && isChanges(entries_.front()) && entries_.front().id != openId_)
    drop(0);
  hasSteps_ = std::any_of(entries_.begin(), entries_.end(),
                          [](const UndoEntry& entry) { return !isChanges(entry); });
}

void UndoHistory::setDepth(uint32_t depth) {
  depth_ = depth;
  trim();
}

void UndoHistory::fence(const std::string& reason) {
  for (UndoEntry& entry : entries_) {
    if (!isStep(entry)) continue;
    entry.fence = reason;
    entry.rowSaved = false;
  }
}

// ---- taking back and making again --------------------------------------------------

const UndoEntry* UndoHistory::nextUndo() const {
  auto found = std::find_if(entries_.rbegin(), entries_.rend(), isStep);
  return found == entries_.rend() ? nullptr : &*found;
}

const UndoEntry* UndoHistory::nextRedo() const {
  auto found = std::find_if(entries_.begin(), entries_.end(), isUndone);
  return found == entries_.end() ? nullptr : &*found;
}

uint32_t UndoHistory::undoCount() const {
  return static_cast<uint32_t>(std::count_if(entries_.begin(), entries_.end(), isStep));
}

uint32_t UndoHistory::redoCount() const {
  return static_cast<uint32_t>(std::count_if(entries_.begin(), entries_.end(), isUndone));
}

// Loads the entry's records, fills in their keys and checks that every
// record reads: a replay then never stops halfway.
bool UndoHistory::ready(UndoEntry& entry) {
  if (!entry.loaded && (!storage_ || !storage_->loadOps(entry))) {
    return refuse<bool>(storage_ ? "the undo history could not be read: " + lastError()
                                 : "the undo history is not in memory");
  }
  if (!entry.fixes.empty() && (!storage_ || !storage_->resolveSeqs(entry)))
    return refuse<bool>("the undo history could not be completed: " + lastError());
  UndoOpReader reader(entry.ops, false);
  UndoOp op;
  while (reader.next(op)) {
  }
  if (reader.damaged()) return refuse<bool>("the undo history is damaged");
  return true;
}

bool UndoHistory::replay(UndoEntry& entry, bool backwards, Store& store, Journal& journal) {
  UndoOpReader reader(entry.ops, backwards);
  UndoOp op;
  while (reader.next(op)) replayOp(store, journal, op, backwards);
  return !reader.damaged();
}

bool UndoHistory::revertChangesAbove(uint64_t after, UndoEntry::State undone, Store& store,
                                     Journal& journal) {
  for (std::size_t i = entries_.size(); i-- > 0 && entries_[i].id > after;) {
    if (entries_[i].state == UndoEntry::State::Changes && !ready(entries_[i])) return false;
  }
  for (std::size_t i = entries_.size(); i-- > 0 && entries_[i].id > after;) {
    UndoEntry& entry = entries_[i];
    if (entry.state != UndoEntry::State::Changes) continue;
    replay(entry, true, store, journal);
    if (undone == UndoEntry::State::Changes) {
      drop(i);
    } else {
      entry.state = undone;
      entry.rowSaved = false;
    }
  }
  return true;
}

UndoEntry* UndoHistory::findEntry(uint64_t id) {
  for (UndoEntry& entry : entries_)
    if (entry.id == id) return &entry;
  return nullptr;
}

bool UndoHistory::undo(Store& store, Journal& journal) {
  if (gestureOpen_) return refuse<bool>("a gesture is being recorded");
  closeOpen();
  auto found = std::find_if(entries_.rbegin(), entries_.rend(), isStep);
  if (found == entries_.rend()) return refuse<bool>("there is nothing to undo");
  if (!found->fence.empty()) return refuse<bool>(found->fence);
  uint64_t id = found->id;
  if (!ready(*found)) return false;
  ReplayGuard guard(replaying_);
  if (!revertChangesAbove(id, UndoEntry::State::ChangesUndone, store, journal)) return false;
  UndoEntry& step = *findEntry(id);
  replay(step, true, store, journal);
  step.state = UndoEntry::State::Undone;
  step.rowSaved = false;
  return true;
}

// Changes made since the undo go first: the step was recorded on the state
// before them. Changes undone with the steps before it come back first.
bool UndoHistory::redo(Store& store, Journal& journal) {
  if (gestureOpen_) return refuse<bool>("a gesture is being recorded");
  closeOpen();
  auto found = std::find_if(entries_.begin(), entries_.end(), isUndone);
  if (found == entries_.end()) return refuse<bool>("there is nothing to redo");
  uint64_t id = found->id;
  for (UndoEntry& entry : entries_) {
    bool again =
        entry.id == id || (entry.id < id && entry.state == UndoEntry::State::ChangesUndone);
    if (again && !ready(entry)) return false;
  }
  ReplayGuard guard(replaying_);
  if (!revertChangesAbove(id, UndoEntry::State::Changes, store, journal)) return false;
  for (UndoEntry& entry : entries_) {
    if (entry.id > id) break;
    if (entry.id < id && entry.state != UndoEntry::State::ChangesUndone) continue;
    replay(entry, false, store, journal);
    entry.state = entry.id == id ? UndoEntry::State::Step : UndoEntry::State::Changes;
    entry.rowSaved = false;
  }
  return true;
}

bool UndoHistory::objectsOfNext(bool redo, std::vector<RepId>& objects) {
  auto* next = const_cast<UndoEntry*>(redo ? nextRedo() : nextUndo());
  if (!next) return false;
  UndoEntry& entry = *next;
  if (!ready(entry)) return false;
  std::vector<RepId> linked;
  auto addOnce = [](std::vector<RepId>& list, RepId id) {
    if (id && std::find(list.begin(), list.end(), id) == list.end()) list.push_back(id);
  };
  UndoOpReader reader(entry.ops, false);
  UndoOp op;
  while (reader.next(op)) {
    if (op.kind == UndoKind::LinkAdded || op.kind == UndoKind::LinkRemoved) {
      addOnce(linked, op.object);
      addOnce(linked, op.partner);
    } else if (op.kind != UndoKind::Metamodel) {
      addOnce(objects, op.object);
    }
  }
  for (RepId id : linked) addOnce(objects, id);
  return true;
}

// ---- the store file ---------------------------------------------------------------

void UndoHistory::restored() {
  nextId_ = entries_.empty() ? 1 : entries_.back().id + 1;
  openId_ = 0;
  trim();
}

}  // namespace rep
