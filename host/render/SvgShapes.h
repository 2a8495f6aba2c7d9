// The drawn shapes: box outlines by shape code, the decorations at the ends
// and in the middle of lines by end shape code. Codes the renderer does not
// know are drawn as a visible stand-in, never left out. The codes are listed
// in docs/rendering.md.
#pragma once

#include "host/diagram/Geometry.h"
#include "host/diagram/RenderStyles.h"
#include "host/render/SvgWriter.h"

namespace grhost::render {

bool isKnownBoxShape(int shapeCode);
bool isKnownEndShape(int shapeCode);

// Presentation attributes of a stroke: colour, width, dash pattern.
std::string dashArray(const Stroke& stroke);

// The box's outline in the look's shape, fill and stroke.
void drawBoxShape(SvgWriter& svg, const geometry::Box& box, const BoxLook& look);

// A point on a line and the direction the line runs there (unit length).
struct Heading {
  double x = 0, y = 0;
  double dx = 1, dy = 0;
};
// The first point, heading away from the line into the start element; the
// last point, heading into the end element; the middle, heading to the end.
Heading startHeading(const geometry::Polyline& line);
Heading endHeading(const geometry::Polyline& line);
Heading middleHeading(const geometry::Polyline& line);

// The decoration of one end: its tip at the heading's point, pointing along
// the heading. ROLE names the end in the class: "start", "middle", "end".
void drawEndShape(SvgWriter& svg, const Heading& at, const EndLook& look, std::string_view role);

}  // namespace grhost::render
