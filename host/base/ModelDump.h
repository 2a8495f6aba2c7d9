// The model as text: every object with its attribute values and its links,
// readable or as JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "platform/repository.h"

namespace grhost {

struct DumpedObject {
  RepId id = 0;
  std::string className;
  // Attributes with non-empty values, in the class's attribute order.
  std::vector<std::pair<std::string, std::string>> attributes;
  // Roles from the object's own end that reach partners, in link order.
  std::vector<std::pair<std::string, std::vector<RepId>>> links;
};

// Every object by id, or those of CLASSNAME and its subclasses; throws
// HostError for an unknown class.
std::vector<DumpedObject> collectObjects(const std::string& className = "");

// {"objects":[{"id":7,"class":"Node","attributes":{"name":"value"},"links":{"role":[12,15]}}]}
nlohmann::ordered_json dumpJson(const std::vector<DumpedObject>& objects);
std::string dumpText(const std::vector<DumpedObject>& objects);

}  // namespace grhost
