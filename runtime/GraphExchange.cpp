#include "runtime/GraphExchange.h"

#include <charconv>
#include <fstream>
#include <istream>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/host.h"

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view trimmedLeft(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  return s;
}

// "P::Q::Name" -> "Name"; names elsewhere in the text are looked up by their
// simple name, as the store knows them.
std::string_view simpleName(std::string_view qualified) {
  const auto pos = qualified.rfind("::");
  return pos == std::string_view::npos ? qualified : qualified.substr(pos + 2);
}

// A usable class, attribute or role name: not empty, and free of the
// characters that delimit the statements.
bool isName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (isBlank(c) || c == '.' || c == '/' || c == '[' || c == ']' || c == '{' || c == '}' ||
        c == ';' || c == '=' || c == '(' || c == ')' || c == ',' || c == '"') {
      return false;
    }
  }
  return true;
}

std::string copyOf(const char* text) {
  return text ? std::string(text) : std::string();
}

RepId findClass(std::string_view name) {
  const std::string simple(simpleName(trimmed(name)));
  if (!isName(simple)) return 0;
  return GetObjectTypeIdByName(simple.c_str());
}

// Role of that name leading out of the class or, failing that, out of its
// superclasses, nearest first.
RepId findRole(RepId cls, const std::string& role) {
  for (RepId c = cls; c != 0; c = GetExtendsId(c)) {
    if (const RepId linkType = GetLinkTypeIdByName(c, role.c_str())) return linkType;
  }
  return 0;
}

std::optional<int> baseTypeCode(std::string_view type) {
  if (type == "String") return BaseType_STRING;
  if (type == "Integer") return BaseType_INTEGER;
  if (type == "Real") return BaseType_FLOAT;
  if (type == "Boolean") return BaseType_BOOLEAN;
  return std::nullopt;
}

// The base type GetPropertyBaseType reports for an attribute created with CODE.
int reportedBaseType(int code) {
  switch (code) {
    case BaseType_INTEGER:
      return REP_INTEGER;
    case BaseType_FLOAT:
      return REP_REAL;
    case BaseType_BOOLEAN:
      return REP_BOOLEAN;
    default:
      return REP_STRING;
  }
}

std::optional<int> multiplicityCode(std::string_view text) {
  if (text == "0..1") return REP_MULT_ZERO_ONE;
  if (text == "*" || text == "0..*") return REP_MULT_MANY;
  if (text == "1") return REP_MULT_ONE;
  if (text == "1..n" || text == "1..*") return REP_MULT_ONE_MANY;
  return std::nullopt;
}

constexpr std::string_view kOrdered = "{ordered}";

// One end of an association line: the class, and the role by which the
// class's objects are reached from the other end, with its multiplicity and
// ordered mark.
struct AssocEnd {
  std::string cls;
  std::string role;
  int multiplicity = REP_MULT_MANY;
  bool ordered = false;
};

// "[m]" at the front of TEXT; TEXT is advanced past it.
std::optional<int> takeMultiplicity(std::string_view& text) {
  if (text.empty() || text.front() != '[') return std::nullopt;
  const auto close = text.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  const auto code = multiplicityCode(trimmed(text.substr(1, close - 1)));
  text.remove_prefix(close + 1);
  return code;
}

std::optional<std::string> roleName(std::string_view text) {
  text = simpleName(trimmed(text));
  if (text.empty()) return std::string();
  if (!isName(text)) return std::nullopt;
  return std::string(text);
}

