#include "host/base/OrphanCheck.h"

#include <memory>

namespace grhost {
namespace {

using IdList = std::unique_ptr<RepIdList, void (*)(RepIdList*)>;

std::vector<RepId> ids(RepIdList* list) {
  IdList owned(list, RepIdListFree);
  std::vector<RepId> result;
  for (uint32_t i = 0, n = list ? RepIdListCount(list) : 0; i < n; ++i)
    result.push_back(RepIdListItem(list, i));
  return result;
}

// The part-to-whole roles leading out of the class, inherited ones included.
std::vector<RepId> ownerRolesOf(RepId classId) {
  std::vector<RepId> roles;
  for (RepId role : ids(GetLinkTypeIdList(classId))) {
    int kind = 0, compositionRole = REP_COMPOS_NONE;
    if (GetLinkTypeAttributes2(role, &kind, &compositionRole) && compositionRole == REP_COMPOS_PART)
      roles.push_back(role);
  }
  return roles;
}

bool hasOwner(RepId object, const std::vector<RepId>& roles) {
  for (RepId role : roles)
    if (GetLinkedObjectNum(object, role) > 0) return true;
  return false;
}

}  // namespace

std::vector<Orphan> findOrphans() {
  std::vector<Orphan> orphans;
  for (RepId classId : ids(GetObjectTypeIdList())) {
    std::vector<RepId> roles = ownerRolesOf(classId);
    if (roles.empty()) continue;
    for (uint32_t i = 0, n = GetObjectNum(classId); i < n; ++i) {
      RepId object = GetObjectIdByIndex(classId, i);
      // Objects of subclasses are checked with their own class.
      if (GetObjectTypeId(object) != classId || hasOwner(object, roles)) continue;
      Orphan orphan{object, GetTypeName(classId), {}};
      for (RepId role : roles) orphan.ownerRoles.push_back(GetTypeName(role));
      orphans.push_back(orphan);
    }
  }
  return orphans;
}

std::string describeOrphan(const Orphan& orphan) {
  std::string roles;
  for (const std::string& role : orphan.ownerRoles) roles += (roles.empty() ? "" : ", ") + role;
  return orphan.className + " " + std::to_string(orphan.object) + " has no owner (" + roles + ")";
}

}  // namespace grhost
