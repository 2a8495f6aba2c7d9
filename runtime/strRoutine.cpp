#include "runtime/strRoutine.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <limits>

namespace strRoutine {

std::string intToStr(long long value) {
  return std::to_string(value);
}

std::string boolToStr(bool value) {
  return value ? "true" : "false";
}

std::string doubleToStr(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

namespace {

// A leading "+" is accepted as the decimal notation allows it; from_chars does not.
const char* skipPlus(const std::string& text) {
  const char* begin = text.data();
  if (!text.empty() && text[0] == '+' && text.size() > 1 && text[1] != '-') ++begin;
  return begin;
}

[[noreturn]] void conversionFailed(const std::string& text, const char* what) {
  throw ConversionError("Can not convert \"" + text + "\" to " + what + ".");
}

}  // namespace

int strToInt(const std::string& text) {
  const char* begin = skipPlus(text);
  const char* end = text.data() + text.size();
  int value = 0;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (text.empty() || ec != std::errc() || ptr != end) conversionFailed(text, "an integer");
  return value;
}

double strToDouble(const std::string& text) {
  const char* begin = skipPlus(text);
  const char* end = text.data() + text.size();
  double value = 0;
  auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
  bool finite =
      value <= std::numeric_limits<double>::max() && value >= std::numeric_limits<double>::lowest();
  if (text.empty() || ec != std::errc() || ptr != end || !finite)
    conversionFailed(text, "a real number");
  return value;
}

bool strToBool(const std::string& text) {
  return text == "true" || text == "1";
}

bool isInt(const std::string& text) {
  try {
    strToInt(text);
    return true;
  } catch (const ConversionError&) {
    return false;
  }
}

bool isReal(const std::string& text) {
  try {
    strToDouble(text);
    return true;
  } catch (const ConversionError&) {
    return false;
  }
}

std::string substring(const std::string& s, int from, int to) {
  if (from < 0) from = 0;
  if (to < from || static_cast<std::size_t>(from) >= s.size()) return "";
  return s.substr(static_cast<std::size_t>(from),
                  static_cast<std::size_t>(to) - static_cast<std::size_t>(from) + 1);
}

std::string charAt(const std::string& s, int index) {
  if (index < 0) throw std::out_of_range("basic_string::at(size_t) const");
  return std::string(1, at(s, static_cast<std::size_t>(index)));
}

char at(const std::string& s, std::size_t index) {
  if (index >= s.size()) throw std::out_of_range("basic_string::at(size_t) const");
  return s[index];
}

namespace {
bool isBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}
}  // namespace

std::string trim(const std::string& s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && isBlank(s[begin])) ++begin;
  while (end > begin && isBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

std::string escape(const std::string& s) {
  std::string out;
  out.reserve(s.size() + 8);
  for (char c : s) {
    switch (c) {
      case '\'':
        out += "\\'";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\v':
        out += "\\v";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\b':
        out += "\\b";
        break;
      default:
        out += c;
    }
  }
  return out;
}

QualifiedName splitQualifiedName(const std::string& qualified) {
  QualifiedName result;
  if (qualified.empty()) return result;
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t cut = qualified.find("::", start);
    parts.push_back(trim(qualified.substr(start, cut == std::string::npos ? cut : cut - start)));
    if (cut == std::string::npos) break;
    start = cut + 2;
  }
  result.empty = false;
  result.name = parts.back();
  parts.pop_back();
  result.packages = std::move(parts);
  return result;
}

}  // namespace strRoutine
