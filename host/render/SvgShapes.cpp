#include "host/render/SvgShapes.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace grhost::render {
namespace {

using geometry::Box;
using geometry::Polyline;

enum BoxShape {
  kRectangle = 1,
  kRoundedRectangle = 2,
  kEllipse = 3,
  kDiamond = 4,
  kHexagon = 5,
  kOctagon = 6,
  kParallelogram = 7,
  kTriangle = 8,
  kNote = 9,
  kCircle = 10,
  kCylinder = 11,
  kFolder = 12,
};

enum EndShape {
  kNoEnd = 1,
  kDot = 2,
  kOpenArrow = 3,
  kFilledArrow = 4,
  kFilledDiamond = 5,
  kHollowCircle = 6,
  kBar = 7,
  kCrowsFoot = 8,
  kHollowDiamond = 10,
  kHollowTriangle = 11,
};

constexpr const char* kUnknownColour = "#FF0000";

struct XY {
  double x, y;
};

std::string pointList(const std::vector<XY>& points) {
  std::string text;
  for (const XY& point : points) {
    if (!text.empty()) text += ' ';
    text += number(point.x) + "," + number(point.y);
  }
  return text;
}

std::string shapeName(int code) {
  static const char* const kNames[] = {
      "",        "rectangle",     "rounded-rectangle", "ellipse", "diamond", "hexagon",
      "octagon", "parallelogram", "triangle",          "note",    "circle",  "cylinder",
      "folder"};
  return isKnownBoxShape(code) ? kNames[code] : "unknown";
}

// The presentation attributes every outline carries.
struct Paint {
  std::string fill, stroke, width, dash;
};

Paint paintOf(const std::string& fill, const Stroke& stroke) {
  return {fill, stroke.colour, number(stroke.width), dashArray(stroke)};
}

void polygon(SvgWriter& svg, const std::vector<XY>& points, const Paint& paint,
             const std::string& cls) {
  svg.empty("polygon", {{"class", cls},
                        {"points", pointList(points)},
                        {"fill", paint.fill},
                        {"stroke", paint.stroke},
                        {"stroke-width", paint.width},
                        {"stroke-dasharray", paint.dash}});
}

void path(SvgWriter& svg, const std::string& d, const Paint& paint, const std::string& cls) {
  svg.empty("path", {{"class", cls},
                     {"d", d},
                     {"fill", paint.fill},
                     {"stroke", paint.stroke},
                     {"stroke-width", paint.width},
                     {"stroke-dasharray", paint.dash}});
}

void rectangle(SvgWriter& svg, const Box& box, const Paint& paint, const std::string& cls,
               double corner = 0) {
  svg.empty("rect", {{"class", cls},
                     {"x", number(box.x)},
                     {"y", number(box.y)},
                     {"width", number(box.w)},
                     {"height", number(box.h)},
                     {"rx", corner > 0 ? number(corner) : ""},
                     {"fill", paint.fill},
                     {"stroke", paint.stroke},
                     {"stroke-width", paint.width},
                     {"stroke-dasharray", paint.dash}});
}

void ellipse(SvgWriter& svg, double cx, double cy, double rx, double ry, const Paint& paint,
             const std::string& cls) {
  svg.empty("ellipse", {{"class", cls},
                        {"cx", number(cx)},
                        {"cy", number(cy)},
                        {"rx", number(rx)},
                        {"ry", number(ry)},
                        {"fill", paint.fill},
                        {"stroke", paint.stroke},
                        {"stroke-width", paint.width},
                        {"stroke-dasharray", paint.dash}});
}

void drawCylinder(SvgWriter& svg, const Box& b, const Paint& paint, const std::string& cls) {
  double rx = b.w / 2.0, ry = std::min(b.h / 6.0, 10.0);
  std::string arc = " A " + number(rx) + " " + number(ry) + " 0 0 1 ";
  path(svg,
       "M " + number(b.x) + " " + number(b.y + ry) + arc + number(b.right()) + " " +
           number(b.y + ry) + " V " + number(b.bottom() - ry) + arc + number(b.x) + " " +
           number(b.bottom() - ry) + " Z",
       paint, cls);
  ellipse(svg, b.x + rx, b.y + ry, rx, ry, paint, cls + "-top");
}

void drawNote(SvgWriter& svg, const Box& b, const Paint& paint, const std::string& cls) {
  double fold = std::min({12.0, b.w / 4.0, b.h / 4.0});
  polygon(svg,
          {{b.x + 0.0, b.y + 0.0},
           {b.right() - fold, b.y + 0.0},
           {b.right() + 0.0, b.y + fold},
           {b.right() + 0.0, b.bottom() + 0.0},
           {b.x + 0.0, b.bottom() + 0.0}},
          paint, cls);
  Paint foldPaint = paint;
  foldPaint.fill = "none";
  path(svg,
       "M " + number(b.right() - fold) + " " + number(b.y) + " V " + number(b.y + fold) + " H " +
           number(b.right()),
       foldPaint, cls + "-fold");
}

void drawFolder(SvgWriter& svg, const Box& b, const Paint& paint, const std::string& cls) {
  int tab = std::min(b.h / 4, 10), tabWidth = std::min(b.w / 3, 40);
  rectangle(svg, {b.x, b.y, tabWidth, tab}, paint, cls + "-tab");
  rectangle(svg, {b.x, b.y + tab, b.w, b.h - tab}, paint, cls);
}

std::vector<XY> polygonPoints(int code, const Box& b) {
  double x = b.x, y = b.y, r = b.right(), bottom = b.bottom(), cx = x + b.w / 2.0,
         cy = y + b.h / 2.0;
  switch (code) {
    case kDiamond:
      return {{cx, y}, {r, cy}, {cx, bottom}, {x, cy}};
    case kHexagon: {
      double d = std::min(b.w / 4.0, b.h / 2.0);
      return {{x + d, y}, {r - d, y}, {r, cy}, {r - d, bottom}, {x + d, bottom}, {x, cy}};
    }
    case kOctagon: {
      double d = std::min(b.w, b.h) * 0.29;
      return {{x + d, y},      {r - d, y},      {r, y + d},      {r, bottom - d},
              {r - d, bottom}, {x + d, bottom}, {x, bottom - d}, {x, y + d}};
    }
    case kParallelogram: {
      double d = std::min(b.w / 4.0, b.h / 2.0);
      return {{x + d, y}, {r, y}, {r - d, bottom}, {x, bottom}};
    }
    default:
      return {{cx, y}, {r, bottom}, {x, bottom}};
  }
}

void drawUnknownShape(SvgWriter& svg, const Box& box, const BoxLook& look) {
  Stroke warning{kUnknownColour, 1, 4, 3};
  rectangle(svg, box, paintOf(look.fill, warning), "shape unknown-shape");
  svg.textElement("text",
                  {{"class", "unknown-shape-note"},
                   {"x", number(box.x + 3)},
                   {"y", number(box.bottom() - 3)},
                   {"font-size", "9"},
                   {"fill", kUnknownColour}},
                  "shape " + std::to_string(look.shapeCode) + "?");
}

// ---- line ends

XY along(const Heading& at, double back, double side) {
  // BACK runs against the heading, SIDE to its left.
  return {at.x - at.dx * back - at.dy * side, at.y - at.dy * back + at.dx * side};
}

void drawUnknownEnd(SvgWriter& svg, const Heading& at, const EndLook& look,
                    const std::string& cls) {
  XY centre = along(at, 6, 0);
  Stroke warning{kUnknownColour, 1, 2, 2};
  rectangle(svg,
            {static_cast<int>(std::lround(centre.x)) - 5,
             static_cast<int>(std::lround(centre.y)) - 5, 10, 10},
            paintOf(look.fill, warning), cls + " unknown-end");
}

}  // namespace

