#include "repository/Metamodel.h"

#include <algorithm>

#include "repository/Errors.h"

namespace rep {

namespace {

const std::string kEmpty;

std::string quoted(std::string_view name) {
  return "\"" + std::string(name) + "\"";
}

bool isValidMultiplicity(int code) {
  return code >= REP_MULT_ZERO_ONE && code <= REP_MULT_ONE_MANY;
}

// The reported base type of a creation code; -1 for an unknown code.
int baseTypeOfCode(int code) {
  switch (code) {
    case BaseType_STRING:
    case BaseType_INTEGER:
    case BaseType_FLOAT:
    case BaseType_BOOLEAN:
      return code;
    case BaseType_ENUMERATION:
      return REP_ENUM;
    default:
      return -1;
  }
}

template <class T>
bool contains(const std::vector<T>& items, const T& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

template <class T>
void eraseItem(std::vector<T>& items, const T& item) {
  items.erase(std::remove(items.begin(), items.end(), item), items.end());
}

template <class Map>
std::vector<RepId> sortedKeys(const Map& map) {
  std::vector<RepId> keys;
  keys.reserve(map.size());
  for (const auto& entry : map) keys.push_back(entry.first);
  std::sort(keys.begin(), keys.end());
  return keys;
}

}  // namespace

// ---- lookups ------------------------------------------------------------

RepId Metamodel::lookup(const NameIndex& index, std::string_view name) {
  auto where = index.find(name);
  return where == index.end() ? 0 : where->second;
}

TypeKind Metamodel::kindOf(RepId id) const {
  if (classes_.count(id)) return TypeKind::Class;
  if (linkTypes_.count(id)) return TypeKind::LinkType;
  if (attributes_.count(id)) return TypeKind::Attribute;
  if (packages_.count(id)) return TypeKind::Package;
  return TypeKind::None;
}

RepId Metamodel::visibleAttribute(RepId classId, std::string_view name) const {
  for (const ClassRec* cls = findClass(classId); cls; cls = findClass(cls->superclass)) {
    for (RepId attr : cls->attributes) {
      if (attributes_.at(attr).name == name) return attr;
    }
  }
  return 0;
}

RepId Metamodel::visibleRole(RepId classId, std::string_view name) const {
  if (name.empty()) return 0;
  for (const ClassRec* cls = findClass(classId); cls; cls = findClass(cls->superclass)) {
    for (RepId linkType : cls->linkTypes) {
      if (linkTypes_.at(linkType).name == name) return linkType;
    }
  }
  return 0;
}

bool Metamodel::isAttributeVisible(RepId classId, RepId attr) const {
  for (const ClassRec* cls = findClass(classId); cls; cls = findClass(cls->superclass)) {
    if (contains(cls->attributes, attr)) return true;
  }
  return false;
}

bool Metamodel::extends(RepId sub, RepId super) const {
  if (sub == super) return sub != 0 && classes_.count(sub);
  for (const ClassRec* cls = findClass(sub); cls; cls = findClass(cls->superclass)) {
    if (cls->superclass == super) return true;
  }
  return false;
}

const std::string& Metamodel::nameOf(RepId id) const {
  if (const ClassRec* cls = findClass(id)) return cls->name;
  if (const LinkTypeRec* linkType = findLinkType(id)) return linkType->name;
  if (const AttributeRec* attr = findAttribute(id)) return attr->name;
  if (const PackageRec* package = findPackage(id)) return package->name;
  return kEmpty;
}

RepId Metamodel::packageOf(RepId id) const {
  if (const ClassRec* cls = findClass(id)) return cls->package;
  if (const LinkTypeRec* linkType = findLinkType(id)) return linkType->package;
  if (const AttributeRec* attr = findAttribute(id)) return attr->package;
  if (const PackageRec* package = findPackage(id)) return package->package;
  return 0;
}

RepId* Metamodel::packageSlot(RepId element) {
  if (ClassRec* cls = findClass(element)) return &cls->package;
  if (auto* linkType = findRecord(linkTypes_, element)) return &linkType->package;
  if (auto* attr = findRecord(attributes_, element)) return &attr->package;
  if (auto* package = findRecord(packages_, element)) return &package->package;
  return nullptr;
}

std::vector<RepId> Metamodel::classIds() const {
  return sortedKeys(classes_);
}

std::vector<RepId> Metamodel::attributeIds() const {
  return sortedKeys(attributes_);
}

std::vector<RepId> Metamodel::visibleAttributes(RepId classId) const {
  std::vector<const ClassRec*> chain;
  for (const ClassRec* cls = findClass(classId); cls; cls = findClass(cls->superclass)) {
    chain.push_back(cls);
  }
  std::vector<RepId> result;
  for (auto level = chain.rbegin(); level != chain.rend(); ++level) {
    for (RepId attr : (*level)->attributes) {
      if (!contains(result, attr)) result.push_back(attr);
    }
  }
  return result;
}

std::vector<RepId> Metamodel::visibleLinkTypes(RepId classId) const {
  std::vector<const ClassRec*> chain;
  for (const ClassRec* cls = findClass(classId); cls; cls = findClass(cls->superclass)) {
    chain.push_back(cls);
  }
  std::vector<RepId> result;
  for (auto level = chain.rbegin(); level != chain.rend(); ++level) {
    result.insert(result.end(), (*level)->linkTypes.begin(), (*level)->linkTypes.end());
  }
  return result;
}

std::vector<RepId> Metamodel::subtree(RepId classId) const {
  std::vector<RepId> result;
  std::vector<RepId> pending{classId};
  while (!pending.empty()) {
    RepId current = pending.back();
    pending.pop_back();
    const ClassRec* cls = findClass(current);
    if (!cls) continue;
    result.push_back(current);
    pending.insert(pending.end(), cls->subclasses.rbegin(), cls->subclasses.rend());
  }
  return result;
}

// ---- classes --------------------------------------------------------------

bool Metamodel::checkNewClassName(std::string_view name, RepId except) const {
  if (name.empty()) return refuse<bool>("a class name must not be empty");
  RepId holder = classByName(name);
  if (holder != 0 && holder != except) {
    return refuse<bool>("a class named " + quoted(name) + " exists already");
  }
  return true;
}

RepId Metamodel::createClass(std::string_view name, RepId superclass) {
  if (!checkNewClassName(name, 0)) return 0;
  if (superclass != 0 && !findClass(superclass)) return refuse<RepId>("no such superclass");
  RepId id = ids_.take();
  if (id == 0) return refuse<RepId>("the id space is exhausted");
  ClassRec& cls = classes_[id];
  cls.name = name;
  cls.superclass = superclass;
  classNames_.emplace(cls.name, id);
  changes_.markType(id);
  if (superclass != 0) {
    classes_.at(superclass).subclasses.push_back(id);
    changes_.markType(superclass);
  }
  return id;
}

bool Metamodel::renameClass(RepId classId, std::string_view name) {
  ClassRec* cls = findClass(classId);
  if (!cls) return refuse<bool>("no such class");
  if (!checkNewClassName(name, classId)) return false;
  if (cls->name == name) return true;
  classNames_.erase(cls->name);
  cls->name = name;
  classNames_.emplace(cls->name, classId);
  changes_.markType(classId);
  return true;
}

bool Metamodel::wouldCycle(RepId classId, RepId superclass) const {
  return superclass != 0 && extends(superclass, classId);
}

void Metamodel::unlinkFromSuperclass(RepId classId, RepId superclass) {
  if (ClassRec* super = findClass(superclass)) {
    eraseItem(super->subclasses, classId);
    changes_.markType(superclass);
  }
}

bool Metamodel::checkSuperclass(RepId classId, RepId superclass) const {
  const ClassRec* cls = findClass(classId);
  if (!cls) return refuse<bool>("no such class");
  if (superclass != 0 && !findClass(superclass)) return refuse<bool>("no such superclass");
  if (wouldCycle(classId, superclass)) {
    return refuse<bool>("class " + quoted(cls->name) + " cannot extend itself or its subclass");
  }
  return true;
}

bool Metamodel::setSuperclass(RepId classId, RepId superclass) {
  if (!checkSuperclass(classId, superclass)) return false;
  ClassRec& cls = classes_.at(classId);
  if (cls.superclass == superclass) return true;
  unlinkFromSuperclass(classId, cls.superclass);
  cls.superclass = superclass;
  if (superclass != 0) {
    classes_.at(superclass).subclasses.push_back(classId);
    changes_.markType(superclass);
  }
  changes_.markType(classId);
  return true;
}

bool Metamodel::updateClass(RepId classId, std::string_view name, RepId superclass) {
  if (!checkSuperclass(classId, superclass)) return false;
  if (name.empty()) return setSuperclass(classId, superclass);
  return checkNewClassName(name, classId) && renameClass(classId, name) &&
         setSuperclass(classId, superclass);
}

std::vector<RepId> Metamodel::linkTypesTouching(RepId classId) const {
  std::vector<RepId> touching;
  for (const auto& [id, linkType] : linkTypes_) {
    if (linkType.start == classId || linkType.end == classId) touching.push_back(id);
  }
  return touching;
}

bool Metamodel::deleteClass(RepId classId) {
  ClassRec* cls = findClass(classId);
  if (!cls) return refuse<bool>("no such class");
  if (!cls->subclasses.empty()) {
    return refuse<bool>("class " + quoted(cls->name) + " has subclasses");
  }
  for (RepId linkType : linkTypesTouching(classId)) dropLinkTypeRecord(linkType);
  unlinkFromSuperclass(classId, cls->superclass);
  classNames_.erase(cls->name);
  classes_.erase(classId);
  changes_.markType(classId);
  return true;
}

// ---- packages ---------------------------------------------------------------

RepId Metamodel::createPackage(std::string_view name, RepId parent) {
  if (name.empty()) return refuse<RepId>("a package name must not be empty");
  if (packageByName(name))
    return refuse<RepId>("a package named " + quoted(name) + " exists already");
  if (parent != 0 && !findPackage(parent)) return refuse<RepId>("no such parent package");
  RepId id = ids_.take();
  if (id == 0) return refuse<RepId>("the id space is exhausted");
  PackageRec& package = packages_[id];
  package.name = name;
  package.package = parent;
  packageNames_.emplace(package.name, id);
  changes_.markType(id);
  return id;
}

bool Metamodel::packageWouldCycle(RepId package, RepId parent) const {
  for (RepId current = parent; current != 0; current = packages_.at(current).package) {
    if (current == package) return true;
  }
  return false;
}

bool Metamodel::setPackage(RepId element, RepId package) {
  RepId* slot = packageSlot(element);
  if (!slot) return refuse<bool>("no such class, attribute, link type or package");
  if (package != 0 && !findPackage(package)) return refuse<bool>("no such package");
  if (findPackage(element) && packageWouldCycle(element, package)) {
    return refuse<bool>("a package cannot be placed into itself or its subpackage");
  }
  *slot = package;
  changes_.markType(element);
  // A link type and its inverse are one association: they share the package.
  if (const LinkTypeRec* linkType = findLinkType(element)) {
    linkTypes_.at(linkType->inverse).package = package;
    changes_.markType(linkType->inverse);
  }
  return true;
}

// ---- attributes --------------------------------------------------------------

RepId Metamodel::createAttribute(std::string_view name, int baseTypeCode,
                                 std::string_view enumTypeName) {
  if (name.empty()) return refuse<RepId>("an attribute name must not be empty");
  if (attributeByName(name)) {
    return refuse<RepId>("an attribute named " + quoted(name) + " exists already");
  }
  int baseType = baseTypeOfCode(baseTypeCode);
  if (baseType < 0) return refuse<RepId>("unknown base type code " + std::to_string(baseTypeCode));
  RepId id = ids_.take();
  if (id == 0) return refuse<RepId>("the id space is exhausted");
  AttributeRec& attr = attributes_[id];
  attr.name = name;
  attr.baseType = baseType;
  if (baseType == REP_ENUM) attr.enumTypeName = enumTypeName;
  attributeNames_.emplace(attr.name, id);
  changes_.markType(id);
  return id;
}

bool Metamodel::attachAttribute(RepId classId, RepId attr) {
  ClassRec* cls = findClass(classId);
  if (!cls) return refuse<bool>("no such class");
  if (!findAttribute(attr)) return refuse<bool>("no such attribute");
  if (isAttributeVisible(classId, attr)) {
    return refuse<bool>("class " + quoted(cls->name) + " has attribute " +
                        quoted(attributes_.at(attr).name) + " already");
  }
  cls->attributes.push_back(attr);
  changes_.markType(classId);
  return true;
}

bool Metamodel::detachAttribute(RepId classId, RepId attr) {
  ClassRec* cls = findClass(classId);
  if (!cls) return refuse<bool>("no such class");
  if (!contains(cls->attributes, attr))
    return refuse<bool>("the class does not own that attribute");
  eraseItem(cls->attributes, attr);
  changes_.markType(classId);
  return true;
}

bool Metamodel::deleteAttribute(RepId attr) {
  auto where = attributes_.find(attr);
  if (where == attributes_.end()) return refuse<bool>("no such attribute");
  for (auto& [id, cls] : classes_) {
    if (!contains(cls.attributes, attr)) continue;
    eraseItem(cls.attributes, attr);
    changes_.markType(id);
  }
  attributeNames_.erase(where->second.name);
  attributes_.erase(where);
  changes_.markType(attr);
  return true;
}

// ---- link types ----------------------------------------------------------------

bool Metamodel::checkRoleName(RepId classId, std::string_view name) const {
  if (name.empty() || !visibleRole(classId, name)) return true;
  return refuse<bool>("class " + quoted(classes_.at(classId).name) + " has a role " + quoted(name) +
                      " already");
}

RepId Metamodel::createLinkTypePair(const RoleSpec& role, const RoleSpec& inverse,
                                    bool composition) {
  if (!findClass(role.from) || !findClass(role.to)) return refuse<RepId>("no such class");
  if (!isValidMultiplicity(role.multiplicity) || !isValidMultiplicity(inverse.multiplicity)) {
    return refuse<RepId>("unknown multiplicity code");
  }
  if (role.name.empty() && inverse.name.empty()) {
    return refuse<RepId>("at least one role name must not be empty");
  }
  if (role.from == role.to && role.name == inverse.name) {
    return refuse<RepId>("the two roles of a class to itself need different names");
  }
  if (!checkRoleName(role.from, role.name) || !checkRoleName(role.to, inverse.name)) return 0;
  RepId forwardId = ids_.take();
  RepId backwardId = forwardId ? ids_.take() : 0;
  if (backwardId == 0) return refuse<RepId>("the id space is exhausted");
  auto makeRecord = [](const RoleSpec& spec, RepId inverseId, int compositionRole) {
    LinkTypeRec rec;
    rec.name = spec.name;
    rec.start = spec.from;
    rec.end = spec.to;
    rec.inverse = inverseId;
    rec.multiplicity = spec.multiplicity;
    rec.ordered = spec.ordered;
    rec.compositionRole = compositionRole;
    return rec;
  };
  linkTypes_.emplace(
      forwardId, makeRecord(role, backwardId, composition ? REP_COMPOS_WHOLE : REP_COMPOS_NONE));
  linkTypes_.emplace(
      backwardId, makeRecord(inverse, forwardId, composition ? REP_COMPOS_PART : REP_COMPOS_NONE));
  classes_.at(role.from).linkTypes.push_back(forwardId);
  classes_.at(role.to).linkTypes.push_back(backwardId);
  changes_.markType(forwardId);
  changes_.markType(backwardId);
  return forwardId;
}

void Metamodel::dropLinkTypeRecord(RepId linkType) {
  auto where = linkTypes_.find(linkType);
  if (where == linkTypes_.end()) return;
  if (ClassRec* start = findClass(where->second.start)) eraseItem(start->linkTypes, linkType);
  if (lastLinkTypeId_ == linkType) lastLinkTypeId_ = 0;
  linkTypes_.erase(where);
  changes_.markType(linkType);
}

bool Metamodel::deleteLinkTypePair(RepId linkType) {
  const LinkTypeRec* rec = findLinkType(linkType);
  if (!rec) return refuse<bool>("no such link type");
  RepId inverse = rec->inverse;
  dropLinkTypeRecord(linkType);
  dropLinkTypeRecord(inverse);
  return true;
}

// ---- restoring ------------------------------------------------------------------

bool Metamodel::restoredClassesConsistent() const {
  for (const auto& [id, cls] : classes_) {
    if (cls.superclass != 0 && !findClass(cls.superclass)) return false;
    if (cls.package != 0 && !findPackage(cls.package)) return false;
    if (!superclassChainEnds(id)) return false;
    if (cls.superclass != 0 && !contains(classes_.at(cls.superclass).subclasses, id)) return false;
    for (RepId sub : cls.subclasses) {
      const ClassRec* subclass = findClass(sub);
      if (!subclass || subclass->superclass != id) return false;
    }
    for (RepId attr : cls.attributes) {
      if (!findAttribute(attr)) return false;
    }
  }
  return true;
}

bool Metamodel::restoredLinkTypesConsistent() const {
  for (const auto& [id, linkType] : linkTypes_) {
    const LinkTypeRec* inverse = findLinkType(linkType.inverse);
    if (!inverse || inverse->inverse != id) return false;
    if (!findClass(linkType.start) || !findClass(linkType.end)) return false;
    if (inverse->start != linkType.end || inverse->end != linkType.start) return false;
  }
  return true;
}

bool Metamodel::restoredReferencesConsistent() const {
  for (const auto& [id, attr] : attributes_) {
    if (attr.package != 0 && !findPackage(attr.package)) return false;
  }
  for (const auto& [id, linkType] : linkTypes_) {
    if (linkType.package != 0 && !findPackage(linkType.package)) return false;
  }
  for (const auto& [id, package] : packages_) {
    if (package.package != 0 && !findPackage(package.package)) return false;
    if (!packageChainEnds(id)) return false;
  }
  return true;
}

// Walks at most as many steps as there are classes, so that a damaged file
// with a superclass cycle cannot hang the check.
bool Metamodel::superclassChainEnds(RepId classId) const {
  size_t steps = 0;
  for (const ClassRec* cls = findClass(classId); cls; cls = findClass(cls->superclass)) {
    if (++steps > classes_.size()) return false;
  }
  return true;
}

bool Metamodel::packageChainEnds(RepId package) const {
  size_t steps = 0;
  for (const PackageRec* current = findPackage(package); current;
       current = findPackage(current->package)) {
    if (++steps > packages_.size()) return false;
  }
  return true;
}

bool Metamodel::restoredIdsBelowCounter() const {
  auto below = [this](const auto& map) {
    for (const auto& entry : map) {
      if (entry.first == 0 || entry.first >= ids_.next()) return false;
    }
    return true;
  };
  return below(classes_) && below(attributes_) && below(linkTypes_) && below(packages_);
}

bool Metamodel::finishRestore() {
  for (const auto& [id, cls] : classes_) classNames_.emplace(cls.name, id);
  for (const auto& [id, attr] : attributes_) attributeNames_.emplace(attr.name, id);
  for (const auto& [id, package] : packages_) packageNames_.emplace(package.name, id);
  bool namesUnique = classNames_.size() == classes_.size() &&
                     attributeNames_.size() == attributes_.size() &&
                     packageNames_.size() == packages_.size();
  if (!namesUnique || !restoredIdsBelowCounter() || !restoredReferencesConsistent() ||
      !restoredClassesConsistent() || !restoredLinkTypesConsistent()) {
    return refuse<bool>("the store file holds an inconsistent metamodel");
  }
  for (RepId linkType : sortedKeys(linkTypes_)) {
    classes_.at(linkTypes_.at(linkType).start).linkTypes.push_back(linkType);
  }
  return true;
}

}  // namespace rep
