// Running handler values: the dispatcher, transformations of the behaviour
// library and of other libraries, and what becomes of their failures.
#include <fstream>
#include <sstream>

#include "tests/host/HostFixture.h"

using grhost::model::attribute;
using grhost::model::objectsOf;

namespace {

int generationIn(const std::vector<std::string>& shown) {
  EXPECT_EQ(shown.size(), 1u);
  return shown.empty() ? -1 : std::stoi(shown.front().substr(std::string("generation ").size()));
}

std::string traceText(const std::filesystem::path& project) {
  std::ifstream in(project / "L0_trace.txt");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST_F(HostTest, NewProjectRunsTheDispatcherWithCreateProjectEventNamedAfterTheProject) {
  create();
  std::vector<std::string> shown = shownSince(0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "dispatched CreateProjectEvent Test");
  EXPECT_TRUE(objectsOf("CreateProjectEvent").empty());
  for (const char* engine : {"HeadEngine", "GraphDiagramEngine", "MultiUserEngine"})
    EXPECT_EQ(objectsOf(engine).size(), 1u) << engine;
}

TEST_F(HostTest, EveryRunStartsANewGeneration) {
  create();
  int first = generationIn(run("main#note_generation"));
  int second = generationIn(run("main#note_generation"));
  EXPECT_GT(second, first);
  run("main");
  EXPECT_GT(generationIn(run("main#note_generation")), second + 1);
}

TEST_F(HostTest, WhatARunWroteBeforeItThrewIsCommittedAndTheHostGoesOn) {
  create();
  EXPECT_TRUE(run("main#write_then_throw").empty());
  EXPECT_NE(traceText(folder_).find("!!! main#write_then_throw ended: stopped after writing"),
            std::string::npos);
  reopen();
  bool kept = false;
  for (RepId diagram : objectsOf("GraphDiagram"))
    kept = kept || attribute(diagram, "caption") == "written before the throw";
  EXPECT_TRUE(kept);
}

TEST_F(HostTest, InternalErrorsAndOtherExceptionsAreReportedThroughTheSink) {
  create();
  EXPECT_EQ(run("main#break_invariant"),
            std::vector<std::string>{"Internal error: a broken invariant (Procedures.cpp)"});
  EXPECT_EQ(run("main#throw_standard"),
            std::vector<std::string>{"main#throw_standard ended by an exception: index 7 of 3"});
}

TEST_F(HostTest, EntriesThatCanNotBeCalledAsHandlersAreRefusedNotCalled) {
  create();
  std::size_t before = mark();
  EXPECT_FALSE(head().runHandler("main#missing"));
  EXPECT_FALSE(head().runHandler("main#unsigned_entry"));
  EXPECT_FALSE(head().runHandler("main#takes_text"));
  EXPECT_FALSE(head().runHandler("main#nope#more"));
  std::vector<std::string> shown = shownSince(before);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0],
            "Handler \"main#missing\" can not run: libgrtest_procedures.so has no entry "
            "L0_Func_missing.");
  EXPECT_EQ(shown[1],
            "Handler \"main#unsigned_entry\" can not run: L0_Func_unsigned_entry of "
            "libgrtest_procedures.so exports no signature; a handler must be v().");
  EXPECT_EQ(shown[2],
            "Handler \"main#takes_text\" can not run: L0_Func_takes_text of "
            "libgrtest_procedures.so is v(s); a handler must be v().");
  EXPECT_EQ(shown[3].rfind("Handler can not run: ", 0), 0u);
}

TEST_F(HostTest, HandlersOfOtherLibrariesAreFoundLikeNamedProcedures) {
  create();
  EXPECT_EQ(run("grtest_procedures#void_entry"), std::vector<std::string>{"void entry ran"});
  EXPECT_EQ(run("grtest_procedures.dll#void_entry"), std::vector<std::string>{"void entry ran"});
  std::vector<std::string> missing = run("no_such_library#entry");
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].rfind("Handler \"no_such_library#entry\" can not run: ", 0), 0u);
  EXPECT_NE(missing[0].find("libno_such_library.so"), std::string::npos);
}

TEST_F(HostTest, TheDispatcherWithoutAnEventChangesNothing) {
  create();
  EXPECT_TRUE(run("main").empty());
}
