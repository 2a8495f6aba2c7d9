// The link ends of one object, packed into one word array because most
// objects have a few ends with 1-3 partners each. Each end is a run: a
// header word [linkType:24 | count:8], then (only for a link type id that
// needs more than 24 bits) the link type id, then the partners; a count of
// kOutOfLine says that the partners are kept outside, in the store's BigEnd
// whose slot follows, because there are many of them. Up to kLocalWords
// words live in the table itself, so that the ends of most objects share a
// cache line with the object.
#ifndef GR_REPOSITORY_ENDTABLE_H
#define GR_REPOSITORY_ENDTABLE_H

#include <cstdint>
#include <cstring>
#include <span>

#include "platform/repository.h"

namespace rep {

class EndTable {
 public:
  // Longest run kept inline; a linear scan of this many words is cheaper
  // than a hash lookup.
  static constexpr uint32_t kMaxInline = 16;

  struct Run {
    bool present = false;
    bool outOfLine = false;
    std::span<const RepId> partners;  // empty when out of line
    uint32_t bigSlot = 0;             // when out of line
  };

  EndTable() = default;
  EndTable(const EndTable&) = delete;
  EndTable& operator=(const EndTable&) = delete;
  ~EndTable() { clear(); }

  Run find(RepId linkType) const;

  // Appends PARTNER to the inline run of LINKTYPE (moving it to the end when
  // present). False when the run is out of line or full: the caller then
  // keeps the partners outside.
  bool appendInline(RepId linkType, RepId partner);
  // True when PARTNER was removed; an emptied run disappears.
  bool removeInline(RepId linkType, RepId partner);
  // Replaces the run of LINKTYPE (if any) by an out-of-line marker.
  void setOutOfLine(RepId linkType, uint32_t bigSlot);
  void eraseRun(RepId linkType);
  // Adds a run for LINKTYPE, which must not have one yet.
  void addRun(RepId linkType, std::span<const RepId> partners);

  template <class Visit>  // Visit(RepId linkType, const Run&)
  void forEachRun(Visit visit) const {
    for (size_t pos = 0; pos < size_; pos = next(pos)) visit(typeAt(pos), runAt(pos));
  }

  bool empty() const { return size_ == 0; }
  void clear();

 private:
  static constexpr uint32_t kOutOfLine = 0xFF;
  static constexpr uint32_t kLongType = 0xFFFFFF;  // the link type id follows the header
  static constexpr size_t kNone = SIZE_MAX;
  static constexpr uint32_t kLocalWords = 14;

  static uint32_t header(RepId linkType, uint32_t count) {
    return (linkType < kLongType ? linkType : kLongType) << 8 | count;
  }
  static uint32_t headerWords(RepId linkType) { return linkType < kLongType ? 1 : 2; }

  bool onHeap() const { return size_ > kLocalWords; }
  // The heap block's address sits in the local words, unaligned, so that the
  // table packs into 60 bytes.
  uint32_t* heap() const {
    uint32_t* block = nullptr;
    std::memcpy(&block, local_, sizeof block);
    return block;
  }
  void setHeap(uint32_t* block) { std::memcpy(local_, &block, sizeof block); }
  const uint32_t* data() const { return onHeap() ? heap() : local_; }
  uint32_t* data() { return onHeap() ? heap() : local_; }
  size_t headerOf(RepId linkType) const;
  RepId typeAt(size_t pos) const;
  uint32_t countAt(size_t pos) const { return data()[pos] & 0xFF; }
  // Where the partners (or the slot) of the run at POS begin.
  size_t bodyAt(size_t pos) const { return pos + ((data()[pos] >> 8) == kLongType ? 2 : 1); }
  size_t next(size_t pos) const;
  Run runAt(size_t pos) const;
  // Appends a run of COUNT (or kOutOfLine) with room for its body.
  uint32_t* appendRun(RepId linkType, uint32_t count, uint32_t bodyWords);
  // Opens COUNT words at POS and returns them; the rest moves up.
  uint32_t* insertWords(size_t pos, uint32_t count);
  void eraseWords(size_t pos, uint32_t count);

  uint32_t size_ = 0;            // words in use; beyond kLocalWords they live on the heap
  uint32_t local_[kLocalWords];  // or the heap block of bit_ceil(size_) words
};

}  // namespace rep

#endif
