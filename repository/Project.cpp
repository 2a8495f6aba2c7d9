#include "repository/Project.h"

#include "repository/Errors.h"

namespace rep {

std::unique_ptr<Project> Project::create(const std::string& folder) {
  std::unique_ptr<Project> project(new Project());
  project->file_ = StoreFile::create(folder);
  project->connectHistory();
  return project->file_ ? std::move(project) : nullptr;
}

std::unique_ptr<Project> Project::open(const std::string& folder) {
  std::unique_ptr<Project> project(new Project());
  project->file_ = StoreFile::open(folder, *project->store_);
  project->connectHistory();
  return project->file_ ? std::move(project) : nullptr;
}

std::unique_ptr<Project> Project::inMemory() {
  std::unique_ptr<Project> project(new Project());
  project->store_->changes().enable(false);
  return project;
}

bool Project::commitTransaction() {
  if (depth_ == 0) return refuse<bool>("no save transaction is open");
  if (--depth_ > 0 || !file_) return true;
  return file_->write(*store_, false);
}

bool Project::undo(Journal& journal) {
  return history_->undo(*store_, journal);
}

bool Project::redo(Journal& journal) {
  return history_->redo(*store_, journal);
}

bool Project::saveNow() {
  return !file_ || file_->write(*store_, true);
}

}  // namespace rep
