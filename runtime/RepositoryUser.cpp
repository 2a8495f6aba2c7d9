#include "runtime/RepositoryUser.h"

#include <algorithm>

#include "runtime/InternalError.h"
#include "runtime/L0_ObjectIDListS.h"
#include "runtime/Logger.h"
#include "runtime/MessageSink.h"
#include "runtime/PartnerListCache.h"
#include "runtime/strRoutine.h"

namespace {
const char* const kSource = "runtime/RepositoryUser.cpp";

std::string quoted(const std::string& s) {
  return "\"" + s + "\"";
}
}  // namespace

IdVector RepositoryUser::takeList(RepIdList* list) {
  IdVector ids;
  if (!list) return ids;
  uint32_t count = RepIdListCount(list);
  ids.reserve(count);
  for (uint32_t i = 0; i < count; ++i) ids.push_back(RepIdListItem(list, i));
  RepIdListFree(list);
  return ids;
}

// ---- names and lookups

RepId RepositoryUser::getObjectTypeIdByName(const std::string& className) {
  return GetObjectTypeIdByName(className.c_str());
}

RepId RepositoryUser::getPropertyTypeIdByName(RepId classId, const std::string& attrName) {
  return GetPropertyTypeIdByName(classId, attrName.c_str());
}

RepId RepositoryUser::getLinkTypeIdByName(RepId classId, const std::string& roleName) {
  return GetLinkTypeIdByName(classId, roleName.c_str());
}

RepId RepositoryUser::getInverseLinkTypeId(RepId linkType) {
  return GetInverseLinkTypeId(linkType);
}

std::string RepositoryUser::getTypeName(RepId typeId) {
  const char* name = GetTypeName(typeId);
  return name ? name : "";
}

bool RepositoryUser::typeExists(RepId typeId) {
  const char* name = GetTypeName(typeId);
  return name && *name;
}

bool RepositoryUser::classExists(const std::string& className) {
  return getObjectTypeIdByName(className) != 0;
}

bool RepositoryUser::attributeExists(const std::string& className, const std::string& attrName) {
  RepId classId = getObjectTypeIdByName(className);
  return classId != 0 && getPropertyTypeIdByName(classId, attrName) != 0;
}

bool RepositoryUser::attributeHasType(const std::string& className, const std::string& attrName,
                                      const std::string& typeName) {
  RepId classId = getObjectTypeIdByName(className);
  if (classId == 0) return false;
  RepId attr = getPropertyTypeIdByName(classId, attrName);
  if (attr == 0) return false;
  int baseType = REP_STRING;
  const char* enumName = nullptr;
  GetPropertyTypeAttributes(attr, &baseType, &enumName);
  if (baseType == REP_ENUM) return enumName && typeName == enumName;
  return baseTypesMatch(baseType, baseTypeCode(typeName));
}

bool RepositoryUser::isComposition(const std::string& className, const std::string& roleName) {
  RepId classId = getObjectTypeIdByName(className);
  if (classId == 0) return false;
  RepId linkType = getLinkTypeIdByName(classId, roleName);
  if (linkType == 0) return false;
  int kind = 0;
  int compositionRole = 0;
  GetLinkTypeAttributes2(linkType, &kind, &compositionRole);
  return compositionRole == REP_COMPOS_WHOLE;
}

// ---- class hierarchy

namespace {
void appendSubtree(RepId classId, IdVector& out) {
  RepIdList* subclasses = GetExtensionIdList(classId);
  if (subclasses) {
    uint32_t count = RepIdListCount(subclasses);
    for (uint32_t i = 0; i < count; ++i) appendSubtree(RepIdListItem(subclasses, i), out);
    RepIdListFree(subclasses);
  }
  out.push_back(classId);
}
}  // namespace

IdVector RepositoryUser::getSubClassIds(RepId classId) {
  IdVector ids;
  if (classId != 0) appendSubtree(classId, ids);
  return ids;
}

IdVector RepositoryUser::getSubClassIds(const std::string& className) {
  return getSubClassIds(getObjectTypeIdByName(className));
}

