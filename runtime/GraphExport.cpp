#include "runtime/GraphExport.h"

#include <unordered_map>
#include <unordered_set>

#include "runtime/ExchangeWriter.h"
#include "runtime/L0_Var.h"
#include "runtime/NativeFunctions.h"
#include "runtime/RepositoryUser.h"

namespace gr::exchange {
namespace {

using Table = std::vector<NavigationEntry>;

NavigationEntry parseEntry(const std::string& entry) {
  NavigationEntry parsed;
  const auto dot = entry.find('.');
  const auto dash = entry.find('-', dot == std::string::npos ? 0 : dot);
  if (dot != std::string::npos) {
    parsed.className = entry.substr(0, dot);
    parsed.role =
        entry.substr(dot + 1, dash == std::string::npos ? std::string::npos : dash - dot - 1);
  } else {
    parsed.className = entry.substr(0, dash);
  }
  if (dash == std::string::npos) return parsed;
  const std::string rest = entry.substr(dash + 1);
  const auto hash = rest.find('#');
  if (hash == std::string::npos) {
    parsed.transformation = rest;
  } else {
    parsed.library = rest.substr(0, hash);
    parsed.transformation = rest.substr(hash + 1);
  }
  return parsed;
}

// The first entry for link types that start at START and are named ROLE;
// the scan stops at an entry without a class.
const NavigationEntry* match(const Table& table, const std::string& start,
                             const std::string& role) {
  for (const NavigationEntry& entry : table) {
    if (entry.className.empty()) return nullptr;
    if (entry.className == start && (entry.role.empty() || entry.role == role)) return &entry;
  }
  return nullptr;
}

struct LinkTypeShape {
  RepId linkType = 0;
  std::string start;  // the name of the class it starts at
  std::string role;
};

class GraphWalk {
 public:
  GraphWalk(const Bookkeeping& bookkeeping, const std::string& spec1, const std::string& spec2,
            const std::string& spec3)
      : bookkeeping_(bookkeeping),
        descriptors_(parseNavigationSpec(spec1)),
        notFollowed_(parseNavigationSpec(spec2)),
        followed_(parseNavigationSpec(spec3)) {}

  void run(RepId start) {
    deleteExportItems();
    visit(start);
  }

 private:
  void deleteExportItems() {
    std::vector<RepId> items;
    for (std::uint32_t i = 0, n = GetObjectNum(bookkeeping_.exportItem); i < n; ++i)
      items.push_back(GetObjectIdByIndex(bookkeeping_.exportItem, i));
    for (RepId item : items) RepositoryUser::deleteObject(item);
  }

  // One frame of the depth-first walk: an object and where its link types
  // and partners stand.
  struct Frame {
    RepId object = 0;
    std::size_t linkType = 0;
    std::vector<RepId> partners;
    std::size_t partner = 0;
  };

  void visit(RepId start) {
    if (!enter(start)) return;
    std::vector<Frame> stack;
    stack.push_back(Frame{start, 0, {}, 0});
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.partner < frame.partners.size()) {
        const RepId next = frame.partners[frame.partner++];
        if (enter(next)) stack.push_back(Frame{next, 0, {}, 0});
        continue;
      }
      const std::vector<LinkTypeShape>& linkTypes = linkTypesOf(frame.object);
      if (frame.linkType == linkTypes.size()) {
        stack.pop_back();
        continue;
      }
      frame.partners = treat(frame.object, linkTypes[frame.linkType++]);
      frame.partner = 0;
    }
  }

  // Marks and registers OBJECT; false when it was visited before.
  bool enter(RepId object) {
    if (object == 0 || !ObjectExists(object) || !visited_.insert(object).second) return false;
    registerObject(object);
    return true;
  }

  // The partners to visit over the link type. The bookkeeping's own links
  // are never walked: they lead to the records of this and older exports.
  std::vector<RepId> treat(RepId object, const LinkTypeShape& shape) {
    std::vector<RepId> partners;
    if (shape.linkType == bookkeeping_.exportItemRole ||
        shape.linkType == bookkeeping_.linkedObjectRole)
      return partners;
    if (!match(followed_, shape.start, shape.role)) {
      if (const NavigationEntry* entry = match(descriptors_, shape.start, shape.role)) {
        if (!entry->transformation.empty()) recordDescriptor(object, *entry);
        return partners;
      }
      if (match(notFollowed_, shape.start, shape.role)) return partners;
    }
    for (std::uint32_t i = 0, n = GetLinkedObjectNum(object, shape.linkType); i < n; ++i)
      partners.push_back(GetLinkedObjectIdByIndex(object, shape.linkType, i));
    return partners;
  }

