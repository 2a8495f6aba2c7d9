#include "repository/IdBlob.h"

namespace rep {

void encodeIds(std::span<const RepId> ids, std::string& blob) {
  blob.resize(ids.size() * 4);
  size_t pos = 0;
  for (RepId id : ids) {
    for (int shift = 0; shift < 32; shift += 8)
      blob[pos++] = static_cast<char>((id >> shift) & 0xFF);
  }
}

bool decodeIds(std::string_view blob, std::vector<RepId>& ids) {
  if (blob.size() % 4 != 0) return false;
  ids.resize(blob.size() / 4);
  const auto* bytes = reinterpret_cast<const unsigned char*>(blob.data());
  for (size_t i = 0; i < ids.size(); ++i, bytes += 4) {
    ids[i] = RepId{bytes[0]} | RepId{bytes[1]} << 8 | RepId{bytes[2]} << 16 | RepId{bytes[3]} << 24;
  }
  return true;
}

}  // namespace rep
