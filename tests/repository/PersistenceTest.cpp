#include <random>
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
  EXPECT_EQ(2, RepLastCommitRowCount()) << "the link's row and the link order counter";

  ASSERT_TRUE(CreateLink(next, items[0], items[7]));
  commit();
  EXPECT_EQ(2, RepLastCommitRowCount()) << "a relinked partner of the hub: its row alone";

  ASSERT_TRUE(CreateLink(next, items[0], items[5]));
  ASSERT_TRUE(DeleteLink(next, items[0], items[5]));
  ASSERT_TRUE(CreateLink(next, items[0], items[5]));
  commit();
  EXPECT_EQ(2, RepLastCommitRowCount()) << "the last change of a link counts";

  CreateObject(cls);
  commit();
  EXPECT_EQ(2, RepLastCommitRowCount()) << "the object row and the id counter";

  ASSERT_TRUE(DeleteObjectHard(items[200]));
  commit();
  EXPECT_EQ(3, RepLastCommitRowCount()) << "the object, value and link rows";

  ASSERT_TRUE(AddProperty(items[50], caption, ""));
  ASSERT_TRUE(DeleteLink(next, items[5], items[6]));
  commit();
  EXPECT_EQ(2, RepLastCommitRowCount()) << "a deleted value and a deleted link";

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

// Link order is meaning: after any mix of links made, remade (which moves a
// link to the end of both orders), deleted over either end, with objects
// deleted, hubs and links of an object to itself, both orders of every end
// must come back exactly, and uncommitted work must not.
TEST_F(PersistenceTest, LinkOrderAtBothEndsSurvivesReopeningExactly) {
  RepId node = CreateObjectType("Node");
  RepId edge = CreateLinkType(node, "out", REP_MULT_MANY, 1, node, "in", REP_MULT_MANY, 1, 0);
  RepId inverse = GetInverseLinkTypeId(edge);
  RepId tag = CreateLinkType(node, "tag", REP_MULT_MANY, 1, node, "tagged", REP_MULT_MANY, 1, 0);
  std::vector<RepId> nodes;
  for (int i = 0; i < 40; ++i) nodes.push_back(CreateObject(node));
  commit();
  std::mt19937 random(17);
  auto pick = [&] {
    // Every third pick is one of two hubs, so some ends grow past the small ones.
    return random() % 3 == 0 ? nodes[random() % 2] : nodes[random() % nodes.size()];
  };
  for (int round = 0; round < 12; ++round) {
    ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
    for (int step = 0; step < 300; ++step) {
      RepId from = pick();
      RepId to = pick();
      switch (random() % 8) {
        case 0:
          DeleteLink(edge, from, to);
          break;
        case 1:
          DeleteLink(inverse, to, from);
          break;
        case 2:
          ASSERT_TRUE(CreateLink(inverse, to, from));
          break;
        case 3:
          ASSERT_TRUE(CreateLink(tag, from, from));
          break;
        case 4:
          if (round % 3 == 2 && step % 50 == 0 && from != nodes[0] && from != nodes[1]) {
            ASSERT_TRUE(DeleteObjectHard(from));
            std::erase(nodes, from);
            nodes.push_back(CreateObject(node));
          }
          break;
        default:
          ASSERT_TRUE(CreateLink(edge, from, to));
      }
    }
    ASSERT_TRUE(CommitSaveTransaction()) << RepLastError();
    std::string committed = describeStore();
    CreateLink(edge, nodes[5], nodes[6]);  // not committed
    DeleteObjectHard(nodes[7]);
    reopen();
    ASSERT_EQ(committed, describeStore()) << "round " << round;
  }
  EXPECT_GT(GetLinkedObjectNum(nodes[0], edge), 16u) << "a hub took part";
}