bool isKnownBoxShape(int shapeCode) {
  return shapeCode >= kRectangle && shapeCode <= kFolder;
}

bool isKnownEndShape(int shapeCode) {
  return shapeCode == 0 || (shapeCode >= kNoEnd && shapeCode <= kCrowsFoot) ||
         shapeCode == kHollowDiamond || shapeCode == kHollowTriangle;
}

std::string dashArray(const Stroke& stroke) {
  return stroke.dashed() ? number(stroke.dash) + " " + number(stroke.gap) : "";
}

void drawBoxShape(SvgWriter& svg, const Box& box, const BoxLook& look) {
  if (!isKnownBoxShape(look.shapeCode)) return drawUnknownShape(svg, box, look);
  Paint paint = paintOf(look.fill, look.stroke);
  std::string cls = "shape " + shapeName(look.shapeCode);
  switch (look.shapeCode) {
    case kRectangle:
      return rectangle(svg, box, paint, cls);
    case kRoundedRectangle:
      return rectangle(svg, box, paint, cls, std::min(12.0, std::min(box.w, box.h) / 4.0));
    case kEllipse:
      return ellipse(svg, box.x + box.w / 2.0, box.y + box.h / 2.0, box.w / 2.0, box.h / 2.0, paint,
                     cls);
    case kCircle: {
      double radius = std::min(box.w, box.h) / 2.0;
      return ellipse(svg, box.x + box.w / 2.0, box.y + box.h / 2.0, radius, radius, paint, cls);
    }
    case kNote:
      return drawNote(svg, box, paint, cls);
    case kCylinder:
      return drawCylinder(svg, box, paint, cls);
    case kFolder:
      return drawFolder(svg, box, paint, cls);
    default:
      return polygon(svg, polygonPoints(look.shapeCode, box), paint, cls);
  }
}

