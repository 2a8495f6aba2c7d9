#include <sstream>

#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

// Everything the API can tell about the store, as text, so that two states
// compare in one assertion.
std::string describeStore() {
  std::ostringstream out;
  for (RepId cls : idsOf(GetObjectTypeIdList())) {
    out << "class " << cls << " " << GetTypeName(cls) << " super " << GetExtendsId(cls)
        << " package " << GetPackageOf(cls) << " subs";
    for (RepId sub : idsOf(GetExtensionIdList(cls))) out << " " << sub;
    out << "\n  attrs";
    for (RepId attr : idsOf(GetPropertyTypeIdList(cls))) {
      int baseType = 0;
      const char* enumName = nullptr;
      GetPropertyTypeAttributes(attr, &baseType, &enumName);
      out << " " << attr << ":" << GetTypeName(attr) << ":" << baseType << ":" << enumName << ":"
          << GetPackageOf(attr);
    }
    std::vector<RepId> linkTypes = idsOf(GetLinkTypeIdList(cls));
    for (RepId lt : linkTypes) {
      RepId start = 0, end = 0, inverse = 0;
      int kind = 0, role = 0, multiplicity = 0, ordered = 0;
      GetLinkTypeAttributes1(lt, &start, &end, &inverse);
      GetLinkTypeAttributes2(lt, &kind, &role);
      GetLinkTypeAttributes3(lt, &multiplicity, &ordered);
      out << "\n  role " << lt << " '" << GetTypeName(lt) << "' " << start << ">" << end << " inv "
          << inverse << " " << kind << "/" << role << "/" << multiplicity << "/" << ordered
          << " pkg " << GetPackageOf(lt);
    }
    for (RepId object : objectsOf(cls)) {
      if (GetObjectTypeId(object) != cls) continue;
      out << "\n  object " << object;
      for (RepId attr : idsOf(GetPropertyTypeIdList(cls)))
        out << " [" << GetPropertyValue(object, attr) << "]";
      for (RepId lt : linkTypes) {
        out << " " << lt << ":";
        for (RepId partner : partnersOf(object, lt)) out << partner << ",";
      }
    }
    out << "\n";
  }
  return out.str();
}

class PersistenceTest : public ProjectFolderTest {
 protected:
  void SetUp() override {
    ProjectFolderTest::SetUp();
    ASSERT_TRUE(RepCreateProject(folder().c_str())) << RepLastError();
  }
  void commit() {
    ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
    ASSERT_TRUE(CommitSaveTransaction()) << RepLastError();
  }
};

