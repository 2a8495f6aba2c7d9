#include "runtime/L0_Var.h"

#include <algorithm>

#include "runtime/Generation.h"
#include "runtime/InternalError.h"
#include "runtime/L0_ObjectIDListS.h"
#include "runtime/Logger.h"
#include "runtime/MessageSink.h"
#include "runtime/strRoutine.h"

namespace {

const char* const kSource = "runtime/L0_Var.cpp";
const char* const kHeader = "runtime/L0_Var.h";

std::string quoted(const std::string& s) {
  return "\"" + s + "\"";
}

void reportMissingClass(const std::string& className) {
  reportRuntimeError("Class " + quoted(className) + " does not exist.");
}

void reportMissingRole(const std::string& roleName, RepId classId) {
  reportRuntimeError("Association " + quoted(roleName) + " starting from class " +
                     quoted(RepositoryUser::getTypeName(classId)) + " does not exist.");
}

[[noreturn]] void unsupported() {
  internalError("UnsupportedOperation", kHeader);
}

// C is the declared class or one of its subclasses.
bool fitsDeclaredClass(const std::string& declared, RepId requested) {
  return RepositoryUser::isSubclass(RepositoryUser::getObjectTypeIdByName(declared), requested);
}

const char* const kUnexistingObject = "Attempt to use unexisting object\nProgramm will now exit !";

}  // namespace

// ---- the base state: every operation a state does not support is a bug

ObjID L0_Var_2::L0_Var_2_State::getCurrObjID() const {
  unsupported();
}
bool L0_Var_2::L0_Var_2_State::setFirstToRoot(const std::string&) {
  unsupported();
}
bool L0_Var_2::L0_Var_2_State::setFirstByRelation(const L0_Var_2&, const std::string&) {
  unsupported();
}
bool L0_Var_2::L0_Var_2_State::setFirstByRelation(ObjID, const std::string&) {
  unsupported();
}
void L0_Var_2::L0_Var_2_State::setToNewObject(ObjID, RepId) {
  unsupported();
}

// ---- root search

L0_Var_2::DirectReferenceToRoot::DirectReferenceToRoot(const DirectReferenceToRoot& other)
    : L0_Var_2_State(other),
      subClassesIDs(other.subClassesIDs ? std::make_unique<IdVector>(*other.subClassesIDs)
                                        : nullptr),
      classPos_(other.classPos_),
      objPos_(other.objPos_),
      pinned_(other.pinned_),
      exhausted_(other.exhausted_),
      untyped_(other.untyped_) {}

L0_Var_2::DirectReferenceToRoot& L0_Var_2::DirectReferenceToRoot::operator=(
    const DirectReferenceToRoot& other) {
  if (this == &other) return *this;
  L0_Var_2_State::operator=(other);
  subClassesIDs = other.subClassesIDs ? std::make_unique<IdVector>(*other.subClassesIDs) : nullptr;
  classPos_ = other.classPos_;
  objPos_ = other.objPos_;
  pinned_ = other.pinned_;
  exhausted_ = other.exhausted_;
  untyped_ = other.untyped_;
  return *this;
}

bool L0_Var_2::DirectReferenceToRoot::setFirstToRoot(const std::string& className) {
  RepId classId = RepositoryUser::getObjectTypeIdByName(className);
  clear();
  if (classId == 0) return false;
  if (!untyped_ && !fitsDeclaredClass(className_, classId))
    throw L0_Var_2_Exception(
        "Incompatible types in setFirstToRoot\ndeclared type : " + quoted(className_) +
        "\nclass requested in setFirstToRoot : " + quoted(className) + ".");
  subClassesIDs = std::make_unique<IdVector>(RepositoryUser::getSubClassIds(classId));
  return next();
}

