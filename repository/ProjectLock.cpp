#include "repository/ProjectLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "repository/Errors.h"

namespace rep {

std::unique_ptr<ProjectLock> ProjectLock::acquire(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0)
    return refuse<std::unique_ptr<ProjectLock>>("cannot lock " + path + ": " +
                                                std::strerror(errno));
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int reason = errno;
    ::close(fd);
    if (reason == EWOULDBLOCK) {
      return refuse<std::unique_ptr<ProjectLock>>("the store is open in another process");
    }
    return refuse<std::unique_ptr<ProjectLock>>("cannot lock " + path + ": " +
                                                std::strerror(reason));
  }
  return std::unique_ptr<ProjectLock>(new ProjectLock(fd));
}

ProjectLock::~ProjectLock() {
  ::close(fd_);
}

}  // namespace rep
