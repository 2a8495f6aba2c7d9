// The headless graph diagram engine: which diagrams are open and which one is
// current, the pop-up menu last shown, a record of the refresh commands it
// executed, and the geometry of every element: commands that would redraw a
// diagram lay out its elements that have none (host/GeometryModel.h).
//
// An open diagram has a Collection, its selection, made when it first opens.
//
// Open diagrams are window state: they live in the engine, not in the model,
// and a project opens with none (its OpenProjectEvent handler opens what it
// wants shown). The current diagram is model state: the single
// CurrentDgrPointer's graphDiagram, kept with the project.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/base/ChangeTracker.h"
#include "host/diagram/DiagramLayout.h"
#include "platform/repository.h"

namespace grhost {

struct MenuItem {
  std::string caption;
  RepId popUpElement = 0;
};

class GraphDiagramEngine {
 public:
  explicit GraphDiagramEngine(ChangeTracker& changes) : changes_(changes) {}

  // Executes a diagram command of class CLASSNAME; false when the class is
  // not one of this engine's.
  bool execute(RepId command, const std::string& className);
  // Every open diagram is saved (headless: recorded).
  void saveAll() { record_.push_back("SaveAllDiagrams"); }

  // The current diagram (0 when none).
  RepId currentDiagram() const;
  bool isOpen(RepId diagram) const;
  // Open diagrams that still exist, in the order they were opened.
  std::vector<RepId> openDiagrams() const;
  const std::vector<MenuItem>& lastMenu() const { return lastMenu_; }
  // How many pop-up menus the engine has shown: a gesture that raised it
  // showed one.
  std::size_t menusShown() const { return menusShown_; }
  // The elements the last ActiveElementCmd of the diagram made active.
  std::vector<RepId> activeElements(RepId diagram) const;
  // "OkCmd 12" and the like: the commands executed, oldest first.
  const std::vector<std::string>& record() const { return record_; }

  // Brings the kept geometry of the diagrams drawn so far up to date with
  // what changed since, placing what has no geometry (inside a save
  // transaction). The head engine calls it when a queue has run dry.
  void updateGeometry();
  // Forgets open diagrams whose objects are gone (an undo took them back):
  // one that comes back later stays closed.
  void closeVanished();
  // The kept geometry of the diagram, laid out whole when it is first drawn.
  DiagramLayout& layoutOf(RepId diagram);

 private:
  void activate(RepId diagram);
  void close(RepId diagram);
  void showMenu(RepId command);
  void note(RepId command, const std::string& className);

  std::vector<RepId> open_;
  std::vector<MenuItem> lastMenu_;
  std::size_t menusShown_ = 0;
  void makeActive(RepId diagram, const std::vector<RepId>& elements);

  std::map<RepId, std::vector<RepId>> activeElements_;
  std::vector<std::string> record_;
  ChangeTracker::Reader changes_;
  std::map<RepId, std::unique_ptr<DiagramLayout>> layouts_;
};

}  // namespace grhost
