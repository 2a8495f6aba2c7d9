// Exporting a defined tool: the project is copied beside the tool folder by
// a script that the host opens.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "configurator/Box_diagramtype.h"
#include "tests/tool/ConfiguratorFixture.h"

namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Hands out the folders of a scratch tree and runs what it is asked to open.
class ScratchHost : public gr::HostApi {
 public:
  explicit ScratchHost(const fs::path& root) : root_(root) {}
  std::string projectPath() override { return (root_ / "projects" / "Orders O'Neil").string(); }
  std::string runtimePath() override { return (root_ / "runtime").string(); }
  std::string toolPath() override {
    return toolRelativeToRuntime ? "../tools/Universal" : (root_ / "tools" / "Universal").string();
  }
  void saveAllDiagrams() override { ++saves; }
  bool openFileWithAssociatedProgram(const std::string& path) override {
    opened.push_back(path);
    int status = std::system(("/bin/sh '" + path + "'").c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  bool toolRelativeToRuntime = false;
  int saves = 0;
  std::vector<std::string> opened;

 private:
  fs::path root_;
};

class ConfiguratorToolExportTest : public ConfiguratorFixture {
 protected:
  void SetUp() override {
    ConfiguratorFixture::SetUp();
    root_ = fs::temp_directory_path() /
            ("grtool-make-tool-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    for (const char* folder : {"projects/Orders O'Neil/diagrams", "runtime", "tools/Universal"})
      fs::create_directories(root_ / folder);
    std::ofstream(root_ / "projects/Orders O'Neil/store.db") << "store";
    std::ofstream(root_ / "projects/Orders O'Neil/.hidden") << "hidden";
    std::ofstream(root_ / "projects/Orders O'Neil/diagrams/one.txt") << "one";
    host_ = std::make_unique<ScratchHost>(root_);
    gr::setHost(host_.get());
  }
  void TearDown() override {
    gr::setHost(nullptr);
    fs::remove_all(root_);
    ConfiguratorFixture::TearDown();
  }

  fs::path root_;
  std::unique_ptr<ScratchHost> host_;
};

TEST_F(ConfiguratorToolExportTest, ProjectIsCopiedBesideTheToolFolderWithItsDescriptor) {
  L0_Func_make_tool();
  EXPECT_TRUE(messages().empty()) << messages().front();
  EXPECT_EQ(host_->saves, 1);
  fs::path script = root_ / "tools/Universal/copy_tool.sh";
  ASSERT_EQ(host_->opened, (std::vector<std::string>{script.string()}));
  EXPECT_NE(fs::status(script).permissions() & fs::perms::owner_exec, fs::perms::none);

  fs::path copy = root_ / "tools/Orders O'Neil";
  EXPECT_EQ(contents(copy / "store.db"), "store");
  EXPECT_EQ(contents(copy / ".hidden"), "hidden");
  EXPECT_EQ(contents(copy / "diagrams/one.txt"), "one");
  EXPECT_EQ(contents(copy / "project.grt"),
            "<Project> <Tools> <Name>UniversalTool</Name> "
            "<Path>C:\\Vexa\\VexaFramework\\Tools\\UniversalTool</Path> </Tools> </Project>\n");
}

TEST_F(ConfiguratorToolExportTest, ExportingAgainOverwritesTheCopy) {
  L0_Func_make_tool();
  std::ofstream(root_ / "projects/Orders O'Neil/store.db") << "changed";
  L0_Func_make_tool();
  EXPECT_EQ(contents(root_ / "tools/Orders O'Neil/store.db"), "changed");
  EXPECT_FALSE(fs::exists(root_ / "tools/Orders O'Neil/Orders O'Neil"));
}

TEST_F(ConfiguratorToolExportTest, RelativeFoldersAreTakenFromTheRuntimeFolder) {
  host_->toolRelativeToRuntime = true;
  L0_Func_make_tool();
  ASSERT_EQ(host_->opened.size(), 1u);
  EXPECT_TRUE(fs::equivalent(host_->opened[0], root_ / "tools/Universal/copy_tool.sh"));
  EXPECT_EQ(contents(root_ / "tools/Orders O'Neil/store.db"), "store");
}

TEST_F(ConfiguratorToolExportTest, UnwritableToolFolderIsReported) {
  fs::remove_all(root_ / "tools");
  L0_Func_make_tool();
  std::string script = (root_ / "tools/Universal/copy_tool.sh").string();
  EXPECT_EQ(messages(), (std::vector<std::string>{"Can not open file " + script}));
  EXPECT_TRUE(host_->opened.empty());
}

TEST(ConfiguratorDirName, LastFolderOfWindowsAndPosixPaths) {
  EXPECT_EQ(L0_Func_get_dir_name("C:\\Projects\\Orders"), "Orders");
  EXPECT_EQ(L0_Func_get_dir_name("/home/u/projects/Orders"), "Orders");
  EXPECT_EQ(L0_Func_get_dir_name("/home/u\\mixed/Orders/"), "Orders");
  EXPECT_EQ(L0_Func_get_dir_name("Orders"), "Orders");
  EXPECT_EQ(L0_Func_get_dir_name("/"), "");
}

}  // namespace
