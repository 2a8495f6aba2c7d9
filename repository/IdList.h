// The list object that crosses the C API; the caller frees it.
#ifndef GR_REPOSITORY_IDLIST_H
#define GR_REPOSITORY_IDLIST_H

#include <vector>

#include "platform/repository.h"

struct RepIdList {
  std::vector<RepId> ids;
};

#endif
