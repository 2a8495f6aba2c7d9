// What changed since the last commit, so that a commit writes only those
// rows. Marking is O(1) and allocation-free in the common case, because it
// happens inside CreateObject, AddProperty and CreateLink.
#ifndef GR_REPOSITORY_CHANGESET_H
#define GR_REPOSITORY_CHANGESET_H

#include <algorithm>
#include <cstdint>
#include <set>
#include <unordered_set>
#include <vector>

#include "platform/repository.h"
#include "repository/LinkChangeMap.h"

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
  };

  // A store without a file tracks nothing.
  void enable(bool on) { enabled_ = on; }

  void markObject(RepId object, uint8_t what) {
    if (!enabled_) return;
    if (object >= marks_.size()) marks_.resize(std::max<size_t>(object + 1, marks_.size() * 2));
    if (marks_[object] == 0) objects_.push_back(object);
    marks_[object] |= what;
  }
  void markType(RepId type) {
    if (enabled_) types_.insert(type);
  }
  void markRemovedValue(RepId object, RepId attr) {
    if (enabled_) removedValues_.insert(pairKey(object, attr));
  }
  // A link made or (SEQ 0) removed, in the form its row has.
  void noteLink(const LinkChange& change) {
    if (enabled_) links_.note(change);
  }

  const std::vector<RepId>& objects() const { return objects_; }
  uint8_t markOf(RepId object) const { return object < marks_.size() ? marks_[object] : 0; }
  const std::set<RepId>& types() const { return types_; }
  const std::unordered_set<uint64_t>& removedValues() const { return removedValues_; }
  const LinkChangeMap& links() const { return links_; }

  void clear();

 private:
  bool enabled_ = true;
  std::vector<uint8_t> marks_;  // by object id
  std::vector<RepId> objects_;  // those with a mark
  std::set<RepId> types_;
  std::unordered_set<uint64_t> removedValues_;  // (object, attribute)
  LinkChangeMap links_;
};

}  // namespace rep

#endif
