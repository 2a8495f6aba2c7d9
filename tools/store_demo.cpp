// A small tour of the model store: create a project, commit, reopen it and
// print what it holds.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/repository.h"

namespace {

int fail(const char* what) {
  std::fprintf(stderr, "store_demo: %s: %s\n", what, RepLastError());
  return 1;
}

void buildModel() {
  StartSaveTransaction1(0, 0, "");
  RepId diagram = CreateObjectType("Diagram");
  RepId element = CreateObjectType("Element");
  RepId node = CreateObjectType1("Node", element);
  RepId caption = CreatePropertyType("caption", BaseType_STRING);
  RepId name = CreatePropertyType("name", BaseType_STRING);
  AddPropertyType(diagram, caption);
  AddPropertyType(element, name);
  RepId elementRole =
      CreateLinkType(diagram, "element", REP_MULT_MANY, 1, element, "diagram", REP_MULT_ONE, 0, 1);
  RepId d = CreateObject(diagram);
  AddProperty(d, caption, "Ceļojums");
  for (const char* label : {"start", "walk", "rest"}) {
    RepId n = CreateObject(node);
    AddProperty(n, name, label);
    CreateLink(elementRole, d, n);
  }
  CommitSaveTransaction();
}

void printModel() {
  RepId diagram = GetObjectTypeIdByName("Diagram");
  RepId caption = GetPropertyTypeIdByName(diagram, "caption");
  RepId elementRole = GetLinkTypeIdByName(diagram, "element");
  RepId name = GetPropertyTypeIdByName(GetObjectTypeIdByName("Element"), "name");
  for (uint32_t i = 0; i < GetObjectNum(diagram); ++i) {
    RepId d = GetObjectIdByIndex(diagram, i);
    std::printf("Diagram %u \"%s\"\n", d, GetPropertyValue(d, caption));
    for (uint32_t k = 0; k < GetLinkedObjectNum(d, elementRole); ++k) {
      RepId e = GetLinkedObjectIdByIndex(d, elementRole, k);
      std::printf("  element %u: %s \"%s\"\n", e, GetTypeName(GetObjectTypeId(e)),
                  GetPropertyValue(e, name));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : "demo-project";
  std::filesystem::remove_all(folder);
  if (!RepCreateProject(folder.c_str())) return fail("create");
  buildModel();
  RepCloseProject();
  if (!RepOpenProject(folder.c_str())) return fail("reopen");
  std::printf("Reopened %s/%s:\n", folder.c_str(), RepStoreFileName());
  printModel();
  RepCloseProject();
  return 0;
}
