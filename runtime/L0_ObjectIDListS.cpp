#include "runtime/L0_ObjectIDListS.h"

#include <algorithm>

#include "runtime/Generation.h"
#include "runtime/InternalError.h"

namespace {
// Held from a holder that is never destroyed: the library's shut-down frees
// it, and may run after the static destructors (a process that ends with the
// library still loaded), when a static holder would be gone already.
std::unique_ptr<L0_ObjectIDListS>& slot() {
  static auto* s = new std::unique_ptr<L0_ObjectIDListS>();
  return *s;
}
const char* const kSource = "runtime/L0_ObjectIDListS.cpp";
}  // namespace

L0_ObjectIDListS& L0_ObjectIDListS::instance() {
  if (!slot()) slot().reset(new L0_ObjectIDListS());
  return *slot();
}

void L0_ObjectIDListS::destroy() {
  slot().reset();
}

// Only the leading run of direct instances: subclass instances are reached
// through the subclasses' own lists.
void L0_ObjectIDListS::fill(RepId classId, Entry& entry) {
  entry.objects.clear();
  uint32_t count = RepositoryUser::getObjectNum(classId);
  entry.objects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    ObjID id = RepositoryUser::getObjectIdByIndex(classId, i);
    if (id == badObjID) internalError("id != 0", kSource);
    if (RepositoryUser::getObjectTypeId(id) != classId) break;
    entry.objects.push_back(id);
  }
  entry.generation = currentGeneration;
}

L0_ObjectIDListS::Entry* L0_ObjectIDListS::currentEntry(RepId classId) {
  if (lastEntry_ && lastClass_ == classId && lastEntry_->generation == currentGeneration)
    return lastEntry_;
  auto found = entries_.find(classId);
  if (found == entries_.end() || found->second.generation != currentGeneration) {
    if (!RepositoryUser::typeExists(classId)) return nullptr;
    Entry& entry = entries_[classId];
    fill(classId, entry);
    found = entries_.find(classId);
  }
  lastClass_ = classId;
  lastEntry_ = &found->second;
  return lastEntry_;
}

const IdVector* L0_ObjectIDListS::classObjectList(RepId classId) {
  Entry* entry = currentEntry(classId);
  return entry ? &entry->objects : nullptr;
}

int64_t L0_ObjectIDListS::objectCount(RepId classId) {
  const IdVector* list = classObjectList(classId);
  return list ? static_cast<int64_t>(list->size()) : -1;
}

int64_t L0_ObjectIDListS::getObjID(RepId classId, uint32_t index) {
  const IdVector* list = classObjectList(classId);
  if (!list) return -1;
  if (index >= list->size()) internalError("index < objectCount", kSource);
  return (*list)[index];
}

bool L0_ObjectIDListS::objectIndex(ObjID object, int32_t& index) {
  RepId classId = RepositoryUser::getObjectTypeId(object);
  if (classId == 0) return false;
  const IdVector* list = classObjectList(classId);
  if (!list) return false;
  auto hit = std::lower_bound(list->begin(), list->end(), object);
  if (hit == list->end() || *hit != object) hit = std::find(list->begin(), list->end(), object);
  if (hit == list->end()) return false;
  index = static_cast<int32_t>(hit - list->begin());
  return true;
}

// A list of an older generation is left as it is: its refill on its next use
// takes the new object in its place at the end of the direct instances, as
// the append would have. So creating an object never costs a whole list.
ObjID L0_ObjectIDListS::addObject(RepId classId) {
  if (!RepositoryUser::typeExists(classId)) internalError("class list exists", kSource);
  auto found = entries_.find(classId);
  Entry* entry = found != entries_.end() && found->second.generation == currentGeneration
                     ? &found->second
                     : nullptr;
  ObjID id = CreateObject(classId);
  if (id != badObjID && entry) entry->objects.push_back(id);
  return id;
}
