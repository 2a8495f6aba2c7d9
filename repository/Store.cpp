#include "repository/Store.h"

#include <algorithm>

#include "repository/Errors.h"
#include "repository/ValueCheck.h"

namespace rep {

// ---- metamodel changes that reach into the data ------------------------------

bool Store::deleteClass(RepId classId) {
  const ClassRec* cls = metamodel_.findClass(classId);
  if (!cls) return refuse<bool>("no such class");
  if (objectCount(classId) != 0) return refuse<bool>("the class has objects");
  if (!cls->subclasses.empty()) return refuse<bool>("class \"" + cls->name + "\" has subclasses");
  for (RepId linkType : metamodel_.linkTypesTouching(classId))
    dropAllEnds(linkType, metamodel_.linkTypeAt(linkType).inverse);
  return metamodel_.deleteClass(classId);
}

// Scans every object: a class moved to another superclass may have taken
// objects with links of this type out of the link type's classes.
void Store::dropAllEnds(RepId linkType, RepId inverse) {
  for (RepId object = 1; object < ids_.next(); ++object) {
    if (!exists(object) || !objects_[object].ends.find(linkType).present) continue;
    for (RepId partner : partners(object, linkType)) logLink(linkType, inverse, object, partner, 0);
    dropEnd(object, linkType);
  }
}

bool Store::detachAttribute(RepId classId, RepId attr) {
  if (!metamodel_.detachAttribute(classId, attr)) return false;
  for (RepId sub : metamodel_.subtree(classId)) {
    if (metamodel_.isAttributeVisible(sub, attr)) continue;
    for (RepId object : metamodel_.classAt(sub).instances.rawIds()) {
      if (exists(object)) removeValue(object, attr);
    }
  }
  return true;
}

bool Store::deleteAttribute(RepId attr) {
  if (!metamodel_.findAttribute(attr)) return refuse<bool>("no such attribute");
  for (RepId object = 0; object < ids_.next(); ++object) {
    if (exists(object)) removeValue(object, attr);
  }
  return metamodel_.deleteAttribute(attr);
}

bool Store::deleteLinkTypePair(RepId linkType) {
  const LinkTypeRec* rec = metamodel_.findLinkType(linkType);
  if (!rec) return refuse<bool>("no such link type");
  RepId inverse = rec->inverse;
  dropAllEnds(linkType, inverse);
  dropAllEnds(inverse, linkType);
  return metamodel_.deleteLinkTypePair(linkType);
}

// ---- objects --------------------------------------------------------------------

uint32_t Store::objectCount(RepId classId) const {
  const ClassRec* cls = metamodel_.findClass(classId);
  if (!cls) return 0;
  uint32_t count = cls->instances.size();
  for (RepId sub : cls->subclasses) count += objectCount(sub);
  return count;
}

void Store::compactInstances(ClassRec& cls) {
  cls.instances.compact([this](RepId id) { return exists(id); });
}

RepId Store::objectAt(RepId classId, uint32_t index) {
  ClassRec* cls = metamodel_.findClass(classId);
  if (!cls) return 0;
  if (cls->instances.needsCompaction()) compactInstances(*cls);
  if (index < cls->instances.size()) return cls->instances.at(index);
  index -= cls->instances.size();
  for (RepId sub : cls->subclasses) {
    uint32_t count = objectCount(sub);
    if (index < count) return objectAt(sub, index);
    index -= count;
  }
  return 0;
}

RepId Store::createObject(RepId classId) {
  ClassRec* cls = metamodel_.findClass(classId);
  if (!cls) return refuse<RepId>("no such class");
  RepId id = ids_.take();
  if (id == 0) return refuse<RepId>("the id space is exhausted");
  setAlive(id, classId);
  cls->instances.append(id);
  changes_.markObject(id, ChangeSet::kRow);
  return id;
}

// CLASSID 0 marks the id dead.
void Store::setAlive(RepId id, RepId classId) {
  objects_.ensure(id);
  values_.ensure(id);
  objects_[id].classId = classId;
  size_t word = id >> 6;
  if (word >= alive_.size()) alive_.resize(std::max<size_t>(word + 1, alive_.size() * 2));
  uint64_t bit = uint64_t{1} << (id & 63);
  alive_[word] = classId ? (alive_[word] | bit) : (alive_[word] & ~bit);
}

bool Store::deleteObject(RepId object) {
  ObjectRec* rec = liveObject(object);
  if (!rec) return refuse<bool>("no such object");
  unlinkAll(object);
  ClassRec& cls = metamodel_.classAt(rec->classId);
  setAlive(object, 0);
  rec->ends.clear();
  ValueList().swap(values_[object]);
  cls.instances.noteDeleted();
  if (cls.instances.isSparse()) compactInstances(cls);
  changes_.markObject(object, ChangeSet::kRow);
  return true;
}

// Copies the ends first: removing a self-link changes the object's own table.
void Store::unlinkAll(RepId object) {
  std::vector<std::pair<RepId, std::vector<RepId>>> ends;
  objects_[object].ends.forEachRun([&](RepId linkType, const EndTable::Run&) {
    ends.emplace_back(linkType, partners(object, linkType));
  });
  for (const auto& [linkType, partnerIds] : ends) {
    RepId inverse = metamodel_.linkTypeAt(linkType).inverse;
    for (RepId partner : partnerIds) {
      removePartner(partner, inverse, object);
      logLink(linkType, inverse, object, partner, 0);
    }
  }
  for (const auto& [linkType, partnerIds] : ends) dropEnd(object, linkType);
}

// ---- links ----------------------------------------------------------------------

uint32_t Store::keepBigEnd(BigEnd end) {
  auto kept = std::make_unique<BigEnd>(std::move(end));
  if (freeBigSlots_.empty()) {
    bigEnds_.push_back(std::move(kept));
    return static_cast<uint32_t>(bigEnds_.size() - 1);
  }
  uint32_t slot = freeBigSlots_.back();
  freeBigSlots_.pop_back();
  bigEnds_[slot] = std::move(kept);
  return slot;
}

void Store::releaseBigEnd(uint32_t slot) {
  bigEnds_[slot].reset();
  freeBigSlots_.push_back(slot);
}

uint32_t Store::partnerCount(RepId object, RepId linkType) const {
  if (!exists(object)) return 0;
  EndTable::Run run = objects_[object].ends.find(linkType);
  if (!run.outOfLine) return static_cast<uint32_t>(run.partners.size());
  return bigEnd(run).size();
}

RepId Store::partnerAt(RepId object, RepId linkType, uint32_t index) const {
  if (!exists(object)) return 0;
  EndTable::Run run = objects_[object].ends.find(linkType);
  if (!run.outOfLine) return index < run.partners.size() ? run.partners[index] : 0;
  const BigEnd& big = bigEnd(run);
  return index < big.size() ? big.at(index) : 0;
}

std::vector<RepId> Store::partners(RepId object, RepId linkType) const {
  if (!exists(object)) return {};
  EndTable::Run run = objects_[object].ends.find(linkType);
  if (!run.outOfLine) return {run.partners.begin(), run.partners.end()};
  return bigEnd(run).ordered();
}

bool Store::connected(RepId linkType, RepId from, RepId to) const {
  if (!exists(from)) return false;
  EndTable::Run run = objects_[from].ends.find(linkType);
  if (!run.present) return false;
  if (run.outOfLine) return bigEnd(run).contains(to);
  return std::find(run.partners.begin(), run.partners.end(), to) != run.partners.end();
}

bool Store::fitsLinkType(const LinkTypeRec& linkType, RepId from, RepId to) const {
  RepId fromClass = classOf(from);
  RepId toClass = classOf(to);
  return (fromClass == linkType.start || metamodel_.extends(fromClass, linkType.start)) &&
         (toClass == linkType.end || metamodel_.extends(toClass, linkType.end));
}

void Store::addPartner(RepId object, RepId linkType, RepId partner) {
  EndTable& ends = objects_[object].ends;
  if (ends.appendInline(linkType, partner)) return;
  EndTable::Run run = ends.find(linkType);
  if (run.outOfLine) {
    bigEnd(run).append(partner);
  } else {
    BigEnd grown(run.partners);
    grown.append(partner);
    ends.setOutOfLine(linkType, keepBigEnd(std::move(grown)));
  }
}

bool Store::removePartner(RepId object, RepId linkType, RepId partner) {
  EndTable& ends = objects_[object].ends;
  EndTable::Run run = ends.find(linkType);
  if (!run.present) return false;
  if (!run.outOfLine) return ends.removeInline(linkType, partner);
  BigEnd& big = bigEnd(run);
  if (!big.remove(partner)) return false;
  if (big.size() > EndTable::kMaxInline / 2) return true;
  // Few partners left: back inline, where they cost far less memory.
  std::vector<RepId> rest = big.ordered();
  dropEnd(object, linkType);
  ends.addRun(linkType, rest);
  return true;
}

void Store::dropEnd(RepId object, RepId linkType) {
  EndTable& ends = objects_[object].ends;
  EndTable::Run run = ends.find(linkType);
  if (run.outOfLine) releaseBigEnd(run.bigSlot);
  ends.eraseRun(linkType);
}

// One row per link, named from the end with the larger object id, so that
// the links of new objects go to the end of the table; a link of an object
// to itself is named over the lower link type id.
void Store::logLink(RepId linkType, RepId inverse, RepId from, RepId to, uint64_t seq) {
  if (from > to || (from == to && linkType < inverse)) {
    changes_.noteLink(LinkChange{from, linkType, to, seq});
  } else {
    changes_.noteLink(LinkChange{to, inverse, from, seq});
  }
}

bool Store::createLink(RepId linkType, RepId from, RepId to) {
  if (!exists(from) || !exists(to)) return refuse<bool>("no such object");
  prefetch(from);
  prefetch(to);
  const LinkTypeRec* rec = metamodel_.findLinkType(linkType);
  if (!rec) return refuse<bool>("no such link type");
  if (!fitsLinkType(*rec, from, to)) {
    return refuse<bool>("the objects' classes do not fit link type \"" + rec->name + "\"");
  }
  addPartner(from, linkType, to);
  addPartner(to, rec->inverse, from);
  logLink(linkType, rec->inverse, from, to, nextLinkSeq_++);
  return true;
}

bool Store::deleteLink(RepId linkType, RepId from, RepId to) {
  const LinkTypeRec* rec = metamodel_.findLinkType(linkType);
  if (!rec) return refuse<bool>("no such link type");
  if (!exists(from) || !removePartner(from, linkType, to)) return refuse<bool>("no such link");
  removePartner(to, rec->inverse, from);
  logLink(linkType, rec->inverse, from, to, 0);
  return true;
}

// ---- values --------------------------------------------------------------------

bool Store::acceptsValue(RepId attr, std::string_view text) const {
  const AttributeRec* rec = metamodel_.findAttribute(attr);
  return rec && isValueOfBaseType(rec->baseType, text);
}

bool Store::setValue(RepId object, RepId attr, std::string_view text) {
  ObjectRec* rec = liveObject(object);
  if (!rec) return refuse<bool>("no such object");
  const AttributeRec* attrRec = metamodel_.findAttribute(attr);
  if (!attrRec) return refuse<bool>("no such attribute");
  if (!metamodel_.isAttributeVisible(rec->classId, attr)) {
    return refuse<bool>("class \"" + metamodel_.nameOf(rec->classId) + "\" has no attribute \"" +
                        attrRec->name + "\"");
  }
  if (!isValueOfBaseType(attrRec->baseType, text)) {
    return refuse<bool>("\"" + std::string(text) + "\" is not a value of attribute \"" +
                        attrRec->name + "\"");
  }
  if (text.empty()) {
    removeValue(object, attr);
    return true;
  }
  ValueList& values = values_[object];
  auto found = std::find_if(values.begin(), values.end(),
                            [attr](const Value& value) { return value.attr == attr; });
  if (found == values.end()) {
    values.push_back(Value{attr, std::string(text)});
  } else {
    found->text = text;
  }
  changes_.markObject(object, ChangeSet::kValues);
  return true;
}

bool Store::removeValue(RepId object, RepId attr) {
  ValueList& values = values_[object];
  auto found = std::find_if(values.begin(), values.end(),
                            [attr](const Value& value) { return value.attr == attr; });
  if (found == values.end()) return false;
  values.erase(found);
  changes_.markRemovedValue(object, attr);
  return true;
}

const std::string* Store::value(RepId object, RepId attr) const {
  if (!exists(object)) return nullptr;
  for (const Value& value : values_[object]) {
    if (value.attr == attr) return &value.text;
  }
  return nullptr;
}

// ---- restoring -------------------------------------------------------------------

bool Store::restoreObject(RepId id, RepId classId) {
  ClassRec* cls = metamodel_.findClass(classId);
  if (!cls || id == 0 || id >= ids_.next() || exists(id)) return false;
  if (metamodel_.kindOf(id) != TypeKind::None) return false;
  setAlive(id, classId);
  cls->instances.append(id);
  return true;
}

bool Store::restoreValue(RepId object, RepId attr, std::string_view text) {
  if (!exists(object) || !metamodel_.findAttribute(attr) || text.empty()) return false;
  values_[object].push_back(Value{attr, std::string(text)});
  return true;
}

bool Store::restoreLink(const LinkChange& link) {
  const LinkTypeRec* rec = metamodel_.findLinkType(link.linkType);
  if (!rec || !exists(link.from) || !exists(link.to) || link.seq == 0) return false;
  bool named = link.from > link.to || (link.from == link.to && link.linkType < rec->inverse);
  if (!named) return false;
  addPartner(link.from, link.linkType, link.to);
  addPartner(link.to, rec->inverse, link.from);
  return true;
}

}  // namespace rep
