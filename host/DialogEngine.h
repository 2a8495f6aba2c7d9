// The headless dialog engine, minimal for now: it accepts the "D#" commands
// and the property-dialog commands and records them in order.
#pragma once

#include <string>
#include <vector>

#include "platform/repository.h"

namespace grhost {

struct DialogCommand {
  std::string className;
  std::string info;   // the command word of a D#Command
  RepId receiver = 0;  // the form component, or the property diagram
};

class DialogEngine {
 public:
  // False when the class is not one of this engine's.
  bool execute(RepId command, const std::string& className);
  const std::vector<DialogCommand>& record() const { return record_; }

 private:
  std::vector<DialogCommand> record_;
};

}  // namespace grhost
