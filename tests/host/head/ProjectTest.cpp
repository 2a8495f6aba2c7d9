// Opening and creating projects, and the engines' metamodels.
#include <fstream>
#include <functional>

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
