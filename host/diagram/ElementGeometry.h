// How one element's geometry is read from the model: its kind, the geometry
// it has (its `location`, for free shapes also their own attributes) and the
// size it gets when it has none. Shared by the whole-diagram layout and the
// engine's layout of what a gesture changed.
#pragma once

#include <optional>
#include <utility>

#include "host/diagram/Geometry.h"
#include "host/diagram/RenderStyles.h"
#include "platform/repository.h"

namespace grhost {

enum class ElementKind { Node, Port, Edge, FreeBox, FreeLine };

inline bool isLineKind(ElementKind kind) {
  return kind == ElementKind::Edge || kind == ElementKind::FreeLine;
}

// Class ids looked up once; the most special class first.
class ElementClassifier {
 public:
  ElementClassifier();
  std::optional<ElementKind> kindOf(RepId element) const;

 private:
  std::pair<RepId, ElementKind> kinds_[5];
};

// The element's own geometry of a box kind; none when it has none or it does
// not read as a box.
std::optional<geometry::Box> givenBox(RepId element, ElementKind kind);
// The element's own geometry of a line kind.
std::optional<geometry::Polyline> givenLine(RepId element, ElementKind kind);

struct Size {
  int width = 0;
  int height = 0;
};

// The size a box or port without geometry gets: its style's, else the
// default of its kind; boxes grow to hold their texts.
Size unplacedSize(RepId element, ElementKind kind, RepId style, render::StyleBook& styles);
// The room a container keeps above its contents for its own texts.
int headerHeight(RepId node, render::StyleBook& styles);
// An edge's line type asks for horizontal and vertical segments.
bool isOrthogonal(RepId style, render::StyleBook& styles);

}  // namespace grhost