// "A.{ordered}[mA]rA/rB[mB]{ordered}.B", both ordered marks optional.
std::optional<std::pair<AssocEnd, AssocEnd>> parseAssociation(std::string_view arg) {
  const auto slash = arg.find('/');
  if (slash == std::string_view::npos || arg.find('/', slash + 1) != std::string_view::npos) {
    return std::nullopt;
  }
  std::string_view left = arg.substr(0, slash);
  std::string_view right = arg.substr(slash + 1);
  AssocEnd a;
  AssocEnd b;

  const auto dot = left.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  a.cls = std::string(trimmed(left.substr(0, dot)));
  left = trimmed(left.substr(dot + 1));
  if (left.starts_with(kOrdered)) {
    a.ordered = true;
    left = trimmed(left.substr(kOrdered.size()));
  }
  const auto multA = takeMultiplicity(left);
  const auto roleA = roleName(left);
  if (!multA || !roleA) return std::nullopt;
  a.multiplicity = *multA;
  a.role = *roleA;

  const auto open = right.find('[');
  const auto close = right.find(']');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
    return std::nullopt;
  }
  const auto roleB = roleName(right.substr(0, open));
  std::string_view rest = right.substr(open);
  const auto multB = takeMultiplicity(rest);
  if (!roleB || !multB) return std::nullopt;
  b.role = *roleB;
  b.multiplicity = *multB;
  rest = trimmed(rest);
  if (rest.starts_with(kOrdered)) {
    b.ordered = true;
    rest = trimmed(rest.substr(kOrdered.size()));
  }
  if (rest.empty() || rest.front() != '.') return std::nullopt;
  b.cls = std::string(trimmed(rest.substr(1)));
  if (a.role.empty() && b.role.empty()) return std::nullopt;
  return std::make_pair(a, b);
}

// "pp_N" -> N, when N is a slot of the object table.
std::optional<std::uint32_t> objectNumber(std::string_view name) {
  name = trimmed(name);
  if (!name.starts_with("pp_")) return std::nullopt;
  name.remove_prefix(3);
  std::uint32_t n = 0;
  const auto* end = name.data() + name.size();
  const auto [ptr, ec] = std::from_chars(name.data(), end, n);
  if (name.empty() || ec != std::errc() || ptr != end || n >= kExchangeObjectSlots) {
    return std::nullopt;
  }
  return n;
}

std::string_view unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// "x, y"; an argument may be a double-quoted text that holds commas.
std::optional<std::pair<std::string, std::string>> twoArguments(std::string_view args) {
  args = trimmed(args);
  std::string first;
  if (args.starts_with('"')) {
    const auto close = args.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    first = std::string(args.substr(1, close - 1));
    args = trimmed(args.substr(close + 1));
  } else {
    const auto comma = args.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    first = std::string(trimmed(args.substr(0, comma)));
    args = args.substr(comma);
  }
  if (!args.starts_with(',')) return std::nullopt;
  return std::make_pair(first, std::string(unquoted(trimmed(args.substr(1)))));
}

class Importer {
 public:
  explicit Importer(ExchangeImportReport& report) : report_(report) {}

  void run(std::istream& in) {
    if (!skipHeader(in)) return;
    report_.begun = true;
    std::string statement;
    while (readStatement(in, statement)) {
      const std::string_view text = trimmedLeft(statement);
      if (text == "end;") {
        report_.ended = true;
        return;
      }
      execute(text);
    }
  }

 private:
  enum class Outcome { Done, Skipped, Ignored };

  bool skipHeader(std::istream& in) {
    std::string line;
    while (std::getline(in, line)) {
      if (trimmed(line) == "begin;") {
        // A text written with CR LF line ends keeps them on every line.
        crlf_ = !line.empty() && line.back() == '\r';
        return true;
      }
    }
    return false;
  }

  bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (crlf_ && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }

  // A statement ends with the first line whose last character is ";"; the
  // lines before it belong to a value that holds line feeds.
  bool readStatement(std::istream& in, std::string& statement) {
    std::string line;
    if (!readLine(in, line)) return false;
    statement = line;
    while (statement.empty() || statement.back() != ';') {
      if (!readLine(in, line)) {
        if (!trimmed(statement).empty()) report_.skipped.push_back(statement);
        return false;
      }
      statement += '\n';
      statement += line;
    }
    return true;
  }

