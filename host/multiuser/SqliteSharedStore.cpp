#include "host/multiuser/SqliteSharedStore.h"

#include <sqlite3.h>

#include <chrono>
#include <system_error>

#include "host/multiuser/StoreSchema.h"

namespace grhost::shared {
namespace {

namespace fs = std::filesystem;

// Long enough for eight writers taking turns on a slow disk.
constexpr int kBusyTimeoutMs = 20000;

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
      throw SharedStoreError(std::string("The shared store refused a statement: ") +
                             sqlite3_errmsg(db));
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int index, const std::string& text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
    return *this;
  }
  Statement& bind(int index, int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
    return *this;
  }
  // True while there is a row.
  bool step() {
    int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    throw SharedStoreError(std::string("The shared store failed: ") + sqlite3_errmsg(db_));
  }
  std::string text(int column) const {
    const unsigned char* value = sqlite3_column_text(statement_, column);
    return value ? std::string(reinterpret_cast<const char*>(value),
                               static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                 : std::string();
  }
  int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

// BEGIN IMMEDIATE: the writer's lock is taken at the start, so two lockers
// never both read a free lock.
class WriteTransaction {
 public:
  explicit WriteTransaction(sqlite3* db) : db_(db) { run("BEGIN IMMEDIATE"); }
  ~WriteTransaction() {
    if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;
  void commit() {
    run("COMMIT");
    done_ = true;
  }

 private:
  void run(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
      std::string text = error ? error : "unknown error";
      sqlite3_free(error);
      throw SharedStoreError("The shared store failed: " + text);
    }
  }
  sqlite3* db_;
  bool done_ = false;
};

void execute(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string text = error ? error : "unknown error";
    sqlite3_free(error);
    throw SharedStoreError("The shared store failed: " + text);
  }
}

bool folderIsEmpty(const fs::path& folder) {
  std::error_code ec;
  return fs::is_empty(folder, ec) && !ec;
}

class SqliteSharedStore : public SharedStore {
 public:
  SqliteSharedStore(const fs::path& folder, bool create) : folder_(folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
      throw SharedStoreError("The shared location " + folder.string() +
                             " does not exist or is no folder.");
    fs::path file = folder / kSharedDatabaseName;
    bool exists = fs::exists(file, ec);
    if (!exists && !(create && folderIsEmpty(folder)))
      throw SharedStoreError("The shared location " + folder.string() + " is not a shared store" +
                             (create ? " and not an empty folder." : "."));
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX | (exists ? 0 : SQLITE_OPEN_CREATE);
    if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
      std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw SharedStoreError("The shared store " + file.string() + " can not be opened: " + why);
    }
    try {
      sqlite3_busy_timeout(db_, kBusyTimeoutMs);
      if (!exists) initialise();
      checkFormat(file);
      execute(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;");
    } catch (...) {
      sqlite3_close(db_);
      throw;
    }
  }
  ~SqliteSharedStore() override { sqlite3_close(db_); }
  SqliteSharedStore(const SqliteSharedStore&) = delete;
  SqliteSharedStore& operator=(const SqliteSharedStore&) = delete;

  std::string location() const override { return folder_.string(); }
  std::unique_ptr<SharedStore> reconnect() const override {
    return std::make_unique<SqliteSharedStore>(folder_, false);
  }

  bool createAreas(const std::vector<NewArea>& areas, const std::string& author) override {
    WriteTransaction transaction(db_);
    int64_t now = nowMs();
    for (const NewArea& area : areas) {
      Statement taken(db_, "SELECT 1 FROM areas WHERE id = ?");
      if (taken.bind(1, area.id).step()) return false;
      Statement insert(db_, "INSERT INTO areas (id, revision, content) VALUES (?, 1, ?)");
      insert.bind(1, area.id).bind(2, area.text).step();
      addRevision(area.id, 1, area.text, author, now);
    }
    transaction.commit();
    return true;
  }

  std::optional<AreaText> readArea(const std::string& id) override {
    Statement read(db_, "SELECT content, revision FROM areas WHERE id = ?");
    if (!read.bind(1, id).step()) return std::nullopt;
    return AreaText{read.text(0), read.integer(1)};
  }

