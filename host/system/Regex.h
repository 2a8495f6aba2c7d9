// Regular-expression parsing for the library's decompose expressions, with
// PCRE2 (they use conditional groups).
#pragma once

#include <string>

namespace grhost {

struct ParseResult {
  bool matched = false;
  std::string value;  // the captured groups joined by the separator
  std::string error;  // a bad expression or text; empty otherwise
};

// Matches TEXT against EXPRESSION anchored at its start. On a match, VALUE is
// every capturing group in order joined by SEPARATOR, an unset group giving an
// empty part; an expression without groups gives "".
ParseResult parseWithExpression(const std::string& expression, const std::string& text,
                                const std::string& separator);

}  // namespace grhost
