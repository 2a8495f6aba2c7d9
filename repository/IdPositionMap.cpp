#include "repository/IdPositionMap.h"

#include <algorithm>
#include <bit>

namespace rep {

const uint32_t* IdPositionMap::find(RepId key) const {
  if (slots_.empty()) return nullptr;
  for (size_t i = home(key);; i = (i + 1) & mask()) {
    if (slots_[i].key == key) return &slots_[i].value;
    if (slots_[i].key == 0) return nullptr;
  }
}

bool IdPositionMap::insert(RepId key, uint32_t value) {
  if ((size_t{count_} + 1) * 2 > slots_.size()) rehash(std::max<size_t>(16, slots_.size() * 2));
  size_t i = home(key);
  for (; slots_[i].key != 0; i = (i + 1) & mask()) {
    if (slots_[i].key == key) return false;
  }
  slots_[i] = Slot{key, value};
  ++count_;
  return true;
}

// Linear probing without tombstones: later entries of the probe run move
// back into the hole when their home position allows it.
bool IdPositionMap::erase(RepId key) {
  if (slots_.empty()) return false;
  size_t hole = home(key);
  for (; slots_[hole].key != key; hole = (hole + 1) & mask()) {
    if (slots_[hole].key == 0) return false;
  }
  for (size_t next = (hole + 1) & mask(); slots_[next].key != 0; next = (next + 1) & mask()) {
    size_t wanted = home(slots_[next].key);
    if (((next - wanted) & mask()) >= ((next - hole) & mask())) {
      slots_[hole] = slots_[next];
      hole = next;
    }
  }
  slots_[hole] = Slot{};
  --count_;
  return true;
}

void IdPositionMap::reserve(uint32_t count) {
  size_t capacity = std::bit_ceil(size_t{count} * 2 + 1);
  if (capacity > slots_.size()) rehash(capacity);
}

void IdPositionMap::rehash(size_t capacity) {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(capacity, Slot{});
  shift_ = 64 - static_cast<unsigned>(std::countr_zero(capacity));
  count_ = 0;
  for (const Slot& slot : old) {
    if (slot.key != 0) insert(slot.key, slot.value);
  }
}

}  // namespace rep
