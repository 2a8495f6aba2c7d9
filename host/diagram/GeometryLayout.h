// The layout that gives geometry to diagram elements that have none: boxes
// packed in rows around the ones already placed, nested boxes inside their
// container (which grows to hold them), ports on their node's outline, lines
// routed between the outlines of their ends. Given geometry is kept.
//
// Pure: works on a list of items that refer to each other by index.
#pragma once

#include <optional>
#include <vector>

#include "host/diagram/Geometry.h"

namespace grhost::geometry {

enum class ItemKind { Box, Port, Line };

struct LayoutItem {
  ItemKind kind = ItemKind::Box;
  std::optional<Box> box;        // given geometry of a box or port
  std::optional<Polyline> line;  // given geometry of a line
  int width = 110;               // size of a box or port that has none
  int height = 45;
  int header = 0;  // room a container keeps above its contents
  int owner = -1;  // a box's container, a port's node (index)
  int start = -1;  // a line's ends (indices)
  int end = -1;
  bool orthogonal = false;  // route a line with horizontal and vertical segments
};

struct LayoutOutcome {
  std::vector<Box> boxes;       // every item; a line's bounds
  std::vector<Polyline> lines;  // lines only
  // The container or node an item was placed in; -1 for top-level items
  // (also those whose owner is no box, or whose containers form a cycle).
  std::vector<int> owners;
  // The geometry was computed here, or a given container grew: to be
  // written back.
  std::vector<bool> changed;
};

// Spacing in diagram units.
struct LayoutSpacing {
  static constexpr int kMargin = 20;    // the diagram's first row starts here
  static constexpr int kGap = 40;       // between top-level boxes
  static constexpr int kInnerGap = 20;  // between boxes inside a container
  static constexpr int kPadding = 15;   // between a container's outline and its contents
  static constexpr int kMinRowWidth = 800;
  static constexpr int kLooseLineHeight = 20;
};

LayoutOutcome layOut(const std::vector<LayoutItem>& items);

}  // namespace grhost::geometry
