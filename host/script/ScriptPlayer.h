// Plays gesture scripts (docs/gestures.md): each line is looked up by its
// first word in a table of statements. A gesture line turns its names and
// captions into objects and calls the gesture layer; the other statements
// name objects, queue answers or check expectations.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <string>

#include "host/gestures/Gestures.h"
#include "host/script/ScriptLine.h"
#include "platform/repository.h"

namespace grhost {

class HeadEngine;
class MessageLog;

class ScriptPlayer {
 public:
  using Action = std::function<void(ScriptLine&)>;
  using ObjectAction = std::function<void(const std::string& word, ScriptLine&)>;

  ScriptPlayer(HeadEngine& head, MessageLog& log);

  // A gesture opens a new message window before it runs; a statement does not.
  void addGesture(const std::string& keyword, Action action);
  void addStatement(const std::string& keyword, Action action);
  // "expect KEYWORD ...".
  void addExpectation(const std::string& keyword, Action action);
  // "expect WORD ..." for a WORD that is no expect keyword ("NAME.attr",
  // "NAME compartment"); the action throws for what it does not know.
  void setObjectExpectation(ObjectAction action);

  // Plays every line; on the first error prints "FILE:LINE: message" to
  // ERRORS and returns false. What ran before the error stays committed.
  bool playFile(const std::filesystem::path& file, std::ostream& errors);
  // Plays one line; throws ScriptError.
  void playLine(const std::string& text);

  // ---- for the statements
  Gestures& gestures() { return gestures_; }
  // The engines, for what expectations inspect.
  HeadEngine& head() { return head_; }
  // Keeps what a gesture of the line showed in the line's window; returns
  // the outcome.
  const GestureOutcome& play(GestureOutcome outcome);
  // Throws ScriptError for an unknown or unbound name and for a deleted object.
  RepId named(const std::string& name) const;
  void setName(const std::string& name, RepId object);
  // A name that stands for the object, else "CLASS ID".
  std::string describe(RepId object) const;
  // Leaves NAME without an object; a later use of it fails with REASON.
  void unbind(const std::string& name, const std::string& reason);
  // The number of the line being played; 0 outside playFile.
  std::size_t lineNumber() const { return lineNumber_; }
  // The messages of the current window: what the latest gesture line showed
  // (before the first one, the project's opening).
  const std::vector<Message>& window() const { return window_; }
  // The texts of the window's messages of KIND ("info"), or of the modal
  // kinds ("message" and "error") when KIND is empty.
  std::vector<std::string> windowTexts(const std::string& kind) const;
  std::size_t expectationsMet() const { return expectationsMet_; }

 private:
  struct Entry {
    Action action;
    bool gesture;
  };
  void expect(ScriptLine& line);

  HeadEngine& head_;
  Gestures gestures_;
  std::vector<Message> window_;
  GestureOutcome last_;
  std::map<std::string, Entry> statements_;
  std::map<std::string, Action> expectations_;
  ObjectAction objectExpectation_;
  std::map<std::string, RepId> names_;
  std::map<std::string, std::string> unbound_;
  std::size_t lineNumber_ = 0;
  std::size_t expectationsMet_ = 0;
};

// The statements every script has: event, run, choose, find, answer, and the
// gestures of the diagram and dialog engines.
void addCoreStatements(ScriptPlayer& player);
// The gestures of the diagram engine (ScriptGestures.cpp).
void addDiagramGestures(ScriptPlayer& player);
// The gestures on open forms (ScriptDialogs.cpp).
void addDialogGestures(ScriptPlayer& player);
// The expect forms: message, info, no message, no form, count, current
// diagram, menu, selection, form, field, compartments, and NAME.attr = "value",
// NAME.role -> NAME, NAME.role count N.
void addExpectations(ScriptPlayer& player);

}  // namespace grhost
