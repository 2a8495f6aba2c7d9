#include "repository/StoreFile.h"

#include <filesystem>

#include "repository/Errors.h"
#include "repository/IdBlob.h"
#include "repository/StoreLoader.h"
#include "repository/StoreSchema.h"

namespace rep {

namespace fs = std::filesystem;

namespace {

std::string storePath(const std::string& folder) {
  return (fs::path(folder) / schema::kFileName).string();
}

bool fileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

}  // namespace

StoreFile::StoreFile(std::unique_ptr<ProjectLock> lock, Database db, RepId persistedNextId)
    : lock_(std::move(lock)), db_(std::move(db)), persistedNextId_(persistedNextId) {}

// ---- opening ---------------------------------------------------------------------

// EXCLUSIVE locking keeps other processes out for good and lets WAL work
// without a shared-memory file; NORMAL sync survives a process crash.
// Checkpoints (which sync) are left to SaveRequest, closing, and a log grown
// past 64 MB, so that an ordinary commit only appends to the log.
bool StoreFile::configureWriter(Database& db) {
  const char* settings =
      "PRAGMA locking_mode = EXCLUSIVE; PRAGMA synchronous = NORMAL;"
      "PRAGMA cache_size = -32768; PRAGMA wal_autocheckpoint = 16384;"
      "PRAGMA journal_size_limit = 67108864;";
  if (!db.exec(settings)) return false;
  Statement journal(db.handle(), "PRAGMA journal_mode = WAL");
  if (!journal.valid() || journal.step() != SQLITE_ROW || journal.text(0) != "wal") return false;
  journal = Statement();
  return db.exec("BEGIN IMMEDIATE") && db.exec("COMMIT");
}

bool StoreFile::createSchema(Database& db) {
  std::string sql = "BEGIN;";
  sql += "PRAGMA application_id = " + std::to_string(schema::kApplicationId) + ";";
  sql += schema::kCreateTables;
  sql += "INSERT INTO meta VALUES ('format', " + std::to_string(schema::kFormatVersion) + ");";
  sql += "INSERT INTO meta VALUES ('next_id', 1);";
  sql += "COMMIT;";
  return db.exec(sql.c_str()) && db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

std::unique_ptr<StoreFile> StoreFile::create(const std::string& folder) {
  using Result = std::unique_ptr<StoreFile>;
  std::string path = storePath(folder);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return refuse<Result>("cannot create folder " + folder + ": " + error.message());
  if (fileExists(path)) return refuse<Result>("the folder " + folder + " holds a store already");
  auto lock = ProjectLock::acquire(path + schema::kLockSuffix);
  if (!lock) return nullptr;
  Database db;
  std::string message;
  if (!db.open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, message)) {
    return refuse<Result>("cannot create the store: " + message);
  }
  if (!configureWriter(db) || !createSchema(db)) {
    message = db.message();
    db.close();
    fs::remove(path, error);
    return refuse<Result>("cannot create the store: " + message);
  }
  Result file(new StoreFile(std::move(lock), std::move(db), 1));
  if (!file->prepareStatements())
    return refuse<Result>("cannot prepare the store: " + file->db_.message());
  return file;
}

std::unique_ptr<StoreFile> StoreFile::open(const std::string& folder, Store& store) {
  using Result = std::unique_ptr<StoreFile>;
  std::string path = storePath(folder);
  if (!fileExists(path)) return refuse<Result>("there is no store in " + folder);
  auto lock = ProjectLock::acquire(path + schema::kLockSuffix);
  if (!lock) return nullptr;
  std::string message;
  {
    // Normal locking: a read-only connection cannot open a WAL database in
    // exclusive mode. It may leave empty -wal/-shm files; the database file
    // itself is not written.
    Database reader;
    if (!reader.open(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, message)) {
      return refuse<Result>("cannot open the store: " + message);
    }
    if (!checkStoreIdentity(reader) || !loadStore(reader, store)) return nullptr;
  }
  Database db;
  if (!db.open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, message)) {
    return refuse<Result>("cannot open the store for writing: " + message);
  }
  if (!configureWriter(db)) {
    if (db.errorCode() == SQLITE_BUSY)
      return refuse<Result>("the store is open in another process");
    return refuse<Result>("cannot open the store for writing: " + db.message());
  }
  Result file(new StoreFile(std::move(lock), std::move(db), store.ids().next()));
  if (!file->prepareStatements())
    return refuse<Result>("cannot prepare the store: " + file->db_.message());
  return file;
}

