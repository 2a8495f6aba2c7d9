#include "host/script/ScriptPlayer.h"

#include <fstream>
#include <ostream>

#include "host/base/HostError.h"
#include "host/base/MessageLog.h"
#include "host/base/Model.h"
#include "platform/repository.h"

namespace grhost {

ScriptPlayer::ScriptPlayer(HeadEngine& head, MessageLog& log)
    : head_(head), gestures_(head, log), window_(log.all()) {
  statements_["expect"] = {[this](ScriptLine& line) { expect(line); }, false};
  gestures_.setDescriber([this](RepId object) {
    for (const auto& [name, named] : names_)
      if (named == object) return "'" + name + "'";
    return model::className(object) + " " + std::to_string(object);
  });
}

const GestureOutcome& ScriptPlayer::play(GestureOutcome outcome) {
  window_.insert(window_.end(), outcome.messages.begin(), outcome.messages.end());
  last_ = std::move(outcome);
  return last_;
}

std::vector<std::string> ScriptPlayer::windowTexts(const std::string& kind) const {
  std::vector<std::string> texts;
  for (const Message& message : window_) {
    bool wanted =
        kind.empty() ? message.kind == "message" || message.kind == "error" : message.kind == kind;
    if (wanted) texts.push_back(message.text);
  }
  return texts;
}

void ScriptPlayer::addGesture(const std::string& keyword, Action action) {
  statements_[keyword] = {std::move(action), true};
}

void ScriptPlayer::addStatement(const std::string& keyword, Action action) {
  statements_[keyword] = {std::move(action), false};
}

void ScriptPlayer::addExpectation(const std::string& keyword, Action action) {
  expectations_[keyword] = std::move(action);
}

void ScriptPlayer::setObjectExpectation(ObjectAction action) {
  objectExpectation_ = std::move(action);
}

void ScriptPlayer::playLine(const std::string& text) {
  ScriptLine line(tokenize(text));
  if (line.atEnd()) return;
  std::string keyword = line.word("a statement");
  auto found = statements_.find(keyword);
  if (found == statements_.end()) throw ScriptError("unknown statement '" + keyword + "'");
  if (found->second.gesture) window_.clear();
  try {
    found->second.action(line);
  } catch (const HostError& failure) {
    throw ScriptError(failure.what());
  }
}

void ScriptPlayer::expect(ScriptLine& line) {
  std::string what = line.word("what to expect");
  auto found = expectations_.find(what);
  if (found != expectations_.end())
    found->second(line);
  else if (objectExpectation_)
    objectExpectation_(what, line);
  else
    throw ScriptError("unknown expectation '" + what + "'");
  ++expectationsMet_;
}

bool ScriptPlayer::playFile(const std::filesystem::path& file, std::ostream& errors) {
  std::ifstream in(file);
  if (!in) {
    errors << file.string() << ": can not read the script\n";
    return false;
  }
  std::string text;
  for (lineNumber_ = 1; std::getline(in, text); ++lineNumber_) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    try {
      playLine(text);
    } catch (const std::exception& failure) {
      errors << file.string() << ":" << lineNumber_ << ": " << failure.what() << "\n";
      lineNumber_ = 0;
      return false;
    }
  }
  lineNumber_ = 0;
  return true;
}

RepId ScriptPlayer::named(const std::string& name) const {
  auto unbound = unbound_.find(name);
  if (unbound != unbound_.end())
    throw ScriptError("'" + name + "' names nothing: " + unbound->second);
  auto found = names_.find(name);
  if (found == names_.end()) throw ScriptError("unknown name '" + name + "'");
  if (!ObjectExists(found->second))
    throw ScriptError("'" + name + "' (object " + std::to_string(found->second) +
                      ") no longer exists");
  return found->second;
}

void ScriptPlayer::setName(const std::string& name, RepId object) {
  unbound_.erase(name);
  names_[name] = object;
}

std::string ScriptPlayer::describe(RepId object) const {
  for (const auto& [name, named] : names_)
    if (named == object) return name;
  return model::className(object) + " " + std::to_string(object);
}

void ScriptPlayer::unbind(const std::string& name, const std::string& reason) {
  names_.erase(name);
  unbound_[name] = reason;
}

}  // namespace grhost
