// What a project may not do to the user who opens it: load code that ships
// inside it, smuggle a cut-off name past the checks, or make the tool export
// write where it should not.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "configurator/Box_diagramtype.h"
#include "runtime/ProcedureCall.h"
#include "tests/tool/ConfiguratorFixture.h"

namespace fs = std::filesystem;

namespace {

fs::path programFolder() {
  return fs::read_symlink("/proc/self/exe").parent_path();
}

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class FolderHost : public gr::HostApi {
 public:
  std::string projectPath() override { return project; }
  std::string runtimePath() override { return runtime; }
  std::string toolPath() override { return tool; }
  bool openFileWithAssociatedProgram(const std::string& path) override {
    opened.push_back(path);
    return std::system(("/bin/sh '" + path + "' >/dev/null 2>&1").c_str()) == 0;
  }
  std::string project, runtime, tool;
  std::vector<std::string> opened;
};

class SecurityTest : public ConfiguratorFixture {
 protected:
  void SetUp() override {
    ConfiguratorFixture::SetUp();
    root_ = fs::temp_directory_path() /
            ("grtool-security-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "Orders");
    fs::create_directories(root_ / "tools" / "Universal");
    host_.project = (root_ / "Orders").string();
    host_.runtime = programFolder().string();
    gr::setHost(&host_);
  }
  void TearDown() override {
    gr::setHost(nullptr);
    fs::remove_all(root_);
    ConfiguratorFixture::TearDown();
  }

  // A working library of test procedures, under the name libNAME.so.
  static void plant(const fs::path& folder, const std::string& name) {
    fs::create_directories(folder);
    fs::copy_file(programFolder() / "libgrtest_procedures.so", folder / ("lib" + name + ".so"),
                  fs::copy_options::overwrite_existing);
  }
  static void callIntruder() { executeVoidFunction("intruder.dll", "_L0_Func_void_entry"); }
  bool intruderRan() const {
    for (const std::string& message : messages())
      if (message == "void entry ran") return true;
    return false;
  }

  fs::path root_;
  FolderHost host_;
};

TEST_F(SecurityTest, ALibraryInTheProjectFolderIsNeverLoaded) {
  plant(root_ / "Orders", "intruder");
  plant(root_ / "Orders" / "lib", "intruder");
  for (std::string tool :
       {std::string(), host_.project, host_.project + "/lib", host_.project + "/"}) {
    host_.tool = tool;
    gr::clearRecordedMessages();
    callIntruder();
    EXPECT_FALSE(intruderRan()) << "tool folder \"" << tool << "\"";
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], "Probably, Dll not found \"\nintruder.dll\".");
  }
  host_.tool = "";
  gr::clearRecordedMessages();
  callIntruder();
  EXPECT_EQ(messages()[0], "Error: libintruder.so is in none of the library folders (" +
                               fs::weakly_canonical(programFolder()).string() +
                               "; no tool folder is set)");
}

TEST_F(SecurityTest, TheToolFolderTheUserNamedIsSearchedFirst) {
  host_.tool = (root_ / "tools" / "Universal").string();
  plant(host_.tool, "intruder");
  callIntruder();
  EXPECT_TRUE(intruderRan());
}

