#include "runtime/MetamodelOperations.h"

#include <optional>
#include <vector>

#include "runtime/InternalError.h"
#include "runtime/Logger.h"
#include "runtime/MessageSink.h"
#include "runtime/strRoutine.h"

namespace gr::metamodel {
namespace {

const char* const kSource = "runtime/MetamodelOperations.cpp";

std::string quoted(const std::string& s) {
  return "\"" + s + "\"";
}

void refuse(const std::string& text) {
  showMessageBox(text);
}

std::string simpleName(const std::string& qualified) {
  return strRoutine::splitQualifiedName(qualified).name;
}

RepId classId(const std::string& qualified) {
  return RepositoryUser::getObjectTypeIdByName(simpleName(qualified));
}

int baseTypeOf(RepId attr) {
  return GetPropertyBaseType(attr);
}

// ---- packages

// The package path resolved without changing anything: the id of each
// package that exists, 0 for one still to be made. Refused (with its
// message) when an existing package sits under another parent than the path
// says, or a name is empty.
std::optional<std::vector<RepId>> planPackages(const std::vector<std::string>& path) {
  std::vector<RepId> ids;
  RepId parent = 0;
  std::string parentName;
  bool parentIsNew = false;
  for (const std::string& name : path) {
    if (name.empty()) {
      refuse("Can not create package " + quoted(name) + ".");
      return std::nullopt;
    }
    RepId existing = RepositoryUser::getPackageIdByName(name);
    if (existing != 0 && (parentIsNew || GetPackageOf(existing) != parent)) {
      refuse("Can not place package " + quoted(name) + " to package" + quoted(parentName) + ".");
      return std::nullopt;
    }
    ids.push_back(existing);
    parentIsNew = existing == 0;
    parent = existing;
    parentName = name;
  }
  return ids;
}

// Creates the packages the plan lacks; the innermost package, 0 for none.
RepId makePackages(const std::vector<std::string>& path, std::vector<RepId> plan) {
  RepId parent = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (plan[i] == 0) {
      plan[i] = RepositoryUser::createPackage(path[i], parent);
      if (plan[i] == 0) {
        refuse("Can not create package " + quoted(path[i]) + ".");
        return 0;
      }
    }
    parent = plan[i];
  }
  return parent;
}

bool place(ElementKind kind, RepId element, const std::string& elementName, RepId package) {
  if (package == 0 || RepositoryUser::setPackage(element, package)) return true;
  refuse("Can not place " + kindName(kind) + " " + quoted(elementName) + " to package " +
         quoted(RepositoryUser::getTypeName(package)) + ".");
  return false;
}

// ---- attributes

void attributeNotAdded(const std::string& attrName, const std::string& className) {
  refuse("Attribute " + quoted(attrName) + " was not added to class " + quoted(className) + ".");
}

// A new global attribute; 0 (with its message) when refused.
RepId createGlobalAttribute(const std::string& attrName, int baseType) {
  if (!RepositoryUser::isElementaryBaseType(baseType))
    internalError("RepositoryUser::isElementaryBaseType(baseType_prm)", kSource);
  if (attrName.empty()) {
    refuse("Attribute name can not be empty");
    return 0;
  }
  if (RepositoryUser::getPropertyTypeIdByName(0, attrName) != 0) {
    refuse("Attribute " + quoted(attrName) + " already exists.");
    return 0;
  }
  RepId attr = CreatePropertyType(attrName.c_str(), baseType);
  if (attr == 0) refuse("Attribute " + quoted(attrName) + " was not created.");
  return attr;
}

// Attaches ATTR to the class; a global attribute made for it goes again
// when the class refuses it.
bool attach(RepId cls, const std::string& className, RepId attr, const std::string& attrName,
            bool attrIsNew) {
  if (!RepositoryUser::typeExists(attr)) {
    refuse("Attribute " + quoted(attrName) + " does not exist.");
    return false;
  }
  if (RepositoryUser::addAttributeToClass(cls, attr)) return true;
  if (attrIsNew) RepositoryUser::deleteAttribute(attr);
  attributeNotAdded(attrName, className);
  return false;
}

// ---- iteration state
struct ClassIteration {
  IdVector ids;
  int position = badInd;
};
struct AttrIteration {
  std::string className;
  IdVector ids;
  int position = badInd;
};
ClassIteration& classIteration() {
  static ClassIteration state;
  return state;
}
AttrIteration& attrIteration() {
  static AttrIteration state;
  return state;
}

bool isValidMultiplicity(int code) {
  return code >= REP_MULT_ZERO_ONE && code <= REP_MULT_ONE_MANY;
}

}  // namespace

