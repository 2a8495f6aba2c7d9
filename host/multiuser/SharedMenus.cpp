#include "host/multiuser/SharedMenus.h"

#include <set>
#include <string>
#include <utility>

#include "host/base/Model.h"

namespace grhost::shared {
namespace {

const std::pair<const char*, const char*> kItems[] = {{"Checkout", "main#checkout"},
                                                      {"Lock", "main#lock"},
                                                      {"Commit", "main#commit"},
                                                      {"Release", "main#release"}};

RepId menuOver(RepId owner, const std::string& role) {
  if (RepId menu = model::firstPartner(owner, role)) return menu;
  RepId menu = model::create("PopUpDiagram");
  model::setAttribute(menu, "id", "shared_popUp");
  model::link(owner, role, menu);
  return menu;
}

int addItems(RepId menu) {
  std::set<std::string> captions;
  std::vector<RepId> items = model::partners(menu, "popUpElement");
  for (RepId item : items) captions.insert(model::attribute(item, "caption"));
  int added = 0;
  for (const auto& [caption, procedure] : kItems) {
    if (captions.count(caption)) continue;
    RepId item = model::create("PopUpElement");
    model::setAttribute(item, "id", caption);
    model::setAttribute(item, "caption", caption);
    model::setAttribute(item, "nr", std::to_string(items.size() + ++added));
    model::setAttribute(item, "procedure_name", procedure);
    model::link(menu, "popUpElement", item);
  }
  return added;
}

}  // namespace

int addSharedMenuItems() {
  std::set<RepId> diagramTypes;
  RepId top = model::firstPartner(model::firstOf("Project"), "graphDiagram");
  if (RepId type = model::firstPartner(top, "graphDiagramType")) diagramTypes.insert(type);
  int added = 0;
  for (RepId elementType : model::objectsOf("ElemType")) {
    RepId child = model::firstPartner(elementType, "target");
    if (!child) continue;
    diagramTypes.insert(child);
    // A menu made at run time is the type's own business.
    if (model::attribute(elementType, "procDynamicPopUp").empty())
      added += addItems(menuOver(elementType, "popUpDiagram"));
  }
  for (RepId type : diagramTypes) added += addItems(menuOver(type, "RClickEmpty"));
  return added;
}

}  // namespace grhost::shared
