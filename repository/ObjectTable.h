// Records by id, in fixed-size chunks: growing never moves a record, so
// creating objects in a store of millions costs no reallocation copies.
#ifndef GR_REPOSITORY_OBJECTTABLE_H
#define GR_REPOSITORY_OBJECTTABLE_H

#include <sys/mman.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "platform/repository.h"

namespace rep {

template <class Record>
class ChunkedTable {
 public:
  ChunkedTable() = default;
  ChunkedTable(const ChunkedTable&) = delete;
  ChunkedTable& operator=(const ChunkedTable&) = delete;

  // Ids below size() have a record (default-constructed until used).
  RepId size() const { return static_cast<RepId>(chunks_.size()) << kChunkBits; }
  Record& operator[](RepId id) { return chunks_[id >> kChunkBits][id & kChunkMask]; }
  const Record& operator[](RepId id) const { return chunks_[id >> kChunkBits][id & kChunkMask]; }
  void ensure(RepId id) {
    while (id >= size()) chunks_.push_back(newChunk(false));
  }
  // Makes room for the records of a store being loaded: its objects are
  // reached at random for the whole session, so their chunks are offered to
  // the kernel for huge pages, which spares a TLB miss on top of each cache
  // miss. (Chunks added one by one later stay on small pages: a huge page
  // costs more to make than the few records a session adds gain.)
  void reserveForLoad(RepId count) {
    while (count > size()) chunks_.push_back(newChunk(true));
  }

 private:
  static constexpr unsigned kChunkBits = 15;
  static constexpr RepId kChunkSize = RepId{1} << kChunkBits;
  static constexpr RepId kChunkMask = kChunkSize - 1;
  static constexpr size_t kChunkBytes = kChunkSize * sizeof(Record);
  static constexpr size_t kHugePage = size_t{2} << 20;
  static constexpr bool kHugeFits = kChunkBytes % kHugePage == 0;
  static constexpr size_t kAlignment = kHugeFits ? kHugePage : alignof(Record);

  struct Free {
    void operator()(Record* chunk) const {
      for (RepId i = 0; i < kChunkSize; ++i) chunk[i].~Record();
      std::free(chunk);
    }
  };
  using Chunk = std::unique_ptr<Record[], Free>;

  static Chunk newChunk(bool huge) {
    void* memory = std::aligned_alloc(kAlignment, kChunkBytes);
    if (!memory) throw std::bad_alloc();
    if (huge && kHugeFits) ::madvise(memory, kChunkBytes, MADV_HUGEPAGE);
    auto* chunk = static_cast<Record*>(memory);
    for (RepId i = 0; i < kChunkSize; ++i) new (chunk + i) Record();
    return Chunk(chunk);
  }

  std::vector<Chunk> chunks_;
};

}  // namespace rep

#endif
