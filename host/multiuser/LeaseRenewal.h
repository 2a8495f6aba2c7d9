// Keeps the locks this process holds alive: a thread of its own, with its
// own connection to the store, extends their leases every third of a lease.
// A process that dies stops renewing, and its locks are free once their
// leases run out.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "host/multiuser/SharedStore.h"

namespace grhost::shared {

class LeaseRenewal {
 public:
  LeaseRenewal(const SharedStore& store, Lease lease);
  ~LeaseRenewal();
  LeaseRenewal(const LeaseRenewal&) = delete;
  LeaseRenewal& operator=(const LeaseRenewal&) = delete;

  void hold(const std::string& token);
  void forget(const std::string& token);

 private:
  void run();
  void renewAll(SharedStore& store);

  std::unique_ptr<SharedStore> connection_;
  const SharedStore& origin_;
  Lease lease_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::set<std::string> tokens_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace grhost::shared
