// Pieces of a drawn diagram, for a front end that keeps the document
// svgOfDiagram drew and replaces only what a gesture changed: an element's
// group with what it holds, and where that group goes in the document.
// Reading one element costs what the element holds; finding its place reads
// the diagram's list of elements once per DiagramFragments.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/diagram/ElementGeometry.h"
#include "host/diagram/RenderStyles.h"
#include "platform/repository.h"

namespace grhost::render {

struct ElementFragment {
  RepId element = 0;
  std::string kind;   // "node", "port", "edge", "free-box" or "free-line"
  std::string svg;    // the group, with the ports and nodes it holds
  std::string layer;  // the document's top-level group: "free-boxes", "nodes" ...
  RepId parent = 0;   // the element whose group holds it; 0: the layer
  RepId before = 0;   // the sibling group it comes before; 0: it comes last
};

class DiagramFragments {
 public:
  explicit DiagramFragments(RepId diagram) : diagram_(diagram) {}

  // The element's fragment; none when the diagram does not draw it (it is
  // gone, in another diagram, or has no geometry yet).
  std::optional<ElementFragment> fragmentOf(RepId element);
  // The fragments of ELEMENTS in their order, leaving out those drawn inside
  // the group of another one of them.
  std::vector<ElementFragment> fragmentsOf(const std::vector<RepId>& elements);

 private:
  struct Placing {
    ElementKind kind;
    RepId owner;
  };
  std::optional<Placing> placingOf(RepId element) const;
  int positionOf(RepId element);
  std::vector<RepId> inDiagramOrder(std::vector<RepId> elements);
  RepId nextSibling(RepId element, const Placing& placing);

  RepId diagram_;
  StyleBook styles_;
  ElementClassifier classifier_;
  std::vector<RepId> order_;  // the diagram's elements, read when first needed
  std::unordered_map<RepId, int> positions_;
  bool ordered_ = false;
};

}  // namespace grhost::render
