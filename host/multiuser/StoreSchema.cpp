#include "host/multiuser/StoreSchema.h"

namespace grhost::shared {

std::vector<std::string> schemaStatements(SqlDialect dialect) {
  const std::string bigint = dialect == SqlDialect::Postgres ? "BIGINT" : "INTEGER";
  return {
      "CREATE TABLE IF NOT EXISTS grtool_store (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
      "CREATE TABLE IF NOT EXISTS areas (id TEXT PRIMARY KEY, revision " + bigint +
          " NOT NULL, content TEXT NOT NULL)",
      "CREATE TABLE IF NOT EXISTS revisions (area TEXT NOT NULL REFERENCES areas (id), revision " +
          bigint + " NOT NULL, content TEXT NOT NULL, author TEXT NOT NULL, committed_at " +
          bigint + " NOT NULL, PRIMARY KEY (area, revision))",
      "CREATE TABLE IF NOT EXISTS locks (area TEXT PRIMARY KEY REFERENCES areas (id), holder TEXT "
      "NOT NULL, token TEXT NOT NULL UNIQUE, expires_at " +
          bigint + " NOT NULL)",
      std::string("INSERT INTO grtool_store (key, value) VALUES ('format', '") + kStoreFormat +
          "') ON CONFLICT (key) DO NOTHING",
  };
}

}  // namespace grhost::shared
