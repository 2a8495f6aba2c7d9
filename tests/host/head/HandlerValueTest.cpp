#include <gtest/gtest.h>

#include "host/head/HandlerValue.h"

using grhost::decodeHandler;
using grhost::decodeTransformationReference;
using grhost::HandlerValue;

namespace {

HandlerValue decoded(const std::string& value) {
  HandlerValue handler;
  std::string error;
  EXPECT_TRUE(decodeHandler(value, handler, error)) << value << ": " << error;
  return handler;
}

std::string refusal(const std::string& value) {
  HandlerValue handler;
  std::string error;
  EXPECT_FALSE(decodeHandler(value, handler, error)) << value;
  return error;
}

}  // namespace

TEST(HandlerValue, BareMainIsTheDispatcherAndQualifiedNamesAreEntries) {
  EXPECT_TRUE(decoded("main").dispatcher);
  HandlerValue keyDown = decoded("main#KeyDown");
  EXPECT_FALSE(keyDown.dispatcher);
  EXPECT_TRUE(keyDown.inMainLibrary());
  EXPECT_EQ(keyDown.entry(), "L0_Func_KeyDown");
  EXPECT_EQ(keyDown.text(), "main#KeyDown");
  HandlerValue other = decoded("shapes.dll#Draw");
  EXPECT_EQ(other.library, "shapes");
  EXPECT_FALSE(other.inMainLibrary());
  EXPECT_EQ(other.text(), "shapes#Draw");
}

TEST(HandlerValue, ValuesThatNameNothingRunnableAreRefusedWithAReason) {
  EXPECT_EQ(refusal(""), "the handler is empty");
  EXPECT_NE(refusal("KeyDown").find("is no handler"), std::string::npos);
  EXPECT_NE(refusal("main#").find("does not name a transformation"), std::string::npos);
  EXPECT_NE(refusal("#KeyDown").find("does not name a library"), std::string::npos);
  EXPECT_NE(refusal("../bin/shapes#Draw").find("without a folder"), std::string::npos);
  EXPECT_NE(refusal("lua#main.lua").find("script engine"), std::string::npos);
}

TEST(HandlerValue, TransformationReferencesOfCommandsRunInTheBehaviourLibrary) {
  HandlerValue handler;
  std::string error;
  ASSERT_TRUE(decodeTransformationReference("show_project_diagram", handler, error));
  EXPECT_EQ(handler.text(), "main#show_project_diagram");
  ASSERT_TRUE(decodeTransformationReference("main#finishCopyCollection", handler, error));
  EXPECT_EQ(handler.entry(), "L0_Func_finishCopyCollection");
  // Not the dispatcher: a command names a transformation.
  ASSERT_TRUE(decodeTransformationReference("main", handler, error));
  EXPECT_FALSE(handler.dispatcher);
  EXPECT_FALSE(decodeTransformationReference("", handler, error));
  EXPECT_FALSE(decodeTransformationReference("two words", handler, error));
}
