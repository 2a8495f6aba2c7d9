// The links changed since the last commit, each with its last change. A
// change is appended to a small batch (CreateLink pays a store to memory it
// just used); full batches are folded into a flat open-addressing table, so
// that remaking the same links between two commits does not grow it, and the
// table's probes of a whole batch overlap instead of each waiting inside a
// CreateLink.
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
  LinkChangeMap() { batch_.reserve(kBatch); }

  // Records CHANGE as the last one of its link.
  void note(const LinkChange& change) {
    batch_.push_back(change);
    if (batch_.size() == kBatch) fold();
  }
  // How many links changed.
  size_t size() const {
    fold();
    return count_;
  }
  // The last change of every link, ordered by (from, linkType, to), which is
  // the order of the rows in the store file.
  std::vector<LinkChange> sorted() const;
  void clear();

 private:
  static constexpr size_t kBatch = 4096;

  // Folding reorders what is kept, not what it says: hence const.
  void fold() const;
  void put(const LinkChange& change) const;
  size_t home(const LinkChange& change) const;
  size_t mask() const { return slots_.size() - 1; }
  void grow() const;

  mutable std::vector<LinkChange> batch_;  // in the order they happened
  mutable std::vector<LinkChange> slots_;
  mutable size_t count_ = 0;
  mutable unsigned shift_ = 64;
};

}  // namespace rep

#endif
