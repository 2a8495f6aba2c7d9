#include "host/diagram/RenderStyles.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "host/base/Model.h"

namespace grhost::render {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool parseInteger(const std::string& text, long long& value) {
  std::size_t begin = text.find_first_not_of(' ');
  std::size_t end = text.find_last_not_of(' ');
  if (begin == std::string::npos) return false;
  auto [stop, error] = std::from_chars(text.data() + begin, text.data() + end + 1, value);
  return error == std::errc() && stop == text.data() + end + 1;
}

std::string hexColour(std::uint32_t bgr) {
  std::uint32_t channels[] = {bgr & 0xFFu, (bgr >> 8) & 0xFFu, (bgr >> 16) & 0xFFu};
  std::string text = "#";
  for (std::uint32_t channel : channels) {
    text += kHexDigits[channel >> 4];
    text += kHexDigits[channel & 0xFu];
  }
  return text;
}

// "lineColor", or "startLineColor" for the prefix "start".
std::string attributeName(const std::string& prefix, std::string name) {
  if (prefix.empty()) return name;
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return prefix + name;
}

Stroke readStroke(RepId style, const std::string& prefix, const Stroke& fallback) {
  auto name = [&](const char* attribute) { return attributeName(prefix, attribute); };
  Stroke stroke;
  stroke.colour = svgColour(model::attribute(style, name("lineColor")), fallback.colour);
  stroke.width =
      std::max(1, modelInteger(model::attribute(style, name("lineWidth")), fallback.width));
  stroke.dash = modelInteger(model::attribute(style, name("dashLength")), 0);
  stroke.gap = modelInteger(model::attribute(style, name("breakLength")), 0);
  return stroke;
}

EndLook readEnd(RepId style, const std::string& prefix, const Stroke& line) {
  EndLook end;
  end.shapeCode = modelInteger(model::attribute(style, prefix + "ShapeCode"), 1);
  end.fill = svgColour(model::attribute(style, prefix + "BkgColor"), "#FFFFFF");
  end.stroke = readStroke(style, prefix, line);
  return end;
}

// Bits of the font style: bold, italic, underline, strike-out.
void readFontStyle(int bits, TextLook& look) {
  look.bold = (bits & 1) != 0;
  look.italic = (bits & 2) != 0;
  look.underline = (bits & 4) != 0;
  look.strikeOut = (bits & 8) != 0;
}

Alignment readAlignment(int code) {
  switch (code) {
    case 1:
      return Alignment::Centre;
    case 2:
      return Alignment::Right;
    default:
      return Alignment::Left;
  }
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    std::size_t cut = text.find('\n', start);
    std::string line =
        text.substr(start, cut == std::string::npos ? std::string::npos : cut - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (cut == std::string::npos) return lines;
    start = cut + 1;
  }
}

RepId compartmentStyle(RepId compartment) {
  if (RepId style = model::firstPartner(compartment, "compartStyle")) return style;
  return model::firstPartner(model::firstPartner(compartment, "compartType"), "compartStyle");
}

}  // namespace

std::string svgColour(const std::string& modelValue, const std::string& fallback) {
  long long value = 0;
  if (!parseInteger(modelValue, value)) return fallback;
  if (value < 0 || value > 0xFFFFFF) return "none";
  return hexColour(static_cast<std::uint32_t>(value));
}

int modelInteger(const std::string& text, int fallback) {
  long long value = 0;
  if (!parseInteger(text, value) || value < std::numeric_limits<int>::min() ||
      value > std::numeric_limits<int>::max())
    return fallback;
  return static_cast<int>(value);
}

bool modelTrue(const std::string& text) {
  return text == "true" || text == "1";
}