  void execute(std::string_view text) {
    const auto blank = text.find_first_of(" \t");
    const std::string_view body = text.substr(0, text.size() - 1);  // without ";"
    const std::string_view keyword = blank == std::string_view::npos ? body : body.substr(0, blank);
    const std::string_view arg =
        blank == std::string_view::npos ? std::string_view() : trimmedLeft(body.substr(blank + 1));

    Outcome outcome = Outcome::Ignored;
    if (keyword == "addClass")
      outcome = addClass(arg);
    else if (keyword == "addRel")
      outcome = addRel(arg);
    else if (keyword == "addAttr")
      outcome = addAttr(arg);
    else if (keyword == "addAssoc")
      outcome = addAssociation(arg, false);
    else if (keyword == "addCompos")
      outcome = addAssociation(arg, true);
    else if (keyword == "addObj")
      outcome = addObj(arg);
    else if (keyword == "setAttr")
      outcome = setAttr(arg);
    else if (keyword == "addLink")
      outcome = addLink(arg);
    else if (keyword == "setPointerF")
      outcome = setPointer(arg);

    switch (outcome) {
      case Outcome::Done:
        ++report_.executed;
        break;
      case Outcome::Skipped:
        report_.skipped.emplace_back(text);
        break;
      case Outcome::Ignored:
        report_.ignored.emplace_back(text);
        break;
    }
  }

  // "P::Q::C" also places the class into the packages P and P::Q.
  Outcome addClass(std::string_view arg) {
    const std::string_view qualified = trimmed(arg);
    const std::string name(simpleName(qualified));
    if (!isName(name)) return Outcome::Skipped;
    if (GetObjectTypeIdByName(name.c_str()) != 0) return Outcome::Done;
    const RepId cls = CreateObjectType(name.c_str());
    if (cls == 0) return Outcome::Skipped;

    RepId package = 0;
    std::string_view path = qualified.substr(0, qualified.size() - name.size());
    while (path.size() > 2) {
      const auto sep = path.find("::");
      const std::string packageName(path.substr(0, sep));
      path.remove_prefix(sep + 2);
      if (packageName.empty()) return Outcome::Skipped;
      RepId next = GetPackageIdByName(packageName.c_str());
      if (next == 0) next = CreatePackage(packageName.c_str(), package);
      if (next == 0) return Outcome::Skipped;
      package = next;
    }
    if (package != 0 && !SetPackage(cls, package)) return Outcome::Skipped;
    return Outcome::Done;
  }

  // "C.subClassOf.S"
  Outcome addRel(std::string_view arg) {
    arg = trimmed(arg);
    const auto first = arg.find('.');
    const auto last = arg.rfind('.');
    if (first == std::string_view::npos || first == last ||
        arg.substr(first + 1, last - first - 1) != "subClassOf") {
      return Outcome::Skipped;
    }
    const RepId cls = findClass(arg.substr(0, first));
    const RepId super = findClass(arg.substr(last + 1));
    if (cls == 0 || super == 0 || cls == super) return Outcome::Skipped;
    if (GetExtendsId(cls) == super) return Outcome::Done;
    if (ExtendsExtends(super, cls)) return Outcome::Skipped;  // would close a cycle
    const std::string name = copyOf(GetTypeName(cls));
    return UpdateObjectType(cls, name.c_str(), super) ? Outcome::Done : Outcome::Skipped;
  }

  // "C.a:T". Attributes are global in the store: a class that declares one
  // already known elsewhere gets that one, provided the types agree.
  Outcome addAttr(std::string_view arg) {
    arg = trimmed(arg);
    const auto dot = arg.find('.');
    if (dot == std::string_view::npos) return Outcome::Skipped;
    const std::string_view rest = arg.substr(dot + 1);
    const auto colon = rest.find(':');
    if (colon == std::string_view::npos) return Outcome::Skipped;
    const RepId cls = findClass(arg.substr(0, dot));
    const std::string name(trimmed(rest.substr(0, colon)));
    const auto code = baseTypeCode(trimmed(rest.substr(colon + 1)));
    if (cls == 0 || !isName(name) || !code) return Outcome::Skipped;

    if (GetPropertyTypeIdByName(cls, name.c_str()) != 0) return Outcome::Done;
    RepId attr = GetPropertyTypeIdByName(0, name.c_str());
    if (attr != 0) {
      if (GetPropertyBaseType(attr) != reportedBaseType(*code)) return Outcome::Skipped;
    } else {
      attr = CreatePropertyType(name.c_str(), *code);
      if (attr == 0) return Outcome::Skipped;
    }
    return AddPropertyType(cls, attr) ? Outcome::Done : Outcome::Skipped;
  }

