// The multi-user engine: the host's side of the library's shared-area calls.
// It keeps the diagrams of a converted project in a shared store (a folder
// with one SQLite database, or PostgreSQL), fetches them read-only or under
// a lock of this user, writes them back, and renews the leases of the locks
// it holds while the process lives.
//
// What it remembers of each area it fetched (the revision and the token of
// the lock it holds) lives in the project as a SharedAreaCopy, so a lock
// taken in one run of the host can be committed in a later one: at the
// start of a run the engine takes its locks up again, unless someone else
// has taken one meanwhile (the lease had run out), in which case the commit
// of that diagram is refused.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/base/MessageLog.h"
#include "host/multiuser/AreaCodec.h"
#include "host/multiuser/LeaseRenewal.h"
#include "host/multiuser/SharedStore.h"

namespace grhost::shared {

// Long enough to outlive a short break between two runs of the host; a
// crashed member's lock is free after it.
inline constexpr Lease kDefaultLease{std::chrono::seconds(60)};

struct SharedOptions {
  std::string location;  // a folder or a postgresql:// address
  std::string user;      // "" : the login name
  Lease lease = kDefaultLease;
};

// The user name a process acts as: NAME, else the login name.
std::string userName(const std::string& name);

class MultiUserEngine {
 public:
  explicit MultiUserEngine(MessageLog& log);
  ~MultiUserEngine();
  MultiUserEngine(const MultiUserEngine&) = delete;
  MultiUserEngine& operator=(const MultiUserEngine&) = delete;

  // Opens the store (CREATE: make one in an empty folder or database).
  // Throws SharedStoreError.
  void connect(const SharedOptions& options, bool create);
  bool connected() const { return store_ != nullptr; }
  const std::string& user() const { return user_; }
  std::string location() const;

  // Renews the leases of the locks this project held when it was closed.
  void resumeLocks();

  // ---- the library's calls
  bool createArea(const std::string& remoteId, bool flag, RepId diagram, const AreaExtent& extent);
  bool importArea(const std::string& remoteId, bool readOnly, std::string& lockedBy);
  bool exportArea(const std::string& remoteId);
  std::string generateId();

  // A conversion's areas are written together when its transformation ends:
  // every area or none.
  void transformationEnded();
  // Whether writing a conversion's areas failed since the engine started.
  bool conversionFailed() const { return conversionFailed_; }
  // Whether a commit has published the project's changes to others since
  // the last call: what was published can not be taken back by an undo.
  bool takePublished() { return std::exchange(published_, false); }

 private:
  struct PendingArea {
    std::string id;
    std::string text;
    RepId diagram;
  };
  bool refuse(const std::string& why);
  void adoptIntoPendingParents(const std::string& remoteId, RepId diagram);
  bool apply(const std::string& remoteId, const std::string& text);
  void remember(const std::string& remoteId, int64_t revision, const std::string& token);

  MessageLog& log_;
  std::unique_ptr<SharedStore> store_;
  bool published_ = false;
  std::unique_ptr<LeaseRenewal> renewal_;
  const AreaCodec& codec_;
  std::string user_;
  Lease lease_ = kDefaultLease;
  std::vector<PendingArea> pending_;
  bool conversionFailed_ = false;
};

}  // namespace grhost::shared
