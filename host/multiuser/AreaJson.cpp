// The JSON text of a shared area:
//   {"format": "grtool-area 1",
//    "extent": {"referenceMap": ..., "stopClasses": ..., "traversalRoles": ...},
//    "objects": [{"id": 17, "class": "GraphDiagram", "values": {"caption": "A"},
//                 "links": {"element": [1, 2]},
//                 "references": {"graphDiagramType": [[{"class": ..., "id": ..., "n": 0}]]}},
//                ...]}
// The first object is the diagram. Links name partners by their place in
// "objects", in link order; a reference names a project-wide object by the
// `id` values of its owners from the top (a diagram type, its element type,
// its compartment type ...), "n" telling apart owners' parts of one id.
#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <utility>
#include <vector>

#include "host/base/Model.h"
#include "host/multiuser/AreaCodec.h"

namespace grhost::shared {
namespace {

using nlohmann::json;
namespace model = grhost::model;

constexpr const char* kFormat = "grtool-area 1";

struct RoleOf {
  std::string className;
  std::string role;
};

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// "Class.role" entries; a reference map's "-descriptor" is dropped.
std::vector<RoleOf> rolesOf(const std::string& spec) {
  std::vector<RoleOf> roles;
  for (std::string entry : split(spec, ';')) {
    entry = entry.substr(0, entry.find('-'));
    std::size_t dot = entry.find('.');
    if (dot == std::string::npos) continue;
    roles.push_back({entry.substr(0, dot), entry.substr(dot + 1)});
  }
  return roles;
}

std::string nameOf(RepId type) {
  const char* name = GetTypeName(type);
  return name ? name : "";
}

std::vector<RepId> listOf(RepIdList* list) {
  std::vector<RepId> ids;
  for (uint32_t i = 0; i < RepIdListCount(list); ++i) ids.push_back(RepIdListItem(list, i));
  RepIdListFree(list);
  return ids;
}

// The objects of the subtree in the order they are reached, the diagram first.
std::vector<RepId> subtree(RepId diagram, const AreaExtent& extent) {
  std::vector<RoleOf> traversal = rolesOf(extent.traversalRoles);
  std::vector<std::string> stops = split(extent.stopClasses, ';');
  std::vector<RepId> order;
  std::set<RepId> seen;
  std::vector<RepId> pending{diagram};
  auto reach = [&](RepId partner, std::vector<RepId>& next) {
    if (seen.insert(partner).second) next.push_back(partner);
  };
  seen.insert(diagram);
  // Depth first, partners in link order.
  while (!pending.empty()) {
    RepId object = pending.back();
    pending.pop_back();
    order.push_back(object);
    std::vector<RepId> next;
    bool stop = false;
    for (const std::string& className : stops) stop = stop || model::isKindOf(object, className);
    if (stop) {
      for (const RoleOf& entry : traversal)
        if (model::isKindOf(object, entry.className))
          for (RepId partner : model::partners(object, entry.role)) reach(partner, next);
    } else {
      for (RepId linkType : listOf(GetLinkTypeIdList(GetObjectTypeId(object))))
        for (RepId partner : model::partners(object, nameOf(linkType))) reach(partner, next);
    }
    pending.insert(pending.end(), next.rbegin(), next.rend());
  }
  return order;
}

// ---- references to project-wide objects

const std::map<std::string, std::vector<std::string>> kOwnerRoles = {
    {"ElemType", {"graphDiagramType"}},
    {"CompartType", {"elemType", "parentCompartType"}},
    {"ElemStyle", {"elemType"}},
    {"CompartStyle", {"compartType", "elemStyle"}},
};

std::pair<RepId, std::string> ownerOf(RepId object) {
  for (const auto& [kind, roles] : kOwnerRoles) {
    if (!model::isKindOf(object, kind)) continue;
    for (const std::string& role : roles)
      if (RepId owner = model::firstPartner(object, role))
        return {owner, nameOf(GetInverseLinkTypeId(model::role(object, role)))};
  }
  return {0, ""};
}

bool sameKind(RepId object, const std::string& className, const std::string& id) {
  return model::className(object) == className && model::attribute(object, "id") == id;
}

int ordinalAmong(const std::vector<RepId>& candidates, RepId object) {
  int n = 0;
  std::string className = model::className(object), id = model::attribute(object, "id");
  for (RepId candidate : candidates) {
    if (candidate == object) return n;
    if (sameKind(candidate, className, id)) ++n;
  }
  return n;
}

json descriptorOf(RepId object) {
  std::vector<json> steps;
  for (int depth = 0; object && depth < 32; ++depth) {
    auto [owner, downRole] = ownerOf(object);
    json step = {{"class", model::className(object)}, {"id", model::attribute(object, "id")}};
    step["n"] = ordinalAmong(
        owner ? model::partners(owner, downRole) : model::objectsOf(model::className(object)),
        object);
    if (owner) step["role"] = downRole;
    steps.push_back(std::move(step));
    object = owner;
  }
  std::reverse(steps.begin(), steps.end());  // from the outermost owner down
  return steps;
}

RepId resolve(const json& descriptor) {
  RepId owner = 0;
  for (const json& step : descriptor) {
    std::string className = step.at("class").get<std::string>();
    std::string id = step.at("id").get<std::string>();
    int n = step.at("n").get<int>();
    std::vector<RepId> candidates = owner
                                        ? model::partners(owner, step.at("role").get<std::string>())
                                        : model::objectsOf(className);
    RepId found = 0;
    for (RepId candidate : candidates)
      if (sameKind(candidate, className, id) && n-- == 0) {
        found = candidate;
        break;
      }
    if (!found)
      throw AreaTextError("The shared area refers to the " + className + " \"" + id +
                          "\", which this project does not have.");
    owner = found;
  }
  if (!owner) throw AreaTextError("The shared area holds an empty reference.");
  return owner;
}

// ---- writing

json valuesOf(RepId object) {
  json values = json::object();
  for (RepId attribute : listOf(GetPropertyTypeIdList(GetObjectTypeId(object)))) {
    const char* value = GetPropertyValue(object, attribute);
    if (value && *value) values[nameOf(attribute)] = value;
  }
  return values;
}

json linksOf(RepId object, const std::map<RepId, std::size_t>& index) {
  json links = json::object();
  for (RepId linkType : listOf(GetLinkTypeIdList(GetObjectTypeId(object)))) {
    json partners = json::array();
    for (uint32_t i = 0; i < GetLinkedObjectNum(object, linkType); ++i) {
      auto found = index.find(GetLinkedObjectIdByIndex(object, linkType, i));
      if (found != index.end()) partners.push_back(found->second);
    }
    if (!partners.empty()) links[nameOf(linkType)] = partners;
  }
  return links;
}

json referencesOf(RepId object, const std::vector<RoleOf>& referenceRoles) {
  json references = json::object();
  for (const RoleOf& entry : referenceRoles) {
    if (!model::isKindOf(object, entry.className)) continue;
    json targets = json::array();
    for (RepId target : model::partners(object, entry.role))
      targets.push_back(descriptorOf(target));
    if (!targets.empty()) references[entry.role] = targets;
  }
  return references;
}

// ---- reading: everything is checked before anything changes

struct CheckedObject {
  RepId classId = 0;
  std::vector<std::pair<RepId, std::string>> values;
  std::vector<std::pair<RepId, std::vector<std::size_t>>> links;
  std::vector<std::pair<RepId, RepId>> references;
};

RepId attributeOf(RepId classId, const std::string& name, const std::string& className) {
  RepId attribute = GetPropertyTypeIdByName(classId, name.c_str());
  if (!attribute)
    throw AreaTextError("The shared area gives " + className + " an unknown " + name + ".");
  return attribute;
}

RepId roleOf(RepId classId, const std::string& name, const std::string& className) {
  RepId role = GetLinkTypeIdByName(classId, name.c_str());
  if (!role)
    throw AreaTextError("The shared area links " + className + " over an unknown role " + name +
                        ".");
  return role;
}

CheckedObject check(const json& object, std::size_t count) {
  CheckedObject checked;
  std::string className = object.at("class").get<std::string>();
  checked.classId = model::classId(className);
  if (!checked.classId)
    throw AreaTextError("The shared area holds an unknown class " + className + ".");
  for (const auto& [name, value] : object.at("values").items()) {
    RepId attribute = attributeOf(checked.classId, name, className);
    std::string text = value.get<std::string>();
    if (!CheckPropertyValue(attribute, text.c_str()))
      throw AreaTextError("The shared area gives " + className + "." + name + " the bad value \"" +
                          text + "\".");
    checked.values.emplace_back(attribute, text);
  }
  for (const auto& [name, partners] : object.at("links").items()) {
    std::vector<std::size_t> places;
    for (const json& partner : partners) {
      std::size_t place = partner.get<std::size_t>();
      if (place >= count)
        throw AreaTextError("The shared area links to an object it does not hold.");
      places.push_back(place);
    }
    checked.links.emplace_back(roleOf(checked.classId, name, className), places);
  }
  for (const auto& [name, targets] : object.at("references").items())
    for (const json& target : targets)
      checked.references.emplace_back(roleOf(checked.classId, name, className), resolve(target));
  return checked;
}

std::vector<CheckedObject> checkAll(const json& document) {
  if (!document.is_object() || document.value("format", "") != kFormat)
    throw AreaTextError("The shared area's text is not of a known format.");
  const json& objects = document.at("objects");
  if (!objects.is_array() || objects.empty() || objects[0].at("class") != "GraphDiagram")
    throw AreaTextError("The shared area holds no diagram.");
  std::vector<CheckedObject> checked;
  for (const json& object : objects) checked.push_back(check(object, objects.size()));
  return checked;
}

// The diagram keeps its object, so that what points at it (the element that
// opens it, the current-diagram pointer) still does.
void clearDiagram(RepId diagram, const AreaExtent& extent) {
  std::vector<RepId> old = subtree(diagram, extent);
  for (std::size_t i = 1; i < old.size(); ++i) model::remove(old[i]);
  for (const RoleOf& entry : rolesOf(extent.referenceMap))
    if (model::isKindOf(diagram, entry.className)) model::unlinkAll(diagram, entry.role);
  for (RepId attribute : listOf(GetPropertyTypeIdList(GetObjectTypeId(diagram))))
    AddProperty(diagram, attribute, "");
}

AreaExtent extentIn(const json& document) {
  const json& extent = document.at("extent");
  return {extent.at("referenceMap").get<std::string>(), extent.at("stopClasses").get<std::string>(),
          extent.at("traversalRoles").get<std::string>()};
}

class JsonAreaCodec : public AreaCodec {
 public:
  std::string write(RepId diagram, const AreaExtent& extent) const override {
    std::vector<RepId> order = subtree(diagram, extent);
    std::map<RepId, std::size_t> index;
    for (std::size_t i = 0; i < order.size(); ++i) index[order[i]] = i;
    std::vector<RoleOf> referenceRoles = rolesOf(extent.referenceMap);
    json objects = json::array();
    for (RepId object : order)
      objects.push_back({{"id", object},
                         {"class", model::className(object)},
                         {"values", valuesOf(object)},
                         {"links", linksOf(object, index)},
                         {"references", referencesOf(object, referenceRoles)}});
    json document = {{"format", kFormat},
                     {"extent",
                      {{"referenceMap", extent.referenceMap},
                       {"stopClasses", extent.stopClasses},
                       {"traversalRoles", extent.traversalRoles}}},
                     {"objects", objects}};
    return document.dump();
  }