TEST_F(PersistenceTest, ReopeningRestoresEveryTypeObjectLinkOrderValueAndTheIdCounter) {
  ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
  RepId outer = CreatePackage("Outer", 0);
  RepId inner = CreatePackage("Inner", outer);
  RepId thing = CreateObjectType("Thing");
  RepId first = CreateObjectType1("First", thing);
  RepId second = CreateObjectType1("Second", thing);
  RepId moved = CreateObjectType("Moved");
  ASSERT_TRUE(UpdateObjectType(moved, "", thing));  // now after Second among the subclasses
  ASSERT_TRUE(UpdateObjectType(second, "", first));
  ASSERT_TRUE(UpdateObjectType(second, "", thing));  // back, but now last
  ASSERT_TRUE(SetPackage(first, inner));
  RepId caption = CreatePropertyType("caption", BaseType_STRING);
  RepId kind = CreatePropertyType1("kind", BaseType_ENUMERATION, "KindEnum");
  RepId count = CreatePropertyType("count", BaseType_INTEGER);
  ASSERT_TRUE(SetPackage(kind, outer));
  ASSERT_TRUE(AddPropertyType(thing, count));
  ASSERT_TRUE(AddPropertyType(first, kind));
  ASSERT_TRUE(AddPropertyType(thing, caption));
  RepId parts =
      CreateLinkType(first, "part", REP_MULT_MANY, 1, second, "whole", REP_MULT_ONE, 0, 1);
  RepId next = CreateLinkType(thing, "next", REP_MULT_ZERO_ONE, 0, thing, "", REP_MULT_MANY, 1, 0);
  ASSERT_TRUE(SetPackage(next, inner));
  RepId hub = CreateObject(first);
  std::vector<RepId> seconds;
  for (int i = 0; i < 40; ++i) {
    seconds.push_back(CreateObject(second));
    ASSERT_TRUE(CreateLink(parts, hub, seconds.back()));
    ASSERT_TRUE(AddProperty(seconds.back(), count, std::to_string(i * 7).c_str()));
  }
  ASSERT_TRUE(CreateLink(parts, hub, seconds[3]));  // relinked: moves to the end
  ASSERT_TRUE(DeleteLink(parts, hub, seconds[10]));
  ASSERT_TRUE(DeleteObjectHard(seconds[20]));
  RepId small = CreateObject(first);
  ASSERT_TRUE(CreateLink(parts, small, seconds[10]));
  ASSERT_TRUE(CreateLink(next, small, hub));
  ASSERT_TRUE(CreateLink(next, small, small));
  ASSERT_TRUE(AddProperty(small, caption, "Ūdens; \"quoted\"\nline"));
  ASSERT_TRUE(AddProperty(small, kind, "Red"));
  ASSERT_TRUE(AddProperty(hub, caption, "temporary"));
  ASSERT_TRUE(AddProperty(hub, caption, ""));
  RepId dropped = CreateObjectType("Dropped");
  ASSERT_TRUE(DeleteObjectType(dropped));
  ASSERT_TRUE(CommitSaveTransaction()) << RepLastError();

  std::string before = describeStore();
  RepId probe = CreateObject(thing);  // not committed: gone after reopening
  reopen();
  EXPECT_EQ(before, describeStore());
  EXPECT_EQ(inner, GetPackageIdByName("Inner"));
  EXPECT_EQ(outer, GetPackageOf(inner));
  EXPECT_EQ(0u, GetObjectTypeIdByName("Dropped"));
  EXPECT_FALSE(ObjectExists(probe));
  // The counter is the committed one: the uncommitted object never existed.
  EXPECT_EQ(probe, CreateObject(thing));
}

TEST_F(PersistenceTest, OnlyTheOutermostCommitWritesAndSaveRequestWritesAtOnce) {
  RepId cls = CreateObjectType("Item");
  commit();
  ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
  ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
  RepId a = CreateObject(cls);
  ASSERT_TRUE(CommitSaveTransaction());
  EXPECT_EQ(1, RepTransactionDepth());
  reopen();
  EXPECT_FALSE(ObjectExists(a)) << "the inner commit wrote nothing";

  ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
  RepId b = CreateObject(cls);
  ASSERT_TRUE(SaveRequest(11)) << RepLastError();
  reopen();
  EXPECT_TRUE(ObjectExists(b)) << "saved inside an open transaction";
}

