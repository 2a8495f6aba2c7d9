#include "host/multiuser/PostgresSharedStore.h"

#include <libpq-fe.h>

#include <vector>

#include "host/multiuser/StoreSchema.h"

namespace grhost::shared {
namespace {

const char* const kNowMs = "(extract(epoch from clock_timestamp()) * 1000)::bigint";

std::string firstLine(const char* text) {
  std::string line = text ? text : "";
  std::size_t end = line.find('\n');
  return end == std::string::npos ? line : line.substr(0, end);
}

class Result {
 public:
  explicit Result(PGresult* result) : result_(result) {}
  ~Result() { PQclear(result_); }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  int rows() const { return PQntuples(result_); }
  std::string text(int row, int column) const {
    return std::string(PQgetvalue(result_, row, column),
                       static_cast<std::size_t>(PQgetlength(result_, row, column)));
  }
  int64_t integer(int row, int column) const { return std::stoll(text(row, column)); }
  bool isNull(int row, int column) const { return PQgetisnull(result_, row, column) != 0; }
  std::string affected() const { return PQcmdTuples(result_); }

 private:
  PGresult* result_;
};

class PostgresSharedStore : public SharedStore {
 public:
  PostgresSharedStore(const std::string& address, bool create) : address_(address) {
    const char* keywords[] = {"connect_timeout", "application_name", "dbname", nullptr};
    const char* values[] = {"10", "grtool", address.c_str(), nullptr};
    connection_ = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(connection_) != CONNECTION_OK) {
      std::string why = firstLine(PQerrorMessage(connection_));
      PQfinish(connection_);
      throw SharedStoreError("The shared store at " + location() + " can not be reached: " + why);
    }
    try {
      run("SET client_min_messages = warning");
      if (create) initialise();
      checkFormat();
    } catch (...) {
      PQfinish(connection_);
      throw;
    }
  }
  ~PostgresSharedStore() override { PQfinish(connection_); }
  PostgresSharedStore(const PostgresSharedStore&) = delete;
  PostgresSharedStore& operator=(const PostgresSharedStore&) = delete;

  std::string location() const override { return withoutPassword(address_); }
  std::unique_ptr<SharedStore> reconnect() const override {
    return std::make_unique<PostgresSharedStore>(address_, false);
  }

  bool createAreas(const std::vector<NewArea>& areas, const std::string& author) override {
    Transaction transaction(*this);
    for (const NewArea& area : areas) {
      if (run("SELECT 1 FROM areas WHERE id = $1", {area.id})->rows() > 0) return false;
      run("INSERT INTO areas (id, revision, content) VALUES ($1, 1, $2)", {area.id, area.text});
      addRevision(area.id, "1", area.text, author);
    }
    transaction.commit();
    return true;
  }

  std::optional<AreaText> readArea(const std::string& id) override {
    auto read = run("SELECT content, revision FROM areas WHERE id = $1", {id});
    if (read->rows() == 0) return std::nullopt;
    return AreaText{read->text(0, 0), read->integer(0, 1)};
  }

  LockOutcome lockArea(const std::string& id, const std::string& user,
                       const std::string& currentToken, Lease lease) override {
    Transaction transaction(*this);
    LockOutcome outcome;
    auto area = run("SELECT content, revision FROM areas WHERE id = $1 FOR UPDATE", {id});
    if (area->rows() == 0) {
      outcome.areaExists = false;
      return outcome;
    }
    auto held = run(std::string("SELECT holder FROM locks WHERE area = $1 AND token <> $2 AND "
                                "expires_at > ") +
                        kNowMs,
                    {id, currentToken});
    if (held->rows() > 0) {
      outcome.holder = held->text(0, 0);
      return outcome;
    }
    outcome.token = randomHex128();
    run(std::string("INSERT INTO locks (area, holder, token, expires_at) VALUES ($1, $2, $3, ") +
            kNowMs + " + $4) ON CONFLICT (area) DO UPDATE SET holder = EXCLUDED.holder, " +
            "token = EXCLUDED.token, expires_at = EXCLUDED.expires_at",
        {id, user, outcome.token, std::to_string(lease.count())});
    transaction.commit();
    outcome.taken = true;
    outcome.area = AreaText{area->text(0, 0), area->integer(0, 1)};
    return outcome;
  }

