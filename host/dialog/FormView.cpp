#include "host/dialog/FormView.h"

#include <array>
#include <string_view>

namespace grhost {
namespace {

// Far deeper than any form; a cycle of parts is a broken model.
constexpr int kMaxDepth = 64;

// Links within a form that tell how it is shown. The rest (the compartment a
// field edits, the form's presentation element) are not the front end's.
constexpr std::array<std::string_view, 6> kShownLinks = {
    "selected", "activeTab", "defaultButton", "cancelButton", "focused", "defaultComponent"};

bool isShownLink(std::string_view role) {
  for (std::string_view shown : kShownLinks)
    if (shown == role) return true;
  return false;
}

std::vector<RepId> idsOf(RepIdList* list) {
  std::vector<RepId> ids;
  for (uint32_t i = 0; list && i < RepIdListCount(list); ++i) ids.push_back(RepIdListItem(list, i));
  if (list) RepIdListFree(list);
  return ids;
}

std::vector<RepId> linked(RepId object, RepId role) {
  std::vector<RepId> partners;
  for (uint32_t i = 0, n = GetLinkedObjectNum(object, role); i < n; ++i)
    partners.push_back(GetLinkedObjectIdByIndex(object, role, i));
  return partners;
}

FormPart viewOf(RepId object, int depth) {
  FormPart part;
  if (!object || !ObjectExists(object)) return part;
  RepId cls = GetObjectTypeId(object);
  part.id = object;
  part.className = GetTypeName(cls);
  for (RepId attribute : idsOf(GetPropertyTypeIdList(cls))) {
    const char* value = GetPropertyValue(object, attribute);
    if (value && *value) part.values.emplace_back(GetTypeName(attribute), value);
  }
  for (RepId role : idsOf(GetLinkTypeIdList(cls))) {
    std::string name = GetTypeName(role);
    int kind = 0, composition = 0;
    GetLinkTypeAttributes2(role, &kind, &composition);
    if (composition == REP_COMPOS_WHOLE && name != "eventHandler" && depth < kMaxDepth) {
      std::vector<FormPart> parts;
      for (RepId partner : linked(object, role)) parts.push_back(viewOf(partner, depth + 1));
      if (!parts.empty()) part.parts.emplace_back(name, std::move(parts));
    } else if (isShownLink(name)) {
      std::vector<RepId> partners = linked(object, role);
      if (!partners.empty()) part.links.emplace_back(name, std::move(partners));
    }
  }
  return part;
}

}  // namespace

FormPart formView(RepId component) {
  return viewOf(component, 0);
}

}  // namespace grhost