// After a fold the log holds only the first transaction of the next log,
// which stamps its token (made at once, so that no commit pays its sync).
TEST_F(PersistenceTest, CommitsOnlyAppendToTheLogWhichIdleMomentsAndClosingFold) {
  namespace fs = std::filesystem;
  fs::path log = storeFile().string() + "-wal";
  RepId cls = CreateObjectType("Item");
  commit();
  ASSERT_TRUE(RepIdle());
  const uintmax_t startedLog = fs::file_size(log);
  EXPECT_LT(startedLog, 2u * 4096) << "one frame";
  uintmax_t dbSize = fs::file_size(storeFile());
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
    for (int k = 0; k < 100; ++k) CreateObject(cls);
    ASSERT_TRUE(CommitSaveTransaction());
  }
  EXPECT_GT(fs::file_size(log), startedLog);
  EXPECT_EQ(dbSize, fs::file_size(storeFile())) << "a commit folded the log";
  ASSERT_TRUE(RepIdle()) << RepLastError();
  EXPECT_EQ(startedLog, fs::file_size(log));
  EXPECT_GT(fs::file_size(storeFile()), dbSize);
  dbSize = fs::file_size(storeFile());
  ASSERT_TRUE(RepIdle()) << "nothing to fold";
  EXPECT_EQ(startedLog, fs::file_size(log));

  CreateObject(cls);
  commit();
  ASSERT_TRUE(RepCloseProject());
  EXPECT_FALSE(fs::exists(log));
  EXPECT_FALSE(RepIdle()) << "no store is open";
  ASSERT_TRUE(RepOpenProject(folder().c_str()));
  EXPECT_EQ(5001u, GetObjectNum(cls));
}

// One more link at an end costs its row and a few pages of log, however many
// partners the end has.
TEST_F(PersistenceTest, LinkingToAnObjectWithManyPartnersWritesAsMuchAsToOneWithFew) {
  RepId cls = CreateObjectType("Item");
  RepId link = CreateLinkType(cls, "parts", REP_MULT_MANY, 1, cls, "whole", REP_MULT_MANY, 1, 0);
  RepId hub = CreateObject(cls);
  RepId loner = CreateObject(cls);
  std::vector<RepId> others;
  for (int i = 0; i < 40000; ++i) others.push_back(CreateObject(cls));
  for (int i = 0; i < 20000; ++i) ASSERT_TRUE(CreateLink(link, hub, others[i]));
  commit();
  ASSERT_TRUE(RepIdle());

  // The old layout rewrote the hub's 20,000 partners: 80 KB, 20 pages.
  const int64_t fewPages = 5 * (4096 + 24);
  auto expectOneLinkCostsFewPages = [&](RepId linkType, RepId from, RepId to, const char* what) {
    ASSERT_TRUE(CreateLink(linkType, from, to));
    commit();
    EXPECT_EQ(2, RepLastCommitRowCount()) << what << ": the link's row and the order counter";
    EXPECT_LE(RepLastCommitByteCount(), fewPages) << what;
    EXPECT_GT(RepLastCommitByteCount(), 0) << what;
    ASSERT_TRUE(RepIdle());
  };
  RepId whole = GetInverseLinkTypeId(link);
  expectOneLinkCostsFewPages(link, loner, others[30000], "a link of an object with no partners");
  expectOneLinkCostsFewPages(link, hub, others[30002], "a new link of the hub");
  expectOneLinkCostsFewPages(link, hub, others[10], "a link of the hub remade");
  expectOneLinkCostsFewPages(whole, others[25000], hub, "a link of the hub made over the inverse");
  reopen();
  ASSERT_EQ(20002u, GetLinkedObjectNum(hub, link));
  EXPECT_EQ(others[10], GetLinkedObjectIdByIndex(hub, link, 20000));
  EXPECT_EQ(others[25000], GetLinkedObjectIdByIndex(hub, link, 20001));
  EXPECT_EQ(hub, GetLinkedObjectIdByIndex(others[25000], whole, 0));
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
