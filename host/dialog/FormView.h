// A form as a front end draws it: every component with the values it has set,
// its parts in order (the components of a container, the items of a list,
// the rows and cells of a table, the nodes of a tree, the lines of a text
// box: whatever the dialog metamodel declares a composition) and its links
// to other parts of the form (the selected item, the active tab, the default
// and cancel buttons ...). Read from the model only; event handlers, which
// the front end does not run, are left out.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/repository.h"

namespace grhost {

struct FormPart {
  RepId id = 0;
  std::string className;
  // The attributes that have a value, in the class's order.
  std::vector<std::pair<std::string, std::string>> values;
  // By role, in link order.
  std::vector<std::pair<std::string, std::vector<FormPart>>> parts;
  std::vector<std::pair<std::string, std::vector<RepId>>> links;
};

// The form (or any component) with its parts; an object that does not exist
// gives a part with id 0.
FormPart formView(RepId component);

}  // namespace grhost