  LockOutcome lockArea(const std::string& id, const std::string& user,
                       const std::string& currentToken, Lease lease) override {
    WriteTransaction transaction(db_);
    LockOutcome outcome;
    std::optional<AreaText> area = readArea(id);
    if (!area) {
      outcome.areaExists = false;
      return outcome;
    }
    int64_t now = nowMs();
    Statement held(db_,
                   "SELECT holder FROM locks WHERE area = ? AND expires_at > ? AND token <> ?");
    if (held.bind(1, id).bind(2, now).bind(3, currentToken).step()) {
      outcome.holder = held.text(0);
      return outcome;
    }
    outcome.token = randomHex128();
    Statement take(db_,
                   "INSERT OR REPLACE INTO locks (area, holder, token, expires_at) "
                   "VALUES (?, ?, ?, ?)");
    take.bind(1, id).bind(2, user).bind(3, outcome.token).bind(4, now + lease.count()).step();
    transaction.commit();
    outcome.taken = true;
    outcome.area = *area;
    return outcome;
  }

  CommitResult commitArea(const std::string& id, const std::string& token, const std::string& text,
                          const std::string& author) override {
    WriteTransaction transaction(db_);
    CommitResult result;
    std::optional<AreaText> area = readArea(id);
    if (!area) return result;
    Statement lock(db_, "SELECT token, holder, expires_at FROM locks WHERE area = ?");
    bool locked = lock.bind(1, id).step();
    if (!locked || lock.text(0) != token) {
      result.outcome = CommitOutcome::LockLost;
      if (locked && lock.integer(2) > nowMs()) result.holder = lock.text(1);
      return result;
    }
    result.revision = area->revision + 1;
    Statement update(db_, "UPDATE areas SET revision = ?, content = ? WHERE id = ?");
    update.bind(1, result.revision).bind(2, text).bind(3, id).step();
    addRevision(id, result.revision, text, author, nowMs());
    Statement release(db_, "DELETE FROM locks WHERE area = ?");
    release.bind(1, id).step();
    transaction.commit();
    result.outcome = CommitOutcome::Committed;
    return result;
  }

  void releaseLock(const std::string& id, const std::string& token) override {
    WriteTransaction transaction(db_);
    Statement release(db_, "DELETE FROM locks WHERE area = ? AND token = ?");
    release.bind(1, id).bind(2, token).step();
    transaction.commit();
  }

  bool renewLock(const std::string& token, Lease lease) override {
    WriteTransaction transaction(db_);
    Statement renew(db_, "UPDATE locks SET expires_at = ? WHERE token = ?");
    renew.bind(1, nowMs() + lease.count()).bind(2, token).step();
    bool renewed = sqlite3_changes(db_) > 0;
    transaction.commit();
    return renewed;
  }

 private:
  void initialise() {
    WriteTransaction transaction(db_);
    for (const std::string& statement : schemaStatements(SqlDialect::Sqlite))
      execute(db_, statement);
    transaction.commit();
  }

  void checkFormat(const fs::path& file) {
    try {
      Statement format(db_, "SELECT value FROM grtool_store WHERE key = 'format'");
      if (format.step() && format.text(0) == kStoreFormat) return;
    } catch (const SharedStoreError&) {
    }
    throw SharedStoreError("The shared location " + folder_.string() + " is not a shared store (" +
                           file.filename().string() + " holds no shared areas).");
  }

  void addRevision(const std::string& id, int64_t revision, const std::string& text,
                   const std::string& author, int64_t at) {
    Statement insert(db_,
                     "INSERT INTO revisions (area, revision, content, author, committed_at) "
                     "VALUES (?, ?, ?, ?, ?)");
    insert.bind(1, id).bind(2, revision).bind(3, text).bind(4, author).bind(5, at).step();
  }

  fs::path folder_;
  sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<SharedStore> openSqliteStore(const fs::path& folder, bool create) {
  return std::make_unique<SqliteSharedStore>(folder, create);
}

}  // namespace grhost::shared
