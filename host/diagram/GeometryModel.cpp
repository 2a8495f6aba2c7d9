#include "host/diagram/GeometryModel.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "host/base/Model.h"
#include "host/diagram/GeometryLayout.h"

namespace grhost {
namespace {

using geometry::Box;
using geometry::ItemKind;
using geometry::LayoutItem;
using geometry::Polyline;

constexpr int kOrthogonalLineType = 16;
constexpr int kTextMargin = 8;

struct DefaultSize {
  int width;
  int height;
};

DefaultSize defaultSize(ElementKind kind) {
  return kind == ElementKind::Port ? DefaultSize{20, 20} : DefaultSize{110, 45};
}

// Class ids looked up once per layout; the most special class first.
class Classifier {
 public:
  Classifier()
      : kinds_{{model::classId("FreeBox"), ElementKind::FreeBox},
               {model::classId("FreeLine"), ElementKind::FreeLine},
               {model::classId("Port"), ElementKind::Port},
               {model::classId("Edge"), ElementKind::Edge},
               {model::classId("Node"), ElementKind::Node}} {}

  std::optional<ElementKind> kindOf(RepId element) const {
    RepId cls = GetObjectTypeId(element);
    for (const auto& [kindClass, kind] : kinds_)
      if (kindClass && ExtendsExtends(cls, kindClass)) return kind;
    return std::nullopt;
  }

 private:
  std::pair<RepId, ElementKind> kinds_[5];
};

std::optional<Box> freeBoxAttributes(RepId element) {
  std::string text =
      model::attribute(element, "freeBox_x") + " " + model::attribute(element, "freeBox_y") + " " +
      model::attribute(element, "freeBox_w") + " " + model::attribute(element, "freeBox_h");
  return geometry::parseBox(text);
}

std::optional<Polyline> freeLineAttributes(RepId element) {
  std::string text = model::attribute(element, "freeLine_x1") + " " +
                     model::attribute(element, "freeLine_y1") + " " +
                     model::attribute(element, "freeLine_xn") + " " +
                     model::attribute(element, "freeLine_yn");
  return geometry::parsePolyline(text);
}

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
    for (PlacedElement& element : geometry_.elements) items.push_back(itemFor(element));
    return items;
  }

  DiagramGeometry& geometry() { return geometry_; }

 private:
  int indexOf(RepId element) const {
    auto found = index_.find(element);
    return found == index_.end() ? -1 : found->second;
  }

  LayoutItem itemFor(PlacedElement& element) {
    LayoutItem item;
    std::string location = model::attribute(element.id, "location");
    switch (element.kind) {
      case ElementKind::Node:
      case ElementKind::Port:
      case ElementKind::FreeBox:
        fillBox(element, location, item);
        break;
      case ElementKind::Edge:
      case ElementKind::FreeLine:
        fillLine(element, location, item);
        break;
    }
    return item;
  }

  void fillBox(PlacedElement& element, const std::string& location, LayoutItem& item) {
    item.kind = element.kind == ElementKind::Port ? ItemKind::Port : ItemKind::Box;
    item.box = geometry::parseBox(location);
    if (!item.box && element.kind == ElementKind::FreeBox) item.box = freeBoxAttributes(element.id);
    const render::BoxLook& look = styles_.boxLook(element.style);
    DefaultSize size = defaultSize(element.kind);
    item.width = look.width > 0 ? look.width : size.width;
    item.height = look.height > 0 ? look.height : size.height;
    if (element.kind != ElementKind::Port && !item.box) growToText(element.id, item);
    if (element.kind == ElementKind::Node) {
      element.owner = indexOf(model::firstPartner(element.id, "container"));
      if (model::firstPartner(element.id, "component")) item.header = headerHeight(element.id);
    } else if (element.kind == ElementKind::Port) {
      element.owner = indexOf(model::firstPartner(element.id, "node"));
    }
    item.owner = element.owner;
  }

  // A box that is placed here is made big enough for its texts.
  void growToText(RepId element, LayoutItem& item) {
    std::vector<render::ShownText> texts = styles_.shownTexts(element);
    if (texts.empty()) return;
    item.width = std::max(item.width,
                          static_cast<int>(std::ceil(styles_.textWidth(texts))) + 2 * kTextMargin);
    item.height = std::max(
        item.height, static_cast<int>(std::ceil(styles_.textHeight(texts))) + 2 * kTextMargin);
  }

  int headerHeight(RepId node) {
    std::vector<render::ShownText> texts = styles_.shownTexts(node);
    if (texts.empty()) return 0;
    return static_cast<int>(std::ceil(styles_.textHeight(texts))) + kTextMargin;
  }

  void fillLine(PlacedElement& element, const std::string& location, LayoutItem& item) {
    item.kind = ItemKind::Line;
    item.line = geometry::parsePolyline(location);
    if (element.kind == ElementKind::FreeLine) {
      if (!item.line) item.line = freeLineAttributes(element.id);
    } else {
      item.start = indexOf(model::firstPartner(element.id, "start"));
      item.end = indexOf(model::firstPartner(element.id, "end"));
      item.orthogonal = styles_.lineLook(element.style).lineType == kOrthogonalLineType;
    }
  }

  render::StyleBook& styles_;
  Classifier classifier_;
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
