#include "configurator/Box_diagramtype.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "configurator/Configurator_utilities.h"
#include "platform/repository.h"
#include "tool/Commands.h"
#include "tool/Deletecollection.h"
#include "tool/Utilities.h"

using gr::firstOver;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::setValues;

namespace {

const char* const kNewName = "NewDiagram";

// Older projects carry the caption as the id of their project diagram type.
L0_Var_2 projectDiagramType() {
  L0_Var_2 type = L0_Func_get_graphDiagramType_by_id("projectDiagram");
  if (type.isNull()) type = L0_Func_get_graphDiagramType_by_id("Project Diagram");
  return type;
}

void configurationChanged() {
  L0_Var_2 diagram = firstOver(projectDiagramType(), "graphDiagram", "GraphDiagram");
  if (!diagram.isNull()) L0_Func_afterConfigCmd(diagram);
}

L0_Var_2 addTypeDiagram(L0_Var_2& seed, const L0_Var_2& typeDiagramType) {
  L0_Var_2 diagram = newObject("GraphDiagram");
  if (diagram.isNull()) return diagram;
  diagram.setAttr("caption", kNewName);
  link(diagram, "graphDiagramType", typeDiagramType);
  link(seed, "target", diagram);
  return diagram;
}

L0_Var_2 addDefinedType(L0_Var_2& seed, L0_Var_2& typeDiagram) {
  L0_Var_2 defined = gr::cfg::newDiagramType(kNewName, kNewName);
  link(defined, "representation", seed);
  link(typeDiagram, "target_type", defined);
  L0_Func_add_key_shortcut(defined, "cKeyboardShortcut", "Ctrl X", "cut");
  L0_Func_add_key_shortcut(defined, "cKeyboardShortcut", "Ctrl C", "copy");
  L0_Func_add_key_shortcut(defined, "eKeyboardShortcut", "Ctrl V", "paste");
  L0_Var_2 palette = newObject("Palette");
  link(defined, "palette", palette);
  return defined;
}

L0_Var_2 addProjectBoxType(L0_Var_2& projectType, L0_Var_2& paletteBox, const L0_Var_2& defined,
                           L0_Var_2& seed) {
  L0_Var_2 nodeType = newObject("NodeType");
  if (nodeType.isNull()) return nodeType;
  setValues(nodeType, {{"id", kNewName},
                       {"caption", kNewName},
                       {"procCreateElementDomain", "create_test_dgr"},
                       {"l2ClickEvent", "navigate"},
                       {"procDeleteElement", "delete_seed"},
                       {"procProperties", "properties_test"},
                       {"openPropertiesOnElementCreate", "true"},
                       {"procCopied", "copy_paste_diagram_seed"},
                       {"procPasted", "copy_paste_diagram_seed"}});
  link(projectType, "elemType", nodeType);
  link(nodeType, "paletteElement", paletteBox);
  link(nodeType, "target", defined);
  link(seed, "target_type", nodeType);
  link(seed, "target_paletteElement", paletteBox);
  L0_Func_add_default_keyshortcuts(nodeType, "keyboardShortcut");
  L0_Var_2 popUp = newObject("PopUpDiagram");
  if (popUp.isNull()) return nodeType;
  popUp.setAttr("id", "generated_popUp");
  link(nodeType, "popUpDiagram", popUp);
  L0_Func_add_PopUpElement(popUp, "Delete", "delete");
  L0_Func_add_PopUpElement(popUp, "Properties", "properties_test");
  return nodeType;
}

// The seed itself gets a compartment of the new "Name" type, so that naming
// the seed renames its type diagram.
L0_Var_2 addNameCompartType(L0_Var_2& nodeType, L0_Var_2& seed) {
  int nr = L0_Func_get_max_CompartType_nr(nodeType) + 1;
  L0_Var_2 compartType = newObject("CompartType");
  if (compartType.isNull()) return compartType;
  setValues(compartType, {{"id", "Name"},
                          {"caption", "Name"},
                          {"procDecompose", "default_decompose"},
                          {"procCompose", "default_compose"},
                          {"procCreateCompartmentDomain", "update_diagram_caption"},
                          {"procUpdateCompartmentDomain", "update_diagram_caption"}});
  compartType.setAttr("nr", nr);
  link(nodeType, "compartType", compartType);
  L0_Var_2 compartment = newObject("Compartment");
  if (compartment.isNull()) return compartType;
  compartment.setAttr("isInvisible", false);
  link(seed, "compartment", compartment);
  link(compartment, "compartType", compartType);
  L0_Var_2 style = L0_Func_addCompartStyle(L0_Var_2("CompartStyle"));
  if (style.isNull()) return compartType;
  style.setAttr("id", "Name");
  style.setAttr("caption", "Name");
  link(compartment, "compartStyle", style);
  link(compartType, "compartStyle", style);
  return compartType;
}

void addPropertyDiagram(L0_Var_2& nodeType, L0_Var_2& compartType) {
  L0_Var_2 propertyDiagram = newObject("PropertyDiagram");
  if (propertyDiagram.isNull()) return;
  propertyDiagram.setAttr("id", std::string(kNewName) + " Property");
  link(propertyDiagram, "elemType", nodeType);
  L0_Var_2 row = newObject("PropertyRow");
  if (row.isNull()) return;
  setValues(row, {{"id", "name"},
                  {"rowType", "InputRow"},
                  {"validationProcedure", ""},
                  {"isEditable", "true"},
                  {"isReadOnly", "false"},
                  {"isFirstRespondent", "false"}});
  link(propertyDiagram, "propertyRow", row);
  link(compartType, "propertyRow", row);
}

L0_Var_2 addBoxStyle(L0_Var_2& nodeType) {
  L0_Var_2 style = newObject("NodeStyle");
  if (style.isNull()) return style;
  setValues(style, {{"id", kNewName},
                    {"caption", kNewName},
                    {"shapeCode", "1"},
                    {"shapeStyle", "0"},
                    {"lineWidth", "1"},
                    {"dashLength", "0"},
                    {"breakLength", "0"},
                    {"bkgColor", "14055946"},
                    {"lineColor", "0"},
                    {"picture", ""},
                    {"picWidth", "0"},
                    {"picHeight", "0"},
                    {"picPos", "1"},
                    {"picStyle", "0"},
                    {"width", "110"},
                    {"height", "45"}});
  link(nodeType, "elemStyle", style);
  return style;
}

// False when the seed has no style to leave.
bool moveToStyle(L0_Var_2& element, const L0_Var_2& style) {
  L0_Var_2 old = firstOver(element, "elemStyle", "ElemStyle");
  if (old.isNull()) return false;
  element.deleteLink(old, "elemStyle");
  link(element, "elemStyle", style);
  return true;
}

// The value of the element's compartment whose type has the id, "" when none.
std::string compartmentValue(const L0_Var_2& element, const std::string& compartTypeId) {
  for (const L0_Var_2& compartment : gr::cfg::partnersOf(element, "compartment", "Compartment")) {
    L0_Var_2 type = firstOver(compartment, "compartType", "CompartType");
    if (!type.isNull() && type.getAttr("id") == compartTypeId) return compartment.getAttr("value");
  }
  return "";
}

void rename(L0_Var_2& object, const std::string& name) {
  if (object.isNull()) return;
  object.setAttr("id", name);
  object.setAttr("caption", name);
}

std::string afterLastSeparator(const std::string& path) {
  std::string::size_type cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

const char* const kToolDescriptor =
    "<Project> <Tools> <Name>UniversalTool</Name> "
    "<Path>C:\\Vexa\\VexaFramework\\Tools\\UniversalTool</Path> </Tools> </Project>";

// The head engine may give the project and tool folders relative to the
// runtime folder.
std::filesystem::path underRuntime(const std::string& runtime, const std::string& path) {
  std::filesystem::path folder(path);
  if (!folder.is_absolute()) folder = std::filesystem::path(runtime) / folder;
  std::error_code ec;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(folder, ec);
  return (ec ? folder : resolved).lexically_normal();
}

// The project folder's own name: on this system "\" is a character of a
// name, not a separator.
std::string folderName(const std::filesystem::path& folder) {
  std::filesystem::path trimmed = folder;
  if (!trimmed.has_filename()) trimmed = trimmed.parent_path();
  return trimmed.filename().string();
}

// A copy into the project, onto it or around it would copy the project into itself.
bool overlaps(const std::filesystem::path& a, const std::filesystem::path& b) {
  auto inside = [](const std::filesystem::path& inner, const std::filesystem::path& outer) {
    auto [o, i] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return o == outer.end();
  };
  return inside(a, b) || inside(b, a);
}

// `cp -R FROM/. TO` after `mkdir -p TO` copies the contents, hidden files
// included, into a folder that may already exist, overwriting what is there;
// printf keeps the backslashes of the descriptor as they are.
std::string copyCommandLine(const std::string& project, const std::string& copy) {
  return "mkdir -p " + shellQuoted(copy) + " && cp -R " + shellQuoted(project + "/.") + " " +
         shellQuoted(copy) + " && printf '%s\\n' " + shellQuoted(kToolDescriptor) + " > " +
         shellQuoted(copy + "/project.grt") + "; exit";
}

bool writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// A new file that nobody else could have prepared (O_EXCL, no link
// followed) takes the place of the old one in one rename: a link named like
// the script is replaced, never written through.
bool writeScript(const std::filesystem::path& path, const std::string& commandLine) {
  std::string text = "#!/bin/sh\n" + commandLine + "\n";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path temporary =
        path.parent_path() /
        (".copy_tool." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".tmp");
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0700);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) break;
    bool written = writeAll(fd, text) && ::fchmod(fd, 0755) == 0;
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    break;
  }
  gr::showMessageBox("Can not open file " + path.string());
  return false;
}

}  // namespace

