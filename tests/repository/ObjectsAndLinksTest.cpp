#include <algorithm>
#include <map>
#include <random>

#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

using ObjectsTest = MemoryStoreTest;

TEST_F(ObjectsTest, ClassListsGiveDirectInstancesFirstThenSubclassesDepthFirst) {
  RepId base = CreateObjectType("Base");
  RepId first = CreateObjectType1("First", base);
  RepId second = CreateObjectType1("Second", base);
  RepId deep = CreateObjectType1("Deep", first);
  RepId s1 = CreateObject(second);
  RepId d1 = CreateObject(deep);
  RepId b1 = CreateObject(base);
  RepId f1 = CreateObject(first);
  RepId b2 = CreateObject(base);
  RepId f2 = CreateObject(first);

  EXPECT_EQ((std::vector<RepId>{b1, b2, f1, f2, d1, s1}), objectsOf(base));
  EXPECT_EQ((std::vector<RepId>{f1, f2, d1}), objectsOf(first));
  EXPECT_EQ(6u, GetObjectNum(base));
  EXPECT_EQ(0u, GetObjectIdByIndex(base, 6));
  EXPECT_EQ(0u, GetObjectNum(4242));
  EXPECT_EQ(first, GetObjectTypeId(f2));
  EXPECT_EQ(0u, CreateObject(4242)) << "no such class";
  EXPECT_EQ(0u, CreateObject(0));

  ASSERT_TRUE(DeleteObjectHard(f1));
  EXPECT_FALSE(DeleteObjectHard(f1)) << "deleted already";
  EXPECT_FALSE(ObjectExists(f1));
  EXPECT_EQ(0u, GetObjectTypeId(f1));
  EXPECT_EQ((std::vector<RepId>{b1, b2, f2, d1, s1}), objectsOf(base));

  RepId f3 = CreateObject(first);
  EXPECT_GT(f3, f2) << "ids only grow";
  EXPECT_EQ((std::vector<RepId>{f2, f3, d1}), objectsOf(first));
}

TEST_F(ObjectsTest, ClassListsStayRightUnderManyDeletesBetweenReads) {
  RepId cls = CreateObjectType("Item");
  std::vector<RepId> alive;
  for (int i = 0; i < 500; ++i) alive.push_back(CreateObject(cls));
  std::mt19937 random(7);
  while (alive.size() > 3) {
    size_t victim = random() % alive.size();
    ASSERT_TRUE(DeleteObjectHard(alive[victim]));
    alive.erase(alive.begin() + static_cast<std::ptrdiff_t>(victim));
    if (random() % 4 == 0) alive.push_back(CreateObject(cls));
    if (random() % 8 == 0) {
      ASSERT_EQ(alive, objectsOf(cls));
    }
    ASSERT_EQ(alive.size(), GetObjectNum(cls));
  }
  EXPECT_EQ(alive, objectsOf(cls));
}

class LinksTest : public MemoryStoreTest {
 protected:
  void SetUp() override {
    MemoryStoreTest::SetUp();
    element = CreateObjectType("Element");
    node = CreateObjectType1("Node", element);
    compartment = CreateObjectType("Compartment");
    compartments = CreateLinkType(element, "compartment", REP_MULT_MANY, 1, compartment, "element",
                                  REP_MULT_ONE, 0, 1);
    owner = GetInverseLinkTypeId(compartments);
    ASSERT_NE(0u, owner);
  }
  RepId element = 0, node = 0, compartment = 0, compartments = 0, owner = 0;
};

TEST_F(LinksTest, OrderHoldsAtBothEndsAcrossDeleteAndRelink) {
  RepId e = CreateObject(node);  // a subclass fits the start class
  RepId c1 = CreateObject(compartment);
  RepId c2 = CreateObject(compartment);
  RepId c3 = CreateObject(compartment);
  for (RepId c : {c1, c2, c3}) ASSERT_TRUE(CreateLink(compartments, e, c)) << RepLastError();
  EXPECT_EQ((std::vector<RepId>{c1, c2, c3}), partnersOf(e, compartments));
  EXPECT_EQ((std::vector<RepId>{e}), partnersOf(c2, owner));

  ASSERT_TRUE(DeleteLink(compartments, e, c2));
  EXPECT_FALSE(DeleteLink(compartments, e, c2)) << "gone already";
  EXPECT_FALSE(AlreadyConnected(compartments, e, c2));
  EXPECT_FALSE(AlreadyConnected(owner, c2, e));
  EXPECT_TRUE(partnersOf(c2, owner).empty());

  ASSERT_TRUE(CreateLink(owner, c2, e)) << "linking over the inverse is the same link";
  EXPECT_EQ((std::vector<RepId>{c1, c3, c2}), partnersOf(e, compartments));
  EXPECT_TRUE(AlreadyConnected(compartments, e, c2));
  EXPECT_EQ(0u, GetLinkedObjectIdByIndex(e, compartments, 3));
}

