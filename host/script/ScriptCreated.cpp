#include "host/script/ScriptCreated.h"

#include "host/script/ScriptPlayer.h"

namespace grhost {

void nameCreated(ScriptPlayer& player, const std::string& name, const GestureOutcome& outcome,
                 const std::string& className) {
  nameCreated(player, name, outcome.firstAdded(className), className);
}

void nameCreated(ScriptPlayer& player, const std::string& name, RepId created,
                 const std::string& what) {
  if (name.empty()) return;
  if (created)
    player.setName(name, created);
  else
    player.unbind(name, "line " + std::to_string(player.lineNumber()) + " created no " + what);
}

std::vector<std::string> namesAtEnd(ScriptLine& line) {
  std::vector<std::string> names;
  if (line.accept("as")) {
    do names.push_back(line.word("a name"));
    while (!line.atEnd());
  }
  line.finish();
  return names;
}

void nameAll(ScriptPlayer& player, const std::vector<std::string>& names,
             const GestureOutcome& outcome) {
  std::vector<RepId> elements = outcome.addedOf("Element");
  for (std::size_t i = 0; i < names.size(); ++i)
    nameCreated(player, names[i], i < elements.size() ? elements[i] : 0,
                "element number " + std::to_string(i + 1));
}

}  // namespace grhost