TEST_F(PersistenceTest, CommitRewritesOnlyTheRowsOfWhatChanged) {
  RepId cls = CreateObjectType("Item");
  RepId caption = CreatePropertyType("caption", BaseType_STRING);
  ASSERT_TRUE(AddPropertyType(cls, caption));
  RepId next = CreateLinkType(cls, "next", REP_MULT_MANY, 1, cls, "previous", REP_MULT_MANY, 1, 0);
  std::vector<RepId> items;
  for (int i = 0; i < 300; ++i) {
    items.push_back(CreateObject(cls));
    ASSERT_TRUE(AddProperty(items.back(), caption, "x"));
    if (i > 0) {
      ASSERT_TRUE(CreateLink(next, items[0], items.back()));  // items[0] is a hub
    }
  }
  commit();
  EXPECT_GT(RepLastCommitRowCount(), 900);

  commit();
  EXPECT_EQ(0, RepLastCommitRowCount()) << "nothing changed";

  ASSERT_TRUE(AddProperty(items[100], caption, "y"));
  commit();
  EXPECT_EQ(1, RepLastCommitRowCount()) << "one value row";

  ASSERT_TRUE(CreateLink(next, items[5], items[6]));
  commit();
  EXPECT_EQ(2, RepLastCommitRowCount()) << "one end row at each object";

  ASSERT_TRUE(CreateLink(next, items[0], items[7]));
  commit();
  EXPECT_EQ(2, RepLastCommitRowCount()) << "the hub's end row and the partner's";

  CreateObject(cls);
  commit();
  EXPECT_EQ(2, RepLastCommitRowCount()) << "the object row and the id counter";

  ASSERT_TRUE(DeleteObjectHard(items[200]));
  commit();
  EXPECT_EQ(4, RepLastCommitRowCount()) << "object, value and end rows, and the hub's end";

  ASSERT_TRUE(AddProperty(items[50], caption, ""));
  ASSERT_TRUE(DeleteLink(next, items[5], items[6]));
  commit();
  EXPECT_EQ(3, RepLastCommitRowCount())
      << "a deleted value, the emptied end of items[6], the rewritten end of items[5]";

  CreateObjectType("Other");
  commit();
  EXPECT_EQ(2, RepLastCommitRowCount()) << "the class row and the id counter";

  std::string before = describeStore();
  reopen();
  EXPECT_EQ(before, describeStore());
}

// Links survive moving a class out of the hierarchy; deleting their link type
// (directly or with its class) must still find and remove them.
TEST_F(PersistenceTest, DeletedLinkTypesLeaveNoLinksBehindAfterAClassWasMoved) {
  RepId a = CreateObjectType("A");
  RepId b = CreateObjectType("B");
  RepId c = CreateObjectType1("C", b);
  RepId ab = CreateLinkType(a, "bs", 2, 0, b, "a", 2, 0, 0);
  RepId keep = CreateLinkType(a, "cs", 2, 0, c, "owner", 2, 0, 0);
  RepId objA = CreateObject(a);
  RepId objC = CreateObject(c);
  ASSERT_TRUE(CreateLink(ab, objA, objC));
  ASSERT_TRUE(CreateLink(keep, objA, objC));
  commit();
  ASSERT_TRUE(UpdateObjectType(c, "", 0));
  ASSERT_TRUE(DeleteObjectType(b)) << RepLastError();
  EXPECT_EQ(0u, GetLinkedObjectNum(objA, ab));
  EXPECT_EQ((std::vector<RepId>{objC}), partnersOf(objA, keep));
  commit();
  reopen();
  EXPECT_EQ((std::vector<RepId>{objA}), partnersOf(objC, GetInverseLinkTypeId(keep)));
  EXPECT_TRUE(DeleteObjectHard(objC));
  EXPECT_TRUE(partnersOf(objA, keep).empty());
}

TEST_F(PersistenceTest, CreateAndOpenRefuseTheWrongFolder) {
  RepCloseProject();
  EXPECT_FALSE(RepCreateProject(folder().c_str())) << "holds a store already";
  EXPECT_FALSE(RepOpenProject((folder() + "/missing").c_str()));
  EXPECT_STRNE("", RepLastError());
  EXPECT_FALSE(RepIsOpen());
}

TEST(MemoryStore, CommitsSucceedAndWriteNothing) {
  ASSERT_TRUE(RepOpenMemory());
  RepId cls = CreateObjectType("Item");
  ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
  CreateObject(cls);
  EXPECT_TRUE(CommitSaveTransaction());
  EXPECT_TRUE(SaveRequest(11));
  EXPECT_EQ(0, RepLastCommitRowCount());
  EXPECT_TRUE(RepCloseProject());
}

}  // namespace
}  // namespace reptest
