#include <gtest/gtest.h>

#include "host/system/Regex.h"

using grhost::parseWithExpression;

namespace {

// Two optional groups "name" and ": type"; the delimiter is required only
// when the first group matched, as in the decompose expressions.
const std::string kNameAndType = R"((?:([A-Za-z]+))?(?(1)(?:\: )|)(?:([A-Za-z]+))?.*)";

std::string parsed(const std::string& expression, const std::string& text) {
  grhost::ParseResult result = parseWithExpression(expression, text, "$");
  EXPECT_TRUE(result.error.empty()) << result.error;
  return result.value;
}

}  // namespace

TEST(Regex, ConditionalGroupsSplitTheTextIntoItsParts) {
  EXPECT_EQ(parsed(kNameAndType, "count: Integer"), "count$Integer");
  // Without the delimiter the first group can not stand: it stays unset (an
  // empty part) and the text falls to the second group.
  EXPECT_EQ(parsed(kNameAndType, "count"), "$count");
  EXPECT_EQ(parsed(kNameAndType, ""), "$");
}

TEST(Regex, TheMatchIsAnchoredAtTheStartAndANonMatchGivesNothing) {
  grhost::ParseResult result = parseWithExpression("(b+)", "abb", "$");
  EXPECT_FALSE(result.matched);
  EXPECT_EQ(result.value, "");
  EXPECT_EQ(parsed("(a)(b)?(c)", "ac"), "a$$c");
  EXPECT_EQ(parsed("(\\d+)-(\\d+)", "12-34 and more"), "12$34");
  EXPECT_EQ(parseWithExpression("(a)(b)", "ab", ", ").value, "a, b");
}

TEST(Regex, TextIsMatchedAsUtf8Characters) {
  EXPECT_EQ(parsed("(.)(.*)", "Ļoti"), "Ļ$oti");
}

TEST(Regex, BadExpressionsAreReportedNotThrown) {
  grhost::ParseResult result = parseWithExpression("(unclosed", "unclosed", "$");
  EXPECT_FALSE(result.matched);
  EXPECT_EQ(result.error.rfind("Bad regular expression \"(unclosed\" at offset 9: ", 0), 0u)
      << result.error;
  EXPECT_FALSE(parseWithExpression("(?(9)a|b)", "a", "$").error.empty());
}

// The expression the library builds for a compartment of two parts: "[" before
// free text, a choice of "a+b" or the notation "$(x)" followed by "*", the
// parts separated by "|" only when the first is there.
TEST(Regex, TheLibrarysDecomposeExpressionSplitsValuesWithSpecialCharacters) {
  const std::string expression = "(\\[(?:(?!\\|).)*)?(?(1)(?:\\||$))((?:a\\+b|\\$\\(x\\))\\*)?.*";
  EXPECT_EQ(grhost::parseWithExpression(expression, "[name|a+b*", "$").value, "[name$a+b*");
  EXPECT_EQ(grhost::parseWithExpression(expression, "[name|$(x)*", "$").value, "[name$$(x)*");
  EXPECT_EQ(grhost::parseWithExpression(expression, "$(x)*", "$").value, "$$(x)*");
  EXPECT_EQ(grhost::parseWithExpression(expression, "[only", "$").value, "[only$");
  EXPECT_EQ(grhost::parseWithExpression(expression, "[a|b", "$").value, "[a$");
}