bool RepositoryUser::isSubclass(RepId a, RepId b) {
  return a != 0 && b != 0 && ExtendsExtends(b, a) != 0;
}

bool RepositoryUser::isStrictSubclassByName(const std::string& a, const std::string& b) {
  if (a == b) return false;
  RepId idA = getObjectTypeIdByName(a);
  RepId idB = getObjectTypeIdByName(b);
  if (idA == 0 || idB == 0) return false;
  return isSubclass(idA, idB);
}

IdVector RepositoryUser::getAllClassIds() {
  return takeList(GetObjectTypeIdList());
}

namespace {
// What the class lists minus what its superclass lists too.
IdVector ownOnly(RepId classId, RepIdList* (*listOf)(RepId), const char* classCondition,
                 const char* superCondition) {
  RepIdList* all = listOf(classId);
  if (!all) internalError(classCondition, kSource);
  IdVector ids;
  uint32_t count = RepIdListCount(all);
  for (uint32_t i = 0; i < count; ++i) ids.push_back(RepIdListItem(all, i));
  RepIdListFree(all);
  RepId superclass = GetExtendsId(classId);
  if (superclass == 0) return ids;
  RepIdList* inherited = listOf(superclass);
  if (!inherited) internalError(superCondition, kSource);
  IdVector superIds;
  uint32_t superCount = RepIdListCount(inherited);
  for (uint32_t i = 0; i < superCount; ++i) superIds.push_back(RepIdListItem(inherited, i));
  RepIdListFree(inherited);
  std::erase_if(ids, [&](RepId id) {
    return std::find(superIds.begin(), superIds.end(), id) != superIds.end();
  });
  return ids;
}
}  // namespace

IdVector RepositoryUser::getOwnLinkTypeIds(const std::string& className) {
  return ownOnly(getObjectTypeIdByName(className), GetLinkTypeIdList, "cl_linkIDs",
                 "supCl_linkIDs");
}

IdVector RepositoryUser::getOwnAttributeIds(const std::string& className) {
  return ownOnly(getObjectTypeIdByName(className), GetPropertyTypeIdList, "cl_attrIDs",
                 "supCl_attrIDs");
}

// A link type belongs to every class that extends its start class.
bool RepositoryUser::linkTypeOfClass(RepId linkType, RepId classId) {
  RepId start = 0;
  RepId end = 0;
  RepId inverse = 0;
  if (!GetLinkTypeAttributes1(linkType, &start, &end, &inverse)) return false;
  return classId != 0 && ExtendsExtends(classId, start) != 0;
}

// ---- base types

std::string RepositoryUser::baseTypeNameOfCode(int baseType) {
  switch (baseType) {
    case REP_STRING:
      return "String";
    case REP_INTEGER:
      return "Integer";
    case REP_REAL:
      return "Real";
    case REP_BOOLEAN:
      return "Boolean";
    case REP_ENUM:
      return "Enum";
    default:
      return "";
  }
}

std::string RepositoryUser::baseTypeName(RepId attr) {
  return baseTypeNameOfCode(GetPropertyBaseType(attr));
}

int RepositoryUser::baseTypeCode(const std::string& typeName) {
  if (typeName == "Integer") return BaseType_INTEGER;
  if (typeName == "Real") return BaseType_FLOAT;
  if (typeName == "Boolean") return BaseType_BOOLEAN;
  if (typeName == "String") return BaseType_STRING;
  return BaseType_ENUMERATION;
}

// ---- changes

ObjID RepositoryUser::createObject(RepId classId) {
  return L0_ObjectIDListS::instance().addObject(classId);
}

bool RepositoryUser::createLink(RepId linkType, ObjID from, ObjID to) {
  if (PartnerListCache::instance().createLink(linkType, from, to)) return true;
  gr::showMessageBox("Can not create link.");
  return false;
}

bool RepositoryUser::deleteObject(ObjID object) {
  if (!DeleteObjectHard(object)) internalError("deleted", kSource);
  return true;
}

