// Object records by id, in fixed-size chunks: growing never moves a record,
// so creating objects in a store of millions costs no reallocation copies.
#ifndef GR_REPOSITORY_OBJECTTABLE_H
#define GR_REPOSITORY_OBJECTTABLE_H

#include <memory>
#include <vector>

#include "platform/repository.h"

namespace rep {

template <class Record>
class ChunkedTable {
 public:
  // Ids below size() have a record (default-constructed until used).
  RepId size() const { return static_cast<RepId>(chunks_.size()) << kChunkBits; }
  Record& operator[](RepId id) { return chunks_[id >> kChunkBits][id & kChunkMask]; }
  const Record& operator[](RepId id) const { return chunks_[id >> kChunkBits][id & kChunkMask]; }
  void ensure(RepId id) {
    while (id >= size()) chunks_.push_back(std::make_unique<Record[]>(kChunkSize));
  }

 private:
  static constexpr unsigned kChunkBits = 14;
  static constexpr RepId kChunkSize = RepId{1} << kChunkBits;
  static constexpr RepId kChunkMask = kChunkSize - 1;

  std::vector<std::unique_ptr<Record[]>> chunks_;
};

}  // namespace rep

#endif
