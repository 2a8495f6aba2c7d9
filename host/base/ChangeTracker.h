// The store's journal as the host reads it: every change made while the
// host runs, kept until each of its readers has seen it. A reader (the
// diagram engine's geometry, the gesture layer) asks for what changed since
// its own position, so that it touches only what changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "platform/repository.h"

namespace grhost {

class ChangeTracker {
 public:
  using Position = std::uint64_t;

  // Enables the store's journal for the tracker's life.
  ChangeTracker();
  ~ChangeTracker();
  ChangeTracker(const ChangeTracker&) = delete;
  ChangeTracker& operator=(const ChangeTracker&) = delete;

  class Reader {
   public:
    explicit Reader(ChangeTracker& tracker);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // The changes made since this reader's position, oldest first; valid
    // until the tracker's next call. None once the tracker is gone.
    std::span<const RepChange> pending();
    // Everything pending counts as seen.
    void advance();
    // Only changes made from now on count.
    void skipToNow() {
      pending();
      advance();
    }

   private:
    friend class ChangeTracker;
    ChangeTracker* tracker_;  // null once the tracker is gone
    Position position_;
  };

 private:
  // Moves the store's new journal entries into the log.
  void drain();
  // Drops the entries every reader has seen.
  void trim();

  std::vector<RepChange> log_;
  Position first_ = 0;  // the position of log_[0]
  std::vector<Reader*> readers_;
};

}  // namespace grhost
