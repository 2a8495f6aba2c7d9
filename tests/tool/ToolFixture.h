// A small diagram tool defined by the test itself: a diagram type with node,
// port and edge types, styles and palette entries, one diagram of it that is
// current, and a host that records the queued commands.
#pragma once

#include <string>
#include <vector>

#include "ConfiguratorFixture.h"
#include "platform/host.h"

class RecordingHost : public gr::HostApi {
 public:
  void enqueueCmd() override { ++enqueued; }
  void showInformationBar(const std::string& text) override { information.push_back(text); }
  int enqueued = 0;
  std::vector<std::string> information;
};

class ToolFixture : public ConfiguratorFixture {
 protected:
  void SetUp() override {
    ConfiguratorFixture::SetUp();
    gr::setHost(&host);
    diagramTypeObject = create("GraphDiagramType");
    diagramTypeObject.setAttr("id", "testDiagram");
    palette = create("Palette");
    diagramTypeObject.addLink(palette, "palette");
    diagram = newDiagram();
    L0_Var_2 pointer = create("CurrentDgrPointer");
    pointer.addLink(diagram, "graphDiagram");
    collection = create("Collection");
    diagram.addLink(collection, "collection");
  }
  void TearDown() override {
    gr::setHost(nullptr);
    ConfiguratorFixture::TearDown();
  }

  L0_Var_2 newDiagram() {
    L0_Var_2 d = create("GraphDiagram");
    d.addLink(diagramTypeObject, "graphDiagramType");
    return d;
  }

  // An element type of the test tool with its style.
  L0_Var_2 type(const std::string& className, const std::string& id) {
    L0_Var_2 t = create(className);
    t.setAttr("id", id);
    t.setAttr("caption", id);
    diagramTypeObject.addLink(t, "elemType");
    std::string styleClass = className == "EdgeType"   ? "EdgeStyle"
                             : className == "PortType" ? "PortStyle"
                                                       : "NodeStyle";
    L0_Var_2 style = create(styleClass);
    style.setAttr("id", id);
    t.addLink(style, "elemStyle");
    return t;
  }
  L0_Var_2 paletteEntry(const std::string& className, const std::string& caption,
                        std::vector<L0_Var_2> types) {
    L0_Var_2 entry = create(className);
    entry.setAttr("id", caption);
    entry.setAttr("caption", caption);
    palette.addLink(entry, "paletteElement");
    for (L0_Var_2& t : types) entry.addLink(t, "elemType");
    return entry;
  }
  static L0_Var_2 pair(L0_Var_2 edgeType, L0_Var_2 start, L0_Var_2 end,
                       const std::string& reverse = "") {
    L0_Var_2 p = create("Pair");
    edgeType.addLink(p, "pair");
    p.addLink(start, "start");
    p.addLink(end, "end");
    if (!reverse.empty()) p.setAttr("reverse", reverse);
    return p;
  }
  void select(std::vector<L0_Var_2> elements) {
    for (L0_Var_2& e : over(collection, "element")) collection.deleteLink(e, "element");
    for (L0_Var_2& e : elements) collection.addLink(e, "element");
  }
  // The commands linked from the LastCmdPtr, oldest first.
  static Objects commands() {
    Objects pointers = all("LastCmdPtr");
    return pointers.empty() ? Objects{} : over(pointers[0], "command");
  }
  static std::vector<std::string> commandClasses() { return classes(commands()); }
  static bool exists(const L0_Var_2& object) { return !object.isNull(); }

  RecordingHost host;
  L0_Var_2 diagramTypeObject, palette, diagram, collection;
};
