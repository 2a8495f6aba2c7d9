#include <random>

#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

// A small metamodel with every kind of end: ordered, composition, many
// partners (a hub past the inline limit), links of a class to itself.
struct Types {
  RepId node = 0, hub = 0, name = 0, size = 0;
  RepId next = 0, prev = 0, owner = 0, part = 0, member = 0, group = 0;
};

Types defineTypes() {
  Types t;
  t.node = CreateObjectType("Node");
  t.hub = CreateObjectType1("Hub", t.node);
  t.name = CreatePropertyType("name", BaseType_STRING);
  t.size = CreatePropertyType("size", BaseType_INTEGER);
  AddPropertyType(t.node, t.name);
  AddPropertyType(t.node, t.size);
  t.next = CreateLinkType(t.node, "next", REP_MULT_MANY, 1, t.node, "prev", REP_MULT_MANY, 1, 0);
  t.prev = GetInverseLinkTypeId(t.next);
  t.part =
      CreateLinkType(t.node, "part", REP_MULT_MANY, 1, t.node, "owner", REP_MULT_ZERO_ONE, 0, 1);
  t.owner = GetInverseLinkTypeId(t.part);
  t.member =
      CreateLinkType(t.hub, "member", REP_MULT_MANY, 1, t.node, "group", REP_MULT_MANY, 1, 0);
  t.group = GetInverseLinkTypeId(t.member);
  return t;
}

void commit() {
  ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
  ASSERT_TRUE(CommitSaveTransaction()) << RepLastError();
}

// Random changes of every kind the store records, each the way a gesture
// would make them: objects made and deleted, links made, moved to the end
// and removed, values set and unset, and now and then a class, attribute or
// link type defined, renamed or deleted.
class RandomChanges {
 public:
  RandomChanges(const Types& types, unsigned seed) : t_(types), random_(seed) {}

  void change() {
    switch (pick(12)) {
      case 0:
      case 1:
        create();
        break;
      case 2:
        if (RepId victim = anyObject()) DeleteObjectHard(victim);
        break;
      case 3:
      case 4:
      case 5:
        link();
        break;
      case 6:
        unlink();
        break;
      case 7:
      case 8:
        value();
        break;
      case 9:
        if (RepId object = anyObject()) AddProperty(object, t_.name, "");
        break;
      default:
        metamodel();
        break;
    }
  }

 private:
  unsigned pick(unsigned count) {
    return std::uniform_int_distribution<unsigned>(0, count - 1)(random_);
  }
  RepId anyOf(RepId cls) {
    uint32_t count = GetObjectNum(cls);
    return count ? GetObjectIdByIndex(cls, pick(count)) : 0;
  }
  RepId anyObject() { return anyOf(t_.node); }
  void create() {
    RepId object = CreateObject(pick(4) == 0 ? t_.hub : t_.node);
    AddProperty(object, t_.name, ("n" + std::to_string(object)).c_str());
    if (RepId owner = anyObject(); owner && owner != object) CreateLink(t_.part, owner, object);
  }
  void link() {
    RepId from = anyObject(), to = anyObject();
    if (!from || !to) return;
    if (RepId hub = anyOf(t_.hub); hub && pick(2)) {
      for (int i = 0; i < 6; ++i) CreateLink(t_.member, hub, anyObject());
      return;
    }
    CreateLink(t_.next, from, to);  // moves an existing link to the end
  }
  void unlink() {
    RepId from = anyObject();
    for (RepId linkType : {t_.next, t_.prev, t_.group, t_.part}) {
      uint32_t count = from ? GetLinkedObjectNum(from, linkType) : 0;
      if (count) {
        DeleteLink(linkType, from, GetLinkedObjectIdByIndex(from, linkType, pick(count)));
        return;
      }
    }
  }
  void value() {
    if (RepId object = anyObject())
      AddProperty(object, pick(2) ? t_.name : t_.size, std::to_string(pick(1000)).c_str());
  }
  void metamodel() {
    switch (pick(4)) {
      case 0: {
        std::string name = "Extra" + std::to_string(++made_);
        RepId cls = CreateObjectType1(name.c_str(), t_.node);
        RepId attr = CreatePropertyType(("extra" + std::to_string(made_)).c_str(), BaseType_STRING);
        AddPropertyType(cls, attr);
        RepId object = CreateObject(cls);
        AddProperty(object, attr, "x");
        CreateLink(t_.next, object, anyObject() ? anyObject() : object);
        break;
      }
      case 1:
        if (made_)
          UpdateObjectType1(GetObjectTypeIdByName(("Extra" + std::to_string(made_)).c_str()),
                            ("Renamed" + std::to_string(made_)).c_str());
        break;
      case 2: {
        RepId lt = CreateLinkType(t_.node, ("r" + std::to_string(++made_)).c_str(), REP_MULT_MANY,
                                  1, t_.hub, "", REP_MULT_MANY, 0, 0);
        if (RepId hub = anyOf(t_.hub)) CreateLink(lt, anyObject(), hub);
        if (pick(2)) DeleteLinkType(lt);
        break;
      }
      default:
        RemovePropertyType(t_.node, t_.size);
        AddPropertyType(t_.node, t_.size);
        break;
    }
  }

