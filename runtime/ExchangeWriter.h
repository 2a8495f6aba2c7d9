// The writers of exchange texts: the text forms (header, declarations,
// statement sections, footer, values, association lines) and the two walks
// over the export bookkeeping that produce a whole text. The data writer
// writes the objects that `ExportItem`s hold with their values and the links
// among them; the full writer also declares the classes, attributes and
// associations, for the objects an instance list selects.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/repository.h"

namespace gr::exchange {

inline constexpr std::string_view kTextHeader =
    "transformation ADD_METAMODEL_AND_DATA;\n\nmain procedure metamodel_and_data();\n";
inline constexpr std::string_view kTextBegin = "begin;\n";
inline constexpr std::string_view kTextFooter = "end;\n\nendTransformation;\n";

// Import mode writes values as they stand; escaping mode puts a backslash
// before every double quote and backslash. Both put a blank between a
// semicolon and the line feed after it, so that no value ends a statement.
enum class ValueMode { Import, Escaping };

// Appends VALUE as a setAttr line writes it: between double quotes for a
// String attribute, bare otherwise.
void appendValue(std::string& out, std::string_view value, bool isString, ValueMode mode);
// "0..1", "*", "1", "1..n" for the store's multiplicity codes.
std::string_view multiplicityText(int code);
// The " addAssoc " or " addCompos " line of a link type and its inverse.
std::string associationLine(RepId linkType);

// The classes, roles and attributes of the export bookkeeping.
struct Bookkeeping {
  RepId thing = 0;
  RepId exportItemRole = 0;  // Thing.exportItem
  RepId exportItem = 0;
  RepId className = 0;  // ExportItem.className
  RepId linkedObject = 0;
  RepId id = 0;                // LinkedObject.id
  RepId linkedObjectRole = 0;  // Thing.linkedObject
  RepId thingRole = 0;         // ExportItem.thing
  RepId instances = 0;         // ExportItem.instances
};
// Looks them up in this order: class Thing, Thing.exportItem, class
// ExportItem, ExportItem.className, class LinkedObject, LinkedObject.id,
// Thing.linkedObject. The first one missing shows "Error! Class not found -
// Thing" (and so on) and gives nothing.
std::optional<Bookkeeping> lookUpBookkeeping();

// What a writer wrote.
struct WriteCounts {
  std::size_t objects = 0;
  std::size_t statements = 0;  // the lines between "begin;" and "end;"
};

// The data writer: for every ExportItem in the store's order and every
// object it holds over `thing`, a declaration, an addObj line with the
// item's className, a setAttr line per attribute of that class, and an
// addLink line per link to an exported object (one with an `exportItem`)
// over a role whose far class has an ExportItem. The whole text; "" when the
// bookkeeping is missing.
std::string writeDataText(ValueMode mode, WriteCounts* counts = nullptr);

// The full writer. SPEC is the concatenation of className "(" instances ")"
// over the ExportItems; instances lists 0-based positions among the objects
// of the class, or "*" for all of them. The whole text.
std::string writeFullText(std::string_view spec, ValueMode mode, WriteCounts* counts = nullptr);

// Where the exchange file NAME lies: in the project folder, which the host
// means as the library's current folder (the current folder when the host
// names no project).
std::string exchangeFilePath(const std::string& name);

// Writes TEXT to FILENAME and records the write; a
// file that cannot be opened shows "Can not open file " + FILENAME.
bool writeExchangeFile(const std::string& text, const std::string& fileName,
                       const WriteCounts& counts);

// The last exchange text written in this process, so that a host learns what
// an export transformation wrote.
struct ExchangeWrite {
  std::size_t run = 0;  // counts the writes of this process, from 1
  bool written = false;
  std::string file;  // absolute
  WriteCounts counts;
  std::size_t bytes = 0;
};
const ExchangeWrite& lastExchangeWrite();

}  // namespace gr::exchange
