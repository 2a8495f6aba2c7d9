// Where a team's shared diagram areas live: one interface, two back ends.
// An area holds the text of one diagram subtree and its revision; every
// committed text stays as a row of the area's history. A lock on an area is
// held by a user name under a token and a lease: the holder's engine renews
// the lease; a lock whose lease ran out is free for the next locker, and the
// token tells the holder whether its lock is still the one in force.
//
// Every operation is one transaction of the store. Failures of the store
// itself (unreachable, not a shared store, a broken connection) throw
// SharedStoreError with a message meant for the user.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/base/HostError.h"

namespace grhost::shared {

class SharedStoreError : public HostError {
 public:
  using HostError::HostError;
};

using Lease = std::chrono::milliseconds;

struct AreaText {
  std::string text;
  int64_t revision = 0;
};

struct NewArea {
  std::string id;
  std::string text;
};

struct LockOutcome {
  bool taken = false;
  std::string holder;  // who holds it when it was not taken
  std::string token;   // the new lock's token when taken
  AreaText area;       // the area as it is under the new lock
  bool areaExists = true;
};

enum class CommitOutcome { Committed, NoArea, LockLost };

struct CommitResult {
  CommitOutcome outcome = CommitOutcome::NoArea;
  int64_t revision = 0;  // the new revision when committed
  std::string holder;    // who holds the lock now when it was lost ("" when nobody)
};

class SharedStore {
 public:
  virtual ~SharedStore() = default;

  // What the user named: a folder or a postgresql:// address (without a password).
  virtual std::string location() const = 0;
  // Another connection to the same store, for a thread of its own.
  virtual std::unique_ptr<SharedStore> reconnect() const = 0;

  // Adds the areas, all or none; false (and none added) when one of the ids
  // is taken.
  virtual bool createAreas(const std::vector<NewArea>& areas, const std::string& author) = 0;
  virtual std::optional<AreaText> readArea(const std::string& id) = 0;
  // Takes the lock for USER unless a live lock other than CURRENTTOKEN's
  // (the lock the caller may still hold) holds it.
  virtual LockOutcome lockArea(const std::string& id, const std::string& user,
                               const std::string& currentToken, Lease lease) = 0;
  // Writes TEXT as the next revision when TOKEN still holds the lock, and
  // releases the lock.
  virtual CommitResult commitArea(const std::string& id, const std::string& token,
                                  const std::string& text, const std::string& author) = 0;
  // Releases the lock when TOKEN holds it.
  virtual void releaseLock(const std::string& id, const std::string& token) = 0;
  // Extends the lease of the lock TOKEN holds; false when no lock has it any more.
  virtual bool renewLock(const std::string& token, Lease lease) = 0;
};

// Opens the store at LOCATION: a postgresql:// or postgres:// address, or a
// folder. With CREATE a folder or database that holds no store yet gets an
// empty one; without, it is refused as not a shared store.
std::unique_ptr<SharedStore> openSharedStore(const std::string& location, bool create);

// A fresh token or area id: 128 random bits in hex.
std::string randomHex128();

}  // namespace grhost::shared