bool RepositoryUser::deleteLink(RepId linkType, ObjID from, ObjID to) {
  if (linkType == 0 || from == badObjID || to == badObjID)
    internalError("linkType && from && to", kSource);
  // Nothing to delete is not a refusal.
  if (!AlreadyConnected(linkType, from, to)) return false;
  if (!DeleteLink(linkType, from, to)) internalError("deleted", kSource);
  return true;
}

bool RepositoryUser::setProperty(ObjID object, RepId attr, const std::string& value) {
  if (!CheckPropertyValue(attr, value.c_str())) {
    if (attr == 0)
      reportRuntimeError("Value " + quoted(value) + " was not written: no such attribute.");
    else
      reportRuntimeError("Value " + quoted(value) + " is not a valid " + baseTypeName(attr) +
                         " value of attribute " + quoted(getTypeName(attr)) + ".");
    return false;
  }
  if (!AddProperty(object, attr, value.c_str())) internalError("result", kSource);
  return true;
}

std::string RepositoryUser::getProperty(ObjID object, RepId attr) {
  const char* value = GetPropertyValue(object, attr);
  return value ? value : "";
}

// ---- metamodel changes

RepId RepositoryUser::createClass(const std::string& name) {
  RepId existing = getObjectTypeIdByName(name);
  if (existing != 0) return existing;
  RepId id = CreateObjectType1(name.c_str(), 0);
  if (id == 0) {
    gr::showMessageBox("Class " + quoted(name) + " was not created.");
    internalError("Object type creation failed.", kSource);
  }
  return id;
}

RepId RepositoryUser::createAttribute(const std::string& name, int code) {
  if (!isElementaryBaseType(code) && code != BaseType_ENUMERATION)
    internalError("valid base type code", kSource);
  RepId existing = getPropertyTypeIdByName(0, name);
  if (existing != 0) return existing;
  RepId id = CreatePropertyType(name.c_str(), code);
  if (id == 0) internalError("newID", kSource);
  return id;
}

RepId RepositoryUser::createLinkType(RepId startClass, const std::string& role, int multiplicity,
                                     RepId endClass, const std::string& inverseRole,
                                     int inverseMultiplicity, bool composition) {
  return createLinkType(startClass, role, multiplicity, false, endClass, inverseRole,
                        inverseMultiplicity, false, composition);
}

RepId RepositoryUser::createLinkType(RepId startClass, const std::string& role, int multiplicity,
                                     bool ordered, RepId endClass, const std::string& inverseRole,
                                     int inverseMultiplicity, bool inverseOrdered,
                                     bool composition) {
  return CreateLinkType(startClass, role.c_str(), multiplicity, ordered, endClass,
                        inverseRole.c_str(), inverseMultiplicity, inverseOrdered, composition);
}

bool RepositoryUser::deleteClass(RepId classId) {
  return DeleteObjectType(classId) != 0;
}
bool RepositoryUser::deleteAttribute(RepId attr) {
  return DeletePropertyType(attr) != 0;
}
bool RepositoryUser::addAttributeToClass(RepId classId, RepId attr) {
  return AddPropertyType(classId, attr) != 0;
}
bool RepositoryUser::removeAttributeFromClass(RepId classId, RepId attr) {
  return RemovePropertyType(classId, attr) != 0;
}
bool RepositoryUser::deleteLinkType(RepId linkType) {
  return DeleteLinkType(linkType) != 0;
}
RepId RepositoryUser::createPackage(const std::string& name, RepId parentPackage) {
  return CreatePackage(name.c_str(), parentPackage);
}
RepId RepositoryUser::getPackageIdByName(const std::string& name) {
  return GetPackageIdByName(name.c_str());
}
bool RepositoryUser::setPackage(RepId element, RepId package) {
  return SetPackage(element, package) != 0;
}

bool RepositoryUser::renameClass(RepId classId, const std::string& qualifiedName) {
  return UpdateObjectType1(classId, strRoutine::splitQualifiedName(qualifiedName).name.c_str()) !=
         0;
}

bool RepositoryUser::setSuperclass(RepId classId, RepId superclass) {
  std::string name = getTypeName(classId);
  return UpdateObjectType(classId, name.c_str(), superclass) != 0;
}