int64_t L0_Var_2::DirectReferenceToRoot::positionAfterPin() const {
  const IdVector* objects =
      L0_ObjectIDListS::instance().classObjectList((*subClassesIDs)[classPos_]);
  if (!objects) return 0;
  // Lists hold ids in creation order, which is ascending.
  auto hit = std::lower_bound(objects->begin(), objects->end(), pinned_);
  if (hit != objects->end() && *hit == pinned_) return (hit - objects->begin()) + 1;
  auto scanned = std::find(objects->begin(), objects->end(), pinned_);
  if (scanned != objects->end()) return (scanned - objects->begin()) + 1;
  return hit - objects->begin();
}

bool L0_Var_2::DirectReferenceToRoot::next() {
  if (!subClassesIDs) return false;
  bool pinned = pinned_ != badObjID && classPos_ != badInd;
  bool fromStart = !pinned && (classPos_ == badInd || objPos_ == badInd);
  int32_t classPos = fromStart ? 0 : classPos_;
  int64_t objPos = fromStart ? 0 : pinned ? positionAfterPin() : static_cast<int64_t>(objPos_) + 1;
  pinned_ = badObjID;
  auto& lists = L0_ObjectIDListS::instance();
  for (; classPos < static_cast<int32_t>(subClassesIDs->size()); ++classPos, objPos = 0) {
    const IdVector* objects = lists.classObjectList((*subClassesIDs)[classPos]);
    if (!objects) break;
    for (; objPos < static_cast<int64_t>(objects->size()); ++objPos) {
      if (RepositoryUser::objectExists((*objects)[objPos])) {
        classPos_ = classPos;
        objPos_ = static_cast<int32_t>(objPos);
        exhausted_ = false;
        return true;
      }
    }
  }
  exhausted_ = true;
  return false;
}

bool L0_Var_2::DirectReferenceToRoot::hasPosition() const {
  return !exhausted_ && classPos_ != badInd && (objPos_ != badInd || pinned_ != badObjID);
}

ObjID L0_Var_2::DirectReferenceToRoot::rawCurrObjID() const {
  if (!subClassesIDs || classPos_ == badInd ||
      classPos_ >= static_cast<int32_t>(subClassesIDs->size()))
    return badObjID;
  if (pinned_ != badObjID) return pinned_;
  if (objPos_ == badInd) return badObjID;
  const IdVector* objects =
      L0_ObjectIDListS::instance().classObjectList((*subClassesIDs)[classPos_]);
  if (!objects || objPos_ >= static_cast<int32_t>(objects->size())) return badObjID;
  return (*objects)[objPos_];
}

bool L0_Var_2::DirectReferenceToRoot::isNull() const {
  if (exhausted_) return true;
  ObjID id = rawCurrObjID();
  return id == badObjID || !RepositoryUser::objectExists(id);
}

ObjID L0_Var_2::DirectReferenceToRoot::getCurrObjID() const {
  if (isNull()) internalError("!isNull()", kSource);
  return rawCurrObjID();
}

void L0_Var_2::DirectReferenceToRoot::clear() {
  subClassesIDs.reset();
  classPos_ = badInd;
  objPos_ = badInd;
  pinned_ = badObjID;
  exhausted_ = false;
}

// The list a bound variable walks: its declared class with subclasses, or
// every class when untyped.
bool L0_Var_2::DirectReferenceToRoot::loadDeclaredClassList() {
  if (subClassesIDs) return true;
  subClassesIDs = std::make_unique<IdVector>(untyped_ ? RepositoryUser::getAllClassIds()
                                                      : RepositoryUser::getSubClassIds(className_));
  return true;
}

int32_t L0_Var_2::DirectReferenceToRoot::indexOfClass(RepId classId) const {
  if (!subClassesIDs) return badInd;
  auto hit = std::find(subClassesIDs->begin(), subClassesIDs->end(), classId);
  return hit == subClassesIDs->end() ? badInd : static_cast<int32_t>(hit - subClassesIDs->begin());
}

