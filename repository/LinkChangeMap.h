// The links changed since the last commit, each with its last change: a flat
// open-addressing table, so that noting a change inside CreateLink is one
// probe into memory the recent changes keep warm, however often the same
// links are made and remade between two commits.
#ifndef GR_REPOSITORY_LINKCHANGEMAP_H
#define GR_REPOSITORY_LINKCHANGEMAP_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/repository.h"

namespace rep {

// A link as one row of the store file: FROM reaches TO over LINKTYPE. SEQ
// orders the links at both their ends (a link (re)made later comes later);
// 0 says that the link is gone.
struct LinkChange {
  RepId from = 0;
  RepId linkType = 0;  // never 0 for a link: marks an empty slot
  RepId to = 0;
  uint64_t seq = 0;
};

class LinkChangeMap {
 public:
  size_t size() const { return count_; }
  // Records CHANGE as the last one of its link.
  void note(const LinkChange& change);
  // Starts loading the slot that noting CHANGE will look at first.
  void prefetch(const LinkChange& change) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[home(change)]);
  }
  // The last change of every link, ordered by (from, linkType, to), which is
  // the order of the rows in the store file.
  std::vector<LinkChange> sorted() const;
  void clear();

 private:
  size_t home(const LinkChange& change) const;
  size_t mask() const { return slots_.size() - 1; }
  void grow();

  std::vector<LinkChange> slots_;
  size_t count_ = 0;
  unsigned shift_ = 64;
};

}  // namespace rep

#endif
