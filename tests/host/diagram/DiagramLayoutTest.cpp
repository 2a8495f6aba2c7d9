// The engine's kept geometry under a stream of small changes: whatever order
// elements come and go in, what it places never overlaps a neighbour of its
// level, sits inside its container, on its node's outline or between its
// ends, and it agrees with what a whole-diagram reading finds.
#include <gtest/gtest.h>

#include <random>

#include "host/base/ChangeTracker.h"
#include "host/base/Model.h"
#include "host/diagram/Geometry.h"
#include "host/diagram/GraphDiagramEngine.h"
#include "tests/host/render/RenderFixture.h"

namespace {

namespace model = grhost::model;
namespace geo = grhost::geometry;
using geo::Box;

class DiagramLayoutTest : public rendertest::RenderTest {
 protected:
  static Box boxOf(RepId element) {
    auto box = geo::parseBox(location(element));
    EXPECT_TRUE(box) << element << ": \"" << location(element) << "\"";
    return box.value_or(Box{});
  }
  // What a gesture's commands end with: the engine draws what changed.
  void redraw(grhost::GraphDiagramEngine& engine) {
    RepId ok = object("OkCmd");
    model::link(ok, "graphDiagram", diagram_);
    engine.execute(ok, "OkCmd");
    model::remove(ok);
  }
  // A new box keeps off the boxes of its level that are there when it comes
  // (a container that grows later may reach a neighbour).
  static void expectApartFromItsNeighbours(RepId added) {
    RepId container = model::firstPartner(added, "container");
    std::vector<RepId> level =
        container ? model::partners(container, "component") : std::vector<RepId>{};
    if (!container)
      for (RepId element : model::partners(model::firstPartner(added, "graphDiagram"), "element"))
        if (model::isKindOf(element, "Node") && !model::firstPartner(element, "container"))
          level.push_back(element);
    for (RepId other : level) {
      if (other == added) continue;
      EXPECT_FALSE(boxOf(added).overlaps(boxOf(other)))
          << location(added) << " and " << location(other);
    }
  }
  std::vector<RepId> topLevelBoxes() const {
    std::vector<RepId> boxes;
    for (RepId element : model::partners(diagram_, "element"))
      if (model::isKindOf(element, "Node") && !model::firstPartner(element, "container"))
        boxes.push_back(element);
    return boxes;
  }
};

TEST_F(DiagramLayoutTest, BoxesDrawnOneByOneKeepOffTheirNeighboursAndAttachmentsFollowGrowth) {
  grhost::ChangeTracker changes;
  grhost::GraphDiagramEngine engine(changes);
  // A diagram drawn earlier, with a row of boxes placed by hand.
  for (int i = 0; i < 5; ++i) node(0, std::to_string(20 + 150 * i) + " 20 110 45");
  redraw(engine);

  std::mt19937 random(11);
  std::vector<RepId> nodes = topLevelBoxes();
  for (int step = 0; step < 150; ++step) {
    int choice = static_cast<int>(random() % 10);
    RepId added = 0;
    if (choice < 5 || nodes.empty()) {
      added = node();
    } else if (choice < 7) {
      added = node();
      nest(added, nodes[random() % nodes.size()]);
    } else if (choice < 8) {
      added = port(nodes[random() % nodes.size()]);
    } else if (choice < 9) {
      RepId from = nodes[random() % nodes.size()], to = nodes[random() % nodes.size()];
      edge(from, to);
    } else {
      RepId doomed = nodes[random() % nodes.size()];
      for (RepId child : model::partners(doomed, "component"))
        model::unlink(child, "container", doomed);
      for (const char* role : {"port", "eStart", "eEnd"})
        for (RepId attached : model::partners(doomed, role)) model::remove(attached);
      model::remove(doomed);
      nodes.erase(std::find(nodes.begin(), nodes.end(), doomed));
    }
    redraw(engine);
    if (added && model::isKindOf(added, "Node")) {
      expectApartFromItsNeighbours(added);
      nodes.push_back(added);
    }
  }

  for (RepId element : model::partners(diagram_, "element")) {
    if (RepId container = model::firstPartner(element, "container")) {
      EXPECT_TRUE(boxOf(container).contains(boxOf(element)))
          << location(container) << " holds " << location(element);
    }
    if (RepId owner = model::firstPartner(element, "node")) {
      EXPECT_TRUE(geo::onBorder(boxOf(owner), boxOf(element).centre(), 1));
    }
    if (model::isKindOf(element, "Edge")) {
      auto route = geo::parsePolyline(location(element));
      ASSERT_TRUE(route) << location(element);
      RepId start = model::firstPartner(element, "start"),
            end = model::firstPartner(element, "end");
      if (start == end) continue;
      EXPECT_TRUE(geo::onBorder(boxOf(start), route->front(), 1));
      EXPECT_TRUE(geo::onBorder(boxOf(end), route->back(), 1));
    }
  }
}

TEST_F(DiagramLayoutTest, PortsOfOneNodeAndLinesBetweenTheSameEndsLieApart) {
  grhost::ChangeTracker changes;
  grhost::GraphDiagramEngine engine(changes);
  RepId a = node(0, "0 0 200 100"), b = node(0, "400 0 200 100");
  redraw(engine);
  std::vector<RepId> ports, lines;
  for (int i = 0; i < 4; ++i) {
    ports.push_back(port(a));
    lines.push_back(edge(a, b));
    redraw(engine);
  }
  for (std::size_t i = 0; i < ports.size(); ++i)
    for (std::size_t j = i + 1; j < ports.size(); ++j) {
      EXPECT_NE(boxOf(ports[i]).centre(), boxOf(ports[j]).centre());
      EXPECT_NE(location(lines[i]), location(lines[j]));
    }
  EXPECT_EQ(boxOf(ports[0]).centre(), (geo::Point{200, 50})) << "the first on the right side";
}

TEST_F(DiagramLayoutTest, ANodeGrowsToHoldItsTextsAndNeverShrinks) {
  grhost::ChangeTracker changes;
  grhost::GraphDiagramEngine engine(changes);
  RepId a = node(0, "20 20 110 45");
  RepId p = port(a, 0, "120 30 20 20");
  RepId free = element("FreeBox", 0, "300 20 40 20");
  redraw(engine);
  RepId name = compartment(a, "Short");
  compartment(free, "A text far wider than the free box");
  redraw(engine);
  EXPECT_EQ(location(a), "20 20 110 45") << "the name fits";
  model::setAttribute(name, "input", "A name far wider than the box\nsecond line\nthird line");
  redraw(engine);
  Box grown = boxOf(a);
  EXPECT_EQ(grown.x, 20);
  EXPECT_EQ(grown.y, 20);
  EXPECT_GT(grown.w, 110);
  EXPECT_GT(grown.h, 45);
  EXPECT_TRUE(geo::onBorder(grown, boxOf(p).centre())) << "its port moves with its side";
  EXPECT_EQ(location(free), "300 20 40 20") << "a free box keeps the size drawn";
  model::setAttribute(name, "input", "x");
  redraw(engine);
  EXPECT_EQ(boxOf(a), grown);
}

TEST_F(DiagramLayoutTest, AMovedElementIsReadAgainAndAMetamodelChangeRereadsTheWhole) {
  grhost::ChangeTracker changes;
  grhost::GraphDiagramEngine engine(changes);
  RepId a = node(0, "20 20 110 45");
  redraw(engine);
  // The user moves the box to where the next one would have gone.
  model::setAttribute(a, "location", "170 20 110 45");
  RepId b = node();
  redraw(engine);
  EXPECT_FALSE(boxOf(a).overlaps(boxOf(b))) << location(b);
  EXPECT_EQ(engine.layoutOf(diagram_).boxOf(a), boxOf(a));

  CreateObjectType("Unrelated");
  model::setAttribute(a, "location", "");
  redraw(engine);
  EXPECT_TRUE(geo::parseBox(location(a))) << "laid out again after the metamodel changed";
}

}  // namespace