void L0_Var_2::DirectReferenceToRoot::copyPosition(const L0_Var_2& rhs) {
  const DirectReferenceToRoot& other = rhs.dirRef_;
  bool usable = rhs.getKind() == DirRef && !rhs.isStale() && other.hasPosition() &&
                other.subClassesIDs &&
                other.classPos_ < static_cast<int32_t>(other.subClassesIDs->size());
  int32_t classPos = badInd;
  if (usable) {
    loadDeclaredClassList();
    classPos = indexOfClass((*other.subClassesIDs)[other.classPos_]);
  }
  if (classPos == badInd) {
    clear();
    return;
  }
  classPos_ = classPos;
  objPos_ = other.objPos_;
  pinned_ = other.pinned_;
  exhausted_ = other.exhausted_;
}

void L0_Var_2::DirectReferenceToRoot::assign(const L0_Var_2& rhs) {
  if (!untyped_ && !RepositoryUser::classExists(className_)) {
    reportMissingClass(className_);
    clear();
    return;
  }
  if (rhs.isNull()) {
    copyPosition(rhs);
    return;
  }
  VarKind kind = rhs.getKind();
  if (kind == UnInit) {
    clear();
    return;
  }
  loadDeclaredClassList();
  ObjID object = rhs.getCurrObjID();
  int32_t classPos = indexOfClass(RepositoryUser::getObjectTypeId(object));
  if (classPos == badInd) {
    reportRuntimeError("Assignment Failed.");
    clear();
    return;
  }
  classPos_ = classPos;
  exhausted_ = false;
  if (kind == DirRef && rhs.dirRef_.pinned_ == badObjID) {
    objPos_ = rhs.dirRef_.objPos_;
    pinned_ = badObjID;
  } else {
    objPos_ = badInd;
    pinned_ = object;
  }
  if (rawCurrObjID() != object) internalError("assigned object at position", kSource);
}

void L0_Var_2::DirectReferenceToRoot::setToNewObject(ObjID objID, RepId classID) {
  clear();
  loadDeclaredClassList();
  classPos_ = indexOfClass(classID);
  if (classPos_ == badInd || objID == badObjID) internalError("new object in class list", kSource);
  pinned_ = objID;
  exhausted_ = false;
}

// ---- navigation

bool L0_Var_2::ReferenceByRelation::setFirstByRelation(const L0_Var_2& from,
                                                       const std::string& roleName) {
  return setFirstByRelation(from.getCurrObjID(), roleName);
}

bool L0_Var_2::ReferenceByRelation::setFirstByRelation(ObjID fromObjID,
                                                       const std::string& roleName) {
  clear();
  RepId classId = RepositoryUser::getObjectTypeId(fromObjID);
  RepId linkType = RepositoryUser::getLinkTypeIdByName(classId, roleName);
  if (linkType == 0) {
    reportMissingRole(roleName, classId);
    return false;
  }
  fromObj_ = fromObjID;
  linkType_ = linkType;
  currPartnersList = PartnerListCache::instance().partnerList(linkType, fromObjID);
  if (!currPartnersList) internalError("currPartnersList", kSource);
  return next();
}

// While nothing was unlinked, the store holds the partner at the same place
// as the list: reading that place is cheaper than the link test of a big end.
bool L0_Var_2::ReferenceByRelation::entryIsLive(int32_t index) const {
  if (currPartnersList->skipId[index]) return false;
  ObjID partner = currPartnersList->ids[index];
  return RepositoryUser::getLinkedObjectIdByIndex(fromObj_, linkType_,
                                                  static_cast<uint32_t>(index)) == partner ||
         RepositoryUser::alreadyConnected(linkType_, fromObj_, partner);
}

bool L0_Var_2::ReferenceByRelation::next() {
  if (!currPartnersList || !RepositoryUser::objectExists(fromObj_)) {
    exhausted_ = true;
    return false;
  }
  int32_t size = static_cast<int32_t>(currPartnersList->size());
  for (int32_t i = partnerPos_ + 1; i < size; ++i) {
    if (entryIsLive(i)) {
      partnerPos_ = i;
      exhausted_ = false;
      return true;
    }
  }
  exhausted_ = true;
  return false;
}

