#include "runtime/ExchangeWriter.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "runtime/HostCalls.h"
#include "runtime/MessageSink.h"

namespace gr::exchange {
namespace {

std::string nameOf(RepId type) {
  const char* name = GetTypeName(type);
  return name ? name : "";
}

std::vector<RepId> idsOf(RepIdList* list) {
  std::vector<RepId> ids;
  if (!list) return ids;
  const std::uint32_t count = RepIdListCount(list);
  ids.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) ids.push_back(RepIdListItem(list, i));
  RepIdListFree(list);
  return ids;
}

std::vector<RepId> partnersOf(RepId object, RepId linkType) {
  std::vector<RepId> partners;
  const std::uint32_t count = GetLinkedObjectNum(object, linkType);
  partners.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i)
    partners.push_back(GetLinkedObjectIdByIndex(object, linkType, i));
  return partners;
}

void appendNumber(std::string& out, std::uint64_t n) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
  out.append(buffer, end);
}

void appendObjectName(std::string& out, RepId object) {
  out += "pp_";
  appendNumber(out, object);
}

std::string_view baseTypeText(RepId attr) {
  switch (GetPropertyBaseType(attr)) {
    case REP_INTEGER:
      return "Integer";
    case REP_REAL:
      return "Real";
    case REP_BOOLEAN:
      return "Boolean";
    default:
      return "String";
  }
}

struct AttributeShape {
  RepId id = 0;
  std::string name;
  bool isString = false;
};

std::vector<AttributeShape> attributesOf(RepId cls) {
  std::vector<AttributeShape> shapes;
  for (RepId attr : idsOf(GetPropertyTypeIdList(cls)))
    shapes.push_back({attr, nameOf(attr), GetPropertyBaseType(attr) == REP_STRING});
  return shapes;
}

RepId endClassOf(RepId linkType) {
  RepId start = 0, end = 0, inverse = 0;
  GetLinkTypeAttributes1(linkType, &start, &end, &inverse);
  return end;
}

// One line of each kind of statement, collected in its section and joined
// once at the end.
struct Sections {
  std::string declarations, objects, values, links;
  std::string classes, generalisations, attributes, associations;
  WriteCounts counts;

  void addObject(RepId object, const std::string& className) {
    declarations += " pointer ";
    appendObjectName(declarations, object);
    declarations += ':' + className + ";\n";
    objects += " addObj ";
    appendObjectName(objects, object);
    objects += ':' + className + ";\n";
    ++counts.objects;
    ++counts.statements;
  }

  void addValues(RepId object, const std::vector<AttributeShape>& shapes, ValueMode mode) {
    for (const AttributeShape& attr : shapes) {
      const char* value = GetPropertyValue(object, attr.id);
      const std::string_view text = value ? value : "";
      if (!attr.isString && text.empty()) continue;
      values += " setAttr ";
      appendObjectName(values, object);
      values += '.' + attr.name + '=';
      appendValue(values, text, attr.isString, mode);
      values += ";\n";
      ++counts.statements;
    }
  }

  void addLink(RepId from, const std::string& role, RepId to) {
    links += " addLink ";
    appendObjectName(links, from);
    links += '.' + role + '.';
    appendObjectName(links, to);
    links += ";\n";
    ++counts.statements;
  }

  std::string text() const {
    std::string whole;
    whole.reserve(kTextHeader.size() + declarations.size() + classes.size() +
                  generalisations.size() + attributes.size() + associations.size() +
                  objects.size() + values.size() + links.size() + 64);
    whole += kTextHeader;
    whole += declarations;
    whole += kTextBegin;
    for (const std::string* section :
         {&classes, &generalisations, &attributes, &associations, &objects, &values, &links})
      whole += *section;
    whole += kTextFooter;
    return whole;
  }
};

// ---- the data writer

struct RoleShape {
  RepId linkType = 0;
  std::string name;
};

struct DataClass {
  std::vector<AttributeShape> attributes;
  std::vector<RoleShape> roles;  // those whose far class takes part
};

class DataWriter {
 public:
  DataWriter(const Bookkeeping& bookkeeping, ValueMode mode)
      : bookkeeping_(bookkeeping), mode_(mode) {}

