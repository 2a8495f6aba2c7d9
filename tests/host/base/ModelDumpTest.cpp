#include <gtest/gtest.h>

#include "host/base/HostError.h"
#include "host/base/ModelDump.h"
#include "platform/repository.h"

namespace {

class ModelDumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RepOpenMemory()) << RepLastError();
    element_ = CreateObjectType("Element");
    node_ = CreateObjectType1("Node", element_);
    edge_ = CreateObjectType1("Edge", element_);
    name_ = CreatePropertyType("name", BaseType_STRING);
    AddPropertyType(element_, name_);
    // From a Node, "eStart" reaches edges; from an Edge, "start" its node.
    eStart_ =
        CreateLinkType(node_, "eStart", REP_MULT_MANY, 1, edge_, "start", REP_MULT_ZERO_ONE, 0, 0);
    start_ = GetInverseLinkTypeId(eStart_);
  }
  void TearDown() override { RepCloseProject(); }

  RepId element_ = 0, node_ = 0, edge_ = 0, name_ = 0, eStart_ = 0, start_ = 0;
};

std::string id(RepId object) {
  return std::to_string(object);
}

}  // namespace

TEST_F(ModelDumpTest, JsonListsEveryObjectWithItsValuesAndLinksInLinkOrder) {
  RepId node = CreateObject(node_);
  RepId first = CreateObject(edge_);
  RepId second = CreateObject(edge_);
  AddProperty(node, name_, "A \"quoted\" name");
  AddProperty(first, name_, "");
  CreateLink(eStart_, node, first);
  CreateLink(eStart_, node, second);
  CreateLink(eStart_, node, first);  // linked again: moves to the end

  std::string expected = "{\"objects\":[{\"id\":" + id(node) +
                         ",\"class\":\"Node\",\"attributes\":{\"name\":\"A \\\"quoted\\\" "
                         "name\"},\"links\":{\"eStart\":[" +
                         id(second) + "," + id(first) + "]}},{\"id\":" + id(first) +
                         ",\"class\":\"Edge\",\"attributes\":{},\"links\":{\"start\":[" + id(node) +
                         "]}},{\"id\":" + id(second) +
                         ",\"class\":\"Edge\",\"attributes\":{},\"links\":{\"start\":[" + id(node) +
                         "]}}]}";
  EXPECT_EQ(grhost::dumpJson(grhost::collectObjects()).dump(), expected);
}

TEST_F(ModelDumpTest, AClassFilterTakesItsSubclassesAndAnUnknownClassIsAnError) {
  RepId edge = CreateObject(edge_);
  RepId node = CreateObject(node_);
  std::vector<grhost::DumpedObject> elements = grhost::collectObjects("Element");
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0].id, std::min(edge, node));
  EXPECT_EQ(grhost::collectObjects("Edge").size(), 1u);
  EXPECT_THROW(grhost::collectObjects("Nothing"), grhost::HostError);
}

TEST_F(ModelDumpTest, TheTextFormShowsValuesQuotedAndPartnersAfterTheRole) {
  RepId node = CreateObject(node_);
  RepId edge = CreateObject(edge_);
  AddProperty(node, name_, "two\nlines");
  CreateLink(start_, edge, node);
  EXPECT_EQ(grhost::dumpText(grhost::collectObjects()),
            id(node) + " Node\n  name = \"two\\nlines\"\n  eStart -> " + id(edge) + "\n" +
                id(edge) + " Edge\n  start -> " + id(node) + "\n");
}
