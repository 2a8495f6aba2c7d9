// Opening and creating projects, and the engines' metamodels.
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "host/head/NewProjectFolder.h"
#include "platform/repository.h"
#include "tests/host/HostFixture.h"

using grhost::HostError;
using grhost::Session;

namespace {

std::string failureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const HostError& failure) {
    return failure.what();
  }
  return "";
}

}  // namespace

TEST_F(HostTest, AMissingOrDamagedProjectIsRefusedWithTheStoresReason) {
  std::string missing = failureOf([&] { Session::openProject(folder_, options()); });
  EXPECT_EQ(missing.rfind("Can not open the project " + folder_.string() + ": ", 0), 0u) << missing;
  EXPECT_GT(missing.size(), ("Can not open the project " + folder_.string() + ": ").size());

  std::filesystem::create_directories(folder_);
  std::ofstream(folder_ / RepStoreFileName()) << "this is no store";
  std::string damaged = failureOf([&] { Session::openProject(folder_, options()); });
  EXPECT_EQ(damaged.rfind("Can not open the project ", 0), 0u) << damaged;
  EXPECT_NE(damaged.find(RepLastError()), std::string::npos) << damaged;
}

TEST_F(HostTest, AProjectIsCreatedOnceAndReopenedUnderItsModelName) {
  create();
  session_.reset();
  EXPECT_EQ(failureOf([&] {
              Session::createProject(folder_, "Again", options());
            }).rfind("Can not create the project ", 0),
            0u);
  reopen();
  EXPECT_EQ(session_->project().name(), folder_.filename().string());
  ASSERT_TRUE(head().loadMetamodel("DomainMetamodel"));
  RepId project = grhost::model::create("Project");
  grhost::model::setAttribute(project, "name", "Named in the model");
  EXPECT_EQ(session_->project().name(), "Named in the model");
}

// Without --tool there is no tool folder: never the project's.
TEST_F(HostTest, PathsAreTheProjectTheProgramAndByDefaultNoToolFolder) {
  create();
  EXPECT_EQ(head().projectPath(), folder_.string());
  EXPECT_EQ(head().runtimePath(), grhost::programFolder().string());
  EXPECT_EQ(head().toolPath(), "");
  grhost::HostOptions withTool = options();
  withTool.toolFolder = folder_.parent_path();
  session_.reset();
  session_ = Session::openProject(folder_, withTool);
  EXPECT_EQ(head().toolPath(), folder_.parent_path().string());
}

TEST_F(HostTest, MetamodelsLoadByPlainNameFromTheRuntimeFolderOnly) {
  create();
  EXPECT_EQ(grhost::model::classId("GraphDiagramType"), 0u);
  EXPECT_TRUE(head().loadMetamodel("TypeAndMappingMetamodel"));
  EXPECT_NE(grhost::model::classId("GraphDiagramType"), 0u);
  std::size_t before = mark();
  EXPECT_FALSE(head().loadMetamodel("NoSuchMetamodel"));
  EXPECT_FALSE(head().loadMetamodel("../metamodels/DomainMetamodel"));
  std::vector<std::string> shown = shownSince(before);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "LoadMetamodel(NoSuchMetamodel): there is no file " +
                          (grhost::programFolder() / "metamodels/NoSuchMetamodel.txt").string() +
                          ".");
  EXPECT_EQ(shown[1], "LoadMetamodel: \"../metamodels/DomainMetamodel\" is no metamodel name.");
}

TEST_F(HostTest, WhileAProjectIsOpenItsFolderIsCurrentSoTheTraceLandsInIt) {
  grtest::CurrentFolder start;
  create();
  EXPECT_EQ(std::filesystem::current_path(), folder_);
  run("main#write_then_throw");
  session_.reset();
  EXPECT_EQ(std::filesystem::current_path(), start.path());
  EXPECT_TRUE(std::filesystem::exists(folder_ / "L0_trace.txt"));
  EXPECT_FALSE(std::filesystem::exists(start.path() / "L0_trace.txt"));

  reopen();
  EXPECT_EQ(std::filesystem::current_path(), folder_);
  session_.reset();
  EXPECT_EQ(std::filesystem::current_path(), start.path());
}

TEST_F(HostTest, ANewProjectNeedsAMissingOrEmptyFolderAndAFailedOneLeavesNothing) {
  std::filesystem::create_directories(folder_);
  std::ofstream(folder_ / "notes.txt") << "mine";
  EXPECT_EQ(failureOf([&] { create(); }),
            "Can not create the project " + folder_.string() + ": the folder is not empty.");
  std::filesystem::remove(folder_ / "notes.txt");

  grtest::CurrentFolder elsewhere;
  grhost::HostOptions broken = options();
  broken.mainLibrary = root_.path() / "libmissing.so";
  EXPECT_EQ(failureOf([&] {
              Session::createProject(folder_, "Test", broken);
            }).rfind("Can not load the behaviour library ", 0),
            0u);
  EXPECT_EQ(std::filesystem::current_path(), elsewhere.path());
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(root_.path()))
    left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"project"});
  EXPECT_TRUE(std::filesystem::is_empty(folder_));

  create();
  EXPECT_TRUE(std::filesystem::exists(folder_ / RepStoreFileName()));
}

TEST_F(HostTest, WhileOneMakesAProjectASecondMakingAndOpeningAreRefused) {
  {
    grhost::NewProjectFolder making(folder_);
    std::string busy = ": another grtool is making it right now.";
    EXPECT_EQ(failureOf([&] { create(); }),
              "Can not create the project " + folder_.string() + busy);
    EXPECT_EQ(failureOf([&] { reopen(); }), "Can not open the project " + folder_.string() + busy);
  }
  create();
}

TEST_F(HostTest, AMakingThatWasKilledIsHalfMadeUntilItIsMadeAgain) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Killed midway: the project's store is made, its start-up never ran.
    grhost::NewProjectFolder making(folder_);
    grhost::Project project = grhost::Project::create(making.workFolder());
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::vector<std::filesystem::path> left;
  for (const auto& entry : std::filesystem::directory_iterator(root_.path()))
    left.push_back(entry.path());
  ASSERT_EQ(left.size(), 2u) << "the work folder and the lock";

  std::string halfMade =
      ": it is half-made, its making was interrupted; make it again with grtool new.";
  EXPECT_EQ(failureOf([&] { reopen(); }),
            "Can not open the project " + folder_.string() + halfMade);
  for (const std::filesystem::path& leftover : left) {
    if (!std::filesystem::is_directory(leftover)) continue;
    EXPECT_EQ(failureOf([&] { Session::openProject(leftover, options()); }),
              "Can not open the project " + leftover.string() + halfMade);
  }

  create();
  session_.reset();
  left.clear();
  for (const auto& entry : std::filesystem::directory_iterator(root_.path()))
    left.push_back(entry.path().filename());
  EXPECT_EQ(left, std::vector<std::filesystem::path>{"project"});
  reopen();
}
