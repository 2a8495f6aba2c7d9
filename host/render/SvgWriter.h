// A small streaming XML writer for SVG documents: every attribute value and
// text is escaped, and text that is not valid UTF-8 or holds characters XML
// forbids is repaired, so the document always parses.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace grhost::render {

struct Attribute {
  std::string_view name;
  std::string value;
};
using Attributes = std::initializer_list<Attribute>;

// Escapes the five XML specials; invalid UTF-8 bytes become U+FFFD and
// control characters other than tab, line feed and carriage return are
// dropped.
std::string escapeXml(std::string_view text);

// Numbers as SVG wants them: at most two decimals, no trailing zeros.
std::string number(double value);
std::string number(int value);

class SvgWriter {
 public:
  // A document starts with the XML declaration; a fragment (a piece of a
  // document sent on its own) without.
  enum class Start { Document, Fragment };
  explicit SvgWriter(Start start = Start::Document);
  // Attributes whose value is empty are left out.
  void open(std::string_view name, Attributes attributes = {});
  void close();
  void empty(std::string_view name, Attributes attributes = {});
  // An element holding only TEXT.
  void textElement(std::string_view name, Attributes attributes, std::string_view text);
  // Closes what is open and returns the document.
  std::string finish();

 private:
  void startTag(std::string_view name, Attributes attributes);
  void indent();

  std::string out_;
  std::vector<std::string> open_;
};

}  // namespace grhost::render
