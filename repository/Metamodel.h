// Classes, attributes (global property types attached to classes), link type
// pairs and packages. Changes are checked here and reported to the change set;
// what they mean for objects, links and values is the store's business.
#ifndef GR_REPOSITORY_METAMODEL_H
#define GR_REPOSITORY_METAMODEL_H

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/repository.h"
#include "repository/ChangeSet.h"
#include "repository/IdSpace.h"
#include "repository/InstanceList.h"

namespace rep {

enum class TypeKind : uint8_t { None, Class, Attribute, LinkType, Package };

struct ClassRec {
  std::string name;
  RepId superclass = 0;
  RepId package = 0;
  std::vector<RepId> subclasses;  // direct ones, in the order they became subclasses
  std::vector<RepId> attributes;  // own ones, in attach order
  std::vector<RepId> linkTypes;   // own ones leading out of the class, in creation order
  InstanceList instances;         // kept by the store
};

struct AttributeRec {
  std::string name;
  int baseType = REP_STRING;  // REP_STRING..REP_ENUM
  std::string enumTypeName;
  RepId package = 0;
};

struct LinkTypeRec {
  std::string name;
  RepId start = 0;
  RepId end = 0;
  RepId inverse = 0;
  int multiplicity = REP_MULT_MANY;  // of the end side
  bool ordered = false;              // of the end side
  int compositionRole = REP_COMPOS_NONE;
  RepId package = 0;
};

struct PackageRec {
  std::string name;
  RepId package = 0;  // the parent package
};

// One side of a link type pair as CreateLinkType describes it.
struct RoleSpec {
  RepId from = 0;
  std::string_view name;
  int multiplicity = REP_MULT_MANY;
  bool ordered = false;
  RepId to = 0;
};

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
using NameIndex = std::unordered_map<std::string, RepId, StringHash, std::equal_to<>>;

// The record of ID in MAP, nullptr when absent.
template <class Map>
auto findRecord(Map& map, RepId id) -> decltype(&map.begin()->second) {
  auto where = map.find(id);
  return where == map.end() ? nullptr : &where->second;
}

class Metamodel {
 public:
  Metamodel(IdSpace& ids, ChangeSet& changes) : ids_(ids), changes_(changes) {}

  // ---- lookups (no error reporting: a miss is an answer)
  TypeKind kindOf(RepId id) const;
  const ClassRec* findClass(RepId id) const { return findRecord(classes_, id); }
  ClassRec* findClass(RepId id) { return findRecord(classes_, id); }
  const AttributeRec* findAttribute(RepId id) const { return findRecord(attributes_, id); }
  // CreateLink asks for the same link type over and over; a hit is kept (a
  // record never moves while it exists).
  const LinkTypeRec* findLinkType(RepId id) const {
    if (id == lastLinkTypeId_ && id != 0) return lastLinkType_;
    const LinkTypeRec* rec = findRecord(linkTypes_, id);
    if (rec) {
      lastLinkTypeId_ = id;
      lastLinkType_ = rec;
    }
    return rec;
  }
  const PackageRec* findPackage(RepId id) const { return findRecord(packages_, id); }
  // For ids known to exist.
  ClassRec& classAt(RepId id) { return classes_.at(id); }
  const LinkTypeRec& linkTypeAt(RepId id) const { return linkTypes_.at(id); }

  RepId classByName(std::string_view name) const { return lookup(classNames_, name); }
  RepId attributeByName(std::string_view name) const { return lookup(attributeNames_, name); }
  RepId packageByName(std::string_view name) const { return lookup(packageNames_, name); }
  // Nearest first: the class's own, then its superclass's, ...
  RepId visibleAttribute(RepId classId, std::string_view name) const;
  RepId visibleRole(RepId classId, std::string_view name) const;
  bool isAttributeVisible(RepId classId, RepId attr) const;
  // SUB is SUPER or a transitive subclass of it.
  bool extends(RepId sub, RepId super) const;

  // "" when ID names no type.
  const std::string& nameOf(RepId id) const;
  RepId packageOf(RepId id) const;

  std::vector<RepId> classIds() const;
  std::vector<RepId> attributeIds() const;
  // Superclass's first; each id once.
  std::vector<RepId> visibleAttributes(RepId classId) const;
  std::vector<RepId> visibleLinkTypes(RepId classId) const;
  // Link types that start or end at the class, with their inverses.
  std::vector<RepId> linkTypesTouching(RepId classId) const;
  // The class and its transitive subclasses, depth first, the class first.
  std::vector<RepId> subtree(RepId classId) const;

  // ---- changes: 0 / false with RepLastError set when refused
  RepId createClass(std::string_view name, RepId superclass);
  bool renameClass(RepId classId, std::string_view name);
  bool setSuperclass(RepId classId, RepId superclass);
  // Both or nothing; an empty NAME keeps the name.
  bool updateClass(RepId classId, std::string_view name, RepId superclass);
  // The caller has made sure that no object of the class is alive.
  bool deleteClass(RepId classId);

  RepId createPackage(std::string_view name, RepId parent);
  bool setPackage(RepId element, RepId package);

  RepId createAttribute(std::string_view name, int baseTypeCode, std::string_view enumTypeName);
  bool attachAttribute(RepId classId, RepId attr);
  bool detachAttribute(RepId classId, RepId attr);
  bool deleteAttribute(RepId attr);

  RepId createLinkTypePair(const RoleSpec& role, const RoleSpec& inverse, bool composition);
  // The caller has removed the links of the pair.
  bool deleteLinkTypePair(RepId linkType);

  // ---- loading from the store file
  void restoreClass(RepId id, ClassRec rec) { classes_.emplace(id, std::move(rec)); }
  void restoreAttribute(RepId id, AttributeRec rec) { attributes_.emplace(id, std::move(rec)); }
  void restoreLinkType(RepId id, LinkTypeRec rec) { linkTypes_.emplace(id, std::move(rec)); }
  void restorePackage(RepId id, PackageRec rec) { packages_.emplace(id, std::move(rec)); }
  // Rebuilds the indexes; false (with RepLastError) when the rows do not
  // form a consistent metamodel.
  bool finishRestore();

 private:
  static RepId lookup(const NameIndex& index, std::string_view name);

  bool checkNewClassName(std::string_view name, RepId except) const;
  bool checkRoleName(RepId classId, std::string_view name) const;
  bool wouldCycle(RepId classId, RepId superclass) const;
  bool checkSuperclass(RepId classId, RepId superclass) const;
  bool packageWouldCycle(RepId package, RepId parent) const;
  void unlinkFromSuperclass(RepId classId, RepId superclass);
  void dropLinkTypeRecord(RepId linkType);
  RepId* packageSlot(RepId element);
  bool superclassChainEnds(RepId classId) const;
  bool packageChainEnds(RepId package) const;
  bool restoredIdsBelowCounter() const;
  bool restoredClassesConsistent() const;
  bool restoredLinkTypesConsistent() const;
  bool restoredReferencesConsistent() const;

  IdSpace& ids_;
  ChangeSet& changes_;
  std::unordered_map<RepId, ClassRec> classes_;
  std::unordered_map<RepId, AttributeRec> attributes_;
  std::unordered_map<RepId, LinkTypeRec> linkTypes_;
  mutable RepId lastLinkTypeId_ = 0;
  mutable const LinkTypeRec* lastLinkType_ = nullptr;
  std::unordered_map<RepId, PackageRec> packages_;
  NameIndex classNames_;
  NameIndex attributeNames_;
  NameIndex packageNames_;
};

}  // namespace rep

#endif
