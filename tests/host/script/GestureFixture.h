// Gesture scripts played on a project: a script player with every statement,
// lines played as a file so that errors carry their line, and a small tool
// built in the model (a diagram type with a palette and a tool bar, and an
// open, current diagram of it).
#pragma once

#include <string>
#include <vector>

#include "tests/host/script/ScriptFixture.h"

class GestureTest : public ScriptFixture {
 protected:
  using Texts = std::vector<std::string>;

  // A project run by the test procedure library, with the tool definitions'
  // metamodels the behaviour library would load.
  void createWithTestLibrary() {
    create();
    for (const char* metamodel : {"TypeAndMappingMetamodel", "DomainMetamodel"})
      ASSERT_TRUE(head().loadMetamodel(metamodel));
    newPlayer();
  }
  // A project made and run by the behaviour library.
  void createWithBehaviourLibrary() {
    grhost::HostOptions withMain = options();
    withMain.mainLibrary = grhost::programFolder() / "libmain.so";
    session_ = grhost::Session::createProject(folder_, "Demo", withMain);
    newPlayer();
  }
  // Plays the lines as a file; "" when all passed, else "LINE: error".
  std::string play(const std::string& lines) {
    std::string text = playScript(lines);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

  // ---- a small tool, made directly in the model

  static RepId make(const std::string& className,
                    const std::vector<std::pair<std::string, std::string>>& values = {}) {
    RepId object = grhost::model::create(className);
    for (const auto& [attribute, value] : values)
      grhost::model::setAttribute(object, attribute, value);
    return object;
  }
  static void link(RepId from, const std::string& role, RepId to) {
    EXPECT_TRUE(grhost::model::link(from, role, to)) << role;
  }
  RepId named(const std::string& name) const { return player_->named(name); }
  void name(const std::string& name, RepId object) { player_->setName(name, object); }

  // Diagram type "T" with palette entries Box, Line, Pin, Free, Curve and the
  // tool "Go"; diagram "First" of it, open and current, with nodes N1, N2,
  // an edge E from N1 to N2, a free box FB and a free line FL. Every diagram
  // event's handler is HANDLER.
  void buildTool(const std::string& handler) {
    grhost::model::SaveTransaction transaction;
    RepId type = make("GraphDiagramType", {{"id", "T"}, {"caption", "T"}});
    RepId palette = make("Palette");
    link(type, "palette", palette);
    for (auto [className, caption] : {std::pair{"PaletteBox", "Box"},
                                      {"PaletteLine", "Line"},
                                      {"PalettePin", "Pin"},
                                      {"PaletteFreeBox", "Free"},
                                      {"PaletteFreeLine", "Curve"}}) {
      RepId entry = make(className, {{"caption", caption}});
      link(palette, "paletteElement", entry);
      name(caption, entry);
    }
    RepId toolbar = make("Toolbar");
    link(type, "toolbar", toolbar);
    RepId tool = make("Tool", {{"caption", "Go"}});
    link(toolbar, "tool", tool);
    name("Go", tool);
    RepId engine = grhost::model::firstOf("GraphDiagramEngine");
    for (const char* event :
         {"NewBoxEvent", "NewLineEvent", "NewPinEvent", "NewFreeBoxEvent", "NewFreeLineEvent",
          "FreeBoxEditedEvent", "FreeLineEditedEvent", "MoveLineStartPointEvent",
          "MoveLineEndPointEvent", "ChangeParentEvent", "ExecTransfEvent", "L2ClickEvent",
          "RClickEvent", "ToolSelectEvent", "KeyDownEvent", "OpenDgrEvent"})
      grhost::model::setAttribute(engine, std::string("on") + event, handler);
    diagramType_ = type;
  }
  void openFirstDiagram() {
    head().runAndExecute("main#open_first_diagram");
    RepId diagram = head().diagrams().currentDiagram();
    ASSERT_NE(diagram, 0u);
    grhost::model::SaveTransaction transaction;
    link(diagram, "graphDiagramType", diagramType_);
    name("First", diagram);
    for (const char* node : {"N1", "N2"}) name(node, element("Node", diagram));
    RepId edge = element("Edge", diagram);
    link(edge, "start", named("N1"));
    link(edge, "end", named("N2"));
    name("E", edge);
    name("FB", element("FreeBox", diagram));
    name("FL", element("FreeLine", diagram));
  }
  static RepId element(const std::string& className, RepId diagram) {
    RepId created = make(className);
    link(diagram, "element", created);
    return created;
  }

  // The one event of CLASSNAME the handler left.
  static RepId leftEvent(const std::string& className) {
    std::vector<RepId> events = grhost::model::objectsOf(className);
    EXPECT_EQ(events.size(), 1u) << className;
    return events.empty() ? 0 : events.front();
  }
  static RepId partner(RepId object, const std::string& role) {
    return grhost::model::firstPartner(object, role);
  }
  static std::string info(RepId event) { return grhost::model::attribute(event, "info"); }
  static std::vector<RepId> selection(RepId diagram) {
    return grhost::model::partners(partner(diagram, "collection"), "element");
  }

  RepId diagramType_ = 0;
};
