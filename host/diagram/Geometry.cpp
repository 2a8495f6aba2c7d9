#include "host/diagram/Geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace grhost::geometry {
namespace {

std::optional<std::vector<int>> parseIntegers(std::string_view text) {
  std::vector<int> numbers;
  std::size_t at = 0;
  while (true) {
    at = text.find_first_not_of(" \t\r\n", at);
    if (at == std::string_view::npos) return numbers;
    std::size_t end = text.find_first_of(" \t\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    int value = 0;
    auto [stop, error] = std::from_chars(text.data() + at, text.data() + end, value);
    if (error != std::errc() || stop != text.data() + end) return std::nullopt;
    if (value < -kMaxCoordinate || value > kMaxCoordinate) return std::nullopt;
    numbers.push_back(value);
    at = end;
  }
}

int rounded(double value) {
  return static_cast<int>(std::lround(value));
}

bool between(int value, int low, int high, int tolerance) {
  return value >= low - tolerance && value <= high + tolerance;
}

}  // namespace

bool Box::overlaps(const Box& other) const {
  return x < other.right() && other.x < right() && y < other.bottom() && other.y < bottom();
}

bool Box::contains(const Box& inner) const {
  return inner.x >= x && inner.y >= y && inner.right() <= right() && inner.bottom() <= bottom();
}

std::optional<Box> parseBox(std::string_view text) {
  std::optional<std::vector<int>> numbers = parseIntegers(text);
  if (!numbers || numbers->size() != 4 || (*numbers)[2] < 0 || (*numbers)[3] < 0)
    return std::nullopt;
  return Box{(*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3]};
}

std::optional<Polyline> parsePolyline(std::string_view text) {
  std::optional<std::vector<int>> numbers = parseIntegers(text);
  if (!numbers || numbers->size() < 4 || numbers->size() % 2 != 0) return std::nullopt;
  Polyline line;
  for (std::size_t i = 0; i < numbers->size(); i += 2)
    line.push_back({(*numbers)[i], (*numbers)[i + 1]});
  return line;
}

std::string formatBox(const Box& box) {
  return std::to_string(box.x) + " " + std::to_string(box.y) + " " + std::to_string(box.w) + " " +
         std::to_string(box.h);
}

std::string formatPolyline(const Polyline& line) {
  std::string text;
  for (const Point& point : line) {
    if (!text.empty()) text += ' ';
    text += std::to_string(point.x) + " " + std::to_string(point.y);
  }
  return text;
}

Box boundsOf(const Polyline& line) {
  if (line.empty()) return {};
  int left = line[0].x, top = line[0].y, right = left, bottom = top;
  for (const Point& point : line) {
    left = std::min(left, point.x);
    top = std::min(top, point.y);
    right = std::max(right, point.x);
    bottom = std::max(bottom, point.y);
  }
  return {left, top, right - left, bottom - top};
}

Box boundsOf(const Box& a, const Box& b) {
  int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
  return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

Point borderPoint(const Box& box, Point toward) {
  double cx = box.x + box.w / 2.0, cy = box.y + box.h / 2.0;
  double dx = toward.x - cx, dy = toward.y - cy;
  if (std::abs(dx) < 1e-9 && std::abs(dy) < 1e-9) return {box.right(), rounded(cy)};
  constexpr double kUnbounded = std::numeric_limits<double>::infinity();
  double scaleX = std::abs(dx) < 1e-9 ? kUnbounded : (box.w / 2.0) / std::abs(dx);
  double scaleY = std::abs(dy) < 1e-9 ? kUnbounded : (box.h / 2.0) / std::abs(dy);
  double scale = std::min(scaleX, scaleY);
  return {rounded(cx + dx * scale), rounded(cy + dy * scale)};
}

bool onBorder(const Box& box, Point point, int tolerance) {
  bool onVerticalSide =
      (std::abs(point.x - box.x) <= tolerance || std::abs(point.x - box.right()) <= tolerance) &&
      between(point.y, box.y, box.bottom(), tolerance);
  bool onHorizontalSide =
      (std::abs(point.y - box.y) <= tolerance || std::abs(point.y - box.bottom()) <= tolerance) &&
      between(point.x, box.x, box.right(), tolerance);
  return onVerticalSide || onHorizontalSide;
}

int perimeter(const Box& box) {
  return 2 * (box.w + box.h);
}

Point outlinePoint(const Box& box, double distance) {
  double total = perimeter(box);
  if (total <= 0) return {box.x, box.y};
  double d = std::fmod(distance, total);
  if (d < 0) d += total;
  double halfSide = box.h / 2.0;
  if (d <= halfSide) return {box.right(), rounded(box.y + halfSide + d)};
  d -= halfSide;
  if (d <= box.w) return {rounded(box.right() - d), box.bottom()};
  d -= box.w;
  if (d <= box.h) return {box.x, rounded(box.bottom() - d)};
  d -= box.h;
  if (d <= box.w) return {rounded(box.x + d), box.y};
  d -= box.w;
  return {box.right(), rounded(box.y + d)};
}

Point midpoint(const Polyline& line) {
  if (line.empty()) return {};
  double total = 0;
  for (std::size_t i = 1; i < line.size(); ++i)
    total += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
  double remaining = total / 2;
  for (std::size_t i = 1; i < line.size(); ++i) {
    double length = std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    if (length >= remaining && length > 0) {
      double t = remaining / length;
      return {rounded(line[i - 1].x + (line[i].x - line[i - 1].x) * t),
              rounded(line[i - 1].y + (line[i].y - line[i - 1].y) * t)};
    }
    remaining -= length;
  }
  return line.front();
}

namespace {

int clamped(int value, int low, int high) {
  return std::max(low, std::min(value, high));
}

// Where the ray from ORIGIN (inside the box) along (DX, DY) leaves the box.
Point exitPoint(const Box& box, double ox, double oy, double dx, double dy) {
  constexpr double kUnbounded = std::numeric_limits<double>::infinity();
  double tx = dx > 1e-9 ? (box.right() - ox) / dx : dx < -1e-9 ? (box.x - ox) / dx : kUnbounded;
  double ty = dy > 1e-9 ? (box.bottom() - oy) / dy : dy < -1e-9 ? (box.y - oy) / dy : kUnbounded;
  double t = std::max(0.0, std::min(tx, ty));
  return {rounded(ox + dx * t), rounded(oy + dy * t)};
}

// How far a route may move sideways and still start and end inside both boxes.
int sidewaysRoom(const Box& from, const Box& to) {
  return std::max(0, std::min({from.w, from.h, to.w, to.h}) / 2 - 1);
}

}  // namespace

Polyline straightRoute(const Box& from, const Box& to, int offset) {
  if (offset == 0) return {borderPoint(from, to.centre()), borderPoint(to, from.centre())};
  double ax = from.x + from.w / 2.0, ay = from.y + from.h / 2.0;
  double bx = to.x + to.w / 2.0, by = to.y + to.h / 2.0;
  double dx = bx - ax, dy = by - ay, length = std::hypot(dx, dy);
  if (length < 1e-9) {
    dx = 1;
    dy = 0;
  } else {
    dx /= length;
    dy /= length;
  }
  double shift = clamped(offset, -sidewaysRoom(from, to), sidewaysRoom(from, to));
  double nx = dy * shift, ny = -dx * shift;  // left of the direction, y growing downwards
  return {exitPoint(from, ax + nx, ay + ny, dx, dy), exitPoint(to, bx + nx, by + ny, -dx, -dy)};
}

namespace {

// Both boxes share a band of X (vertical route) or of Y (horizontal route).
std::optional<Polyline> straightAcrossSharedBand(const Box& from, const Box& to, int offset) {
  int low = std::max(from.x, to.x), high = std::min(from.right(), to.right());
  if (low < high) {
    int x = clamped((low + high) / 2 + offset, low + 1, std::max(low + 1, high - 1));
    if (to.y >= from.bottom()) return Polyline{{x, from.bottom()}, {x, to.y}};
    if (to.bottom() <= from.y) return Polyline{{x, from.y}, {x, to.bottom()}};
  }
  low = std::max(from.y, to.y);
  high = std::min(from.bottom(), to.bottom());
  if (low < high) {
    int y = clamped((low + high) / 2 + offset, low + 1, std::max(low + 1, high - 1));
    if (to.x >= from.right()) return Polyline{{from.right(), y}, {to.x, y}};
    if (to.right() <= from.x) return Polyline{{from.x, y}, {to.right(), y}};
  }
  return std::nullopt;
}

}  // namespace

Polyline orthogonalRoute(const Box& from, const Box& to, int offset) {
  if (from.overlaps(to)) return straightRoute(from, to, offset);
  if (std::optional<Polyline> straight = straightAcrossSharedBand(from, to, offset))
    return *straight;
  Point a = from.centre(), b = to.centre();
  if (std::abs(b.x - a.x) >= std::abs(b.y - a.y)) {
    Point start{b.x > a.x ? from.right() : from.x, clamped(a.y + offset, from.y, from.bottom())};
    Point end{b.x > a.x ? to.x : to.right(), clamped(b.y + offset, to.y, to.bottom())};
    int middle = (start.x + end.x) / 2 + offset;
    return {start, {middle, start.y}, {middle, end.y}, end};
  }
  Point start{clamped(a.x + offset, from.x, from.right()), b.y > a.y ? from.bottom() : from.y};
  Point end{clamped(b.x + offset, to.x, to.right()), b.y > a.y ? to.y : to.bottom()};
  int middle = (start.y + end.y) / 2 + offset;
  return {start, {start.x, middle}, {end.x, middle}, end};
}

Polyline selfLoop(const Box& box) {
  const int reach = 20;
  int down = std::min(box.h / 2, 15), left = std::min(box.w / 2, 15);
  return {{box.right(), box.y + down},
          {box.right() + reach, box.y + down},
          {box.right() + reach, box.y - reach},
          {box.right() - left, box.y - reach},
          {box.right() - left, box.y}};
}

Polyline squaredOff(const Polyline& line) {
  Polyline result;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (i > 0) {
      Point a = line[i - 1], b = line[i];
      if (a.x != b.x && a.y != b.y)
        result.push_back(std::abs(b.x - a.x) >= std::abs(b.y - a.y) ? Point{b.x, a.y}
                                                                    : Point{a.x, b.y});
    }
    result.push_back(line[i]);
  }
  return result;
}

}  // namespace grhost::geometry
