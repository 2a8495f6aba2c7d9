// The geometry of a whole diagram as the graph diagram engine keeps it: read
// from each element's `location` (free shapes also from their freeBox_... /
// freeLine_... attributes), completed by the layout for the elements that
// have none, and written back so that it stays.
#pragma once

#include <vector>

#include "host/diagram/ElementGeometry.h"
#include "host/diagram/Geometry.h"
#include "host/diagram/RenderStyles.h"
#include "platform/repository.h"

namespace grhost {

struct PlacedElement {
  RepId id = 0;
  ElementKind kind = ElementKind::Node;
  RepId style = 0;          // the element's elemStyle
  int owner = -1;           // index of a node's container, of a port's node
  geometry::Box box;        // for lines: the bounds of the polyline
  geometry::Polyline line;  // edges and free lines
  bool isLine() const { return isLineKind(kind); }
};

struct DiagramGeometry {
  std::vector<PlacedElement> elements;  // in the diagram's link order
};

// Lays out the diagram's elements that have no geometry, writes the new
// `location` texts (run it inside a save transaction) and returns the
// geometry of every element.
DiagramGeometry layOutDiagram(RepId diagram, render::StyleBook& styles);
DiagramGeometry layOutDiagram(RepId diagram);

}  // namespace grhost
