// A project's store file: one SQLite database in WAL mode, held by one
// process. Writes rewrite only the rows that a change set names, in one
// SQLite transaction, so a crash leaves the previous commit whole.
#ifndef GR_REPOSITORY_STOREFILE_H
#define GR_REPOSITORY_STOREFILE_H

#include <memory>
#include <string>

#include "repository/ProjectLock.h"
#include "repository/Sqlite.h"
#include "repository/Store.h"

namespace rep {

class StoreFile {
 public:
  // nullptr (RepLastError set) when the folder holds a store already or the
  // file cannot be made.
  static std::unique_ptr<StoreFile> create(const std::string& folder);
  // Loads the store in FOLDER into the empty STORE. The file is checked and
  // read through a read-only connection first, so a damaged or foreign file
  // is never written to.
  static std::unique_ptr<StoreFile> open(const std::string& folder, Store& store);

  // Writes what STORE's change set names and clears it. DURABLE also syncs to
  // disk and folds the write-ahead log into the database at once. On failure
  // nothing is written and the change set is kept.
  bool write(Store& store, bool durable);
  // Rows inserted, replaced or deleted by the last write.
  int64_t lastWriteRows() const { return lastWriteRows_; }

 private:
  StoreFile(std::unique_ptr<ProjectLock> lock, Database db, RepId persistedNextId);
  static bool configureWriter(Database& db);
  static bool createSchema(Database& db);
  bool prepareStatements();
  bool writeChanges(const Store& store);
  bool writeType(const Metamodel& metamodel, RepId id);
  bool writeClass(RepId id, const ClassRec& rec);
  bool writeObject(const Store& store, RepId id, ChangeSet::ObjectMark mark);
  bool writeObjectValues(RepId id, const ObjectRec& rec);
  bool writeObjectEnds(RepId id, const ObjectRec& rec, RepId changedEnd);
  bool writeEnd(RepId object, RepId linkType, std::span<const RepId> partners);
  bool writeRemovals(const Store& store);
  bool writeBigEnds(const Store& store);
  bool writeNextId(RepId nextId);
  bool failWrite();

  std::unique_ptr<ProjectLock> lock_;
  Database db_;
  RepId persistedNextId_;
  int64_t lastWriteRows_ = 0;
  std::string blob_;  // reused encoding buffer

  struct Statements {
    Statement upsertPackage, upsertClass, upsertAttribute, upsertLinkType;
    Statement deletePackage, deleteClass, deleteAttribute, deleteLinkType;
    Statement upsertObject, deleteObject, deleteObjectValues, deleteObjectEnds;
    Statement upsertValue, deleteValue, upsertEnd, deleteEnd, upsertMeta;
  } sql_;
};

}  // namespace rep

#endif
