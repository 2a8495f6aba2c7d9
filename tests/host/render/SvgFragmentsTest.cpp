// An element's fragment is its group exactly as the whole document draws it,
// and it names the place the document gives it: the layer or the group that
// holds it and the sibling it comes before.
#include <gtest/gtest.h>

#include <sstream>

#include "host/base/Model.h"
#include "host/render/SvgFragments.h"
#include "host/render/SvgRender.h"
#include "tests/host/render/RenderFixture.h"

namespace {

namespace render = grhost::render;
using rendertest::XmlNode;

// The text with each line's leading blanks taken away: a fragment is written
// from the left margin, the same group in a document indented by its depth.
std::string unindented(const std::string& text) {
  std::istringstream lines(text);
  std::string line, out;
  while (std::getline(lines, line)) out += line.substr(line.find_first_not_of(' ')) + "\n";
  return out;
}

class SvgFragmentsTest : public rendertest::RenderTest {
 protected:
  // Boxes A and B with a port P on A, C nested in A and D in C, a line from
  // P to B, a free box and a free line; every one placed.
  void SetUp() override {
    RenderTest::SetUp();
    RepId style = object("NodeStyle", {{"bkgColor", "255"}});
    a = node(style, "10 10 300 200");
    b = node(0, "400 10 100 50");
    p = port(a, 0, "300 40 20 20");
    c = node(0, "30 60 200 120");
    nest(c, a);
    d = node(0, "40 90 60 30");
    nest(d, c);
    compartment(d, "inner <text> & more");
    line = edge(p, b, 0, "320 50 400 35");
    freeBox = element("FreeBox", 0, "600 10 80 40");
    freeLine = element("FreeLine", 0, "10 300 200 300 200 350");
    document = render::svgOfDiagram(diagram_, grhost::layOutDiagram(diagram_), styles);
  }

  render::ElementFragment fragment(RepId element) {
    render::DiagramFragments fragments(diagram_);
    std::optional<render::ElementFragment> found = fragments.fragmentOf(element);
    EXPECT_TRUE(found) << element;
    return found.value_or(render::ElementFragment{});
  }

  render::StyleBook styles;
  RepId a = 0, b = 0, p = 0, c = 0, d = 0, line = 0, freeBox = 0, freeLine = 0;
  std::string document;
};

TEST_F(SvgFragmentsTest, EveryFragmentIsItsGroupAsTheDocumentDrawsIt) {
  std::string flat = unindented(document);
  for (RepId element : {a, b, p, c, d, line, freeBox, freeLine}) {
    render::ElementFragment piece = fragment(element);
    EXPECT_EQ(piece.svg.rfind("<g class=\"element", 0), 0u) << piece.svg;
    EXPECT_NE(flat.find(unindented(piece.svg)), std::string::npos) << "element " << element << ":\n"
                                                                   << piece.svg;
  }
  EXPECT_NE(fragment(a).svg.find("id=\"e" + std::to_string(d) + "\""), std::string::npos)
      << "a container's fragment holds what it holds";
}

TEST_F(SvgFragmentsTest, FragmentsNameTheirLayerHolderAndNextSibling) {
  struct Expected {
    RepId element;
    std::string kind, layer;
    RepId parent, before;
  };
  for (const Expected& expected : std::vector<Expected>{
           {a, "node", "nodes", 0, b},
           {b, "node", "nodes", 0, 0},
           {p, "port", "nodes", a, c},  // ports come before the nodes a node holds
           {c, "node", "nodes", a, 0},
           {d, "node", "nodes", c, 0},
           {line, "edge", "edges", 0, 0},
           {freeBox, "free-box", "free-boxes", 0, 0},
           {freeLine, "free-line", "free-lines", 0, 0},
       }) {
    render::ElementFragment piece = fragment(expected.element);
    EXPECT_EQ(piece.kind, expected.kind) << expected.element;
    EXPECT_EQ(piece.layer, expected.layer) << expected.element;
    EXPECT_EQ(piece.parent, expected.parent) << expected.element;
    EXPECT_EQ(piece.before, expected.before) << expected.element;
  }
}

TEST_F(SvgFragmentsTest, WhatIsDrawnInsideAnotherListedGroupIsLeftOut) {
  render::DiagramFragments fragments(diagram_);
  std::vector<render::ElementFragment> pieces = fragments.fragmentsOf({d, b, a, line});
  std::vector<RepId> ids;
  for (const render::ElementFragment& piece : pieces) ids.push_back(piece.element);
  EXPECT_EQ(ids, (std::vector<RepId>{b, a, line}));
}

TEST_F(SvgFragmentsTest, ElementsTheDiagramDoesNotDrawHaveNoFragment) {
  render::DiagramFragments fragments(diagram_);
  RepId elsewhere = grhost::model::create("Node");
  grhost::model::setAttribute(elsewhere, "location", "0 0 10 10");
  RepId unplaced = node();
  EXPECT_FALSE(fragments.fragmentOf(elsewhere)) << "in no diagram";
  EXPECT_FALSE(fragments.fragmentOf(unplaced)) << "no geometry yet";
  EXPECT_FALSE(fragments.fragmentOf(123456)) << "no such object";
  grhost::model::remove(b);
  EXPECT_FALSE(fragments.fragmentOf(b)) << "deleted";
}

}  // namespace
