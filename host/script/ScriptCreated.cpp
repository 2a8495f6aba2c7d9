#include "host/script/ScriptCreated.h"

#include "host/base/Model.h"
#include "host/script/ScriptPlayer.h"

namespace grhost {

NewElements::NewElements(RepId diagram) : diagram_(diagram) {
  for (RepId element : model::partners(diagram, "element")) before_.insert(element);
}

std::vector<RepId> NewElements::of(const std::string& className) const {
  std::vector<RepId> added;
  for (RepId element : model::partners(diagram_, "element"))
    if (!before_.count(element) && model::isKindOf(element, className)) added.push_back(element);
  return added;
}

RepId NewElements::first(const std::string& className) const {
  std::vector<RepId> added = of(className);
  return added.empty() ? 0 : added.front();
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
             const NewElements& added) {
  std::vector<RepId> elements = added.of("Element");
  for (std::size_t i = 0; i < names.size(); ++i)
    nameCreated(player, names[i], i < elements.size() ? elements[i] : 0,
                "element number " + std::to_string(i + 1));
}

}  // namespace grhost
