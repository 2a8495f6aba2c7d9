#include "host/base/CommandQueue.h"

#include <algorithm>
#include <set>

#include "host/base/Model.h"

namespace grhost {

std::vector<RepId> CommandQueue::pending() const {
  std::vector<RepId> queued;
  RepId head = model::firstOf("FirstCmdPtr");
  std::set<RepId> seen;
  for (RepId command = head ? model::firstPartner(head, "command") : 0;
       command && seen.insert(command).second; command = model::firstPartner(command, "next"))
    queued.push_back(command);
  return queued;
}

void CommandQueue::enqueueNewest() {
  RepId last = model::firstOf("LastCmdPtr");
  if (!last) return;
  std::vector<RepId> linked = model::partners(last, "command");
  if (linked.empty()) return;
  RepId newest = linked.back();
  linked.pop_back();
  for (RepId older : linked) model::unlink(last, "command", older);
  append(newest);
}

void CommandQueue::append(RepId command) {
  std::vector<RepId> queued = pending();
  if (std::find(queued.begin(), queued.end(), command) != queued.end()) return;
  if (queued.empty())
    model::link(model::firstOrCreate("FirstCmdPtr"), "command", command);
  else
    model::link(queued.back(), "next", command);
}

RepId CommandQueue::pop() {
  RepId head = model::firstOf("FirstCmdPtr");
  RepId first = head ? model::firstPartner(head, "command") : 0;
  if (!first) return 0;
  RepId second = model::firstPartner(first, "next");
  model::unlink(head, "command", first);
  if (second) {
    model::unlink(first, "next", second);
    model::link(head, "command", second);
  }
  return first;
}

void CommandQueue::remove(RepId command) {
  std::vector<RepId> queued = pending();
  auto at = std::find(queued.begin(), queued.end(), command);
  if (at == queued.end()) return;
  RepId before = at == queued.begin() ? 0 : *(at - 1);
  RepId after = at + 1 == queued.end() ? 0 : *(at + 1);
  RepId head = model::firstOf("FirstCmdPtr");
  if (before)
    model::unlink(before, "next", command);
  else
    model::unlink(head, "command", command);
  if (after) {
    model::unlink(command, "next", after);
    model::link(before ? before : head, before ? "next" : "command", after);
  }
}

}  // namespace grhost