  std::string run(WriteCounts* counts) {
    const std::vector<RepId> items = exportItems();
    for (RepId item : items) taken_.insert(GetObjectTypeIdByName(classNameOf(item).c_str()));
    taken_.erase(0);
    for (RepId item : items) writeItem(item);
    if (counts) *counts = sections_.counts;
    return sections_.text();
  }

 private:
  std::vector<RepId> exportItems() const {
    std::vector<RepId> items;
    const std::uint32_t count = GetObjectNum(bookkeeping_.exportItem);
    for (std::uint32_t i = 0; i < count; ++i) {
      const RepId item = GetObjectIdByIndex(bookkeeping_.exportItem, i);
      if (GetObjectTypeId(item) == bookkeeping_.exportItem) items.push_back(item);
    }
    return items;
  }

  std::string classNameOf(RepId item) const {
    const char* value = GetPropertyValue(item, bookkeeping_.className);
    return value ? value : "";
  }

  const DataClass& shapeOf(RepId cls) {
    const auto found = shapes_.find(cls);
    if (found != shapes_.end()) return found->second;
    DataClass shape;
    shape.attributes = attributesOf(cls);
    for (RepId linkType : idsOf(GetLinkTypeIdList(cls))) {
      std::string role = nameOf(linkType);
      if (!role.empty() && taken_.count(endClassOf(linkType)))
        shape.roles.push_back({linkType, std::move(role)});
    }
    return shapes_.emplace(cls, std::move(shape)).first->second;
  }

  bool isExported(RepId object) const {
    return GetLinkedObjectNum(object, bookkeeping_.exportItemRole) != 0;
  }

  void writeItem(RepId item) {
    const std::string className = classNameOf(item);
    const RepId cls = GetObjectTypeIdByName(className.c_str());
    if (cls == 0) return;
    const DataClass& shape = shapeOf(cls);
    for (RepId object : partnersOf(item, bookkeeping_.thingRole)) {
      // An object two items hold is written once, under the first.
      if (!written_.insert(object).second) continue;
      sections_.addObject(object, className);
      sections_.addValues(object, shape.attributes, mode_);
      for (const RoleShape& role : shape.roles) {
        const std::uint32_t count = GetLinkedObjectNum(object, role.linkType);
        for (std::uint32_t i = 0; i < count; ++i) {
          const RepId partner = GetLinkedObjectIdByIndex(object, role.linkType, i);
          if (isExported(partner)) sections_.addLink(object, role.name, partner);
        }
      }
    }
  }

  const Bookkeeping& bookkeeping_;
  ValueMode mode_;
  std::unordered_set<RepId> taken_;
  std::unordered_set<RepId> written_;
  std::unordered_map<RepId, DataClass> shapes_;
  Sections sections_;
};

// ---- the full writer

struct Selection {
  RepId cls = 0;
  std::string name;
  std::vector<RepId> objects;  // of exactly the class, in the store's order
};

// The positions an instance list names; ALL for "*".
bool selected(const std::unordered_set<std::uint32_t>& positions, bool all, std::uint32_t i) {
  return all || positions.count(i) != 0;
}

Selection select(std::string_view name, std::string_view instances) {
  Selection selection;
  selection.name = std::string(name);
  selection.cls = GetObjectTypeIdByName(selection.name.c_str());
  if (selection.cls == 0) return selection;
  const bool all = instances == "*";
  std::unordered_set<std::uint32_t> positions;
  while (!all && !instances.empty()) {
    const auto comma = instances.find(',');
    const std::string_view item = instances.substr(0, comma);
    std::uint32_t n = 0;
    if (std::from_chars(item.data(), item.data() + item.size(), n).ec == std::errc())
      positions.insert(n);
    instances = comma == std::string_view::npos ? std::string_view() : instances.substr(comma + 1);
  }
  const std::uint32_t count = GetObjectNum(selection.cls);
  for (std::uint32_t i = 0; i < count; ++i) {
    const RepId object = GetObjectIdByIndex(selection.cls, i);
    if (GetObjectTypeId(object) == selection.cls && selected(positions, all, i))
      selection.objects.push_back(object);
  }
  return selection;
}

// "A(0,1)B()C(*)"
std::vector<Selection> parseSpec(std::string_view spec) {
  std::vector<Selection> selections;
  while (!spec.empty()) {
    const auto open = spec.find('(');
    const auto close = spec.find(')', open == std::string_view::npos ? 0 : open);
    if (open == std::string_view::npos || close == std::string_view::npos) break;
    Selection selection = select(spec.substr(0, open), spec.substr(open + 1, close - open - 1));
    if (selection.cls != 0) selections.push_back(std::move(selection));
    spec.remove_prefix(close + 1);
  }
  return selections;
}

