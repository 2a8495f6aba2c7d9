#include "host/base/ModelDump.h"

#include <algorithm>
#include <memory>

#include "host/base/HostError.h"

namespace grhost {
namespace {

using IdList = std::unique_ptr<RepIdList, void (*)(RepIdList*)>;

std::vector<RepId> ids(RepIdList* list) {
  IdList owned(list, RepIdListFree);
  std::vector<RepId> result;
  for (uint32_t i = 0, n = RepIdListCount(list); i < n; ++i)
    result.push_back(RepIdListItem(list, i));
  return result;
}

std::vector<RepId> objectsOfClassTree(RepId classId) {
  std::vector<RepId> objects;
  for (uint32_t i = 0, n = GetObjectNum(classId); i < n; ++i)
    objects.push_back(GetObjectIdByIndex(classId, i));
  return objects;
}

std::vector<RepId> allObjects() {
  std::vector<RepId> objects;
  for (RepId classId : ids(GetObjectTypeIdList()))
    for (RepId object : objectsOfClassTree(classId))
      if (GetObjectTypeId(object) == classId) objects.push_back(object);
  return objects;
}

DumpedObject describe(RepId object) {
  DumpedObject dumped;
  dumped.id = object;
  RepId classId = GetObjectTypeId(object);
  dumped.className = GetTypeName(classId);
  for (RepId attr : ids(GetPropertyTypeIdList(classId))) {
    const char* value = GetPropertyValue(object, attr);
    if (value && *value) dumped.attributes.emplace_back(GetTypeName(attr), value);
  }
  for (RepId linkType : ids(GetLinkTypeIdList(classId))) {
    std::string role = GetTypeName(linkType);
    uint32_t count = GetLinkedObjectNum(object, linkType);
    if (role.empty() || count == 0) continue;
    std::vector<RepId> partners;
    for (uint32_t i = 0; i < count; ++i)
      partners.push_back(GetLinkedObjectIdByIndex(object, linkType, i));
    dumped.links.emplace_back(role, std::move(partners));
  }
  return dumped;
}

std::string quotedText(const std::string& text) {
  return nlohmann::json(text).dump();
}

}  // namespace

std::vector<DumpedObject> collectObjects(const std::string& className) {
  std::vector<RepId> objects;
  if (className.empty()) {
    objects = allObjects();
  } else {
    RepId classId = GetObjectTypeIdByName(className.c_str());
    if (!classId) throw HostError("There is no class " + className + ".");
    objects = objectsOfClassTree(classId);
  }
  std::sort(objects.begin(), objects.end());
  std::vector<DumpedObject> dumped;
  dumped.reserve(objects.size());
  for (RepId object : objects) dumped.push_back(describe(object));
  return dumped;
}

nlohmann::ordered_json dumpJson(const std::vector<DumpedObject>& objects) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const DumpedObject& object : objects) {
    nlohmann::ordered_json entry;
    entry["id"] = object.id;
    entry["class"] = object.className;
    entry["attributes"] = nlohmann::ordered_json::object();
    for (const auto& [name, value] : object.attributes) entry["attributes"][name] = value;
    entry["links"] = nlohmann::ordered_json::object();
    for (const auto& [role, partners] : object.links) entry["links"][role] = partners;
    list.push_back(std::move(entry));
  }
  nlohmann::ordered_json root;
  root["objects"] = std::move(list);
  return root;
}

std::string dumpText(const std::vector<DumpedObject>& objects) {
  std::string text;
  for (const DumpedObject& object : objects) {
    text += std::to_string(object.id) + " " + object.className + "\n";
    for (const auto& [name, value] : object.attributes)
      text += "  " + name + " = " + quotedText(value) + "\n";
    for (const auto& [role, partners] : object.links) {
      text += "  " + role + " ->";
      for (RepId partner : partners) text += " " + std::to_string(partner);
      text += "\n";
    }
  }
  return text;
}

}  // namespace grhost
