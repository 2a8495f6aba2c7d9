// A record of the changes made through the API while a host asks for it, so
// that the host learns what a run of transformations changed (to redraw only
// that) at a cost proportional to the changes. One entry per change; the
// host takes them and the record empties.
#ifndef GR_REPOSITORY_JOURNAL_H
#define GR_REPOSITORY_JOURNAL_H

#include <cstdint>
#include <vector>

#include "platform/repository.h"

namespace rep {

class Journal {
 public:
  void enable(bool on) {
    enabled_ = on;
    if (!on) entries_.clear();
  }
  bool enabled() const { return enabled_; }

  void note(int kind, RepId object, RepId classId, RepId detail) {
    if (enabled_) entries_.push_back({kind, object, classId, detail});
  }
  // Moves up to CAPACITY of the oldest entries into BUFFER.
  uint32_t take(RepChange* buffer, uint32_t capacity);
  uint32_t pending() const { return static_cast<uint32_t>(entries_.size() - taken_); }
  void clear() {
    entries_.clear();
    taken_ = 0;
  }

 private:
  bool enabled_ = false;
  std::vector<RepChange> entries_;
  std::size_t taken_ = 0;  // entries before this index were taken
};

}  // namespace rep

#endif