  Types t_;
  std::mt19937 random_;
  int made_ = 0;
};

class UndoTest : public ProjectFolderTest {
 protected:
  void SetUp() override {
    ProjectFolderTest::SetUp();
    ASSERT_TRUE(RepCreateProject(folder().c_str())) << RepLastError();
    types_ = defineTypes();
    commit();
  }
  // One gesture in one save transaction, as the host runs them.
  template <class Body>
  void gesture(const char* label, bool keep, Body body) {
    ASSERT_TRUE(RepUndoBegin(label));
    ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
    body();
    ASSERT_TRUE(RepUndoEnd(keep));
    ASSERT_TRUE(CommitSaveTransaction()) << RepLastError();
  }
  void undo() {
    ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
    ASSERT_TRUE(RepUndo()) << RepLastError();
    ASSERT_TRUE(CommitSaveTransaction()) << RepLastError();
  }
  void redo() {
    ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
    ASSERT_TRUE(RepRedo()) << RepLastError();
    ASSERT_TRUE(CommitSaveTransaction()) << RepLastError();
  }

  Types types_;
};

// The property: after random gestures, undoing them one by one passes back
// through every state in reverse, link orders and instance orders included;
// redoing passes forward again. The project is reopened halfway both ways,
// which also shows that the orders written to the file are the ones in
// memory (a restored link gets back its own order key).
TEST_F(UndoTest, UndoAndRedoPassThroughEveryStateAcrossReopening) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomChanges changes(types_, seed);
    // before[k]: just before step k; after[k]: right after it. Undo passes
    // through the states before (changes around steps included), redo
    // through the states after (such changes are gone with the undo).
    std::vector<std::string> before, after;
    for (int step = 0; step < 40; ++step) {
      if (step % 5 == 2) gesture("select", false, [&] { changes.change(); });
      if (step % 7 == 3) changes.change();
      before.push_back(describeStore());
      gesture("edit", true, [&] {
        for (int i = 0; i < 4; ++i) changes.change();
      });
      after.push_back(describeStore());
    }
    ASSERT_EQ(RepUndoCount(), std::min(40u * seed, 100u));
    for (int step = 40; step-- > 0;) {
      undo();
      ASSERT_EQ(describeStore(), before[step]) << "undo of step " << step;
      if (step == 20) {
        reopen();
        ASSERT_EQ(describeStore(), before[step]) << "reopened";
      }
    }
    for (int step = 0; step < 40; ++step) {
      redo();
      ASSERT_EQ(describeStore(), after[step]) << "redo of step " << step;
      if (step == 30) {
        reopen();
        ASSERT_EQ(describeStore(), after[step]) << "reopened";
      }
    }
    EXPECT_EQ(RepRedoCount(), 0u);
  }
}

TEST_F(UndoTest, ALinkTakenBackReturnsToItsPlaceInABigEnd) {
  RepId hub = CreateObject(types_.hub);
  std::vector<RepId> nodes;
  for (int i = 0; i < 40; ++i) {
    nodes.push_back(CreateObject(types_.node));
    CreateLink(types_.member, hub, nodes.back());
  }
  commit();
  std::vector<RepId> before = partnersOf(hub, types_.member);
  gesture("delete", true, [&] {
    DeleteObjectHard(nodes[7]);
    DeleteLink(types_.member, hub, nodes[30]);
    CreateLink(types_.member, hub, nodes[0]);  // to the end
  });
  undo();
  EXPECT_EQ(partnersOf(hub, types_.member), before);
  reopen();
  EXPECT_EQ(partnersOf(hub, types_.member), before);
}

TEST_F(UndoTest, ANewStepDropsTheUndoneOnes) {
  RepId a = 0;
  gesture("box", true, [&] { a = CreateObject(types_.node); });
  gesture("box", true, [&] { CreateObject(types_.node); });
  undo();
  EXPECT_EQ(RepRedoCount(), 1u);
  EXPECT_STREQ(RepRedoLabel(), "box");
  gesture("name", true, [&] { AddProperty(a, types_.name, "A"); });
  EXPECT_EQ(RepRedoCount(), 0u);
  EXPECT_EQ(RepUndoCount(), 2u);
  EXPECT_STREQ(RepUndoLabel(), "name");
  EXPECT_FALSE(RepRedo());
  EXPECT_STREQ(RepLastError(), "there is nothing to redo");
}

// Changes between steps are taken back with the step after which they came,
// never on their own, and a gesture that changed nothing is no step.
TEST_F(UndoTest, ChangesAroundStepsAreNoStepsOfTheirOwn) {
  RepId a = 0;
  gesture("box", true, [&] { a = CreateObject(types_.node); });
  std::string afterBox = describeStore();
  gesture("select", false, [&] { AddProperty(a, types_.name, "selected"); });
  gesture("look", true, [] {});
  AddProperty(a, types_.size, "3");  // outside any gesture
  EXPECT_EQ(RepUndoCount(), 1u);
  undo();
  EXPECT_EQ(GetObjectNum(types_.node), 0u);
  redo();
  EXPECT_EQ(describeStore(), afterBox);
  EXPECT_FALSE(RepRedo());
}

