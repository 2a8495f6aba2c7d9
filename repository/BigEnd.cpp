#include "repository/BigEnd.h"

namespace rep {

BigEnd::BigEnd(std::span<const RepId> partners) {
  positions_.reserve(partners.size() * 2);
  for (RepId partner : partners) append(partner);
}

void BigEnd::append(RepId partner) {
  auto [where, inserted] = positions_.try_emplace(partner, static_cast<uint32_t>(order_.size()));
  if (!inserted) {
    order_[where->second] = kHole;
    where->second = static_cast<uint32_t>(order_.size());
  }
  order_.push_back(partner);
  compactWhenSparse();
}

bool BigEnd::remove(RepId partner) {
  auto where = positions_.find(partner);
  if (where == positions_.end()) return false;
  order_[where->second] = kHole;
  positions_.erase(where);
  compactWhenSparse();
  return true;
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
    positions_[partner] = kept;
    order_[kept++] = partner;
  }
  order_.resize(kept);
}

void BigEnd::compactWhenSparse() {
  if (order_.size() > 2 * positions_.size() + 64) compact();
}

}  // namespace rep
