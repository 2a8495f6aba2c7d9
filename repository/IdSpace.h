// The one id space of types and objects. Ids are handed out in ascending
// order and never reused; 0 means "none".
#ifndef GR_REPOSITORY_IDSPACE_H
#define GR_REPOSITORY_IDSPACE_H

#include <cstdint>

#include "platform/repository.h"

namespace rep {

class IdSpace {
 public:
  // 0 when the space is exhausted.
  RepId take() { return next_ == UINT32_MAX ? 0 : next_++; }
  RepId next() const { return next_; }
  void restore(RepId next) { next_ = next; }

 private:
  RepId next_ = 1;
};

}  // namespace rep

#endif
