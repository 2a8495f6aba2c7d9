// The host's own reads and writes of the store, by class, attribute and role
// name. The host works on the store directly: between handler runs it owns
// the model, and every run starts a fresh generation of the runtime's caches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/repository.h"

namespace grhost::model {

RepId classId(const std::string& className);
std::string className(RepId object);
// The object's class is CLASSNAME or a subclass of it.
bool isKindOf(RepId object, const std::string& className);

// Objects of the class and its subclasses, in the store's order; none when
// the class does not exist.
std::vector<RepId> objectsOf(const std::string& className);
RepId firstOf(const std::string& className);
// Throws std::runtime_error naming the class when it does not exist.
RepId create(const std::string& className);
RepId firstOrCreate(const std::string& className);
void remove(RepId object);

// "" when the object's class has no such attribute or the value is unset.
std::string attribute(RepId object, const std::string& name);
bool hasAttribute(RepId object, const std::string& name);
// False when the class has no such attribute or the store refuses the value.
bool setAttribute(RepId object, const std::string& name, const std::string& value);

// The role leading out of the object's class; 0 when there is none.
RepId role(RepId object, const std::string& roleName);
// Partners over the role in link order; none for an unknown role.
std::vector<RepId> partners(RepId object, const std::string& roleName);
RepId firstPartner(RepId object, const std::string& roleName);
bool link(RepId from, const std::string& roleName, RepId to);
void unlink(RepId from, const std::string& roleName, RepId to);
void unlinkAll(RepId from, const std::string& roleName);
// The element's first compartment whose type has this id, depth first through
// the sub-compartments in link order; 0 when none.
RepId compartmentOfType(RepId element, const std::string& typeId);

// Opens a save transaction for the scope and commits it when the scope ends,
// also when it ends by an exception.
class SaveTransaction {
 public:
  SaveTransaction();
  ~SaveTransaction();
  SaveTransaction(const SaveTransaction&) = delete;
  SaveTransaction& operator=(const SaveTransaction&) = delete;

 private:
  bool started_;
};

}  // namespace grhost::model
