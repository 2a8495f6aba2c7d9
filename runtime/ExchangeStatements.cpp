#include "runtime/ExchangeStatements.h"

#include <charconv>
#include <optional>

#include "platform/repository.h"

namespace gr::exchange {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmedLeft(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::optional<int> baseTypeCode(std::string_view type) {
  if (type == "String") return BaseType_STRING;
  if (type == "Integer") return BaseType_INTEGER;
  if (type == "Real") return BaseType_FLOAT;
  if (type == "Boolean") return BaseType_BOOLEAN;
  return std::nullopt;
}

std::optional<int> multiplicityCode(std::string_view text) {
  if (text == "0..1") return REP_MULT_ZERO_ONE;
  if (text == "*" || text == "0..*") return REP_MULT_MANY;
  if (text == "1") return REP_MULT_ONE;
  if (text == "1..n" || text == "1..*") return REP_MULT_ONE_MANY;
  return std::nullopt;
}

constexpr std::string_view kOrdered = "{ordered}";

bool isClassName(std::string_view qualified) {
  return isName(simpleName(trimmed(qualified)));
}

// "[m]" at the front of TEXT; TEXT is advanced past it.
std::optional<int> takeMultiplicity(std::string_view& text) {
  if (text.empty() || text.front() != '[') return std::nullopt;
  const auto close = text.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  const auto code = multiplicityCode(trimmed(text.substr(1, close - 1)));
  text.remove_prefix(close + 1);
  return code;
}

// A role of an association line; empty is allowed (one-way navigation).
std::optional<std::string_view> roleName(std::string_view text) {
  text = simpleName(trimmed(text));
  if (text.empty()) return text;
  if (!isName(text)) return std::nullopt;
  return text;
}

// "A.{ordered}[mA]rA/rB[mB]{ordered}.B", both ordered marks optional.
bool parseAssociation(std::string_view arg, AssocEnd& a, AssocEnd& b) {
  const auto slash = arg.find('/');
  if (slash == std::string_view::npos || arg.find('/', slash + 1) != std::string_view::npos)
    return false;
  std::string_view left = arg.substr(0, slash);
  std::string_view right = arg.substr(slash + 1);

  const auto dot = left.find('.');
  if (dot == std::string_view::npos) return false;
  a.cls = trimmed(left.substr(0, dot));
  left = trimmed(left.substr(dot + 1));
  if (left.starts_with(kOrdered)) {
    a.ordered = true;
    left = trimmed(left.substr(kOrdered.size()));
  }
  const auto multA = takeMultiplicity(left);
  const auto roleA = roleName(left);
  if (!multA || !roleA) return false;
  a.multiplicity = *multA;
  a.role = *roleA;

  const auto open = right.find('[');
  const auto close = right.find(']');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open)
    return false;
  const auto roleB = roleName(right.substr(0, open));
  std::string_view rest = right.substr(open);
  const auto multB = takeMultiplicity(rest);
  if (!roleB || !multB) return false;
  b.role = *roleB;
  b.multiplicity = *multB;
  rest = trimmed(rest);
  if (rest.starts_with(kOrdered)) {
    b.ordered = true;
    rest = trimmed(rest.substr(kOrdered.size()));
  }
  if (rest.empty() || rest.front() != '.') return false;
  b.cls = trimmed(rest.substr(1));
  return isClassName(a.cls) && isClassName(b.cls) && !(a.role.empty() && b.role.empty());
}

// "pp_N" -> N. A well-formed number at or beyond the bound is told apart.
Problem objectNumber(std::string_view name, std::uint32_t& number, Statement& statement) {
  name = trimmed(name);
  if (!name.starts_with("pp_")) return Problem::Malformed;
  name.remove_prefix(3);
  if (name.empty()) return Problem::Malformed;
  for (char c : name)
    if (c < '0' || c > '9') return Problem::Malformed;
  std::uint64_t n = 0;
  const auto [ptr, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
  if (ec != std::errc() || n >= kObjectNumberBound) {
    statement.tooLarge = name;
    return Problem::NumberTooLarge;
  }
  number = static_cast<std::uint32_t>(n);
  return Problem::None;
}

// "x, y"; an argument may be a double-quoted text that holds commas.
bool twoArguments(std::string_view args, std::string& first, std::string& second) {
  args = trimmed(args);
  if (args.starts_with('"')) {
    const auto close = args.find('"', 1);
    if (close == std::string_view::npos) return false;
    first = std::string(args.substr(1, close - 1));
    args = trimmed(args.substr(close + 1));
  } else {
    const auto comma = args.find(',');
    if (comma == std::string_view::npos) return false;
    first = std::string(trimmed(args.substr(0, comma)));
    args = args.substr(comma);
  }
  if (!args.starts_with(',')) return false;
  second = std::string(unquoted(trimmed(args.substr(1))));
  return true;
}

Keyword keywordOf(std::string_view word) {
  if (word == "addClass") return Keyword::AddClass;
  if (word == "addRel") return Keyword::AddRel;
  if (word == "addAttr") return Keyword::AddAttr;
  if (word == "addAssoc") return Keyword::AddAssoc;
  if (word == "addCompos") return Keyword::AddCompos;
  if (word == "addObj") return Keyword::AddObj;
  if (word == "setAttr") return Keyword::SetAttr;
  if (word == "addLink") return Keyword::AddLink;
  if (word == "setPointerF") return Keyword::SetPointer;
  return Keyword::Unknown;
}

// Each parser reads the argument (the text after the keyword, without the
// final ";") and tells whether it has the statement's form.

bool parseAddClass(std::string_view arg, Statement& s) {
  s.className = trimmed(arg);
  if (!isName(simpleName(s.className))) return false;
  // Every package of "P::Q::C" must have a name.
  std::string_view path = s.className;
  for (auto sep = path.find("::"); sep != std::string_view::npos; sep = path.find("::")) {
    if (trimmed(path.substr(0, sep)).empty()) return false;
    path.remove_prefix(sep + 2);
  }
  return true;
}

// "C.subClassOf.S"
bool parseAddRel(std::string_view arg, Statement& s) {
  arg = trimmed(arg);
  const auto first = arg.find('.');
  const auto last = arg.rfind('.');
  if (first == std::string_view::npos || first == last ||
      arg.substr(first + 1, last - first - 1) != "subClassOf")
    return false;
  s.className = trimmed(arg.substr(0, first));
  s.other = trimmed(arg.substr(last + 1));
  return isClassName(s.className) && isClassName(s.other);
}

// "C.a:T"
bool parseAddAttr(std::string_view arg, Statement& s) {
  arg = trimmed(arg);
  const auto dot = arg.find('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view rest = arg.substr(dot + 1);
  const auto colon = rest.find(':');
  if (colon == std::string_view::npos) return false;
  s.className = trimmed(arg.substr(0, dot));
  s.attribute = trimmed(rest.substr(0, colon));
  const auto code = baseTypeCode(trimmed(rest.substr(colon + 1)));
  if (!code) return false;
  s.baseType = *code;
  return isClassName(s.className) && isName(s.attribute);
}

// "pp_N:C"
Problem parseAddObj(std::string_view arg, Statement& s) {
  const auto colon = arg.find(':');
  if (colon == std::string_view::npos) return Problem::Malformed;
  s.className = trimmed(arg.substr(colon + 1));
  if (!isClassName(s.className)) return Problem::Malformed;
  return objectNumber(arg.substr(0, colon), s.object, s);
}

// "pp_N.a=v"
Problem parseSetAttr(std::string_view arg, Statement& s) {
  const auto dot = arg.find('.');
  if (dot == std::string_view::npos) return Problem::Malformed;
  const std::string_view rest = arg.substr(dot + 1);
  const auto equals = rest.find('=');
  if (equals == std::string_view::npos) return Problem::Malformed;
  s.attribute = trimmed(rest.substr(0, equals));
  s.value = rest.substr(equals + 1);
  if (!isName(s.attribute)) return Problem::Malformed;
  return objectNumber(arg.substr(0, dot), s.object, s);
}

// "pp_A.r.pp_B"
Problem parseAddLink(std::string_view arg, Statement& s) {
  arg = trimmed(arg);
  const auto first = arg.find('.');
  const auto last = arg.rfind('.');
  if (first == std::string_view::npos || first == last) return Problem::Malformed;
  s.role = trimmed(arg.substr(first + 1, last - first - 1));
  if (!isName(s.role)) return Problem::Malformed;
  const Problem from = objectNumber(arg.substr(0, first), s.object, s);
  if (from != Problem::None) return from;
  return objectNumber(arg.substr(last + 1), s.target, s);
}

// "pp_N = f(e, c)"
Problem parseSetPointer(std::string_view arg, Statement& s) {
  const auto equals = arg.find('=');
  const auto open = arg.find('(');
  const auto close = arg.rfind(')');
  if (equals == std::string_view::npos || open == std::string_view::npos ||
      close == std::string_view::npos || open < equals || close < open)
    return Problem::Malformed;
  s.function = trimmed(arg.substr(equals + 1, open - equals - 1));
  if (s.function.empty() ||
      !twoArguments(arg.substr(open + 1, close - open - 1), s.firstId, s.secondId))
    return Problem::Malformed;
  return objectNumber(arg.substr(0, equals), s.object, s);
}

Problem parseArgument(std::string_view arg, Statement& s) {
  auto form = [](bool ok) { return ok ? Problem::None : Problem::Malformed; };
  switch (s.keyword) {
    case Keyword::AddClass:
      return form(parseAddClass(arg, s));
    case Keyword::AddRel:
      return form(parseAddRel(arg, s));
    case Keyword::AddAttr:
      return form(parseAddAttr(arg, s));
    case Keyword::AddAssoc:
    case Keyword::AddCompos:
      return form(parseAssociation(trimmed(arg), s.a, s.b));
    case Keyword::AddObj:
      return parseAddObj(arg, s);
    case Keyword::SetAttr:
      return parseSetAttr(arg, s);
    case Keyword::AddLink:
      return parseAddLink(arg, s);
    case Keyword::SetPointer:
      return parseSetPointer(arg, s);
    default:
      return Problem::None;
  }
}

}  // namespace

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view simpleName(std::string_view qualified) {
  const auto pos = qualified.rfind("::");
  return pos == std::string_view::npos ? qualified : qualified.substr(pos + 2);
}

bool isName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (isBlank(c) || c == '.' || c == '/' || c == '[' || c == ']' || c == '{' || c == '}' ||
        c == ';' || c == '=' || c == '(' || c == ')' || c == ',' || c == '"' || c == ':')
      return false;
  }
  return true;
}

