// A project: a folder with the model store in it. While a Project lives its
// store is the open one and its folder is the current directory, so that the
// files the library writes there (its trace, its log) land in the project,
// never in the folder the user started from.
#pragma once

#include <filesystem>
#include <string>

namespace grhost {

class HeadEngine;
class NewProjectFolder;

class Project {
 public:
  // Create a new project folder with its store, or open an existing one;
  // both throw HostError with the store's reason. Open also refuses a
  // project whose making is unfinished.
  static Project create(const std::filesystem::path& folder);
  static Project open(const std::filesystem::path& folder);
  // Closes the store and the trace and goes back to the folder that was
  // current before.
  ~Project();
  Project(Project&& other) noexcept;
  Project& operator=(Project&&) = delete;
  Project(const Project&) = delete;
  Project& operator=(const Project&) = delete;

  // A project made in MAKING's work folder moves into place, store and
  // current directory with it; the trace goes on in the moved folder.
  void moveInto(NewProjectFolder& making);

  // The absolute project folder.
  const std::filesystem::path& folder() const { return folder_; }
  // The name of the model's first Project, else the folder's name.
  std::string name() const;

  // Loads the engines' own metamodels that are missing, through HEAD's
  // metamodel loader, and makes sure one HeadEngine, GraphDiagramEngine and
  // MultiUserEngine object exist. Throws HostError when a metamodel fails.
  static void prepareEngines(HeadEngine& head);

 private:
  explicit Project(std::filesystem::path folder) : folder_(std::move(folder)) {}
  void enterFolder();

  std::filesystem::path folder_;
  std::filesystem::path previousFolder_;
  bool owner_ = true;  // false once moved from
  bool storeOpen_ = true;
};

}  // namespace grhost
