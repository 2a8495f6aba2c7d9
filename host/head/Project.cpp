#include "host/head/Project.h"

#include "host/base/HostError.h"
#include "host/base/Model.h"
#include "host/head/HeadEngine.h"
#include "platform/repository.h"

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
    {"MultiUserEngineMetamodel", "MultiUserEngine"},
};
const char* const kEngineObjects[] = {"HeadEngine", "GraphDiagramEngine", "MultiUserEngine"};

std::filesystem::path absoluteFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  return (ec ? folder : absolute).lexically_normal();
}

}  // namespace

Project Project::create(const std::filesystem::path& folder) {
  std::filesystem::path absolute = absoluteFolder(folder);
  if (!RepCreateProject(absolute.c_str()))
    throw HostError("Can not create the project " + folder.string() + ": " + RepLastError());
  return Project(absolute);
}

Project Project::open(const std::filesystem::path& folder) {
  std::filesystem::path absolute = absoluteFolder(folder);
  if (!RepOpenProject(absolute.c_str()))
    throw HostError("Can not open the project " + folder.string() + ": " + RepLastError());
  return Project(absolute);
}

Project::Project(Project&& other) noexcept : folder_(std::move(other.folder_)), open_(other.open_) {
  other.open_ = false;
}

Project::~Project() {
  if (open_) RepCloseProject();
}

std::string Project::name() const {
  std::string modelName = model::attribute(model::firstOf("Project"), "name");
  if (!modelName.empty()) return modelName;
  std::filesystem::path trimmed = folder_;
  if (!trimmed.has_filename()) trimmed = trimmed.parent_path();
  return trimmed.filename().string();
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
