// The object variable through which every transformation reaches the model.
// A variable is null or stands on one object and remembers its search — a
// root search over a class with its subclasses, or a navigation over a role
// from an object — so that next() continues that search.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "runtime/PartnerListCache.h"
#include "runtime/RepositoryUser.h"

enum VarKind { UnInit = 0, DirRef = 1, RelRef = 2 };

// Ends the running transformation; nothing inside the transformations catches it.
class L0_Var_2_Exception : public std::runtime_error {
 public:
  explicit L0_Var_2_Exception(const std::string& text) : std::runtime_error(text) {}
  std::string text() const { return what(); }
};

class L0_Var_2 {
 public:
  class L0_Var_2_State {
   public:
    explicit L0_Var_2_State(const std::string& className) : className_(className) {}
    virtual ~L0_Var_2_State() = default;
    L0_Var_2_State(const L0_Var_2_State&) = default;
    L0_Var_2_State& operator=(const L0_Var_2_State&) = default;

    virtual ObjID getCurrObjID() const;
    virtual bool setFirstToRoot(const std::string& className);
    virtual bool setFirstByRelation(const L0_Var_2& from, const std::string& roleName);
    virtual bool setFirstByRelation(ObjID fromObjID, const std::string& roleName);
    virtual void clear() {}
    virtual bool isNull() const { return true; }
    virtual bool next() { return false; }
    virtual void assign(const L0_Var_2&) {}
    virtual void setToNewObject(ObjID objID, RepId classID);
    virtual bool hasPosition() const { return true; }
    virtual ObjID rawCurrObjID() const { return badObjID; }

   protected:
    std::string className_;
  };

  // The null variable.
  class UnInitialized : public L0_Var_2_State {
   public:
    using L0_Var_2_State::L0_Var_2_State;
  };

  // A root search: the requested class and its subclasses, object by object.
  class DirectReferenceToRoot : public L0_Var_2_State {
   public:
    DirectReferenceToRoot(const std::string& className, bool untyped)
        : L0_Var_2_State(className), untyped_(untyped) {}
    DirectReferenceToRoot(const DirectReferenceToRoot& other);
    DirectReferenceToRoot& operator=(const DirectReferenceToRoot& other);

    ObjID getCurrObjID() const override;
    bool setFirstToRoot(const std::string& className) override;
    void clear() override;
    bool isNull() const override;
    bool next() override;
    void assign(const L0_Var_2& rhs) override;
    void setToNewObject(ObjID objID, RepId classID) override;
    bool hasPosition() const override;
    ObjID rawCurrObjID() const override;
    void copyPosition(const L0_Var_2& rhs);

   private:
    friend class L0_Var_2;
    bool loadDeclaredClassList();
    int32_t indexOfClass(RepId classId) const;
    // Where a search continues after the pinned object in its class's list.
    int64_t positionAfterPin() const;

    std::unique_ptr<IdVector> subClassesIDs;
    int32_t classPos_ = badInd;
    int32_t objPos_ = badInd;
    // The object the variable stands on when it was set to it directly (a
    // new object, an object by id): its place in the class's list is looked
    // up only when the search goes on, so that standing on an object never
    // costs a whole list.
    ObjID pinned_ = badObjID;
    bool exhausted_ = false;
    bool untyped_ = false;
  };

  // A navigation: the partners of one object over one link type.
  class ReferenceByRelation : public L0_Var_2_State {
   public:
    using L0_Var_2_State::L0_Var_2_State;

    ObjID getCurrObjID() const override;
    bool setFirstByRelation(const L0_Var_2& from, const std::string& roleName) override;
    bool setFirstByRelation(ObjID fromObjID, const std::string& roleName) override;
    void clear() override;
    bool isNull() const override;
    bool next() override;
    void assign(const L0_Var_2& rhs) override;
    bool hasPosition() const override;
    ObjID rawCurrObjID() const override;

   private:
    bool entryIsLive(int32_t index) const;

    int32_t partnerPos_ = badInd;
    PartnerList* currPartnersList = nullptr;  // owned by the PartnerListCache
    ObjID fromObj_ = badObjID;
    RepId linkType_ = 0;
    bool exhausted_ = false;
  };

  // An untyped variable.
  L0_Var_2();
  // A variable declared with a class (x : C).
  explicit L0_Var_2(const std::string& className);
  L0_Var_2(const L0_Var_2& other);
  L0_Var_2& operator=(const L0_Var_2& other);
  ~L0_Var_2() = default;

  // The variable standing on OBJECT, as a root search of its class; null when
  // the object does not exist.
  static L0_Var_2 fromObjectId(ObjID object);
  // A variable declared with a class, built without asking the store whether
  // the class exists (library globals are built before any store is open).
  static L0_Var_2 declaredUnchecked(const std::string& className);

  void setKind(VarKind kind);
  VarKind getKind() const;

  // ---- searches
  bool setFirstToRoot(const std::string& className);
  bool setFirstByRelation(const L0_Var_2& from, const std::string& roleName);
  bool next();
  void assign(const L0_Var_2& rhs);
  void setNull();

  // ---- tests
  bool isNull() const;
  bool isStale() const { return stamp_ < currentGenerationValue(); }
  ObjID getCurrObjID() const;
  std::string toTraceString() const;
  bool isTypeOf(const std::string& className) const;
  bool checkLink(const L0_Var_2& to, const std::string& roleName) const;
  bool checkNoLink(const L0_Var_2& to, const std::string& roleName) const {
    return !checkLink(to, roleName);
  }
  friend bool operator==(const L0_Var_2& a, const L0_Var_2& b);
  friend bool operator!=(const L0_Var_2& a, const L0_Var_2& b) { return !(a == b); }

  // ---- changes
  void addObj(const std::string& className);
  bool deleteObj();
  // False when nothing was linked (a null side, an unknown role, a refusal).
  bool addLink(const L0_Var_2& to, const std::string& roleName);
  bool deleteLink(const L0_Var_2& to, const std::string& roleName);

  // ---- attributes
  // The attribute in the declared class (the actual one when untyped).
  RepId getAttrID(const std::string& attrName) const;
  std::string getAttr(RepId attrID) const;
  std::string getAttr(const std::string& attrName) const;
  // The attribute looked up in the class of the object itself.
  std::string getAttrOfActualClass(const std::string& attrName) const;
  bool getAttrBool(const std::string& attrName) const;
  int getAttrInt(const std::string& attrName) const;
  bool setAttr(const std::string& attrName, const std::string& value);
  bool setAttr(const std::string& attrName, const char* value);
  bool setAttr(const std::string& attrName, bool value);
  bool setAttr(const std::string& attrName, int value);
  bool setAttr(const std::string& attrName, double value);
  bool setAttrById(RepId attrID, const std::string& value);

  const std::string& className() const { return className_; }
  bool isUntyped() const { return untyped_; }
  int32_t stamp() const { return stamp_; }
  // The class id of the current object, 0 when null.
  RepId actualClassId() const;

 private:
  struct Unchecked {};
  L0_Var_2(const std::string& className, Unchecked);
  static int32_t currentGenerationValue();
  const L0_Var_2_State& state() const { return *state_; }
  void refreshStamp();
  RepId roleOfCurrentClass(const std::string& roleName) const;

  DirectReferenceToRoot dirRef_;
  ReferenceByRelation relRef_;
  UnInitialized unInit_;
  L0_Var_2_State* state_;
  std::string className_;
  int32_t stamp_;
  bool untyped_;
};
