// Diagram geometry: boxes and polylines in diagram coordinates, their text
// form in an element's `location`, and the routes of lines between boxes.
//
// `location` of nodes, ports and free boxes: "X Y W H" (top-left corner and
// size); of edges and free lines: "X1 Y1 X2 Y2 ..." (a polyline). Integers,
// separated by blanks. See docs/geometry.md.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grhost::geometry {

// Coordinates and sizes lie within ±kMaxCoordinate: far beyond any drawing,
// and small enough that sums of them never overflow an int. A location with a
// number beyond it reads as no location.
constexpr int kMaxCoordinate = 100'000'000;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Box {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;

  int right() const { return x + w; }
  int bottom() const { return y + h; }
  Point centre() const { return {x + w / 2, y + h / 2}; }
  // Interiors intersect (touching edges do not overlap).
  bool overlaps(const Box& other) const;
  bool contains(const Box& inner) const;
  Box grownBy(int margin) const { return {x - margin, y - margin, w + 2 * margin, h + 2 * margin}; }
  friend bool operator==(const Box&, const Box&) = default;
};

using Polyline = std::vector<Point>;

// Four integers, sizes not negative; nothing else on the line.
std::optional<Box> parseBox(std::string_view text);
// At least two points, an even count of integers.
std::optional<Polyline> parsePolyline(std::string_view text);
std::string formatBox(const Box& box);
std::string formatPolyline(const Polyline& line);

// The smallest box holding every point.
Box boundsOf(const Polyline& line);
Box boundsOf(const Box& a, const Box& b);

// Where the ray from the box's centre towards TOWARD leaves the box; the
// middle of the right side when TOWARD is the centre itself.
Point borderPoint(const Box& box, Point toward);
// The point lies on the box's outline, within TOLERANCE.
bool onBorder(const Box& box, Point point, int tolerance = 1);
// The point DISTANCE along the outline, clockwise from the middle of the
// right side (so one point sits there, two sit right and left ...).
Point outlinePoint(const Box& box, double distance);
int perimeter(const Box& box);
// The point halfway along the polyline's length.
Point midpoint(const Polyline& line);

// Routes from one box's outline to another's. OFFSET moves a route sideways
// so that several lines between the same boxes lie apart, as far as the
// boxes leave room: a straight route to the left of its direction (negative:
// to the right), an orthogonal one by OFFSET along x and y.
// The centre-to-centre line, clipped at both outlines.
Polyline straightRoute(const Box& from, const Box& to, int offset = 0);
// Horizontal and vertical segments only, leaving and entering the sides
// that face each other.
Polyline orthogonalRoute(const Box& from, const Box& to, int offset = 0);
// A line from a box to itself: a loop over its top-right corner.
Polyline selfLoop(const Box& box);

// Each slanted segment replaced by a horizontal and a vertical one.
Polyline squaredOff(const Polyline& line);

}  // namespace grhost::geometry
