// The records of the undo history: one per primitive change, holding what
// it takes to make the change again and to take it back, in the byte form
// of UndoCodec. A record is framed by its length at both ends, so that a
// buffer is read forwards (redo) and backwards (undo).
//
// Link records keep the link's places in both its orders (ranks, counted
// as the change found them) and its order key `seq`, so that a link taken
// back returns to the very place and key it had, and the store file's
// order (by key) stays the order in memory. A key the change set does not
// know yet is written as kSeqUnresolved and filled in from the store file
// before the record is saved or replayed.
#ifndef GR_REPOSITORY_UNDOOPS_H
#define GR_REPOSITORY_UNDOOPS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/repository.h"
#include "repository/LinkChangeMap.h"
#include "repository/Metamodel.h"

namespace rep {

inline constexpr uint64_t kSeqUnresolved = UINT64_MAX;

enum class UndoKind : uint8_t {
  ObjectCreated = 1,
  ObjectDeleted = 2,
  LinkAdded = 3,  // a new link, or one that existed and moved to the end
  LinkRemoved = 4,
  ValueSet = 5,
  ValueRemoved = 6,
  Metamodel = 7,
};

// Where a link stood: its key and its ranks at both ends.
struct LinkPlace {
  uint64_t seq = kSeqUnresolved;
  uint32_t rankFrom = 0;
  uint32_t rankTo = 0;
};

// A key to fill in: the record's bytes at OFFSET, for the link's row LINK.
struct SeqFix {
  size_t offset = 0;
  LinkChange link;
};

struct TypeState {
  RepId id = 0;
  TypeImage image;
};

// A record as replay reads it; texts point into the buffer.
struct UndoOp {
  UndoKind kind = UndoKind::ObjectCreated;
  RepId object = 0;    // the object; a link's FROM end
  RepId type = 0;      // class, link type or attribute
  RepId partner = 0;   // a link's TO end
  uint64_t seq = 0;    // a link's key (after the change for LinkAdded, before it otherwise)
  bool flag = false;   // LinkAdded: the link existed; ValueSet: a value was set before
  LinkPlace before;    // LinkAdded that moved a link, LinkRemoved
  uint32_t index = 0;  // ValueRemoved: the value's place among the object's values
  std::string_view oldText;
  std::string_view newText;
  std::vector<std::pair<RepId, std::string_view>> values;  // ObjectDeleted
  std::vector<TypeState> typesBefore;
  std::vector<TypeState> typesAfter;
};

// Appends records to one buffer; FIXES collects the keys left to fill in.
class UndoOpWriter {
 public:
  UndoOpWriter(std::string& out, std::vector<SeqFix>& fixes) : out_(out), fixes_(fixes) {}

  void objectCreated(RepId object, RepId classId);
  void objectDeleted(RepId object, RepId classId,
                     const std::vector<std::pair<RepId, std::string_view>>& values);
  // MOVED: where the link stood when it existed already.
  void linkAdded(const LinkChange& link, const LinkChange& row, const LinkPlace* moved);
  void linkRemoved(const LinkChange& link, const LinkChange& row, const LinkPlace& place);
  void valueSet(RepId object, RepId attr, const std::string* old, std::string_view now);
  void valueRemoved(RepId object, RepId attr, uint32_t index, std::string_view old);
  void metamodelChanged(const std::vector<TypeState>& before, const std::vector<TypeState>& after);

 private:
  size_t begin(UndoKind kind);
  void end(size_t start);
  void seq(uint64_t value, const LinkChange& row);

  std::string& out_;
  std::vector<SeqFix>& fixes_;
};

// Reads the records of a buffer; false from next() at the end or on damage.
class UndoOpReader {
 public:
  UndoOpReader(std::string_view ops, bool backwards);
  bool next(UndoOp& op);
  bool damaged() const { return damaged_; }

 private:
  bool decode(std::string_view record, UndoOp& op);

  std::string_view ops_;
  bool backwards_;
  size_t pos_;
  bool damaged_ = false;
};

}  // namespace rep

#endif
