// The expect forms of scripts. Messages and information-bar texts are looked
// for in the current window: from the start of the latest gesture on.
#include "host/HeadEngine.h"
#include "host/MessageLog.h"
#include "host/Model.h"
#include "host/ScriptPlayer.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace grhost {
namespace {

std::string shown(const std::string& text) { return nlohmann::json(text).dump(); }

std::string listed(const std::vector<std::string>& texts) {
  if (texts.empty()) return "none";
  std::string list;
  for (const std::string& text : texts) list += (list.empty() ? "" : ", ") + shown(text);
  return list;
}

void expectText(ScriptPlayer& player, ScriptLine& line, bool modal) {
  std::string wanted = line.string("the text");
  line.finish();
  std::vector<std::string> texts = modal ? player.log().modalSince(player.windowStart())
                                         : player.log().ofKindSince("info", player.windowStart());
  if (std::find(texts.begin(), texts.end(), wanted) == texts.end())
    throw ScriptError(std::string(modal ? "no message " : "no information-bar text ") +
                      shown(wanted) + " since the last gesture; shown: " + listed(texts));
}

// expect no message
void expectNoMessage(ScriptPlayer& player, ScriptLine& line) {
  line.keyword("message");
  line.finish();
  std::vector<std::string> texts = player.log().modalSince(player.windowStart());
  if (!texts.empty()) throw ScriptError("messages since the last gesture: " + listed(texts));
}

// expect count CLASS N
void expectCount(ScriptPlayer&, ScriptLine& line) {
  std::string className = line.word("a class");
  long wanted = line.number("a count");
  line.finish();
  if (!model::classId(className)) throw ScriptError("there is no class " + className);
  std::size_t count = model::objectsOf(className).size();
  if (count != static_cast<std::size_t>(wanted))
    throw ScriptError("expected " + std::to_string(wanted) + " " + className + ", found " +
                      std::to_string(count));
}

// expect current diagram "caption"
void expectCurrentDiagram(ScriptPlayer& player, ScriptLine& line) {
  line.keyword("diagram");
  std::string wanted = line.string("the caption");
  line.finish();
  RepId diagram = player.head().diagrams().currentDiagram();
  if (!diagram) throw ScriptError("there is no current diagram");
  std::string caption = model::attribute(diagram, "caption");
  if (caption != wanted)
    throw ScriptError("the current diagram is " + shown(caption) + ", not " + shown(wanted));
}

// expect menu "a" "b" ...
void expectMenu(ScriptPlayer& player, ScriptLine& line) {
  std::vector<std::string> wanted;
  while (!line.atEnd()) wanted.push_back(line.string("a menu item"));
  std::vector<std::string> captions;
  for (const MenuItem& item : player.head().diagrams().lastMenu()) captions.push_back(item.caption);
  if (captions != wanted)
    throw ScriptError("the last menu shown has " + listed(captions) + ", not " + listed(wanted));
}

// expect NAME.attr = "value"
void expectAttribute(ScriptPlayer& player, const std::string& reference, ScriptLine& line) {
  line.equals();
  std::string wanted = line.string("the value");
  line.finish();
  std::size_t dot = reference.find('.');
  std::string name = reference.substr(0, dot), attribute = reference.substr(dot + 1);
  RepId object = player.named(name);
  if (!model::hasAttribute(object, attribute))
    throw ScriptError(model::className(object) + " has no attribute " + attribute);
  std::string value = model::attribute(object, attribute);
  if (value != wanted)
    throw ScriptError(reference + " is " + shown(value) + ", not " + shown(wanted));
}

}  // namespace

void addExpectations(ScriptPlayer& player) {
  player.addExpectation("message", [&player](ScriptLine& line) { expectText(player, line, true); });
  player.addExpectation("info", [&player](ScriptLine& line) { expectText(player, line, false); });
  player.addExpectation("no", [&player](ScriptLine& line) { expectNoMessage(player, line); });
  player.addExpectation("count", [&player](ScriptLine& line) { expectCount(player, line); });
  player.addExpectation("current",
                        [&player](ScriptLine& line) { expectCurrentDiagram(player, line); });
  player.addExpectation("menu", [&player](ScriptLine& line) { expectMenu(player, line); });
  player.setAttributeExpectation([&player](const std::string& reference, ScriptLine& line) {
    expectAttribute(player, reference, line);
  });
}

}  // namespace grhost
