#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/Logger.h"
#include "runtime/MessageSink.h"
#include "tests/TestFolder.h"

namespace {

// Each test writes its trace into a folder of its own.
class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gr::setDefaultSinkEcho(false);
    gr::clearRecordedMessages();
  }
  std::string trace() {
    std::ifstream in(dir_ / "L0_trace.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  grtest::CurrentFolder folder_;
  std::filesystem::path dir_ = folder_.path();
};

TEST_F(LoggerTest, TracedCallsAreIndentedByDepth) {
  Logger& log = Logger::instance();
  log.traceEntry("procedure Outer", 9);
  log.traceStatement(117, "first x:Node else error");
  log.traceBinding("x", "42");
  log.traceStatement(118, "call Inner()");
  log.traceEntry("function Inner", 3);
  log.traceStatement(4, "setAttr x.name = \"a\"");
  log.traceExit("Inner", 5);
  log.traceExit("Outer", 120);
  EXPECT_EQ(log.depth(), 0);
  EXPECT_EQ(trace(),
            "     10 : procedure Outer\n"
            "\n"
            "\n"
            "    118 : first x:Node else error\n"
            "   x =42\n"
            "    119 : call Inner()\n"
            "         4 : function Inner\n"
            "\n"
            "\n"
            "         5 : setAttr x.name = \"a\"\n"
            "         6 : end\n"
            "      Return from  Inner     121 : end\n"
            "   Return from  Outer ");
}

TEST_F(LoggerTest, StringValuesAreQuotedAndEscaped) {
  Logger& log = Logger::instance();
  log.writeStringValue("say \"hi\"\n");
  log.write(" ");
  log.writeInt(-3);
  log.write(" ");
  log.writeBool(false);
  EXPECT_EQ(trace(), "\"say \\\"hi\\\"\\n\" -3 false");
}

TEST_F(LoggerTest, RuntimeErrorsReachTheSinkAndTheTrace) {
  Logger::instance().enter();
  reportRuntimeError("Assignment Failed.");
  EXPECT_EQ(gr::recordedMessages(), (std::vector<std::string>{"Assignment Failed."}));
  EXPECT_EQ(trace(), "\n   !!! Assignment Failed.\n");
}

TEST_F(LoggerTest, ANewTraceReplacesTheOldFile) {
  Logger::instance().write("old");
  Logger::shutdown();
  Logger::instance().write("new");
  EXPECT_EQ(trace(), "new");
}

TEST_F(LoggerTest, AnUnwritableTraceIsReportedOnce) {
  std::filesystem::create_directory(dir_ / "L0_trace.txt");  // a folder in the file's way
  Logger::instance().write("lost");
  ASSERT_EQ(gr::recordedMessages().size(), 1u);
  EXPECT_EQ(gr::recordedMessages()[0],
            "Can not open file \"" + (dir_ / "L0_trace.txt").string() + "\".");
}

}  // namespace
