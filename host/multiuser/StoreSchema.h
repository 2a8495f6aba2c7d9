// The tables of a shared store, the same on both back ends: a format mark,
// the areas with their current text and revision, every committed revision,
// and the locks (one per area at most, with its holder, token and the end of
// its lease in milliseconds since the epoch).
#pragma once

#include <string>
#include <vector>

namespace grhost::shared {

inline constexpr const char* kStoreFormat = "grtool shared areas 1";

enum class SqlDialect { Sqlite, Postgres };

std::vector<std::string> schemaStatements(SqlDialect dialect);

}  // namespace grhost::shared
