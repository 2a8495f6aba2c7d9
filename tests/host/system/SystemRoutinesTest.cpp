#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/base/MessageLog.h"
#include "host/system/SystemRoutines.h"

namespace {

class SystemRoutinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("grhost-system-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name) << text;
    return folder_ / name;
  }

  std::filesystem::path folder_;
  grhost::MessageLog log_{nullptr};
  grhost::SystemRoutines routines_{log_};
};

}  // namespace

TEST_F(SystemRoutinesTest, ProgramsRunWithTheShellAndTheirOutputIsCaptured) {
  EXPECT_EQ(routines_.executeProgramAndGetOutput("printf '%s|' one two; echo three", true),
            "one|two|three\n");
  EXPECT_EQ(routines_.executeProgramAndGetOutput("echo hidden >&2", true), "");
}

TEST_F(SystemRoutinesTest, CommandFilesRunAndOtherDocumentsAreRecordedAsOpened) {
  std::filesystem::path marker = folder_ / "ran";
  std::filesystem::path script = write("copy_tool.bat", "touch '" + marker.string() + "'\n");
  EXPECT_TRUE(routines_.openFileWithAssociatedProgram(script.string()));
  EXPECT_TRUE(std::filesystem::exists(marker));
  EXPECT_FALSE(routines_.openFileWithAssociatedProgram(write("fails.sh", "exit 3\n").string()));

  std::filesystem::path document = write("report.txt", "text");
  EXPECT_TRUE(routines_.openFileWithAssociatedProgram(document.string()));
  EXPECT_EQ(routines_.openedFiles(), std::vector<std::string>{document.string()});
  EXPECT_FALSE(routines_.openFileWithAssociatedProgram((folder_ / "missing.txt").string()));
}

TEST_F(SystemRoutinesTest, FileChoicesTakeTheQueuedAnswersInOrderAndCancelWithoutOne) {
  routines_.answerFile("/a.txt");
  routines_.answerFile("/b.txt");
  routines_.answerFolder("/out");
  EXPECT_EQ(routines_.browseForFile("Open", "*.txt"), "/a.txt");
  EXPECT_EQ(routines_.browseForFolder("Export to"), "/out");
  EXPECT_EQ(routines_.browseForFile("Open", "*.txt"), "/b.txt");
  std::size_t before = log_.mark();
  EXPECT_EQ(routines_.browseForFile("Import", "*.grt"), "");
  EXPECT_EQ(log_.ofKindSince("note", before),
            std::vector<std::string>{
                "BrowseForFile \"Import\": no answer was given, the choice is cancelled."});
}

TEST_F(SystemRoutinesTest, CopyFileReplacesTheTargetAndReportsAFailure) {
  std::filesystem::path from = write("from.txt", "new");
  std::filesystem::path to = write("to.txt", "old");
  EXPECT_TRUE(routines_.copyFile(from.string(), to.string()));
  std::ifstream copied(to);
  std::string text;
  copied >> text;
  EXPECT_EQ(text, "new");
  EXPECT_FALSE(routines_.copyFile((folder_ / "none").string(), to.string()));
}
