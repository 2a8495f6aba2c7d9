// Conversions and string routines shared by the transformations and the
// runtime. Attribute values are always text, so every number or flag that
// reaches the model passes through here.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace strRoutine {

// Raised when a text is not the number a conversion asks for; it ends the
// running transformation.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string intToStr(long long value);
std::string boolToStr(bool value);
// General format, 15 significant digits, shortest form.
std::string doubleToStr(double value);
int strToInt(const std::string& text);
double strToDouble(const std::string& text);
// "true" and "1" are true; every other text is false.
bool strToBool(const std::string& text);
bool isInt(const std::string& text);
bool isReal(const std::string& text);

// Characters FROM..TO, both included, 0-based.
std::string substring(const std::string& s, int from, int to);
std::string charAt(const std::string& s, int index);
// Range-tested access: std::out_of_range beyond the end.
char at(const std::string& s, std::size_t index);

// Removes leading and trailing characters with codes 32 and below.
std::string trim(const std::string& s);
// Backslash escapes for writing values.
std::string escape(const std::string& s);

struct QualifiedName {
  std::vector<std::string> packages;  // the package path, outermost first
  std::string name;                   // the last part
  bool empty = true;                  // true when the text had no parts
};
// Cuts at every "::" and trims each part.
QualifiedName splitQualifiedName(const std::string& qualified);

}  // namespace strRoutine
