#include "repository/ChangeSet.h"

namespace rep {

void ChangeSet::clear() {
  for (RepId object : objects_) flags_[object] = 0;
  objects_.clear();
  types_.clear();
  removedValues_.clear();
  removedEnds_.clear();
  bigEnds_.clear();
}

}  // namespace rep
