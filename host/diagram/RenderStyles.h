// What the model's styles say about the look of elements and texts, read
// once per style and kept: fill and outline of boxes, lines with their end
// shapes, fonts of compartment texts. Colours come as the model keeps them
// (0x00BBGGRR in decimal) and leave as SVG colours. See docs/rendering.md.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/repository.h"

namespace grhost::render {

// "#RRGGBB" for a model colour; "none" for a value outside 0..0xFFFFFF;
// FALLBACK when the value is empty or no number.
std::string svgColour(const std::string& modelValue, const std::string& fallback);
// The model's integer text; FALLBACK when empty or no number.
int modelInteger(const std::string& text, int fallback);
// "true" or "1".
bool modelTrue(const std::string& text);

struct Stroke {
  std::string colour = "#000000";
  int width = 1;
  int dash = 0;  // dash and break lengths; both above 0 make a dashed line
  int gap = 0;
  bool dashed() const { return dash > 0 && gap > 0; }
};

struct BoxLook {
  int shapeCode = 1;
  std::string fill = "#FFFFFF";
  Stroke stroke;
  int width = 0;  // the style's size; 0 when it gives none
  int height = 0;
  std::string picture;
  int pictureWidth = 0;
  int pictureHeight = 0;
};

struct EndLook {
  int shapeCode = 1;
  std::string fill = "#FFFFFF";
  Stroke stroke;
};

struct LineLook {
  int lineType = 1;
  Stroke stroke;
  EndLook start, middle, end;
};

enum class Alignment { Left, Centre, Right };

struct TextLook {
  bool visible = true;
  std::string face = "Arial";
  double sizePx = 12;  // the model's points at 96 dots per inch
  bool bold = false, italic = false, underline = false, strikeOut = false;
  std::string colour = "#000000";
  Alignment alignment = Alignment::Left;
  // A picture stands in a row of its own above the text.
  std::string picture;
  int pictureWidth = 16;
  int pictureHeight = 16;
  double lineHeight() const { return sizePx * 1.25; }
  double pictureRowHeight() const { return picture.empty() ? 0 : pictureHeight + 2; }
};

// A top-level compartment's text as the element shows it.
struct ShownText {
  RepId compartment = 0;
  std::vector<std::string> lines;
  const TextLook* look = nullptr;
};

class StyleBook {
 public:
  const BoxLook& boxLook(RepId style);
  const LineLook& lineLook(RepId style);
  const TextLook& textLook(RepId compartStyle);
  // The texts of the element's visible top-level compartments, in link
  // order; empty texts are left out unless their style shows a picture.
  std::vector<ShownText> shownTexts(RepId element);
  // The height the element's texts take.
  double textHeight(const std::vector<ShownText>& texts) const;
  // About the width of the longest line (no font metrics: an average
  // character width).
  double textWidth(const std::vector<ShownText>& texts) const;

 private:
  std::map<RepId, BoxLook> boxes_;
  std::map<RepId, LineLook> lines_;
  std::map<RepId, TextLook> texts_;
};

}  // namespace grhost::render
