// The C API: every function acts on the process's one open store.
#include <memory>
#include <string_view>

#include "platform/repository.h"
#include "repository/Errors.h"
#include "repository/IdList.h"
#include "repository/Journal.h"
#include "repository/Project.h"
#include "repository/StoreSchema.h"

namespace {

std::unique_ptr<rep::Project> g_project;
rep::Journal g_journal;

rep::Store* openStore() {
  if (g_project) return &g_project->store();
  rep::setLastError("no store is open");
  return nullptr;
}

const rep::Metamodel* openMetamodel() {
  rep::Store* store = openStore();
  return store ? &store->metamodel() : nullptr;
}

std::string_view text(const char* value) {
  return value ? std::string_view(value) : std::string_view();
}

RepIdList* listOf(std::vector<RepId> ids) {
  return new RepIdList{std::move(ids)};
}

int adopt(std::unique_ptr<rep::Project> project) {
  if (!project) return 0;
  g_journal.clear();
  g_project = std::move(project);
  return 1;
}

// Returns OK after noting a change of the type ID when it succeeded.
template <class Result>
Result notedType(Result ok, RepId id) {
  if (ok) g_journal.note(REP_CHANGE_METAMODEL, id, 0, 0);
  return ok;
}

void noteLink(RepId linkType, RepId from, RepId to) {
  g_journal.note(REP_CHANGE_LINK, from, 0, linkType);
  g_journal.note(REP_CHANGE_LINK, to, 0, GetInverseLinkTypeId(linkType));
}

// A deleted object's partners lose their links to it.
void notePartnersOf(const rep::Store& store, RepId object, RepId classId) {
  for (RepId linkType : store.metamodel().visibleLinkTypes(classId)) {
    const rep::LinkTypeRec* rec = store.metamodel().findLinkType(linkType);
    for (RepId partner : store.partners(object, linkType))
      g_journal.note(REP_CHANGE_LINK, partner, 0, rec ? rec->inverse : 0);
  }
}

bool noStoreOpen() {
  if (!g_project) return true;
  rep::setLastError("a store is open already; close it first");
  return false;
}

}  // namespace

