#include "host/diagram/GeometryLayout.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace grhost::geometry {
namespace {

using S = LayoutSpacing;
constexpr int kParallelSpacing = 10;

class Layouter {
 public:
  explicit Layouter(const std::vector<LayoutItem>& items) : items_(items) {
    outcome_.boxes.resize(items.size());
    outcome_.lines.resize(items.size());
    outcome_.changed.assign(items.size(), false);
    outcome_.owners.assign(items.size(), -1);
    children_.resize(items.size());
    ports_.resize(items.size());
    routing_.assign(items.size(), false);
  }

  LayoutOutcome run() {
    std::vector<int> roots = linkOwners();
    arrangeTopLevel(roots);
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (items_[i].kind == ItemKind::Box) placePorts(static_cast<int>(i));
    countGivenParallels();
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (items_[i].kind == ItemKind::Line) route(static_cast<int>(i));
    return std::move(outcome_);
  }

 private:
  bool validIndex(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < items_.size();
  }
  bool isBox(int index) const { return validIndex(index) && items_[index].kind == ItemKind::Box; }

  // A container chain that comes back to the box makes it top-level.
  bool ownerChainIsAcyclic(int index) const {
    int steps = 0;
    for (int at = items_[index].owner; isBox(at); at = items_[at].owner)
      if (at == index || ++steps > static_cast<int>(items_.size())) return false;
    return true;
  }

  // Children and ports per box; returns the top-level items that take part in
  // packing (boxes, ports without a node, lines with neither geometry nor ends).
  std::vector<int> linkOwners() {
    std::vector<int> roots;
    for (std::size_t i = 0; i < items_.size(); ++i) {
      int index = static_cast<int>(i);
      const LayoutItem& item = items_[i];
      if (item.kind == ItemKind::Line) {
        if (isLooseLine(index)) roots.push_back(index);
      } else if (item.kind == ItemKind::Port && isBox(item.owner)) {
        ports_[item.owner].push_back(index);
        outcome_.owners[index] = item.owner;
      } else if (item.kind == ItemKind::Box && isBox(item.owner) && ownerChainIsAcyclic(index)) {
        children_[item.owner].push_back(index);
        outcome_.owners[index] = item.owner;
      } else {
        roots.push_back(index);
      }
    }
    return roots;
  }

  bool isLooseLine(int index) const {
    const LayoutItem& item = items_[index];
    return !item.line && (!validIndex(item.start) || !validIndex(item.end));
  }

  // ---- boxes

  void arrangeTopLevel(const std::vector<int>& roots) {
    std::vector<int> floating;
    std::vector<Box> obstacles;
    for (int root : roots) {
      if (items_[root].kind == ItemKind::Line) {
        outcome_.boxes[root] = {0, 0, items_[root].width, S::kLooseLineHeight};
        floating.push_back(root);
      } else if (arrange(root)) {
        obstacles.push_back(outcome_.boxes[root]);
      } else {
        floating.push_back(root);
      }
    }
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (items_[i].kind == ItemKind::Line && items_[i].line && !validIndex(items_[i].start))
        obstacles.push_back(boundsOf(*items_[i].line));
    int limit = std::max(S::kMinRowWidth, rowWidthFor(floating, S::kGap));
    pack(floating, {S::kMargin, S::kMargin}, limit, S::kGap, obstacles);
    for (int root : floating)
      if (items_[root].kind == ItemKind::Line) layLooseLine(root);
  }

  void layLooseLine(int index) {
    const Box& slot = outcome_.boxes[index];
    int y = slot.y + slot.h / 2;
    outcome_.lines[index] = {{slot.x, y}, {slot.right(), y}};
    outcome_.changed[index] = true;
  }

  // Places the box's contents and sizes it. A box is anchored when it or a
  // box inside it has given geometry; an anchored box has its final place,
  // any other one sits at 0,0 until its container packs it.
  bool arrange(int index) {
    std::vector<int> floating, anchored;
    for (int child : children_[index]) (arrange(child) ? anchored : floating).push_back(child);
    const LayoutItem& item = items_[index];
    Box box;
    bool isAnchored = true;
    if (item.box) {
      box = *item.box;
    } else if (!anchored.empty()) {
      box = frameAround(boundsOfBoxes(anchored), item.header);
      outcome_.changed[index] = true;
    } else {
      box = {0, 0, item.width, item.height};
      isAnchored = false;
      outcome_.changed[index] = true;
    }
    packInside(box, item, floating, anchored);
    if (growToHold(box, children_[index]) && item.box) outcome_.changed[index] = true;
    outcome_.boxes[index] = box;
    return isAnchored;
  }

  Box frameAround(const Box& contents, int header) const {
    return {contents.x - S::kPadding, contents.y - S::kPadding - header,
            contents.w + 2 * S::kPadding, contents.h + 2 * S::kPadding + header};
  }

  Box boundsOfBoxes(const std::vector<int>& indices) const {
    Box bounds = outcome_.boxes[indices.front()];
    for (int index : indices) bounds = boundsOf(bounds, outcome_.boxes[index]);
    return bounds;
  }

  void packInside(const Box& box, const LayoutItem& item, const std::vector<int>& floating,
                  const std::vector<int>& anchored) {
    if (floating.empty()) return;
    std::vector<Box> obstacles;
    for (int child : anchored) obstacles.push_back(outcome_.boxes[child]);
    int inner = box.w - 2 * S::kPadding;
    int limit = item.box ? inner : std::max(inner, rowWidthFor(floating, S::kInnerGap));
    pack(floating, {box.x + S::kPadding, box.y + item.header + S::kPadding}, limit, S::kInnerGap,
         obstacles);
  }

