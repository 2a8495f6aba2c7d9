#include "runtime/PartnerListCache.h"

#include "runtime/Generation.h"
#include "runtime/InternalError.h"
#include "runtime/MessageSink.h"

namespace {
// Held from a holder that is never destroyed: the library's shut-down frees
// it, and may run after the static destructors (a process that ends with the
// library still loaded), when a static holder would be gone already.
std::unique_ptr<PartnerListCache>& slot() {
  static auto* s = new std::unique_ptr<PartnerListCache>();
  return *s;
}
const char* const kSource = "runtime/PartnerListCache.cpp";
}  // namespace

void PartnerList::add(ObjID id) {
  for (std::size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == id) skipId[i] = true;
  ids.push_back(id);
  skipId.push_back(false);
}

PartnerListCache& PartnerListCache::instance() {
  if (!slot()) slot().reset(new PartnerListCache());
  return *slot();
}

void PartnerListCache::destroy() {
  slot().reset();
}

void PartnerListCache::fill(RepId linkType, ObjID from, PartnerList& list) {
  uint32_t count = RepositoryUser::getLinkedObjectNum(from, linkType);
  list.clear();
  list.ids.reserve(count);
  list.skipId.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    list.ids.push_back(RepositoryUser::getLinkedObjectIdByIndex(from, linkType, i));
    list.skipId.push_back(false);
  }
}

PartnerList* PartnerListCache::partnerList(RepId linkType, ObjID from) {
  if (!RepositoryUser::objectExists(from)) return nullptr;
  auto found = entries_.find(key(linkType, from));
  if (found != entries_.end() && found->second.generation == currentGeneration)
    return &found->second.list;
  if (!RepositoryUser::typeExists(linkType) ||
      !RepositoryUser::linkTypeOfClass(linkType, RepositoryUser::getObjectTypeId(from)))
    return nullptr;
  if (found == entries_.end()) found = entries_.emplace(key(linkType, from), Entry{}).first;
  Entry& entry = found->second;
  fill(linkType, from, entry.list);
  entry.generation = currentGeneration;
  return &entry.list;
}

void PartnerListCache::addIfCurrent(RepId linkType, ObjID from, ObjID to) {
  auto found = entries_.find(key(linkType, from));
  if (found != entries_.end() && found->second.generation == currentGeneration)
    found->second.list.add(to);
}

bool PartnerListCache::createLink(RepId linkType, ObjID from, ObjID to) {
  if (linkType == 0 || from == badObjID || to == badObjID)
    internalError("linkType && from && to", kSource);
  if (!CreateLink(linkType, from, to)) {
    gr::showMessageBox("Can not create link.");
    return false;
  }
  addIfCurrent(linkType, from, to);
  RepId inverse = RepositoryUser::getInverseLinkTypeId(linkType);
  if (inverse == 0) internalError("inverse link type exists", kSource);
  addIfCurrent(inverse, to, from);
  return true;
}
