// Id sequences as they are kept in the store file: 4 bytes each, little
// endian, so a file moves between machines unchanged.
#ifndef GR_REPOSITORY_IDBLOB_H
#define GR_REPOSITORY_IDBLOB_H

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/repository.h"

namespace rep {

void encodeIds(std::span<const RepId> ids, std::string& blob);
// False when the blob is not a whole number of ids.
bool decodeIds(std::string_view blob, std::vector<RepId>& ids);

}  // namespace rep

#endif
