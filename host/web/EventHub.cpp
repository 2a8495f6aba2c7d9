#include "host/web/EventHub.h"

namespace grhost::web {

std::string EventHub::publish(const std::string& name, nlohmann::json& message) {
  std::string text;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    message["seq"] = ++last_;
    text = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    kept_.push_back({last_, name, text});
    if (kept_.size() > kKept) kept_.pop_front();
  }
  arrived_.notify_all();
  return text;
}

std::uint64_t EventHub::last() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return last_;
}

std::vector<PushedEvent> EventHub::after(std::uint64_t seq, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  arrived_.wait_for(lock, timeout, [&] { return closed_ || last_ > seq; });
  if (closed_ || last_ <= seq) return {};
  if (kept_.empty() || kept_.front().seq > seq + 1) return {{last_, "reload", "{}"}};
  std::vector<PushedEvent> events;
  for (const PushedEvent& event : kept_)
    if (event.seq > seq) events.push_back(event);
  return events;
}

void EventHub::close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
  }
  arrived_.notify_all();
}

bool EventHub::closed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

}  // namespace grhost::web
