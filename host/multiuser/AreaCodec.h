// The text a shared area holds: one diagram's subtree as the create call
// describes it (objects reached over the traversal roles, stopping at the
// stop classes; the links of the reference map kept as references to
// project-wide objects such as types and styles).
//
// The exchange text of the diagram export is the text areas are meant to
// hold; until its writer and reader are in the runtime, AreaCodec writes an
// exact JSON encoding of the same content behind this interface.
#pragma once

#include <string>

#include "host/base/HostError.h"
#include "platform/repository.h"

namespace grhost::shared {

class AreaTextError : public HostError {
 public:
  using HostError::HostError;
};

struct AreaExtent {
  std::string referenceMap;
  std::string stopClasses;
  std::string traversalRoles;
};

class AreaCodec {
 public:
  virtual ~AreaCodec() = default;
  virtual std::string write(RepId diagram, const AreaExtent& extent) const = 0;
  // TEXT with ATTRIBUTE of the object that was OBJECT when it was written set
  // to VALUE; TEXT itself when it holds no such object.
  virtual std::string withValue(const std::string& text, RepId object, const std::string& attribute,
                                const std::string& value) const = 0;
  // The extent TEXT was written with.
  virtual AreaExtent extentOf(const std::string& text) const = 0;
  // Whether TEXT holds the object that was OBJECT when it was written.
  virtual bool holds(const std::string& text, RepId object) const = 0;
  // Makes DIAGRAM (0: a new one) hold the area's subtree in place of what it
  // held, and returns it. Checks the whole text first: a text that is broken
  // or names what this project lacks throws AreaTextError and changes nothing.
  virtual RepId read(const std::string& text, RepId diagram) const = 0;
};

// The JSON encoding.
const AreaCodec& jsonAreaCodec();

}  // namespace grhost::shared
