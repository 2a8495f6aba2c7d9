#include "repository/ValueCheck.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/repository.h"

namespace rep {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isSign(char c) {
  return c == '+' || c == '-';
}

// Advances POS over a run of digits and tells how many there were.
size_t skipDigits(std::string_view text, size_t& pos) {
  size_t start = pos;
  while (pos < text.size() && isDigit(text[pos])) ++pos;
  return pos - start;
}

bool hasRealSyntax(std::string_view text) {
  size_t pos = 0;
  if (pos < text.size() && isSign(text[pos])) ++pos;
  size_t mantissaDigits = skipDigits(text, pos);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    mantissaDigits += skipDigits(text, pos);
  }
  if (mantissaDigits == 0) return false;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < text.size() && isSign(text[pos])) ++pos;
    if (skipDigits(text, pos) == 0) return false;
  }
  return pos == text.size();
}

}  // namespace

bool isIntegerText(std::string_view text) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && isSign(text[pos])) negative = text[pos++] == '-';
  if (pos == text.size()) return false;
  int64_t magnitude = 0;
  const int64_t limit = negative ? -int64_t{INT32_MIN} : int64_t{INT32_MAX};
  for (; pos < text.size(); ++pos) {
    if (!isDigit(text[pos])) return false;
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > limit) return false;
  }
  return true;
}

bool isRealText(std::string_view text) {
  if (!hasRealSyntax(text)) return false;
  std::string copy(text);
  errno = 0;
  double value = std::strtod(copy.c_str(), nullptr);
  return std::isfinite(value) && !(errno == ERANGE && std::fabs(value) > 1.0);
}

bool isBooleanText(std::string_view text) {
  return text == "true" || text == "false" || text == "1" || text == "0";
}

bool isValueOfBaseType(int baseType, std::string_view text) {
  if (text.empty()) return true;
  switch (baseType) {
    case REP_INTEGER:
      return isIntegerText(text);
    case REP_REAL:
      return isRealText(text);
    case REP_BOOLEAN:
      return isBooleanText(text);
    default:
      return true;
  }
}

}  // namespace rep