  // Widens and deepens the box (its top-left stays) until every child fits
  // with padding to spare.
  bool growToHold(Box& box, const std::vector<int>& children) const {
    int right = box.right(), bottom = box.bottom();
    for (int child : children) {
      right = std::max(right, outcome_.boxes[child].right() + S::kPadding);
      bottom = std::max(bottom, outcome_.boxes[child].bottom() + S::kPadding);
    }
    bool grew = right != box.right() || bottom != box.bottom();
    box.w = right - box.x;
    box.h = bottom - box.y;
    return grew;
  }

  // Rows roughly twice as wide as the boxes need, so the picture is wider
  // than high.
  int rowWidthFor(const std::vector<int>& indices, int gap) const {
    double area = 0;
    int widest = 0;
    for (int index : indices) {
      const Box& box = outcome_.boxes[index];
      area += static_cast<double>(box.w + gap) * (box.h + gap);
      widest = std::max(widest, box.w);
    }
    return std::max(widest, static_cast<int>(std::sqrt(area * 2)));
  }

  // Rows from ORIGIN, left to right, each box kept GAP away from the
  // obstacles; a box that meets one moves past it.
  void pack(const std::vector<int>& indices, Point origin, int limit, int gap,
            const std::vector<Box>& obstacles) {
    int x = origin.x, y = origin.y, rowHeight = 0;
    for (int index : indices) {
      int w = outcome_.boxes[index].w, h = outcome_.boxes[index].h;
      while (true) {
        if (x > origin.x && x + w > origin.x + limit) {
          y += rowHeight + gap;
          x = origin.x;
          rowHeight = 0;
        }
        const Box* blocker = firstMet(Box{x, y, w, h}.grownBy(gap), obstacles);
        if (!blocker) break;
        x = blocker->right() + gap;
        if (x + w > origin.x + limit && rowHeight == 0) {
          y = blocker->bottom() + gap;
          x = origin.x;
        }
      }
      moveTo(index, {x, y});
      x += w + gap;
      rowHeight = std::max(rowHeight, h);
    }
  }

  static const Box* firstMet(const Box& area, const std::vector<Box>& obstacles) {
    for (const Box& obstacle : obstacles)
      if (area.overlaps(obstacle)) return &obstacle;
    return nullptr;
  }

  void moveTo(int index, Point topLeft) {
    shift(index, topLeft.x - outcome_.boxes[index].x, topLeft.y - outcome_.boxes[index].y);
  }

  void shift(int index, int dx, int dy) {
    outcome_.boxes[index].x += dx;
    outcome_.boxes[index].y += dy;
    for (int child : children_[index]) shift(child, dx, dy);
  }

  // ---- ports

  // Ports without geometry are spread evenly around the outline, the first
  // in the middle of the right side.
  void placePorts(int node) {
    std::vector<int> unplaced;
    for (int port : ports_[node]) {
      if (items_[port].box)
        outcome_.boxes[port] = *items_[port].box;
      else
        unplaced.push_back(port);
    }
    const Box& outline = outcome_.boxes[node];
    for (std::size_t k = 0; k < unplaced.size(); ++k) {
      int port = unplaced[k];
      Point centre =
          outlinePoint(outline, perimeter(outline) * static_cast<double>(k) / unplaced.size());
      int w = items_[port].width, h = items_[port].height;
      outcome_.boxes[port] = {centre.x - w / 2, centre.y - h / 2, w, h};
      outcome_.changed[port] = true;
    }
  }

  // ---- lines

  // A line's end may be another line: it is met at that line's midpoint.
  Box endBox(int index) {
    if (items_[index].kind != ItemKind::Line) return outcome_.boxes[index];
    const Polyline& line = route(index);
    Point middle = line.empty() ? Point{} : midpoint(line);
    return {middle.x, middle.y, 0, 0};
  }

  const Polyline& route(int index) {
    Polyline& line = outcome_.lines[index];
    const LayoutItem& item = items_[index];
    if (!line.empty() || routing_[index]) return line;
    if (item.line) {
      line = *item.line;
    } else if (!isLooseLine(index)) {
      routing_[index] = true;
      line = routeBetween(item);
      routing_[index] = false;
      outcome_.changed[index] = true;
    }
    if (!line.empty()) outcome_.boxes[index] = boundsOf(line);
    return line;
  }

  Polyline routeBetween(const LayoutItem& item) {
    if (item.start == item.end) return selfLoop(endBox(item.start));
    Box from = endBox(item.start), to = endBox(item.end);
    int offset = sidewaysOffset(item.start, item.end);
    if (item.orthogonal) return orthogonalRoute(from, to, offset);
    // Left of one direction is right of the other.
    return straightRoute(from, to, item.start < item.end ? offset : -offset);
  }

  // Lines with geometry between two ends were routed earlier: new ones
  // between the same ends go beside them.
  void countGivenParallels() {
    for (const LayoutItem& item : items_)
      if (item.kind == ItemKind::Line && item.line && validIndex(item.start) &&
          validIndex(item.end))
        ++parallels_[{std::min(item.start, item.end), std::max(item.start, item.end)}];
  }

  // The first line between two ends takes the plain route, the next ones lie
  // beside it, alternately on either side.
  int sidewaysOffset(int start, int end) {
    int k = parallels_[{std::min(start, end), std::max(start, end)}]++;
    int step = (k + 1) / 2 * kParallelSpacing;
    return k % 2 == 1 ? step : -step;
  }

  const std::vector<LayoutItem>& items_;
  LayoutOutcome outcome_;
  std::vector<std::vector<int>> children_;
  std::vector<std::vector<int>> ports_;
  std::vector<bool> routing_;
  std::map<std::pair<int, int>, int> parallels_;
};

}  // namespace

LayoutOutcome layOut(const std::vector<LayoutItem>& items) {
  return Layouter(items).run();
}

}  // namespace grhost::geometry
