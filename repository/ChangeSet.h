// What changed since the last commit, so that a commit rewrites only those
// rows. Marking is O(1) and allocation-free in the common case, because it
// happens inside CreateObject and CreateLink.
#ifndef GR_REPOSITORY_CHANGESET_H
#define GR_REPOSITORY_CHANGESET_H

#include <cstdint>
#include <set>
#include <unordered_set>
#include <vector>

#include "platform/repository.h"

namespace rep {

inline uint64_t pairKey(RepId first, RepId second) {
  return (uint64_t{first} << 32) | second;
}
inline RepId firstOf(uint64_t key) {
  return static_cast<RepId>(key >> 32);
}
inline RepId secondOf(uint64_t key) {
  return static_cast<RepId>(key);
}

class ChangeSet {
 public:
  // What to rewrite for a marked object.
  enum : uint8_t {
    kRow = 1,     // its existence and class
    kValues = 2,  // all its values
    kEnds = 4,    // its inline link ends: the one named by changedEnd, or all
  };
  static constexpr RepId kSeveralEnds = UINT32_MAX;

  struct ObjectMark {
    uint8_t flags = 0;
    RepId changedEnd = 0;  // the link type whose end changed, or kSeveralEnds
  };

  // A store without a file tracks nothing.
  void enable(bool on) { enabled_ = on; }

  void markObject(RepId object, uint8_t what) {
    if (enabled_) mark(object).flags |= what;
  }
  // Most commits change one end of an object; only then is a single row
  // rewritten, otherwise all of the object's inline ends.
  void markEnd(RepId object, RepId linkType) {
    if (!enabled_) return;
    ObjectMark& objectMark = mark(object);
    objectMark.flags |= kEnds;
    if (objectMark.changedEnd == 0) {
      objectMark.changedEnd = linkType;
    } else if (objectMark.changedEnd != linkType) {
      objectMark.changedEnd = kSeveralEnds;
    }
  }
  void markType(RepId type) {
    if (enabled_) types_.insert(type);
  }
  void markRemovedValue(RepId object, RepId attr) {
    if (enabled_) removedValues_.insert(pairKey(object, attr));
  }
  void markRemovedEnd(RepId object, RepId linkType) {
    if (enabled_) removedEnds_.insert(pairKey(object, linkType));
  }
  void markBigEnd(RepId object, RepId linkType) {
    if (enabled_) bigEnds_.insert(pairKey(object, linkType));
  }

  const std::vector<RepId>& objects() const { return objects_; }
  ObjectMark markOf(RepId object) const {
    return object < marks_.size() ? marks_[object] : ObjectMark{};
  }
  const std::set<RepId>& types() const { return types_; }
  const std::unordered_set<uint64_t>& removedValues() const { return removedValues_; }
  const std::unordered_set<uint64_t>& removedEnds() const { return removedEnds_; }
  const std::unordered_set<uint64_t>& bigEnds() const { return bigEnds_; }

  void clear();

 private:
  ObjectMark& mark(RepId object) {
    if (object >= marks_.size()) marks_.resize(object + 1);
    if (marks_[object].flags == 0) objects_.push_back(object);
    return marks_[object];
  }

  bool enabled_ = true;
  std::vector<ObjectMark> marks_;  // by object id
  std::vector<RepId> objects_;     // those with a mark
  std::set<RepId> types_;
  std::unordered_set<uint64_t> removedValues_;  // (object, attribute)
  std::unordered_set<uint64_t> removedEnds_;    // (object, link type)
  std::unordered_set<uint64_t> bigEnds_;        // (object, link type)
};

}  // namespace rep

#endif
