// What a gesture created: the elements it added to a diagram, told from
// those the diagram had before, and the names scripts give them with "as".
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/repository.h"

namespace grhost {

class ScriptLine;
class ScriptPlayer;

class NewElements {
 public:
  // Remembers the elements the diagram has now.
  explicit NewElements(RepId diagram);
  // The elements of CLASSNAME (or a subclass) added since, in link order.
  std::vector<RepId> of(const std::string& className) const;
  // The first of them; 0 when none.
  RepId first(const std::string& className) const;

 private:
  RepId diagram_;
  std::set<RepId> before_;
};

// Binds NAME to CREATED; when nothing was created (0) the name stays unbound
// and a later use of it names this line. An empty NAME binds nothing.
void nameCreated(ScriptPlayer& player, const std::string& name, RepId created,
                 const std::string& what);

// "[as NAME...]" at the end of a line: the names, none when absent.
std::vector<std::string> namesAtEnd(ScriptLine& line);
// Binds the names to the elements the gesture added, in their order.
void nameAll(ScriptPlayer& player, const std::vector<std::string>& names, const NewElements& added);

}  // namespace grhost