bool L0_Var_2::ReferenceByRelation::isNull() const {
  if (exhausted_ || !currPartnersList || partnerPos_ == badInd ||
      partnerPos_ >= static_cast<int32_t>(currPartnersList->size()))
    return true;
  if (!RepositoryUser::objectExists(fromObj_)) return true;
  return !entryIsLive(partnerPos_);
}

ObjID L0_Var_2::ReferenceByRelation::getCurrObjID() const {
  if (isNull()) internalError("!isNull()", kSource);
  return rawCurrObjID();
}

ObjID L0_Var_2::ReferenceByRelation::rawCurrObjID() const {
  if (!currPartnersList || partnerPos_ == badInd ||
      partnerPos_ >= static_cast<int32_t>(currPartnersList->size()))
    return badObjID;
  return currPartnersList->ids[partnerPos_];
}

bool L0_Var_2::ReferenceByRelation::hasPosition() const {
  return !exhausted_ && partnerPos_ != badInd;
}

void L0_Var_2::ReferenceByRelation::clear() {
  partnerPos_ = badInd;
  currPartnersList = nullptr;
  fromObj_ = badObjID;
  linkType_ = 0;
  exhausted_ = false;
}

void L0_Var_2::ReferenceByRelation::assign(const L0_Var_2& rhs) {
  if (rhs.isNull() || rhs.getKind() == UnInit) {
    clear();
    return;
  }
  ObjID object = rhs.getCurrObjID();
  int32_t index = badInd;
  if (currPartnersList) {
    for (int32_t i = 0; i < static_cast<int32_t>(currPartnersList->size()); ++i) {
      if (currPartnersList->ids[i] == object && !currPartnersList->skipId[i]) {
        index = i;
        break;
      }
    }
  }
  if (index == badInd) {
    reportRuntimeError("Assignment Failed.");
    clear();
    return;
  }
  partnerPos_ = index;
  exhausted_ = false;
}

// ---- the variable

int32_t L0_Var_2::currentGenerationValue() {
  return currentGeneration;
}

L0_Var_2::L0_Var_2()
    : dirRef_("", true),
      relRef_(""),
      unInit_(""),
      state_(&unInit_),
      stamp_(currentGeneration),
      untyped_(true) {}

L0_Var_2::L0_Var_2(const std::string& className, Unchecked)
    : dirRef_(className, false),
      relRef_(className),
      unInit_(className),
      state_(&unInit_),
      className_(className),
      stamp_(currentGeneration),
      untyped_(false) {}

L0_Var_2::L0_Var_2(const std::string& className) : L0_Var_2(className, Unchecked{}) {
  if (!RepositoryUser::classExists(className)) reportMissingClass(className);
}

L0_Var_2 L0_Var_2::declaredUnchecked(const std::string& className) {
  return L0_Var_2(className, Unchecked{});
}

L0_Var_2::L0_Var_2(const L0_Var_2& other)
    : dirRef_(other.dirRef_),
      relRef_(other.relRef_),
      unInit_(other.unInit_),
      state_(&unInit_),
      className_(other.className_),
      stamp_(other.stamp_),
      untyped_(other.untyped_) {
  setKind(other.getKind());
}

L0_Var_2& L0_Var_2::operator=(const L0_Var_2& other) {
  if (this == &other) return *this;
  dirRef_ = other.dirRef_;
  relRef_ = other.relRef_;
  unInit_ = other.unInit_;
  className_ = other.className_;
  stamp_ = other.stamp_;
  untyped_ = other.untyped_;
  setKind(other.getKind());
  return *this;
}

L0_Var_2 L0_Var_2::fromObjectId(ObjID object) {
  if (!RepositoryUser::objectExists(object)) return L0_Var_2();
  std::string className = RepositoryUser::getTypeName(RepositoryUser::getObjectTypeId(object));
  L0_Var_2 var(className);
  var.refreshStamp();
  var.setKind(DirRef);
  var.dirRef_.clear();
  var.dirRef_.loadDeclaredClassList();
  int32_t classPos = var.dirRef_.indexOfClass(RepositoryUser::getObjectTypeId(object));
  if (classPos == badInd) return L0_Var_2();
  var.dirRef_.classPos_ = classPos;
  var.dirRef_.pinned_ = object;
  var.dirRef_.exhausted_ = false;
  return var;
}