  // The transformation makes (or finds) the descriptor and gives its id.
  void recordDescriptor(RepId object, const NavigationEntry& entry) {
    const std::string library = entry.library.empty() ? "main.dll" : entry.library;
    const std::string id =
        executeStringFunction(library, entry.transformation, L0_Var_2::fromObjectId(object));
    const RepId descriptor = descriptorWithId(id);
    if (descriptor == 0) return;
    if (!AlreadyConnected(bookkeeping_.linkedObjectRole, object, descriptor))
      RepositoryUser::createLink(bookkeeping_.linkedObjectRole, object, descriptor);
    registerObject(descriptor);
  }

  // The first LinkedObject whose id is ID; descriptors made meanwhile are
  // looked at when an id is not known yet.
  RepId descriptorWithId(const std::string& id) {
    if (id.empty()) return 0;
    auto found = descriptorsById_.find(id);
    if (found == descriptorsById_.end()) {
      for (std::uint32_t i = 0, n = GetObjectNum(bookkeeping_.linkedObject); i < n; ++i) {
        const RepId candidate = GetObjectIdByIndex(bookkeeping_.linkedObject, i);
        if (ObjectExists(candidate))
          descriptorsById_.emplace(RepositoryUser::getProperty(candidate, bookkeeping_.id),
                                   candidate);
      }
      found = descriptorsById_.find(id);
    }
    return found == descriptorsById_.end() ? 0 : found->second;
  }

  // Links OBJECT to the ExportItem of its class, made when missing.
  void registerObject(RepId object) {
    const std::string className = RepositoryUser::getTypeName(GetObjectTypeId(object));
    RepId& item = items_[className];
    if (item == 0) {
      item = RepositoryUser::createObject(bookkeeping_.exportItem);
      RepositoryUser::setProperty(item, bookkeeping_.className, className);
      if (bookkeeping_.instances != 0)
        RepositoryUser::setProperty(item, bookkeeping_.instances, "");
    }
    if (!AlreadyConnected(bookkeeping_.thingRole, item, object))
      RepositoryUser::createLink(bookkeeping_.thingRole, item, object);
  }

  const std::vector<LinkTypeShape>& linkTypesOf(RepId object) {
    const RepId cls = GetObjectTypeId(object);
    const auto found = shapes_.find(cls);
    if (found != shapes_.end()) return found->second;
    std::vector<LinkTypeShape> shapes;
    RepIdList* list = GetLinkTypeIdList(cls);
    for (std::uint32_t i = 0, n = RepIdListCount(list); i < n; ++i) {
      const RepId linkType = RepIdListItem(list, i);
      RepId start = 0, end = 0, inverse = 0;
      GetLinkTypeAttributes1(linkType, &start, &end, &inverse);
      shapes.push_back(LinkTypeShape{linkType, RepositoryUser::getTypeName(start),
                                     RepositoryUser::getTypeName(linkType)});
    }
    RepIdListFree(list);
    return shapes_.emplace(cls, std::move(shapes)).first->second;
  }

  const Bookkeeping& bookkeeping_;
  Table descriptors_, notFollowed_, followed_;
  std::unordered_set<RepId> visited_;
  std::unordered_map<std::string, RepId> items_;
  std::unordered_map<std::string, RepId> descriptorsById_;
  std::unordered_map<RepId, std::vector<LinkTypeShape>> shapes_;
};

}  // namespace

std::vector<NavigationEntry> parseNavigationSpec(const std::string& spec) {
  std::vector<NavigationEntry> entries;
  std::size_t from = 0;
  while (from <= spec.size()) {
    const auto semicolon = spec.find(';', from);
    const std::string entry =
        spec.substr(from, semicolon == std::string::npos ? std::string::npos : semicolon - from);
    if (semicolon == std::string::npos && entry.empty()) break;
    entries.push_back(parseEntry(entry));
    if (semicolon == std::string::npos) break;
    from = semicolon + 1;
  }
  return entries;
}

}  // namespace gr::exchange

void exportGraphFromObjectById(RepId objectID, const std::string& spec1, const std::string& spec2,
                               const std::string& spec3) {
  using namespace gr::exchange;
  const auto bookkeeping = lookUpBookkeeping();
  if (!bookkeeping) return;
  GraphWalk(*bookkeeping, spec1, spec2, spec3).run(objectID);
  WriteCounts counts;
  const std::string text = writeDataText(ValueMode::Import, &counts);
  writeExchangeFile(text, exchangeFilePath("DiagramExportResult.txt"), counts);
}

void exportGraphFromObject(const L0_Var_2& object, const std::string& spec1,
                           const std::string& spec2, const std::string& spec3) {
  exportGraphFromObjectById(object.isNull() ? 0 : object.getCurrObjID(), spec1, spec2, spec3);
}
