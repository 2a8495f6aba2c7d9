#include "repository/ProjectLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "repository/Errors.h"

namespace rep {

namespace {

using Result = std::unique_ptr<ProjectLock>;

constexpr const char* kRecordTag = "grtool store holder";
constexpr size_t kRecordSize = 64;

bool sameFile(int fd, const std::string& path) {
  struct stat byFd {};
  struct stat byPath {};
  return ::fstat(fd, &byFd) == 0 && ::stat(path.c_str(), &byPath) == 0 &&
         byFd.st_dev == byPath.st_dev && byFd.st_ino == byPath.st_ino;
}

void syncFolderOf(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

// A file removed by a failed open between our open() and flock() would leave
// us locking a file nobody else sees; then we try again.
std::unique_ptr<ProjectLock> ProjectLock::acquire(const std::string& path) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    bool made = false;
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT) {
      fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NONBLOCK, 0644);
      made = fd >= 0;
      if (fd < 0 && errno == EEXIST) continue;
    }
    if (fd < 0) return refuse<Result>("cannot lock " + path + ": " + std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return refuse<Result>("cannot lock " + path + ": it is not a regular file");
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      int reason = errno;
      ::close(fd);
      if (reason == EWOULDBLOCK) return refuse<Result>("the store is open in another process");
      return refuse<Result>("cannot lock " + path + ": " + std::strerror(reason));
    }
    if (sameFile(fd, path)) {
      if (made) syncFolderOf(path);
      return Result(new ProjectLock(fd, path, made));
    }
    ::close(fd);
  }
  return refuse<Result>("cannot lock " + path + ": it keeps being replaced");
}

ProjectLock::~ProjectLock() {
  ::close(fd_);
}

void ProjectLock::discardIfMade() {
  if (made_) ::unlink(path_.c_str());
  made_ = false;
}

std::optional<HolderRecord> ProjectLock::record() const {
  char text[kRecordSize + 1] = {};
  ssize_t got = ::pread(fd_, text, kRecordSize, 0);
  if (got <= 0) return std::nullopt;
  char state[16] = {};
  unsigned token = 0;
  unsigned base = 0;
  std::string format = std::string(kRecordTag) + " %15s %x %x";
  if (std::sscanf(text, format.c_str(), state, &token, &base) != 3) return std::nullopt;
  HolderRecord record;
  record.open = std::strcmp(state, "open") == 0;
  if (!record.open && std::strcmp(state, "closed") != 0) return std::nullopt;
  record.token = token;
  record.base = base;
  return record;
}

bool ProjectLock::writeRecord(const HolderRecord& record) {
  char text[kRecordSize] = {};
  int length = std::snprintf(text, sizeof text, "%s %s %08x %08x\n", kRecordTag,
                             record.open ? "open" : "closed", record.token, record.base);
  auto size = static_cast<size_t>(length);
  bool written = ::pwrite(fd_, text, size, 0) == static_cast<ssize_t>(size) &&
                 ::ftruncate(fd_, static_cast<off_t>(size)) == 0 && ::fdatasync(fd_) == 0;
  return written ||
         refuse<bool>("cannot write the lock file " + path_ + ": " + std::strerror(errno));
}

}  // namespace rep