std::string kindName(ElementKind kind) {
  switch (kind) {
    case ElementKind::Class:
      return "class";
    case ElementKind::Attribute:
      return "attribute";
    case ElementKind::Association:
      return "association";
  }
  internalError("element kind is class, attribute or association", kSource);
}

const std::string& placeholderClassName() {
  static const std::string name = [] {
    const std::string alphabet = "L0C1a2s3N4m5e6";
    std::string letters;
    for (std::size_t i = 0; i < 100; ++i) letters += alphabet[i % alphabet.size()];
    return letters + "_L0_Class_Name_prefix";
  }();
  return name;
}

// ---- classes

bool addClass(const std::string& qualifiedName) {
  if (qualifiedName.empty()) {
    refuse("Class name can not be empty.");
    return false;
  }
  strRoutine::QualifiedName parts = strRoutine::splitQualifiedName(qualifiedName);
  if (parts.name.empty()) {
    refuse("Class name can not be empty.");
    return false;
  }
  if (RepositoryUser::classExists(parts.name)) {
    refuse("Class " + quoted(qualifiedName) + " already exists.");
    return false;
  }
  const std::string& placeholder = placeholderClassName();
  if (RepositoryUser::classExists(placeholder))
    internalError("placeholder class name free", kSource);
  std::optional<std::vector<RepId>> plan = planPackages(parts.packages);
  if (!plan) return false;
  RepId package = makePackages(parts.packages, *plan);
  if (!parts.packages.empty() && package == 0) return false;
  RepId cls = CreateObjectType1(placeholder.c_str(), 0);
  if (cls == 0) {
    refuse("Class " + quoted(qualifiedName) + " was not created.");
    return false;
  }
  if (!place(ElementKind::Class, cls, parts.name, package) ||
      !UpdateObjectType1(cls, parts.name.c_str())) {
    RepositoryUser::deleteClass(cls);
    return false;
  }
  return true;
}

bool classExists(const std::string& className) {
  return RepositoryUser::classExists(simpleName(className));
}

bool isStrictSubclass(const std::string& a, const std::string& b) {
  return RepositoryUser::isStrictSubclassByName(simpleName(a), simpleName(b));
}

bool renameClass(const std::string& className, const std::string& newName) {
  RepId cls = classId(className);
  std::string name = simpleName(newName);
  if (cls == 0) {
    refuse("Class " + quoted(className) + " does not exist.");
    return false;
  }
  if (name.empty()) {
    refuse("Class name can not be empty.");
    return false;
  }
  if (RepositoryUser::classExists(name)) {
    refuse("Class " + quoted(name) + " already exists.");
    return false;
  }
  if (!UpdateObjectType1(cls, name.c_str())) {
    refuse("Class " + quoted(className) + " was not renamed.");
    return false;
  }
  return true;
}

bool deleteClass(const std::string& className) {
  RepId cls = classId(className);
  if (cls == 0) {
    refuse("Class " + quoted(className) + " does not exist.");
    return false;
  }
  if (RepositoryUser::getObjectNum(cls) != 0) {
    refuse("Class " + quoted(className) + " has objects and was not deleted.");
    return false;
  }
  if (RepositoryUser::getSubClassIds(cls).size() > 1) {
    refuse("Class " + quoted(className) + " has subclasses and was not deleted.");
    return false;
  }
  if (!RepositoryUser::deleteClass(cls)) {
    refuse("Class " + quoted(className) + " was not deleted.");
    return false;
  }
  return true;
}

// ---- attributes

bool addAttr(const std::string& className, const std::string& attrName, int baseType) {
  RepId cls = classId(className);
  if (cls == 0) {
    refuse("Class " + quoted(className) + " does not exist.\n Can not connect attribute " +
           quoted(attrName) + ".");
    return false;
  }
  if (RepId own = RepositoryUser::getPropertyTypeIdByName(cls, attrName)) {
    if (RepositoryUser::baseTypesMatch(baseTypeOf(own), baseType)) return true;
    refuse("Error. Incompatible attribute types.\nClass " + quoted(className) +
           " already has attribute \"" + attrName + ".\n Attribute type redefinition requested.");
    return false;
  }
  if (RepId global = RepositoryUser::getPropertyTypeIdByName(0, attrName)) {
    if (!RepositoryUser::baseTypesMatch(baseTypeOf(global), baseType)) {
      refuse("Error. Incompatible attribute types.\nGlobal attribute " + quoted(attrName) +
             " type redefinition requested.");
      return false;
    }
    return attach(cls, className, global, attrName, false);
  }
  RepId attr = createGlobalAttribute(attrName, baseType);
  return attr != 0 && attach(cls, className, attr, attrName, true);
}

