// The object lists that root searches walk: one list of object ids per
// class, filled from the store once per generation. Within a generation a
// list only grows; deleted objects stay and are skipped by liveness tests.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "runtime/RepositoryUser.h"

class L0_ObjectIDListS {
 public:
  static L0_ObjectIDListS& instance();
  static void destroy();

  // The class's list, filled or refilled for the current generation; null
  // when the class does not exist.
  const IdVector* classObjectList(RepId classId);
  // -1 when there is no list.
  int64_t objectCount(RepId classId);
  // -1 when there is no list; INDEX must be below the count.
  int64_t getObjID(RepId classId, uint32_t index);
  // Position of the object in its class's list, by halving first.
  bool objectIndex(ObjID object, int32_t& index);
  // Creates an object of the class in the store and appends it to the list.
  ObjID addObject(RepId classId);

 private:
  struct Entry {
    IdVector objects;
    int32_t generation = 0;
  };
  Entry* currentEntry(RepId classId);
  static void fill(RepId classId, Entry& entry);

  std::unordered_map<RepId, Entry> entries_;
  // The class asked for last: root searches ask for the same class at every step.
  RepId lastClass_ = 0;
  Entry* lastEntry_ = nullptr;
};
