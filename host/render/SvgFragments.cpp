#include "host/render/SvgFragments.h"

#include <algorithm>
#include <unordered_set>

#include "host/base/Model.h"
#include "host/diagram/GeometryModel.h"
#include "host/render/SvgRender.h"

namespace grhost::render {
namespace {

// Containment deeper than this is a broken model, not a drawing.
constexpr int kMaxDepth = 64;

const char* layerOf(ElementKind kind) {
  switch (kind) {
    case ElementKind::FreeBox:
      return "free-boxes";
    case ElementKind::Edge:
      return "edges";
    case ElementKind::FreeLine:
      return "free-lines";
    case ElementKind::Node:
    case ElementKind::Port:
      break;
  }
  return "nodes";
}

RepId following(const std::vector<RepId>& list, RepId element) {
  auto at = std::find(list.begin(), list.end(), element);
  return at == list.end() || at + 1 == list.end() ? 0 : *(at + 1);
}

}  // namespace

std::optional<DiagramFragments::Placing> DiagramFragments::placingOf(RepId element) const {
  if (!element || !ObjectExists(element)) return std::nullopt;
  if (model::firstPartner(element, "graphDiagram") != diagram_) return std::nullopt;
  std::optional<ElementKind> kind = classifier_.kindOf(element);
  if (!kind) return std::nullopt;
  RepId owner = 0;
  if (*kind == ElementKind::Node)
    owner = model::firstPartner(element, "container");
  else if (*kind == ElementKind::Port)
    owner = model::firstPartner(element, "node");
  return Placing{*kind, owner};
}

int DiagramFragments::positionOf(RepId element) {
  if (!ordered_) {
    order_ = model::partners(diagram_, "element");
    positions_.reserve(order_.size());
    for (std::size_t i = 0; i < order_.size(); ++i)
      positions_.emplace(order_[i], static_cast<int>(i));
    ordered_ = true;
  }
  auto found = positions_.find(element);
  return found == positions_.end() ? -1 : found->second;
}

std::vector<RepId> DiagramFragments::inDiagramOrder(std::vector<RepId> elements) {
  std::erase_if(elements, [&](RepId element) { return positionOf(element) < 0; });
  std::sort(elements.begin(), elements.end(),
            [&](RepId a, RepId b) { return positionOf(a) < positionOf(b); });
  return elements;
}

namespace {

// The element and what it holds, with the owners svgOfDiagram gives them;
// false when the element has no geometry to draw.
class Subtree {
 public:
  explicit Subtree(const ElementClassifier& classifier) : classifier_(classifier) {}

  template <class Order>
  bool add(RepId element, ElementKind kind, int owner, Order order, int depth = 0) {
    PlacedElement placed{element, kind, model::firstPartner(element, "elemStyle"), owner, {}, {}};
    if (isLineKind(kind)) {
      std::optional<geometry::Polyline> line = givenLine(element, kind);
      if (!line || line->size() < 2) return false;
      placed.line = *line;
      placed.box = geometry::boundsOf(*line);
    } else {
      std::optional<geometry::Box> box = givenBox(element, kind);
      if (!box) return false;
      placed.box = *box;
    }
    int index = static_cast<int>(geometry.elements.size());
    geometry.elements.push_back(std::move(placed));
    if (kind != ElementKind::Node || depth >= kMaxDepth) return true;
    for (RepId port : order(model::partners(element, "port")))
      if (classifier_.kindOf(port) == ElementKind::Port)
        add(port, ElementKind::Port, index, order, depth + 1);
    for (RepId child : order(model::partners(element, "component")))
      if (classifier_.kindOf(child) == ElementKind::Node)
        add(child, ElementKind::Node, index, order, depth + 1);
    return true;
  }

  DiagramGeometry geometry;

 private:
  const ElementClassifier& classifier_;
};

}  // namespace

std::optional<ElementFragment> DiagramFragments::fragmentOf(RepId element) {
  std::optional<Placing> placing = placingOf(element);
  if (!placing) return std::nullopt;
  Subtree subtree(classifier_);
  auto order = [this](std::vector<RepId> list) { return inDiagramOrder(std::move(list)); };
  if (!subtree.add(element, placing->kind, -1, order)) return std::nullopt;
  ElementFragment fragment;
  fragment.element = element;
  fragment.kind = kindName(placing->kind);
  fragment.svg = svgOfElement(subtree.geometry, 0, styles_);
  fragment.layer = layerOf(placing->kind);
  fragment.parent = placingOf(placing->owner) ? placing->owner : 0;
  fragment.before = nextSibling(element, {placing->kind, fragment.parent});
  return fragment;
}

// Inside a node its ports come first, then the nodes it holds, each in the
// diagram's order; at the top level, the elements of the same layer.
RepId DiagramFragments::nextSibling(RepId element, const Placing& placing) {
  if (placing.owner) {
    std::vector<RepId> nodes = inDiagramOrder(model::partners(placing.owner, "component"));
    std::erase_if(nodes, [&](RepId node) { return classifier_.kindOf(node) != ElementKind::Node; });
    if (placing.kind == ElementKind::Node) return following(nodes, element);
    RepId next = following(inDiagramOrder(model::partners(placing.owner, "port")), element);
    return next ? next : (nodes.empty() ? 0 : nodes.front());
  }
  int at = positionOf(element);
  if (at < 0) return 0;
  std::string_view layer = layerOf(placing.kind);
  for (std::size_t i = at + 1; i < order_.size(); ++i) {
    std::optional<Placing> other = placingOf(order_[i]);
    if (other && layer == layerOf(other->kind) && !placingOf(other->owner)) return order_[i];
  }
  return 0;
}

std::vector<ElementFragment> DiagramFragments::fragmentsOf(const std::vector<RepId>& elements) {
  std::unordered_set<RepId> listed(elements.begin(), elements.end());
  auto insideAnother = [&](RepId element) {
    std::optional<Placing> placing = placingOf(element);
    for (int depth = 0; placing && placing->owner && depth < kMaxDepth; ++depth) {
      if (listed.count(placing->owner)) return true;
      placing = placingOf(placing->owner);
    }
    return false;
  };
  std::vector<ElementFragment> fragments;
  for (RepId element : elements) {
    if (insideAnother(element)) continue;
    if (std::optional<ElementFragment> fragment = fragmentOf(element))
      fragments.push_back(std::move(*fragment));
  }
  return fragments;
}

}  // namespace grhost::render