bool existsAttr(const std::string& className, const std::string& attrName,
                const std::string& typeName) {
  return RepositoryUser::attributeHasType(simpleName(className), attrName, typeName);
}

bool removeAttr(const std::string& className, const std::string& attrName) {
  RepId cls = classId(className);
  if (cls == 0) {
    refuse("Class " + quoted(className) + " does not exist.");
    return false;
  }
  RepId attr = RepositoryUser::getPropertyTypeIdByName(0, attrName);
  if (attr == 0) {
    refuse("Attribute " + quoted(attrName) + " does not exist.");
    return false;
  }
  if (!RepositoryUser::removeAttributeFromClass(cls, attr)) {
    refuse("Attribute " + quoted(attrName) + " was not removed from class " + quoted(className) +
           ".");
    return false;
  }
  return true;
}

bool renameAttr(const std::string& className, const std::string& attrName,
                const std::string& newName) {
  RepId cls = classId(className);
  RepId old = cls ? RepositoryUser::getPropertyTypeIdByName(cls, attrName) : 0;
  if (old == 0) {
    refuse("Class " + quoted(className) + " has no attribute " + quoted(attrName) + ".");
    return false;
  }
  if (RepositoryUser::getPropertyTypeIdByName(cls, newName) != 0) {
    refuse("Class " + quoted(className) + " already has attribute " + quoted(newName) + ".");
    return false;
  }
  RepId global = RepositoryUser::getPropertyTypeIdByName(0, newName);
  if (global != 0 && !RepositoryUser::baseTypesMatch(baseTypeOf(global), baseTypeOf(old))) {
    refuse("Error. Incompatible attribute types.\nGlobal attribute " + quoted(newName) +
           " type redefinition requested.");
    return false;
  }
  if (!addAttr(className, newName, baseTypeOf(old))) return false;
  RepId renamed = RepositoryUser::getPropertyTypeIdByName(cls, newName);
  for (RepId each : RepositoryUser::getSubClassIds(cls))
    for (uint32_t i = 0, n = RepositoryUser::getObjectNum(each); i < n; ++i) {
      ObjID object = RepositoryUser::getObjectIdByIndex(each, i);
      if (RepositoryUser::getObjectTypeId(object) != each) continue;
      std::string value = RepositoryUser::getProperty(object, old);
      if (!value.empty()) RepositoryUser::setProperty(object, renamed, value);
    }
  return removeAttr(className, attrName);
}

// ---- associations

RepId addAssoc(const std::string& classA, const std::string& roleA, int multiplicityA,
               const std::string& classB, const std::string& roleB, int multiplicityB,
               bool composition) {
  if (!isValidMultiplicity(multiplicityA) || !isValidMultiplicity(multiplicityB))
    internalError("valid multiplicity codes", kSource);
  RepId a = classId(classA);
  RepId b = classId(classB);
  for (const auto& [id, name] : {std::pair{a, classA}, std::pair{b, classB}})
    if (id == 0) {
      reportRuntimeError("Class " + quoted(name) + " does not exist.");
      return 0;
    }
  auto failed = [&] {
    refuse("Association " + quoted(roleA) + "/" + quoted(roleB) + " between classes " +
           quoted(classA) + " " + quoted(classB) + " was not created.");
    return RepId{0};
  };
  if (roleA.empty() && roleB.empty()) {
    refuse("At least one role name must not be empty.");
    return failed();
  }
  strRoutine::QualifiedName rA = strRoutine::splitQualifiedName(roleA);
  strRoutine::QualifiedName rB = strRoutine::splitQualifiedName(roleB);
  if (!roleA.empty() && !roleB.empty() && rA.packages != rB.packages) {
    refuse("Assoc and inverse assoc can not be placed in different packages.");
    return failed();
  }
  // Role rA is seen from B's objects, rB from A's: either name taken there
  // would make the pair ambiguous.
  if ((!rA.name.empty() && RepositoryUser::getLinkTypeIdByName(b, rA.name) != 0) ||
      (!rB.name.empty() && RepositoryUser::getLinkTypeIdByName(a, rB.name) != 0))
    return failed();
  const std::vector<std::string>& path = roleA.empty() ? rB.packages : rA.packages;
  std::optional<std::vector<RepId>> plan = planPackages(path);
  if (!plan) return failed();
  RepId linkType = RepositoryUser::createLinkType(b, rA.name, multiplicityA, a, rB.name,
                                                  multiplicityB, composition);
  if (linkType == 0) return failed();
  RepId package = makePackages(path, *plan);
  if ((!path.empty() && package == 0) ||
      !place(ElementKind::Association, linkType, rA.name.empty() ? rB.name : rA.name, package)) {
    RepositoryUser::deleteLinkType(linkType);
    return failed();
  }
  return linkType;
}

