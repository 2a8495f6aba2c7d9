// Thin RAII wrappers over the SQLite C API.
#ifndef GR_REPOSITORY_SQLITE_H
#define GR_REPOSITORY_SQLITE_H

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace rep {

class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, const char* sql);
  Statement(Statement&& other) noexcept : stmt_(other.stmt_) { other.stmt_ = nullptr; }
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  bool valid() const { return stmt_ != nullptr; }
  Statement& bind(int index, int64_t value);
  Statement& bind(int index, std::string_view text);
  Statement& bindBlob(int index, const void* data, size_t size);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step() { return sqlite3_step(stmt_); }
  // Runs a statement that yields no rows and makes it ready for reuse.
  bool run();
  void reset() { sqlite3_reset(stmt_); }

  int64_t integer(int column) { return sqlite3_column_int64(stmt_, column); }
  std::string_view text(int column);
  std::string_view blob(int column);

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
 public:
  Database() = default;
  Database(Database&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
  Database& operator=(Database&& other) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database() { close(); }

  // False with the reason in ERROR.
  bool open(const std::string& path, int flags, std::string& error);
  void close();
  sqlite3* handle() const { return db_; }
  bool exec(const char* sql);
  // The value of a pragma that yields one integer; -1 on failure.
  int64_t pragmaInteger(const char* sql);
  std::string message() const { return db_ ? sqlite3_errmsg(db_) : "no database"; }
  int errorCode() const { return db_ ? sqlite3_errcode(db_) : SQLITE_MISUSE; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace rep

#endif
