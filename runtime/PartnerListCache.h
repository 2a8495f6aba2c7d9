// The partner lists that navigations walk: one list per (link type, from
// object), filled from the store once per generation. A list object lives as
// long as the cache, so variables keep plain pointers to it.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "runtime/RepositoryUser.h"

struct PartnerList {
  std::vector<ObjID> ids;
  std::vector<bool> skipId;  // true: an entry superseded by a later re-link

  std::size_t size() const { return ids.size(); }
  void clear() {
    ids.clear();
    skipId.clear();
  }
  // A partner linked again moves to the end of the iteration order.
  void add(ObjID id);
};

class PartnerListCache {
 public:
  static PartnerListCache& instance();
  static void destroy();

  // Null unless the from object exists and the link type leads out of its class.
  PartnerList* partnerList(RepId linkType, ObjID from);
  // Creates the link in the store and records it in both ends' current lists.
  bool createLink(RepId linkType, ObjID from, ObjID to);

 private:
  struct Entry {
    PartnerList list;
    int32_t generation = 0;
  };
  static uint64_t key(RepId linkType, ObjID from) {
    return (static_cast<uint64_t>(linkType) << 32) | from;
  }
  static void fill(RepId linkType, ObjID from, PartnerList& list);
  void addIfCurrent(RepId linkType, ObjID from, ObjID to);

  // unordered_map keeps element addresses stable across rehashing.
  std::unordered_map<uint64_t, Entry> entries_;
};
