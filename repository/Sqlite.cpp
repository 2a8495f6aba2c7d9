#include "repository/Sqlite.h"

namespace rep {

Statement::Statement(sqlite3* db, const char* sql) {
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = other.stmt_;
    other.stmt_ = nullptr;
  }
  return *this;
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int index, int64_t value) {
  sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  return *this;
}

Statement& Statement::bindBlob(int index, const void* data, size_t size) {
  sqlite3_bind_blob64(stmt_, index, data, size, SQLITE_TRANSIENT);
  return *this;
}

bool Statement::run() {
  int code = sqlite3_step(stmt_);
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  return code == SQLITE_DONE || code == SQLITE_ROW;
}

std::string_view Statement::text(int column) {
  const auto* data = sqlite3_column_text(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  return data ? std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(size))
              : std::string_view();
}

std::string_view Statement::blob(int column) {
  const void* data = sqlite3_column_blob(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  return data ? std::string_view(static_cast<const char*>(data), static_cast<size_t>(size))
              : std::string_view();
}

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    close();
    db_ = other.db_;
    other.db_ = nullptr;
  }
  return *this;
}

bool Database::open(const std::string& path, int flags, std::string& error) {
  close();
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) == SQLITE_OK) return true;
  error = db_ ? sqlite3_errmsg(db_) : "out of memory";
  close();
  return false;
}

void Database::close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool Database::exec(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

int64_t Database::pragmaInteger(const char* sql) {
  Statement statement(db_, sql);
  if (!statement.valid() || statement.step() != SQLITE_ROW) return -1;
  return statement.integer(0);
}

}  // namespace rep
