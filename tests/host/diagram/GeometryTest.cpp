#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "host/diagram/Geometry.h"
#include "host/diagram/GeometryLayout.h"

namespace {

using grhost::geometry::Box;
using grhost::geometry::ItemKind;
using grhost::geometry::LayoutItem;
using grhost::geometry::LayoutOutcome;
using grhost::geometry::LayoutSpacing;
using grhost::geometry::Point;
using grhost::geometry::Polyline;
namespace geo = grhost::geometry;

// ---- text forms

TEST(GeometryText, BoxesAndPolylinesReadBackWhatIsWritten) {
  EXPECT_EQ(geo::parseBox("10 -20 110 45"), (Box{10, -20, 110, 45}));
  EXPECT_EQ(geo::parseBox("  1\t2 3 4 \n"), (Box{1, 2, 3, 4}));
  EXPECT_EQ(geo::formatBox({10, -20, 110, 45}), "10 -20 110 45");
  EXPECT_EQ(geo::parsePolyline("0 0 10 20 30 40"), (Polyline{{0, 0}, {10, 20}, {30, 40}}));
  EXPECT_EQ(geo::formatPolyline({{0, 0}, {-5, 7}}), "0 0 -5 7");
  Box box{3, 4, 5, 6};
  EXPECT_EQ(geo::parseBox(geo::formatBox(box)), box);
}

TEST(GeometryText, MalformedTextsAreNoGeometry) {
  for (const char* text : {"", "1 2 3", "1 2 3 4 5", "1 2 -3 4", "1 2 3 x", "1.5 2 3 4", "1,2,3,4",
                           "1 2 3 4x", "2147483647 0 1 1", "0 0 100000001 5", "-100000001 0 1 1"})
    EXPECT_FALSE(geo::parseBox(text)) << text;
  EXPECT_TRUE(geo::parseBox("-100000000 100000000 100000000 0")) << "the range's ends";
  for (const char* text : {"", "1 2", "1 2 3", "1 2 3 4 5", "a b c d", "0 0 2000000000 0"})
    EXPECT_FALSE(geo::parsePolyline(text)) << text;
}

// ---- outlines and routes

TEST(GeometryRoutes, BorderPointsLieOnTheOutlineTowardsTheTarget) {
  Box box{0, 0, 100, 40};
  EXPECT_EQ(geo::borderPoint(box, {500, 20}), (Point{100, 20}));
  EXPECT_EQ(geo::borderPoint(box, {50, -300}), (Point{50, 0}));
  EXPECT_EQ(geo::borderPoint(box, {-50, 20}), (Point{0, 20}));
  Point corner = geo::borderPoint(box, {150, 70});  // along the diagonal
  EXPECT_TRUE(geo::onBorder(box, corner));
  EXPECT_EQ(geo::borderPoint(box, box.centre()), (Point{100, 20}));
  EXPECT_FALSE(geo::onBorder(box, {50, 20}));
  EXPECT_FALSE(geo::onBorder(box, {150, 20}));
}

TEST(GeometryRoutes, OutlinePointsWalkClockwiseFromTheRightSide) {
  Box box{0, 0, 100, 40};
  EXPECT_EQ(geo::outlinePoint(box, 0), (Point{100, 20}));
  EXPECT_EQ(geo::outlinePoint(box, geo::perimeter(box) / 2.0), (Point{0, 20}));
  EXPECT_EQ(geo::outlinePoint(box, 20 + 50), (Point{50, 40}));  // bottom middle
  for (int d = 0; d < geo::perimeter(box); d += 7)
    EXPECT_TRUE(geo::onBorder(box, geo::outlinePoint(box, d))) << d;
}

TEST(GeometryRoutes, StraightRoutesClipTheCentreLineAtBothOutlines) {
  Box a{0, 0, 100, 50}, b{300, 200, 60, 60};
  Polyline line = geo::straightRoute(a, b);
  ASSERT_EQ(line.size(), 2u);
  EXPECT_TRUE(geo::onBorder(a, line.front()));
  EXPECT_TRUE(geo::onBorder(b, line.back()));
  // Still on the centre-to-centre line: the cross product is about zero.
  Point ca = a.centre(), cb = b.centre();
  long cross = static_cast<long>(cb.x - ca.x) * (line.front().y - ca.y) -
               static_cast<long>(cb.y - ca.y) * (line.front().x - ca.x);
  EXPECT_LE(std::abs(cross), 400);
}

TEST(GeometryRoutes, OrthogonalRoutesUseOnlyHorizontalAndVerticalSegments) {
  Box a{0, 0, 100, 50};
  struct Case {
    Box to;
    std::size_t points;
  };
  for (Case c :
       {Case{{40, 200, 100, 50}, 2}, Case{{300, 10, 50, 50}, 2}, Case{{400, 300, 80, 40}, 4},
        Case{{120, 400, 80, 40}, 4}, Case{{-300, -200, 80, 40}, 4}}) {
    Polyline line = geo::orthogonalRoute(a, c.to);
    ASSERT_EQ(line.size(), c.points);
    EXPECT_TRUE(geo::onBorder(a, line.front()));
    EXPECT_TRUE(geo::onBorder(c.to, line.back()));
    for (std::size_t i = 1; i < line.size(); ++i)
      EXPECT_TRUE(line[i].x == line[i - 1].x || line[i].y == line[i - 1].y)
          << geo::formatPolyline(line);
  }
}

TEST(GeometryRoutes, OffsetRoutesMoveSidewaysWithinTheBoxes) {
  Box a{0, 0, 100, 50}, b{300, 0, 100, 50}, c{400, 300, 80, 40};
  EXPECT_EQ(geo::straightRoute(a, b, 10),
            (Polyline{{100, 15}, {300, 15}}));  // left of rightwards is up
  EXPECT_EQ(geo::straightRoute(a, b, -10), (Polyline{{100, 35}, {300, 35}}));
  EXPECT_EQ(geo::straightRoute(a, b, 500),
            (Polyline{{100, 1}, {300, 1}}));  // no further than the boxes allow
  Polyline shifted = geo::orthogonalRoute(a, c, 10), plain = geo::orthogonalRoute(a, c);
  ASSERT_EQ(shifted.size(), plain.size());
  EXPECT_TRUE(geo::onBorder(a, shifted.front()));
  EXPECT_TRUE(geo::onBorder(c, shifted.back()));
  for (std::size_t i = 0; i < shifted.size(); ++i) EXPECT_NE(shifted[i], plain[i]) << i;
}

TEST(GeometryRoutes, SelfLoopsLeaveAndEnterTheSameBox) {
  Box box{10, 10, 100, 40};
  Polyline loop = geo::selfLoop(box);
  EXPECT_TRUE(geo::onBorder(box, loop.front()));
  EXPECT_TRUE(geo::onBorder(box, loop.back()));
  EXPECT_NE(loop.front(), loop.back());
}

TEST(GeometryRoutes, SquaringOffBendsOnlySlantedSegments) {
  EXPECT_EQ(geo::squaredOff({{0, 0}, {100, 20}}), (Polyline{{0, 0}, {100, 0}, {100, 20}}));
  EXPECT_EQ(geo::squaredOff({{0, 0}, {10, 80}}), (Polyline{{0, 0}, {0, 80}, {10, 80}}));
  Polyline straight{{0, 0}, {0, 50}, {70, 50}};
  EXPECT_EQ(geo::squaredOff(straight), straight);
  EXPECT_EQ(geo::midpoint({{0, 0}, {100, 0}, {100, 100}}), (Point{100, 0}));
}

// ---- layout

LayoutItem box(int width = 110, int height = 45) {
  LayoutItem item;
  item.width = width;
  item.height = height;
  return item;
}
LayoutItem givenBox(Box given) {
  LayoutItem item;
  item.box = given;
  return item;
}
LayoutItem inside(LayoutItem item, int owner) {
  item.owner = owner;
  return item;
}
LayoutItem portOf(int owner) {
  LayoutItem item;
  item.kind = ItemKind::Port;
  item.width = item.height = 20;
  item.owner = owner;
  return item;
}
LayoutItem lineBetween(int start, int end, bool orthogonal = false) {
  LayoutItem item;
  item.kind = ItemKind::Line;
  item.start = start;
  item.end = end;
  item.orthogonal = orthogonal;
  return item;
}

void expectNoOverlap(const LayoutOutcome& outcome, const std::vector<int>& indices) {
  for (std::size_t i = 0; i < indices.size(); ++i)
    for (std::size_t j = i + 1; j < indices.size(); ++j)
      EXPECT_FALSE(outcome.boxes[indices[i]].overlaps(outcome.boxes[indices[j]]))
          << indices[i] << " " << geo::formatBox(outcome.boxes[indices[i]]) << " / " << indices[j]
          << " " << geo::formatBox(outcome.boxes[indices[j]]);
}

TEST(GeometryLayout, TopLevelBoxesTakeTheirSizeAndDoNotOverlap) {
  std::vector<LayoutItem> items;
  std::vector<int> all;
  for (int i = 0; i < 40; ++i) {
    items.push_back(box(60 + (i * 37) % 120, 30 + (i * 11) % 60));
    all.push_back(i);
  }
  LayoutOutcome outcome = geo::layOut(items);
  expectNoOverlap(outcome, all);
  for (int i : all) {
    EXPECT_EQ(outcome.boxes[i].w, items[i].width);
    EXPECT_EQ(outcome.boxes[i].h, items[i].height);
    EXPECT_GE(outcome.boxes[i].x, LayoutSpacing::kMargin);
    EXPECT_GE(outcome.boxes[i].y, LayoutSpacing::kMargin);
    EXPECT_TRUE(outcome.changed[i]);
  }
}

TEST(GeometryLayout, GivenBoxesStayWhereTheyAreAndNewOnesAvoidThem) {
  std::vector<LayoutItem> items{givenBox({20, 20, 300, 200}), givenBox({400, 20, 50, 50})};
  for (int i = 0; i < 12; ++i) items.push_back(box());
  LayoutOutcome outcome = geo::layOut(items);
  EXPECT_EQ(outcome.boxes[0], (Box{20, 20, 300, 200}));
  EXPECT_EQ(outcome.boxes[1], (Box{400, 20, 50, 50}));
  EXPECT_FALSE(outcome.changed[0]);
  EXPECT_FALSE(outcome.changed[1]);
  std::vector<int> all(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) all[i] = static_cast<int>(i);
  expectNoOverlap(outcome, all);
  for (std::size_t i = 2; i < items.size(); ++i) {
    EXPECT_FALSE(outcome.boxes[i].grownBy(LayoutSpacing::kGap - 1).overlaps(outcome.boxes[0])) << i;
    EXPECT_FALSE(outcome.boxes[i].grownBy(LayoutSpacing::kGap - 1).overlaps(outcome.boxes[1])) << i;
  }
}

TEST(GeometryLayout, ContainersGrowToHoldTheirChildrenWhichDoNotOverlap) {
  // 0 holds 1, 2 and 3; 3 holds 4 and 5; 6 stands beside.
  std::vector<LayoutItem> items{box(),
                                inside(box(), 0),
                                inside(box(80, 30), 0),
                                inside(box(), 0),
                                inside(box(), 3),
                                inside(box(), 3),
                                box()};
  items[0].header = 20;
  LayoutOutcome outcome = geo::layOut(items);
  for (int child : {1, 2, 3}) EXPECT_TRUE(outcome.boxes[0].contains(outcome.boxes[child])) << child;
  for (int child : {4, 5}) EXPECT_TRUE(outcome.boxes[3].contains(outcome.boxes[child])) << child;
  expectNoOverlap(outcome, {1, 2, 3});
  expectNoOverlap(outcome, {4, 5});
  expectNoOverlap(outcome, {0, 6});
  // The header stays free for the container's texts.
  for (int child : {1, 2, 3}) EXPECT_GE(outcome.boxes[child].y, outcome.boxes[0].y + 20) << child;
  EXPECT_EQ(outcome.owners[4], 3);
  EXPECT_EQ(outcome.owners[6], -1);
}

TEST(GeometryLayout, AGivenContainerKeepsItsCornerAndGrowsOnlyWhenItMust) {
  std::vector<LayoutItem> items{givenBox({100, 100, 400, 300}), inside(box(), 0),
                                givenBox({600, 100, 50, 50}), inside(box(), 2), inside(box(), 2)};
  LayoutOutcome outcome = geo::layOut(items);
  EXPECT_EQ(outcome.boxes[0], (Box{100, 100, 400, 300}));
  EXPECT_FALSE(outcome.changed[0]);
  EXPECT_TRUE(outcome.boxes[0].contains(outcome.boxes[1]));
  EXPECT_EQ(outcome.boxes[2].x, 600);
  EXPECT_EQ(outcome.boxes[2].y, 100);
  EXPECT_TRUE(outcome.changed[2]);
  EXPECT_TRUE(outcome.boxes[2].contains(outcome.boxes[3]));
  EXPECT_TRUE(outcome.boxes[2].contains(outcome.boxes[4]));
  expectNoOverlap(outcome, {3, 4});
}

TEST(GeometryLayout, AContainerWithoutGeometryFramesItsPlacedChildren) {
  std::vector<LayoutItem> items{box(), inside(givenBox({500, 300, 60, 40}), 0), inside(box(), 0),
                                box()};
  LayoutOutcome outcome = geo::layOut(items);
  EXPECT_EQ(outcome.boxes[1], (Box{500, 300, 60, 40}));
  EXPECT_FALSE(outcome.changed[1]);
  EXPECT_TRUE(outcome.boxes[0].contains(outcome.boxes[1]));
  EXPECT_TRUE(outcome.boxes[0].contains(outcome.boxes[2]));
  expectNoOverlap(outcome, {1, 2});
  expectNoOverlap(outcome, {0, 3});
}

TEST(GeometryLayout, ContainerCyclesAndStrangeOwnersMakeTopLevelBoxes) {
  std::vector<LayoutItem> items{inside(box(), 1), inside(box(), 0), inside(box(), 7),
                                inside(box(), 4)};
  items.push_back(lineBetween(0, 1));
  items[3].owner = 4;  // a line is no container
  LayoutOutcome outcome = geo::layOut(items);
  for (int i : {0, 1, 2, 3}) EXPECT_EQ(outcome.owners[i], -1) << i;
  expectNoOverlap(outcome, {0, 1, 2, 3});
}

TEST(GeometryLayout, PortsSitOnTheirNodesOutlineApartFromEachOther) {
  std::vector<LayoutItem> items{box(), portOf(0), portOf(0), portOf(0), portOf(0)};
  items.push_back(givenBox({400, 400, 10, 10}));
  LayoutItem placed = portOf(0);
  placed.box = Box{1000, 1000, 20, 20};
  items.push_back(placed);
  LayoutOutcome outcome = geo::layOut(items);
  for (int port : {1, 2, 3, 4}) {
    EXPECT_TRUE(geo::onBorder(outcome.boxes[0], outcome.boxes[port].centre())) << port;
    EXPECT_EQ(outcome.boxes[port].w, 20);
    EXPECT_TRUE(outcome.changed[port]);
  }
  expectNoOverlap(outcome, {1, 2, 3, 4});
  EXPECT_EQ(outcome.boxes[6], (Box{1000, 1000, 20, 20}));
  EXPECT_FALSE(outcome.changed[6]);
}

TEST(GeometryLayout, LinesRunBetweenTheOutlinesOfTheirEnds) {
  std::vector<LayoutItem> items{box(),
                                box(),
                                portOf(1),
                                lineBetween(0, 1),
                                lineBetween(0, 2, true),
                                lineBetween(1, 1),
                                lineBetween(3, 0)};
  LayoutOutcome outcome = geo::layOut(items);
  auto endsOn = [&](int line, const Box& from, const Box& to) {
    const Polyline& route = outcome.lines[line];
    ASSERT_GE(route.size(), 2u);
    EXPECT_TRUE(geo::onBorder(from, route.front())) << line << ": " << geo::formatPolyline(route);
    EXPECT_TRUE(geo::onBorder(to, route.back())) << line << ": " << geo::formatPolyline(route);
    EXPECT_TRUE(outcome.changed[line]);
  };
  endsOn(3, outcome.boxes[0], outcome.boxes[1]);
  endsOn(4, outcome.boxes[0], outcome.boxes[2]);
  endsOn(5, outcome.boxes[1], outcome.boxes[1]);
  // A line that ends on a line meets it in its middle.
  Point middle = geo::midpoint(outcome.lines[3]);
  EXPECT_EQ(outcome.lines[6].front(), middle);
  EXPECT_EQ(outcome.boxes[3], geo::boundsOf(outcome.lines[3]));
}

TEST(GeometryLayout, LinesBetweenTheSameEndsLieApart) {
  for (bool orthogonal : {false, true}) {
    std::vector<LayoutItem> items{box(), box(), lineBetween(0, 1, orthogonal),
                                  lineBetween(1, 0, orthogonal), lineBetween(0, 1, orthogonal)};
    LayoutOutcome outcome = geo::layOut(items);
    std::set<std::string> routes;
    for (int line : {2, 3, 4}) {
      Polyline route = outcome.lines[line];
      EXPECT_TRUE(geo::onBorder(outcome.boxes[items[line].start], route.front())) << line;
      EXPECT_TRUE(geo::onBorder(outcome.boxes[items[line].end], route.back())) << line;
      if (route.front().x > route.back().x) std::reverse(route.begin(), route.end());
      routes.insert(geo::formatPolyline(route));
    }
    EXPECT_EQ(routes.size(), 3u) << "orthogonal " << orthogonal;
  }
  // A line added later does not take the route of one laid out before.
  std::vector<LayoutItem> items{givenBox({0, 0, 100, 50}), givenBox({300, 0, 100, 50}),
                                lineBetween(0, 1), lineBetween(1, 0)};
  items[2].line = geo::straightRoute(*items[0].box, *items[1].box);
  LayoutOutcome outcome = geo::layOut(items);
  EXPECT_NE(outcome.lines[3].front().y, outcome.lines[2].front().y);
}

TEST(GeometryLayout, GivenLinesStayAndLooseLinesGetAPlaceOfTheirOwn) {
  LayoutItem given = lineBetween(0, 1);
  given.line = Polyline{{5, 5}, {6, 6}, {7, 9}};
  LayoutItem loose = lineBetween(-1, -1);
  loose.width = 90;
  std::vector<LayoutItem> items{box(), box(), given, loose, lineBetween(0, 99)};
  LayoutOutcome outcome = geo::layOut(items);
  EXPECT_EQ(outcome.lines[2], *given.line);
  EXPECT_FALSE(outcome.changed[2]);
  ASSERT_EQ(outcome.lines[3].size(), 2u);
  EXPECT_EQ(outcome.lines[3].back().x - outcome.lines[3].front().x, 90);
  EXPECT_EQ(outcome.lines[3].front().y, outcome.lines[3].back().y);
  EXPECT_FALSE(outcome.boxes[3].overlaps(outcome.boxes[0]));
  EXPECT_FALSE(outcome.boxes[3].overlaps(outcome.boxes[1]));
  EXPECT_EQ(outcome.lines[4].size(), 2u);  // an end outside the diagram: loose too
}

TEST(GeometryLayout, LaidOutGeometryIsAFixedPoint) {
  std::vector<LayoutItem> items{box(), inside(box(), 0), portOf(1), box(), lineBetween(2, 3, true)};
  LayoutOutcome first = geo::layOut(items);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].kind == ItemKind::Line)
      items[i].line = first.lines[i];
    else
      items[i].box = first.boxes[i];
  }
  LayoutOutcome second = geo::layOut(items);
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_FALSE(second.changed[i]) << i;
    EXPECT_EQ(second.boxes[i], first.boxes[i]) << i;
  }
}

}  // namespace
