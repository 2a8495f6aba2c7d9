#include "repository/BigEnd.h"

#include <algorithm>
#include <bit>

namespace rep {
namespace {

uint32_t lowbit(uint32_t i) {
  return i & (~i + 1);
}

}  // namespace

BigEnd::BigEnd(std::span<const RepId> partners) {
  positions_.reserve(static_cast<uint32_t>(partners.size()));
  for (RepId partner : partners) append(partner);
}

void BigEnd::append(RepId partner) {
  auto end = static_cast<uint32_t>(order_.size());
  if (uint32_t* position = positions_.find(partner)) {
    makeHole(*position);
    *position = end;
  } else {
    positions_.insert(partner, end);
  }
  pushBack(partner);
  compactWhenSparse();
}

bool BigEnd::remove(RepId partner) {
  const uint32_t* position = positions_.find(partner);
  if (!position) return false;
  makeHole(*position);
  positions_.erase(partner);
  compactWhenSparse();
  return true;
}

uint32_t BigEnd::rankOf(RepId partner) const {
  const uint32_t* position = positions_.find(partner);
  return position ? *position - holesBefore(*position) : size();
}

// Into a hole right before the partner now of that rank (the one the
// partner left, when nothing closed it since); else the partners after it
// move up.
void BigEnd::insertAt(RepId partner, uint32_t index) {
  index = std::min(index, size());
  auto next = index < size() ? positionOfRank(index) : static_cast<uint32_t>(order_.size());
  if (next > 0 && order_[next - 1] == kHole) {
    uint32_t hole = next - 1;
    order_[hole] = partner;
    positions_.insert(partner, hole);
    for (uint32_t i = hole + 1; i < holes_.size(); i += lowbit(i)) --holes_[i];
    return;
  }
  if (fillNearbyHole(partner, next)) return;
  if (!holes_.empty()) compact();
  order_.insert(order_.begin() + index, partner);
  positions_.insert(partner, index);
  for (auto position = index + 1; position < order_.size(); ++position)
    *positions_.find(order_[position]) = position;
}

RepId BigEnd::at(uint32_t index) const {
  if (order_.size() != positions_.size()) compact();
  return order_[index];
}

std::vector<RepId> BigEnd::ordered() const {
  if (order_.size() != positions_.size()) compact();
  return order_;
}

// Links taken back together land one after another: the second finds its
// neighbour in the hole right before it, and the hole it left lies a step
// further. A hole that close takes the partner once the few partners
// between it and NEXT move one step towards it; only a hole far away makes
// the end close up.
bool BigEnd::fillNearbyHole(RepId partner, uint32_t next) {
  constexpr uint32_t kReach = 64;
  if (holes_.empty()) return false;
  const auto end = static_cast<uint32_t>(order_.size());
  for (uint32_t distance = 1; distance <= kReach; ++distance) {
    if (distance <= next && order_[next - distance] == kHole) {
      uint32_t hole = next - distance;
      for (uint32_t p = hole; p + 1 < next; ++p) moveTo(p, order_[p + 1]);
      placeInHole(partner, next - 1, hole);
      return true;
    }
    if (next + distance - 1 < end && order_[next + distance - 1] == kHole) {
      uint32_t hole = next + distance - 1;
      for (uint32_t p = hole; p > next; --p) moveTo(p, order_[p - 1]);
      placeInHole(partner, next, hole);
      return true;
    }
  }
  return false;
}

void BigEnd::moveTo(uint32_t position, RepId partner) {
  order_[position] = partner;
  *positions_.find(partner) = position;
}

// PARTNER goes to POSITION; the hole at HOLE is gone.
void BigEnd::placeInHole(RepId partner, uint32_t position, uint32_t hole) {
  order_[position] = partner;
  positions_.insert(partner, position);
  for (uint32_t i = hole + 1; i < holes_.size(); i += lowbit(i)) --holes_[i];
}

void BigEnd::compact() const {
  uint32_t kept = 0;
  for (RepId partner : order_) {
    if (partner == kHole) continue;
    *positions_.find(partner) = kept;
    order_[kept++] = partner;
  }
  order_.resize(kept);
  holes_.clear();
}

void BigEnd::pushBack(RepId partner) {
  order_.push_back(partner);
  if (holes_.empty()) return;
  // The new node counts the holes of the positions it covers, all before it.
  auto i = static_cast<uint32_t>(order_.size());
  holes_.push_back(holesBefore(i - 1) - holesBefore(i - lowbit(i)));
}

void BigEnd::makeHole(uint32_t position) {
  order_[position] = kHole;
  if (holes_.empty()) holes_.assign(order_.size() + 1, 0);
  for (uint32_t i = position + 1; i < holes_.size(); i += lowbit(i)) ++holes_[i];
}

uint32_t BigEnd::holesBefore(uint32_t position) const {
  uint32_t count = 0;
  if (holes_.empty()) return 0;
  for (uint32_t i = position; i > 0; i -= lowbit(i)) count += holes_[i];
  return count;
}

uint32_t BigEnd::positionOfRank(uint32_t rank) const {
  if (holes_.empty()) return rank;
  // Descend the tree to the last prefix holding RANK partners or fewer.
  uint32_t at = 0, partners = 0;
  for (uint32_t step = std::bit_floor(static_cast<uint32_t>(holes_.size() - 1)); step > 0;
       step >>= 1) {
    uint32_t next = at + step;
    if (next >= holes_.size()) continue;
    uint32_t here = step - holes_[next];
    if (partners + here <= rank) {
      at = next;
      partners += here;
    }
  }
  // Positions [0, at) hold RANK partners at most and the partner at AT, the
  // first past them, is the one of that rank.
  while (order_[at] == kHole) ++at;
  return at;
}

void BigEnd::compactWhenSparse() {
  if (order_.size() > 2 * positions_.size() + 64) compact();
}

}  // namespace rep
