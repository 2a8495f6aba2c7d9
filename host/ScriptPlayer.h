// Plays gesture scripts (docs/gestures.md): each line is looked up by its
// first word in a table of statements. A gesture becomes the event object the
// engine would create, runs the registered handler and executes the commands;
// the other statements name objects, queue answers or check expectations.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <string>

#include "host/ScriptLine.h"
#include "platform/repository.h"

namespace grhost {

class HeadEngine;
class MessageLog;

class ScriptPlayer {
 public:
  using Action = std::function<void(ScriptLine&)>;
  using AttributeAction = std::function<void(const std::string& reference, ScriptLine&)>;

  ScriptPlayer(HeadEngine& head, MessageLog& log);

  // A gesture opens a new message window before it runs; a statement does not.
  void addGesture(const std::string& keyword, Action action);
  void addStatement(const std::string& keyword, Action action);
  // "expect KEYWORD ...".
  void addExpectation(const std::string& keyword, Action action);
  // "expect NAME.attr ...": REFERENCE is "NAME.attr".
  void setAttributeExpectation(AttributeAction action);

  // Plays every line; on the first error prints "FILE:LINE: message" to
  // ERRORS and returns false. What ran before the error stays committed.
  bool playFile(const std::filesystem::path& file, std::ostream& errors);
  // Plays one line; throws ScriptError.
  void playLine(const std::string& text);

  // ---- for the statements
  HeadEngine& head() { return head_; }
  MessageLog& log() { return log_; }
  RepId named(const std::string& name) const;
  void setName(const std::string& name, RepId object);
  // Where the current message window began: the start of the latest gesture.
  std::size_t windowStart() const { return windowStart_; }
  std::size_t expectationsMet() const { return expectationsMet_; }

 private:
  struct Entry {
    Action action;
    bool gesture;
  };
  void expect(ScriptLine& line);

  HeadEngine& head_;
  MessageLog& log_;
  std::map<std::string, Entry> statements_;
  std::map<std::string, Action> expectations_;
  AttributeAction attributeExpectation_;
  std::map<std::string, RepId> names_;
  std::size_t windowStart_ = 0;
  std::size_t expectationsMet_ = 0;
};

// The statements every script has: event, run, choose, find, answer.
void addCoreStatements(ScriptPlayer& player);
// The expect forms: message, no message, info, count, current diagram, menu,
// and NAME.attr = "value".
void addExpectations(ScriptPlayer& player);

}  // namespace grhost
