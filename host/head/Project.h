// A project: a folder with the model store in it. While a Project lives its
// store is the open one.
#pragma once

#include <filesystem>
#include <string>

namespace grhost {

class HeadEngine;

class Project {
 public:
  // Create a new project folder with its store, or open an existing one;
  // both throw HostError with the store's reason.
  static Project create(const std::filesystem::path& folder);
  static Project open(const std::filesystem::path& folder);
  ~Project();
  Project(Project&& other) noexcept;
  Project& operator=(Project&&) = delete;
  Project(const Project&) = delete;
  Project& operator=(const Project&) = delete;

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

  std::filesystem::path folder_;
  bool open_ = true;
};

}  // namespace grhost
