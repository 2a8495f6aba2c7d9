#include "repository/StoreFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "repository/Errors.h"
#include "repository/IdBlob.h"
#include "repository/StoreLoader.h"
#include "repository/StoreSchema.h"

namespace rep {

namespace fs = std::filesystem;

namespace {

// Past this many frames (64 MB of 4 KB pages) a commit folds the log itself,
// for a host that never calls RepIdle.
constexpr uint32_t kLogFramesLimit = 16384;
constexpr int64_t kFrameHeaderSize = 24;

// Neither 0 (a new file's) nor all ones (-1, which also says that reading
// user_version failed).
uint32_t randomToken() {
  std::random_device random;
  uint32_t token = 0;
  while (token == 0 || token == UINT32_MAX) token = random();
  return token;
}

// A URI that SQLite opens as it is, without locks or log: reading it changes
// nothing in the folder.
std::string immutableUri(const std::string& path) {
  std::string uri = path.starts_with('/') ? "file://" : "file:";
  for (char c : path) {
    if (c == '%' || c == '?' || c == '#') {
      static const char kHex[] = "0123456789ABCDEF";
      uri += '%';
      uri += kHex[static_cast<unsigned char>(c) >> 4];
      uri += kHex[static_cast<unsigned char>(c) & 15];
    } else {
      uri += c;
    }
  }
  return uri + "?immutable=1";
}

bool checkIdentityUntouched(const std::string& path) {
  Database reader;
  std::string message;
  int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
  if (!reader.open(immutableUri(path), flags, message))
    return refuse<bool>("cannot open the store: " + message);
  return checkStoreIdentity(reader);
}

int countLogFrames(void* frames, sqlite3*, const char*, int count) {
  *static_cast<uint32_t*>(frames) = static_cast<uint32_t>(count);
  return SQLITE_OK;
}

// The reason SQLite gives, with the system's for a failed read or write (a
// full disk, a file grown past its limit). SQLite keeps no errno of the log
// file, so the caller clears errno before the work and asks right after.
std::string failureOf(const Database& db) {
  int systemError = errno;
  std::string reason = db.message();
  int code = db.errorCode() & 0xff;
  bool ioFailure = code == SQLITE_IOERR || code == SQLITE_FULL || code == SQLITE_CANTOPEN;
  if (ioFailure && systemError != 0) reason += std::string(" (") + std::strerror(systemError) + ")";
  return reason;
}

std::string counted(size_t count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string pendingChanges(const ChangeSet& changes) {
  return counted(changes.objects().size(), "changed object") + ", " +
         counted(changes.removedValues().size(), "removed value") + ", " +
         counted(changes.links().size(), "changed link") + " and " +
         counted(changes.types().size(), "changed type");
}

}  // namespace

StoreFile::StoreFile(StoreFolder files, std::unique_ptr<ProjectLock> lock, Database db)
    : files_(std::move(files)), lock_(std::move(lock)), db_(std::move(db)) {}

StoreFile::~StoreFile() {
  close();
}

// ---- opening ---------------------------------------------------------------------

// EXCLUSIVE locking keeps other processes out for good and keeps the log's
// index in memory instead of a shared-memory file; NORMAL sync survives a
// process crash.
bool StoreFile::configureWriter(Database& db) {
  const char* settings =
      "PRAGMA locking_mode = EXCLUSIVE; PRAGMA synchronous = NORMAL;"
      "PRAGMA cache_size = -32768;";
  return db.exec(settings);
}

// Takes the write lock at once, so that another process holding the file is
// found now, not at the first commit.
bool StoreFile::connect() {
  errno = 0;
  if (!configureWriter(db_)) return false;
  // Our own commit hook replaces SQLite's automatic checkpoints: the log is
  // folded at idle moments, on SaveRequest, at close, and when it outgrows
  // its limit.
  sqlite3_wal_hook(db_.handle(), countLogFrames, &logFrames_);
  Statement journal(db_.handle(), "PRAGMA journal_mode = WAL");
  if (!journal.valid() || journal.step() != SQLITE_ROW || journal.text(0) != "wal") return false;
  journal = Statement();
  int64_t pageSize = db_.pragmaInteger("PRAGMA page_size");
  if (pageSize <= 0) return false;
  pageSize_ = static_cast<uint32_t>(pageSize);
  return db_.exec("BEGIN IMMEDIATE") && db_.exec("COMMIT");
}

bool StoreFile::createSchema(Database& db) {
  std::string sql = "BEGIN;";
  sql += "PRAGMA application_id = " + std::to_string(schema::kApplicationId) + ";";
  sql += schema::kCreateTables;
  sql += "INSERT INTO meta VALUES ('format', " + std::to_string(schema::kFormatVersion) + ");";
  sql += "INSERT INTO meta VALUES ('next_id', 1);";
  sql += "INSERT INTO meta VALUES ('link_seq', 1);";
  sql += "COMMIT;";
  return db.exec(sql.c_str());
}

std::unique_ptr<StoreFile> StoreFile::create(const std::string& folder) {
  using Result = std::unique_ptr<StoreFile>;
  StoreFolder files(folder);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return refuse<Result>("cannot create folder " + folder + ": " + error.message());
  if (pathExists(files.store))
    return refuse<Result>("the folder " + folder + " holds a store already");
  if (!checkFolderWritable(folder)) return nullptr;
  auto lock = ProjectLock::acquire(files.lock);
  if (!lock) return nullptr;
  Database db;
  std::string message;
  if (!db.open(files.store, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
               message)) {
    lock->discardIfMade();
    return refuse<Result>("cannot create the store: " + message);
  }
  Result file(new StoreFile(files, std::move(lock), std::move(db)));
  bool made = file->connect() && createSchema(file->db_) && file->foldLog() && file->startLog() &&
              file->prepareStatements();
  if (!made) {
    message = file->db_.message();
    file->db_.close();
    for (const std::string& path : {files.store, files.log, files.journal}) fs::remove(path, error);
    file->lock_->discardIfMade();
    return refuse<Result>("cannot create the store: " + message);
  }
  file->persistedNextId_ = 1;
  file->persistedLinkSeq_ = 1;
  file->opened_ = true;
  return file;
}

std::unique_ptr<StoreFile> StoreFile::open(const std::string& folder, Store& store) {
  using Result = std::unique_ptr<StoreFile>;
  StoreFolder files(folder);
  std::optional<StoreHeader> header = checkStoreFile(files);
  if (!header) return nullptr;
  auto lock = ProjectLock::acquire(files.lock);
  if (!lock) return nullptr;
  auto refused = [&lock] {
    lock->discardIfMade();
    return Result();
  };
  if (!checkNoJournal(files)) return refused();
  std::optional<LogContents> log = readLogOf(files);
  if (!log) return refused();
  // Without a log to recover, the file alone is the store and is checked
  // untouched; with one, the file may be half folded (a crash during a fold),
  // and only the file with the log is the store: checked once the log is
  // known to be the store's own.
  bool recovering = log->committedFrames > 0;
  if (!recovering && !checkIdentityUntouched(files.store)) return refused();
  if (!logBelongsToStore(files, *log, lock->record(), *header)) return refused();
  Database db;
  std::string message;
  if (!db.open(files.store, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, message)) {
    refuse<bool>("cannot open the store for writing: " + message);
    return refused();
  }
  // Until the store has loaded, closing must not fold the log into the file.
  sqlite3_db_config(db.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, recovering ? 1 : 0, nullptr);
  Result file(new StoreFile(files, std::move(lock), std::move(db)));
  if (!file->connect()) {
    if (file->db_.errorCode() == SQLITE_BUSY) {
      refuse<bool>("the store is open in another process");
    } else {
      refuse<bool>("cannot open the store for writing: " + failureOf(file->db_));
    }
    file->close();
    return nullptr;
  }
  if ((recovering && !checkStoreIdentity(file->db_)) || !loadStore(file->db_, store)) {
    file->close();
    return nullptr;
  }
  sqlite3_db_config(file->db_.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
  file->logFrames_ = log->committedFrames;
  if (!file->foldLog() || !file->startLog() || !file->prepareStatements()) {
    refuse<bool>("cannot prepare the store: " + failureOf(file->db_));
    file->close();
    return nullptr;
  }
  file->persistedNextId_ = store.ids().next();
  file->persistedLinkSeq_ = store.nextLinkSeq();
  file->opened_ = true;
  return file;
}

void StoreFile::close() {
  if (!db_.handle()) return;
  if (opened_) foldLog();
  sql_ = Statements();
  db_.close();
  // A log left behind (it could not be folded) stays the open holder's.
  if (opened_ && !pathExists(files_.log)) {
    lock_->writeRecord(HolderRecord{false, token_, 0});
  } else if (!opened_) {
    lock_->discardIfMade();
  }
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
  sql_.upsertValue = Statement(db, "INSERT OR REPLACE INTO vals VALUES (?, ?, ?)");
  sql_.deleteValue = Statement(db, "DELETE FROM vals WHERE obj = ? AND attr = ?");
  sql_.upsertLink = Statement(db, "INSERT OR REPLACE INTO links VALUES (?, ?, ?, ?)");
  sql_.deleteLink =
      Statement(db, "DELETE FROM links WHERE obj = ? AND link_type = ? AND partner = ?");
  sql_.upsertMeta = Statement(db, "INSERT OR REPLACE INTO meta VALUES (?, ?)");
  for (Statement* statement :
       {&sql_.upsertPackage, &sql_.upsertClass, &sql_.upsertAttribute, &sql_.upsertLinkType,
        &sql_.deletePackage, &sql_.deleteClass, &sql_.deleteAttribute, &sql_.deleteLinkType,
        &sql_.upsertObject, &sql_.deleteObject, &sql_.deleteObjectValues, &sql_.upsertValue,
        &sql_.deleteValue, &sql_.upsertLink, &sql_.deleteLink, &sql_.upsertMeta}) {
    if (!statement->valid()) return false;
  }
  return true;
}

// ---- the log ---------------------------------------------------------------------

bool StoreFile::foldLog() {
  if (logFrames_ == 0) return true;
  errno = 0;
  Statement fold(db_.handle(), "PRAGMA wal_checkpoint(TRUNCATE)");
  bool folded = fold.valid() && fold.step() == SQLITE_ROW && fold.integer(0) == 0;
  if (!folded)
    return refuse<bool>("the store's log could not be folded into it: " + failureOf(db_));
  logFrames_ = 0;
  stampFrames_ = 0;
  return true;
}

// A new log gets a token of its own, recorded (and synced) before the log's
// first transaction writes it into the file header: a log written before the
// last fold, or by another store, carries another token.
bool StoreFile::startLog() {
  int64_t base = db_.pragmaInteger("PRAGMA user_version");
  if (base == -1 && db_.errorCode() != SQLITE_OK) return false;
  HolderRecord record{true, randomToken(), static_cast<uint32_t>(base)};
  if (!lock_->writeRecord(record)) return false;
  token_ = record.token;
  tokenPending_ = true;
  stampLog();
  return true;
}

// The first transaction of a log writes the log's header and syncs it; made
// here, at an idle moment, it spares the next commit that sync. When it
// fails (a full disk) the next commit stamps the token.
void StoreFile::stampLog() {
  std::string stamp =
      "BEGIN IMMEDIATE; PRAGMA user_version = " + std::to_string(static_cast<int32_t>(token_)) +
      "; COMMIT;";
  if (!db_.exec(stamp.c_str())) {
    db_.exec("ROLLBACK");
    return;
  }
  tokenPending_ = false;
  stampFrames_ = logFrames_;
}

bool StoreFile::checkpoint() {
  return logFrames_ <= stampFrames_ || (foldLog() && startLog());
}

// ---- writing ---------------------------------------------------------------------

bool StoreFile::refuseWrite(const Store& store) {
  std::string reason = failureOf(db_);
  db_.exec("ROLLBACK");
  return refuse<bool>("the commit was not saved: " + pendingChanges(store.changes()) +
                      " stay unsaved, and the store file holds the last commit that succeeded (" +
                      reason + ")");
}

bool StoreFile::write(Store& store, bool durable) {
  errno = 0;
  if (durable && !db_.exec("PRAGMA synchronous = FULL")) return refuseWrite(store);
  int64_t rowsBefore = sqlite3_total_changes64(db_.handle());
  uint32_t framesBefore = logFrames_;
  bool written = db_.exec("BEGIN IMMEDIATE") && writeChanges(store) && db_.exec("COMMIT");
  if (!written) {
    refuseWrite(store);
    if (durable) db_.exec("PRAGMA synchronous = NORMAL");
    return false;
  }
  lastWriteRows_ = sqlite3_total_changes64(db_.handle()) - rowsBefore;
  uint32_t framesWritten = logFrames_ > framesBefore ? logFrames_ - framesBefore : 0;
  lastWriteBytes_ = int64_t{framesWritten} * (pageSize_ + kFrameHeaderSize);
  tokenPending_ = false;
  persistedNextId_ = store.ids().next();
  persistedLinkSeq_ = store.nextLinkSeq();
  store.changes().clear();
  if (!durable) {
    // Committed either way; a log that cannot be folded now is folded later,
    // and the commit reports no failure.
    if (logFrames_ >= kLogFramesLimit) {
      std::string message = lastError();
      if (!checkpoint()) setLastError(message);
    }
    return true;
  }
  bool synced = checkpoint();
  bool restored = db_.exec("PRAGMA synchronous = NORMAL");
  return (synced && restored) || refuse<bool>("the store could not be synced: " + failureOf(db_));
}

bool StoreFile::writeChanges(const Store& store) {
  if (tokenPending_) {
    std::string stamp = "PRAGMA user_version = " + std::to_string(static_cast<int32_t>(token_));
    if (!db_.exec(stamp.c_str())) return false;
  }
  const ChangeSet& changes = store.changes();
  for (RepId type : changes.types()) {
    if (!writeType(store.metamodel(), type)) return false;
  }
  for (RepId object : changes.objects()) {
    if (!writeObject(store, object, changes.markOf(object))) return false;
  }
  return writeRemovedValues(store) && writeLinks(changes) && writeCounters(store);
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

// A deleted object's links are in the link changes.
bool StoreFile::writeObject(const Store& store, RepId id, uint8_t flags) {
  const ObjectRec* rec = store.object(id);
  if (!rec) {
    return sql_.deleteObject.bind(1, int64_t{id}).run() &&
           sql_.deleteObjectValues.bind(1, int64_t{id}).run();
  }
  if ((flags & ChangeSet::kRow) &&
      !sql_.upsertObject.bind(1, int64_t{id}).bind(2, int64_t{rec->classId}).run()) {
    return false;
  }
  return !(flags & ChangeSet::kValues) || writeObjectValues(id, store.values(id));
}

bool StoreFile::writeObjectValues(RepId id, const ValueList& values) {
  for (const Value& value : values) {
    if (!sql_.upsertValue.bind(1, int64_t{id})
             .bind(2, int64_t{value.attr})
             .bind(3, value.text)
             .run()) {
      return false;
    }
  }
  return true;
}

// A removal may have been undone since: only values still unset go.
bool StoreFile::writeRemovedValues(const Store& store) {
  for (uint64_t key : store.changes().removedValues()) {
    RepId object = firstOf(key);
    RepId attr = secondOf(key);
    if (store.value(object, attr)) continue;
    if (!sql_.deleteValue.bind(1, int64_t{object}).bind(2, int64_t{attr}).run()) return false;
  }
  return true;
}

bool StoreFile::writeLinks(const ChangeSet& changes) {
  for (const LinkChange& link : changes.links().sorted()) {
    Statement& statement = link.seq == 0 ? sql_.deleteLink : sql_.upsertLink;
    statement.bind(1, int64_t{link.from}).bind(2, int64_t{link.linkType}).bind(3, int64_t{link.to});
    if (link.seq != 0) statement.bind(4, static_cast<int64_t>(link.seq));
    if (!statement.run()) return false;
  }
  return true;
}

bool StoreFile::writeMeta(const char* key, int64_t value) {
  return sql_.upsertMeta.bind(1, std::string_view(key)).bind(2, value).run();
}

bool StoreFile::writeCounters(const Store& store) {
  if (store.ids().next() != persistedNextId_ && !writeMeta("next_id", store.ids().next()))
    return false;
  return store.nextLinkSeq() == persistedLinkSeq_ ||
         writeMeta("link_seq", static_cast<int64_t>(store.nextLinkSeq()));
}

}  // namespace rep
