// Calls of procedures named in the model, against the test library
// libgrtest_procedures.so that sits next to the test program.
#include <gtest/gtest.h>

#include <filesystem>

#include "RuntimeFixture.h"
#include "platform/host.h"
#include "runtime/L0_Var.h"
#include "runtime/ProcedureCall.h"

namespace {

std::string programFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

// Libraries are looked for in the program's folder, as a host's runtime folder.
class ProgramFolderHost : public gr::HostApi {
 public:
  std::string runtimePath() override { return programFolder(); }
  std::string toolPath() override { return programFolder() + "/no-such-tool-folder"; }
};

class ProcedureCallTest : public RuntimeFixture {
 protected:
  void SetUp() override {
    RuntimeFixture::SetUp();
    gr::setHost(&host_);
    RepId thing = makeClass("Thing");
    for (int i = 0; i < 3; ++i) objects_[i] = CreateObject(thing);
  }
  void TearDown() override {
    gr::setHost(nullptr);
    RuntimeFixture::TearDown();
  }
  L0_Var_2 object(int index) const { return L0_Var_2::fromObjectId(objects_[index]); }
  std::string id(int index) const { return std::to_string(objects_[index]); }

  static constexpr const char* kLibrary = "grtest_procedures.dll";
  ProgramFolderHost host_;
  RepId objects_[3] = {};
};

}  // namespace

TEST_F(ProcedureCallTest, EveryCallVariantReachesItsEntryWithItsArguments) {
  executeVoidFunction(kLibrary, "_L0_Func_void_entry");
  executeObjectFunction(kLibrary, "_L0_Func_object_entry", object(0));
  EXPECT_TRUE(executeThreeObjectFunction(kLibrary, "_L0_Func_three_objects", object(0), object(1),
                                         object(2)));
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"void entry ran", "object entry got " + id(0),
                                      "three objects " + id(0) + " " + id(1) + " " + id(2)}));
  EXPECT_TRUE(executeBooleanFunction(kLibrary, "_L0_Func_is_bound", object(1)));
  EXPECT_FALSE(executeBooleanFunction(kLibrary, "_L0_Func_is_bound", L0_Var_2("Thing")));
  EXPECT_EQ(executeStringFunction(kLibrary, "_L0_Func_class_of", object(2)), "class Thing");
  // A library may be named without ".dll", an entry without its underscore.
  executeVoidFunction("grtest_procedures", "L0_Func_void_entry");
  EXPECT_EQ(lastMessage(), "void entry ran");
}

TEST_F(ProcedureCallTest, AMissingLibraryIsReportedWithItsNameAndGivesEmptyResults) {
  executeVoidFunction("no_such.dll", "_L0_Func_void_entry");
  ASSERT_EQ(messages().size(), 2u);
  EXPECT_EQ(messages()[0].rfind("Error: ", 0), 0u);
  EXPECT_EQ(messages()[1], "Probably, Dll not found \"\nno_such.dll\".");
  gr::clearRecordedMessages();
  EXPECT_EQ(executeStringFunction("no_such.dll", "_L0_Func_class_of", object(0)), "");
  EXPECT_FALSE(executeBooleanFunction("no_such.dll", "_L0_Func_is_bound", object(0)));
  EXPECT_EQ(messages(), (std::vector<std::string>{"Probably, Dll not found \"\nno_such.dll\".",
                                                  "Probably, Dll not found \"\nno_such.dll\"."}));
}

TEST_F(ProcedureCallTest, AMissingFunctionIsReportedWithItsQuotedName) {
  EXPECT_FALSE(
      executeThreeObjectFunction(kLibrary, "_L0_Func_absent", object(0), object(1), object(2)));
  EXPECT_EQ(messages(),
            std::vector<std::string>{"Probably, Function not found \n\"_L0_Func_absent\"."});
}

