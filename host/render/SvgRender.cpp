#include "host/render/SvgRender.h"

#include <algorithm>
#include <cmath>

#include "host/base/Model.h"
#include "host/render/SvgPictures.h"
#include "host/render/SvgShapes.h"
#include "host/render/SvgWriter.h"

namespace grhost::render {
namespace {

using geometry::Box;

constexpr int kCanvasMargin = 20;
constexpr int kEndReach = 16;  // how far end shapes may stick out of a line's bounds
constexpr int kTextInset = 4;
constexpr int kOrthogonalLineType = 16;
constexpr const char* kUnknownColour = "#FF0000";

std::string elementId(RepId element) {
  return "e" + std::to_string(element);
}

std::string elementKindName(ElementKind kind) {
  switch (kind) {
    case ElementKind::Node:
      return "node";
    case ElementKind::Port:
      return "port";
    case ElementKind::Edge:
      return "edge";
    case ElementKind::FreeBox:
      return "free-box";
    case ElementKind::FreeLine:
      return "free-line";
  }
  return "element";
}

std::string fontFamily(const std::string& face) {
  bool needsQuotes = face.find_first_of(" ,") != std::string::npos;
  return (needsQuotes ? "'" + face + "'" : face) + ", sans-serif";
}

std::string textDecoration(const TextLook& look) {
  std::string decoration = look.underline ? "underline" : "";
  if (look.strikeOut) decoration += decoration.empty() ? "line-through" : " line-through";
  return decoration;
}

std::string textAnchor(Alignment alignment) {
  switch (alignment) {
    case Alignment::Centre:
      return "middle";
    case Alignment::Right:
      return "end";
    case Alignment::Left:
      break;
  }
  return "start";
}

// Where the lines of a text block start and how they are anchored.
struct TextFrame {
  double left, centre, right;
  double top;
};

double anchorX(const TextFrame& frame, Alignment alignment) {
  switch (alignment) {
    case Alignment::Centre:
      return frame.centre;
    case Alignment::Right:
      return frame.right;
    case Alignment::Left:
      break;
  }
  return frame.left;
}

class DiagramPainter {
 public:
  DiagramPainter(RepId diagram, const DiagramGeometry& geometry, StyleBook& styles,
                 const std::filesystem::path& pictures,
                 SvgWriter::Start start = SvgWriter::Start::Document)
      : diagram_(diagram), geometry_(geometry), styles_(styles), pictures_(pictures), svg_(start) {
    std::size_t count = geometry.elements.size();
    children_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const PlacedElement& element = geometry.elements[i];
      int owner = element.owner;
      bool nested =
          owner >= 0 && (element.kind == ElementKind::Node || element.kind == ElementKind::Port);
      if (nested) children_[owner].push_back(static_cast<int>(i));
    }
  }

