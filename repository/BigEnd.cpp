#include "repository/BigEnd.h"

#include <algorithm>

namespace rep {

BigEnd::BigEnd(std::span<const RepId> partners) {
  positions_.reserve(static_cast<uint32_t>(partners.size()));
  for (RepId partner : partners) append(partner);
}

void BigEnd::append(RepId partner) {
  auto end = static_cast<uint32_t>(order_.size());
  if (uint32_t* position = positions_.find(partner)) {
    order_[*position] = kHole;
    *position = end;
  } else {
    positions_.insert(partner, end);
  }
  order_.push_back(partner);
  compactWhenSparse();
}

bool BigEnd::remove(RepId partner) {
  const uint32_t* position = positions_.find(partner);
  if (!position) return false;
  order_[*position] = kHole;
  positions_.erase(partner);
  compactWhenSparse();
  return true;
}

uint32_t BigEnd::rankOf(RepId partner) const {
  if (order_.size() != positions_.size()) compact();
  const uint32_t* position = positions_.find(partner);
  return position ? *position : size();
}

void BigEnd::insertAt(RepId partner, uint32_t index) {
  if (order_.size() != positions_.size()) compact();
  index = std::min(index, static_cast<uint32_t>(order_.size()));
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

void BigEnd::compact() const {
  uint32_t kept = 0;
  for (RepId partner : order_) {
    if (partner == kHole) continue;
    *positions_.find(partner) = kept;
    order_[kept++] = partner;
  }
  order_.resize(kept);
}

void BigEnd::compactWhenSparse() {
  if (order_.size() > 2 * positions_.size() + 64) compact();
}

}  // namespace rep
