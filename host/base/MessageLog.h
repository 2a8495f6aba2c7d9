// Every text the library shows (modal message boxes, runtime error reports,
// information-bar texts) and the host's own notes, in the order shown.
// Headless, each is printed and kept so that scripts and tests can assert on
// it. The log installs itself as the runtime's message sink.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace grhost {

struct Message {
  std::string kind;  // "message", "error", "info" or "note"
  std::string text;
};

class MessageLog {
 public:
  // Prints each text to ECHO ("[kind] text"); nullptr prints nothing.
  explicit MessageLog(std::FILE* echo = stdout);
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  void add(const std::string& kind, const std::string& text);
  void note(const std::string& text) { add("note", text); }

  const std::vector<Message>& all() const { return messages_; }
  // Where the next message will go; a window starts at such a mark.
  std::size_t mark() const { return messages_.size(); }
  // Texts of modal kinds ("message" and "error") from MARK on.
  std::vector<std::string> modalSince(std::size_t mark) const;
  std::vector<std::string> ofKindSince(const std::string& kind, std::size_t mark) const;

 private:
  std::vector<Message> messages_;
  std::FILE* echo_;
};

}  // namespace grhost
