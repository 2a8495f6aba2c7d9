// A new project appears whole or not at all. It is made in a hidden work
// folder beside its target, under a lock that keeps a second maker of the
// same target out, and renamed into place when it is complete. A work folder
// that an interrupted making left behind is cleared by the next making.
#pragma once

#include <filesystem>
#include <string>

namespace grhost {

class NewProjectFolder {
 public:
  // Takes the target's lock, checks that TARGET is missing or an empty
  // folder, clears what interrupted makings left and makes the work folder.
  // Throws HostError when another process is making TARGET or TARGET is in
  // the way.
  explicit NewProjectFolder(const std::filesystem::path& target);
  // An unfinished work folder is removed; the lock is released.
  ~NewProjectFolder();
  NewProjectFolder(const NewProjectFolder&) = delete;
  NewProjectFolder& operator=(const NewProjectFolder&) = delete;

  // Where the project is made; nothing else may hold it open when finish() runs.
  const std::filesystem::path& workFolder() const { return work_; }
  const std::filesystem::path& target() const { return target_; }
  // Moves the complete project into place. Throws HostError.
  void finish();

 private:
  std::filesystem::path target_;
  std::filesystem::path lockFile_;
  std::filesystem::path work_;
  int lockFd_ = -1;
  bool finished_ = false;
};

// Why FOLDER is no openable project although a making of it began: it is
// being made now, or a making of it was interrupted. "" when neither.
std::string unfinishedMaking(const std::filesystem::path& folder);

}  // namespace grhost