TEST_F(ProcedureCallTest, EntriesWithoutOrWithAnotherSignatureAreNotCalled) {
  executeVoidFunction(kLibrary, "_L0_Func_unsigned_entry");
  executeVoidFunction(kLibrary, "_L0_Func_takes_text");
  EXPECT_EQ(
      messages(),
      (std::vector<std::string>{
          "Function \"_L0_Func_unsigned_entry\" of \"grtest_procedures.dll\" can not be called: "
          "it is unknown, the call needs v().",
          "Function \"_L0_Func_takes_text\" of \"grtest_procedures.dll\" can not be called: "
          "it is v(s), the call needs v()."}));
  // A string entry asked for as a boolean one is refused the same way.
  EXPECT_FALSE(executeBooleanFunction(kLibrary, "_L0_Func_class_of", object(0)));
  EXPECT_NE(lastMessage().find("it is s(o), the call needs b(o)."), std::string::npos);
}

// Calls by name pass their object whether or not the entry takes it.
TEST_F(ProcedureCallTest, CallsWithAnObjectRunEntriesThatTakeNone) {
  executeObjectFunction(kLibrary, "_L0_Func_void_entry", object(0));
  EXPECT_EQ(messages(), std::vector<std::string>{"void entry ran"});
  EXPECT_EQ(executeStringFunction(kLibrary, "_L0_Func_plain_text", object(0)), "plain text");
  gr::clearRecordedMessages();
  EXPECT_EQ(executeStringFunction(kLibrary, "_L0_Func_void_entry", object(0)), "");
  EXPECT_EQ(messages(), std::vector<std::string>{"void entry ran"});
  // Only those two: other calls still need their own type.
  gr::clearRecordedMessages();
  EXPECT_FALSE(
      executeThreeObjectFunction(kLibrary, "_L0_Func_void_entry", object(0), object(1), object(2)));
  EXPECT_FALSE(executeBooleanFunction(kLibrary, "_L0_Func_void_entry", object(0)));
  executeObjectFunction(kLibrary, "_L0_Func_plain_text", object(0));
  executeObjectFunction(kLibrary, "_L0_Func_takes_text", object(0));
  std::string prefix = "Function \"_L0_Func_";
  EXPECT_EQ(messages(),
            (std::vector<std::string>{
                prefix + "void_entry\" of \"grtest_procedures.dll\" can not be called: it is v(), "
                         "the call needs v(ooo).",
                prefix + "void_entry\" of \"grtest_procedures.dll\" can not be called: it is v(), "
                         "the call needs b(o).",
                prefix + "plain_text\" of \"grtest_procedures.dll\" can not be called: it is s(), "
                         "the call needs v(o).",
                prefix + "takes_text\" of \"grtest_procedures.dll\" can not be called: it is v(s), "
                         "the call needs v(o)."}));
}

// A library without any signature text is taken at the model's word.
TEST_F(ProcedureCallTest, EntriesOfALibraryWithoutSignaturesAreCalledAsTheCallNeeds) {
  executeVoidFunction("grtest_unsigned.dll", "_L0_Func_plain_void");
  executeObjectFunction("grtest_unsigned.dll", "_L0_Func_plain_object", object(1));
  EXPECT_EQ(executeStringFunction("grtest_unsigned.dll", "_L0_Func_plain_class_of", object(2)),
            "plain class Thing");
  EXPECT_EQ(messages(), (std::vector<std::string>{"plain void ran", "plain object got " + id(1)}));
}

// An entry is looked up in the named library only, not in those it loads.
TEST_F(ProcedureCallTest, AnEntryOfALibraryItDependsOnIsNotItsOwn) {
  executeVoidFunction("grtest_unsigned.dll", "GrShowMessageBox");
  EXPECT_EQ(messages().back(), "Probably, Function not found \n\"GrShowMessageBox\".");
}

TEST_F(ProcedureCallTest, ALibraryNamedWithAFolderIsRefusedEvenWhenTheFileExists) {
  std::string withFolder = programFolder() + "/grtest_procedures.dll";
  executeObjectFunction(withFolder, "_L0_Func_object_entry", object(0));
  EXPECT_EQ(messages(), std::vector<std::string>{"Library \"" + withFolder +
                                                 "\" is not loaded: a library must be named "
                                                 "without a folder."});
  std::string error;
  EXPECT_EQ(gr::openProcedureLibrary("..\\grtest_procedures.dll", error), nullptr);
  EXPECT_EQ(error, "a library must be named without a folder");
}