std::string_view unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    return value.substr(1, value.size() - 2);
  return value;
}

Statement parseStatement(std::string_view text) {
  Statement s;
  if (text == "end;") {
    s.keyword = Keyword::End;
    return s;
  }
  const std::string_view body = text.substr(0, text.size() - 1);  // without ";"
  const auto blank = body.find_first_of(" \t\r\n");
  const std::string_view word = blank == std::string_view::npos ? body : body.substr(0, blank);
  s.keyword = keywordOf(word);
  if (s.keyword == Keyword::Unknown) return s;
  const std::string_view arg =
      blank == std::string_view::npos ? std::string_view() : trimmedLeft(body.substr(blank + 1));
  s.problem = parseArgument(arg, s);
  return s;
}

bool StatementReader::readLine(std::string& line) {
  if (!std::getline(in_, line)) return false;
  ++lines_;
  if (crlf_ && !line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool StatementReader::skipHeader() {
  while (std::getline(in_, line_)) {
    ++lines_;
    if (trimmed(line_) == "begin;") {
      // A text written with CR LF line ends keeps them on every line.
      crlf_ = !line_.empty() && line_.back() == '\r';
      return true;
    }
  }
  return false;
}

bool StatementReader::next(std::string_view& statement, bool& cutOff) {
  cutOff = false;
  if (!readLine(statement_)) return false;
  std::size_t firstLine = lines_;
  while (statement_.empty() || statement_.back() != ';') {
    if (!readLine(line_)) {
      cutOff = !trimmed(statement_).empty();
      if (!cutOff) return false;
      break;
    }
    statement_ += '\n';
    statement_ += line_;
  }
  std::string_view text(statement_);
  while (!text.empty() && isBlank(text.front())) {
    if (text.front() == '\n') ++firstLine;
    text.remove_prefix(1);
  }
  statementLine_ = firstLine;
  statement = text;
  return true;
}

bool isCleanText(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c == 0) return false;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int length = 0;
    std::uint32_t code = 0;
    if ((c & 0xE0) == 0xC0) {
      length = 2;
      code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3;
      code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4;
      code = c & 0x07;
    } else {
      return false;
    }
    if (end - p < length) return false;
    for (int i = 1; i < length; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      code = (code << 6) | (p[i] & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return false;
    p += length;
  }
  return true;
}

}  // namespace gr::exchange
