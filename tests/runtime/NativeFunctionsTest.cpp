#include <gtest/gtest.h>

#include "RuntimeFixture.h"
#include "runtime/L0_Var.h"
#include "runtime/NativeFunctions.h"

using NativeFunctionsTest = RuntimeFixture;

TEST_F(NativeFunctionsTest, SortDropsEmptyItemsPrintsThemQuotedAndJoinsThemSorted) {
  std::string list = "b,,a,c";
  testing::internal::CaptureStdout();
  Sort(list);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\"b\"\n\"a\"\n\"c\"\n");
  EXPECT_EQ(list, "a,b,c");
  std::string empty = ",,";
  testing::internal::CaptureStdout();
  Sort(empty);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(empty, "");
  std::string byCharacter = "b,B,a10,a9";
  testing::internal::CaptureStdout();
  Sort(byCharacter);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(byCharacter, "B,a10,a9,b");
}

TEST_F(NativeFunctionsTest, IsIntAcceptsSignedDecimalsOnly) {
  EXPECT_TRUE(IsInt("-5"));
  EXPECT_TRUE(IsInt("42"));
  EXPECT_FALSE(IsInt("12a"));
  EXPECT_FALSE(IsInt(""));
  EXPECT_FALSE(IsInt("1.5"));
}

TEST_F(NativeFunctionsTest,
       PutLiteralValueToCellCopiesTheLabelAndLeavesTheCellAloneWithoutASource) {
  RepId literal = makeClass("Literal");
  RepId cellClass = makeClass("Cell");
  RepId label = makeAttr(literal, "label");
  RepId value = makeAttr(cellClass, "value");
  RepId source = CreateObject(literal);
  RepId cell = CreateObject(cellClass);
  AddProperty(source, label, "42 kg");
  AddProperty(cell, value, "before");

  PutLiteralValueToCell(L0_Var_2("Literal"), L0_Var_2::fromObjectId(cell));
  EXPECT_STREQ(GetPropertyValue(cell, value), "before");
  EXPECT_TRUE(messages().empty());

  PutLiteralValueToCell(L0_Var_2::fromObjectId(source), L0_Var_2::fromObjectId(cell));
  EXPECT_STREQ(GetPropertyValue(cell, value), "42 kg");

  testing::internal::CaptureStdout();
  PutLiteralValueToCell(L0_Var_2::fromObjectId(source), L0_Var_2::fromObjectId(source));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Can not set cell value\n");
  EXPECT_EQ(lastMessage(), "Can not set cell value");
}
