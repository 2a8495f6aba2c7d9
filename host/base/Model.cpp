#include "host/base/Model.h"

#include <stdexcept>

namespace grhost::model {

RepId classId(const std::string& className) {
  return GetObjectTypeIdByName(className.c_str());
}

std::string className(RepId object) {
  return GetTypeName(GetObjectTypeId(object));
}

bool isKindOf(RepId object, const std::string& className) {
  RepId wanted = classId(className);
  return wanted != 0 && ObjectExists(object) && ExtendsExtends(GetObjectTypeId(object), wanted);
}

std::vector<RepId> objectsOf(const std::string& className) {
  std::vector<RepId> objects;
  RepId cls = classId(className);
  if (cls == 0) return objects;
  uint32_t count = GetObjectNum(cls);
  objects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) objects.push_back(GetObjectIdByIndex(cls, i));
  return objects;
}

RepId firstOf(const std::string& className) {
  RepId cls = classId(className);
  return cls != 0 && GetObjectNum(cls) > 0 ? GetObjectIdByIndex(cls, 0) : 0;
}

RepId create(const std::string& className) {
  RepId cls = classId(className);
  RepId object = cls ? CreateObject(cls) : 0;
  if (object == 0)
    throw std::runtime_error("Can not create an object of class \"" + className +
                             "\": " + (cls ? RepLastError() : "no such class") + ".");
  return object;
}

RepId firstOrCreate(const std::string& className) {
  RepId object = firstOf(className);
  return object ? object : create(className);
}

void remove(RepId object) {
  if (ObjectExists(object)) DeleteObjectHard(object);
}

namespace {
RepId attributeId(RepId object, const std::string& name) {
  return ObjectExists(object) ? GetPropertyTypeIdByName(GetObjectTypeId(object), name.c_str()) : 0;
}
}  // namespace

std::string attribute(RepId object, const std::string& name) {
  RepId attr = attributeId(object, name);
  if (attr == 0) return "";
  const char* value = GetPropertyValue(object, attr);
  return value ? value : "";
}

bool hasAttribute(RepId object, const std::string& name) {
  return attributeId(object, name) != 0;
}

bool setAttribute(RepId object, const std::string& name, const std::string& value) {
  RepId attr = attributeId(object, name);
  return attr != 0 && AddProperty(object, attr, value.c_str()) != 0;
}

RepId role(RepId object, const std::string& roleName) {
  return ObjectExists(object) ? GetLinkTypeIdByName(GetObjectTypeId(object), roleName.c_str()) : 0;
}

std::vector<RepId> partners(RepId object, const std::string& roleName) {
  std::vector<RepId> result;
  RepId linkType = role(object, roleName);
  if (linkType == 0) return result;
  uint32_t count = GetLinkedObjectNum(object, linkType);
  result.reserve(count);
  for (uint32_t i = 0; i < count; ++i)
    result.push_back(GetLinkedObjectIdByIndex(object, linkType, i));
  return result;
}

RepId firstPartner(RepId object, const std::string& roleName) {
  RepId linkType = role(object, roleName);
  return linkType != 0 && GetLinkedObjectNum(object, linkType) > 0
             ? GetLinkedObjectIdByIndex(object, linkType, 0)
             : 0;
}

bool link(RepId from, const std::string& roleName, RepId to) {
  RepId linkType = role(from, roleName);
  return linkType != 0 && CreateLink(linkType, from, to) != 0;
}

void unlink(RepId from, const std::string& roleName, RepId to) {
  RepId linkType = role(from, roleName);
  if (linkType != 0) DeleteLink(linkType, from, to);
}

void unlinkAll(RepId from, const std::string& roleName) {
  for (RepId partner : partners(from, roleName)) unlink(from, roleName, partner);
}

SaveTransaction::SaveTransaction() : started_(StartSaveTransaction1(0, 0, "") != 0) {}

SaveTransaction::~SaveTransaction() {
  if (started_) CommitSaveTransaction();
}

namespace {
RepId compartmentOfTypeBelow(RepId owner, const std::string& role, const std::string& typeId,
                             int depth) {
  if (depth > 64) return 0;
  for (RepId compartment : partners(owner, role)) {
    if (attribute(firstPartner(compartment, "compartType"), "id") == typeId) return compartment;
    if (RepId inner = compartmentOfTypeBelow(compartment, "subCompartment", typeId, depth + 1))
      return inner;
  }
  return 0;
}
}  // namespace

RepId compartmentOfType(RepId element, const std::string& typeId) {
  return compartmentOfTypeBelow(element, "compartment", typeId, 0);
}

}  // namespace grhost::model
