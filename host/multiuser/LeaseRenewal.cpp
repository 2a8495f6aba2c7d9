#include "host/multiuser/LeaseRenewal.h"

#include <vector>

namespace grhost::shared {

LeaseRenewal::LeaseRenewal(const SharedStore& store, Lease lease)
    : origin_(store), lease_(lease), thread_([this] { run(); }) {}

LeaseRenewal::~LeaseRenewal() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void LeaseRenewal::hold(const std::string& token) {
  std::lock_guard<std::mutex> guard(mutex_);
  tokens_.insert(token);
}

void LeaseRenewal::forget(const std::string& token) {
  std::lock_guard<std::mutex> guard(mutex_);
  tokens_.erase(token);
}

void LeaseRenewal::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!wake_.wait_for(lock, lease_ / 3, [this] { return stopping_; })) {
    if (tokens_.empty()) continue;
    lock.unlock();
    // A store that can not be reached now may be at the next turn; until
    // then the leases run down as a crashed client's would.
    try {
      if (!connection_) connection_ = origin_.reconnect();
      renewAll(*connection_);
    } catch (const SharedStoreError&) {
      connection_.reset();
    }
    lock.lock();
  }
}

void LeaseRenewal::renewAll(SharedStore& store) {
  std::vector<std::string> tokens;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    tokens.assign(tokens_.begin(), tokens_.end());
  }
  for (const std::string& token : tokens)
    if (!store.renewLock(token, lease_)) forget(token);
}

}  // namespace grhost::shared
