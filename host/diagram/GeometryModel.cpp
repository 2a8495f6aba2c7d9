#include "host/diagram/GeometryModel.h"

#include <unordered_map>

#include "host/base/Model.h"
#include "host/diagram/GeometryLayout.h"

namespace grhost {
namespace {

using geometry::ItemKind;
using geometry::LayoutItem;

class DiagramReader {
 public:
  DiagramReader(RepId diagram, render::StyleBook& styles) : styles_(styles) {
    for (RepId element : model::partners(diagram, "element")) {
      std::optional<ElementKind> kind = classifier_.kindOf(element);
      if (!kind) continue;
      index_[element] = static_cast<int>(geometry_.elements.size());
      geometry_.elements.push_back(
          {element, *kind, model::firstPartner(element, "elemStyle"), -1, {}, {}});
    }
  }

  std::vector<LayoutItem> items() {
    std::vector<LayoutItem> items;
    items.reserve(geometry_.elements.size());
    for (PlacedElement& element : geometry_.elements)
      items.push_back(element.isLine() ? lineItem(element) : boxItem(element));
    return items;
  }

  DiagramGeometry& geometry() { return geometry_; }

 private:
  int indexOf(RepId element) const {
    auto found = index_.find(element);
    return found == index_.end() ? -1 : found->second;
  }

  LayoutItem boxItem(PlacedElement& element) {
    LayoutItem item;
    item.kind = element.kind == ElementKind::Port ? ItemKind::Port : ItemKind::Box;
    item.box = givenBox(element.id, element.kind);
    if (!item.box) {
      Size size = unplacedSize(element.id, element.kind, element.style, styles_);
      item.width = size.width;
      item.height = size.height;
    }
    if (element.kind == ElementKind::Node) {
      element.owner = indexOf(model::firstPartner(element.id, "container"));
      if (model::firstPartner(element.id, "component"))
        item.header = headerHeight(element.id, styles_);
    } else if (element.kind == ElementKind::Port) {
      element.owner = indexOf(model::firstPartner(element.id, "node"));
    }
    item.owner = element.owner;
    return item;
  }

  LayoutItem lineItem(PlacedElement& element) {
    LayoutItem item;
    item.kind = ItemKind::Line;
    item.line = givenLine(element.id, element.kind);
    if (element.kind == ElementKind::Edge) {
      item.start = indexOf(model::firstPartner(element.id, "start"));
      item.end = indexOf(model::firstPartner(element.id, "end"));
      item.orthogonal = isOrthogonal(element.style, styles_);
    }
    return item;
  }

  render::StyleBook& styles_;
  ElementClassifier classifier_;
  DiagramGeometry geometry_;
  std::unordered_map<RepId, int> index_;
};

void keepOutcome(const geometry::LayoutOutcome& outcome, DiagramGeometry& geometry) {
  for (std::size_t i = 0; i < geometry.elements.size(); ++i) {
    PlacedElement& element = geometry.elements[i];
    element.box = outcome.boxes[i];
    element.owner = outcome.owners[i];
    if (element.isLine()) element.line = outcome.lines[i];
    if (!outcome.changed[i]) continue;
    std::string location = element.isLine() ? geometry::formatPolyline(element.line)
                                            : geometry::formatBox(element.box);
    model::setAttribute(element.id, "location", location);
  }
}

}  // namespace

DiagramGeometry layOutDiagram(RepId diagram, render::StyleBook& styles) {
  DiagramReader reader(diagram, styles);
  geometry::LayoutOutcome outcome = geometry::layOut(reader.items());
  keepOutcome(outcome, reader.geometry());
  return std::move(reader.geometry());
}

DiagramGeometry layOutDiagram(RepId diagram) {
  render::StyleBook styles;
  return layOutDiagram(diagram, styles);
}

}  // namespace grhost
