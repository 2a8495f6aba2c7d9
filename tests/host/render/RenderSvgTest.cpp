#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/base/Model.h"
#include "host/diagram/Geometry.h"
#include "host/diagram/RenderStyles.h"
#include "host/render/SvgRender.h"
#include "host/render/SvgShapes.h"
#include "host/render/SvgWriter.h"
#include "tests/TestFolder.h"
#include "tests/host/render/RenderFixture.h"

namespace {

using rendertest::compartmentTexts;
using rendertest::ParsedXml;
using rendertest::parseXml;
using rendertest::XmlNode;
namespace model = grhost::model;
namespace render = grhost::render;

std::string idOf(RepId element) {
  return "e" + std::to_string(element);
}

class RenderSvgTest : public rendertest::RenderTest {
 protected:
  // Renders the diagram and parses the document; fails the test when it is
  // no well-formed XML. Pictures are looked for in PICTURES (none: nowhere).
  ParsedXml rendered(const std::filesystem::path& pictures = {}) {
    svg_ = render::renderDiagram(diagram_, pictures);
    ParsedXml parsed = parseXml(svg_);
    EXPECT_EQ(parsed.error, "") << svg_;
    return parsed;
  }
  static const XmlNode& group(const ParsedXml& svg, RepId element) {
    const XmlNode* found = svg.document->byId(idOf(element));
    if (!found) throw std::runtime_error("no group for element " + std::to_string(element));
    return *found;
  }
  static const XmlNode& shapeOf(const XmlNode& group) {
    for (const XmlNode& child : group.children)
      if (child.hasClass("shape")) return child;
    throw std::runtime_error("no shape in " + group.attr("id"));
  }
  static bool hasText(const XmlNode& under, const std::string& content) {
    return !under.all([&](const XmlNode& n) { return n.name == "text" && n.text == content; })
                .empty();
  }
  static const XmlNode& textNamed(const XmlNode& under, const std::string& content) {
    auto found = under.all([&](const XmlNode& n) { return n.name == "text" && n.text == content; });
    if (found.empty()) throw std::runtime_error("no text \"" + content + "\"");
    return *found.front();
  }

