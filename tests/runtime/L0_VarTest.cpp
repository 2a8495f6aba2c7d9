#include <vector>

#include "RuntimeFixture.h"
#include "runtime/L0_Var.h"

namespace {

// C with subclasses S1 (itself with S1a) and S2; Part--Whole navigation.
class L0_VarTest : public RuntimeFixture {
 protected:
  void SetUp() override {
    RuntimeFixture::SetUp();
    c = makeClass("C");
    s1 = makeClass("S1", c);
    s2 = makeClass("S2", c);
    s1a = makeClass("S1a", s1);
    other = makeClass("Other");
    wholeToPart = makeAssoc(c, "part", c, "whole");
    makeAssoc(other, "item", c, "owner");
    makeAttr(c, "name");
    makeAttr(c, "count", BaseType_INTEGER);
    makeAttr(c, "flag", BaseType_BOOLEAN);
    makeAttr(c, "ratio", BaseType_FLOAT);
  }

  static std::vector<ObjID> walk(L0_Var_2& x, bool found) {
    std::vector<ObjID> seen;
    for (; found; found = x.next()) seen.push_back(x.getCurrObjID());
    return seen;
  }

  RepId c = 0, s1 = 0, s2 = 0, s1a = 0, other = 0, wholeToPart = 0;
};

TEST_F(L0_VarTest, RootSearchVisitsSubclassesDepthFirstThenTheClassItself) {
  ObjID inC = CreateObject(c);
  ObjID inS2 = CreateObject(s2);
  ObjID inS1 = CreateObject(s1);
  ObjID inS1a = CreateObject(s1a);
  ObjID inS1aToo = CreateObject(s1a);
  L0_Var_2 x("C");
  EXPECT_EQ(walk(x, x.setFirstToRoot("C")), (std::vector<ObjID>{inS1a, inS1aToo, inS1, inS2, inC}));
  EXPECT_TRUE(x.isNull());
  EXPECT_FALSE(x.next());

  L0_Var_2 onlyS1("C");
  EXPECT_EQ(walk(onlyS1, onlyS1.setFirstToRoot("S1")), (std::vector<ObjID>{inS1a, inS1aToo, inS1}));
}

TEST_F(L0_VarTest, RootSearchSkipsDeletedObjectsAndSurvivesDeletingTheCurrentOne) {
  ObjID a = CreateObject(c), b = CreateObject(c), d = CreateObject(c), e = CreateObject(c);
  DeleteObjectHard(b);
  L0_Var_2 x("C");
  ASSERT_TRUE(x.setFirstToRoot("C"));
  EXPECT_EQ(x.getCurrObjID(), a);
  ASSERT_TRUE(x.next());
  EXPECT_EQ(x.getCurrObjID(), d);
  ASSERT_TRUE(x.deleteObj());
  EXPECT_TRUE(x.isNull());
  EXPECT_EQ(x.getCurrObjID(), badObjID);
  ASSERT_TRUE(x.next());
  EXPECT_EQ(x.getCurrObjID(), e);
}

TEST_F(L0_VarTest, RootSearchOfMissingOrIncompatibleClass) {
  CreateObject(other);
  L0_Var_2 x("C");
  EXPECT_FALSE(x.setFirstToRoot("NoSuchClass"));
  EXPECT_TRUE(x.isNull());
  EXPECT_TRUE(messages().empty());
  try {
    x.setFirstToRoot("Other");
    FAIL() << "expected an exception";
  } catch (const L0_Var_2_Exception& e) {
    EXPECT_EQ(e.text(),
              "Incompatible types in setFirstToRoot\ndeclared type : \"C\"\n"
              "class requested in setFirstToRoot : \"Other\".");
  }
  EXPECT_TRUE(messages().empty());
  L0_Var_2 missing("Ghost");
  EXPECT_EQ(lastMessage(), "Class \"Ghost\" does not exist.");
  EXPECT_TRUE(missing.isNull());
}

TEST_F(L0_VarTest, NavigationFollowsLinkOrderAndSkipsDeletedLinks) {
  ObjID w = CreateObject(c);
  ObjID p1 = CreateObject(c), p2 = CreateObject(c), p3 = CreateObject(c);
  for (ObjID p : {p1, p2, p3}) CreateLink(wholeToPart, w, p);
  L0_Var_2 whole("C"), part("C");
  ASSERT_TRUE(whole.setFirstToRoot("C"));
  ASSERT_TRUE(part.setFirstByRelation(whole, "part"));
  EXPECT_EQ(part.getCurrObjID(), p1);
  ASSERT_TRUE(part.next());
  EXPECT_EQ(part.getCurrObjID(), p2);
  ASSERT_TRUE(whole.deleteLink(part, "part"));
  EXPECT_TRUE(part.isNull());
  ASSERT_TRUE(part.next());
  EXPECT_EQ(part.getCurrObjID(), p3);
  EXPECT_FALSE(part.next());

  // Inverse navigation from a part reaches the whole.
  L0_Var_2 back("C");
  L0_Var_2 first = L0_Var_2::fromObjectId(p1);
  ASSERT_TRUE(back.setFirstByRelation(first, "whole"));
  EXPECT_EQ(back.getCurrObjID(), w);
}

TEST_F(L0_VarTest, RelinkingMovesAPartnerToTheEndAndShowsItOnce) {
  ObjID w = CreateObject(c), p1 = CreateObject(c), p2 = CreateObject(c);
  L0_Var_2 whole = L0_Var_2::fromObjectId(w);
  L0_Var_2 a = L0_Var_2::fromObjectId(p1), b = L0_Var_2::fromObjectId(p2);
  ASSERT_TRUE(whole.addLink(a, "part"));
  ASSERT_TRUE(whole.addLink(b, "part"));
  L0_Var_2 part("C");
  ASSERT_TRUE(part.setFirstByRelation(whole, "part"));  // fills the partner list
  ASSERT_TRUE(whole.addLink(a, "part"));                // now cached: p2, p1
  EXPECT_EQ(walk(part, part.setFirstByRelation(whole, "part")), (std::vector<ObjID>{p2, p1}));
  advanceGeneration();  // the refill from the store agrees with the cache
  L0_Var_2 fresh = L0_Var_2::fromObjectId(w);
  EXPECT_EQ(walk(part, part.setFirstByRelation(fresh, "part")), (std::vector<ObjID>{p2, p1}));
}

TEST_F(L0_VarTest, NavigationVisitsPartnersWhateverTheirClass) {
  ObjID owner = CreateObject(other);
  ObjID item = CreateObject(s2);
  L0_Var_2 o = L0_Var_2::fromObjectId(owner);
  L0_Var_2 i = L0_Var_2::fromObjectId(item);
  ASSERT_TRUE(o.addLink(i, "item"));
  L0_Var_2 x("S1");  // declared S1, the partner is an S2
  ASSERT_TRUE(x.setFirstByRelation(o, "item"));
  EXPECT_EQ(x.getCurrObjID(), item);
}

TEST_F(L0_VarTest, NavigationFromNullOrOverUnknownRole) {
  L0_Var_2 nothing("C"), x("C");
  EXPECT_FALSE(x.setFirstByRelation(nothing, "part"));
  EXPECT_EQ(x.getKind(), RelRef);
  EXPECT_TRUE(x.isNull());
  L0_Var_2 o = L0_Var_2::fromObjectId(CreateObject(other));
  EXPECT_FALSE(x.setFirstByRelation(o, "part"));
  EXPECT_EQ(lastMessage(), "Association \"part\" starting from class \"Other\" does not exist.");
  EXPECT_TRUE(x.isNull());
}

TEST_F(L0_VarTest, VariablesOfAnEarlierGenerationAreNull) {
  ObjID a = CreateObject(c);
  CreateObject(c);
  L0_Var_2 global("C");
  ASSERT_TRUE(global.setFirstToRoot("C"));
  EXPECT_EQ(global.getCurrObjID(), a);
  advanceGeneration();
  EXPECT_TRUE(global.isNull());
  EXPECT_EQ(global.toTraceString(), " null ");
  EXPECT_FALSE(global.next());
  EXPECT_EQ(global.getKind(), UnInit);
  L0_Var_2 again("C");
  ASSERT_TRUE(again.setFirstToRoot("C"));
  EXPECT_FALSE(global == again);
}

TEST_F(L0_VarTest, ListsAreRefilledFromTheStoreInANewGeneration) {
  ObjID w = CreateObject(c), p = CreateObject(c), gone = CreateObject(c);
  L0_Var_2 x("C");
  ASSERT_TRUE(x.setFirstToRoot("C"));
  L0_Var_2 whole = L0_Var_2::fromObjectId(w);
  L0_Var_2 part("C");
  EXPECT_FALSE(part.setFirstByRelation(whole, "part"));
  // Another component changes the store behind the runtime's back.
  CreateLink(wholeToPart, w, p);
  DeleteObjectHard(gone);
  ObjID late = CreateObject(c);
  advanceGeneration();
  L0_Var_2 all("C");
  EXPECT_EQ(walk(all, all.setFirstToRoot("C")), (std::vector<ObjID>{w, p, late}));
  L0_Var_2 wholeNow = L0_Var_2::fromObjectId(w);
  ASSERT_TRUE(part.setFirstByRelation(wholeNow, "part"));
  EXPECT_EQ(part.getCurrObjID(), p);
}

TEST_F(L0_VarTest, NextAfterAddObjContinuesAfterTheNewObject) {
  ObjID a = CreateObject(c);
  L0_Var_2 scan("C");
  ASSERT_TRUE(scan.setFirstToRoot("C"));
  L0_Var_2 x("C");
  x.addObj("C");
  ObjID fresh = x.getCurrObjID();
  EXPECT_NE(fresh, badObjID);
  EXPECT_FALSE(x.next());
  // The earlier search of the same generation sees the new object at the end.
  EXPECT_EQ(walk(scan, true), (std::vector<ObjID>{a, fresh}));
  L0_Var_2 sub("C");
  sub.addObj("S1a");
  EXPECT_TRUE(sub.isTypeOf("S1a"));
  EXPECT_FALSE(sub.isTypeOf("S1"));
  // Continuing from S1a walks the remaining classes of C's list.
  EXPECT_EQ(walk(sub, sub.next()), (std::vector<ObjID>{a, fresh}));
}

TEST_F(L0_VarTest, AddObjRefusals) {
  L0_Var_2 x("S1");
  x.addObj("Nope");
  EXPECT_EQ(lastMessage(), "Class \"Nope\" does not exist.");
  EXPECT_EQ(x.getKind(), UnInit);
  try {
    x.addObj("S2");
    FAIL() << "expected an exception";
  } catch (const L0_Var_2_Exception& e) {
    EXPECT_EQ(e.text(),
              "Incompatible types in addObj(requested class is not subclass of declared class)\n"
              "declared class name : \"S1\"\n requested class name : \"S2\".");
  }
  EXPECT_EQ(GetObjectNum(s2), 0u);
}

TEST_F(L0_VarTest, AssignToAnUnboundVariableContinuesItsOwnRootSearch) {
  ObjID a = CreateObject(c), b = CreateObject(c), d = CreateObject(c);
  L0_Var_2 y("C");
  ASSERT_TRUE(y.setFirstToRoot("C"));
  ASSERT_TRUE(y.next());
  L0_Var_2 x("C");
  x.assign(y);
  EXPECT_EQ(x.getKind(), DirRef);
  EXPECT_EQ(x.getCurrObjID(), b);
  ASSERT_TRUE(x.next());
  EXPECT_EQ(x.getCurrObjID(), d);
  EXPECT_EQ(y.getCurrObjID(), b);
  (void)a;
}

TEST_F(L0_VarTest, AssignFromANavigationPositionsInTheClassList) {
  ObjID w = CreateObject(c);
  CreateObject(s1);                // the root search of C stops in S1's list...
  ObjID s2obj = CreateObject(s2);  // ...and never fills S2's
  ObjID last = CreateObject(s2);
  CreateLink(wholeToPart, w, s2obj);
  L0_Var_2 whole = L0_Var_2::fromObjectId(w);
  L0_Var_2 part("C");
  ASSERT_TRUE(part.setFirstByRelation(whole, "part"));
  L0_Var_2 x("C");
  x.assign(part);
  EXPECT_EQ(x.getCurrObjID(), s2obj);
  ASSERT_TRUE(x.next());
  EXPECT_EQ(x.getCurrObjID(), last);
}

TEST_F(L0_VarTest, AssignOfAnUnrelatedObjectFails) {
  CreateObject(s1);
  L0_Var_2 o = L0_Var_2::fromObjectId(CreateObject(other));
  L0_Var_2 x("S1");
  x.assign(o);
  EXPECT_EQ(lastMessage(), "Assignment Failed.");
  EXPECT_TRUE(x.isNull());
}

TEST_F(L0_VarTest, AssignToANavigatedVariableKeepsItsFromObject) {
  ObjID w = CreateObject(c);
  ObjID p1 = CreateObject(c), p2 = CreateObject(c), p3 = CreateObject(c);
  for (ObjID p : {p1, p2, p3}) CreateLink(wholeToPart, w, p);
  L0_Var_2 whole = L0_Var_2::fromObjectId(w);
  L0_Var_2 part("C");
  ASSERT_TRUE(part.setFirstByRelation(whole, "part"));
  L0_Var_2 second = L0_Var_2::fromObjectId(p2);
  part.assign(second);
  EXPECT_EQ(part.getKind(), RelRef);
  EXPECT_EQ(part.getCurrObjID(), p2);
  ASSERT_TRUE(part.next());
  EXPECT_EQ(part.getCurrObjID(), p3);
  // An object that is no partner of the from object cannot be assigned.
  L0_Var_2 stranger = L0_Var_2::fromObjectId(w);
  part.assign(stranger);
  EXPECT_EQ(lastMessage(), "Assignment Failed.");
  EXPECT_TRUE(part.isNull());
}

TEST_F(L0_VarTest, AssignOfANullVariableKeepsTheSearchPosition) {
  CreateObject(c);
  ObjID b = CreateObject(c), d = CreateObject(c);
  L0_Var_2 y("C");
  ASSERT_TRUE(y.setFirstToRoot("C"));
  ASSERT_TRUE(y.next());
  DeleteObjectHard(b);  // y is null but keeps its place
  L0_Var_2 x("C");
  x.assign(y);
  EXPECT_TRUE(x.isNull());
  ASSERT_TRUE(x.next());
  EXPECT_EQ(x.getCurrObjID(), d);
}

TEST_F(L0_VarTest, EqualityAndTraceText) {
  ObjID a = CreateObject(c);
  L0_Var_2 n1("C"), n2("S1"), x = L0_Var_2::fromObjectId(a), y("C");
  EXPECT_TRUE(n1 == n2);
  EXPECT_FALSE(n1 == x);
  EXPECT_TRUE(n1 != x);
  ASSERT_TRUE(y.setFirstToRoot("C"));
  EXPECT_TRUE(x == y);
  EXPECT_EQ(n1.toTraceString(), " null ");
  EXPECT_EQ(x.toTraceString(), std::to_string(a));
}

TEST_F(L0_VarTest, IsTypeOfOfNullStopsTheTransformation) {
  L0_Var_2 x("C");
  EXPECT_THROW(x.isTypeOf("C"), L0_Var_2_Exception);
  EXPECT_EQ(lastMessage(), "Null in isTypeOf.\nProgramm will now exit !");
}

TEST_F(L0_VarTest, AttributesAreTextWithTypedConversions) {
  L0_Var_2 x("C");
  x.addObj("S1");
  EXPECT_TRUE(x.setAttr("flag", true));
  EXPECT_EQ(x.getAttr("flag"), "true");
  EXPECT_TRUE(x.setAttr("flag", false));
  EXPECT_EQ(x.getAttr("flag"), "false");
  EXPECT_TRUE(x.setAttr("flag", "1"));
  EXPECT_TRUE(x.getAttrBool("flag"));
  EXPECT_TRUE(x.setAttr("name", "TRUE"));
  EXPECT_FALSE(x.getAttrBool("name"));
  EXPECT_TRUE(x.setAttr("count", -42));
  EXPECT_EQ(x.getAttrInt("count"), -42);
  EXPECT_TRUE(x.setAttr("ratio", 0.1));
  EXPECT_EQ(x.getAttr("ratio"), "0.1");
  EXPECT_TRUE(x.setAttr("ratio", 1.0 / 3.0));
  EXPECT_EQ(x.getAttr("ratio"), "0.333333333333333");
  EXPECT_TRUE(messages().empty());
}

TEST_F(L0_VarTest, RefusedValuesAreNotWritten) {
  L0_Var_2 x("C");
  x.addObj("C");
  ASSERT_TRUE(x.setAttr("count", 7));
  EXPECT_FALSE(x.setAttr("count", "seven"));
  EXPECT_FALSE(messages().empty());
  EXPECT_EQ(x.getAttr("count"), "7");
  EXPECT_FALSE(x.setAttr("flag", "yes"));
  EXPECT_EQ(x.getAttr("flag"), "");
}

TEST_F(L0_VarTest, AttributeFailuresAndTheirMessages) {
  L0_Var_2 x("C");
  EXPECT_THROW(x.getAttr("name"), L0_Var_2_Exception);
  EXPECT_EQ(lastMessage(), "Attempt to use unexisting object\nProgramm will now exit !");
  x.addObj("C");
  gr::clearRecordedMessages();
  EXPECT_EQ(x.getAttr("missing"), "");
  EXPECT_EQ(messages(), (std::vector<std::string>{"Bad Attribute ID 0."}));
  gr::clearRecordedMessages();
  EXPECT_EQ(x.getAttrOfActualClass("missing"), "");
  EXPECT_EQ(messages(), (std::vector<std::string>{"Bad Attribute ID 0.", "Bad Attribute ID 0."}));
  gr::clearRecordedMessages();
  EXPECT_FALSE(x.setAttr("missing", "v"));
  ASSERT_GE(messages().size(), 2u);
  EXPECT_EQ(messages()[0], "Bad Attribute ID 0.");
  EXPECT_EQ(messages()[1], "Bad Attribute ID 0");
}

TEST_F(L0_VarTest, AttributeOfASubclassNeedsTheActualClassLookup) {
  RepId only = makeAttr(s1, "onlyInS1");
  (void)only;
  L0_Var_2 x("C");
  x.addObj("S1");
  ASSERT_TRUE(x.setAttr("onlyInS1", "v"));  // writes look at the object's own class
  EXPECT_EQ(x.getAttrOfActualClass("onlyInS1"), "v");
  EXPECT_EQ(x.getAttr("onlyInS1"), "");  // the declared class C has no such attribute
  EXPECT_EQ(lastMessage(), "Bad Attribute ID 0.");
}

TEST_F(L0_VarTest, LinkOperationsWithNullSidesOrUnknownRoles) {
  L0_Var_2 x("C"), nothing("C");
  x.addObj("C");
  EXPECT_FALSE(x.addLink(nothing, "part"));
  EXPECT_EQ(lastMessage(), "Null in AddLink.");
  EXPECT_FALSE(nothing.deleteLink(x, "part"));
  EXPECT_EQ(lastMessage(), "Null in Delete Link. No deletion occured.");
  EXPECT_FALSE(x.checkLink(nothing, "part"));
  EXPECT_TRUE(x.checkNoLink(nothing, "part"));
  EXPECT_FALSE(x.addLink(x, "noSuchRole"));
  EXPECT_EQ(lastMessage(), "Association \"noSuchRole\" starting from class \"C\" does not exist.");
  EXPECT_TRUE(x.addLink(x, "part"));
  EXPECT_TRUE(x.checkLink(x, "part"));
  EXPECT_TRUE(x.checkLink(x, "whole"));
  L0_Var_2 o = L0_Var_2::fromObjectId(CreateObject(other));
  EXPECT_FALSE(x.addLink(o, "part"));  // the store refuses an Other as a part
  EXPECT_EQ(lastMessage(), "Can not create link.");
}

TEST_F(L0_VarTest, VariableFromAnObjectIdContinuesAsARootSearch) {
  ObjID a = CreateObject(s1), b = CreateObject(s1);
  L0_Var_2 x = L0_Var_2::fromObjectId(a);
  EXPECT_EQ(x.className(), "S1");
  EXPECT_EQ(x.getKind(), DirRef);
  EXPECT_EQ(x.getCurrObjID(), a);
  ASSERT_TRUE(x.next());
  EXPECT_EQ(x.getCurrObjID(), b);
  DeleteObjectHard(a);
  EXPECT_TRUE(L0_Var_2::fromObjectId(a).isNull());
  EXPECT_TRUE(L0_Var_2::fromObjectId(0).isNull());
}

// A variable set straight to an object (a new one, one by id) finds its
// place in the class's list only when the search goes on, even when the
// object was deleted meanwhile, was copied to another variable, or the list
// was filled after it came.
TEST_F(L0_VarTest, AVariableSetStraightToAnObjectContinuesFromItsPlace) {
  ObjID a = CreateObject(c), b = CreateObject(c), d = CreateObject(c);
  L0_Var_2 x = L0_Var_2::fromObjectId(b);
  L0_Var_2 copy("C");
  copy = x;
  DeleteObjectHard(b);
  EXPECT_TRUE(x.isNull());
  ASSERT_TRUE(x.next());
  EXPECT_EQ(x.getCurrObjID(), d);
  ASSERT_TRUE(copy.next()) << "the copy continues from the same place";
  EXPECT_EQ(copy.getCurrObjID(), d);

  advanceGeneration();
  L0_Var_2 fresh("C");
  fresh.addObj("C");  // the class's list is of an older generation: not filled for this
  ObjID made = fresh.getCurrObjID();
  L0_Var_2 scan("C");
  ASSERT_TRUE(scan.setFirstToRoot("C"));
  EXPECT_EQ(walk(scan, true), (std::vector<ObjID>{a, d, made}));
  EXPECT_FALSE(fresh.next());
  L0_Var_2 again = L0_Var_2::fromObjectId(a);
  EXPECT_EQ(walk(again, true), (std::vector<ObjID>{a, d, made}));
}

TEST_F(L0_VarTest, CopiesAreIndependentSearches) {
  ObjID a = CreateObject(c), b = CreateObject(c);
  L0_Var_2 x("C");
  ASSERT_TRUE(x.setFirstToRoot("C"));
  L0_Var_2 copy(x);
  ASSERT_TRUE(x.next());
  EXPECT_EQ(copy.getCurrObjID(), a);
  EXPECT_EQ(x.getCurrObjID(), b);
  copy = x;
  EXPECT_EQ(copy.getCurrObjID(), b);
  EXPECT_FALSE(copy.next());
  EXPECT_EQ(x.getCurrObjID(), b);
}

}  // namespace
