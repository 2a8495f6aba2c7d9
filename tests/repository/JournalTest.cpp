#include <vector>

#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

struct Seen {
  int kind;
  RepId object;
  RepId classId;
  RepId detail;
  friend bool operator==(const Seen&, const Seen&) = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
  return out << "{" << seen.kind << ", " << seen.object << ", " << seen.classId << ", "
             << seen.detail << "}";
}

// Takes in small portions so that a take that continues is exercised too.
std::vector<Seen> takeAll() {
  std::vector<Seen> all;
  RepChange buffer[2];
  while (uint32_t count = RepJournalTake(buffer, 2))
    for (uint32_t i = 0; i < count; ++i)
      all.push_back({buffer[i].kind, buffer[i].object, buffer[i].classId, buffer[i].detail});
  return all;
}

class JournalTest : public MemoryStoreTest {
 protected:
  void SetUp() override {
    MemoryStoreTest::SetUp();
    diagram_ = CreateObjectType("Diagram");
    element_ = CreateObjectType("Element");
    caption_ = CreatePropertyType("caption", BaseType_STRING);
    AddPropertyType(element_, caption_);
    role_ = CreateLinkType(diagram_, "element", REP_MULT_MANY, 1, element_, "diagram", REP_MULT_ONE,
                           0, 1);
    inverse_ = GetInverseLinkTypeId(role_);
  }
  void TearDown() override {
    RepJournalEnable(0);
    MemoryStoreTest::TearDown();
  }

  RepId diagram_ = 0, element_ = 0, caption_ = 0, role_ = 0, inverse_ = 0;
};

TEST_F(JournalTest, RecordsNothingUntilEnabledAndForgetsWhenDisabled) {
  CreateObject(element_);
  EXPECT_EQ(0u, RepJournalPending());
  RepJournalEnable(1);
  CreateObject(element_);
  EXPECT_EQ(1u, RepJournalPending());
  RepJournalEnable(0);
  EXPECT_EQ(0u, RepJournalPending());
  EXPECT_TRUE(takeAll().empty());
}

TEST_F(JournalTest, EachSuccessfulChangeIsOneEntryInOrderAndRefusalsNone) {
  RepId d = CreateObject(diagram_);
  RepJournalEnable(1);
  RepId e = CreateObject(element_);
  ASSERT_TRUE(AddProperty(e, caption_, "first"));
  ASSERT_TRUE(CreateLink(role_, d, e));
  ASSERT_FALSE(CreateLink(role_, e, d)) << "ends of the wrong classes";
  ASSERT_FALSE(AddProperty(d, caption_, "x")) << "the diagram has no caption";
  ASSERT_TRUE(DeleteLink(role_, d, e));
  ASSERT_TRUE(DeleteObjectHard(e));
  ASSERT_FALSE(DeleteObjectHard(e));

  std::vector<Seen> expected{
      {REP_CHANGE_CREATED, e, element_, 0}, {REP_CHANGE_VALUE, e, 0, caption_},
      {REP_CHANGE_LINK, d, 0, role_},       {REP_CHANGE_LINK, e, 0, inverse_},
      {REP_CHANGE_LINK, d, 0, role_},       {REP_CHANGE_LINK, e, 0, inverse_},
      {REP_CHANGE_DELETED, e, element_, 0}};
  EXPECT_EQ(expected, takeAll());
  EXPECT_EQ(0u, RepJournalPending()) << "taken entries are gone";
}

TEST_F(JournalTest, MetamodelChangesNameTheType) {
  RepJournalEnable(1);
  RepId node = CreateObjectType1("Node", element_);
  ASSERT_TRUE(UpdateObjectType1(node, "Box"));
  std::vector<Seen> expected{{REP_CHANGE_METAMODEL, node, 0, 0},
                             {REP_CHANGE_METAMODEL, node, 0, 0}};
  EXPECT_EQ(expected, takeAll());
}

TEST_F(JournalTest, OpeningAnotherStoreEmptiesIt) {
  RepJournalEnable(1);
  CreateObject(element_);
  ASSERT_TRUE(RepCloseProject());
  EXPECT_EQ(0u, RepJournalPending());
  ASSERT_TRUE(RepOpenMemory());
}

}  // namespace
}  // namespace reptest
