// The menu items through which members check out, lock, commit and release
// shared diagrams. Which items call them is configuration, not library
// behaviour: a project converted to shared areas gets them on the canvas
// menu of the diagram types of its tree (acting on the diagram shown) and on
// the menu of every element type that opens a child diagram (acting on
// that child).
#pragma once

namespace grhost::shared {

// Adds what is missing; returns how many items it added.
int addSharedMenuItems();

}  // namespace grhost::shared
