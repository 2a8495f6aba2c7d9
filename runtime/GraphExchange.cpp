#include "runtime/GraphExchange.h"

#include <fstream>
#include <istream>
#include <string_view>
#include <unordered_map>

#include "platform/host.h"
#include "runtime/ExchangeCheck.h"
#include "runtime/ExchangeStatements.h"

namespace {

using namespace gr::exchange;

struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
};
template <class T>
using NameMap = std::unordered_map<std::string, T, NameHash, std::equal_to<>>;

std::string copyOf(const char* text) {
  return text ? std::string(text) : std::string();
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

RepId classNamed(std::string_view qualified) {
  return GetObjectTypeIdByName(std::string(simpleName(trimmed(qualified))).c_str());
}

struct AttributeOfClass {
  RepId id = 0;
  bool isString = false;
};

// Names looked up once per class: a text names the same few attributes and
// roles over and over.
struct ClassNames {
  NameMap<AttributeOfClass> attributes;
  NameMap<RepId> roles;
};

class Importer {
 public:
  explicit Importer(ExchangeImportReport& report) : report_(report) {}

  void run(std::istream& in) {
    StatementReader reader(in);
    if (!reader.skipHeader()) return;
    report_.begun = true;
    std::string_view text;
    bool cutOff = false;
    while (reader.next(text, cutOff)) {
      if (cutOff) {
        report_.skipped.emplace_back(text);
        return;
      }
      const Statement statement = parseStatement(text);
      if (statement.keyword == Keyword::End) {
        report_.ended = true;
        return;
      }
      ++report_.statements;
      execute(statement, text);
    }
  }

 private:
  enum class Outcome { Done, Skipped, Ignored };

  void execute(const Statement& s, std::string_view text) {
    const Outcome outcome = s.keyword == Keyword::Unknown ? Outcome::Ignored
                            : s.problem != Problem::None  ? Outcome::Skipped
                                                          : dispatch(s);
    switch (outcome) {
      case Outcome::Done:
        ++report_.executed;
        if (isDeclaration(s.keyword)) ++report_.declarations;
        break;
      case Outcome::Skipped:
        report_.skipped.emplace_back(text);
        break;
      case Outcome::Ignored:
        report_.ignored.emplace_back(text);
        break;
    }
  }

  static bool isDeclaration(Keyword keyword) {
    return keyword == Keyword::AddClass || keyword == Keyword::AddRel ||
           keyword == Keyword::AddAttr || keyword == Keyword::AddAssoc ||
           keyword == Keyword::AddCompos;
  }

  Outcome dispatch(const Statement& s) {
    switch (s.keyword) {
      case Keyword::AddClass:
        return addClass(s.className);
      case Keyword::AddRel:
        return addRel(s);
      case Keyword::AddAttr:
        return addAttr(s);
      case Keyword::AddAssoc:
        return addAssociation(s, false);
      case Keyword::AddCompos:
        return addAssociation(s, true);
      case Keyword::AddObj:
        return addObj(s);
      case Keyword::SetAttr:
        return setAttr(s);
      case Keyword::AddLink:
        return addLink(s);
      case Keyword::SetPointer:
        return setPointer(s);
      default:
        return Outcome::Ignored;
    }
  }

  // "P::Q::C" also places the class into the packages P and P::Q.
  Outcome addClass(std::string_view qualified) {
    const std::string name(simpleName(qualified));
    if (GetObjectTypeIdByName(name.c_str()) != 0) return Outcome::Done;
    const RepId cls = CreateObjectType(name.c_str());
    if (cls == 0) return Outcome::Skipped;
    classes_.clear();

    RepId package = 0;
    std::string_view path = qualified.substr(0, qualified.size() - name.size());
    while (path.size() > 2) {
      const auto sep = path.find("::");
      const std::string packageName(trimmed(path.substr(0, sep)));
      path.remove_prefix(sep + 2);
      RepId next = GetPackageIdByName(packageName.c_str());
      if (next == 0) next = CreatePackage(packageName.c_str(), package);
      if (next == 0) return Outcome::Skipped;
      package = next;
    }
    if (package != 0 && !SetPackage(cls, package)) return Outcome::Skipped;
    return Outcome::Done;
  }

  // "C.subClassOf.S"
  Outcome addRel(const Statement& s) {
    const RepId cls = classNamed(s.className);
    const RepId super = classNamed(s.other);
    if (cls == 0 || super == 0 || cls == super) return Outcome::Skipped;
    if (GetExtendsId(cls) == super) return Outcome::Done;
    if (ExtendsExtends(super, cls)) return Outcome::Skipped;  // would close a cycle
    const std::string name = copyOf(GetTypeName(cls));
    forgetNames();
    return UpdateObjectType(cls, name.c_str(), super) ? Outcome::Done : Outcome::Skipped;
  }

  // "C.a:T". Attributes are global in the store: a class that declares one
  // already known elsewhere gets that one, provided the types agree.
  Outcome addAttr(const Statement& s) {
    const RepId cls = classNamed(s.className);
    const std::string name(s.attribute);
    if (cls == 0) return Outcome::Skipped;
    if (GetPropertyTypeIdByName(cls, name.c_str()) != 0) return Outcome::Done;
    RepId attr = GetPropertyTypeIdByName(0, name.c_str());
    if (attr != 0) {
      if (GetPropertyBaseType(attr) != reportedBaseType(s.baseType)) return Outcome::Skipped;
    } else {
      attr = CreatePropertyType(name.c_str(), s.baseType);
      if (attr == 0) return Outcome::Skipped;
    }
    forgetNames();
    return AddPropertyType(cls, attr) ? Outcome::Done : Outcome::Skipped;
  }

  // Whether LINKTYPE already is the pair FROM --role--> TO with INVERSE.
  static bool samePair(RepId linkType, RepId from, RepId to, std::string_view inverse) {
    RepId start = 0;
    RepId end = 0;
    RepId inv = 0;
    if (!GetLinkTypeAttributes1(linkType, &start, &end, &inv)) return false;
    return start == from && end == to && copyOf(inv ? GetTypeName(inv) : "") == inverse;
  }

  // "A.[mA]rA/rB[mB].B": rA leads from B objects to A objects, rB back; for a
  // composition B is the whole. Declaring a pair that exists is no change.
  Outcome addAssociation(const Statement& s, bool composition) {
    const AssocEnd& a = s.a;
    const AssocEnd& b = s.b;
    const RepId clsA = classNamed(a.cls);
    const RepId clsB = classNamed(b.cls);
    if (clsA == 0 || clsB == 0) return Outcome::Skipped;
    const std::string roleA(a.role);
    const std::string roleB(b.role);
    const RepId existingA = roleA.empty() ? 0 : GetLinkTypeIdByName(clsB, roleA.c_str());
    const RepId existingB = roleB.empty() ? 0 : GetLinkTypeIdByName(clsA, roleB.c_str());
    if (existingA != 0 || existingB != 0) {
      const bool same = existingA != 0 ? samePair(existingA, clsB, clsA, roleB)
                                       : samePair(existingB, clsA, clsB, roleA);
      return same ? Outcome::Done : Outcome::Skipped;
    }
    forgetNames();
    const RepId linkType =
        CreateLinkType(clsB, roleA.c_str(), a.multiplicity, a.ordered ? 1 : 0, clsA, roleB.c_str(),
                       b.multiplicity, b.ordered ? 1 : 0, composition ? 1 : 0);
    return linkType != 0 ? Outcome::Done : Outcome::Skipped;
  }

  RepId slot(std::uint32_t n) const {
    if (n >= objects_.size()) return 0;
    const RepId object = objects_[n];
    return object != 0 && ObjectExists(object) ? object : 0;
  }

  void place(std::uint32_t n, RepId object) {
    if (n >= objects_.size()) objects_.resize(std::max<std::size_t>(n + 1, objects_.size() * 2), 0);
    objects_[n] = object;
  }

  RepId classOf(std::string_view qualified) {
    const std::string_view name = simpleName(qualified);
    const auto found = classIds_.find(name);
    if (found != classIds_.end()) return found->second;
    const RepId cls = GetObjectTypeIdByName(std::string(name).c_str());
    if (cls != 0) classIds_.emplace(std::string(name), cls);
    return cls;
  }

  // "pp_N:C"
  Outcome addObj(const Statement& s) {
    const RepId cls = classOf(s.className);
    if (cls == 0) return Outcome::Skipped;
    const RepId object = CreateObject(cls);
    if (object == 0) return Outcome::Skipped;
    if (report_.firstObject == 0) report_.firstObject = object;
    ++report_.objectsCreated;
    place(s.object, object);
    return Outcome::Done;
  }

  AttributeOfClass attributeOf(RepId cls, std::string_view name) {
    ClassNames& names = classes_[cls];
    const auto found = names.attributes.find(name);
    if (found != names.attributes.end()) return found->second;
    AttributeOfClass attr;
    attr.id = GetPropertyTypeIdByName(cls, std::string(name).c_str());
    attr.isString = attr.id != 0 && GetPropertyBaseType(attr.id) == REP_STRING;
    names.attributes.emplace(std::string(name), attr);
    return attr;
  }

  // A role of that name leading out of the class or one of its superclasses.
  RepId roleOf(RepId cls, std::string_view name) {
    ClassNames& names = classes_[cls];
    const auto found = names.roles.find(name);
    if (found != names.roles.end()) return found->second;
    const RepId role = GetLinkTypeIdByName(cls, std::string(name).c_str());
    names.roles.emplace(std::string(name), role);
    return role;
  }

  // "pp_N.a=v"; a String value is written between double quotes, which are
  // not part of it. Values are stored as they stand, without unescaping.
  Outcome setAttr(const Statement& s) {
    const RepId object = slot(s.object);
    if (object == 0) return Outcome::Skipped;
    const AttributeOfClass attr = attributeOf(GetObjectTypeId(object), s.attribute);
    if (attr.id == 0) return Outcome::Skipped;
    value_.assign(attr.isString ? unquoted(s.value) : s.value);
    if (!CheckPropertyValue(attr.id, value_.c_str())) return Outcome::Skipped;
    return AddProperty(object, attr.id, value_.c_str()) ? Outcome::Done : Outcome::Skipped;
  }

  // "pp_A.r.pp_B". A link the text names twice (once from each end) keeps the
  // place in the orders that it got first.
  Outcome addLink(const Statement& s) {
    const RepId from = slot(s.object);
    const RepId to = slot(s.target);
    if (from == 0 || to == 0) return Outcome::Skipped;
    const RepId linkType = roleOf(GetObjectTypeId(from), s.role);
    if (linkType == 0) return Outcome::Skipped;
    if (AlreadyConnected(linkType, from, to)) return Outcome::Done;
    return CreateLink(linkType, from, to) ? Outcome::Done : Outcome::Skipped;
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
      const RepId linkType = GetLinkTypeIdByName(GetObjectTypeId(owner), role);
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
  Outcome setPointer(const Statement& s) {
    const RepId found =
        s.function == "getCompartType"
            ? findTypedPartner("ElemType", "compartType", "CompartType", s.firstId, s.secondId)
            : findTypedPartner("ElemStyle", "compartStyle", "CompartStyle", s.firstId, s.secondId);
    if (found == 0) return Outcome::Skipped;
    place(s.object, found);
    return Outcome::Done;
  }

  // The metamodel changed: names looked up before may mean more now.
  void forgetNames() {
    classes_.clear();
    classIds_.clear();
  }

  ExchangeImportReport& report_;
  std::vector<RepId> objects_;
  NameMap<RepId> classIds_;
  std::unordered_map<RepId, ClassNames> classes_;
  std::string value_;
};

ExchangeImportReport& lastReport() {
  // Never freed: a host may end with the libraries that read it still loaded.
  static ExchangeImportReport* last = new ExchangeImportReport();
  return *last;
}

void keepAsLast(ExchangeImportReport& report) {
  report.run = lastReport().run + 1;
  lastReport() = report;
}

void refuse(ExchangeImportReport& report, const Refusal& refusal, const std::string& name) {
  report.refused = true;
  report.errorLine = refusal.line;
  report.error = refusal.reason;
  report.refusalMessage = name + ", line " + std::to_string(refusal.line) + ": " + refusal.reason +
                          ". Nothing was imported.";
}

}  // namespace

ExchangeImportReport importExchangeStream(std::istream& in, const std::string& name) {
  ExchangeImportReport report;
  report.fileOpened = true;
  const std::streampos start = in.tellg();
  if (const auto refusal = checkText(in)) {
    refuse(report, *refusal, name);
    GrShowMessageBox(report.refusalMessage.c_str());
  } else {
    in.clear();
    in.seekg(start);
    Importer(report).run(in);
  }
  keepAsLast(report);
  return report;
}

ExchangeImportReport importExchangeFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    ExchangeImportReport report;
    keepAsLast(report);
    GrShowMessageBox(("File not found - " + fileName).c_str());
    return report;
  }
  return importExchangeStream(in, fileName);
}

RepId import_metamodel_and_data(const std::string& fileName) {
  return importExchangeFile(fileName).firstObject;
}

const ExchangeImportReport& lastExchangeImport() {
  return lastReport();
}
