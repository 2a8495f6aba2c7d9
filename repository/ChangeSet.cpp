#include "repository/ChangeSet.h"

namespace rep {

void ChangeSet::clear() {
  for (RepId object : objects_) marks_[object] = 0;
  objects_.clear();
  types_.clear();
  removedValues_.clear();
  links_.clear();
}

}  // namespace rep
