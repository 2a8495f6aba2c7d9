// The gesture layer on a project made by the behaviour library: what each
// gesture reports is what it changed, refusals change nothing, and a gesture
// is one save transaction.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/base/Model.h"
#include "host/gestures/Gestures.h"
#include "tests/host/script/GestureFixture.h"

namespace {

namespace model = grhost::model;
using grhost::BoxPlacement;
using grhost::GestureError;
using grhost::GestureOutcome;

class GesturesTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithBehaviourLibrary();
    gestures_ = std::make_unique<grhost::Gestures>(head(), session_->log());
  }
  void TearDown() override {
    gestures_.reset();
    GestureTest::TearDown();
  }
  grhost::Gestures& gestures() { return *gestures_; }

  // Drawing on a type diagram opens the new type's properties dialog: it is
  // closed as the user would, and the drawing's outcome is kept.
  GestureOutcome closing(GestureOutcome drawn) {
    while (head().dialogs().activeForm()) gestures().pressButton(gestures().button("Close"));
    return drawn;
  }

  // The type diagram of a new diagram type: the specification diagram's
  // seed, double-clicked.
  void openATypeDiagram() {
    GestureOutcome menu = gestures().rightClick(0);
    ASSERT_TRUE(menu.menuShown);
    gestures().chooseMenuItem(gestures().menuItem("Specification Diagram"));
    RepId seed = closing(gestures().drawBox(gestures().paletteEntry("PaletteBox", "Seed"), 0, {}))
                     .firstAdded("Node");
    ASSERT_TRUE(seed);
    gestures().doubleClick(seed);
  }
  RepId box(std::optional<grhost::geometry::Point> at = {}) {
    BoxPlacement where;
    where.corner = at;
    return closing(gestures().drawBox(gestures().paletteEntry("PaletteBox", "Box"), 0, where))
        .firstAdded("Node");
  }
  static bool has(const std::vector<RepId>& ids, RepId id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  }

  std::unique_ptr<grhost::Gestures> gestures_;
};

TEST_F(GesturesTest, DrawingReportsTheAddedElementsAndEditingReportsTheChangedOnes) {
  openATypeDiagram();
  GestureOutcome drawn = closing(
      gestures().drawBox(gestures().paletteEntry("PaletteBox", "Box"), 0, {{{20, 20}}, 140, 60}));
  ASSERT_EQ(drawn.addedOf("Node").size(), 1u);
  RepId a = drawn.firstAdded("Node");
  EXPECT_EQ(model::attribute(a, "location"), "20 20 140 60");
  EXPECT_EQ(drawn.gesture, "box");
  EXPECT_TRUE(drawn.event);
  EXPECT_FALSE(ObjectExists(drawn.event)) << "the handler deleted its event";
  EXPECT_TRUE(drawn.removed.empty());
  EXPECT_FALSE(has(drawn.changed, a)) << "an added element is not also changed";

  RepId b = box();
  GestureOutcome line =
      closing(gestures().drawLine(gestures().paletteEntry("PaletteLine", "Line"), a, b));
  RepId ab = line.firstAdded("Edge");
  ASSERT_TRUE(ab);
  EXPECT_TRUE(has(line.changed, a)) << "its line starts there now";
  EXPECT_TRUE(has(line.changed, b));
  EXPECT_FALSE(model::attribute(ab, "location").empty()) << "the engine routed it";

  GestureOutcome text = gestures().editText(gestures().compartment(a, "AS#Name"), "Customer");
  EXPECT_EQ(text.changed, std::vector<RepId>{a}) << "a compartment's change is its element's";
  EXPECT_TRUE(text.added.empty());

  GestureOutcome moved = gestures().moveElement(b, {400, 300, 110, 45});
  EXPECT_TRUE(has(moved.changed, b));
  EXPECT_TRUE(has(moved.changed, ab)) << "the line at it is routed anew";
  auto route = grhost::geometry::parsePolyline(model::attribute(ab, "location"));
  ASSERT_TRUE(route);
  EXPECT_TRUE(grhost::geometry::onBorder({400, 300, 110, 45}, route->back()));
}

TEST_F(GesturesTest, DeletingReportsWhatWentAndTheSelectionItLeft) {
  openATypeDiagram();
  RepId a = box(), b = box();
  RepId ab = closing(gestures().drawLine(gestures().paletteEntry("PaletteLine", "Line"), a, b))
                 .firstAdded("Edge");
  GestureOutcome selected = gestures().select({a});
  EXPECT_TRUE(selected.selectionChanged);
  EXPECT_TRUE(selected.added.empty());
  GestureOutcome deleted = gestures().pressKey("Delete");
  EXPECT_TRUE(has(deleted.removed, a));
  EXPECT_TRUE(has(deleted.removed, ab)) << "its line goes with it";
  EXPECT_FALSE(has(deleted.removed, b));
  EXPECT_TRUE(has(deleted.changed, b)) << "it lost its line";
  EXPECT_FALSE(ObjectExists(a));
  EXPECT_TRUE(deleted.added.empty());
  EXPECT_TRUE(deleted.selectionChanged);
}

