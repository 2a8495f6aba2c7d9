#include "repository/StoreFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "repository/Errors.h"
#include "repository/StoreSchema.h"

namespace rep {

namespace {

constexpr size_t kHeaderSize = 100;
constexpr char kSqliteMagic[] = "SQLite format 3";

uint32_t bigEndian(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
  return value;
}

std::string reason(int error) {
  return std::strerror(error);
}

bool canAccess(const std::string& path, int mode, int& error) {
  if (::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0) return true;
  error = errno;
  return false;
}

std::optional<StoreHeader> readHeader(const std::string& path) {
  using Result = std::optional<StoreHeader>;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return refuse<Result>("cannot read the store file " + path + ": " + reason(errno));
  std::array<unsigned char, kHeaderSize> bytes{};
  ssize_t got = ::pread(fd, bytes.data(), bytes.size(), 0);
  ::close(fd);
  if (got == 0) return refuse<Result>("the file is not a store: it is empty");
  if (got != static_cast<ssize_t>(bytes.size()) ||
      std::memcmp(bytes.data(), kSqliteMagic, sizeof kSqliteMagic) != 0) {
    return refuse<Result>("the file is not a store: it is not a SQLite database");
  }
  StoreHeader header;
  uint32_t pageSize = bigEndian(bytes.data() + 16, 2);
  header.pageSize = pageSize == 1 ? 65536 : pageSize;
  header.userVersion = bigEndian(bytes.data() + 60, 4);
  return header;
}

}  // namespace

// SQLite keeps the log beside the file that a symbolic link names; so do the
// lock, and the checks look there.
StoreFolder::StoreFolder(const std::string& projectFolder)
    : folder(projectFolder),
      storeFolder(projectFolder),
      store((std::filesystem::path(projectFolder) / schema::kFileName).string()) {
  std::error_code error;
  if (std::filesystem::is_symlink(store, error)) {
    std::filesystem::path target = std::filesystem::canonical(store, error);
    if (!error) {
      store = target.string();
      storeFolder = target.parent_path().string();
    }
  }
  lock = store + schema::kLockSuffix;
  log = store + schema::kLogSuffix;
  journal = store + schema::kJournalSuffix;
}

bool pathExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool checkFolderWritable(const std::string& folder) {
  int error = 0;
  if (canAccess(folder, W_OK | X_OK, error)) return true;
  return refuse<bool>("cannot write in the project folder " + folder + ": " + reason(error));
}

std::optional<StoreHeader> checkStoreFile(const StoreFolder& files) {
  using Result = std::optional<StoreHeader>;
  struct stat info {};
  if (::stat(files.store.c_str(), &info) != 0) {
    if (errno == ENOENT) return refuse<Result>("there is no store in " + files.folder);
    return refuse<Result>("cannot reach the store file " + files.store + ": " + reason(errno));
  }
  if (!S_ISREG(info.st_mode)) return refuse<Result>(files.store + " is not a regular file");
  int error = 0;
  if (!canAccess(files.store, R_OK, error))
    return refuse<Result>("cannot read the store file " + files.store + ": " + reason(error));
  if (!canAccess(files.store, W_OK, error))
    return refuse<Result>("cannot write the store file " + files.store + ": " + reason(error));
  if (!checkFolderWritable(files.storeFolder)) return std::nullopt;
  return readHeader(files.store);
}

bool checkNoJournal(const StoreFolder& files) {
  struct stat info {};
  if (::lstat(files.journal.c_str(), &info) != 0) return true;
  if (S_ISREG(info.st_mode) && info.st_size == 0) return true;
  return refuse<bool>("a rollback journal " + files.journal +
                      " lies beside the store; it does not belong to the store, which keeps a "
                      "write-ahead log, and was not applied");
}

std::optional<LogContents> readLogOf(const StoreFolder& files) {
  using Result = std::optional<LogContents>;
  struct stat info {};
  if (::stat(files.log.c_str(), &info) != 0) {
    if (errno == ENOENT) return LogContents{};
    return refuse<Result>("cannot reach the write-ahead log " + files.log + ": " + reason(errno));
  }
  if (!S_ISREG(info.st_mode)) return refuse<Result>(files.log + " is not a regular file");
  int error = 0;
  if (!canAccess(files.log, R_OK | W_OK, error)) {
    return refuse<Result>("cannot write the write-ahead log " + files.log + ": " + reason(error));
  }
  LogContents log = readWriteAheadLog(files.log);
  if (!log.readable)
    return refuse<Result>("cannot read the write-ahead log " + files.log + ": " + reason(errno));
  return log;
}

bool logBelongsToStore(const StoreFolder& files, const LogContents& log,
                       const std::optional<HolderRecord>& record, const StoreHeader& header) {
  if (log.understood && log.committedFrames == 0) return true;  // recovery applies nothing
  std::string refused = "the write-ahead log " + files.log + " does not belong to this store: ";
  std::string untouched = "; it was not applied (move it away to open the store without it)";
  if (!record) {
    return refuse<bool>(refused + "there is no record of the store's last session in " +
                        files.lock + ", so the log cannot be told from an older one or another " +
                        "project's" + untouched);
  }
  if (!record->open) {
    return refuse<bool>(refused +
                        "the store was closed cleanly after its last commit, so the log " +
                        "is an older one or another project's" + untouched);
  }
  bool tokensFit = log.understood && log.firstTransactionWritesPageOne &&
                   std::all_of(log.pageOneUserVersions.begin(), log.pageOneUserVersions.end(),
                               [&](uint32_t token) { return token == record->token; });
  bool storeFits = header.userVersion == record->base || header.userVersion == record->token;
  if (!tokensFit || !storeFits || log.pageSize != header.pageSize) {
    return refuse<bool>(refused + "it was not written by the store's last session on the store " +
                        "file as it is (an older log, or another project's)" + untouched);
  }
  return true;
}

}  // namespace rep
