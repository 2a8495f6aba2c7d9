#include "host/base/MessageLog.h"

#include "platform/host.h"

namespace grhost {
namespace {

void receive(const char* kind, const char* text, void* context) {
  static_cast<MessageLog*>(context)->add(kind ? kind : "message", text ? text : "");
}

}  // namespace

MessageLog::MessageLog(std::FILE* echo) : echo_(echo) {
  GrSetMessageSink(receive, this);
}

MessageLog::~MessageLog() {
  GrSetMessageSink(nullptr, nullptr);
}

void MessageLog::add(const std::string& kind, const std::string& text) {
  messages_.push_back({kind, text});
  if (echo_) {
    std::fprintf(echo_, "[%s] %s\n", kind.c_str(), text.c_str());
    std::fflush(echo_);
  }
}

std::vector<std::string> MessageLog::modalSince(std::size_t mark) const {
  std::vector<std::string> texts;
  for (std::size_t i = mark; i < messages_.size(); ++i)
    if (messages_[i].kind == "message" || messages_[i].kind == "error")
      texts.push_back(messages_[i].text);
  return texts;
}

std::vector<std::string> MessageLog::ofKindSince(const std::string& kind, std::size_t mark) const {
  std::vector<std::string> texts;
  for (std::size_t i = mark; i < messages_.size(); ++i)
    if (messages_[i].kind == kind) texts.push_back(messages_[i].text);
  return texts;
}

}  // namespace grhost
