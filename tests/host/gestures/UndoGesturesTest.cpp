// Undo and redo through the gesture layer, on a project made by the
// behaviour library: random runs of gestures taken back to the fresh
// project and made again to where they ended, what counts as a step, the
// fence of published steps, and what the runtime sees after an undo.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "host/base/ModelDump.h"
#include "runtime/Generation.h"
#include "tests/host/gestures/BehaviourGestureTest.h"

namespace {

namespace model = grhost::model;
using grhost::GestureError;

// The model as grtool dump --json prints it: every object, value and link
// in its order.
std::string dump() {
  return grhost::dumpJson(grhost::collectObjects()).dump(1);
}

// The current diagram's elements of the kind.
std::vector<RepId> elementsOf(grhost::Gestures& gestures, const std::string& kind) {
  std::vector<RepId> found;
  for (RepId element : model::partners(gestures.currentDiagram(), "element"))
    if (model::isKindOf(element, kind)) found.push_back(element);
  return found;
}

// "" when the dumps are equal, else the first line where they differ with
// the objects' lines around it.
std::string firstDifference(const std::string& got, const std::string& wanted) {
  std::istringstream a(got), b(wanted);
  std::string lineA, lineB, context;
  for (int number = 1;; ++number) {
    bool moreA = static_cast<bool>(std::getline(a, lineA));
    bool moreB = static_cast<bool>(std::getline(b, lineB));
    if (!moreA && !moreB) return "";
    if (!moreA || !moreB || lineA != lineB)
      return "line " + std::to_string(number) + ": " + (moreA ? lineA : "(end)") + " instead of " +
             (moreB ? lineB : "(end)") + ", after:\n" + context;
    if (lineA.find("\"id\"") != std::string::npos) context.clear();
    context += lineA + "\n";
  }
}

class UndoGesturesTest : public BehaviourGestureTest {
 protected:
  std::string infoBar() { return head().informationBar(); }
};

// Gestures a user makes on a type diagram, chosen at random: boxes (some
// defining a compartment type in their dialogs), lines, deletes, drags,
// copies pasted, names typed in place, and undos and redos among them.
class RandomGestures {
 public:
  RandomGestures(grhost::Gestures& gestures, unsigned seed)
      : g_(gestures), random_(seed), firstStep_(RepUndoCount()) {}

  void play(int count) {
    for (int i = 0; i < count; ++i) {
      try {
        one();
      } catch (const GestureError&) {
        // A refused gesture changes nothing; the run goes on.
      }
      closeForms();
    }
  }

 private:
  void one() {
    switch (pick(20)) {
      case 0:
      case 1:
      case 2:
      case 3:
        return box();
      case 4:
        return defineType();
      case 5:
      case 6:
      case 7:
        return line();
      case 8:
      case 9:
        return remove();
      case 10:
      case 11:
        return move();
      case 12:
      case 13:
        return copyAndPaste();
      case 14:
      case 15:
      case 16:
        return rename();
      case 17:
      case 18:
        // Only the steps of the run: undoing the type diagram's making would
        // leave nothing to draw on.
        if (RepUndoCount() > firstStep_) g_.undo();
        return;
      default:
        g_.redo();
    }
  }
  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }
  int coordinate() { return static_cast<int>(pick(60)) * 20; }
  RepId any(const std::vector<RepId>& ids) { return ids.empty() ? 0 : ids[pick(ids.size())]; }
  std::vector<RepId> boxes() { return elementsOf(g_, "Node"); }
  void closeForms() {
    while (g_.head().dialogs().activeForm()) g_.pressButton(g_.button("Close"));
  }

  void box() {
    grhost::BoxPlacement where;
    where.corner = grhost::geometry::Point{coordinate(), coordinate()};
    g_.drawBox(g_.paletteEntry("PaletteBox", "Box"), 0, where);
  }
  void defineType() {
    g_.drawBox(g_.paletteEntry("PaletteBox", "Box"), 0, {});
    g_.pressButton(g_.button("AddChild"));
    g_.typeIntoField(g_.field("caption"), "Field" + std::to_string(pick(100)));
    g_.setChecked(g_.field("isEssential"), pick(2) == 0);
  }
  void line() {
    RepId from = any(boxes()), to = any(boxes());
    if (from && to) g_.drawLine(g_.paletteEntry("PaletteLine", "Line"), from, to);
  }
  void remove() {
    std::vector<RepId> elements = elementsOf(g_, "Element");
    if (elements.empty()) return;
    g_.select({any(elements)});
    g_.pressKey("Delete");
  }
  void move() {
    if (RepId node = any(boxes()))
      g_.moveElement(node, {coordinate(), coordinate(), 100 + coordinate() / 10, 45});
  }
  void copyAndPaste() {
    RepId node = any(boxes());
    if (!node) return;
    g_.select({node});
    g_.pressKey("Ctrl C");
    g_.select({});
    g_.rightClick(0);
    g_.chooseMenuItem(g_.menuItem("Paste"));
  }
  void rename() {
    if (RepId node = any(boxes()))
      g_.editText(g_.compartment(node, "AS#Name"), "Name " + std::to_string(pick(1000)));
  }

  grhost::Gestures& g_;
  std::mt19937 random_;
  uint32_t firstStep_;
};

class UndoPropertyTest : public UndoGesturesTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(UndoPropertyTest, UndoingEveryGestureGivesTheFreshProjectAndRedoingGivesTheLastState) {
  ASSERT_TRUE(RepUndoSetDepth(100000));
  const std::string fresh = dump();
  openATypeDiagram();
  RandomGestures(gestures(), GetParam()).play(200);
  const std::string last = dump();
  const uint32_t steps = RepUndoCount();
  ASSERT_GT(steps, 150u);