  CommitResult commitArea(const std::string& id, const std::string& token, const std::string& text,
                          const std::string& author) override {
    Transaction transaction(*this);
    CommitResult result;
    auto area = run("SELECT revision FROM areas WHERE id = $1 FOR UPDATE", {id});
    if (area->rows() == 0) return result;
    auto lock = run(
        std::string("SELECT token, holder, expires_at > ") + kNowMs + " FROM locks WHERE area = $1",
        {id});
    if (lock->rows() == 0 || lock->text(0, 0) != token) {
      result.outcome = CommitOutcome::LockLost;
      if (lock->rows() > 0 && lock->text(0, 2) == "t") result.holder = lock->text(0, 1);
      return result;
    }
    result.revision = area->integer(0, 0) + 1;
    std::string revision = std::to_string(result.revision);
    run("UPDATE areas SET revision = $1, content = $2 WHERE id = $3", {revision, text, id});
    addRevision(id, revision, text, author);
    run("DELETE FROM locks WHERE area = $1", {id});
    transaction.commit();
    result.outcome = CommitOutcome::Committed;
    return result;
  }

  void releaseLock(const std::string& id, const std::string& token) override {
    run("DELETE FROM locks WHERE area = $1 AND token = $2", {id, token});
  }

  bool renewLock(const std::string& token, Lease lease) override {
    auto renewed =
        run(std::string("UPDATE locks SET expires_at = ") + kNowMs + " + $1 WHERE token = $2",
            {std::to_string(lease.count()), token});
    return renewed->affected() != "0";
  }

 private:
  class Transaction {
   public:
    explicit Transaction(PostgresSharedStore& store) : store_(store) { store_.run("BEGIN"); }
    ~Transaction() {
      if (!done_) PQclear(PQexec(store_.connection_, "ROLLBACK"));
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
      store_.run("COMMIT");
      done_ = true;
    }

   private:
    PostgresSharedStore& store_;
    bool done_ = false;
  };

  // A connection the server or the network dropped is made anew once
  // before a statement that starts a transaction; inside one it fails.
  void reconnectIfBroken() {
    if (PQstatus(connection_) == CONNECTION_OK) return;
    PQreset(connection_);
    if (PQstatus(connection_) != CONNECTION_OK)
      throw SharedStoreError("The shared store at " + location() +
                             " can not be reached: " + firstLine(PQerrorMessage(connection_)));
  }

  std::unique_ptr<Result> run(const std::string& sql, const std::vector<std::string>& params = {}) {
    if (PQtransactionStatus(connection_) == PQTRANS_IDLE ||
        PQtransactionStatus(connection_) == PQTRANS_UNKNOWN)
      reconnectIfBroken();
    std::vector<const char*> values;
    for (const std::string& param : params) values.push_back(param.c_str());
    PGresult* raw = PQexecParams(connection_, sql.c_str(), static_cast<int>(values.size()), nullptr,
                                 values.data(), nullptr, nullptr, 0);
    auto result = std::make_unique<Result>(raw);
    ExecStatusType status = PQresultStatus(raw);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
      throw SharedStoreError("The shared store at " + location() +
                             " failed: " + firstLine(PQerrorMessage(connection_)));
    return result;
  }

  void initialise() {
    Transaction transaction(*this);
    // Two members making the store at once wait for each other here.
    run("SELECT pg_advisory_xact_lock(7420571)");
    for (const std::string& statement : schemaStatements(SqlDialect::Postgres)) run(statement);
    transaction.commit();
  }

  void checkFormat() {
    auto table = run("SELECT to_regclass('grtool_store') IS NOT NULL");
    bool known = table->rows() == 1 && table->text(0, 0) == "t" &&
                 run("SELECT value FROM grtool_store WHERE key = 'format'")->rows() == 1;
    if (!known)
      throw SharedStoreError("The shared location " + location() +
                             " is not a shared store (the database holds no shared areas).");
  }

  void addRevision(const std::string& id, const std::string& revision, const std::string& text,
                   const std::string& author) {
    run(std::string("INSERT INTO revisions (area, revision, content, author, committed_at) "
                    "VALUES ($1, $2, $3, $4, ") +
            kNowMs + ")",
        {id, revision, text, author});
  }

  std::string address_;
  PGconn* connection_ = nullptr;
};

}  // namespace

bool isPostgresAddress(const std::string& location) {
  return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

std::string withoutPassword(const std::string& address) {
  std::string result = address;
  std::size_t scheme = result.find("://");
  if (scheme != std::string::npos) {
    std::size_t start = scheme + 3;
    std::size_t at = result.find('@', start);
    std::size_t slash = result.find('/', start);
    if (at != std::string::npos && (slash == std::string::npos || at < slash)) {
      std::size_t colon = result.find(':', start);
      if (colon != std::string::npos && colon < at) result.erase(colon, at - colon);
    }
  }
  std::size_t password = result.find("password=");
  if (password != std::string::npos) {
    std::size_t end = result.find('&', password);
    result.erase(password, end == std::string::npos ? std::string::npos : end - password + 1);
    while (!result.empty() && (result.back() == '&' || result.back() == '?')) result.pop_back();
  }
  return result;
}

std::unique_ptr<SharedStore> openPostgresStore(const std::string& address, bool create) {
  return std::make_unique<PostgresSharedStore>(address, create);
}

}  // namespace grhost::shared
