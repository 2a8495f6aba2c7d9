// Keeps a project to one process: an advisory lock on a file beside the
// store, released by the kernel when the process ends however it ends.
#ifndef GR_REPOSITORY_PROJECTLOCK_H
#define GR_REPOSITORY_PROJECTLOCK_H

#include <memory>
#include <string>

namespace rep {

class ProjectLock {
 public:
  // nullptr with RepLastError set when another process holds the lock.
  static std::unique_ptr<ProjectLock> acquire(const std::string& path);
  ~ProjectLock();
  ProjectLock(const ProjectLock&) = delete;
  ProjectLock& operator=(const ProjectLock&) = delete;

 private:
  explicit ProjectLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace rep

#endif