TEST_F(LinksTest, LinkCreatedTwiceIsOneLinkMovedToTheEndOfBothOrders) {
  RepId e1 = CreateObject(element);
  RepId e2 = CreateObject(element);
  RepId c1 = CreateObject(compartment);
  RepId c2 = CreateObject(compartment);
  ASSERT_TRUE(CreateLink(compartments, e1, c1));
  ASSERT_TRUE(CreateLink(compartments, e1, c2));
  ASSERT_TRUE(CreateLink(compartments, e2, c1));
  EXPECT_EQ((std::vector<RepId>{e1, e2}), partnersOf(c1, owner));

  ASSERT_TRUE(CreateLink(compartments, e1, c1));
  EXPECT_EQ((std::vector<RepId>{c2, c1}), partnersOf(e1, compartments));
  EXPECT_EQ((std::vector<RepId>{e2, e1}), partnersOf(c1, owner));
}

TEST_F(LinksTest, CreateLinkRefusesObjectsThatDoNotFitTheLinkType) {
  RepId e = CreateObject(element);
  RepId c = CreateObject(compartment);
  EXPECT_FALSE(CreateLink(compartments, c, e)) << "ends swapped";
  EXPECT_STRNE("", RepLastError());
  EXPECT_FALSE(CreateLink(compartments, e, e));
  EXPECT_FALSE(CreateLink(compartments, e, 4242)) << "no such object";
  EXPECT_FALSE(CreateLink(4242, e, c)) << "no such link type";
  EXPECT_FALSE(CreateLink(compartments, e, compartment)) << "a class id is no object";
  EXPECT_EQ(0u, GetLinkedObjectNum(e, compartments));
  EXPECT_EQ(0u, GetLinkedObjectNum(c, owner));
}

TEST_F(LinksTest, DeleteObjectHardRemovesItsLinksFromBothEndsAndNothingElse) {
  RepId next =
      CreateLinkType(element, "next", REP_MULT_MANY, 1, element, "previous", REP_MULT_MANY, 1, 0);
  RepId previous = GetInverseLinkTypeId(next);
  RepId a = CreateObject(element);
  RepId b = CreateObject(element);
  RepId c1 = CreateObject(compartment);
  RepId c2 = CreateObject(compartment);
  ASSERT_TRUE(CreateLink(compartments, a, c1));
  ASSERT_TRUE(CreateLink(compartments, b, c1));
  ASSERT_TRUE(CreateLink(compartments, a, c2));
  ASSERT_TRUE(CreateLink(next, a, a)) << "a link to itself";
  ASSERT_TRUE(CreateLink(next, b, a));

  ASSERT_TRUE(DeleteObjectHard(a));
  EXPECT_EQ((std::vector<RepId>{b}), partnersOf(c1, owner));
  EXPECT_TRUE(partnersOf(c2, owner).empty());
  EXPECT_TRUE(ObjectExists(c2)) << "no cascade over compositions";
  EXPECT_TRUE(partnersOf(b, next).empty());
  EXPECT_TRUE(partnersOf(a, previous).empty());
  EXPECT_FALSE(AlreadyConnected(compartments, a, c1));
}

TEST_F(LinksTest, DeleteLinkTypeRemovesAllItsLinks) {
  RepId e = CreateObject(node);
  RepId c = CreateObject(compartment);
  ASSERT_TRUE(CreateLink(compartments, e, c));
  ASSERT_TRUE(DeleteLinkType(owner));
  EXPECT_EQ(0u, GetLinkedObjectNum(e, compartments));
  EXPECT_EQ(0u, GetLinkedObjectNum(c, owner));
  EXPECT_FALSE(CreateLink(compartments, e, c));
}

