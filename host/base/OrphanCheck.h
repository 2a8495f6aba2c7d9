// Objects that nothing owns although their class is a part: its class or a
// superclass has the part-to-whole role of a composition, and the object has
// no partner over any such role. Every deletion must take along what its
// object owns; this finds what one left behind.
#pragma once

#include <string>
#include <vector>

#include "platform/repository.h"

namespace grhost {

struct Orphan {
  RepId object = 0;
  std::string className;
  // The roles over which the object could have had an owner.
  std::vector<std::string> ownerRoles;
};

// Every orphan of the open store, by class (in the store's order), then by object.
std::vector<Orphan> findOrphans();
// "Compartment 123 has no owner (element, parentCompartment)".
std::string describeOrphan(const Orphan& orphan);

}  // namespace grhost
