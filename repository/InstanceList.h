// The direct instances of one class in creation (= ascending id) order.
// Deleted objects stay until the next indexed read or until they outnumber
// the live ones, so a delete costs O(1) amortised.
#ifndef GR_REPOSITORY_INSTANCELIST_H
#define GR_REPOSITORY_INSTANCELIST_H

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/repository.h"

namespace rep {

class InstanceList {
 public:
  void append(RepId object) {
    if (!ids_.empty() && ids_.back() > object) unsorted_ = true;
    ids_.push_back(object);
  }
  // An object that comes back (undo) with the id it had, at its place in id
  // order: O(log n) while it is still listed as deleted (no compaction came
  // since), else a move of the ids after it.
  void restore(RepId object) {
    if (unsorted_) {
      std::sort(ids_.begin(), ids_.end());
      unsorted_ = false;
    }
    auto at = std::lower_bound(ids_.begin(), ids_.end(), object);
    if (at != ids_.end() && *at == object) {
      --deleted_;
      return;
    }
    ids_.insert(at, object);
  }
  void noteDeleted() { ++deleted_; }
  uint32_t size() const { return static_cast<uint32_t>(ids_.size()) - deleted_; }
  bool needsCompaction() const { return deleted_ != 0 || unsorted_; }
  bool isSparse() const { return deleted_ > ids_.size() / 2 + 16; }

  template <class IsAlive>
  void compact(IsAlive isAlive) {
    ids_.erase(std::remove_if(ids_.begin(), ids_.end(), [&](RepId id) { return !isAlive(id); }),
               ids_.end());
    deleted_ = 0;
    if (unsorted_) std::sort(ids_.begin(), ids_.end());
    unsorted_ = false;
  }

  // Valid only when compacted.
  RepId at(uint32_t index) const { return ids_[index]; }
  // Including deleted ones not yet compacted away.
  const std::vector<RepId>& rawIds() const { return ids_; }

 private:
  std::vector<RepId> ids_;
  uint32_t deleted_ = 0;
  bool unsorted_ = false;
};

}  // namespace rep

#endif
