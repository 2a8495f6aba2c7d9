// A project made by the behaviour library with a gesture layer on it, and
// the gestures most tests begin with.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "host/base/Model.h"
#include "host/gestures/Gestures.h"
#include "tests/host/script/GestureFixture.h"

class BehaviourGestureTest : public GestureTest {
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
  grhost::GestureOutcome closing(grhost::GestureOutcome drawn) {
    while (head().dialogs().activeForm()) gestures().pressButton(gestures().button("Close"));
    return drawn;
  }

  // The type diagram of a new diagram type: the seed diagram's
  // seed, double-clicked.
  void openATypeDiagram() {
    grhost::GestureOutcome menu = gestures().rightClick(0);
    ASSERT_TRUE(menu.menuShown);
    gestures().chooseMenuItem(gestures().menuItem("Specification Diagram"));
    RepId seed = closing(gestures().drawBox(gestures().paletteEntry("PaletteBox", "Seed"), 0, {}))
                     .firstAdded("Node");
    ASSERT_TRUE(seed);
    gestures().doubleClick(seed);
  }
  RepId box(std::optional<grhost::geometry::Point> at = {}) {
    grhost::BoxPlacement where;
    where.corner = at;
    return closing(gestures().drawBox(gestures().paletteEntry("PaletteBox", "Box"), 0, where))
        .firstAdded("Node");
  }
  static bool has(const std::vector<RepId>& ids, RepId id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  }

  std::unique_ptr<grhost::Gestures> gestures_;
};