  std::string withValue(const std::string& text, RepId object, const std::string& attribute,
                        const std::string& value) const override {
    json document = json::parse(text);
    for (json& each : document.at("objects"))
      if (each.at("id") == object) each.at("values")[attribute] = value;
    return document.dump();
  }

  AreaExtent extentOf(const std::string& text) const override {
    try {
      return extentIn(json::parse(text));
    } catch (const json::exception& broken) {
      throw AreaTextError(std::string("The shared area's text is broken: ") + broken.what());
    }
  }

  bool holds(const std::string& text, RepId object) const override {
    json document = json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.contains("objects")) return false;
    for (const json& each : document["objects"])
      if (each.contains("id") && each["id"] == object) return true;
    return false;
  }

  RepId read(const std::string& text, RepId diagram) const override {
    json document = json::parse(text, nullptr, false);
    if (document.is_discarded()) throw AreaTextError("The shared area's text is no JSON.");
    std::vector<CheckedObject> checked;
    AreaExtent extent;
    try {
      checked = checkAll(document);
      extent = extentIn(document);
    } catch (const json::exception& broken) {
      throw AreaTextError(std::string("The shared area's text is broken: ") + broken.what());
    }
    if (diagram)
      clearDiagram(diagram, extent);
    else
      diagram = model::create("GraphDiagram");
    std::vector<RepId> made{diagram};
    for (std::size_t i = 1; i < checked.size(); ++i)
      made.push_back(CreateObject(checked[i].classId));
    for (std::size_t i = 0; i < checked.size(); ++i) {
      for (const auto& [attribute, value] : checked[i].values)
        AddProperty(made[i], attribute, value.c_str());
      for (const auto& [role, places] : checked[i].links)
        for (std::size_t place : places)
          if (!AlreadyConnected(role, made[i], made[place])) CreateLink(role, made[i], made[place]);
      for (const auto& [role, target] : checked[i].references) CreateLink(role, made[i], target);
    }
    return diagram;
  }
};

}  // namespace

const AreaCodec& jsonAreaCodec() {
  static const JsonAreaCodec codec;
  return codec;
}

}  // namespace grhost::shared
