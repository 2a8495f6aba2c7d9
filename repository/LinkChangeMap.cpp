#include "repository/LinkChangeMap.h"

#include <algorithm>
#include <bit>

namespace rep {

namespace {

constexpr size_t kInitialSlots = 64;
// A table left this large by a big commit is given back at the next clear.
constexpr size_t kKeptSlots = size_t{1} << 16;

bool sameLink(const LinkChange& left, const LinkChange& right) {
  return left.from == right.from && left.linkType == right.linkType && left.to == right.to;
}

}  // namespace

size_t LinkChangeMap::home(const LinkChange& change) const {
  uint64_t key = (uint64_t{change.from} << 32 | change.to) ^
                 (uint64_t{change.linkType} * 0xC2B2AE3D27D4EB4Full);
  return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
}

// Loads the slots a few changes ahead, so that their misses overlap.
void LinkChangeMap::fold() const {
  constexpr size_t kAhead = 8;
  for (size_t i = 0; i < batch_.size(); ++i) {
    if (i + kAhead < batch_.size() && !slots_.empty())
      __builtin_prefetch(&slots_[home(batch_[i + kAhead])]);
    put(batch_[i]);
  }
  batch_.clear();
}

void LinkChangeMap::put(const LinkChange& change) const {
  if ((count_ + 1) * 2 > slots_.size()) grow();
  for (size_t i = home(change);; i = (i + 1) & mask()) {
    LinkChange& slot = slots_[i];
    if (slot.linkType == 0) {
      slot = change;
      ++count_;
      return;
    }
    if (sameLink(slot, change)) {
      slot.seq = change.seq;
      return;
    }
  }
}

void LinkChangeMap::grow() const {
  std::vector<LinkChange> old;
  old.swap(slots_);
  size_t capacity = std::max(kInitialSlots, old.size() * 2);
  slots_.assign(capacity, LinkChange{});
  shift_ = 64 - static_cast<unsigned>(std::countr_zero(capacity));
  count_ = 0;
  for (const LinkChange& change : old) {
    if (change.linkType != 0) put(change);
  }
}

std::vector<LinkChange> LinkChangeMap::sorted() const {
  fold();
  std::vector<LinkChange> changes;
  changes.reserve(count_);
  for (const LinkChange& slot : slots_) {
    if (slot.linkType != 0) changes.push_back(slot);
  }
  std::sort(changes.begin(), changes.end(), [](const LinkChange& left, const LinkChange& right) {
    if (left.from != right.from) return left.from < right.from;
    if (left.linkType != right.linkType) return left.linkType < right.linkType;
    return left.to < right.to;
  });
  return changes;
}

void LinkChangeMap::clear() {
  batch_.clear();
  if (count_ == 0) return;
  if (slots_.size() > kKeptSlots) {
    std::vector<LinkChange>().swap(slots_);
    shift_ = 64;
  } else {
    std::fill(slots_.begin(), slots_.end(), LinkChange{});
  }
  count_ = 0;
}

}  // namespace rep
