#include "runtime/ExchangeCheck.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/repository.h"
#include "runtime/ExchangeStatements.h"

namespace gr::exchange {
namespace {

struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
};
using NameSet = std::unordered_set<std::string, NameHash, std::equal_to<>>;
template <class T>
using NameMap = std::unordered_map<std::string, T, NameHash, std::equal_to<>>;

// What the text declares about one class before a statement uses it.
struct Declared {
  std::string super;  // empty: as in the store
  NameSet attributes;
  NameSet roles;  // roles leading out of the class
};

// A class that objects of the text belong to, with the answers found so far.
struct ObjectClass {
  std::string name;
  NameMap<bool> attributes;
  NameMap<bool> roles;
};

// Slot marks besides a class index: nothing yet, or an object of the store
// that setPointerF placed there (its class is known only when it runs).
constexpr std::uint32_t kEmpty = 0;
constexpr std::uint32_t kStoreObject = 0xFFFFFFFF;

// Guards the walk up a chain of superclasses that a text may make circular.
constexpr int kMaxClassDepth = 256;

std::string excerpt(std::string_view statement) {
  constexpr std::size_t kLength = 60;
  std::string shown;
  for (char c : statement.substr(0, kLength)) {
    if (c == '\n')
      shown += "\\n";
    else if (c != '\r')
      shown += c;
  }
  if (statement.size() > kLength) shown += "...";
  return shown;
}

std::string quoted(std::string_view name) {
  return "\"" + std::string(name) + "\"";
}

class TextCheck {
 public:
  explicit TextCheck(std::istream& in) : reader_(in) {}

  std::optional<Refusal> run() {
    if (!reader_.skipHeader())
      return refuse(std::max<std::size_t>(reader_.linesRead(), 1),
                    "not an exchange text: there is no line \"begin;\"");
    std::string_view text;
    bool cutOff = false;
    while (reader_.next(text, cutOff)) {
      line_ = reader_.statementLine();
      if (cutOff)
        return refuse(
            line_, "the text is cut off: the statement that starts here has no \";\" at its end");
      if (!isCleanText(text)) return refuse(line_, "the text is not valid UTF-8");
      const Statement statement = parseStatement(text);
      if (statement.keyword == Keyword::End) return std::nullopt;
      if (auto refusal = check(statement, text)) return refusal;
    }
    return refuse(std::max<std::size_t>(reader_.linesRead(), 1),
                  "the text is cut off: it ends without \"end;\"");
  }

 private:
  static std::optional<Refusal> refuse(std::size_t line, std::string reason) {
    return Refusal{line, std::move(reason)};
  }
  std::optional<Refusal> refuse(std::string reason) const { return refuse(line_, reason); }

  std::optional<Refusal> check(const Statement& s, std::string_view text) {
    if (s.keyword == Keyword::Unknown) return std::nullopt;
    if (s.problem == Problem::NumberTooLarge)
      return refuse("object number " + std::string(s.tooLarge) +
                    " is too large: object numbers are below 1,000,000");
    if (s.problem == Problem::Malformed)
      return refuse(quoted(excerpt(text)) + " is not a well-formed statement");
    switch (s.keyword) {
      case Keyword::AddClass:
        declared_[std::string(simpleName(s.className))];
        return std::nullopt;
      case Keyword::AddRel:
        return addRel(s);
      case Keyword::AddAttr:
        return addAttr(s);
      case Keyword::AddAssoc:
      case Keyword::AddCompos:
        return addAssociation(s);
      case Keyword::AddObj:
        return addObj(s);
      case Keyword::SetAttr:
        return setAttr(s);
      case Keyword::AddLink:
        return addLink(s);
      case Keyword::SetPointer:
        place(s.object, kStoreObject);
        return std::nullopt;
      default:
        return std::nullopt;
    }
  }

  bool classKnown(std::string_view name) const {
    if (declared_.find(name) != declared_.end()) return true;
    return GetObjectTypeIdByName(std::string(name).c_str()) != 0;
  }

  std::optional<Refusal> unknownClass(std::string_view qualified) const {
    const std::string_view name = simpleName(qualified);
    if (classKnown(name)) return std::nullopt;
    return refuse("the project has no class " + quoted(name));
  }

  std::optional<Refusal> addRel(const Statement& s) {
    if (auto refusal = unknownClass(s.className)) return refusal;
    if (auto refusal = unknownClass(s.other)) return refusal;
    const std::string_view name = simpleName(s.className);
    const std::string_view super = simpleName(s.other);
    if (name != super) declared_[std::string(name)].super = std::string(super);
    return std::nullopt;
  }