class FullWriter {
 public:
  explicit FullWriter(ValueMode mode) : mode_(mode) {}

  std::string run(std::string_view spec, WriteCounts* counts) {
    selections_ = parseSpec(spec);
    for (const Selection& selection : selections_) {
      taken_.insert(selection.cls);
      chosen_.insert(selection.objects.begin(), selection.objects.end());
    }
    for (const Selection& selection : selections_) writeClass(selection);
    if (counts) *counts = sections_.counts;
    return sections_.text();
  }

 private:
  void writeClass(const Selection& selection) {
    const RepId cls = selection.cls;
    declare(sections_.classes, " addClass " + selection.name + ";\n");
    const RepId super = GetExtendsId(cls);
    if (super != 0 && taken_.count(super))
      declare(sections_.generalisations,
              " addRel " + selection.name + ".subClassOf." + nameOf(super) + ";\n");
    writeAttributes(selection.name, cls, super);
    const std::vector<AttributeShape> attributes = attributesOf(cls);
    for (RepId object : selection.objects) {
      sections_.addObject(object, selection.name);
      sections_.addValues(object, attributes, mode_);
    }
    for (RepId linkType : idsOf(GetLinkTypeIdList(cls))) {
      RepId start = 0, end = 0, inverse = 0;
      GetLinkTypeAttributes1(linkType, &start, &end, &inverse);
      if (start != cls || !taken_.count(end) || written_.count(linkType)) continue;
      written_.insert(linkType);
      written_.insert(inverse);
      declare(sections_.associations, associationLine(linkType));
      writeLinks(nameOf(linkType).empty() && inverse != 0 ? inverse : linkType);
    }
  }

  void declare(std::string& section, const std::string& line) {
    section += line;
    ++sections_.counts.statements;
  }

  // Those of the class's own attributes that its direct superclass lacks.
  void writeAttributes(const std::string& name, RepId cls, RepId super) {
    std::unordered_set<RepId> inherited;
    if (super != 0)
      for (RepId attr : idsOf(GetPropertyTypeIdList(super))) inherited.insert(attr);
    for (RepId attr : idsOf(GetPropertyTypeIdList(cls))) {
      if (inherited.count(attr)) continue;
      declare(sections_.attributes, " addAttr " + name + '.' + nameOf(attr) + ':' +
                                        std::string(baseTypeText(attr)) + ";\n");
    }
  }

  // Every link over LINKTYPE from a chosen object of its start class (or a
  // subclass) to a chosen object.
  void writeLinks(RepId linkType) {
    const std::string role = nameOf(linkType);
    if (role.empty()) return;
    RepId start = 0, end = 0, inverse = 0;
    GetLinkTypeAttributes1(linkType, &start, &end, &inverse);
    for (const Selection& selection : selections_) {
      if (!ExtendsExtends(selection.cls, start)) continue;
      for (RepId object : selection.objects)
        for (RepId partner : partnersOf(object, linkType))
          if (chosen_.count(partner)) sections_.addLink(object, role, partner);
    }
  }

  ValueMode mode_;
  std::vector<Selection> selections_;
  std::unordered_set<RepId> taken_;
  std::unordered_set<RepId> chosen_;
  // Types written: a class or a link type and its inverse, each once.
  std::unordered_set<RepId> written_;
  Sections sections_;
};

ExchangeWrite& lastWrite() {
  // Never freed: a host may end with the libraries that read it still loaded.
  static ExchangeWrite* last = new ExchangeWrite();
  return *last;
}

}  // namespace

void appendValue(std::string& out, std::string_view value, bool isString, ValueMode mode) {
  if (isString) out += '"';
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (mode == ValueMode::Escaping && (c == '"' || c == '\\')) out += '\\';
    out += c;
    if (c == ';' && i + 1 < value.size() && value[i + 1] == '\n') out += ' ';
  }
  if (isString) out += '"';
}

std::string_view multiplicityText(int code) {
  switch (code) {
    case REP_MULT_ZERO_ONE:
      return "0..1";
    case REP_MULT_ONE:
      return "1";
    case REP_MULT_ONE_MANY:
      return "1..n";
    default:
      return "*";
  }
}