TEST_F(UndoTest, TheDepthBoundsTheSteps) {
  ASSERT_TRUE(RepUndoSetDepth(3));
  for (int i = 0; i < 5; ++i) gesture("box", true, [&] { CreateObject(types_.node); });
  EXPECT_EQ(RepUndoCount(), 3u);
  reopen();
  EXPECT_EQ(RepUndoCount(), 3u);
  for (int i = 0; i < 3; ++i) undo();
  EXPECT_EQ(GetObjectNum(types_.node), 2u);
  EXPECT_FALSE(RepUndo());
  EXPECT_STREQ(RepLastError(), "there is nothing to undo");
}

TEST_F(UndoTest, AnUndoneCreationComesBackWithItsIdsOnRedo) {
  RepId a = 0, b = 0;
  gesture("box", true, [&] {
    a = CreateObject(types_.node);
    b = CreateObject(types_.node);
    CreateLink(types_.next, a, b);
  });
  gesture("delete", true, [&] { DeleteObjectHard(a); });
  undo();
  undo();
  EXPECT_FALSE(ObjectExists(a));
  redo();
  redo();
  EXPECT_FALSE(ObjectExists(a));
  undo();
  ASSERT_TRUE(ObjectExists(a));
  EXPECT_EQ(partnersOf(a, types_.next), std::vector<RepId>{b});
  EXPECT_EQ(reptest::idsOf(RepUndoObjects(0)), (std::vector<RepId>{a, b}));
}

TEST_F(UndoTest, AFencedStepIsRefusedWithTheReason) {
  gesture("box", true, [&] { CreateObject(types_.node); });
  ASSERT_TRUE(RepUndoFence("published"));
  gesture("box", true, [&] { CreateObject(types_.node); });
  undo();
  reopen();
  EXPECT_FALSE(RepUndo());
  EXPECT_STREQ(RepLastError(), "published");
  EXPECT_EQ(GetObjectNum(types_.node), 1u);
}

TEST_F(UndoTest, UndoIsRefusedInsideAGesture) {
  gesture("box", true, [&] { CreateObject(types_.node); });
  ASSERT_TRUE(RepUndoBegin("key"));
  EXPECT_FALSE(RepUndo());
  EXPECT_FALSE(RepUndoBegin("key"));
  ASSERT_TRUE(RepUndoEnd(0));
  EXPECT_FALSE(RepUndoEnd(0));
}

// The journal tells what a replay changed, as it tells what a gesture did.
TEST_F(UndoTest, TheJournalTellsWhatAnUndoChanged) {
  RepId a = 0;
  gesture("box", true, [&] { a = CreateObject(types_.node); });
  RepJournalEnable(1);
  undo();
  RepChange change[8];
  ASSERT_EQ(RepJournalTake(change, 8), 1u);
  EXPECT_EQ(change[0].kind, REP_CHANGE_DELETED);
  EXPECT_EQ(change[0].object, a);
  RepJournalEnable(0);
}

// A store in memory keeps its history in memory.
TEST(UndoMemoryTest, AStoreInMemoryUndoesToo) {
  ASSERT_TRUE(RepOpenMemory());
  Types types = defineTypes();
  std::string before = describeStore();
  ASSERT_TRUE(RepUndoBegin("edit"));
  RepId a = CreateObject(types.node);
  CreateLink(types.next, a, a);
  AddProperty(a, types.name, "self");
  ASSERT_TRUE(RepUndoEnd(1));
  std::string after = describeStore();
  ASSERT_TRUE(RepUndo()) << RepLastError();
  EXPECT_EQ(describeStore(), before);
  ASSERT_TRUE(RepRedo()) << RepLastError();
  EXPECT_EQ(describeStore(), after);
  RepCloseProject();
}

// Objects that come back keep their place in their class's instance order,
// whether an indexed read closed up the deleted ones in between or not.
TEST_F(UndoTest, ObjectsTakenBackKeepTheirPlaceAmongTheInstances) {
  std::vector<RepId> made;
  gesture("boxes", true, [&] {
    for (int i = 0; i < 40; ++i) made.push_back(CreateObject(types_.node));
  });
  auto instances = [&] {
    std::vector<RepId> ids;
    for (uint32_t i = 0; i < GetObjectNum(types_.node); ++i)
      ids.push_back(GetObjectIdByIndex(types_.node, i));
    return ids;
  };
  const std::vector<RepId> all = instances();
  for (bool readBetween : {false, true}) {
    SCOPED_TRACE(readBetween ? "read between" : "no read between");
    gesture("delete", true, [&] { DeleteObjectHard(made[7]); });
    gesture("delete", true, [&] {
      DeleteObjectHard(made[3]);
      DeleteObjectHard(made[30]);
    });
    if (readBetween) {
      EXPECT_EQ(instances().size(), all.size() - 3);
    }
    undo();
    undo();
    EXPECT_EQ(instances(), all);
  }
}

}  // namespace
}  // namespace reptest