TEST_F(GesturesTest, MenusFormsAndMessagesAreReportedByTheGestureThatShowedThem) {
  GestureOutcome click = gestures().rightClick(0);
  EXPECT_TRUE(click.menuShown);
  ASSERT_FALSE(click.menu.empty());
  GestureOutcome again = gestures().select({});
  EXPECT_FALSE(again.menuShown);

  GestureOutcome console = gestures().pressKey("`");
  ASSERT_EQ(console.formsOpened.size(), 1u);
  RepId form = console.formsOpened.front();
  EXPECT_EQ(model::attribute(form, "id"), "Console");
  GestureOutcome typed = gestures().typeIntoField(gestures().field("input"), "Project");
  EXPECT_TRUE(typed.formsOpened.empty());
  GestureOutcome evaluated = gestures().pressButton(gestures().button("Evaluate"));
  EXPECT_EQ(evaluated.formsChanged, std::vector<RepId>{form}) << "the result is shown in it";
  GestureOutcome closed = gestures().pressButton(gestures().button("Exit"));
  EXPECT_EQ(closed.formsClosed, std::vector<RepId>{form});

  openATypeDiagram();
  GestureOutcome drawn = gestures().drawBox(gestures().paletteEntry("PaletteBox", "Box"), 0, {});
  ASSERT_EQ(drawn.formsOpened.size(), 1u) << "the new type's properties dialog";
  EXPECT_EQ(model::attribute(drawn.formsOpened.front(), "caption"), "Box Properties");
  EXPECT_TRUE(drawn.messages.empty());
  GestureOutcome typeClosed = gestures().pressButton(gestures().button("Close"));
  EXPECT_EQ(typeClosed.formsClosed, drawn.formsOpened);
  GestureOutcome missing = gestures().transform("absent_procedure");
  ASSERT_FALSE(missing.messages.empty());
  EXPECT_EQ(missing.messages.back().text,
            "Probably, Function not found \n\"_L0_Func_absent_procedure\".");
  EXPECT_TRUE(gestures().select({}).messages.empty());
}

TEST_F(GesturesTest, RefusedGesturesChangeNothing) {
  openATypeDiagram();
  RepId a = box();
  RepId diagram = gestures().currentDiagram();
  std::size_t elements = model::partners(diagram, "element").size();
  RepId line = gestures().paletteEntry("PaletteLine", "Line");
  RepId boxEntry = gestures().paletteEntry("PaletteBox", "Box");
  EXPECT_THROW(gestures().drawLine(line, a, diagram), GestureError);
  EXPECT_THROW(gestures().drawLine(boxEntry, a, a), GestureError) << "no line entry";
  EXPECT_THROW(gestures().drawBox(boxEntry, a + 100000, {}), GestureError);
  EXPECT_THROW(
      gestures().drawFreeBox(gestures().paletteEntry("PaletteFreeBox", "FreeBox"), {0, 0, 0, 10}),
      GestureError);
  EXPECT_THROW(gestures().moveElement(a, {2'000'000'000, 0, 10, 10}), GestureError);
  EXPECT_THROW(gestures().chooseMenuItem(a), GestureError);
  EXPECT_THROW(gestures().pressKey(""), GestureError);
  EXPECT_THROW(gestures().typeIntoField(a, "x"), GestureError) << "no form is open";
  EXPECT_EQ(model::partners(diagram, "element").size(), elements);
  EXPECT_EQ(model::objectsOf("Event").size(), 0u);
}

TEST_F(GesturesTest, AGestureIsOneSaveTransaction) {
  openATypeDiagram();
  int depthInside = -1;
  // Whatever the handler and its commands commit inside a gesture stays
  // within the gesture's own transaction.
  RepId a = box();
  GestureOutcome drawn = closing(gestures().drawBox(gestures().paletteEntry("PaletteBox", "Box"), 0,
                                                    {{{300, 300}}, std::nullopt, std::nullopt}));
  depthInside = RepTransactionDepth();
  EXPECT_EQ(depthInside, 0) << "nothing is left open";
  EXPECT_TRUE(a);
  EXPECT_EQ(model::attribute(drawn.firstAdded("Node"), "location"), "300 300 110 45")
      << "the given place, with the style's size";
}

}  // namespace