TEST_F(SecurityTest, FoldersAndFilesOthersCanWriteToAreRefused) {
  fs::path tool = root_ / "tools" / "Universal";
  host_.tool = tool.string();
  plant(tool, "intruder");
  fs::permissions(tool, fs::perms::all);
  callIntruder();
  EXPECT_FALSE(intruderRan());
  EXPECT_EQ(messages(), std::vector<std::string>{"Library \"intruder.dll\" is not loaded: " +
                                                 tool.string() + " can be written by every user."});
  // The sticky bit lets each user change only their own files.
  fs::permissions(tool, fs::perms::all | fs::perms::sticky_bit);
  gr::clearRecordedMessages();
  callIntruder();
  EXPECT_TRUE(intruderRan());

  fs::permissions(tool, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  fs::permissions(tool / "libintruder.so", fs::perms::others_write, fs::perm_options::add);
  gr::clearRecordedMessages();
  callIntruder();
  EXPECT_FALSE(intruderRan());
  EXPECT_NE(messages().at(0).find("libintruder.so can be written by every user."),
            std::string::npos);
}

TEST_F(SecurityTest, AFolderWritableByAnotherGroupIsRefused) {
  fs::path tool = root_ / "tools" / "Universal";
  host_.tool = tool.string();
  plant(tool, "intruder");
  fs::permissions(tool, fs::perms::group_write, fs::perm_options::add);
  callIntruder();
  EXPECT_TRUE(intruderRan()) << "the user's own group may write";
  if (::chown(tool.c_str(), static_cast<uid_t>(-1), ::getgid() + 4242) != 0)
    GTEST_SKIP() << "this user can not hand a folder to another group";
  gr::clearRecordedMessages();
  callIntruder();
  EXPECT_FALSE(intruderRan());
  EXPECT_EQ(messages().at(0), "Library \"intruder.dll\" is not loaded: " + tool.string() +
                                  " can be written by the members of another group.");
}

// A NUL used to end the name early: "x.so\0.dll" named the file "libx.so".
TEST_F(SecurityTest, NamesWithControlCharactersAreRefusedNotCut) {
  const std::string cutLibrary("grtest_procedures.so\0.dll", 25);
  executeVoidFunction(cutLibrary, "_L0_Func_void_entry");
  const std::string cutEntry("_L0_Func_void_entry\0_L0_Func_other", 34);
  executeVoidFunction("grtest_procedures.dll", cutEntry);
  executeObjectFunction("grtest_procedures\t", "_L0_Func_object_entry", L0_Var_2());
  EXPECT_EQ(messages(),
            (std::vector<std::string>{
                "Library \"grtest_procedures.so\\x00.dll\" is not loaded: a library name must "
                "not hold control characters.",
                "Function \"_L0_Func_void_entry\\x00_L0_Func_other\" of \"grtest_procedures.dll\" "
                "can not be called: an entry name must not hold control characters.",
                "Library \"grtest_procedures\\x09\" is not loaded: a library name must not hold "
                "control characters."}));
}

// ---- exporting a tool

class ToolExportSecurityTest : public SecurityTest {
 protected:
  void SetUp() override {
    SecurityTest::SetUp();
    host_.runtime = (root_ / "runtime").string();
    fs::create_directories(host_.runtime);
    host_.tool = (root_ / "tools" / "Universal").string();
    std::ofstream(root_ / "Orders" / "store.db") << "store";
  }
  fs::path script() const { return root_ / "tools" / "Universal" / "copy_tool.sh"; }
};

TEST_F(ToolExportSecurityTest, AScriptNameThatIsALinkIsReplacedNotWrittenThrough) {
  fs::path victim = root_ / "victim.txt";
  std::ofstream(victim) << "keep me";
  fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(victim, script());
  L0_Func_make_tool();
  EXPECT_EQ(contents(victim), "keep me");
  EXPECT_EQ(fs::status(victim).permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_FALSE(fs::is_symlink(script()));
  EXPECT_EQ(contents(script()).rfind("#!/bin/sh\n", 0), 0u);
  EXPECT_EQ(contents(root_ / "tools" / "Orders" / "store.db"), "store");
  // No temporary file is left beside the script.
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root_ / "tools" / "Universal"))
    ++files;
  EXPECT_EQ(files, 1u);
}

TEST_F(ToolExportSecurityTest, ABackslashIsPartOfTheProjectsName) {
  fs::path project = root_ / "Orders\\Old";
  fs::create_directories(project);
  std::ofstream(project / "store.db") << "old store";
  host_.project = project.string();
  L0_Func_make_tool();
  EXPECT_TRUE(messages().empty()) << messages().front();
  EXPECT_EQ(contents(root_ / "tools" / "Orders\\Old" / "store.db"), "old store");
  EXPECT_FALSE(fs::exists(root_ / "tools" / "Old"));
}

TEST_F(ToolExportSecurityTest, NoToolFolderOrACopyOntoTheProjectIsRefused) {
  host_.tool = "";
  L0_Func_make_tool();
  // The project lies beside its own tool folder: the copy would be the project itself.
  host_.tool = (root_ / "Universal").string();
  fs::create_directories(host_.tool);
  L0_Func_make_tool();
  // A tool folder inside the project would copy the project into itself.
  host_.tool = (root_ / "Orders" / "tools" / "Universal").string();
  L0_Func_make_tool();
  EXPECT_EQ(messages(), (std::vector<std::string>{
                            "There is no tool folder to copy the tool beside.",
                            "The tool can not be copied to " + (root_ / "Orders").string() +
                                ": that is where its project is.",
                            "The tool can not be copied to " +
                                (root_ / "Orders" / "tools" / "Orders").string() +
                                ": that is where its project is."}));
  EXPECT_TRUE(host_.opened.empty());
  EXPECT_FALSE(fs::exists(root_ / "Universal" / "copy_tool.sh"));
}

}  // namespace
