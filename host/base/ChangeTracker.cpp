#include "host/base/ChangeTracker.h"

#include <algorithm>

namespace grhost {

ChangeTracker::ChangeTracker() {
  RepJournalEnable(1);
}

ChangeTracker::~ChangeTracker() {
  for (Reader* reader : readers_) reader->tracker_ = nullptr;
  RepJournalEnable(0);
}

void ChangeTracker::drain() {
  RepChange buffer[256];
  while (uint32_t count = RepJournalTake(buffer, 256))
    log_.insert(log_.end(), buffer, buffer + count);
}

void ChangeTracker::trim() {
  Position seen = first_ + log_.size();
  for (const Reader* reader : readers_) seen = std::min(seen, reader->position_);
  if (seen == first_) return;
  log_.erase(log_.begin(), log_.begin() + static_cast<std::ptrdiff_t>(seen - first_));
  first_ = seen;
}

ChangeTracker::Reader::Reader(ChangeTracker& tracker) : tracker_(&tracker) {
  tracker_->drain();
  position_ = tracker_->first_ + tracker_->log_.size();
  tracker_->readers_.push_back(this);
}

ChangeTracker::Reader::~Reader() {
  if (!tracker_) return;
  auto& readers = tracker_->readers_;
  readers.erase(std::remove(readers.begin(), readers.end(), this), readers.end());
  tracker_->trim();
}

std::span<const RepChange> ChangeTracker::Reader::pending() {
  if (!tracker_) return {};
  tracker_->drain();
  std::size_t from = static_cast<std::size_t>(position_ - tracker_->first_);
  return std::span<const RepChange>(tracker_->log_).subspan(from);
}

void ChangeTracker::Reader::advance() {
  if (!tracker_) return;
  position_ = tracker_->first_ + tracker_->log_.size();
  tracker_->trim();
}

}  // namespace grhost
