// The one place where the runtime talks to the store for the object
// variables: lookups by name (never cached here), tests, enumeration, and
// changes that keep the object and partner caches in step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/repository.h"

using ObjID = RepId;
using IdVector = std::vector<RepId>;

constexpr ObjID badObjID = 0;
constexpr int32_t badInd = -1;

class RepositoryUser {
 public:
  // ---- names and lookups
  static RepId getObjectTypeIdByName(const std::string& className);
  static RepId getPropertyTypeIdByName(RepId classId, const std::string& attrName);
  static RepId getLinkTypeIdByName(RepId classId, const std::string& roleName);
  static RepId getInverseLinkTypeId(RepId linkType);
  static std::string getTypeName(RepId typeId);
  static bool typeExists(RepId typeId);
  static bool classExists(const std::string& className);
  static bool attributeExists(const std::string& className, const std::string& attrName);
  static bool attributeHasType(const std::string& className, const std::string& attrName,
                               const std::string& typeName);
  static bool isComposition(const std::string& className, const std::string& roleName);

  // ---- class hierarchy
  // Depth-first: each direct subclass's whole subtree, then the class itself.
  static IdVector getSubClassIds(RepId classId);
  static IdVector getSubClassIds(const std::string& className);
  // B is A or one of A's subclasses.
  static bool isSubclass(RepId a, RepId b);
  static bool isStrictSubclassByName(const std::string& a, const std::string& b);
  static IdVector getAllClassIds();
  static IdVector getOwnLinkTypeIds(const std::string& className);
  static IdVector getOwnAttributeIds(const std::string& className);
  static bool linkTypeOfClass(RepId linkType, RepId classId);

  // ---- objects and links
  static bool objectExists(ObjID object) { return ObjectExists(object) != 0; }
  static bool alreadyConnected(RepId linkType, ObjID from, ObjID to) {
    return AlreadyConnected(linkType, from, to) != 0;
  }
  static RepId getObjectTypeId(ObjID object) { return GetObjectTypeId(object); }
  static uint32_t getObjectNum(RepId classId) { return GetObjectNum(classId); }
  static ObjID getObjectIdByIndex(RepId classId, uint32_t index) {
    return GetObjectIdByIndex(classId, index);
  }
  static uint32_t getLinkedObjectNum(ObjID object, RepId linkType) {
    return GetLinkedObjectNum(object, linkType);
  }
  static ObjID getLinkedObjectIdByIndex(ObjID object, RepId linkType, uint32_t index) {
    return GetLinkedObjectIdByIndex(object, linkType, index);
  }

  // ---- base types
  static bool isElementaryBaseType(int baseType) { return baseType >= 0 && baseType <= 3; }
  static bool baseTypesMatch(int a, int b) { return a == b && isElementaryBaseType(a); }
  static std::string baseTypeName(RepId attr);
  static std::string baseTypeNameOfCode(int baseType);
  static int baseTypeCode(const std::string& typeName);

  // ---- changes
  static ObjID createObject(RepId classId);
  static bool createLink(RepId linkType, ObjID from, ObjID to);
  static bool deleteObject(ObjID object);
  static bool deleteLink(RepId linkType, ObjID from, ObjID to);
  // Writes nothing when the attribute's base type refuses the text.
  static bool setProperty(ObjID object, RepId attr, const std::string& value);
  static std::string getProperty(ObjID object, RepId attr);

  // ---- metamodel changes
  static RepId createClass(const std::string& name);
  static RepId createAttribute(const std::string& name, int baseTypeCode);
  static RepId createLinkType(RepId startClass, const std::string& role, int multiplicity,
                              RepId endClass, const std::string& inverseRole,
                              int inverseMultiplicity, bool composition);
  static RepId createLinkType(RepId startClass, const std::string& role, int multiplicity,
                              bool ordered, RepId endClass, const std::string& inverseRole,
                              int inverseMultiplicity, bool inverseOrdered, bool composition);
  static bool deleteClass(RepId classId);
  static bool deleteAttribute(RepId attr);
  static bool addAttributeToClass(RepId classId, RepId attr);
  static bool removeAttributeFromClass(RepId classId, RepId attr);
  static bool deleteLinkType(RepId linkType);
  static RepId createPackage(const std::string& name, RepId parentPackage);
  static RepId getPackageIdByName(const std::string& name);
  static bool setPackage(RepId element, RepId package);
  static bool renameClass(RepId classId, const std::string& qualifiedName);
  static bool setSuperclass(RepId classId, RepId superclass);

 private:
  static IdVector takeList(RepIdList* list);
};