  std::string paint() {
    Box canvas = canvasBounds();
    svg_.open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
                      {"version", "1.1"},
                      {"width", number(canvas.w)},
                      {"height", number(canvas.h)},
                      {"viewBox", number(canvas.x) + " " + number(canvas.y) + " " +
                                      number(canvas.w) + " " + number(canvas.h)},
                      {"font-family", "Arial, sans-serif"}});
    svg_.textElement("title", {}, model::attribute(diagram_, "caption"));
    svg_.empty("rect", {{"class", "background"},
                        {"x", number(canvas.x)},
                        {"y", number(canvas.y)},
                        {"width", number(canvas.w)},
                        {"height", number(canvas.h)},
                        {"fill", background()}});
    layer("free-boxes", [&](int i, const PlacedElement& e) {
      if (e.kind == ElementKind::FreeBox) drawBoxElement(i);
    });
    layer("nodes", [&](int i, const PlacedElement& e) {
      if ((e.kind == ElementKind::Node || e.kind == ElementKind::Port) && e.owner < 0)
        drawBoxElement(i);
    });
    layer("edges", [&](int i, const PlacedElement& e) {
      if (e.kind == ElementKind::Edge) drawLineElement(i);
    });
    layer("free-lines", [&](int i, const PlacedElement& e) {
      if (e.kind == ElementKind::FreeLine) drawLineElement(i);
    });
    return svg_.finish();
  }

  // One element's group with what it holds, as paint() draws it.
  std::string paintElement(int index) {
    if (geometry_.elements[index].isLine())
      drawLineElement(index);
    else
      drawBoxElement(index);
    return svg_.finish();
  }

 private:
  template <class Draw>
  void layer(const char* name, Draw draw) {
    svg_.open("g", {{"class", name}});
    for (std::size_t i = 0; i < geometry_.elements.size(); ++i)
      draw(static_cast<int>(i), geometry_.elements[i]);
    svg_.close();
  }

  // The diagram's own colour, else its type's; white when neither has one.
  std::string background() const {
    std::string colour = model::attribute(diagram_, "bkgColor");
    if (colour.empty())
      colour = model::attribute(model::firstPartner(diagram_, "graphDiagramType"), "bkgColor");
    return svgColour(colour, "#FFFFFF");
  }

  Box canvasBounds() const {
    if (geometry_.elements.empty()) return {0, 0, 200, 100};
    Box bounds = geometry_.elements.front().box;
    for (const PlacedElement& element : geometry_.elements)
      bounds = geometry::boundsOf(bounds,
                                  element.isLine() ? element.box.grownBy(kEndReach) : element.box);
    return bounds.grownBy(kCanvasMargin);
  }

  void openElement(const PlacedElement& element, std::string extra) {
    svg_.open("g", {{"class", "element " + elementKindName(element.kind)},
                    {"id", elementId(element.id)},
                    {"data-element", std::to_string(element.id)},
                    {"data-shape", std::move(extra)}});
  }

  // Nodes, ports and free boxes; what a node holds is drawn inside its group.
  void drawBoxElement(int index) {
    const PlacedElement& element = geometry_.elements[index];
    const BoxLook& look = styles_.boxLook(element.style);
    openElement(element, isKnownBoxShape(look.shapeCode) ? "" : "unknown");
    drawBoxShape(svg_, element.box, look);
    if (!look.picture.empty()) drawPicture(element.box, look);
    drawBoxTexts(index);
    for (int child : children_[index])
      if (geometry_.elements[child].kind == ElementKind::Port) drawBoxElement(child);
    for (int child : children_[index])
      if (geometry_.elements[child].kind == ElementKind::Node) drawBoxElement(child);
    svg_.close();
  }

  // In the box's top-left corner, as large as the style says (else 24 x 24)
  // and the box allows.
  void drawPicture(const Box& box, const BoxLook& look) {
    int w = look.pictureWidth > 0 ? look.pictureWidth : 24,
        h = look.pictureHeight > 0 ? look.pictureHeight : 24;
    drawPictureIn({box.x + 2, box.y + 2, std::min(w, std::max(box.w - 4, 0)),
                   std::min(h, std::max(box.h - 4, 0))},
                  look.picture);
  }

  // The picture the project holds, else a labelled placeholder.
  void drawPictureIn(const Box& frame, const std::string& picture) {
    const std::string& data = pictures_.dataUri(picture);
    svg_.open("g",
              {{"class", data.empty() ? "picture missing" : "picture"}, {"data-picture", picture}});
    if (!data.empty()) {
      svg_.empty("image", {{"x", number(frame.x)},
                           {"y", number(frame.y)},
                           {"width", number(frame.w)},
                           {"height", number(frame.h)},
                           {"preserveAspectRatio", "xMidYMid meet"},
                           {"href", data}});
    } else {
      svg_.empty("rect", {{"x", number(frame.x)},
                          {"y", number(frame.y)},
                          {"width", number(frame.w)},
                          {"height", number(frame.h)},
                          {"fill", "#EEEEEE"},
                          {"stroke", "#888888"},
                          {"stroke-dasharray", "3 2"}});
      svg_.textElement("text",
                       {{"x", number(frame.x + 2)},
                        {"y", number(frame.y + 9)},
                        {"font-size", "8"},
                        {"fill", "#555555"}},
                       pictureFileName(picture));
    }
    svg_.close();
  }

  // The texts of a container sit at its top, above what it holds; those of
  // any other box are centred in it, as far as they fit.
  void drawBoxTexts(int index) {
    const PlacedElement& element = geometry_.elements[index];
    std::vector<ShownText> texts = styles_.shownTexts(element.id);
    if (texts.empty()) return;
    const Box& box = element.box;
    double height = styles_.textHeight(texts);
    bool holdsNodes = std::any_of(children_[index].begin(), children_[index].end(), [&](int child) {
      return geometry_.elements[child].kind == ElementKind::Node;
    });
    // Texts taller than the box start at its top rather than above it.
    double centred = box.y + (box.h - height) / 2;
    double top = holdsNodes ? box.y + kTextInset : std::max(centred, box.y + kTextInset + 0.0);
    drawTexts(texts,
              {box.x + kTextInset + 0.0, box.x + box.w / 2.0, box.right() - kTextInset + 0.0, top});
  }

  void drawTexts(const std::vector<ShownText>& texts, TextFrame frame) {
    for (const ShownText& text : texts) {
      const TextLook& look = *text.look;
      if (!look.picture.empty()) {
        double x = anchorX(frame, look.alignment);
        if (look.alignment == Alignment::Centre) x -= look.pictureWidth / 2.0;
        if (look.alignment == Alignment::Right) x -= look.pictureWidth;
        drawPictureIn({static_cast<int>(std::lround(x)), static_cast<int>(std::lround(frame.top)),
                       look.pictureWidth, look.pictureHeight},
                      look.picture);
        frame.top += look.pictureRowHeight();
      }
      for (const std::string& line : text.lines) {
        double baseline = frame.top + look.lineHeight() / 2 + look.sizePx * 0.35;
        svg_.textElement("text",
                         {{"class", "compartment"},
                          {"data-compartment", std::to_string(text.compartment)},
                          {"x", number(anchorX(frame, look.alignment))},
                          {"y", number(baseline)},
                          {"text-anchor", textAnchor(look.alignment)},
                          {"font-family", fontFamily(look.face)},
                          {"font-size", number(look.sizePx)},
                          {"font-weight", look.bold ? "bold" : ""},
                          {"font-style", look.italic ? "italic" : ""},
                          {"text-decoration", textDecoration(look)},
                          {"fill", look.colour}},
                         line);
        frame.top += look.lineHeight();
      }
    }
  }

  void drawLineElement(int index) {
    const PlacedElement& element = geometry_.elements[index];
    if (element.line.size() < 2) return;
    const LineLook& look = styles_.lineLook(element.style);
    bool knownType =
        look.lineType == 0 || look.lineType == 1 || look.lineType == kOrthogonalLineType;
    openElement(element, knownType ? "" : "unknown-line-type");
    geometry::Polyline drawn =
        look.lineType == kOrthogonalLineType ? geometry::squaredOff(element.line) : element.line;
    svg_.empty("polyline", {{"class", "line"},
                            {"points", pointsOf(drawn)},
                            {"fill", "none"},
                            {"stroke", look.stroke.colour},
                            {"stroke-width", number(look.stroke.width)},
                            {"stroke-dasharray", dashArray(look.stroke)}});
    drawEndShape(svg_, startHeading(drawn), look.start, "start");
    drawEndShape(svg_, middleHeading(drawn), look.middle, "middle");
    drawEndShape(svg_, endHeading(drawn), look.end, "end");
    Heading middle = middleHeading(drawn);
    if (!knownType) noteUnknownLineType(middle, look.lineType);
    drawLineTexts(element.id, middle);
    svg_.close();
  }

  void noteUnknownLineType(const Heading& at, int lineType) {
    svg_.textElement("text",
                     {{"class", "unknown-line-type-note"},
                      {"x", number(at.x + 4)},
                      {"y", number(at.y + 12)},
                      {"font-size", "9"},
                      {"fill", kUnknownColour}},
                     "lineType " + std::to_string(lineType) + "?");
  }

  // A line's texts stand just above its middle.
  void drawLineTexts(RepId line, const Heading& middle) {
    std::vector<ShownText> texts = styles_.shownTexts(line);
    if (texts.empty()) return;
    double top = middle.y - styles_.textHeight(texts) - 2;
    drawTexts(texts, {middle.x + kTextInset, middle.x, middle.x - kTextInset, top});
  }

  static std::string pointsOf(const geometry::Polyline& line) {
    std::string text;
    for (const geometry::Point& point : line) {
      if (!text.empty()) text += ' ';
      text += std::to_string(point.x) + "," + std::to_string(point.y);
    }
    return text;
  }

  RepId diagram_;
  const DiagramGeometry& geometry_;
  StyleBook& styles_;
  PictureShelf pictures_;
  std::vector<std::vector<int>> children_;
  SvgWriter svg_;
};

}  // namespace

std::string svgOfDiagram(RepId diagram, const DiagramGeometry& geometry, StyleBook& styles,
                         const std::filesystem::path& pictures) {
  return DiagramPainter(diagram, geometry, styles, pictures).paint();
}

std::string svgOfElement(const DiagramGeometry& geometry, int index, StyleBook& styles,
                         const std::filesystem::path& pictures) {
  if (index < 0 || static_cast<std::size_t>(index) >= geometry.elements.size()) return "";
  return DiagramPainter(0, geometry, styles, pictures, SvgWriter::Start::Fragment)
      .paintElement(index);
}

std::string kindName(ElementKind kind) {
  return elementKindName(kind);
}

std::string renderDiagram(RepId diagram, const std::filesystem::path& pictures) {
  StyleBook styles;
  DiagramGeometry geometry = layOutDiagram(diagram, styles);
  return svgOfDiagram(diagram, geometry, styles, pictures);
}

}  // namespace grhost::render
