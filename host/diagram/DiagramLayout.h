// The engine's geometry of one diagram: read whole once (when the engine
// first draws the diagram), then kept up to date from the elements a gesture
// changed, so that a gesture costs the same on a diagram of a hundred
// elements and of a hundred thousand. Elements that a gesture leaves without
// geometry are placed at once: a new box in the next free place of its level
// (the top level or its container, which grows to hold it), a new port on its
// node's outline, a new line between its ends. Placed geometry is never
// moved; a box only grows, to hold what it holds and (a node) the texts of
// its compartments. Every placement is written to the element's `location`.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "host/diagram/ElementGeometry.h"
#include "host/diagram/Geometry.h"
#include "host/diagram/RenderStyles.h"
#include "platform/repository.h"

namespace grhost {

class DiagramLayout {
 public:
  // Lays out the whole diagram (inside a save transaction) and keeps it.
  DiagramLayout(RepId diagram, render::StyleBook& styles);

  RepId diagram() const { return diagram_; }
  bool holds(RepId element) const { return entries_.count(element) != 0; }
  std::size_t size() const { return entries_.size(); }

  // ELEMENTS were created, deleted or changed: each is read again, or
  // forgotten when it is gone or in another diagram, and what has no
  // geometry is placed (inside a save transaction).
  void update(const std::vector<RepId>& elements, render::StyleBook& styles);

  // The geometry kept of the element: a box, or a line's bounds.
  std::optional<geometry::Box> boxOf(RepId element) const;

 private:
  struct Entry {
    ElementKind kind = ElementKind::Node;
    RepId owner = 0;  // a node's container, a port's node; 0 at the top level
    RepId start = 0;  // an edge's ends
    RepId end = 0;
    bool placed = false;  // it has geometry
    geometry::Box box;    // a line's bounds
    geometry::Polyline line;
    RepId level = 0;  // the level whose grid holds it, once kept
    bool onLevel = false;
  };

  // Buckets of boxes by area, so that a new box meets only its neighbours.
  class Grid {
   public:
    void insert(RepId element, const geometry::Box& box);
    void erase(RepId element, const geometry::Box& box);
    // Some element whose kept box overlaps AREA; 0 when none.
    RepId firstOverlap(const geometry::Box& area,
                       const std::unordered_map<RepId, Entry>& entries) const;

   private:
    template <class Visit>
    static void forCells(const geometry::Box& box, Visit visit);
    std::unordered_map<uint64_t, std::vector<RepId>> cells_;
  };

  // The boxes of one level and where the next new box of it goes.
  struct Level {
    Grid grid;
    bool hasBoxes = false;
    int lowest = 0;   // the bottom of its lowest box
    double area = 0;  // of its boxes with their gaps, for the row width
    int widest = 0;
    bool cursorSet = false;
    geometry::Point origin;
    int limit = 0;  // the row width
    int x = 0, y = 0, rowHeight = 0;
  };

  std::optional<Entry> read(RepId element, const ElementClassifier& classifier) const;
  void keep(RepId element, Entry entry);
  void forget(RepId element);
  int levelGap(RepId owner) const;
  Level& levelOf(RepId owner) { return levels_[owner]; }
  void startCursor(RepId owner, Level& level);

  void place(RepId element, Entry entry, render::StyleBook& styles);
  void placeBox(RepId element, Entry& entry, render::StyleBook& styles);
  geometry::Point packAtCursor(RepId owner, int width, int height);
  void growContainer(RepId container, geometry::Box inner);
  void fitTexts(RepId element, render::StyleBook& styles);
  void stretchAttachments(RepId box, const geometry::Box& old, const geometry::Box& now);
  void stretchLineEnds(RepId end, const geometry::Box& old, const geometry::Box& now);
  void placePort(RepId element, Entry& entry, render::StyleBook& styles);
  void placeLine(RepId element, Entry& entry, render::StyleBook& styles);
  std::optional<geometry::Box> endBox(RepId end) const;
  int sidewaysOffset(RepId start, RepId end);
  void write(RepId element, const Entry& entry);
  int depth(RepId element, const std::unordered_map<RepId, Entry>& pending) const;

  RepId diagram_;
  std::unordered_map<RepId, Entry> entries_;
  std::unordered_map<RepId, Level> levels_;
  std::unordered_map<uint64_t, int> parallels_;  // lines kept between two ends
};

}  // namespace grhost