bool StoreFile::prepareStatements() {
  sqlite3* db = db_.handle();
  sql_.upsertPackage = Statement(db, "INSERT OR REPLACE INTO packages VALUES (?, ?, ?)");
  sql_.upsertClass = Statement(db, "INSERT OR REPLACE INTO classes VALUES (?, ?, ?, ?, ?, ?)");
  sql_.upsertAttribute = Statement(db, "INSERT OR REPLACE INTO attributes VALUES (?, ?, ?, ?, ?)");
  sql_.upsertLinkType =
      Statement(db, "INSERT OR REPLACE INTO link_types VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
  sql_.deletePackage = Statement(db, "DELETE FROM packages WHERE id = ?");
  sql_.deleteClass = Statement(db, "DELETE FROM classes WHERE id = ?");
  sql_.deleteAttribute = Statement(db, "DELETE FROM attributes WHERE id = ?");
  sql_.deleteLinkType = Statement(db, "DELETE FROM link_types WHERE id = ?");
  sql_.upsertObject = Statement(db, "INSERT OR REPLACE INTO objects VALUES (?, ?)");
  sql_.deleteObject = Statement(db, "DELETE FROM objects WHERE id = ?");
  sql_.deleteObjectValues = Statement(db, "DELETE FROM vals WHERE obj = ?");
  sql_.deleteObjectEnds = Statement(db, "DELETE FROM ends WHERE obj = ?");
  sql_.upsertValue = Statement(db, "INSERT OR REPLACE INTO vals VALUES (?, ?, ?)");
  sql_.deleteValue = Statement(db, "DELETE FROM vals WHERE obj = ? AND attr = ?");
  sql_.upsertEnd = Statement(db, "INSERT OR REPLACE INTO ends VALUES (?, ?, ?)");
  sql_.deleteEnd = Statement(db, "DELETE FROM ends WHERE obj = ? AND link_type = ?");
  sql_.upsertMeta = Statement(db, "INSERT OR REPLACE INTO meta VALUES (?, ?)");
  for (Statement* statement :
       {&sql_.upsertPackage, &sql_.upsertClass, &sql_.upsertAttribute, &sql_.upsertLinkType,
        &sql_.deletePackage, &sql_.deleteClass, &sql_.deleteAttribute, &sql_.deleteLinkType,
        &sql_.upsertObject, &sql_.deleteObject, &sql_.deleteObjectValues, &sql_.deleteObjectEnds,
        &sql_.upsertValue, &sql_.deleteValue, &sql_.upsertEnd, &sql_.deleteEnd, &sql_.upsertMeta}) {
    if (!statement->valid()) return false;
  }
  return true;
}

// ---- writing ---------------------------------------------------------------------

bool StoreFile::failWrite() {
  std::string message = db_.message();
  db_.exec("ROLLBACK");
  return refuse<bool>("the store could not be written: " + message);
}

bool StoreFile::write(Store& store, bool durable) {
  if (durable && !db_.exec("PRAGMA synchronous = FULL")) return failWrite();
  int64_t before = sqlite3_total_changes64(db_.handle());
  bool written = db_.exec("BEGIN IMMEDIATE") && writeChanges(store) && db_.exec("COMMIT");
  if (!written) {
    failWrite();
    if (durable) db_.exec("PRAGMA synchronous = NORMAL");
    return false;
  }
  lastWriteRows_ = sqlite3_total_changes64(db_.handle()) - before;
  persistedNextId_ = store.ids().next();
  store.changes().clear();
  if (!durable) return true;
  bool synced = db_.exec("PRAGMA wal_checkpoint(TRUNCATE)");
  bool restored = db_.exec("PRAGMA synchronous = NORMAL");
  return (synced && restored) || refuse<bool>("the store could not be synced: " + db_.message());
}

bool StoreFile::writeChanges(const Store& store) {
  const ChangeSet& changes = store.changes();
  for (RepId type : changes.types()) {
    if (!writeType(store.metamodel(), type)) return false;
  }
  for (RepId object : changes.objects()) {
    if (!writeObject(store, object, changes.markOf(object))) return false;
  }
  return writeRemovals(store) && writeBigEnds(store) && writeNextId(store.ids().next());
}

bool StoreFile::writeClass(RepId id, const ClassRec& rec) {
  std::string subclasses;
  encodeIds(rec.subclasses, subclasses);
  encodeIds(rec.attributes, blob_);
  return sql_.upsertClass.bind(1, int64_t{id})
      .bind(2, rec.name)
      .bind(3, int64_t{rec.superclass})
      .bind(4, int64_t{rec.package})
      .bindBlob(5, blob_.data(), blob_.size())
      .bindBlob(6, subclasses.data(), subclasses.size())
      .run();
}

bool StoreFile::writeType(const Metamodel& metamodel, RepId id) {
  if (const ClassRec* cls = metamodel.findClass(id)) return writeClass(id, *cls);
  if (const AttributeRec* attr = metamodel.findAttribute(id)) {
    return sql_.upsertAttribute.bind(1, int64_t{id})
        .bind(2, attr->name)
        .bind(3, int64_t{attr->baseType})
        .bind(4, attr->enumTypeName)
        .bind(5, int64_t{attr->package})
        .run();
  }
  if (const LinkTypeRec* linkType = metamodel.findLinkType(id)) {
    return sql_.upsertLinkType.bind(1, int64_t{id})
        .bind(2, linkType->name)
        .bind(3, int64_t{linkType->start})
        .bind(4, int64_t{linkType->end})
        .bind(5, int64_t{linkType->inverse})
        .bind(6, int64_t{linkType->multiplicity})
        .bind(7, int64_t{linkType->ordered})
        .bind(8, int64_t{linkType->compositionRole})
        .bind(9, int64_t{linkType->package})
        .run();
  }
  if (const PackageRec* package = metamodel.findPackage(id)) {
    return sql_.upsertPackage.bind(1, int64_t{id})
        .bind(2, package->name)
        .bind(3, int64_t{package->package})
        .run();
  }
  // Deleted: its row is in one of the tables.
  return sql_.deletePackage.bind(1, int64_t{id}).run() &&
         sql_.deleteClass.bind(1, int64_t{id}).run() &&
         sql_.deleteAttribute.bind(1, int64_t{id}).run() &&
         sql_.deleteLinkType.bind(1, int64_t{id}).run();
}

bool StoreFile::writeObject(const Store& store, RepId id, ChangeSet::ObjectMark mark) {
  uint8_t flags = mark.flags;
  const ObjectRec* rec = store.object(id);
  if (!rec) {
    return sql_.deleteObject.bind(1, int64_t{id}).run() &&
           sql_.deleteObjectValues.bind(1, int64_t{id}).run() &&
           sql_.deleteObjectEnds.bind(1, int64_t{id}).run();
  }
  if ((flags & ChangeSet::kRow) &&
      !sql_.upsertObject.bind(1, int64_t{id}).bind(2, int64_t{rec->classId}).run()) {
    return false;
  }
  if ((flags & ChangeSet::kValues) && !writeObjectValues(id, *rec)) return false;
  return !(flags & ChangeSet::kEnds) || writeObjectEnds(id, *rec, mark.changedEnd);
}

bool StoreFile::writeObjectValues(RepId id, const ObjectRec& rec) {
  for (const Value& value : rec.values) {
    if (!sql_.upsertValue.bind(1, int64_t{id})
             .bind(2, int64_t{value.attr})
             .bind(3, value.text)
             .run()) {
      return false;
    }
  }
  return true;
}

bool StoreFile::writeObjectEnds(RepId id, const ObjectRec& rec, RepId changedEnd) {
  bool ok = true;
  rec.ends.forEachRun([&](RepId linkType, const EndTable::Run& run) {
    bool changed = changedEnd == ChangeSet::kSeveralEnds || changedEnd == linkType;
    if (ok && changed && !run.outOfLine) ok = writeEnd(id, linkType, run.partners);
  });
  return ok;
}

bool StoreFile::writeEnd(RepId object, RepId linkType, std::span<const RepId> partners) {
  encodeIds(partners, blob_);
  return sql_.upsertEnd.bind(1, int64_t{object})
      .bind(2, int64_t{linkType})
      .bindBlob(3, blob_.data(), blob_.size())
      .run();
}

// A removal may have been undone since: only rows still without a value or
// partners go.
bool StoreFile::writeRemovals(const Store& store) {
  for (uint64_t key : store.changes().removedValues()) {
    RepId object = firstOf(key);
    RepId attr = secondOf(key);
    if (store.value(object, attr)) continue;
    if (!sql_.deleteValue.bind(1, int64_t{object}).bind(2, int64_t{attr}).run()) return false;
  }
  for (uint64_t key : store.changes().removedEnds()) {
    RepId object = firstOf(key);
    RepId linkType = secondOf(key);
    if (store.partnerCount(object, linkType) != 0) continue;
    if (!sql_.deleteEnd.bind(1, int64_t{object}).bind(2, int64_t{linkType}).run()) return false;
  }
  return true;
}

bool StoreFile::writeBigEnds(const Store& store) {
  for (uint64_t key : store.changes().bigEnds()) {
    RepId object = firstOf(key);
    RepId linkType = secondOf(key);
    const ObjectRec* rec = store.object(object);
    if (!rec || !rec->ends.find(linkType).outOfLine) continue;  // gone or back inline
    if (!writeEnd(object, linkType, store.partners(object, linkType))) return false;
  }
  return true;
}

bool StoreFile::writeNextId(RepId nextId) {
  if (nextId == persistedNextId_) return true;
  return sql_.upsertMeta.bind(1, std::string_view("next_id")).bind(2, int64_t{nextId}).run();
}

}  // namespace rep