extern "C" {

// ---- the store itself ------------------------------------------------------------

int RepCreateProject(const char* folder) {
  if (!noStoreOpen()) return 0;
  if (text(folder).empty()) return rep::refuse("no folder given");
  return adopt(rep::Project::create(folder));
}

int RepOpenProject(const char* folder) {
  if (!noStoreOpen()) return 0;
  if (text(folder).empty()) return rep::refuse("no folder given");
  return adopt(rep::Project::open(folder));
}

int RepOpenMemory(void) {
  return noStoreOpen() ? adopt(rep::Project::inMemory()) : 0;
}

int RepCloseProject(void) {
  if (!openStore()) return 0;
  g_project.reset();
  g_journal.clear();
  return 1;
}

int RepIsOpen(void) {
  return g_project != nullptr;
}

const char* RepLastError(void) {
  return rep::lastError().c_str();
}

const char* RepStoreFileName(void) {
  return rep::schema::kFileName;
}

int64_t RepLastCommitRowCount(void) {
  return g_project ? g_project->lastCommitRows() : 0;
}

int64_t RepLastCommitByteCount(void) {
  return g_project ? g_project->lastCommitBytes() : 0;
}

int RepIdle(void) {
  return openStore() && g_project->idle();
}

// ---- save transactions -------------------------------------------------------------

int StartSaveTransaction1(int, int, const char*) {
  if (!openStore()) return 0;
  g_project->startTransaction();
  return 1;
}

int CommitSaveTransaction(void) {
  return openStore() && g_project->commitTransaction();
}

int SaveRequest(int) {
  return openStore() && g_project->saveNow();
}

int RepTransactionDepth(void) {
  return g_project ? g_project->depth() : 0;
}

// ---- names and types ---------------------------------------------------------------

RepId GetObjectTypeIdByName(const char* name) {
  const rep::Metamodel* metamodel = openMetamodel();
  return metamodel ? metamodel->classByName(text(name)) : 0;
}

RepId GetPackageIdByName(const char* name) {
  const rep::Metamodel* metamodel = openMetamodel();
  return metamodel ? metamodel->packageByName(text(name)) : 0;
}

RepId GetPropertyTypeIdByName(RepId classId, const char* name) {
  const rep::Metamodel* metamodel = openMetamodel();
  if (!metamodel) return 0;
  if (classId == 0) return metamodel->attributeByName(text(name));
  return metamodel->visibleAttribute(classId, text(name));
}

RepId GetLinkTypeIdByName(RepId classId, const char* name) {
  const rep::Metamodel* metamodel = openMetamodel();
  return metamodel ? metamodel->visibleRole(classId, text(name)) : 0;
}

RepId GetInverseLinkTypeId(RepId linkType) {
  const rep::Metamodel* metamodel = openMetamodel();
  const rep::LinkTypeRec* rec = metamodel ? metamodel->findLinkType(linkType) : nullptr;
  return rec ? rec->inverse : 0;
}

const char* GetTypeName(RepId typeId) {
  const rep::Metamodel* metamodel = openMetamodel();
  return metamodel ? metamodel->nameOf(typeId).c_str() : "";
}

RepIdList* GetObjectTypeIdList(void) {
  const rep::Metamodel* metamodel = openMetamodel();
  return metamodel ? listOf(metamodel->classIds()) : nullptr;
}

RepIdList* GetLinkTypeIdList(RepId classId) {
  const rep::Metamodel* metamodel = openMetamodel();
  if (!metamodel || !metamodel->findClass(classId)) return nullptr;
  return listOf(metamodel->visibleLinkTypes(classId));
}

RepIdList* GetPropertyTypeIdList(RepId classId) {
  const rep::Metamodel* metamodel = openMetamodel();
  if (!metamodel) return nullptr;
  if (classId == 0) return listOf(metamodel->attributeIds());
  if (!metamodel->findClass(classId)) return nullptr;
  return listOf(metamodel->visibleAttributes(classId));
}

RepIdList* GetExtensionIdList(RepId classId) {
  const rep::Metamodel* metamodel = openMetamodel();
  const rep::ClassRec* cls = metamodel ? metamodel->findClass(classId) : nullptr;
  return cls ? listOf(cls->subclasses) : nullptr;
}

RepId GetExtendsId(RepId classId) {
  const rep::Metamodel* metamodel = openMetamodel();
  const rep::ClassRec* cls = metamodel ? metamodel->findClass(classId) : nullptr;
  return cls ? cls->superclass : 0;
}

int ExtendsExtends(RepId sub, RepId super) {
  const rep::Metamodel* metamodel = openMetamodel();
  return metamodel && metamodel->extends(sub, super);
}

int GetLinkTypeAttributes1(RepId linkType, RepId* startClass, RepId* endClass, RepId* inverse) {
  const rep::Metamodel* metamodel = openMetamodel();
  const rep::LinkTypeRec* rec = metamodel ? metamodel->findLinkType(linkType) : nullptr;
  if (!rec) return 0;
  if (startClass) *startClass = rec->start;
  if (endClass) *endClass = rec->end;
  if (inverse) *inverse = rec->inverse;
  return 1;
}

int GetLinkTypeAttributes2(RepId linkType, int* kind, int* compositionRole) {
  const rep::Metamodel* metamodel = openMetamodel();
  const rep::LinkTypeRec* rec = metamodel ? metamodel->findLinkType(linkType) : nullptr;
  if (!rec) return 0;
  if (kind)
    *kind = rec->compositionRole == REP_COMPOS_NONE ? REP_KIND_ASSOCIATION : REP_KIND_COMPOSITION;
  if (compositionRole) *compositionRole = rec->compositionRole;
  return 1;
}

int GetLinkTypeAttributes3(RepId linkType, int* multiplicity, int* ordered) {
  const rep::Metamodel* metamodel = openMetamodel();
  const rep::LinkTypeRec* rec = metamodel ? metamodel->findLinkType(linkType) : nullptr;
  if (!rec) return 0;
  if (multiplicity) *multiplicity = rec->multiplicity;
  if (ordered) *ordered = rec->ordered;
  return 1;
}

int GetPropertyTypeAttributes(RepId attr, int* baseType, const char** enumTypeName) {
  const rep::Metamodel* metamodel = openMetamodel();
  const rep::AttributeRec* rec = metamodel ? metamodel->findAttribute(attr) : nullptr;
  if (!rec) return 0;
  if (baseType) *baseType = rec->baseType;
  if (enumTypeName) *enumTypeName = rec->enumTypeName.c_str();
  return 1;
}

int GetPropertyBaseType(RepId attr) {
  const rep::Metamodel* metamodel = openMetamodel();
  const rep::AttributeRec* rec = metamodel ? metamodel->findAttribute(attr) : nullptr;
  return rec ? rec->baseType : -1;
}

// ---- metamodel changes ---------------------------------------------------------------

RepId CreateObjectType(const char* name) {
  return CreateObjectType1(name, 0);
}

RepId CreateObjectType1(const char* name, RepId superclass) {
  rep::Store* store = openStore();
  if (!store) return 0;
  RepId created = store->metamodel().createClass(text(name), superclass);
  return notedType(created, created);
}

int UpdateObjectType(RepId classId, const char* name, RepId superclass) {
  rep::Store* store = openStore();
  return notedType(store && store->metamodel().updateClass(classId, text(name), superclass),
                   classId);
}

int UpdateObjectType1(RepId classId, const char* name) {
  rep::Store* store = openStore();
  return notedType(store && store->metamodel().renameClass(classId, text(name)), classId);
}

int DeleteObjectType(RepId classId) {
  rep::Store* store = openStore();
  return notedType(store && store->deleteClass(classId), classId);
}

RepId CreatePackage(const char* name, RepId parentPackage) {
  rep::Store* store = openStore();
  return store ? store->metamodel().createPackage(text(name), parentPackage) : 0;
}

int SetPackage(RepId element, RepId package) {
  rep::Store* store = openStore();
  return store && store->metamodel().setPackage(element, package);
}

RepId GetPackageOf(RepId element) {
  const rep::Metamodel* metamodel = openMetamodel();
  return metamodel ? metamodel->packageOf(element) : 0;
}

RepId CreatePropertyType(const char* name, int baseTypeCode) {
  return CreatePropertyType1(name, baseTypeCode, "");
}

RepId CreatePropertyType1(const char* name, int baseTypeCode, const char* enumTypeName) {
  rep::Store* store = openStore();
  return store ? store->metamodel().createAttribute(text(name), baseTypeCode, text(enumTypeName))
               : 0;
}

int AddPropertyType(RepId classId, RepId attr) {
  rep::Store* store = openStore();
  return notedType(store && store->metamodel().attachAttribute(classId, attr), classId);
}

int RemovePropertyType(RepId classId, RepId attr) {
  rep::Store* store = openStore();
  return notedType(store && store->detachAttribute(classId, attr), classId);
}

int DeletePropertyType(RepId attr) {
  rep::Store* store = openStore();
  return notedType(store && store->deleteAttribute(attr), attr);
}

RepId CreateLinkType(RepId startClass, const char* role, int multiplicity, int ordered,
                     RepId endClass, const char* inverseRole, int inverseMultiplicity,
                     int inverseOrdered, int composition) {
  rep::Store* store = openStore();
  if (!store) return 0;
  rep::RoleSpec forward{startClass, text(role), multiplicity, ordered != 0, endClass};
  rep::RoleSpec backward{endClass, text(inverseRole), inverseMultiplicity, inverseOrdered != 0,
                         startClass};
  RepId created = store->metamodel().createLinkTypePair(forward, backward, composition != 0);
  return notedType(created, created);
}

int DeleteLinkType(RepId linkType) {
  rep::Store* store = openStore();
  return notedType(store && store->deleteLinkTypePair(linkType), linkType);
}

// ---- objects, links and values ------------------------------------------------------

RepId GetObjectTypeId(RepId object) {
  return g_project ? g_project->store().classOf(object) : 0;
}

int ObjectExists(RepId object) {
  return g_project && g_project->store().exists(object);
}

uint32_t GetObjectNum(RepId classId) {
  rep::Store* store = openStore();
  return store ? store->objectCount(classId) : 0;
}

RepId GetObjectIdByIndex(RepId classId, uint32_t index) {
  rep::Store* store = openStore();
  return store ? store->objectAt(classId, index) : 0;
}

RepId CreateObject(RepId classId) {
  rep::Store* store = openStore();
  RepId created = store ? store->createObject(classId) : 0;
  if (created) g_journal.note(REP_CHANGE_CREATED, created, classId, 0);
  return created;
}

int DeleteObjectHard(RepId object) {
  rep::Store* store = openStore();
  if (!store) return 0;
  RepId classId = store->classOf(object);
  if (classId && g_journal.enabled()) notePartnersOf(*store, object, classId);
  if (!store->deleteObject(object)) return 0;
  g_journal.note(REP_CHANGE_DELETED, object, classId, 0);
  return 1;
}

uint32_t GetLinkedObjectNum(RepId object, RepId linkType) {
  return g_project ? g_project->store().partnerCount(object, linkType) : 0;
}

RepId GetLinkedObjectIdByIndex(RepId object, RepId linkType, uint32_t index) {
  return g_project ? g_project->store().partnerAt(object, linkType, index) : 0;
}

int AlreadyConnected(RepId linkType, RepId from, RepId to) {
  return g_project && g_project->store().connected(linkType, from, to);
}

int CreateLink(RepId linkType, RepId from, RepId to) {
  rep::Store* store = openStore();
  if (!store || !store->createLink(linkType, from, to)) return 0;
  noteLink(linkType, from, to);
  return 1;
}

int DeleteLink(RepId linkType, RepId from, RepId to) {
  rep::Store* store = openStore();
  if (!store || !store->deleteLink(linkType, from, to)) return 0;
  noteLink(linkType, from, to);
  return 1;
}

int CheckPropertyValue(RepId attr, const char* value) {
  rep::Store* store = openStore();
  return store && store->acceptsValue(attr, text(value));
}

int AddProperty(RepId object, RepId attr, const char* value) {
  rep::Store* store = openStore();
  if (!store || !store->setValue(object, attr, text(value))) return 0;
  g_journal.note(REP_CHANGE_VALUE, object, 0, attr);
  return 1;
}

const char* GetPropertyValue(RepId object, RepId attr) {
  const std::string* value = g_project ? g_project->store().value(object, attr) : nullptr;
  return value ? value->c_str() : "";
}

// ---- the journal ---------------------------------------------------------------------

void RepJournalEnable(int on) {
  g_journal.enable(on != 0);
}

uint32_t RepJournalTake(RepChange* buffer, uint32_t capacity) {
  return buffer ? g_journal.take(buffer, capacity) : 0;
}

uint32_t RepJournalPending(void) {
  return g_journal.pending();
}

// ---- lists ---------------------------------------------------------------------------

uint32_t RepIdListCount(const RepIdList* list) {
  return list ? static_cast<uint32_t>(list->ids.size()) : 0;
}

RepId RepIdListItem(const RepIdList* list, uint32_t index) {
  return list && index < list->ids.size() ? list->ids[index] : 0;
}

void RepIdListFree(RepIdList* list) {
  delete list;
}

}  // extern "C"