void L0_Func_create_diagramType(L0_Var_2 node) {
  L0_Var_2 typeDiagramType = L0_Func_get_graphDiagramType_by_id("diagramTypeDiagram");
  if (node.isNull() || typeDiagramType.isNull()) {
    gr::showMessageBox("Error in create_diagram!");
    return;
  }
  L0_Var_2 typeDiagram = addTypeDiagram(node, typeDiagramType);
  L0_Var_2 defined = addDefinedType(node, typeDiagram);
  L0_Var_2 projectType = projectDiagramType();
  L0_Var_2 projectPalette = firstOver(projectType, "palette", "Palette");
  if (projectPalette.isNull()) return;
  L0_Var_2 paletteBox = newObject("PaletteBox");
  paletteBox.setAttr("caption", kNewName);
  link(projectPalette, "paletteElement", paletteBox);
  L0_Var_2 nodeType = addProjectBoxType(projectType, paletteBox, defined, node);
  L0_Var_2 compartType = addNameCompartType(nodeType, node);
  addPropertyDiagram(nodeType, compartType);
  L0_Var_2 style = addBoxStyle(nodeType);
  if (!moveToStyle(node, style)) {
    gr::showMessageBox("Error in create_diagram!");
    return;
  }
  configurationChanged();
}
GR_ENTRY_SIGNATURE(L0_Func_create_diagramType)