  std::string svg_;
};

// ---- colours and values

TEST(RenderValues, ModelColoursAreBlueGreenRedAndTurnIntoRgb) {
  EXPECT_EQ(render::svgColour("255", "x"), "#FF0000");
  EXPECT_EQ(render::svgColour("65280", "x"), "#00FF00");
  EXPECT_EQ(render::svgColour("16711680", "x"), "#0000FF");
  EXPECT_EQ(render::svgColour("15655141", "x"), "#E5E0EE");
  EXPECT_EQ(render::svgColour("0", "x"), "#000000");
  EXPECT_EQ(render::svgColour(" 16777215 ", "x"), "#FFFFFF");
  EXPECT_EQ(render::svgColour("-1", "x"), "none");
  EXPECT_EQ(render::svgColour("16777216", "x"), "none");
  EXPECT_EQ(render::svgColour("", "#123456"), "#123456");
  EXPECT_EQ(render::svgColour("red", "#123456"), "#123456");
  EXPECT_EQ(render::modelInteger("12", 0), 12);
  EXPECT_EQ(render::modelInteger("1.5", 7), 7);
  EXPECT_EQ(render::modelInteger("99999999999", 7), 7);
  EXPECT_TRUE(render::modelTrue("1"));
  EXPECT_TRUE(render::modelTrue("true"));
  EXPECT_FALSE(render::modelTrue("yes"));
}

TEST(RenderValues, TextIsEscapedAndRepairedIntoWellFormedXml) {
  EXPECT_EQ(render::escapeXml("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
  EXPECT_EQ(render::escapeXml("Ķēniņš"), "Ķēniņš");
  EXPECT_EQ(render::escapeXml("a\x01"
                              "b\x7f"),
            "ab\x7f");
  EXPECT_EQ(render::escapeXml("x\xC3"), "x\xEF\xBF\xBD");                     // cut sequence
  EXPECT_EQ(render::escapeXml("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");       // overlong
  EXPECT_EQ(render::escapeXml("\xED\xA0\x80").substr(0, 3), "\xEF\xBF\xBD");  // surrogate
  EXPECT_EQ(render::escapeXml("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(render::number(2.0), "2");
  EXPECT_EQ(render::number(12.0 * 4 / 3), "16");
  EXPECT_EQ(render::number(9.0 * 4 / 3), "12");
  EXPECT_EQ(render::number(10.5), "10.5");
  EXPECT_EQ(render::number(-0.333), "-0.33");
}

// ---- a small diagram

TEST_F(RenderSvgTest, BoxesAreDrawnInTheirStylesShapeFillAndOutline) {
  model::setAttribute(diagram_, "bkgColor", "16775408");
  RepId boxStyle = object("NodeStyle", {{"shapeCode", "1"},
                                        {"bkgColor", "15655141"},
                                        {"lineColor", "255"},
                                        {"lineWidth", "2"},
                                        {"dashLength", "6"},
                                        {"breakLength", "3"}});
  RepId roundStyle = object("NodeStyle", {{"shapeCode", "3"}, {"bkgColor", "65280"}});
  RepId diamondStyle = object("NodeStyle", {{"shapeCode", "4"}});
  RepId a = node(boxStyle), b = node(roundStyle), c = node(diamondStyle);
  ParsedXml svg = rendered();
  const XmlNode& root = svg.root();
  EXPECT_EQ(root.name, "svg");
  EXPECT_EQ(root.attr("xmlns"), "http://www.w3.org/2000/svg");
  EXPECT_EQ(root.need("title").text, "Test diagram");
  EXPECT_EQ(root.need("rect", "background").attr("fill"), "#F0F8FF");

  const XmlNode& rect = shapeOf(group(svg, a));
  EXPECT_EQ(rect.name, "rect");
  EXPECT_TRUE(rect.hasClass("rectangle"));
  EXPECT_EQ(rect.attr("fill"), "#E5E0EE");
  EXPECT_EQ(rect.attr("stroke"), "#FF0000");
  EXPECT_EQ(rect.attr("stroke-width"), "2");
  EXPECT_EQ(rect.attr("stroke-dasharray"), "6 3");
  EXPECT_EQ(rect.attr("width"), "110");
  EXPECT_EQ(rect.attr("height"), "45");
  EXPECT_EQ(group(svg, a).attr("class"), "element node");

  const XmlNode& ellipse = shapeOf(group(svg, b));
  EXPECT_EQ(ellipse.name, "ellipse");
  EXPECT_EQ(ellipse.attr("fill"), "#00FF00");
  EXPECT_EQ(ellipse.attr("stroke-dasharray"), "");  // solid
  const XmlNode& diamond = shapeOf(group(svg, c));
  EXPECT_EQ(diamond.name, "polygon");
  EXPECT_TRUE(diamond.hasClass("diamond"));
  std::string corners = diamond.attr("points");
  EXPECT_EQ(std::count(corners.begin(), corners.end(), ','), 4);
  EXPECT_EQ(diamond.attr("fill"), "#FFFFFF");  // a style without colours
  EXPECT_EQ(diamond.attr("stroke"), "#000000");
}

TEST_F(RenderSvgTest, EveryKnownShapeCodeDrawsItsOwnShapeAndUnknownOnesAStandIn) {
  std::vector<RepId> nodes;
  for (int code = 1; code <= 12; ++code)
    nodes.push_back(node(object("NodeStyle", {{"shapeCode", std::to_string(code)}})));
  RepId unknown = node(object("NodeStyle", {{"shapeCode", "77"}, {"bkgColor", "65280"}}));
  ParsedXml svg = rendered();
  std::set<std::string> classes;
  for (RepId n : nodes) {
    const XmlNode& shape = shapeOf(group(svg, n));
    EXPECT_FALSE(shape.hasClass("unknown-shape"));
    classes.insert(shape.attr("class"));
  }
  EXPECT_EQ(classes.size(), 12u);
  const XmlNode& standIn = shapeOf(group(svg, unknown));
  EXPECT_TRUE(standIn.hasClass("unknown-shape"));
  EXPECT_EQ(standIn.attr("stroke"), "#FF0000");
  EXPECT_NE(standIn.attr("stroke-dasharray"), "");
  EXPECT_EQ(standIn.attr("fill"), "#00FF00");
  EXPECT_EQ(group(svg, unknown).attr("data-shape"), "unknown");
  EXPECT_TRUE(hasText(group(svg, unknown), "shape 77?"));
}

TEST_F(RenderSvgTest, CompartmentTextsShowTheirInputInTheirFont) {
  RepId fancy = object("CompartStyle", {{"fontTypeFace", "Times New Roman"},
                                        {"fontSize", "12"},
                                        {"fontStyle", "7"},
                                        {"fontColor", "16711680"},
                                        {"alignment", "1"}});
  RepId plain = object("CompartStyle", {{"alignment", "2"}, {"fontStyle", "8"}});
  RepId hidden = object("CompartStyle", {{"isVisible", "0"}});
  RepId a = node(0, "100 100 200 100");
  compartment(a, "Ķēniņš & <Co>", fancy);
  compartment(a, "two\nlines", plain);
  compartment(a, "not shown", hidden);
  RepId invisible = compartment(a, "also not shown");
  model::setAttribute(invisible, "isInvisible", "true");
  RepId valueOnly = compartment(a, "");
  model::setAttribute(valueOnly, "value", "from value");
  ParsedXml svg = rendered();
  const XmlNode& g = group(svg, a);
  EXPECT_EQ(compartmentTexts(g),
            (std::vector<std::string>{"Ķēniņš & <Co>", "two", "lines", "from value"}));

  const XmlNode& title = textNamed(g, "Ķēniņš & <Co>");
  EXPECT_EQ(title.attr("font-family"), "'Times New Roman', sans-serif");
  EXPECT_EQ(title.attr("font-size"), "16");
  EXPECT_EQ(title.attr("font-weight"), "bold");
  EXPECT_EQ(title.attr("font-style"), "italic");
  EXPECT_EQ(title.attr("text-decoration"), "underline");
  EXPECT_EQ(title.attr("fill"), "#0000FF");
  EXPECT_EQ(title.attr("text-anchor"), "middle");
  EXPECT_EQ(title.attr("x"), "200");

  const XmlNode& two = textNamed(g, "two");
  const XmlNode& lines = textNamed(g, "lines");
  EXPECT_EQ(two.attr("text-anchor"), "end");
  EXPECT_EQ(two.attr("font-weight"), "");
  EXPECT_EQ(two.attr("text-decoration"), "line-through");
  EXPECT_LT(std::stod(two.attr("y")), std::stod(lines.attr("y")));
  EXPECT_EQ(textNamed(g, "from value").attr("text-anchor"), "start");
  for (const XmlNode* text : g.named("text")) {
    double y = std::stod(text->attr("y"));
    EXPECT_GT(y, 100);
    EXPECT_LT(y, 200);
  }
}

TEST_F(RenderSvgTest, NestedNodesAndPortsAreDrawnInsideTheirOwnersGroup) {
  RepId outer = node(), inner = node(), innermost = node(), pin = port(inner), other = node();
  nest(inner, outer);
  nest(innermost, inner);
  compartment(outer, "Outer");
  compartment(inner, "Inner");
  ParsedXml svg = rendered();
  const XmlNode &gOuter = group(svg, outer), &gInner = group(svg, inner),
                &gInnermost = group(svg, innermost);
  EXPECT_TRUE(gInner.isInside(&gOuter));
  EXPECT_TRUE(gInnermost.isInside(&gInner));
  EXPECT_TRUE(group(svg, pin).isInside(&gInner));
  EXPECT_EQ(group(svg, pin).attr("class"), "element port");
  EXPECT_FALSE(group(svg, other).isInside(&gOuter));
  // A container's name stands in its header, above the boxes it holds.
  double nameY = std::stod(textNamed(gOuter, "Outer").attr("y"));
  EXPECT_LT(nameY, std::stod(shapeOf(gInner).attr("y")));
  EXPECT_EQ(compartmentTexts(gOuter), (std::vector<std::string>{"Outer", "Inner"}));
}

TEST_F(RenderSvgTest, LinesCarryTheirStrokeEndShapesAndTexts) {
  RepId style = object("EdgeStyle", {{"lineType", "1"},
                                     {"lineColor", "32768"},
                                     {"lineWidth", "3"},
                                     {"dashLength", "8"},
                                     {"breakLength", "4"},
                                     {"startShapeCode", "10"},
                                     {"startBkgColor", "16777215"},
                                     {"startLineColor", "255"},
                                     {"endShapeCode", "3"},
                                     {"middleShapeCode", "1"}});
  RepId a = node(0, "0 0 100 50"), b = node(0, "400 0 100 50");
  RepId line = edge(a, b, style);
  compartment(line, "uses");
  ParsedXml svg = rendered();
  const XmlNode& g = group(svg, line);
  EXPECT_EQ(g.attr("class"), "element edge");
  const XmlNode& polyline = g.need("polyline", "line");
  EXPECT_EQ(polyline.attr("points"), "100,25 400,25");
  EXPECT_EQ(polyline.attr("stroke"), "#008000");
  EXPECT_EQ(polyline.attr("stroke-width"), "3");
  EXPECT_EQ(polyline.attr("stroke-dasharray"), "8 4");
  EXPECT_EQ(polyline.attr("fill"), "none");
  const XmlNode& start = g.need("polygon", "start-end");
  EXPECT_TRUE(start.hasClass("hollow-diamond"));
  EXPECT_EQ(start.attr("fill"), "#FFFFFF");
  EXPECT_EQ(start.attr("stroke"), "#FF0000");
  EXPECT_EQ(start.attr("points").substr(0, 6), "100,25");  // the tip on the start's outline
  const XmlNode& end = g.need("path", "end-end");
  EXPECT_TRUE(end.hasClass("open-arrow"));
  EXPECT_EQ(end.attr("stroke"), "#008000");  // an end without colour takes the line's
  EXPECT_EQ(g.all([](const XmlNode& n) { return n.hasClass("middle-end"); }).size(), 0u);
  const XmlNode& label = textNamed(g, "uses");
  EXPECT_LT(std::stod(label.attr("y")), 25);
  // Lines are drawn over the boxes.
  auto layers =
      svg.root().all([](const XmlNode& n) { return n.name == "g" && n.attr("id").empty(); });
  ASSERT_GE(layers.size(), 4u);
  EXPECT_TRUE(layers[1]->hasClass("nodes"));
  EXPECT_TRUE(layers[2]->hasClass("edges"));
}

TEST_F(RenderSvgTest, EachEndShapeCodeHasItsMarkAndUnknownCodesAStandIn) {
  RepId a = node(0, "0 0 50 50");
  std::map<int, std::string> expected{{2, "dot"},
                                      {3, "open-arrow"},
                                      {4, "filled-arrow"},
                                      {5, "filled-diamond"},
                                      {6, "hollow-circle"},
                                      {7, "bar"},
                                      {8, "crows-foot"},
                                      {10, "hollow-diamond"},
                                      {11, "hollow-triangle"},
                                      {42, "unknown-end"}};
  std::map<int, RepId> lines;
  int y = 100;
  for (const auto& [code, name] : expected) {
    RepId target = node(0, "300 " + std::to_string(y) + " 50 50");
    lines[code] = edge(
        a, target,
        object("EdgeStyle", {{"endShapeCode", std::to_string(code)}, {"endLineColor", "255"}}));
    y += 80;
  }
  ParsedXml svg = rendered();
  for (const auto& [code, name] : expected) {
    auto marks =
        group(svg, lines[code]).all([](const XmlNode& n) { return n.hasClass("end-end"); });
    ASSERT_EQ(marks.size(), 1u) << code;
    EXPECT_TRUE(marks.front()->hasClass(name)) << code << ": " << marks.front()->attr("class");
    if (code != 42) {
      EXPECT_EQ(marks.front()->attr("stroke"), "#FF0000") << code;
    }
  }
  EXPECT_EQ(group(svg, lines[4]).need("polygon", "end-end").attr("fill"), "#FF0000");
}

TEST_F(RenderSvgTest, OrthogonalLinesAreDrawnSquareAndUnknownLineTypesAreNoted) {
  RepId a = node(0, "0 0 100 50"), b = node(0, "300 200 100 50");
  RepId square = edge(a, b, object("EdgeStyle", {{"lineType", "16"}}), "100 25 300 225");
  RepId odd = edge(a, b, object("EdgeStyle", {{"lineType", "5"}}), "100 25 300 225");
  ParsedXml svg = rendered();
  EXPECT_EQ(group(svg, square).need("polyline").attr("points"), "100,25 300,25 300,225");
  EXPECT_EQ(group(svg, odd).need("polyline").attr("points"), "100,25 300,225");
  EXPECT_EQ(group(svg, odd).attr("data-shape"), "unknown-line-type");
  EXPECT_TRUE(hasText(group(svg, odd), "lineType 5?"));
}

TEST_F(RenderSvgTest, FreeShapesPicturesAndTheCanvas) {
  RepId freeBox =
      element("FreeBox", object("NodeStyle", {{"shapeCode", "9"}, {"bkgColor", "12632256"}}));
  model::setAttribute(freeBox, "freeBox_x", "-50");
  model::setAttribute(freeBox, "freeBox_y", "40");
  model::setAttribute(freeBox, "freeBox_w", "80");
  model::setAttribute(freeBox, "freeBox_h", "60");
  compartment(freeBox, "a note");
  RepId freeLine = element("FreeLine", object("EdgeStyle", {{"lineColor", "16711680"}}));
  model::setAttribute(freeLine, "freeLine_x1", "0");
  model::setAttribute(freeLine, "freeLine_y1", "300");
  model::setAttribute(freeLine, "freeLine_xn", "200");
  model::setAttribute(freeLine, "freeLine_yn", "300");
  RepId pictured =
      node(object("NodeStyle", {{"picture", "C:\\icons\\actor.bmp"}, {"picWidth", "16"}}));
  ParsedXml svg = rendered();
  const XmlNode& box = group(svg, freeBox);
  EXPECT_EQ(box.attr("class"), "element free-box");
  EXPECT_TRUE(shapeOf(box).hasClass("note"));
  EXPECT_EQ(shapeOf(box).attr("fill"), "#C0C0C0");
  EXPECT_EQ(compartmentTexts(box), (std::vector<std::string>{"a note"}));
  const XmlNode& line = group(svg, freeLine);
  EXPECT_EQ(line.attr("class"), "element free-line");
  EXPECT_EQ(line.need("polyline").attr("points"), "0,300 200,300");
  EXPECT_EQ(line.need("polyline").attr("stroke"), "#0000FF");
  const XmlNode& picture = group(svg, pictured).need("g", "picture");
  EXPECT_EQ(picture.attr("data-picture"), "C:\\icons\\actor.bmp");
  EXPECT_TRUE(hasText(picture, "actor.bmp"));
  // The canvas holds everything, also what lies left of zero.
  std::string viewBox = svg.root().attr("viewBox");
  EXPECT_LE(std::stoi(viewBox.substr(0, viewBox.find(' '))), -50);
}

// Pictures the project's folder holds are put into the document; any other
// name (missing, of an unknown kind, a path leading out of the folder) is a
// labelled placeholder, and the rest of the element is drawn all the same.
TEST_F(RenderSvgTest, PicturesTheProjectHoldsAreEmbeddedOthersArePlaceholders) {
  grtest::TempFolder project;
  std::filesystem::path pictures = project.path() / "pictures";
  std::filesystem::create_directories(pictures);
  for (const auto& [name, bytes] : {std::pair{"logo.png", "abcd"}, std::pair{"icon.GIF", "abcde"},
                                    std::pair{"notes.txt", "abc"}})
    std::ofstream(pictures / name, std::ios::binary) << bytes;
  std::ofstream(project.path() / "secret.png", std::ios::binary) << "abc";

  RepId held =
      node(object("NodeStyle",
                  {{"picture", "C:\\icons\\logo.png"}, {"picWidth", "20"}, {"picHeight", "10"}}),
           "0 0 100 50");
  RepId upper = node(object("NodeStyle", {{"picture", "icon.GIF"}}), "200 0 100 50");
  RepId missing = node(object("NodeStyle", {{"picture", "gone.png"}}), "0 100 100 50");
  RepId unknownKind = node(object("NodeStyle", {{"picture", "notes.txt"}}), "200 100 100 50");
  RepId outside = node(object("NodeStyle", {{"picture", "../secret.png"}}), "0 200 100 50");
  compartment(missing, "still drawn");
  RepId stereotype = node(0, "200 200 100 80");
  compartment(stereotype, "",
              object("CompartStyle", {{"picture", "logo.png"}, {"picWidth", "30"}}));
  compartment(stereotype, "below");
  ParsedXml svg = rendered(pictures);

  const XmlNode& embedded = group(svg, held).need("g", "picture");
  EXPECT_FALSE(embedded.hasClass("missing"));
  EXPECT_EQ(embedded.attr("data-picture"), "C:\\icons\\logo.png");
  const XmlNode& image = embedded.need("image");
  EXPECT_EQ(image.attr("href"), "data:image/png;base64,YWJjZA==");
  EXPECT_EQ(image.attr("x") + " " + image.attr("y") + " " + image.attr("width") + " " +
                image.attr("height"),
            "2 2 20 10");
  EXPECT_EQ(group(svg, upper).need("g", "picture").need("image").attr("href"),
            "data:image/gif;base64,YWJjZGU=");
  for (RepId placeholder : {missing, unknownKind, outside}) {
    const XmlNode& frame = group(svg, placeholder).need("g", "picture");
    EXPECT_TRUE(frame.hasClass("missing")) << frame.attr("data-picture");
    EXPECT_EQ(frame.child("image"), nullptr);
    EXPECT_NE(frame.child("rect"), nullptr);
  }
  EXPECT_TRUE(hasText(group(svg, missing).need("g", "picture"), "gone.png"));
  EXPECT_TRUE(hasText(group(svg, outside).need("g", "picture"), "secret.png"));
  EXPECT_EQ(compartmentTexts(group(svg, missing)), std::vector<std::string>{"still drawn"});
  EXPECT_TRUE(shapeOf(group(svg, missing)).hasClass("rectangle"));

  // A compartment's picture stands above its text, even without a text.
  const XmlNode& pictured = group(svg, stereotype);
  const XmlNode& row = pictured.need("g", "picture");
  EXPECT_EQ(row.need("image").attr("width"), "30");
  EXPECT_LT(std::stod(row.need("image").attr("y")),
            std::stod(textNamed(pictured, "below").attr("y")));

  // Without a picture folder every picture is a placeholder.
  ParsedXml nowhere = rendered();
  EXPECT_TRUE(group(nowhere, held).need("g", "picture").hasClass("missing"));
}

TEST_F(RenderSvgTest, TheBackgroundFallsBackToTheDiagramTypeThenWhite) {
  EXPECT_EQ(rendered().root().need("rect", "background").attr("fill"), "#FFFFFF");
  RepId type = object("GraphDiagramType", {{"bkgColor", "255"}});
  model::link(diagram_, "graphDiagramType", type);
  EXPECT_EQ(rendered().root().need("rect", "background").attr("fill"), "#FF0000");
  model::setAttribute(diagram_, "bkgColor", "65280");
  EXPECT_EQ(rendered().root().need("rect", "background").attr("fill"), "#00FF00");
}

TEST_F(RenderSvgTest, BrokenTextsStillGiveAWellFormedDocument) {
  model::setAttribute(diagram_, "caption", "<&\x01\">");
  RepId a = node();
  compartment(a, "bad \xC3 byte\x02 and ]]> end");
  ParsedXml svg = rendered();
  EXPECT_EQ(svg.root().need("title").text, "<&\">");
  EXPECT_EQ(compartmentTexts(group(svg, a)).front(), "bad \xEF\xBF\xBD byte and ]]> end");
}

}  // namespace
