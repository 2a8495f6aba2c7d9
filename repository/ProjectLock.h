// Keeps a project to one process: an advisory lock on a file beside the
// store, released by the kernel when the process ends however it ends.
//
// The lock file also holds the holder record: whether the last holder is
// still open (or crashed) and the token that its transactions write into the
// store file's header (PRAGMA user_version). Only a write-ahead log that
// carries the token of the holder that is still open can be this store's.
#ifndef GR_REPOSITORY_PROJECTLOCK_H
#define GR_REPOSITORY_PROJECTLOCK_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace rep {

struct HolderRecord {
  bool open = false;
  // The token of the open holder's log, and the token the store file held
  // when that log began.
  uint32_t token = 0;
  uint32_t base = 0;
};

class ProjectLock {
 public:
  // nullptr with RepLastError set when another process holds the lock or
  // the file cannot be made.
  static std::unique_ptr<ProjectLock> acquire(const std::string& path);
  ~ProjectLock();
  ProjectLock(const ProjectLock&) = delete;
  ProjectLock& operator=(const ProjectLock&) = delete;

  // nullopt when the file holds no record (new, or written by an older store).
  std::optional<HolderRecord> record() const;
  // Replaces the record and syncs it, so that it is on disk before any log
  // frame that depends on it.
  bool writeRecord(const HolderRecord& record);
  // Removes the lock file again, when this lock made it and the open failed.
  void discardIfMade();

 private:
  ProjectLock(int fd, std::string path, bool made) : fd_(fd), path_(std::move(path)), made_(made) {}
  int fd_;
  std::string path_;
  bool made_;
};

}  // namespace rep

#endif