const BoxLook& StyleBook::boxLook(RepId style) {
  auto [at, inserted] = boxes_.try_emplace(style);
  if (!inserted || !style) return at->second;
  BoxLook& look = at->second;
  look.shapeCode = modelInteger(model::attribute(style, "shapeCode"), 1);
  look.fill = svgColour(model::attribute(style, "bkgColor"), look.fill);
  look.stroke = readStroke(style, "", look.stroke);
  look.width = modelInteger(model::attribute(style, "width"), 0);
  look.height = modelInteger(model::attribute(style, "height"), 0);
  look.picture = model::attribute(style, "picture");
  look.pictureWidth = modelInteger(model::attribute(style, "picWidth"), 0);
  look.pictureHeight = modelInteger(model::attribute(style, "picHeight"), 0);
  return look;
}

const LineLook& StyleBook::lineLook(RepId style) {
  auto [at, inserted] = lines_.try_emplace(style);
  if (!inserted || !style) return at->second;
  LineLook& look = at->second;
  look.lineType = modelInteger(model::attribute(style, "lineType"), 1);
  look.stroke = readStroke(style, "", look.stroke);
  look.start = readEnd(style, "start", look.stroke);
  look.middle = readEnd(style, "middle", look.stroke);
  look.end = readEnd(style, "end", look.stroke);
  return look;
}

const TextLook& StyleBook::textLook(RepId compartStyle) {
  auto [at, inserted] = texts_.try_emplace(compartStyle);
  if (!inserted || !compartStyle) return at->second;
  TextLook& look = at->second;
  std::string visible = model::attribute(compartStyle, "isVisible");
  look.visible = visible != "0" && visible != "false";
  std::string face = model::attribute(compartStyle, "fontTypeFace");
  if (!face.empty()) look.face = face;
  look.sizePx = modelInteger(model::attribute(compartStyle, "fontSize"), 9) * 4.0 / 3.0;
  readFontStyle(modelInteger(model::attribute(compartStyle, "fontStyle"), 0), look);
  look.colour = svgColour(model::attribute(compartStyle, "fontColor"), look.colour);
  look.alignment = readAlignment(modelInteger(model::attribute(compartStyle, "alignment"), 0));
  look.picture = model::attribute(compartStyle, "picture");
  look.pictureWidth = std::max(modelInteger(model::attribute(compartStyle, "picWidth"), 0), 0);
  look.pictureHeight = std::max(modelInteger(model::attribute(compartStyle, "picHeight"), 0), 0);
  if (look.pictureWidth == 0) look.pictureWidth = 16;
  if (look.pictureHeight == 0) look.pictureHeight = 16;
  return look;
}

std::vector<ShownText> StyleBook::shownTexts(RepId element) {
  std::vector<ShownText> texts;
  for (RepId compartment : model::partners(element, "compartment")) {
    if (modelTrue(model::attribute(compartment, "isInvisible"))) continue;
    const TextLook& look = textLook(compartmentStyle(compartment));
    if (!look.visible) continue;
    std::string text = model::attribute(compartment, "input");
    if (text.empty()) text = model::attribute(compartment, "value");
    if (text.empty() && look.picture.empty()) continue;
    texts.push_back(
        {compartment, text.empty() ? std::vector<std::string>{} : splitLines(text), &look});
  }
  return texts;
}

namespace {
std::size_t characterCount(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}
}  // namespace

double StyleBook::textWidth(const std::vector<ShownText>& texts) const {
  double widest = 0;
  for (const ShownText& text : texts) {
    double perCharacter = text.look->sizePx * (text.look->bold ? 0.62 : 0.56);
    for (const std::string& line : text.lines)
      widest = std::max(widest, characterCount(line) * perCharacter);
    if (!text.look->picture.empty()) widest = std::max(widest, text.look->pictureWidth + 0.0);
  }
  return widest;
}

double StyleBook::textHeight(const std::vector<ShownText>& texts) const {
  double height = 0;
  for (const ShownText& text : texts)
    height += text.look->pictureRowHeight() + text.lines.size() * text.look->lineHeight();
  return height;
}

}  // namespace grhost::render
