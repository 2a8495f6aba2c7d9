#include <gtest/gtest.h>

#include "runtime/strRoutine.h"

using namespace strRoutine;

TEST(Conversions, NumbersToText) {
  EXPECT_EQ(intToStr(-15), "-15");
  EXPECT_EQ(boolToStr(true), "true");
  EXPECT_EQ(doubleToStr(0.1), "0.1");
  EXPECT_EQ(doubleToStr(100000), "100000");
  EXPECT_EQ(doubleToStr(2.5e20), "2.5e+20");
  EXPECT_EQ(doubleToStr(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(doubleToStr(-0.000012), "-1.2e-05");
}

TEST(Conversions, TextToNumbersIsStrict) {
  EXPECT_EQ(strToInt("-5"), -5);
  EXPECT_EQ(strToInt("+7"), 7);
  for (const char* bad : {"12a", "", " 5", "5 ", "+", "-", "1.0", "99999999999", "+-3"})
    EXPECT_THROW(strToInt(bad), ConversionError) << bad;
  EXPECT_TRUE(isInt("-5"));
  EXPECT_FALSE(isInt("12a"));
  EXPECT_DOUBLE_EQ(strToDouble("2.5e3"), 2500.0);
  EXPECT_DOUBLE_EQ(strToDouble("-.5"), -0.5);
  for (const char* bad : {"", "abc", "1.5x", "nan", "inf", "1e999"})
    EXPECT_FALSE(isReal(bad)) << bad;
  EXPECT_TRUE(strToBool("true"));
  EXPECT_TRUE(strToBool("1"));
  EXPECT_FALSE(strToBool("True"));
  EXPECT_FALSE(strToBool("yes"));
}

TEST(StringRoutines, SubstringAndCharacterAccess) {
  EXPECT_EQ(substring("abcdef", 1, 3), "bcd");
  EXPECT_EQ(substring("abc", 0, 0), "a");
  EXPECT_EQ(substring("abc", 2, 2), "c");
  EXPECT_EQ(substring("abc", 2, 10), "c");
  EXPECT_EQ(substring("abc", 3, 4), "");
  EXPECT_EQ(substring("abc", 2, 1), "");
  EXPECT_EQ(charAt("xyz", 1), "y");
  try {
    at("abc", 3);
    FAIL();
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "basic_string::at(size_t) const");
  }
  EXPECT_THROW(charAt("abc", -1), std::out_of_range);
}

TEST(StringRoutines, TrimAndEscape) {
  EXPECT_EQ(trim(" \t\n a b \r\x01"), "a b");
  EXPECT_EQ(trim("   "), "");
  EXPECT_EQ(escape("it's \"q\" a\\b\t\v\n\r\f\b!"), "it\\'s \\\"q\\\" a\\\\b\\t\\v\\n\\r\\f\\b!");
  EXPECT_EQ(escape("Vārds"), "Vārds");
}

TEST(StringRoutines, QualifiedNamesSplitAtDoubleColons) {
  QualifiedName q = splitQualifiedName(" P :: Q::Name ");
  EXPECT_EQ(q.packages, (std::vector<std::string>{"P", "Q"}));
  EXPECT_EQ(q.name, "Name");
  EXPECT_TRUE(splitQualifiedName("").empty);
  QualifiedName plain = splitQualifiedName("Node");
  EXPECT_TRUE(plain.packages.empty());
  EXPECT_EQ(plain.name, "Node");
  EXPECT_EQ(splitQualifiedName("P::").name, "");
}