  // Whether LINKTYPE already is the pair FROM --role--> TO with INVERSE.
  static bool samePair(RepId linkType, RepId from, RepId to, const std::string& inverse) {
    RepId start = 0;
    RepId end = 0;
    RepId inv = 0;
    if (!GetLinkTypeAttributes1(linkType, &start, &end, &inv)) return false;
    return start == from && end == to && copyOf(inv ? GetTypeName(inv) : "") == inverse;
  }

  // "A.[mA]rA/rB[mB].B": rA leads from B objects to A objects, rB back; for a
  // composition B is the whole. Declaring a pair that exists is no change.
  Outcome addAssociation(std::string_view arg, bool composition) {
    const auto ends = parseAssociation(trimmed(arg));
    if (!ends) return Outcome::Skipped;
    const auto& [a, b] = *ends;
    const RepId clsA = findClass(a.cls);
    const RepId clsB = findClass(b.cls);
    if (clsA == 0 || clsB == 0) return Outcome::Skipped;

    const RepId existingA = a.role.empty() ? 0 : GetLinkTypeIdByName(clsB, a.role.c_str());
    const RepId existingB = b.role.empty() ? 0 : GetLinkTypeIdByName(clsA, b.role.c_str());
    if (existingA != 0 || existingB != 0) {
      const bool same = existingA != 0 ? samePair(existingA, clsB, clsA, b.role)
                                       : samePair(existingB, clsA, clsB, a.role);
      return same ? Outcome::Done : Outcome::Skipped;
    }
    const RepId linkType =
        CreateLinkType(clsB, a.role.c_str(), a.multiplicity, a.ordered ? 1 : 0, clsA,
                       b.role.c_str(), b.multiplicity, b.ordered ? 1 : 0, composition ? 1 : 0);
    return linkType != 0 ? Outcome::Done : Outcome::Skipped;
  }

  RepId slot(std::uint32_t n) const {
    const auto it = objects_.find(n);
    return it == objects_.end() || !ObjectExists(it->second) ? 0 : it->second;
  }

  // "pp_N:C"
  Outcome addObj(std::string_view arg) {
    const auto colon = arg.find(':');
    if (colon == std::string_view::npos) return Outcome::Skipped;
    const auto n = objectNumber(arg.substr(0, colon));
    const RepId cls = findClass(arg.substr(colon + 1));
    if (!n || cls == 0) return Outcome::Skipped;
    const RepId object = CreateObject(cls);
    if (object == 0) return Outcome::Skipped;
    if (report_.firstObject == 0) report_.firstObject = object;
    objects_[*n] = object;
    return Outcome::Done;
  }

  // "pp_N.a=v"; a String value is written between double quotes, which are
  // not part of it. Values are stored as they stand, without unescaping.
  Outcome setAttr(std::string_view arg) {
    const auto dot = arg.find('.');
    if (dot == std::string_view::npos) return Outcome::Skipped;
    const std::string_view rest = arg.substr(dot + 1);
    const auto equals = rest.find('=');
    if (equals == std::string_view::npos) return Outcome::Skipped;
    const auto n = objectNumber(arg.substr(0, dot));
    const RepId object = n ? slot(*n) : 0;
    if (object == 0) return Outcome::Skipped;
    const std::string name(trimmed(rest.substr(0, equals)));
    const RepId attr = GetPropertyTypeIdByName(GetObjectTypeId(object), name.c_str());
    if (attr == 0) return Outcome::Skipped;
    std::string_view value = rest.substr(equals + 1);
    if (GetPropertyBaseType(attr) == REP_STRING) value = unquoted(value);
    const std::string text(value);
    if (!CheckPropertyValue(attr, text.c_str())) return Outcome::Skipped;
    return AddProperty(object, attr, text.c_str()) ? Outcome::Done : Outcome::Skipped;
  }

