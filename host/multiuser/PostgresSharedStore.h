// The team back end: a PostgreSQL database reached through libpq. Areas,
// revisions and locks are rows; a lock is taken in one transaction that
// holds the area's row, and leases run on the server's clock, so clients
// with clocks apart agree on when a lease ends.
#pragma once

#include <memory>
#include <string>

#include "host/multiuser/SharedStore.h"

namespace grhost::shared {

bool isPostgresAddress(const std::string& location);
// The address with any password taken out, fit to print and to keep.
std::string withoutPassword(const std::string& address);
std::unique_ptr<SharedStore> openPostgresStore(const std::string& address, bool create);

}  // namespace grhost::shared
