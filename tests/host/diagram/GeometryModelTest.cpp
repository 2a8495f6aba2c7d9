#include <gtest/gtest.h>

#include "host/base/Model.h"
#include "host/diagram/Geometry.h"
#include "host/diagram/GeometryModel.h"
#include "host/diagram/GraphDiagramEngine.h"
#include "tests/host/render/RenderFixture.h"

namespace {

using grhost::DiagramGeometry;
using grhost::ElementKind;
using grhost::PlacedElement;
using grhost::geometry::Box;
using grhost::geometry::parseBox;
using grhost::geometry::parsePolyline;
namespace model = grhost::model;

class GeometryModelTest : public rendertest::RenderTest {
 protected:
  static const PlacedElement& placed(const DiagramGeometry& geometry, RepId element) {
    for (const PlacedElement& candidate : geometry.elements)
      if (candidate.id == element) return candidate;
    throw std::runtime_error("element not laid out");
  }
  static Box boxOf(RepId element) {
    auto box = parseBox(location(element));
    EXPECT_TRUE(box) << "location of " << element << ": \"" << location(element) << "\"";
    return box.value_or(Box{});
  }
};

TEST_F(GeometryModelTest, ElementsWithoutLocationGetOneSizedByTheirStyle) {
  RepId big = object("NodeStyle", {{"width", "200"}, {"height", "80"}});
  RepId pinStyle = object("PortStyle", {{"width", "12"}, {"height", "8"}});
  RepId a = node(big), b = node(), p = port(b, pinStyle);
  RepId line = edge(a, b);
  grhost::layOutDiagram(diagram_);
  Box boxA = boxOf(a), boxB = boxOf(b), boxP = boxOf(p);
  EXPECT_EQ(boxA.w, 200);
  EXPECT_EQ(boxA.h, 80);
  EXPECT_EQ(boxB.w, 110);
  EXPECT_EQ(boxB.h, 45);
  EXPECT_EQ(boxP.w, 12);
  EXPECT_EQ(boxP.h, 8);
  EXPECT_FALSE(boxA.overlaps(boxB));
  EXPECT_TRUE(grhost::geometry::onBorder(boxB, boxP.centre()));
  auto route = parsePolyline(location(line));
  ASSERT_TRUE(route);
  EXPECT_TRUE(grhost::geometry::onBorder(boxA, route->front()));
  EXPECT_TRUE(grhost::geometry::onBorder(boxB, route->back()));
}

TEST_F(GeometryModelTest, PlacedBoxesGrowToHoldTheirTexts) {
  RepId big = object("CompartStyle", {{"fontSize", "20"}});
  RepId wide = node(), tall = node(), given = node(0, "0 0 30 20"), small = node();
  compartment(wide, "A name far too long for a hundred and ten units");
  compartment(tall, "one\ntwo\nthree\nfour", big);
  compartment(given, "A name far too long for a hundred and ten units");
  compartment(small, "ok");
  grhost::layOutDiagram(diagram_);
  EXPECT_GT(boxOf(wide).w, 250);
  EXPECT_EQ(boxOf(wide).h, 45);
  EXPECT_GT(boxOf(tall).h, 4 * 20);
  EXPECT_EQ(boxOf(given), (Box{0, 0, 30, 20}));
  EXPECT_EQ(boxOf(small), (Box{boxOf(small).x, boxOf(small).y, 110, 45}));
}

TEST_F(GeometryModelTest, ExplicitLocationsAreKeptAndWrittenLocationsAreStable) {
  RepId fixed = node(0, "300 40 120 60");
  RepId fixedLine = edge(fixed, fixed, 0, "1 2 3 4 5 6");
  RepId container = node(), child = node(), loose = node();
  nest(child, container);
  DiagramGeometry first = grhost::layOutDiagram(diagram_);
  EXPECT_EQ(location(fixed), "300 40 120 60");
  EXPECT_EQ(location(fixedLine), "1 2 3 4 5 6");
  EXPECT_TRUE(boxOf(container).contains(boxOf(child)));
  EXPECT_EQ(placed(first, child).owner, 2);  // the container's index in link order
  EXPECT_FALSE(boxOf(loose).overlaps(boxOf(fixed)));
  std::vector<std::string> before;
  for (RepId element : model::partners(diagram_, "element")) before.push_back(location(element));
  DiagramGeometry second = grhost::layOutDiagram(diagram_);
  std::vector<std::string> after;
  for (RepId element : model::partners(diagram_, "element")) after.push_back(location(element));
  EXPECT_EQ(after, before);
  for (std::size_t i = 0; i < first.elements.size(); ++i)
    EXPECT_EQ(second.elements[i].box, first.elements[i].box);
}

TEST_F(GeometryModelTest, NewElementsAvoidWhatWasPlacedBefore) {
  RepId first = node();
  grhost::layOutDiagram(diagram_);
  Box kept = boxOf(first);
  RepId second = node(), third = node();
  grhost::layOutDiagram(diagram_);
  EXPECT_EQ(boxOf(first), kept);
  EXPECT_FALSE(boxOf(second).overlaps(kept));
  EXPECT_FALSE(boxOf(third).overlaps(kept));
  EXPECT_FALSE(boxOf(second).overlaps(boxOf(third)));
}

TEST_F(GeometryModelTest, FreeShapesUseTheirOwnAttributesWhenTheyHaveNoLocation) {
  RepId freeBox = element("FreeBox");
  model::setAttribute(freeBox, "freeBox_x", "40");
  model::setAttribute(freeBox, "freeBox_y", "50");
  model::setAttribute(freeBox, "freeBox_w", "60");
  model::setAttribute(freeBox, "freeBox_h", "70");
  RepId freeLine = element("FreeLine");
  model::setAttribute(freeLine, "freeLine_x1", "10");
  model::setAttribute(freeLine, "freeLine_y1", "20");
  model::setAttribute(freeLine, "freeLine_xn", "300");
  model::setAttribute(freeLine, "freeLine_yn", "20");
  RepId overridden = element("FreeBox", 0, "1 2 3 4");
  model::setAttribute(overridden, "freeBox_x", "100");
  RepId bare = element("FreeLine");
  DiagramGeometry geometry = grhost::layOutDiagram(diagram_);
  EXPECT_EQ(placed(geometry, freeBox).box, (Box{40, 50, 60, 70}));
  EXPECT_EQ(placed(geometry, freeLine).line, (grhost::geometry::Polyline{{10, 20}, {300, 20}}));
  EXPECT_EQ(placed(geometry, overridden).box, (Box{1, 2, 3, 4}));
  // The library keeps free shapes' attributes up to date; no location hides them.
  EXPECT_EQ(location(freeBox), "");
  EXPECT_EQ(location(freeLine), "");
  EXPECT_EQ(placed(geometry, bare).line.size(), 2u);
  EXPECT_NE(location(bare), "");
  EXPECT_EQ(placed(geometry, freeBox).kind, ElementKind::FreeBox);
  EXPECT_EQ(placed(geometry, bare).kind, ElementKind::FreeLine);
}

TEST_F(GeometryModelTest, UnreadableLocationsAreReplacedAndOrthogonalStylesRouteSquare) {
  RepId square = object("EdgeStyle", {{"lineType", "16"}});
  RepId a = node(0, "0 0 100 50"), b = node(0, "400 300 100 50"), broken = node(0, "here");
  RepId line = edge(a, b, square);
  grhost::layOutDiagram(diagram_);
  EXPECT_TRUE(parseBox(location(broken)));
  auto route = parsePolyline(location(line));
  ASSERT_TRUE(route);
  ASSERT_EQ(route->size(), 4u);
  for (std::size_t i = 1; i < route->size(); ++i)
    EXPECT_TRUE((*route)[i].x == (*route)[i - 1].x || (*route)[i].y == (*route)[i - 1].y);
}

TEST_F(GeometryModelTest, TheEngineLaysOutWhenItRedrawsADiagram) {
  grhost::GraphDiagramEngine engine;
  RepId a = node();
  RepId ok = object("OkCmd");
  model::link(ok, "element", a);  // names no diagram: the element's is taken
  EXPECT_TRUE(engine.execute(ok, "OkCmd"));
  EXPECT_TRUE(parseBox(location(a)));

  RepId b = node();
  RepId refresh = object("UpdateDgrCmd");
  model::link(refresh, "graphDiagram", diagram_);
  engine.execute(refresh, "UpdateDgrCmd");
  EXPECT_TRUE(parseBox(location(b)));

  RepId c = node();
  RepId style = object("DefaultStyleCmd");
  model::link(style, "graphDiagram", diagram_);
  engine.execute(style, "DefaultStyleCmd");
  EXPECT_EQ(location(c), "");  // no redraw of the whole diagram
  RepId activate = object("ActiveDgrCmd");
  model::link(activate, "graphDiagram", diagram_);
  engine.execute(activate, "ActiveDgrCmd");
  EXPECT_TRUE(parseBox(location(c)));
}

}  // namespace
