#include "host/diagram/DiagramLayout.h"

#include <algorithm>
#include <cmath>

#include "host/base/Model.h"
#include "host/diagram/GeometryLayout.h"
#include "host/diagram/GeometryModel.h"

namespace grhost {
namespace {

using geometry::Box;
using geometry::Point;
using geometry::Polyline;
using S = geometry::LayoutSpacing;

constexpr int kCellSize = 512;
constexpr int kParallelSpacing = 10;
constexpr int kLooseLineWidth = 110;
// The room around the texts a box grows to hold; the picture draws them as far in.
constexpr int kTextMargin = 4;
// Far more steps past neighbours than any real row has; beyond it the box
// is placed where the search stands.
constexpr int kMaxPackingSteps = 100000;

uint64_t pairKey(RepId a, RepId b) {
  return (uint64_t{std::min(a, b)} << 32) | std::max(a, b);
}

int cellOf(int coordinate) {
  return static_cast<int>(std::floor(static_cast<double>(coordinate) / kCellSize));
}

uint64_t cellKey(int cx, int cy) {
  return (uint64_t{static_cast<uint32_t>(cx)} << 32) | static_cast<uint32_t>(cy);
}

// The k-th of an endless sequence of places along an outline that never
// meet: the middle of the right side, the left, then the bottom and top, then
// the points between them (0, 1/2, 1/4, 3/4, 1/8 ... of the way round).
double spreadFraction(std::size_t k) {
  double fraction = 0, bit = 0.5;
  for (; k > 0; k >>= 1, bit /= 2)
    if (k & 1) fraction += bit;
  return fraction;
}

bool isBoxKind(ElementKind kind) {
  return kind == ElementKind::Node || kind == ElementKind::FreeBox;
}

}  // namespace

// ---- the grid

template <class Visit>
void DiagramLayout::Grid::forCells(const Box& box, Visit visit) {
  for (int cx = cellOf(box.x); cx <= cellOf(box.right()); ++cx)
    for (int cy = cellOf(box.y); cy <= cellOf(box.bottom()); ++cy) visit(cellKey(cx, cy));
}

void DiagramLayout::Grid::insert(RepId element, const Box& box) {
  forCells(box, [&](uint64_t key) { cells_[key].push_back(element); });
}

void DiagramLayout::Grid::erase(RepId element, const Box& box) {
  forCells(box, [&](uint64_t key) {
    auto cell = cells_.find(key);
    if (cell == cells_.end()) return;
    std::vector<RepId>& ids = cell->second;
    ids.erase(std::remove(ids.begin(), ids.end(), element), ids.end());
    if (ids.empty()) cells_.erase(cell);
  });
}

RepId DiagramLayout::Grid::firstOverlap(const Box& area,
                                        const std::unordered_map<RepId, Entry>& entries) const {
  RepId found = 0;
  forCells(area, [&](uint64_t key) {
    if (found) return;
    auto cell = cells_.find(key);
    if (cell == cells_.end()) return;
    for (RepId id : cell->second) {
      auto entry = entries.find(id);
      if (entry != entries.end() && area.overlaps(entry->second.box)) {
        found = id;
        return;
      }
    }
  });
  return found;
}

// ---- reading

DiagramLayout::DiagramLayout(RepId diagram, render::StyleBook& styles) : diagram_(diagram) {
  DiagramGeometry whole = layOutDiagram(diagram, styles);
  ElementClassifier classifier;
  for (const PlacedElement& placed : whole.elements)
    if (std::optional<Entry> entry = read(placed.id, classifier)) keep(placed.id, *entry);
}

std::optional<DiagramLayout::Entry> DiagramLayout::read(RepId element,
                                                        const ElementClassifier& classifier) const {
  if (!ObjectExists(element) || model::firstPartner(element, "graphDiagram") != diagram_)
    return std::nullopt;
  std::optional<ElementKind> kind = classifier.kindOf(element);
  if (!kind) return std::nullopt;
  Entry entry;
  entry.kind = *kind;
  if (*kind == ElementKind::Node) entry.owner = model::firstPartner(element, "container");
  if (*kind == ElementKind::Port) entry.owner = model::firstPartner(element, "node");
  if (*kind == ElementKind::Edge) {
    entry.start = model::firstPartner(element, "start");
    entry.end = model::firstPartner(element, "end");
  }
  if (isLineKind(*kind)) {
    std::optional<Polyline> line = givenLine(element, *kind);
    if (!line) return entry;
    entry.line = std::move(*line);
    entry.box = geometry::boundsOf(entry.line);
  } else {
    std::optional<Box> box = givenBox(element, *kind);
    if (!box) return entry;
    entry.box = *box;
  }
  entry.placed = true;
  return entry;
}

// A node's container that is no node of this diagram leaves it at the top.
int DiagramLayout::levelGap(RepId owner) const {
  return owner ? S::kInnerGap : S::kGap;
}

double areaWithGap(const Box& box, int gap) {
  return static_cast<double>(box.w + gap) * (box.h + gap);
}

// Boxes and free lines take room on their level; a node whose container is no
// box of this diagram is on the top level.
void DiagramLayout::keep(RepId element, Entry entry) {
  if (entry.kind == ElementKind::Edge && entry.placed)
    ++parallels_[pairKey(entry.start, entry.end)];
  entry.onLevel = entry.placed && (isBoxKind(entry.kind) || entry.kind == ElementKind::FreeLine);
  if (entry.onLevel) {
    auto owner = entries_.find(entry.owner);
    bool nested =
        entry.kind == ElementKind::Node && owner != entries_.end() && isBoxKind(owner->second.kind);
    entry.level = nested ? entry.owner : 0;
    Level& level = levelOf(entry.level);
    level.grid.insert(element, entry.box);
    level.lowest = level.hasBoxes ? std::max(level.lowest, entry.box.bottom()) : entry.box.bottom();
    level.hasBoxes = true;
    level.area += areaWithGap(entry.box, levelGap(entry.level));
    level.widest = std::max(level.widest, entry.box.w);
  }
  entries_[element] = std::move(entry);
}

void DiagramLayout::forget(RepId element) {
  auto found = entries_.find(element);
  if (found == entries_.end()) return;
  const Entry& entry = found->second;
  if (entry.kind == ElementKind::Edge && entry.placed) {
    auto count = parallels_.find(pairKey(entry.start, entry.end));
    if (count != parallels_.end() && --count->second <= 0) parallels_.erase(count);
  }
  if (entry.onLevel) {
    Level& level = levelOf(entry.level);
    level.grid.erase(element, entry.box);
    level.area -= areaWithGap(entry.box, levelGap(entry.level));
  }
  entries_.erase(found);
}

std::optional<Box> DiagramLayout::boxOf(RepId element) const {
  auto found = entries_.find(element);
  if (found == entries_.end()) return std::nullopt;
  return found->second.box;
}

// ---- updating

int DiagramLayout::depth(RepId element, const std::unordered_map<RepId, Entry>& pending) const {
  int steps = 0;
  for (auto at = pending.find(element); at != pending.end() && steps < 64; ++steps) {
    RepId owner = at->second.owner;
    at = owner == element ? pending.end() : pending.find(owner);
  }
  return steps;
}

void DiagramLayout::update(const std::vector<RepId>& elements, render::StyleBook& styles) {
  ElementClassifier classifier;
  std::unordered_map<RepId, Entry> unplaced;
  std::vector<RepId> order;
  for (RepId element : elements) {
    std::optional<Box> before = boxOf(element);
    forget(element);
    std::optional<Entry> entry = read(element, classifier);
    if (!entry) {
      levels_.erase(element);
      continue;
    }
    // A container that was moved starts its rows afresh.
    auto inner = levels_.find(element);
    if (inner != levels_.end() && (!before || !(*before == entry->box)))
      inner->second.cursorSet = false;
    if (entry->placed) {
      keep(element, *entry);
      fitTexts(element, styles);
    } else if (unplaced.emplace(element, *entry).second) {
      order.push_back(element);
    }
  }
  // Containers before what they hold, boxes before ports, ports before lines.
  auto rank = [&](RepId element) {
    ElementKind kind = unplaced[element].kind;
    int kindRank = isBoxKind(kind) ? 0 : kind == ElementKind::Port ? 1 : 2;
    return std::pair{kindRank, depth(element, unplaced)};
  };
  std::stable_sort(order.begin(), order.end(), [&](RepId a, RepId b) { return rank(a) < rank(b); });
  for (RepId element : order) {
    place(element, unplaced[element], styles);
    fitTexts(element, styles);
  }
}

// A node grows to the right and down until the texts of its compartments
// fit in it; it never shrinks. Free boxes keep the size the user drew.
void DiagramLayout::fitTexts(RepId element, render::StyleBook& styles) {
  auto found = entries_.find(element);
  if (found == entries_.end() || !found->second.placed || found->second.kind != ElementKind::Node)
    return;
  std::vector<render::ShownText> texts = styles.shownTexts(element);
  if (texts.empty()) return;
  int width = static_cast<int>(std::ceil(styles.textWidth(texts))) + 2 * kTextMargin;
  int height = static_cast<int>(std::ceil(styles.textHeight(texts))) + 2 * kTextMargin;
  Entry grown = found->second;
  if (grown.box.w >= width && grown.box.h >= height) return;
  grown.box.w = std::max(grown.box.w, width);
  grown.box.h = std::max(grown.box.h, height);
  Box old = found->second.box;
  forget(element);
  keep(element, grown);
  write(element, grown);
  stretchAttachments(element, old, grown.box);
  if (grown.level) growContainer(grown.level, grown.box);
}

void DiagramLayout::place(RepId element, Entry entry, render::StyleBook& styles) {
  switch (entry.kind) {
    case ElementKind::Node:
    case ElementKind::FreeBox:
      placeBox(element, entry, styles);
      break;
    case ElementKind::Port:
      placePort(element, entry, styles);
      break;
    case ElementKind::Edge:
    case ElementKind::FreeLine:
      placeLine(element, entry, styles);
      break;
  }
  entry.placed = true;
  write(element, entry);
  keep(element, entry);
}

void DiagramLayout::write(RepId element, const Entry& entry) {
  model::setAttribute(element, "location",
                      isLineKind(entry.kind) ? geometry::formatPolyline(entry.line)
                                             : geometry::formatBox(entry.box));
}

// ---- boxes

void DiagramLayout::startCursor(RepId owner, Level& level) {
  if (owner) {
    const Entry& container = entries_.at(owner);
    render::StyleBook styles;
    int header = headerHeight(owner, styles);
    level.origin = {container.box.x + S::kPadding, container.box.y + header + S::kPadding};
    level.limit = std::max(0, container.box.w - 2 * S::kPadding);
  } else {
    level.origin = {S::kMargin, S::kMargin};
    level.limit = std::max(S::kMinRowWidth,
                           std::max(level.widest, static_cast<int>(std::sqrt(level.area * 2))));
  }
  level.x = level.origin.x;
  level.y =
      level.hasBoxes ? std::max(level.origin.y, level.lowest + levelGap(owner)) : level.origin.y;
  level.rowHeight = 0;
  level.cursorSet = true;
}

// Rows from the level's cursor, left to right; a box that meets a neighbour
// moves past it.
Point DiagramLayout::packAtCursor(RepId owner, int width, int height) {
  Level& level = levelOf(owner);
  if (!level.cursorSet) startCursor(owner, level);
  int gap = levelGap(owner);
  int right = level.origin.x + level.limit;
  for (int steps = 0; steps < kMaxPackingSteps; ++steps) {
    if (level.x > level.origin.x && level.x + width > right) {
      level.y += level.rowHeight + gap;
      level.x = level.origin.x;
      level.rowHeight = 0;
    }
    RepId blocker =
        level.grid.firstOverlap(Box{level.x, level.y, width, height}.grownBy(gap), entries_);
    if (!blocker) break;
    const Box& met = entries_.at(blocker).box;
    level.x = met.right() + gap;
    if (level.x + width > right && level.rowHeight == 0) {
      level.y = met.bottom() + gap;
      level.x = level.origin.x;
    }
  }
  Point at{level.x, level.y};
  level.x += width + gap;
  level.rowHeight = std::max(level.rowHeight, height);
  return at;
}

void DiagramLayout::placeBox(RepId element, Entry& entry, render::StyleBook& styles) {
  Size size = unplacedSize(element, entry.kind, model::firstPartner(element, "elemStyle"), styles);
  auto container = entries_.find(entry.owner);
  bool nested = entry.kind == ElementKind::Node && container != entries_.end() &&
                isBoxKind(container->second.kind);
  RepId owner = nested ? entry.owner : 0;
  Point at = packAtCursor(owner, size.width, size.height);
  entry.box = {at.x, at.y, size.width, size.height};
  if (nested) growContainer(owner, entry.box);
}

// The container widens and deepens (its top-left stays) until the box fits
// with padding to spare, and so do the containers around it.
void DiagramLayout::growContainer(RepId container, Box inner) {
  for (int steps = 0; steps < 64 && container; ++steps) {
    auto found = entries_.find(container);
    if (found == entries_.end() || !isBoxKind(found->second.kind)) return;
    Entry grown = found->second;
    int right = std::max(grown.box.right(), inner.right() + S::kPadding);
    int bottom = std::max(grown.box.bottom(), inner.bottom() + S::kPadding);
    if (right == grown.box.right() && bottom == grown.box.bottom()) return;
    grown.box.w = right - grown.box.x;
    grown.box.h = bottom - grown.box.y;
    Box old = found->second.box;
    forget(container);
    keep(container, grown);
    write(container, grown);
    stretchAttachments(container, old, grown.box);
    inner = grown.box;
    container = grown.level;
  }
}

namespace {

// A point on the right or bottom side of OLD moves with that side to NOW.
Point stretched(Point point, const Box& old, const Box& now) {
  if (point.x == old.right() && point.y >= old.y && point.y <= old.bottom())
    point.x += now.right() - old.right();
  if (point.y == old.bottom() && point.x >= old.x && point.x <= old.right())
    point.y += now.bottom() - old.bottom();
  return point;
}

}  // namespace

// What sits on a box's outline stays on it when the box grows: its ports,
// and the ends of the lines at it or at its ports.
void DiagramLayout::stretchAttachments(RepId box, const Box& old, const Box& now) {
  for (RepId port : model::partners(box, "port")) {
    auto entry = entries_.find(port);
    if (entry == entries_.end()) continue;
    Entry moved = entry->second;
    Box before = moved.box;
    Point centre = stretched(before.centre(), old, now);
    moved.box.x += centre.x - before.centre().x;
    moved.box.y += centre.y - before.centre().y;
    if (moved.box == before) continue;
    forget(port);
    keep(port, moved);
    write(port, moved);
    stretchLineEnds(port, before, moved.box);
  }
  stretchLineEnds(box, old, now);
}

void DiagramLayout::stretchLineEnds(RepId end, const Box& old, const Box& now) {
  for (const char* role : {"eStart", "eEnd"}) {
    bool atStart = role[1] == 'S';
    for (RepId line : model::partners(end, role)) {
      auto entry = entries_.find(line);
      if (entry == entries_.end() || !entry->second.placed || entry->second.line.empty()) continue;
      Entry moved = entry->second;
      Point& tip = atStart ? moved.line.front() : moved.line.back();
      tip = stretched(tip, old, now);
      if (moved.line == entry->second.line) continue;
      moved.box = geometry::boundsOf(moved.line);
      forget(line);
      keep(line, moved);
      write(line, moved);
    }
  }
}

// ---- ports

void DiagramLayout::placePort(RepId element, Entry& entry, render::StyleBook& styles) {
  Size size = unplacedSize(element, entry.kind, model::firstPartner(element, "elemStyle"), styles);
  auto node = entries_.find(entry.owner);
  Box outline = node != entries_.end() ? node->second.box : Box{S::kMargin, S::kMargin, 0, 0};
  std::vector<RepId> ports = model::partners(entry.owner, "port");
  std::size_t k =
      static_cast<std::size_t>(std::find(ports.begin(), ports.end(), element) - ports.begin());
  Point centre = geometry::outlinePoint(outline, geometry::perimeter(outline) * spreadFraction(k));
  entry.box = {centre.x - size.width / 2, centre.y - size.height / 2, size.width, size.height};
}

// ---- lines

std::optional<Box> DiagramLayout::endBox(RepId end) const {
  auto found = entries_.find(end);
  if (found == entries_.end()) return std::nullopt;
  if (!isLineKind(found->second.kind)) return found->second.box;
  if (found->second.line.empty()) return std::nullopt;
  Point middle = geometry::midpoint(found->second.line);
  return Box{middle.x, middle.y, 0, 0};
}

int DiagramLayout::sidewaysOffset(RepId start, RepId end) {
  auto found = parallels_.find(pairKey(start, end));
  int k = found == parallels_.end() ? 0 : found->second;
  int step = (k + 1) / 2 * kParallelSpacing;
  return k % 2 == 1 ? step : -step;
}

void DiagramLayout::placeLine(RepId element, Entry& entry, render::StyleBook& styles) {
  std::optional<Box> from = endBox(entry.start), to = endBox(entry.end);
  if (entry.kind == ElementKind::Edge && from && to) {
    if (entry.start == entry.end) {
      entry.line = geometry::selfLoop(*from);
    } else {
      int offset = sidewaysOffset(entry.start, entry.end);
      RepId style = model::firstPartner(element, "elemStyle");
      entry.line =
          isOrthogonal(style, styles)
              ? geometry::orthogonalRoute(*from, *to, offset)
              // Left of one direction is right of the other.
              : geometry::straightRoute(*from, *to, entry.start < entry.end ? offset : -offset);
    }
  } else {
    // A line with no ends to run between lies in the top-level rows.
    Point at = packAtCursor(0, kLooseLineWidth, S::kLooseLineHeight);
    int y = at.y + S::kLooseLineHeight / 2;
    entry.line = {{at.x, y}, {at.x + kLooseLineWidth, y}};
  }
  entry.box = geometry::boundsOf(entry.line);
}

}  // namespace grhost
