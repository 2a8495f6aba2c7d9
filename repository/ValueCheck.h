// Which texts are values of which base type. Every base type accepts ""
// (the unset value).
#ifndef GR_REPOSITORY_VALUECHECK_H
#define GR_REPOSITORY_VALUECHECK_H

#include <string_view>

namespace rep {

// Integer: [+-]?[0-9]+ within the 32-bit signed range, which is what the
// runtime's integer conversions can hold.
bool isIntegerText(std::string_view text);
// Real: a finite decimal number with optional fraction and exponent; no
// inf/nan, hexadecimal forms, blanks or trailing characters.
bool isRealText(std::string_view text);
// Boolean: "true", "false", "1" or "0".
bool isBooleanText(std::string_view text);

// BASETYPE is one of REP_STRING..REP_ENUM; strings and enumerations take any text.
bool isValueOfBaseType(int baseType, std::string_view text);

}  // namespace rep

#endif
