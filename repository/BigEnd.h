// The partners of one object over one link type when there are too many to
// scan: link order plus a hash index. Removal leaves a hole that is closed
// lazily, so deleting the partners of a hub one by one stays linear overall.
// A tree of counts (Fenwick) over the holes tells a partner's rank, and the
// place of a rank, in logarithmic time with the holes left open: the undo
// history asks for the rank of every link it sees removed, and puts a link
// taken back into the hole it left.
#ifndef GR_REPOSITORY_BIGEND_H
#define GR_REPOSITORY_BIGEND_H

#include <cstdint>
#include <span>
#include <vector>

#include "platform/repository.h"
#include "repository/IdPositionMap.h"

namespace rep {

class BigEnd {
 public:
  explicit BigEnd(std::span<const RepId> partners);

  uint32_t size() const { return positions_.size(); }
  bool contains(RepId partner) const { return positions_.find(partner) != nullptr; }
  // Appends PARTNER; one that is present moves to the end.
  void append(RepId partner);
  bool remove(RepId partner);
  // The index of PARTNER (present) in link order.
  uint32_t rankOf(RepId partner) const;
  // Inserts PARTNER (absent) at INDEX in link order; beyond the end: last.
  void insertAt(RepId partner, uint32_t index);
  // The partner at INDEX in link order; INDEX < size().
  RepId at(uint32_t index) const;
  std::vector<RepId> ordered() const;

 private:
  static constexpr RepId kHole = 0;

  void compact() const;
  void compactWhenSparse();
  void pushBack(RepId partner);
  void makeHole(uint32_t position);
  bool fillNearbyHole(RepId partner, uint32_t next);
  void moveTo(uint32_t position, RepId partner);
  void placeInHole(RepId partner, uint32_t position, uint32_t hole);
  // Holes at the positions before POSITION.
  uint32_t holesBefore(uint32_t position) const;
  // The position of the partner of rank RANK (< size()).
  uint32_t positionOfRank(uint32_t rank) const;

  // Holes are closed by const readers too, hence mutable.
  mutable std::vector<RepId> order_;
  mutable IdPositionMap positions_;
  // holes_[i] counts the holes at positions [i - lowbit(i), i) of order_;
  // holes_[0] is unused. Empty while there is no hole.
  mutable std::vector<uint32_t> holes_;
};

}  // namespace rep

#endif