  std::optional<Refusal> addAttr(const Statement& s) {
    if (auto refusal = unknownClass(s.className)) return refusal;
    declared_[std::string(simpleName(s.className))].attributes.emplace(s.attribute);
    return std::nullopt;
  }

  // "A.[mA]rA/rB[mB].B": rA leads out of B, rB out of A.
  std::optional<Refusal> addAssociation(const Statement& s) {
    if (auto refusal = unknownClass(s.a.cls)) return refusal;
    if (auto refusal = unknownClass(s.b.cls)) return refusal;
    if (!s.a.role.empty()) declared_[std::string(simpleName(s.b.cls))].roles.emplace(s.a.role);
    if (!s.b.role.empty()) declared_[std::string(simpleName(s.a.cls))].roles.emplace(s.b.role);
    return std::nullopt;
  }

  std::optional<Refusal> addObj(const Statement& s) {
    if (auto refusal = unknownClass(s.className)) return refusal;
    if (s.object < slots_.size() && slots_[s.object] != kEmpty)
      return refuse("object pp_" + std::to_string(s.object) +
                    " is created a second time (first on line " + std::to_string(lines_[s.object]) +
                    ")");
    place(s.object, classIndex(simpleName(s.className)));
    return std::nullopt;
  }

  std::optional<Refusal> setAttr(const Statement& s) {
    const std::uint32_t cls = slot(s.object);
    if (cls == kEmpty || cls == kStoreObject) return std::nullopt;
    if (visible(cls, s.attribute, true)) return std::nullopt;
    return refuse("class " + quoted(classes_[cls - 1].name) + " has no attribute " +
                  quoted(s.attribute));
  }

  std::optional<Refusal> addLink(const Statement& s) {
    const std::uint32_t cls = slot(s.object);
    if (cls == kEmpty || cls == kStoreObject) return std::nullopt;
    if (visible(cls, s.role, false)) return std::nullopt;
    return refuse("class " + quoted(classes_[cls - 1].name) + " has no role " + quoted(s.role));
  }

  std::uint32_t slot(std::uint32_t object) const {
    return object < slots_.size() ? slots_[object] : kEmpty;
  }

  void place(std::uint32_t object, std::uint32_t mark) {
    if (object >= slots_.size()) {
      slots_.resize(object + 1, kEmpty);
      lines_.resize(object + 1, 0);
    }
    slots_[object] = mark;
    lines_[object] = static_cast<std::uint32_t>(line_);
  }

  // 1-based index of the class in classes_.
  std::uint32_t classIndex(std::string_view name) {
    const auto found = classIndex_.find(name);
    if (found != classIndex_.end()) return found->second;
    classes_.push_back(ObjectClass{std::string(name), {}, {}});
    const auto index = static_cast<std::uint32_t>(classes_.size());
    classIndex_.emplace(std::string(name), index);
    return index;
  }

  // Whether objects of the class see the attribute (or role) NAME: declared
  // by the text or known to the store, on the class or a superclass.
  bool visible(std::uint32_t cls, std::string_view name, bool attribute) {
    NameMap<bool>& answers = attribute ? classes_[cls - 1].attributes : classes_[cls - 1].roles;
    const auto known = answers.find(name);
    if (known != answers.end()) return known->second;
    const bool found = lookUp(classes_[cls - 1].name, std::string(name), attribute);
    answers.emplace(std::string(name), found);
    return found;
  }

  bool lookUp(std::string cls, const std::string& name, bool attribute) const {
    for (int depth = 0; depth < kMaxClassDepth && !cls.empty(); ++depth) {
      const auto declared = declared_.find(cls);
      if (declared != declared_.end()) {
        const NameSet& names = attribute ? declared->second.attributes : declared->second.roles;
        if (names.count(name)) return true;
      }
      const RepId id = GetObjectTypeIdByName(cls.c_str());
      if (id != 0 && (attribute ? GetPropertyTypeIdByName(id, name.c_str())
                                : GetLinkTypeIdByName(id, name.c_str())) != 0)
        return true;
      if (declared != declared_.end() && !declared->second.super.empty())
        cls = declared->second.super;
      else if (id != 0 && GetExtendsId(id) != 0)
        cls = GetTypeName(GetExtendsId(id));
      else
        cls.clear();
    }
    return false;
  }

  StatementReader reader_;
  std::size_t line_ = 0;
  NameMap<Declared> declared_;
  std::vector<ObjectClass> classes_;
  NameMap<std::uint32_t> classIndex_;
  std::vector<std::uint32_t> slots_;
  std::vector<std::uint32_t> lines_;
};

}  // namespace

std::optional<Refusal> checkText(std::istream& in) {
  return TextCheck(in).run();
}

}  // namespace gr::exchange