  // "pp_A.r.pp_B"
  Outcome addLink(std::string_view arg) {
    arg = trimmed(arg);
    const auto first = arg.find('.');
    const auto last = arg.rfind('.');
    if (first == std::string_view::npos || first == last) return Outcome::Skipped;
    const auto from = objectNumber(arg.substr(0, first));
    const auto to = objectNumber(arg.substr(last + 1));
    const std::string role(trimmed(arg.substr(first + 1, last - first - 1)));
    const RepId fromObject = from ? slot(*from) : 0;
    const RepId toObject = to ? slot(*to) : 0;
    if (fromObject == 0 || toObject == 0 || !isName(role)) return Outcome::Skipped;
    const RepId linkType = findRole(GetObjectTypeId(fromObject), role);
    if (linkType == 0) return Outcome::Skipped;
    return CreateLink(linkType, fromObject, toObject) ? Outcome::Done : Outcome::Skipped;
  }

  static std::string idOf(RepId object) {
    const RepId attr = GetPropertyTypeIdByName(GetObjectTypeId(object), "id");
    return attr == 0 ? std::string() : copyOf(GetPropertyValue(object, attr));
  }

  // The first partner over ROLE whose id is PARTID, of the first object of
  // OWNERCLASS whose id is OWNERID that has one.
  static RepId findTypedPartner(const char* ownerClass, const char* role, const char* partClass,
                                const std::string& ownerId, const std::string& partId) {
    const RepId owners = GetObjectTypeIdByName(ownerClass);
    const RepId parts = GetObjectTypeIdByName(partClass);
    if (owners == 0 || parts == 0) return 0;
    const std::uint32_t count = GetObjectNum(owners);
    for (std::uint32_t i = 0; i < count; ++i) {
      const RepId owner = GetObjectIdByIndex(owners, i);
      if (idOf(owner) != ownerId) continue;
      const RepId linkType = findRole(GetObjectTypeId(owner), role);
      if (linkType == 0) continue;
      const std::uint32_t partners = GetLinkedObjectNum(owner, linkType);
      for (std::uint32_t j = 0; j < partners; ++j) {
        const RepId part = GetLinkedObjectIdByIndex(owner, linkType, j);
        if (ExtendsExtends(GetObjectTypeId(part), parts) && idOf(part) == partId) return part;
      }
    }
    return 0;
  }

  // "pp_N = getCompartType(e, c)"; any other function name searches the
  // compartment styles of element styles instead.
  Outcome setPointer(std::string_view arg) {
    const auto equals = arg.find('=');
    const auto open = arg.find('(');
    const auto close = arg.rfind(')');
    if (equals == std::string_view::npos || open == std::string_view::npos ||
        close == std::string_view::npos || open < equals || close < open) {
      return Outcome::Skipped;
    }
    const auto n = objectNumber(arg.substr(0, equals));
    const std::string_view function = trimmed(arg.substr(equals + 1, open - equals - 1));
    const auto ids = twoArguments(arg.substr(open + 1, close - open - 1));
    if (!n || function.empty() || !ids) return Outcome::Skipped;
    const auto& [ownerId, partId] = *ids;

    const RepId found =
        function == "getCompartType"
            ? findTypedPartner("ElemType", "compartType", "CompartType", ownerId, partId)
            : findTypedPartner("ElemStyle", "compartStyle", "CompartStyle", ownerId, partId);
    if (found == 0) return Outcome::Skipped;
    objects_[*n] = found;
    return Outcome::Done;
  }

  ExchangeImportReport& report_;
  std::unordered_map<std::uint32_t, RepId> objects_;
  bool crlf_ = false;
};

}  // namespace

ExchangeImportReport importExchangeStream(std::istream& in) {
  ExchangeImportReport report;
  report.fileOpened = true;
  Importer(report).run(in);
  return report;
}

ExchangeImportReport importExchangeFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    GrShowMessageBox(("File not found - " + fileName).c_str());
    return {};
  }
  return importExchangeStream(in);
}

RepId import_metamodel_and_data(const std::string& fileName) {
  return importExchangeFile(fileName).firstObject;
}