namespace {

// E.{ordered}[m]r/r'[m']{ordered}.S for the link type r from S to E.
std::string associationBody(RepId linkType) {
  RepId start = 0, end = 0, inverse = 0;
  GetLinkTypeAttributes1(linkType, &start, &end, &inverse);
  int endMultiplicity = 0, endOrdered = 0, startMultiplicity = 0, startOrdered = 0;
  GetLinkTypeAttributes3(linkType, &endMultiplicity, &endOrdered);
  GetLinkTypeAttributes3(inverse, &startMultiplicity, &startOrdered);
  const std::string_view ordered = "{ordered}";
  std::string body = nameOf(end) + '.';
  if (endOrdered) body += ordered;
  body += '[' + std::string(multiplicityText(endMultiplicity)) + ']';
  body += nameOf(linkType) + '/' + nameOf(inverse);
  body += '[' + std::string(multiplicityText(startMultiplicity)) + ']';
  if (startOrdered) body += ordered;
  return body + '.' + nameOf(start) + ";\n";
}

}  // namespace

std::string associationLine(RepId linkType) {
  int kind = 0, compositionRole = 0;
  GetLinkTypeAttributes2(linkType, &kind, &compositionRole);
  if (kind == REP_KIND_ASSOCIATION) return " addAssoc " + associationBody(linkType);
  if (kind == REP_KIND_COMPOSITION && compositionRole == REP_COMPOS_WHOLE)
    return " addCompos " + associationBody(linkType);
  return " addCompos " + associationBody(GetInverseLinkTypeId(linkType));
}

std::optional<Bookkeeping> lookUpBookkeeping() {
  Bookkeeping b;
  auto missing = [](const std::string& text) {
    gr::showMessageBox("Error! " + text);
    return std::nullopt;
  };
  if (!(b.thing = GetObjectTypeIdByName("Thing"))) return missing("Class not found - Thing");
  if (!(b.exportItemRole = GetLinkTypeIdByName(b.thing, "exportItem")))
    return missing("Association not found - Thing.exportItem");
  if (!(b.exportItem = GetObjectTypeIdByName("ExportItem")))
    return missing("Class not found - ExportItem");
  if (!(b.className = GetPropertyTypeIdByName(b.exportItem, "className")))
    return missing("Attribute not found - ExportItem.className");
  if (!(b.linkedObject = GetObjectTypeIdByName("LinkedObject")))
    return missing("Class not found - LinkedObject");
  if (!(b.id = GetPropertyTypeIdByName(b.linkedObject, "id")))
    return missing("Attribute not found - LinkedObject.id");
  if (!(b.linkedObjectRole = GetLinkTypeIdByName(b.thing, "linkedObject")))
    return missing("Association not found - Thing.linkedObject");
  b.thingRole = GetInverseLinkTypeId(b.exportItemRole);
  b.instances = GetPropertyTypeIdByName(b.exportItem, "instances");
  return b;
}

std::string writeDataText(ValueMode mode, WriteCounts* counts) {
  const auto bookkeeping = lookUpBookkeeping();
  if (!bookkeeping) return "";
  return DataWriter(*bookkeeping, mode).run(counts);
}

std::string writeFullText(std::string_view spec, ValueMode mode, WriteCounts* counts) {
  if (!lookUpBookkeeping()) return "";
  return FullWriter(mode).run(spec, counts);
}

std::string exchangeFilePath(const std::string& name) {
  const std::string folder = L0_Func_GetProjectPath();
  return folder.empty() ? name : (std::filesystem::path(folder) / name).string();
}

bool writeExchangeFile(const std::string& text, const std::string& fileName,
                       const WriteCounts& counts) {
  ExchangeWrite& record = lastWrite();
  const std::size_t run = record.run + 1;
  record = ExchangeWrite();
  record.run = run;
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out || !out.flush()) {
    gr::showMessageBox("Can not open file " + fileName);
    return false;
  }
  std::error_code error;
  const auto absolute = std::filesystem::absolute(fileName, error);
  record.written = true;
  record.file = error ? fileName : absolute.string();
  record.counts = counts;
  record.bytes = text.size();
  return true;
}

const ExchangeWrite& lastExchangeWrite() {
  return lastWrite();
}

}  // namespace gr::exchange