void L0_Func_create_test_dgr(L0_Var_2 element) {
  L0_Var_2 nodeType = firstOver(element, "elemType", "ElemType");
  L0_Var_2 targetType = firstOver(nodeType, "target", "GraphDiagramType");
  L0_Var_2 diagram = newObject("GraphDiagram");
  link(diagram, "graphDiagramType", targetType);
  link(element, "target", diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_create_test_dgr)

// The project box types name it as their deletion: it undoes create_test_dgr,
// deleting the box's diagram with its elements, then the box.
void L0_Func_delete_seed(L0_Var_2 element) {
  L0_Var_2 box = gr::stable(element);
  L0_Var_2 diagram = gr::stable(firstOver(box, "target", "GraphDiagram"));
  if (!diagram.isNull()) {
    for (L0_Var_2& inner : gr::cfg::partnersOf(diagram, "element", "Element"))
      L0_Func_delete_element(inner);
    gr::deleteDiagram(diagram);
  }
  L0_Func_okCmd_graphDiagram(firstOver(box, "graphDiagram", "GraphDiagram"));
  L0_Func_default_delete_element_helper_helper(box, true);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_seed)

// An empty "IconPath" keeps the palette picture that the entry has.
void L0_Func_update_diagramType(L0_Var_2 seed) {
  std::string name = compartmentValue(seed, "Name");
  L0_Var_2 defined = firstOver(seed, "source", "GraphDiagramType");
  L0_Var_2 nodeType = firstOver(seed, "target_type", "ElemType");
  L0_Var_2 paletteEntry = firstOver(seed, "target_paletteElement", "PaletteElement");
  rename(defined, name);
  rename(nodeType, name);
  rename(paletteEntry, name);
  std::string icon = compartmentValue(seed, "IconPath");
  if (!icon.empty() && !paletteEntry.isNull())
    paletteEntry.setAttr("picture", afterLastSeparator(icon));
  configurationChanged();
}
GR_ENTRY_SIGNATURE(L0_Func_update_diagramType)

void L0_Func_update_diagram_caption(L0_Var_2 compartment) {
  L0_Var_2 element = L0_Func_get_compartment_element(L0_Func_get_top_compartment(compartment));
  if (element.isNull()) element = L0_Func_get_active_element();
  L0_Var_2 target = firstOver(element, "target", "GraphDiagram");
  if (target.isNull()) {
    gr::showMessageBox("Error in update_diagram_caption");
    return;
  }
  std::string name =
      compartment.isNull() ? compartmentValue(element, "Name") : compartment.getAttr("value");
  target.setAttr("caption", name);
  L0_Func_updateDgrCmd(target);
}
GR_ENTRY_SIGNATURE(L0_Func_update_diagram_caption)

// The script is "copy_tool.sh", not "copy_tool.bat": it holds a POSIX shell
// command line, and the host opens files with their associated program by
// extension, which for ".sh" is the shell. Without a tool folder there is no
// place beside it to copy to.
void L0_Func_make_tool() {
  Kw_Galva_SaveAllDiagrams();
  SaveRequest(11);
  std::string runtime = L0_Func_GetRuntimePath();
  std::string toolPath = L0_Func_GetToolPath();
  if (toolPath.empty()) {
    gr::showMessageBox("There is no tool folder to copy the tool beside.");
    return;
  }
  std::filesystem::path project = underRuntime(runtime, L0_Func_GetProjectPath());
  std::filesystem::path tool = underRuntime(runtime, toolPath);
  std::string name = folderName(project);
  if (name.empty()) return;  // a root folder has no name to copy under
  std::filesystem::path copy = underRuntime(runtime, (tool / ".." / name).string());
  if (overlaps(copy, project)) {
    gr::showMessageBox("The tool can not be copied to " + copy.string() +
                       ": that is where its project is.");
    return;
  }
  std::filesystem::path script = tool / "copy_tool.sh";
  if (!writeScript(script, copyCommandLine(project.string(), copy.string()))) return;
  L0_Func_OpenFileWithAssociatedProgram(script.string());
}
GR_ENTRY_SIGNATURE(L0_Func_make_tool)

// Trailing separators are dropped first: "/work/project/" names "project".
std::string L0_Func_get_dir_name(std::string path) {
  std::string::size_type end = path.find_last_not_of("/\\");
  if (end == std::string::npos) return "";
  return afterLastSeparator(path.substr(0, end + 1));
}
GR_ENTRY_SIGNATURE(L0_Func_get_dir_name)
