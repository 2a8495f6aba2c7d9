#include "host/head/NewProjectFolder.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "host/base/HostError.h"
#include "platform/repository.h"

namespace grhost {
namespace fs = std::filesystem;
namespace {

// Lies in a work folder until its project is complete: such a folder is
// never opened as a project.
const char* const kMakingMarker = ".grtool-making";
// mkdtemp's six letters and digits.
constexpr std::size_t kUniqueLength = 6;

const char* const kHalfMade =
    "it is half-made, its making was interrupted; make it again with grtool new.";

std::string hiddenName(const fs::path& target, const char* suffix) {
  return "." + target.filename().string() + suffix;
}

fs::path lockFileOf(const fs::path& target) {
  return target.parent_path() / hiddenName(target, ".grtool-new.lock");
}

std::string workPrefixOf(const fs::path& target) {
  return hiddenName(target, ".grtool-new-");
}

bool isWorkFolderName(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + kUniqueLength || name.compare(0, prefix.size(), prefix) != 0)
    return false;
  for (std::size_t i = prefix.size(); i < name.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

std::vector<fs::path> workFoldersOf(const fs::path& target) {
  std::vector<fs::path> found;
  std::string prefix = workPrefixOf(target);
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(target.parent_path(), error))
    if (isWorkFolderName(entry.path().filename().string(), prefix) && entry.is_directory(error))
      found.push_back(entry.path());
  return found;
}

std::string systemError() {
  return std::strerror(errno);
}

HostError cannotCreate(const fs::path& target, const std::string& why) {
  return HostError("Can not create the project " + target.string() + ": " + why);
}

// A lock of the open file description: the kernel drops it when the process
// ends, however it ends.
bool lockWholeFile(int fd) {
  struct flock region {};
  region.l_type = F_WRLCK;
  region.l_whence = SEEK_SET;
  return fcntl(fd, F_OFD_SETLK, &region) == 0;
}

bool lockIsHeld(const fs::path& lockFile) {
  int fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock region {};
  region.l_type = F_WRLCK;
  region.l_whence = SEEK_SET;
  bool held = fcntl(fd, F_OFD_GETLK, &region) == 0 && region.l_type != F_UNLCK;
  close(fd);
  return held;
}

bool isSameFile(int fd, const fs::path& path) {
  struct stat opened {};
  struct stat named {};
  return fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// The holder removes the lock file when it is done; a lock won on a file
// that was removed meanwhile keeps nobody out, so it is taken again.
int acquireLock(const fs::path& lockFile, const fs::path& target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    int fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
      throw cannotCreate(target, "can not make " + lockFile.string() + ": " + systemError());
    if (!lockWholeFile(fd)) {
      int reason = errno;
      close(fd);
      if (reason == EAGAIN || reason == EACCES)
        throw cannotCreate(target, "another grtool is making it right now.");
      throw cannotCreate(target,
                         "can not lock " + lockFile.string() + ": " + std::strerror(reason));
    }
    if (isSameFile(fd, lockFile)) return fd;
    close(fd);
  }
  throw cannotCreate(target, "its lock file " + lockFile.string() + " keeps being replaced.");
}

// rename() puts a folder in the place of a missing or empty one only.
void checkTargetIsFree(const fs::path& target) {
  std::error_code error;
  fs::file_status status = fs::symlink_status(target, error);
  if (!fs::exists(status)) return;
  if (!fs::is_directory(status)) throw cannotCreate(target, "it is no folder.");
  if (fs::exists(target / RepStoreFileName(), error))
    throw cannotCreate(target, "the folder holds a project already.");
  if (!fs::is_empty(target, error)) throw cannotCreate(target, "the folder is not empty.");
}

void removeInterruptedMakings(const fs::path& target) {
  for (const fs::path& leftover : workFoldersOf(target)) {
    std::error_code error;
    fs::remove_all(leftover, error);
    if (error)
      throw cannotCreate(target, "can not remove " + leftover.string() +
                                     " that an interrupted making left: " + error.message());
  }
}

fs::path makeWorkFolder(const fs::path& target) {
  std::string pattern = (target.parent_path() / (workPrefixOf(target) + "XXXXXX")).string();
  if (!mkdtemp(pattern.data()))
    throw cannotCreate(target, "can not make a folder beside it: " + systemError());
  // mkdtemp makes a private folder; a project folder gets the usual rights.
  mode_t mask = umask(0);
  umask(mask);
  chmod(pattern.c_str(), 0777 & ~mask);
  fs::path work = pattern;
  std::ofstream marker(work / kMakingMarker);
  marker << "A project is being made here. It is moved into place when it is complete.\n";
  if (!marker.flush()) {
    std::error_code ignored;
    fs::remove_all(work, ignored);
    throw cannotCreate(target, "can not write into " + work.string() + ".");
  }
  return work;
}

// The rename is on disk before the maker says the project is made.
void syncFolder(const fs::path& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

NewProjectFolder::NewProjectFolder(const fs::path& target)
    : target_(target), lockFile_(lockFileOf(target)) {
  std::error_code error;
  fs::create_directories(target_.parent_path(), error);
  if (error)
    throw cannotCreate(target_, "can not make the folder " + target_.parent_path().string() + ": " +
                                    error.message());
  lockFd_ = acquireLock(lockFile_, target_);
  try {
    checkTargetIsFree(target_);
    removeInterruptedMakings(target_);
    work_ = makeWorkFolder(target_);
  } catch (...) {
    unlink(lockFile_.c_str());
    close(lockFd_);
    throw;
  }
}

NewProjectFolder::~NewProjectFolder() {
  if (!finished_ && !work_.empty()) {
    std::error_code ignored;
    fs::remove_all(work_, ignored);
  }
  unlink(lockFile_.c_str());
  close(lockFd_);
}

void NewProjectFolder::finish() {
  std::error_code error;
  fs::remove(work_ / kMakingMarker, error);
  if (error) throw cannotCreate(target_, "can not finish it: " + error.message());
  if (rename(work_.c_str(), target_.c_str()) != 0)
    throw cannotCreate(target_, "can not move it into place: " + systemError());
  finished_ = true;
  syncFolder(target_.parent_path());
}

std::string unfinishedMaking(const fs::path& folder) {
  std::error_code error;
  if (fs::exists(folder / kMakingMarker, error)) return kHalfMade;
  if (fs::exists(folder / RepStoreFileName(), error)) return "";
  if (lockIsHeld(lockFileOf(folder))) return "another grtool is making it right now.";
  if (!workFoldersOf(folder).empty()) return kHalfMade;
  return "";
}

}  // namespace grhost
