#include "host/render/SvgWriter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace grhost::render {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence at AT, 0 when there is none.
std::size_t validSequenceLength(std::string_view text, std::size_t at) {
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  std::uint8_t lead = byte(at);
  std::size_t length = lead < 0x80           ? 1
                       : (lead >> 5) == 0x6  ? 2
                       : (lead >> 4) == 0xE  ? 3
                       : (lead >> 3) == 0x1E ? 4
                                             : 0;
  if (length == 0 || at + length > text.size()) return 0;
  std::uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3Fu);
  }
  static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  bool overlong = code < kSmallest[length];
  bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  bool nonCharacter = code == 0xFFFE || code == 0xFFFF || code > 0x10FFFF;
  return overlong || surrogate || nonCharacter ? 0 : length;
}

void appendEscapedAscii(char c, std::string& out) {
  switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    case '\'':
      out += "&apos;";
      break;
    case '\t':
      out += "&#9;";
      break;
    case '\n':
      out += "&#10;";
      break;
    case '\r':
      out += "&#13;";
      break;
    default:
      if (static_cast<unsigned char>(c) >= 0x20) out += c;
  }
}

}  // namespace

std::string escapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = validSequenceLength(text, at);
    if (length == 0) {
      out += kReplacement;
      ++at;
    } else if (length == 1) {
      appendEscapedAscii(text[at++], out);
    } else {
      out.append(text.substr(at, length));
      at += length;
    }
  }
  return out;
}

std::string number(int value) {
  return std::to_string(value);
}

std::string number(double value) {
  double roundedValue = std::round(value * 100) / 100;
  if (roundedValue == std::floor(roundedValue) && std::abs(roundedValue) < 1e15)
    return std::to_string(static_cast<long long>(roundedValue));
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", roundedValue);
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();
  return text;
}

SvgWriter::SvgWriter(Start start) {
  if (start == Start::Document) out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
}

void SvgWriter::indent() {
  out_.append(open_.size() * 2, ' ');
}

void SvgWriter::startTag(std::string_view name, Attributes attributes) {
  indent();
  out_ += '<';
  out_ += name;
  for (const Attribute& attribute : attributes) {
    if (attribute.value.empty()) continue;
    out_ += ' ';
    out_ += attribute.name;
    out_ += "=\"";
    out_ += escapeXml(attribute.value);
    out_ += '"';
  }
}

void SvgWriter::open(std::string_view name, Attributes attributes) {
  startTag(name, attributes);
  out_ += ">\n";
  open_.emplace_back(name);
}

void SvgWriter::close() {
  if (open_.empty()) return;
  std::string name = std::move(open_.back());
  open_.pop_back();
  indent();
  out_ += "</" + name + ">\n";
}

void SvgWriter::empty(std::string_view name, Attributes attributes) {
  startTag(name, attributes);
  out_ += "/>\n";
}

void SvgWriter::textElement(std::string_view name, Attributes attributes, std::string_view text) {
  startTag(name, attributes);
  out_ += '>';
  out_ += escapeXml(text);
  out_ += "</";
  out_ += name;
  out_ += ">\n";
}

std::string SvgWriter::finish() {
  while (!open_.empty()) close();
  return std::move(out_);
}

}  // namespace grhost::render
