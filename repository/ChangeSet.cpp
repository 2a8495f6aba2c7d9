#include "repository/ChangeSet.h"

namespace rep {

void ChangeSet::clear() {
  for (RepId object : objects_) marks_[object] = ObjectMark{};
  objects_.clear();
  types_.clear();
  removedValues_.clear();
  removedEnds_.clear();
  bigEnds_.clear();
}

}  // namespace rep
