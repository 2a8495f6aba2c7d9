// Texts enter the model only as valid UTF-8: the store, the dumps and every
// front end read them as such.
#pragma once

#include <string_view>

namespace grhost {

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing beyond U+10FFFF.
bool isValidUtf8(std::string_view text);

}  // namespace grhost