bool roleExists(const std::string& className, const std::string& roleName) {
  RepId cls = classId(className);
  return cls != 0 && RepositoryUser::getLinkTypeIdByName(cls, simpleName(roleName)) != 0;
}

bool roleIsComposition(const std::string& className, const std::string& roleName) {
  return RepositoryUser::isComposition(simpleName(className), simpleName(roleName));
}

std::string endClassOfRole(const std::string& className, const std::string& roleName) {
  RepId cls = classId(className);
  RepId linkType = cls ? RepositoryUser::getLinkTypeIdByName(cls, simpleName(roleName)) : 0;
  RepId start = 0, end = 0, inverse = 0;
  if (linkType == 0 || !GetLinkTypeAttributes1(linkType, &start, &end, &inverse)) return "";
  return RepositoryUser::getTypeName(end);
}

bool deleteAssoc(const std::string& className, const std::string& roleName) {
  RepId cls = classId(className);
  RepId linkType = cls ? RepositoryUser::getLinkTypeIdByName(cls, simpleName(roleName)) : 0;
  if (linkType == 0) {
    refuse("Class " + quoted(className) + " has no role " + quoted(roleName) + ".");
    return false;
  }
  if (!RepositoryUser::deleteLinkType(linkType)) {
    refuse("Association " + quoted(roleName) + " of class " + quoted(className) +
           " was not deleted.");
    return false;
  }
  return true;
}

// ---- generalisations

bool addRel(const std::string& className, const std::string& superclassName) {
  RepId cls = classId(className);
  RepId super = classId(superclassName);
  if (cls == 0 || super == 0 || !RepositoryUser::setSuperclass(cls, super)) {
    refuse("Generalization between classes " + quoted(className) + " " + quoted(superclassName) +
           " was not created.");
    return false;
  }
  return true;
}

bool deleteRel(const std::string& className, const std::string& superclassName) {
  RepId cls = classId(className);
  RepId super = classId(superclassName);
  if (cls == 0 || super == 0 || GetExtendsId(cls) != super ||
      !RepositoryUser::setSuperclass(cls, 0)) {
    refuse("Generalization between classes " + quoted(className) + " " + superclassName +
           "\" was not deleted.");
    return false;
  }
  return true;
}

// ---- iteration

bool firstClass(std::string& className) {
  ClassIteration& state = classIteration();
  state.ids = RepositoryUser::getAllClassIds();
  state.position = badInd;
  return nextClass(className);
}

// A class deleted since the list was taken is passed over.
bool nextClass(std::string& className) {
  ClassIteration& state = classIteration();
  while (state.position + 1 < static_cast<int>(state.ids.size())) {
    ++state.position;
    std::string name = RepositoryUser::getTypeName(state.ids[state.position]);
    if (name.empty()) continue;
    className = name;
    return true;
  }
  return false;
}

bool firstAttr(const std::string& className, std::string& attrName, std::string& typeName) {
  AttrIteration& state = attrIteration();
  state.className = className;
  state.ids.clear();
  if (classId(className) != 0)
    state.ids = RepositoryUser::getOwnAttributeIds(simpleName(className));
  state.position = badInd;
  return nextAttr(className, attrName, typeName);
}

bool nextAttr(const std::string& className, std::string& attrName, std::string& typeName) {
  AttrIteration& state = attrIteration();
  if (state.className != className) return false;
  while (state.position + 1 < static_cast<int>(state.ids.size())) {
    RepId attr = state.ids[++state.position];
    std::string name = RepositoryUser::getTypeName(attr);
    if (name.empty()) continue;
    attrName = name;
    typeName = RepositoryUser::baseTypeName(attr);
    return true;
  }
  return false;
}

}  // namespace gr::metamodel
