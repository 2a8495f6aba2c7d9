#include "host/multiuser/SharedStore.h"

#include <cstdio>
#include <random>

#include "host/multiuser/PostgresSharedStore.h"
#include "host/multiuser/SqliteSharedStore.h"

namespace grhost::shared {

std::unique_ptr<SharedStore> openSharedStore(const std::string& location, bool create) {
  if (location.empty()) throw SharedStoreError("No shared location is named.");
  if (isPostgresAddress(location)) return openPostgresStore(location, create);
  return openSqliteStore(location, create);
}

std::string randomHex128() {
  static thread_local std::random_device device;
  std::string hex;
  for (int word = 0; word < 4; ++word) {
    char part[9];
    std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(device()));
    hex += part;
  }
  return hex;
}

}  // namespace grhost::shared
