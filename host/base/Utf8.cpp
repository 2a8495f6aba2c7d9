#include "host/base/Utf8.h"

#include <cstdint>

namespace grhost {

bool isValidUtf8(std::string_view text) {
  const auto* at = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* end = at + text.size();
  while (at < end) {
    unsigned char lead = *at++;
    if (lead < 0x80) continue;
    int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (more < 0 || lead > 0xF4 || end - at < more) return false;
    uint32_t code = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
      if ((at[i] & 0xC0) != 0x80) return false;
      code = (code << 6) | (at[i] & 0x3F);
    }
    at += more;
    bool overlong = (more == 2 && code < 0x800) || (more == 3 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
  }
  return true;
}

}  // namespace grhost
