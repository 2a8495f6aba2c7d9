// What the server pushes to every page that watches the project: each
// gesture's outcome (and a word to reload when the model changed in a way no
// outcome tells), numbered in the order the model changed. The streams read
// only this hub, never the model.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace grhost::web {

struct PushedEvent {
  std::uint64_t seq = 0;
  std::string name;  // "outcome" or "reload"
  std::string data;  // JSON
};

class EventHub {
 public:
  // How many recent events a stream that fell behind can still catch up on.
  static constexpr std::size_t kKept = 256;

  // Numbers the message (its "seq"), keeps it and wakes the streams; returns
  // the message as JSON text.
  std::string publish(const std::string& name, nlohmann::json& message);
  // The number of the latest event; 0 before the first.
  std::uint64_t last() const;
  // The events after SEQ, waiting up to TIMEOUT for one. When events after
  // SEQ are no longer kept, a single "reload". Empty on a timeout and once
  // the hub is closed.
  std::vector<PushedEvent> after(std::uint64_t seq, std::chrono::milliseconds timeout);
  // Ends every wait; later waits return at once.
  void close();
  bool closed() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<PushedEvent> kept_;
  std::uint64_t last_ = 0;
  bool closed_ = false;
};

}  // namespace grhost::web
