#include "repository/Journal.h"

#include <algorithm>

namespace rep {

uint32_t Journal::take(RepChange* buffer, uint32_t capacity) {
  std::size_t count = std::min<std::size_t>(capacity, entries_.size() - taken_);
  std::copy_n(entries_.begin() + static_cast<std::ptrdiff_t>(taken_), count, buffer);
  taken_ += count;
  if (taken_ == entries_.size()) clear();
  return static_cast<uint32_t>(count);
}

}  // namespace rep
