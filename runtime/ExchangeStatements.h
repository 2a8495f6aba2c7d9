// The statements of an exchange text, as read: the reader of the lines (a
// statement ends with the first line whose last character is ";", so values
// may span lines) and the parser of one statement into its parts. Both the
// check of a text and its run read it through here, so that they agree.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace gr::exchange {

// Object names "pp_N" take numbers below this bound.
inline constexpr std::uint32_t kObjectNumberBound = 1000000;

enum class Keyword {
  AddClass,
  AddRel,
  AddAttr,
  AddAssoc,
  AddCompos,
  AddObj,
  SetAttr,
  AddLink,
  SetPointer,
  End,
  Unknown
};

// One end of an association line: the class, and the role by which the
// class's objects are reached from the other end, with its multiplicity and
// ordered mark.
struct AssocEnd {
  std::string_view cls;
  std::string_view role;
  int multiplicity = 0;
  bool ordered = false;
};

// Why a statement of a known keyword can not be read.
enum class Problem { None, Malformed, NumberTooLarge };

// A statement split into its parts; the views point into the statement text.
struct Statement {
  Keyword keyword = Keyword::Unknown;
  Problem problem = Problem::None;
  std::string_view tooLarge;  // the object number beyond the bound

  std::string_view className;     // addClass (qualified), addRel, addAttr, addObj
  std::string_view other;         // the superclass of addRel
  std::string_view attribute;     // addAttr, setAttr
  int baseType = 0;               // addAttr: a BaseType_ code
  AssocEnd a, b;                  // addAssoc, addCompos
  std::uint32_t object = 0;       // addObj, setAttr, setPointerF; the start of addLink
  std::uint32_t target = 0;       // the end of addLink
  std::string_view role;          // addLink
  std::string_view value;         // setAttr, as written (String values with their quotes)
  std::string_view function;      // setPointerF
  std::string firstId, secondId;  // setPointerF's two arguments
};

// Splits TEXT (one statement, leading blanks removed, with its ";") into its
// parts. Keyword::End for "end;", Unknown for keywords the text may carry
// besides the statements (they are ignored).
Statement parseStatement(std::string_view text);

// "P::Q::Name" -> "Name".
std::string_view simpleName(std::string_view qualified);
// A class, attribute or role name: not empty, free of the delimiters.
bool isName(std::string_view name);
std::string_view trimmed(std::string_view s);
// A String value without its surrounding double quotes.
std::string_view unquoted(std::string_view value);

// Reads the statements of a text line by line, counting lines.
class StatementReader {
 public:
  explicit StatementReader(std::istream& in) : in_(in) {}

  // Skips the lines up to and including "begin;"; false when there is none.
  bool skipHeader();
  // The next statement with its leading blanks removed; false at the end of
  // the text. A statement the text ends inside is returned with CUTOFF set.
  bool next(std::string_view& statement, bool& cutOff);

  // The line the last statement started on (1-based), and the lines read.
  std::size_t statementLine() const { return statementLine_; }
  std::size_t linesRead() const { return lines_; }

 private:
  bool readLine(std::string& line);

  std::istream& in_;
  std::string statement_;
  std::string line_;
  std::size_t lines_ = 0;
  std::size_t statementLine_ = 0;
  bool crlf_ = false;
};

// Whether TEXT is valid UTF-8 without NUL characters.
bool isCleanText(std::string_view text);

}  // namespace gr::exchange
