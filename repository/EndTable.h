// The link ends of one object, packed into a single word vector because most
// objects have a few ends with 1-3 partners each. Each end is a run
// [linkType, count, partner...]; a run [linkType, kOutOfLine, slot] says that
// the partners are kept outside, in the store's BigEnd SLOT, because there
// are many of them.
#ifndef GR_REPOSITORY_ENDTABLE_H
#define GR_REPOSITORY_ENDTABLE_H

#include <cstdint>
#include <span>
#include <vector>

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
  // Restores a run read from the store file; the run must not exist yet.
  void addRun(RepId linkType, std::span<const RepId> partners);

  template <class Visit>  // Visit(RepId linkType, const Run&)
  void forEachRun(Visit visit) const {
    for (size_t pos = 0; pos < words_.size(); pos = next(pos)) visit(words_[pos], runAt(pos));
  }

  bool empty() const { return words_.empty(); }
  void clear() { std::vector<uint32_t>().swap(words_); }

 private:
  static constexpr uint32_t kOutOfLine = UINT32_MAX;
  static constexpr size_t kNone = SIZE_MAX;

  size_t headerOf(RepId linkType) const;
  size_t next(size_t pos) const;
  Run runAt(size_t pos) const;

  std::vector<uint32_t> words_;
};

}  // namespace rep

#endif
