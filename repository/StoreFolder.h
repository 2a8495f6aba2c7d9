// The files of a project folder, and the checks made on them before SQLite
// opens any: SQLite would block on a FIFO, report a permission problem as an
// I/O error, and apply any write-ahead log or rollback journal it finds.
#ifndef GR_REPOSITORY_STOREFOLDER_H
#define GR_REPOSITORY_STOREFOLDER_H

#include <cstdint>
#include <optional>
#include <string>

#include "repository/ProjectLock.h"
#include "repository/WriteAheadLog.h"

namespace rep {

struct StoreFolder {
  explicit StoreFolder(const std::string& folder);

  std::string folder;       // the project folder
  std::string storeFolder;  // where the store file is (elsewhere when linked)
  std::string store;
  std::string lock;
  std::string log;
  std::string journal;
};

// The fields of a SQLite database header that the checks need.
struct StoreHeader {
  uint32_t pageSize = 0;
  uint32_t userVersion = 0;  // the token of the last log folded into the file
};

bool pathExists(const std::string& path);

// The store file is a regular, readable and writable SQLite file in a
// writable folder; nullopt (RepLastError set) otherwise.
std::optional<StoreHeader> checkStoreFile(const StoreFolder& files);
// The folder can take new files (the store, its log, its lock).
bool checkFolderWritable(const std::string& folder);
// No rollback journal that SQLite would play back into the store.
bool checkNoJournal(const StoreFolder& files);
// The log beside the store, read when there is one (an empty one for none);
// nullopt (RepLastError set) when it is no regular file, or cannot be read
// or written.
std::optional<LogContents> readLogOf(const StoreFolder& files);
// True when the committed frames of LOG (if any) were written by the holder
// that RECORD names on top of the store file as it is; else RepLastError says
// why the log is refused.
bool logBelongsToStore(const StoreFolder& files, const LogContents& log,
                       const std::optional<HolderRecord>& record, const StoreHeader& header);

}  // namespace rep

#endif