namespace {
Heading headingAt(geometry::Point tip, geometry::Point from) {
  double dx = tip.x - from.x, dy = tip.y - from.y, length = std::hypot(dx, dy);
  if (length < 1e-9) return {static_cast<double>(tip.x), static_cast<double>(tip.y), 1, 0};
  return {static_cast<double>(tip.x), static_cast<double>(tip.y), dx / length, dy / length};
}
}  // namespace

Heading startHeading(const Polyline& line) {
  if (line.size() < 2) return {};
  std::size_t next = 1;
  while (next + 1 < line.size() && line[next] == line[0]) ++next;
  return headingAt(line[0], line[next]);
}

Heading endHeading(const Polyline& line) {
  if (line.size() < 2) return {};
  std::size_t last = line.size() - 1, previous = last - 1;
  while (previous > 0 && line[previous] == line[last]) --previous;
  return headingAt(line[last], line[previous]);
}

Heading middleHeading(const Polyline& line) {
  if (line.size() < 2) return {};
  double total = 0;
  for (std::size_t i = 1; i < line.size(); ++i)
    total += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
  double remaining = total / 2;
  for (std::size_t i = 1; i < line.size(); ++i) {
    double dx = line[i].x - line[i - 1].x, dy = line[i].y - line[i - 1].y,
           length = std::hypot(dx, dy);
    if (length > 0 && length >= remaining) {
      double t = remaining / length;
      return {line[i - 1].x + dx * t, line[i - 1].y + dy * t, dx / length, dy / length};
    }
    remaining -= length;
  }
  return headingAt(line.back(), line.front());
}

void drawEndShape(SvgWriter& svg, const Heading& at, const EndLook& look, std::string_view role) {
  std::string cls = "end " + std::string(role) + "-end";
  if (look.shapeCode == kNoEnd || look.shapeCode == 0) return;
  if (!isKnownEndShape(look.shapeCode)) return drawUnknownEnd(svg, at, look, cls);
  double grow = 2.0 * (look.stroke.width - 1);
  double length = 12 + grow, half = 5 + grow / 2;
  Paint filled = paintOf(look.stroke.colour, look.stroke);
  Paint hollow = paintOf(look.fill, look.stroke);
  Paint open = paintOf("none", look.stroke);
  XY tip{at.x, at.y};
  switch (look.shapeCode) {
    case kOpenArrow:
      return path(svg,
                  "M " + pointList({along(at, length, half)}) + " L " + pointList({tip}) + " L " +
                      pointList({along(at, length, -half)}),
                  open, cls + " open-arrow");
    case kFilledArrow:
      return polygon(svg, {tip, along(at, length, half), along(at, length, -half)}, filled,
                     cls + " filled-arrow");
    case kHollowTriangle:
      return polygon(svg, {tip, along(at, length + 2, half + 2), along(at, length + 2, -half - 2)},
                     hollow, cls + " hollow-triangle");
    case kFilledDiamond:
    case kHollowDiamond:
      return polygon(
          svg,
          {tip, along(at, length * 0.75, half), along(at, length * 1.5, 0),
           along(at, length * 0.75, -half)},
          look.shapeCode == kFilledDiamond ? filled : hollow,
          cls + (look.shapeCode == kFilledDiamond ? " filled-diamond" : " hollow-diamond"));
    case kDot:
    case kHollowCircle: {
      double radius = look.shapeCode == kDot ? 3.5 + grow / 2 : half;
      XY centre = along(at, radius, 0);
      return ellipse(svg, centre.x, centre.y, radius, radius,
                     look.shapeCode == kDot ? filled : hollow,
                     cls + (look.shapeCode == kDot ? " dot" : " hollow-circle"));
    }
    case kBar:
      return path(
          svg,
          "M " + pointList({along(at, 6, half + 1)}) + " L " + pointList({along(at, 6, -half - 1)}),
          open, cls + " bar");
    default:
      return path(
          svg,
          "M " + pointList({along(at, length, 0)}) + " L " + pointList({along(at, 0, half + 1)}) +
              " M " + pointList({along(at, length, 0)}) + " L " + pointList({tip}) + " M " +
              pointList({along(at, length, 0)}) + " L " + pointList({along(at, 0, -half - 1)}),
          open, cls + " crows-foot");
  }
}

}  // namespace grhost::render
