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

void LinkChangeMap::note(const LinkChange& change) {
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

void LinkChangeMap::grow() {
  std::vector<LinkChange> old;
  old.swap(slots_);
  size_t capacity = std::max(kInitialSlots, old.size() * 2);
  slots_.assign(capacity, LinkChange{});
  shift_ = 64 - static_cast<unsigned>(std::countr_zero(capacity));
  count_ = 0;
  for (const LinkChange& change : old) {
    if (change.linkType != 0) note(change);
  }
}

std::vector<LinkChange> LinkChangeMap::sorted() const {
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