// Hubs with many partners are kept differently from small ends; a random mix
// of operations must look the same as a plain list model at both ends.
TEST_F(LinksTest, ManyPartnersBehaveLikeSmallEndsUnderRandomOperations) {
  RepId hub = CreateObject(element);
  RepId other = CreateObject(element);
  std::vector<RepId> parts;
  for (int i = 0; i < 120; ++i) parts.push_back(CreateObject(compartment));
  std::map<RepId, std::vector<RepId>> model;  // element -> ordered compartments
  std::map<RepId, std::vector<RepId>> back;   // compartment -> ordered elements
  auto unlinkModel = [&](RepId e, RepId c) {
    std::erase(model[e], c);
    std::erase(back[c], e);
  };
  std::mt19937 random(42);
  for (int step = 0; step < 4000; ++step) {
    RepId e = random() % 5 == 0 ? other : hub;
    RepId c = parts[random() % parts.size()];
    bool growing = step < 1500 || (step / 500) % 2 == 1;
    if (random() % 3 != 0 && growing) {
      ASSERT_TRUE(CreateLink(compartments, e, c));
      unlinkModel(e, c);
      model[e].push_back(c);
      back[c].push_back(e);
    } else {
      bool linked = std::count(model[e].begin(), model[e].end(), c) != 0;
      ASSERT_EQ(linked, DeleteLink(compartments, e, c) != 0);
      unlinkModel(e, c);
    }
    ASSERT_EQ(std::count(model[e].begin(), model[e].end(), c) != 0,
              AlreadyConnected(compartments, e, c) != 0);
    if (step % 97 == 0) {
      ASSERT_EQ(model[hub], partnersOf(hub, compartments)) << "step " << step;
      ASSERT_EQ(back[c], partnersOf(c, owner)) << "step " << step;
    }
  }
  ASSERT_TRUE(DeleteObjectHard(hub));
  for (RepId c : parts) {
    std::erase(back[c], hub);
    ASSERT_EQ(back[c], partnersOf(c, owner));
  }
  EXPECT_EQ(model[other], partnersOf(other, compartments));
}

// An object's ends share a few words with the object and move out to the
// heap and back as they grow and shrink; many link types with few partners
// each, made and removed at random, must read like a plain model.
TEST_F(LinksTest, ObjectsWithManyLinkTypesKeepEveryEndAsTheyGrowAndShrink) {
  std::vector<RepId> roles;
  for (int i = 0; i < 6; ++i) {
    std::string name = "role" + std::to_string(i);
    roles.push_back(CreateLinkType(element, name.c_str(), REP_MULT_MANY, 1, element,
                                   ("back" + name).c_str(), REP_MULT_MANY, 1, 0));
  }
  std::vector<RepId> objects;
  for (int i = 0; i < 8; ++i) objects.push_back(CreateObject(element));
  std::map<std::pair<RepId, RepId>, std::vector<RepId>> model;  // (object, role) -> partners
  auto end = [&](RepId object, RepId role) -> std::vector<RepId>& {
    return model[std::make_pair(object, role)];
  };
  std::mt19937 random(5);
  for (int step = 0; step < 6000; ++step) {
    RepId role = roles[random() % roles.size()];
    RepId back = GetInverseLinkTypeId(role);
    RepId from = objects[random() % 3];  // three busy objects
    RepId to = objects[random() % objects.size()];
    bool growing = (step / 700) % 2 == 0;
    if (random() % 4 != 0 ? growing : !growing) {
      ASSERT_TRUE(CreateLink(role, from, to));
      std::erase(end(from, role), to);
      std::erase(end(to, back), from);
      end(from, role).push_back(to);
      end(to, back).push_back(from);
    } else {
      bool linked = std::count(end(from, role).begin(), end(from, role).end(), to) != 0;
      ASSERT_EQ(linked, DeleteLink(role, from, to) != 0);
      std::erase(end(from, role), to);
      std::erase(end(to, back), from);
    }
    if (step % 13 == 0) {
      for (RepId object : objects) {
        for (RepId r : roles) {
          ASSERT_EQ(end(object, r), partnersOf(object, r)) << "step " << step;
          RepId b = GetInverseLinkTypeId(r);
          ASSERT_EQ(end(object, b), partnersOf(object, b)) << "step " << step;
        }
      }
    }
  }
}

}  // namespace
}  // namespace reptest
