// The embedded back end: a folder holding one SQLite database of shared
// areas (WAL, a busy timeout), which several processes on one machine, or
// on machines sharing the folder, use at once. Lease times are this
// machine's clock.
#pragma once

#include <filesystem>
#include <memory>

#include "host/multiuser/SharedStore.h"

namespace grhost::shared {

// The database file inside a shared folder.
inline constexpr const char* kSharedDatabaseName = "grtool-shared.db";

std::unique_ptr<SharedStore> openSqliteStore(const std::filesystem::path& folder, bool create);

}  // namespace grhost::shared