void L0_Var_2::setKind(VarKind kind) {
  switch (kind) {
    case UnInit:
      state_ = &unInit_;
      break;
    case DirRef:
      state_ = &dirRef_;
      break;
    case RelRef:
      state_ = &relRef_;
      break;
    default:
      internalError("Illegal newKind value", kSource);
  }
}

VarKind L0_Var_2::getKind() const {
  if (state_ == &unInit_) return UnInit;
  if (state_ == &dirRef_) return DirRef;
  if (state_ == &relRef_) return RelRef;
  internalError("UnknownKind", kSource);
}

void L0_Var_2::refreshStamp() {
  stamp_ = currentGeneration;
}

bool L0_Var_2::setFirstToRoot(const std::string& className) {
  refreshStamp();
  setKind(DirRef);
  return state_->setFirstToRoot(className);
}

bool L0_Var_2::setFirstByRelation(const L0_Var_2& from, const std::string& roleName) {
  if (from.isNull()) {
    refreshStamp();
    setKind(RelRef);
    setNull();
    return false;
  }
  ObjID fromId = from.getCurrObjID();
  refreshStamp();
  setKind(RelRef);
  return state_->setFirstByRelation(fromId, roleName);
}

bool L0_Var_2::next() {
  if (isStale()) setKind(UnInit);
  return state_->next();
}

void L0_Var_2::assign(const L0_Var_2& rhs) {
  refreshStamp();
  if (getKind() == UnInit) {
    setKind(DirRef);
    state_->setFirstToRoot(className_);
  }
  state_->assign(rhs);
}

void L0_Var_2::setNull() {
  if (!isStale())
    state_->clear();
  else
    setKind(UnInit);
  refreshStamp();
}

bool L0_Var_2::isNull() const {
  return isStale() || state_->isNull();
}

ObjID L0_Var_2::getCurrObjID() const {
  return isNull() ? badObjID : state_->getCurrObjID();
}

std::string L0_Var_2::toTraceString() const {
  return isNull() ? " null " : strRoutine::intToStr(getCurrObjID());
}

RepId L0_Var_2::actualClassId() const {
  return RepositoryUser::getObjectTypeId(getCurrObjID());
}

bool L0_Var_2::isTypeOf(const std::string& className) const {
  if (isNull()) {
    gr::showMessageBox("Null in isTypeOf.\nProgramm will now exit !");
    throw L0_Var_2_Exception("");
  }
  RepId classId = RepositoryUser::getObjectTypeIdByName(className);
  return classId != 0 && actualClassId() == classId;
}

RepId L0_Var_2::roleOfCurrentClass(const std::string& roleName) const {
  RepId classId = actualClassId();
  RepId linkType = RepositoryUser::getLinkTypeIdByName(classId, roleName);
  if (linkType == 0) reportMissingRole(roleName, classId);
  return linkType;
}

bool L0_Var_2::checkLink(const L0_Var_2& to, const std::string& roleName) const {
  if (isNull() || to.isNull()) return false;
  RepId linkType = roleOfCurrentClass(roleName);
  return linkType != 0 &&
         RepositoryUser::alreadyConnected(linkType, getCurrObjID(), to.getCurrObjID());
}

bool operator==(const L0_Var_2& a, const L0_Var_2& b) {
  bool aNull = a.isNull();
  bool bNull = b.isNull();
  if (aNull || bNull) return aNull && bNull;
  return a.getCurrObjID() == b.getCurrObjID();
}

