#include "host/diagram/ElementGeometry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "host/base/Model.h"

namespace grhost {
namespace {

constexpr int kOrthogonalLineType = 16;
constexpr int kTextMargin = 8;
// A style's size beyond this is a mistake of the style, not a drawing.
constexpr int kMaxStyleSize = 1'000'000;

// Text extents are estimates in doubles; a huge text must not overflow.
int extentOf(double estimate) {
  return static_cast<int>(std::ceil(std::clamp(estimate, 0.0, double{kMaxStyleSize})));
}

Size defaultSize(ElementKind kind) {
  return kind == ElementKind::Port ? Size{20, 20} : Size{110, 45};
}

std::string joined(RepId element, const char* const (&names)[4]) {
  std::string text;
  for (const char* name : names)
    text += (text.empty() ? "" : " ") + model::attribute(element, name);
  return text;
}

}  // namespace

ElementClassifier::ElementClassifier()
    : kinds_{{model::classId("FreeBox"), ElementKind::FreeBox},
             {model::classId("FreeLine"), ElementKind::FreeLine},
             {model::classId("Port"), ElementKind::Port},
             {model::classId("Edge"), ElementKind::Edge},
             {model::classId("Node"), ElementKind::Node}} {}

std::optional<ElementKind> ElementClassifier::kindOf(RepId element) const {
  RepId cls = GetObjectTypeId(element);
  for (const auto& [kindClass, kind] : kinds_)
    if (kindClass && cls && ExtendsExtends(cls, kindClass)) return kind;
  return std::nullopt;
}

std::optional<geometry::Box> givenBox(RepId element, ElementKind kind) {
  std::optional<geometry::Box> box = geometry::parseBox(model::attribute(element, "location"));
  if (!box && kind == ElementKind::FreeBox)
    box = geometry::parseBox(joined(element, {"freeBox_x", "freeBox_y", "freeBox_w", "freeBox_h"}));
  return box;
}

std::optional<geometry::Polyline> givenLine(RepId element, ElementKind kind) {
  std::optional<geometry::Polyline> line =
      geometry::parsePolyline(model::attribute(element, "location"));
  if (!line && kind == ElementKind::FreeLine)
    line = geometry::parsePolyline(
        joined(element, {"freeLine_x1", "freeLine_y1", "freeLine_xn", "freeLine_yn"}));
  return line;
}

Size unplacedSize(RepId element, ElementKind kind, RepId style, render::StyleBook& styles) {
  const render::BoxLook& look = styles.boxLook(style);
  Size size = defaultSize(kind);
  if (look.width > 0) size.width = std::min(look.width, kMaxStyleSize);
  if (look.height > 0) size.height = std::min(look.height, kMaxStyleSize);
  if (kind == ElementKind::Port) return size;
  std::vector<render::ShownText> texts = styles.shownTexts(element);
  if (texts.empty()) return size;
  size.width = std::max(size.width, extentOf(styles.textWidth(texts)) + 2 * kTextMargin);
  size.height = std::max(size.height, extentOf(styles.textHeight(texts)) + 2 * kTextMargin);
  return size;
}

int headerHeight(RepId node, render::StyleBook& styles) {
  std::vector<render::ShownText> texts = styles.shownTexts(node);
  if (texts.empty()) return 0;
  return extentOf(styles.textHeight(texts)) + kTextMargin;
}

bool isOrthogonal(RepId style, render::StyleBook& styles) {
  return styles.lineLook(style).lineType == kOrthogonalLineType;
}

}  // namespace grhost