  for (uint32_t i = 0; i < steps; ++i) gestures().undo();
  EXPECT_EQ(RepUndoCount(), 0u);
  EXPECT_EQ(firstDifference(dump(), fresh), "");
  gestures().undo();
  EXPECT_EQ(infoBar(), "Nothing to undo");

  for (uint32_t i = 0; i < steps; ++i) gestures().redo();
  EXPECT_EQ(RepRedoCount(), 0u);
  EXPECT_EQ(firstDifference(dump(), last), "");
  gestures().redo();
  EXPECT_EQ(infoBar(), "Nothing to redo");
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoPropertyTest, ::testing::Values(1u, 2u, 3u));

TEST_F(UndoGesturesTest, AGestureThatChangedNothingIsNoStep) {
  openATypeDiagram();
  RepId a = box();
  gestures().editText(gestures().compartment(a, "AS#Name"), "Alpha");
  const uint32_t steps = RepUndoCount();
  gestures().select({a});
  gestures().rightClick(0);
  gestures().select({});
  EXPECT_THROW(gestures().drawLine(gestures().paletteEntry("PaletteLine", "Line"), a, 999999),
               GestureError);
  gestures().editText(gestures().compartment(a, "AS#Name"), "Alpha");
  EXPECT_EQ(RepUndoCount(), steps);
  gestures().undo();
  EXPECT_EQ(infoBar(), "Undone: text \"Alpha\"");
  EXPECT_EQ(model::attribute(gestures().compartment(a, "AS#Name"), "value"), "");
}

TEST_F(UndoGesturesTest, TheHostTakesTheUndoKeysBeforeAnyShortcut) {
  openATypeDiagram();
  RepId a = box();
  gestures().select({a});
  const std::size_t keyEvents = model::objectsOf("KeyDownEvent").size();
  grhost::GestureOutcome undone = gestures().pressKey("Ctrl Z");
  EXPECT_EQ(undone.gesture, "undo");
  EXPECT_FALSE(undone.event) << "no key event was raised";
  EXPECT_EQ(model::objectsOf("KeyDownEvent").size(), keyEvents);
  EXPECT_EQ(infoBar(), "Undone: press \"Close\"");
  gestures().pressKey("Ctrl Z");
  EXPECT_FALSE(ObjectExists(a));
  EXPECT_TRUE(has(gestures().pressKey("Ctrl Y").added, a)) << "made again with its id";
  EXPECT_EQ(infoBar(), "Redone: box");
  EXPECT_EQ(gestures().pressKey("Ctrl Shift Z").gesture, "redo");
  EXPECT_EQ(infoBar(), "Redone: press \"Close\"");
  EXPECT_EQ(RepRedoCount(), 0u);
}

TEST_F(UndoGesturesTest, APublishedStepIsNotTakenBack) {
  openATypeDiagram();
  RepId a = box();
  ASSERT_TRUE(RepUndoFence("the shared diagram has published it"));
  RepId b = box();
  gestures().undo();
  gestures().undo();
  EXPECT_FALSE(ObjectExists(b)) << "a step after the fence is undone as usual";
  const std::string before = dump();
  gestures().undo();
  EXPECT_EQ(infoBar(), "Can not undo: the shared diagram has published it");
  EXPECT_EQ(dump(), before);
  EXPECT_TRUE(ObjectExists(a));
  gestures().redo();
  gestures().redo();
  EXPECT_TRUE(ObjectExists(b)) << "what was undone after the fence is made again";
}

TEST_F(UndoGesturesTest, AnUndoStartsANewGenerationAndClosesWhatItTookAway) {
  openATypeDiagram();
  RepId a =
      gestures().drawBox(gestures().paletteEntry("PaletteBox", "Box"), 0, {}).firstAdded("Node");
  ASSERT_TRUE(head().dialogs().activeForm()) << "the box's properties dialog";
  gestures().pressButton(gestures().button("Close"));
  gestures().undo();  // the press
  const int32_t generation = currentGeneration;
  RepId diagram = gestures().currentDiagram();
  gestures().undo();  // the box
  EXPECT_GT(currentGeneration, generation) << "object variables of the older one are null";
  EXPECT_FALSE(ObjectExists(a));
  EXPECT_FALSE(head().dialogs().activeForm());
  EXPECT_EQ(gestures().currentDiagram(), diagram);
  // Undone back to the start: the type diagram is gone, and the diagram
  // current before it is current again.
  while (RepUndoCount() > 0) gestures().undo();
  EXPECT_FALSE(ObjectExists(diagram));
  RepId current = gestures().currentDiagram();
  EXPECT_TRUE(ObjectExists(current));
  EXPECT_EQ(model::attribute(current, "caption"), "Demo");
}

TEST_F(UndoGesturesTest, TheHostsDepthBoundsTheStepsOfAReopenedProject) {
  openATypeDiagram();
  RepId a = box();
  gestures().editText(gestures().compartment(a, "AS#Name"), "Alpha");
  box();
  ASSERT_GT(RepUndoCount(), 3u);
  gestures_.reset();
  session_.reset();
  grhost::HostOptions shallow = options();
  shallow.mainLibrary = grhost::programFolder() / "libmain.so";
  shallow.undoDepth = 3;
  session_ = grhost::Session::openProject(folder_, shallow);
  gestures_ = std::make_unique<grhost::Gestures>(head(), session_->log());
  EXPECT_EQ(RepUndoDepth(), 3u);
  EXPECT_EQ(RepUndoCount(), 3u);
  for (int i = 0; i < 3; ++i) gestures().undo();
  EXPECT_EQ(infoBar(), "Undone: text \"Alpha\"") << "the newest three steps are kept";
  gestures().undo();
  EXPECT_EQ(infoBar(), "Nothing to undo");
}

}  // namespace
