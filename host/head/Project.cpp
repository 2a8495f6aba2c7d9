#include "host/head/Project.h"

#include "host/base/HostError.h"
#include "host/base/Model.h"
#include "host/head/HeadEngine.h"
#include "host/head/NewProjectFolder.h"
#include "platform/repository.h"
#include "runtime/Logger.h"

namespace grhost {
namespace {

// Each engine metamodel with a class that only it declares.
struct EngineMetamodel {
  const char* name;
  const char* ownClass;
};
const EngineMetamodel kEngineMetamodels[] = {
    {"HeadEngineMetamodel", "HeadEngine"},
    {"GraphDiagramEngineMetamodel", "GraphDiagramEngine"},
    {"DialogEngineMetamodel", "D#Form"},
    {"MultiUserEngineMetamodel", "SharedAreaCopy"},
};
const char* const kEngineObjects[] = {"HeadEngine", "GraphDiagramEngine", "MultiUserEngine"};

std::filesystem::path absoluteFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  absolute = (ec ? folder : absolute).lexically_normal();
  return absolute.has_filename() ? absolute : absolute.parent_path();
}

}  // namespace

Project Project::create(const std::filesystem::path& folder) {
  std::filesystem::path absolute = absoluteFolder(folder);
  if (!RepCreateProject(absolute.c_str()))
    throw HostError("Can not create the project " + folder.string() + ": " + RepLastError());
  Project project(absolute);
  project.enterFolder();
  return project;
}

Project Project::open(const std::filesystem::path& folder) {
  std::filesystem::path absolute = absoluteFolder(folder);
  std::string unfinished = unfinishedMaking(absolute);
  if (!unfinished.empty())
    throw HostError("Can not open the project " + folder.string() + ": " + unfinished);
  if (!RepOpenProject(absolute.c_str()))
    throw HostError("Can not open the project " + folder.string() + ": " + RepLastError());
  Project project(absolute);
  project.enterFolder();
  return project;
}

Project::Project(Project&& other) noexcept
    : folder_(std::move(other.folder_)),
      previousFolder_(std::move(other.previousFolder_)),
      owner_(other.owner_),
      storeOpen_(other.storeOpen_) {
  other.owner_ = false;
}

Project::~Project() {
  if (!owner_) return;
  if (storeOpen_) RepCloseProject();
  Logger::shutdown();
  std::error_code ignored;
  if (!previousFolder_.empty()) std::filesystem::current_path(previousFolder_, ignored);
}

// A trace that an earlier project of this process left open is closed, so
// that the next trace opens here.
void Project::enterFolder() {
  std::error_code error;
  previousFolder_ = std::filesystem::current_path(error);
  Logger::shutdown();
  std::filesystem::current_path(folder_, error);
  if (error)
    throw HostError("Can not make the project folder " + folder_.string() +
                    " the current directory: " + error.message());
}

void Project::moveInto(NewProjectFolder& making) {
  RepCloseProject();
  storeOpen_ = false;
  making.finish();
  folder_ = making.target();
  if (!RepOpenProject(folder_.c_str()))
    throw HostError("Can not open the project " + folder_.string() + ": " + RepLastError());
  storeOpen_ = true;
  // The current directory moved with the folder; its name is the new one.
  std::error_code ignored;
  std::filesystem::current_path(folder_, ignored);
}

std::string Project::name() const {
  std::string modelName = model::attribute(model::firstOf("Project"), "name");
  if (!modelName.empty()) return modelName;
  return folder_.filename().string();
}

void Project::prepareEngines(HeadEngine& head) {
  model::SaveTransaction transaction;
  for (const EngineMetamodel& metamodel : kEngineMetamodels)
    if (!model::classId(metamodel.ownClass) && !head.loadMetamodel(metamodel.name))
      throw HostError(std::string("The engine metamodel ") + metamodel.name +
                      " could not be loaded.");
  for (const char* engine : kEngineObjects) model::firstOrCreate(engine);
}

}  // namespace grhost
