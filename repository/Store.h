// The in-memory object graph: the metamodel, objects with their ordered link
// ends and text values, and the record of what changed since the last commit.
#ifndef GR_REPOSITORY_STORE_H
#define GR_REPOSITORY_STORE_H

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/repository.h"
#include "repository/BigEnd.h"
#include "repository/ChangeSet.h"
#include "repository/EndTable.h"
#include "repository/IdSpace.h"
#include "repository/Metamodel.h"
#include "repository/ObjectTable.h"

namespace rep {

struct Value {
  RepId attr = 0;
  std::string text;
};

// The class and link ends of an object fill one cache line, so that linking
// two objects anywhere in a big store touches two lines. Values are kept
// apart: links are followed far more often than values are read.
struct alignas(64) ObjectRec {
  RepId classId = 0;  // 0: no live object has this id
  EndTable ends;
};
static_assert(sizeof(ObjectRec) == 64);

using ValueList = std::vector<Value>;

class Store {
 public:
  Store() : metamodel_(ids_, changes_) {}
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  Metamodel& metamodel() { return metamodel_; }
  const Metamodel& metamodel() const { return metamodel_; }
  IdSpace& ids() { return ids_; }
  const IdSpace& ids() const { return ids_; }
  ChangeSet& changes() { return changes_; }
  const ChangeSet& changes() const { return changes_; }

  // ---- metamodel changes that reach into the data
  bool deleteClass(RepId classId);
  bool detachAttribute(RepId classId, RepId attr);
  bool deleteAttribute(RepId attr);
  bool deleteLinkTypePair(RepId linkType);

  // ---- objects
  RepId classOf(RepId object) const { return exists(object) ? objects_[object].classId : 0; }
  // A bit per id, so that liveness checks of scattered objects stay in cache.
  bool exists(RepId object) const {
    return (object >> 6) < alive_.size() && (alive_[object >> 6] >> (object & 63) & 1) != 0;
  }
  // Direct instances first, then each subclass's subtree in subclass order.
  uint32_t objectCount(RepId classId) const;
  RepId objectAt(RepId classId, uint32_t index);
  RepId createObject(RepId classId);
  bool deleteObject(RepId object);
  const ObjectRec* object(RepId id) const { return exists(id) ? &objects_[id] : nullptr; }
  // The values of a live object, in the order they were first set.
  const ValueList& values(RepId object) const { return values_[object]; }

  // ---- links, ordered at both ends
  uint32_t partnerCount(RepId object, RepId linkType) const;
  RepId partnerAt(RepId object, RepId linkType, uint32_t index) const;
  bool connected(RepId linkType, RepId from, RepId to) const;
  bool createLink(RepId linkType, RepId from, RepId to);
  bool deleteLink(RepId linkType, RepId from, RepId to);
  // The partners in link order.
  std::vector<RepId> partners(RepId object, RepId linkType) const;
  // The order key the next link made gets; every link made earlier has a
  // smaller one, so the keys of the links at any end ascend in link order.
  uint64_t nextLinkSeq() const { return nextLinkSeq_; }

  // ---- values
  bool acceptsValue(RepId attr, std::string_view text) const;
  // "" unsets the value.
  bool setValue(RepId object, RepId attr, std::string_view text);
  // nullptr when unset.
  const std::string* value(RepId object, RepId attr) const;

  // ---- loading from the store file: false when the data do not fit
  // Before restoring the objects: makes room for ids below the counter.
  void reserveForLoad() { objects_.reserveForLoad(ids_.next()); }
  bool restoreObject(RepId id, RepId classId);
  bool restoreValue(RepId object, RepId attr, std::string_view text);
  // Links come in ascending order keys, so appending restores both orders.
  bool restoreLink(const LinkChange& link);
  void restoreLinkSeq(uint64_t next) { nextLinkSeq_ = next; }

 private:
  ObjectRec* liveObject(RepId id) { return exists(id) ? &objects_[id] : nullptr; }
  // Starts loading the record of a live object, so that the misses on the
  // two ends of a link overlap each other and the link type's lookup.
  void prefetch(RepId id) const { __builtin_prefetch(&objects_[id]); }
  void setAlive(RepId id, RepId classId);
  bool fitsLinkType(const LinkTypeRec& linkType, RepId from, RepId to) const;
  void addPartner(RepId object, RepId linkType, RepId partner);
  bool removePartner(RepId object, RepId linkType, RepId partner);
  void dropEnd(RepId object, RepId linkType);
  void dropAllEnds(RepId linkType, RepId inverse);
  void logLink(RepId linkType, RepId inverse, RepId from, RepId to, uint64_t seq);
  void unlinkAll(RepId object);
  bool removeValue(RepId object, RepId attr);
  void compactInstances(ClassRec& cls);
  BigEnd& bigEnd(const EndTable::Run& run) const { return *bigEnds_[run.bigSlot]; }
  uint32_t keepBigEnd(BigEnd end);
  void releaseBigEnd(uint32_t slot);

  IdSpace ids_;
  ChangeSet changes_;
  Metamodel metamodel_;
  ChunkedTable<ObjectRec> objects_;               // by id; type ids leave empty slots
  ChunkedTable<ValueList> values_;                // by id
  std::vector<uint64_t> alive_;                   // bit per id
  std::vector<std::unique_ptr<BigEnd>> bigEnds_;  // by slot; null when free
  std::vector<uint32_t> freeBigSlots_;
  uint64_t nextLinkSeq_ = 1;
};

}  // namespace rep

#endif
