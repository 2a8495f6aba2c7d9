#include <gtest/gtest.h>

#include "RuntimeFixture.h"
#include "runtime/EasyAnswers.h"
#include "runtime/GraphExport.h"

namespace {

class EasyAnswersTest : public RuntimeFixture {
 protected:
  void SetUp() override {
    RuntimeFixture::SetUp();
    makeClass("Thing");
    RepId diagramType = makeClass("GraphDiagramType");
    RepId elemType = makeClass("ElemType");
    makeClass("NodeType", elemType);
    makeAssoc(diagramType, "elemType", elemType, "graphDiagramType");
    makeAssoc(elemType, "elemStyle", makeClass("ElemStyle"), "elemType");
  }
  static L0_Var_2 object(const std::string& className) {
    L0_Var_2 v(className);
    v.addObj(className);
    return v;
  }
  // Keys are process-wide: each test makes its own.
  static std::string key(const std::string& text) {
    return std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + text;
  }
};

TEST_F(EasyAnswersTest, AKeyIsSeenOnce) {
  EXPECT_FALSE(checkEasyAnswers(key("a")));
  EXPECT_TRUE(checkEasyAnswers(key("a")));
  EXPECT_FALSE(checkEasyAnswers(key("b")));
}

TEST_F(EasyAnswersTest, AnswersAreKeptForTheTwoNavigationsAndForThisGenerationOnly) {
  L0_Var_2 diagramType = object("GraphDiagramType");
  L0_Var_2 nodeType = object("NodeType");
  L0_Var_2 style = object("ElemStyle");
  addToEasyAnswers(diagramType, "elemType", "id", "box", key("box"), nodeType);
  addToEasyAnswers(nodeType, "elemStyle", "id", "s", key("style"), style);  // not kept
  EXPECT_EQ(tryToGetEasyAnswer(diagramType, "elemType", "id", "box", key("box")), nodeType);
  EXPECT_TRUE(tryToGetEasyAnswer(nodeType, "elemStyle", "id", "s", key("style")).isNull());
  EXPECT_TRUE(tryToGetEasyAnswer(nodeType, "compartType", "id", "c", key("box")).isNull());
  EXPECT_EQ(tryToGetEasyAnswer(diagramType, "elemType", "", "", key("other")).className(), "Thing");

  advanceGeneration();
  EXPECT_TRUE(tryToGetEasyAnswer(diagramType, "elemType", "id", "box", key("box")).isNull());
}

TEST(NavigationSpecTest, EntriesSplitIntoClassRoleTransformationAndLibrary) {
  const auto entries = gr::exchange::parseNavigationSpec(
      "GraphDiagram.graphDiagramType-_L0_Func_getLOforGDType;Element;"
      "Compartment.compartType-lib.dll#_L0_Func_f;Node-x;Edge.start");
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].className, "GraphDiagram");
  EXPECT_EQ(entries[0].role, "graphDiagramType");
  EXPECT_EQ(entries[0].transformation, "_L0_Func_getLOforGDType");
  EXPECT_EQ(entries[0].library, "");
  EXPECT_EQ(entries[1].className, "Element");
  EXPECT_EQ(entries[1].role, "");
  EXPECT_EQ(entries[2].library, "lib.dll");
  EXPECT_EQ(entries[2].transformation, "_L0_Func_f");
  EXPECT_EQ(entries[3].className, "Node");
  EXPECT_EQ(entries[3].transformation, "x");
  EXPECT_EQ(entries[4].role, "start");
  EXPECT_TRUE(gr::exchange::parseNavigationSpec("").empty());
}

}  // namespace
