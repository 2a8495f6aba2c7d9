// A tool as a configurator user could have drawn it, for the tests of
// shared diagrams: the diagrams a "NewDiagram" box opens get the box in
// their palette too (as "Part"), so that a project holds a tree of diagrams
// several levels deep that members can edit; every box gets its "Name".
#include <string>

#include "platform/host.h"
#include "runtime/L0_Var.h"
#include "runtime/Signature.h"

#define TEST_ENTRY extern "C" GR_API

namespace {

L0_Var_2 withId(const std::string& className, const std::string& id) {
  L0_Var_2 object(className);
  for (bool found = object.setFirstToRoot(className); found; found = object.next())
    if (object.getAttr("id") == id) return object;
  object.setNull();
  return object;
}

}  // namespace

TEST_ENTRY void L0_Func_grtest_nested_parts() {
  L0_Var_2 diagramType = withId("GraphDiagramType", "NewDiagram");
  L0_Var_2 boxType = withId("NodeType", "NewDiagram");
  if (diagramType.isNull() || boxType.isNull()) return;
  L0_Var_2 palette("Palette");
  if (!palette.setFirstByRelation(diagramType, "palette")) return;
  L0_Var_2 entry("PaletteBox");
  entry.addObj("PaletteBox");
  entry.setAttr("id", "Part");
  entry.setAttr("caption", "Part");
  entry.setAttr("nr", "1");
  palette.addLink(entry, "paletteElement");
  boxType.addLink(entry, "paletteElement");
  L0_Var_2 name("CompartType");
  for (bool found = name.setFirstByRelation(boxType, "compartType"); found; found = name.next())
    if (name.getAttr("id") == "Name") name.setAttr("isEssential", "true");
}
GR_ENTRY_SIGNATURE(L0_Func_grtest_nested_parts)