void L0_Var_2::addObj(const std::string& className) {
  refreshStamp();
  RepId classId = RepositoryUser::getObjectTypeIdByName(className);
  if (classId == 0) {
    reportMissingClass(className);
    setKind(UnInit);
    setNull();
    return;
  }
  if (!untyped_ && !fitsDeclaredClass(className_, classId))
    throw L0_Var_2_Exception(
        "Incompatible types in addObj(requested class is not subclass of declared class)\n"
        "declared class name : " +
        quoted(className_) + "\n requested class name : " + quoted(className) + ".");
  ObjID id = RepositoryUser::createObject(classId);
  if (id == badObjID) internalError("newObjID != badObjID", kSource);
  setKind(DirRef);
  state_->setToNewObject(id, classId);
}

bool L0_Var_2::deleteObj() {
  if (isNull()) return false;
  return RepositoryUser::deleteObject(getCurrObjID());
}

bool L0_Var_2::addLink(const L0_Var_2& to, const std::string& roleName) {
  if (isNull() || to.isNull()) {
    gr::showMessageBox("Null in AddLink.");
    return false;
  }
  RepId linkType = roleOfCurrentClass(roleName);
  if (linkType == 0) return false;
  return RepositoryUser::createLink(linkType, getCurrObjID(), to.getCurrObjID());
}

bool L0_Var_2::deleteLink(const L0_Var_2& to, const std::string& roleName) {
  if (isNull() || to.isNull()) {
    gr::showMessageBox("Null in Delete Link. No deletion occured.");
    return false;
  }
  RepId linkType = roleOfCurrentClass(roleName);
  if (linkType == 0) return false;
  return RepositoryUser::deleteLink(linkType, getCurrObjID(), to.getCurrObjID());
}

// ---- attributes

RepId L0_Var_2::getAttrID(const std::string& attrName) const {
  RepId classId = untyped_ ? actualClassId() : RepositoryUser::getObjectTypeIdByName(className_);
  return RepositoryUser::getPropertyTypeIdByName(classId, attrName);
}

std::string L0_Var_2::getAttr(RepId attrID) const {
  if (isNull()) {
    reportRuntimeError(kUnexistingObject);
    throw L0_Var_2_Exception("");
  }
  if (attrID == 0) reportRuntimeError("Bad Attribute ID 0.");
  return RepositoryUser::getProperty(getCurrObjID(), attrID);
}

std::string L0_Var_2::getAttr(const std::string& attrName) const {
  return getAttr(getAttrID(attrName));
}

std::string L0_Var_2::getAttrOfActualClass(const std::string& attrName) const {
  RepId attr = RepositoryUser::getPropertyTypeIdByName(actualClassId(), attrName);
  if (attr == 0) reportRuntimeError("Bad Attribute ID 0.");
  return getAttr(attr);
}

bool L0_Var_2::getAttrBool(const std::string& attrName) const {
  return strRoutine::strToBool(getAttr(attrName));
}

int L0_Var_2::getAttrInt(const std::string& attrName) const {
  return strRoutine::strToInt(getAttr(attrName));
}

bool L0_Var_2::setAttr(const std::string& attrName, const std::string& value) {
  RepId attr = RepositoryUser::getPropertyTypeIdByName(actualClassId(), attrName);
  if (attr == 0) reportRuntimeError("Bad Attribute ID 0.");
  return setAttrById(attr, value);
}

bool L0_Var_2::setAttr(const std::string& attrName, const char* value) {
  return setAttr(attrName, std::string(value ? value : ""));
}

bool L0_Var_2::setAttr(const std::string& attrName, bool value) {
  return setAttr(attrName, strRoutine::boolToStr(value));
}

bool L0_Var_2::setAttr(const std::string& attrName, int value) {
  return setAttr(attrName, strRoutine::intToStr(value));
}

bool L0_Var_2::setAttr(const std::string& attrName, double value) {
  return setAttr(attrName, strRoutine::doubleToStr(value));
}

bool L0_Var_2::setAttrById(RepId attrID, const std::string& value) {
  if (isNull()) {
    reportRuntimeError(kUnexistingObject);
    throw L0_Var_2_Exception("");
  }
  if (attrID == 0) reportRuntimeError("Bad Attribute ID 0");
  return RepositoryUser::setProperty(getCurrObjID(), attrID, value);
}
