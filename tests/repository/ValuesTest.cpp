#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

class ValuesTest : public MemoryStoreTest {
 protected:
  void SetUp() override {
    MemoryStoreTest::SetUp();
    element = CreateObjectType("Element");
    node = CreateObjectType1("Node", element);
    text = CreatePropertyType("caption", BaseType_STRING);
    integer = CreatePropertyType("count", BaseType_INTEGER);
    real = CreatePropertyType("width", BaseType_FLOAT);
    boolean = CreatePropertyType("shown", BaseType_BOOLEAN);
    enumeration = CreatePropertyType1("kind", BaseType_ENUMERATION, "Kind");
    for (RepId attr : {text, integer, real, boolean, enumeration})
      ASSERT_TRUE(AddPropertyType(element, attr));
  }
  RepId element = 0, node = 0, text = 0, integer = 0, real = 0, boolean = 0, enumeration = 0;
};

TEST_F(ValuesTest, CheckPropertyValueFollowsTheBaseType) {
  struct Case {
    RepId* attr;
    const char* value;
    bool accepted;
  };
  const Case cases[] = {
      {&text, "any text; with \"quotes\"\n", true},
      {&enumeration, "whatever", true},
      {&integer, "0", true},
      {&integer, "-2147483648", true},
      {&integer, "+2147483647", true},
      {&integer, "2147483648", false},
      {&integer, "-2147483649", false},
      {&integer, "12a", false},
      {&integer, " 1", false},
      {&integer, "1.0", false},
      {&integer, "-", false},
      {&integer, "99999999999999999999", false},
      {&real, "1", true},
      {&real, "-1.5e10", true},
      {&real, ".5", true},
      {&real, "5.", true},
      {&real, "2E-3", true},
      {&real, "1e999", false},
      {&real, "inf", false},
      {&real, "nan", false},
      {&real, "0x1p3", false},
      {&real, "1.5x", false},
      {&real, "e5", false},
      {&real, ".", false},
      {&real, "1e", false},
      {&boolean, "true", true},
      {&boolean, "false", true},
      {&boolean, "1", true},
      {&boolean, "0", true},
      {&boolean, "TRUE", false},
      {&boolean, "yes", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.accepted, CheckPropertyValue(*c.attr, c.value) != 0)
        << GetTypeName(*c.attr) << " " << c.value;
  }
  for (RepId attr : {text, integer, real, boolean, enumeration})
    EXPECT_TRUE(CheckPropertyValue(attr, ""));
  EXPECT_FALSE(CheckPropertyValue(4242, "x")) << "no such attribute";
}

TEST_F(ValuesTest, AddPropertyStoresOnlyAcceptedValuesOfVisibleAttributes) {
  RepId n = CreateObject(node);
  EXPECT_STREQ("", GetPropertyValue(n, integer)) << "unset";
  ASSERT_TRUE(AddProperty(n, integer, "42")) << "inherited attribute";
  EXPECT_FALSE(AddProperty(n, integer, "4x2"));
  EXPECT_STREQ("42", GetPropertyValue(n, integer)) << "a refused write changes nothing";
  ASSERT_TRUE(AddProperty(n, text, "Mērķis — ūdens"));
  EXPECT_STREQ("Mērķis — ūdens", GetPropertyValue(n, text));

  RepId other = CreatePropertyType("elsewhere", BaseType_STRING);
  EXPECT_FALSE(AddProperty(n, other, "x")) << "not an attribute of the class";
  EXPECT_FALSE(AddProperty(4242, text, "x")) << "no such object";

  ASSERT_TRUE(AddProperty(n, integer, ""));
  EXPECT_STREQ("", GetPropertyValue(n, integer));
  ASSERT_TRUE(DeleteObjectHard(n));
  EXPECT_STREQ("", GetPropertyValue(n, text));
}

TEST_F(ValuesTest, DetachingOrDeletingAnAttributeDropsItsValues) {
  RepId n = CreateObject(node);
  ASSERT_TRUE(AddProperty(n, text, "kept?"));
  ASSERT_TRUE(AddProperty(n, boolean, "true"));
  ASSERT_TRUE(RemovePropertyType(element, text));
  ASSERT_TRUE(AddPropertyType(element, text));
  EXPECT_STREQ("", GetPropertyValue(n, text)) << "no stale value comes back";
  ASSERT_TRUE(DeletePropertyType(boolean));
  EXPECT_STREQ("", GetPropertyValue(n, boolean));
}

}  // namespace
}  // namespace reptest
