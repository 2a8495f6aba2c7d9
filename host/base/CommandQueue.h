// The command queue in the model: FirstCmdPtr.command is the head and
// Command.next chains the rest. The library links each new command as the
// newest `command` of the single LastCmdPtr and then asks the head engine to
// enqueue it.
#pragma once

#include <vector>

#include "platform/repository.h"

namespace grhost {

class CommandQueue {
 public:
  // Appends the LastCmdPtr's newest command to the queue and removes the
  // LastCmdPtr's older `command` links, so that it points at the newest only.
  void enqueueNewest();
  // Unlinks the head from the queue and returns it; 0 when the queue is empty.
  RepId pop();
  // Takes COMMAND out of the queue wherever it stands.
  void remove(RepId command);
  // The queued commands, head first.
  std::vector<RepId> pending() const;

 private:
  void append(RepId command);
};

}  // namespace grhost
