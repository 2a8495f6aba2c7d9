// A flat open-addressing map from object id to position, for the partner
// index of big link ends: one probe into a contiguous array instead of a
// node chase, which is what AlreadyConnected costs on a hub.
#ifndef GR_REPOSITORY_IDPOSITIONMAP_H
#define GR_REPOSITORY_IDPOSITIONMAP_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/repository.h"

namespace rep {

class IdPositionMap {
 public:
  uint32_t size() const { return count_; }
  // nullptr when KEY is absent. KEY must not be 0.
  const uint32_t* find(RepId key) const;
  uint32_t* find(RepId key) {
    return const_cast<uint32_t*>(static_cast<const IdPositionMap*>(this)->find(key));
  }
  // Inserts KEY with VALUE; false (and nothing changed) when KEY is present.
  bool insert(RepId key, uint32_t value);
  bool erase(RepId key);
  void reserve(uint32_t count);

 private:
  struct Slot {
    RepId key = 0;  // 0: empty
    uint32_t value = 0;
  };

  size_t home(RepId key) const {
    return static_cast<size_t>((uint64_t{key} * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  size_t mask() const { return slots_.size() - 1; }
  void rehash(size_t capacity);

  std::vector<Slot> slots_;
  uint32_t count_ = 0;
  unsigned shift_ = 64;
};

}  // namespace rep

#endif
