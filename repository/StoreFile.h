// A project's store file: one SQLite database in WAL mode, held by one
// process. A commit writes only the rows that the change set names, in one
// SQLite transaction, so a crash leaves the previous commit whole. The log is
// folded into the database at idle moments (or when it grows large), not by
// commits.
#ifndef GR_REPOSITORY_STOREFILE_H
#define GR_REPOSITORY_STOREFILE_H

#include <memory>
#include <string>

#include "repository/ProjectLock.h"
#include "repository/Sqlite.h"
#include "repository/Store.h"
#include "repository/StoreFolder.h"

namespace rep {

class StoreFile {
 public:
  // nullptr (RepLastError set) when the folder holds a store already or the
  // file cannot be made.
  static std::unique_ptr<StoreFile> create(const std::string& folder);
  // Loads the store in FOLDER into the empty STORE. Whatever is refused
  // (a damaged, foreign or unreachable file, a log or journal that is not the
  // store's) is left as it was found, and nothing is written.
  static std::unique_ptr<StoreFile> open(const std::string& folder, Store& store);
  // Folds the log into the database, so that a clean close leaves no log.
  ~StoreFile();
  StoreFile(const StoreFile&) = delete;
  StoreFile& operator=(const StoreFile&) = delete;

  // Writes what STORE's change set names and clears it. DURABLE also syncs to
  // disk and folds the log into the database at once. On failure nothing is
  // written, the change set is kept and RepLastError says what was not saved.
  bool write(Store& store, bool durable);
  // Folds the log into the database when it holds anything.
  bool checkpoint();
  // Rows inserted, replaced or deleted, and bytes appended to the log, by
  // the last write.
  int64_t lastWriteRows() const { return lastWriteRows_; }
  int64_t lastWriteBytes() const { return lastWriteBytes_; }

 private:
  StoreFile(StoreFolder files, std::unique_ptr<ProjectLock> lock, Database db);
  static bool configureWriter(Database& db);
  static bool createSchema(Database& db);
  bool connect();
  bool prepareStatements();
  bool startLog();
  void stampLog();
  bool foldLog();
  bool writeChanges(const Store& store);
  bool writeType(const Metamodel& metamodel, RepId id);
  bool writeClass(RepId id, const ClassRec& rec);
  bool writeObject(const Store& store, RepId id, uint8_t flags);
  bool writeObjectValues(RepId id, const ValueList& values);
  bool writeRemovedValues(const Store& store);
  bool writeLinks(const ChangeSet& changes);
  bool writeMeta(const char* key, int64_t value);
  bool writeCounters(const Store& store);
  bool refuseWrite(const Store& store);
  void close();

  StoreFolder files_;
  std::unique_ptr<ProjectLock> lock_;
  Database db_;
  RepId persistedNextId_ = 0;
  uint64_t persistedLinkSeq_ = 0;
  uint32_t token_ = 0;        // what this session's log carries in the file header
  bool tokenPending_ = true;  // the log does not carry it yet
  uint32_t logFrames_ = 0;    // frames in the log, as SQLite reports after each commit
  uint32_t stampFrames_ = 0;  // of them, the ones the token's stamp wrote
  uint32_t pageSize_ = 4096;
  bool opened_ = false;  // loaded or made: closing folds the log and records it
  int64_t lastWriteRows_ = 0;
  int64_t lastWriteBytes_ = 0;
  std::string blob_;  // reused encoding buffer

  struct Statements {
    Statement upsertPackage, upsertClass, upsertAttribute, upsertLinkType;
    Statement deletePackage, deleteClass, deleteAttribute, deleteLinkType;
    Statement upsertObject, deleteObject, deleteObjectValues;
    Statement upsertValue, deleteValue, upsertLink, deleteLink, upsertMeta;
  } sql_;
};

}  // namespace rep

#endif
