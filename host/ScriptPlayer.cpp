#include "host/ScriptPlayer.h"

#include <fstream>
#include <ostream>

#include "host/HostError.h"
#include "host/MessageLog.h"
#include "platform/repository.h"

namespace grhost {

ScriptPlayer::ScriptPlayer(HeadEngine& head, MessageLog& log)
    : head_(head), log_(log) {
  statements_["expect"] = {[this](ScriptLine& line) { expect(line); }, false};
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

void ScriptPlayer::setAttributeExpectation(AttributeAction action) {
  attributeExpectation_ = std::move(action);
}

void ScriptPlayer::playLine(const std::string& text) {
  ScriptLine line(tokenize(text));
  if (line.atEnd()) return;
  std::string keyword = line.word("a statement");
  auto found = statements_.find(keyword);
  if (found == statements_.end()) throw ScriptError("unknown statement '" + keyword + "'");
  if (found->second.gesture) windowStart_ = log_.mark();
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
  else if (what.find('.') != std::string::npos && attributeExpectation_)
    attributeExpectation_(what, line);
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
  for (std::size_t number = 1; std::getline(in, text); ++number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    try {
      playLine(text);
    } catch (const std::exception& failure) {
      errors << file.string() << ":" << number << ": " << failure.what() << "\n";
      return false;
    }
  }
  return true;
}

RepId ScriptPlayer::named(const std::string& name) const {
  auto found = names_.find(name);
  if (found == names_.end()) throw ScriptError("unknown name '" + name + "'");
  if (!ObjectExists(found->second))
    throw ScriptError("'" + name + "' (object " + std::to_string(found->second) +
                      ") no longer exists");
  return found->second;
}

void ScriptPlayer::setName(const std::string& name, RepId object) { names_[name] = object; }

}  // namespace grhost
