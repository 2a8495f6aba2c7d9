// The names scripts give with "as" to what a gesture added.
#pragma once

#include <string>
#include <vector>

#include "host/gestures/GestureOutcome.h"
#include "platform/repository.h"

namespace grhost {

class ScriptLine;
class ScriptPlayer;

// Binds NAME to the first element of CLASSNAME the gesture added; when it
// added none the name stays unbound and a later use of it names this line.
// An empty NAME binds nothing.
void nameCreated(ScriptPlayer& player, const std::string& name, const GestureOutcome& outcome,
                 const std::string& className);
// The same for an element found otherwise (0: none).
void nameCreated(ScriptPlayer& player, const std::string& name, RepId created,
                 const std::string& what);

// "[as NAME...]" at the end of a line: the names, none when absent.
std::vector<std::string> namesAtEnd(ScriptLine& line);
// Binds the names to the elements the gesture added, in their order.
void nameAll(ScriptPlayer& player, const std::vector<std::string>& names,
             const GestureOutcome& outcome);

}  // namespace grhost
