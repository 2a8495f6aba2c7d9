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
inline RepId firstOf(uint64_t key) { return static_cast<RepId>(key >> 32); }
inline RepId secondOf(uint64_t key) { return static_cast<RepId>(key); }

class ChangeSet {
 public:
  // What to rewrite for a marked object.
  enum : uint8_t {
    kRow = 1,     // its existence and class
    kValues = 2,  // all its values
    kEnds = 4,    // all its inline link ends
  };

  // A store without a file tracks nothing.
  void enable(bool on) { enabled_ = on; }

  void markObject(RepId object, uint8_t what) {
    if (!enabled_) return;
    if (object >= flags_.size()) flags_.resize(object + 1);
    if (flags_[object] == 0) objects_.push_back(object);
    flags_[object] |= what;
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
  uint8_t flagsOf(RepId object) const { return object < flags_.size() ? flags_[object] : 0; }
  const std::set<RepId>& types() const { return types_; }
  const std::unordered_set<uint64_t>& removedValues() const { return removedValues_; }
  const std::unordered_set<uint64_t>& removedEnds() const { return removedEnds_; }
  const std::unordered_set<uint64_t>& bigEnds() const { return bigEnds_; }

  void clear();

 private:
  bool enabled_ = true;
  std::vector<uint8_t> flags_;  // by object id
  std::vector<RepId> objects_;  // those with non-zero flags
  std::set<RepId> types_;
  std::unordered_set<uint64_t> removedValues_;  // (object, attribute)
  std::unordered_set<uint64_t> removedEnds_;    // (object, link type)
  std::unordered_set<uint64_t> bigEnds_;        // (object, link type)
};

}  // namespace rep

#endif
