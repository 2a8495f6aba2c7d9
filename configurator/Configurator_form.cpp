#include "configurator/Configurator_form.h"

#include <algorithm>

#include "configurator/Configurator_tables.h"
#include "configurator/Configurator_tabs.h"
#include "configurator/Configurator_utilities.h"
#include "configurator/Dialog_utilities.h"
#include "configurator/Generate_propert_diagram.h"
#include "configurator/Palette_functions.h"
#include "configurator/Toolbar_popup_functions.h"
#include "tool/Commands.h"
#include "tool/Compartment.h"
#include "tool/Utilities.h"

using gr::firstOf;
using gr::firstOver;
using gr::stable;
using gr::cfg::flagOf;
using gr::cfg::isKind;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::partnersOf;
using gr::cfg::setValues;
using gr::cfg::valueOf;
using gr::dlg::finishEvent;
using gr::dlg::refreshComponent;

namespace {

const char* const kFormId = "Configurator_form";
const char* const kNameType = "AS#Name";

L0_Var_2 configuratorForm() {
  return gr::firstWith("D#Form", "id", kFormId);
}

using gr::cfg::typeElement;

L0_Var_2 definedElemType() {
  return stable(firstOver(typeElement(), "target_type", "ElemType"));
}

L0_Var_2 selectedNode(const L0_Var_2& tree) {
  return stable(firstOver(tree, "selected", "D#TreeNode"));
}

L0_Var_2 rootNode(const L0_Var_2& tree) {
  return stable(firstOver(tree, "treeNode", "D#TreeNode"));
}

L0_Var_2 typeOfNode(const L0_Var_2& node) {
  return stable(firstOver(node, "typeWithMapping", "Mapping#TypeWithMapping"));
}

void select(L0_Var_2& tree, const L0_Var_2& node) {
  L0_Var_2 old = selectedNode(tree);
  if (!old.isNull()) tree.deleteLink(old, "selected");
  link(tree, "selected", node);
}

// The compartment of TYPE that sits directly on the element; null when none.
L0_Var_2 compartmentOn(const L0_Var_2& element, const L0_Var_2& type) {
  for (const L0_Var_2& compartment : partnersOf(element, "compartment", "Compartment"))
    if (firstOver(compartment, "compartType", "CompartType") == type) return stable(compartment);
  return L0_Var_2("Compartment");
}

L0_Var_2 nameCompartment(const L0_Var_2& element) {
  for (const L0_Var_2& compartment : partnersOf(element, "compartment", "Compartment"))
    if (valueOf(firstOver(compartment, "compartType", "CompartType"), "id") == kNameType)
      return stable(compartment);
  return L0_Var_2("Compartment");
}

// A visible compartment of TYPE on the element, in the type's first style.
L0_Var_2 addCompartmentOf(L0_Var_2& element, L0_Var_2& type) {
  L0_Var_2 compartment = newObject("Compartment");
  compartment.setAttr("isInvisible", false);
  link(element, "compartment", compartment);
  link(compartment, "compartType", type);
  L0_Var_2 style = firstOver(type, "compartStyle", "CompartStyle");
  if (!style.isNull()) link(compartment, "compartStyle", style);
  return compartment;
}

// Every element style of the element type offers the compartment style, so
// that elements drawn in any of them show the field.
void offerStyle(L0_Var_2& elemType, L0_Var_2& compartStyle) {
  for (L0_Var_2 elemStyle : partnersOf(elemType, "elemStyle", "ElemStyle"))
    if (!elemStyle.checkLink(compartStyle, "compartStyle"))
      link(elemStyle, "compartStyle", compartStyle);
}

std::string captionFor(const L0_Var_2& element) {
  if (isKind(element, "FreeBox")) return "FreeBox Properties";
  if (isKind(element, "FreeLine")) return "FreeLine Properties";
  if (isKind(element, "Port")) return "Port Properties";
  if (isKind(element, "Edge")) return "Line Properties";
  return "Box Properties";
}

bool isBoxElement(const L0_Var_2& element) {
  return isKind(element, "Node") || isKind(element, "FreeBox");
}

// A type for an element drawn without one.
L0_Var_2 newTypeFor(L0_Var_2& element) {
  bool box = isBoxElement(element) || isKind(element, "Port");
  L0_Var_2 type = newObject(box ? "NodeType" : "EdgeType");
  L0_Var_2 style = newObject(box ? "NodeStyle" : "EdgeStyle");
  setValues(type, {{"id", "NewElemType"}, {"caption", "NewElemType"}});
  setValues(style, {{"id", "NewElemType"}, {"caption", "NewElemType"}});
  link(element, "target_type", type);
  L0_Var_2 defined = firstOver(firstOver(element, "graphDiagram", "GraphDiagram"), "target_type",
                               "GraphDiagramType");
  if (!defined.isNull()) link(type, "graphDiagramType", defined);
  link(type, "elemStyle", style);
  L0_Var_2 old = stable(firstOver(element, "elemStyle", "ElemStyle"));
  if (!old.isNull()) element.deleteLink(old, "elemStyle");
  link(element, "elemStyle", style);
  return type;
}

// While the dialog is open the type's name field wears its special style.
void lendNameStyle(L0_Var_2& element) {
  L0_Var_2 compartment = nameCompartment(element);
  L0_Var_2 style = stable(firstOver(compartment, "compartStyle", "CompartStyle"));
  if (compartment.isNull() || style.isNull()) return;
  link(compartment, "specialCompartStyle", style);
  compartment.deleteLink(style, "compartStyle");
}

void returnNameStyle(L0_Var_2& element, const L0_Var_2& type) {
  L0_Var_2 compartment = nameCompartment(element);
  if (compartment.isNull()) return;
  L0_Var_2 style = stable(firstOver(compartment, "specialCompartStyle", "CompartStyle"));
  if (!style.isNull()) {
    compartment.deleteLink(style, "specialCompartStyle");
    if (!compartment.checkLink(style, "compartStyle")) link(compartment, "compartStyle", style);
  }
  compartment.setAttr("input", valueOf(type, "caption"));
}

// "Is Simetric" and the two "Is Reverse" boxes of the line type's pairs,
// the latter usable only for a symmetric type.
void addReverseFlags(L0_Var_2& container, const L0_Var_2& type) {
  bool simetric = flagOf(type, "isSimetric");
  L0_Func_add_CheckBox_focusLost(container, "Is Simetric", "isSimetric", simetric, "simetric_pair");
  std::string reverse, reverseBack;
  for (const L0_Var_2& pair : partnersOf(type, "pair", "Pair"))
    (valueOf(pair, "id") == "Is_simetric" ? reverseBack : reverse) = valueOf(pair, "reverse");
  L0_Func_add_CheckBox_focusLost_row(container, "Is Reverse ->", "reverse_start", reverse == "true",
                                     simetric, "reverse_pair_start");
  L0_Func_add_CheckBox_focusLost_row(container, "Is Reverse <-", "reverse_end",
                                     reverseBack == "true", simetric, "reverse_pair_end");
}

// Name, number and icon of the type's palette entry; a line type picks
// its name among the diagram type's palette lines, which line types share.
void addPaletteRows(L0_Var_2& container, const L0_Var_2& type, bool line) {
  L0_Var_2 entry = firstOver(type, "paletteElement", "PaletteElement");
  if (line) {
    L0_Var_2 combo =
        L0_Func_add_ComboBoxRow(container, "Palette Element Name", "palette_element_name",
                                valueOf(entry, "caption"), true, "add_line_comboBox_items");
    L0_Func_add_d_eventHandler_main(combo, "FocusLost", "update_paletteLine_name");
  } else {
    L0_Func_add_Row_void_properties(container, "Palette Element Name", "palette_element_name",
                                    valueOf(entry, "caption"), "update_paletteElement_name");
  }
  L0_Func_add_Row_void_int_properties(container, "Palette Element Nr", "palette_element_nr",
                                      valueOf(entry, "nr"), "update_paletteElement_nr");
  L0_Var_2 imageBox = L0_Func_add_row_box_label(container, "Icon Path");
  imageBox.setAttr("id", line ? "palette_element_image" : "image_container");
  L0_Func_add_image(imageBox, valueOf(entry, "picture"), "update_paletteElement_icon");
}

L0_Var_2 buttonsRow(L0_Var_2& container, const std::string& id) {
  L0_Var_2 row = L0_Func_add_horizontalRow(container, id);
  return row;
}

void addButton(L0_Var_2& container, const std::string& caption, const std::string& handler,
               bool enabled = true) {
  L0_Var_2 button = L0_Func_add_Button(container, caption, caption, "");
  if (!enabled) button.setAttr("enabled", "false");
  L0_Func_add_d_eventHandler_main(button, "Click", handler);
}

L0_Var_2 buildForm(L0_Var_2& element, L0_Var_2& type) {
  L0_Var_2 form = L0_Func_add_Form(captionFor(element));
  setValues(form, {{"id", kFormId}, {"minimumWidth", "550"}, {"minimumHeight", "450"}});
  link(form, "presentationElement", element);
  L0_Var_2 box = L0_Func_add_HorizontalBox(form);
  L0_Var_2 left = L0_Func_add_VerticalBox(box);
  L0_Var_2 tree = L0_Func_add_Tree(left);
  tree.setAttr("draggableNodes", "true");
  L0_Func_add_d_eventHandler_main(tree, "TreeNodeSelect", "selected_treeNode_change");
  L0_Func_add_d_eventHandler_main(tree, "TreeNodeMove", "tree_node_change");
  L0_Var_2 tabs = L0_Func_add_TabContainer(box);
  L0_Func_add_d_eventHandler_main(tabs, "TabChange", "refresh_tab");
  L0_Func_fill_tree(tree, type);
  L0_Var_2 typeTab = L0_Func_add_Tab(tabs, "BoxProperties");
  typeTab.setAttr("id", "tab1");
  link(tabs, "activeTab", typeTab);
  L0_Func_add_Tab(tabs, "Transformations").setAttr("id", "tab3");
  L0_Func_add_Tab(tabs, "Extras").setAttr("id", "tab5");
  L0_Func_add_Tab(tabs, "Handlers").setAttr("id", "tab4");
  L0_Func_add_Tab(tabs, "Mappings").setAttr("id", "tab6");
  L0_Func_make_type_tab(typeTab);
  L0_Var_2 bottom = buttonsRow(form, "buttons_container");
  addButton(bottom, "Style", "open_style_box");
  addButton(bottom, "Close", "close_property");
  link(form, "defaultButton", L0_Func_get_component_from_container_by_id(bottom, "Close"));
  return form;
}

// ---- compartment types

void deleteCompartmentTree(L0_Var_2 compartment) {
  for (const L0_Var_2& sub : partnersOf(compartment, "subCompartment", "Compartment"))
    deleteCompartmentTree(stable(sub));
  compartment.deleteObj();
}

void deleteTypeWithSubtypes(L0_Var_2 type) {
  for (const L0_Var_2& sub : partnersOf(type, "subCompartType", "CompartType"))
    deleteTypeWithSubtypes(stable(sub));
  L0_Func_delete_compartments(type);
  for (const L0_Var_2& style : partnersOf(type, "compartStyle", "CompartStyle"))
    stable(style).deleteObj();
  type.deleteObj();
}

// The first node of the element-type dialog's tree.
L0_Var_2 dialogTree() {
  L0_Var_2 form = configuratorForm();
  return stable(L0_Func_get_component_from_container_by_id(form, "Tree"));
}

std::vector<L0_Var_2> childNodes(const L0_Var_2& node) {
  std::vector<L0_Var_2> result;
  for (const L0_Var_2& child : partnersOf(node, "childNode", "D#TreeNode"))
    result.push_back(stable(child));
  return result;
}

void unlinkFromParent(L0_Var_2& type) {
  L0_Var_2 parent = stable(firstOver(type, "parentCompartType", "CompartType"));
  if (!parent.isNull()) type.deleteLink(parent, "parentCompartType");
  L0_Var_2 owner = stable(firstOver(type, "elemType", "ElemType"));
  if (!owner.isNull()) type.deleteLink(owner, "elemType");
}

// Any compartment type of the element type, at any depth, with this id.
bool idTaken(const L0_Var_2& owner, const std::string& id, const L0_Var_2& except) {
  const char* role = isKind(owner, "CompartType") ? "subCompartType" : "compartType";
  for (const L0_Var_2& type : partnersOf(owner, role, "CompartType")) {
    if (type != except && valueOf(type, "id") == id) return true;
    if (idTaken(stable(type), id, except)) return true;
  }
  return false;
}

bool elemTypeIdTaken(const L0_Var_2& type, const std::string& id) {
  L0_Var_2 diagramType = firstOver(type, "graphDiagramType", "GraphDiagramType");
  for (const L0_Var_2& other : partnersOf(diagramType, "elemType", "ElemType"))
    if (other != type && valueOf(other, "id") == id) return true;
  return false;
}

// A name the element type already uses elsewhere is refused with a message.
bool nameRefused(const L0_Var_2& type, const std::string& name) {
  if (isKind(type, "CompartType")) {
    if (!idTaken(definedElemType(), name, type)) return false;
    gr::showMessageBox("Compartment type \"" + name + "\" already exists.");
    return true;
  }
  if (!elemTypeIdTaken(type, name)) return false;
  gr::showMessageBox("Element type \"" + name + "\" already exists.");
  return true;
}

}  // namespace

L0_Var_2 gr::cfg::typeElement() {
  L0_Var_2 element = stable(firstOver(configuratorForm(), "presentationElement", "Element"));
  return element.isNull() ? stable(L0_Func_get_active_element()) : element;
}

// ---- the dialog

void L0_Func_l2Click_BoxProperties(L0_Var_2 element) {
  if (element.isNull())
    element = stable(L0_Func_get_active_element());
  else
    element = stable(element);
  if (element.isNull()) {
    gr::showMessageBox("Error in l2Click_BoxProperties!");
    return;
  }
  L0_Var_2 type = stable(firstOver(element, "target_type", "ElemType"));
  if (type.isNull()) type = newTypeFor(element);
  if (isKind(type, "NodeType")) lendNameStyle(element);
  L0_Var_2 form = buildForm(element, type);
  if (form.isNull()) {
    gr::showMessageBox("Error in l2Click_BoxProperties!");
    return;
  }
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}
GR_ENTRY_SIGNATURE(L0_Func_l2Click_BoxProperties)

// A double click on a line of the seed diagram opens the same dialog.
void L0_Func_newBox_Box_diagramType(L0_Var_2 element) {
  L0_Func_l2Click_BoxProperties(element);
}
GR_ENTRY_SIGNATURE(L0_Func_newBox_Box_diagramType)

void L0_Func_fill_tree(L0_Var_2 tree, L0_Var_2 type) {
  L0_Var_2 root = L0_Func_add_TreeNode(tree, valueOf(type, "caption"));
  link(root, "typeWithMapping", type);
  L0_Func_make_compart_tree(root, type);
  select(tree, root);
}
GR_ENTRY_SIGNATURE(L0_Func_fill_tree)

void L0_Func_refresh_tab() {
  L0_Var_2 tabs = L0_Func_get_component_from_container_by_id(configuratorForm(), "TabContainer");
  L0_Var_2 tab = stable(firstOver(tabs, "activeTab", "D#Tab"));
  std::string id = tab.isNull() ? "tab1" : valueOf(tab, "id");
  if (tab.isNull()) tab = L0_Func_get_tab("tab1");
  if (tab.isNull()) {
    gr::showMessageBox("Error in refresh_tab");
    finishEvent();
    return;
  }
  if (id == "tab1")
    L0_Func_make_type_tab(tab);
  else if (id == "tab3")
    L0_Func_make_UT_tab(tab);
  else if (id == "tab5")
    L0_Func_make_extra_tab(tab);
  else if (id == "tab4")
    L0_Func_make_handler_tab(tab);
  else if (id == "tab6")
    L0_Func_make_mapping_tab(tab);
  refreshComponent(tab);
  L0_Var_2 event = gr::dlg::currentEvent();
  if (isKind(event, "D#TabChangeEvent")) finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_refresh_tab)

void L0_Func_make_type_tab(L0_Var_2 tab) {
  L0_Func_delete_container_components(tab);
  L0_Var_2 tree = dialogTree();
  L0_Var_2 node = selectedNode(tree);
  L0_Var_2 type = typeOfNode(node);
  if (type.isNull()) {
    gr::showMessageBox("Error in make_type_tab");
    return;
  }
  L0_Var_2 buttons = L0_Func_add_horizontalRow(tab, "HorizontalRow");
  addButton(buttons, "AddChild", "add_Node_Dinamic");
  addButton(buttons, "DeleteChild", "delete_treeNode", node != rootNode(tree));
  if (isKind(type, "CompartType")) {
    tab.setAttr("caption", "CompartmentProperties");
    L0_Func_make_compartType_property(tab, type);
  } else {
    L0_Func_make_elemType_property(tab, type);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_make_type_tab)

void L0_Func_make_elemType_property(L0_Var_2 container, L0_Var_2 type) {
  if (type.isNull()) {
    gr::showMessageBox("Error in make_elemType_property");
    return;
  }
  std::string caption = valueOf(type, "caption");
  L0_Func_add_NameRow_default(container, caption.empty() ? "NewElement" : caption);
  auto flag = [&](const char* label, const char* attribute) {
    L0_Func_add_CheckBox(container, label, attribute, flagOf(type, attribute), true);
  };
  flag("Open Properties On Element Create", "openPropertiesOnElementCreate");
  bool box = isKind(type, "NodeType");
  bool edge = isKind(type, "EdgeType");
  if (box) {
    container.setAttr("caption", "BoxProperties");
    flag("Is Container Mandatory", "isContainerMandatory");
  }
  bool freeLine = edge && isKind(typeElement(), "FreeLine");
  if (edge) {
    container.setAttr("caption", "EdgeProperties");
    if (!freeLine) addReverseFlags(container, type);
  }
  L0_Func_add_Row(container, "Multiplicity", "multiplicityConstraint",
                  valueOf(type, "multiplicityConstraint"));
  if (freeLine) {
    L0_Func_add_Row(container, "Start Multiplicity Constraint", "startMultiplicityConstraint",
                    valueOf(type, "startMultiplicityConstraint"));
    L0_Func_add_Row(container, "End Multiplicity Constraint", "endMultiplicityConstraint",
                    valueOf(type, "endMultiplicityConstraint"));
  }
  if (box) {
    L0_Var_2 target = firstOver(type, "target", "GraphDiagramType");
    L0_Var_2 combo = L0_Func_add_ComboBoxRow(container, "Navigate To Diagram", "navigate",
                                             valueOf(target, "caption"), true, "");
    L0_Func_add_d_eventHandler_main(combo, "DropDown", "fill_navigate_link_comboBox");
    L0_Func_add_d_eventHandler_main(combo, "FocusLost", "add_delete_navigate_link");
  }
  addPaletteRows(container, type, edge);
  L0_Func_add_popUpTable(container);
}
GR_ENTRY_SIGNATURE(L0_Func_make_elemType_property)

// ---- tree and compartment types in step

void L0_Func_add_Node_Dinamic() {
  L0_Var_2 tree = dialogTree();
  L0_Var_2 parent = selectedNode(tree);
  if (parent.isNull()) {
    gr::showMessageBox("Error in add_Node");
    finishEvent();
    return;
  }
  L0_Var_2 node = L0_Func_add_TreeNode(parent, "NewCompartment");
  L0_Func_add_child_TreeNodeCmd(tree, node);
  L0_Func_select_TreeNodeCmd(tree, node);
  select(tree, node);
  if (L0_Func_add_compartType(parent, node).isNull()) gr::showMessageBox("Error in add_Node");
  L0_Func_make_type_tab(L0_Func_get_tab("tab1"));
  refreshComponent(tree);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_add_Node_Dinamic)

L0_Var_2 L0_Func_add_default_compartType() {
  L0_Var_2 type = newObject("CompartType");
  setValues(type, {{"id", "NewCompartment"},
                   {"caption", "NewCompartment"},
                   {"procCompose", "default_compose"},
                   {"procDecompose", "default_decompose"},
                   {"nr", "0"},
                   {"isStereotypable", "false"},
                   {"isStereotype", "false"},
                   {"isMultiple", "false"},
                   {"isHint", "false"},
                   {"toBeInvisible", "false"},
                   {"isEssential", "false"},
                   {"is_occurrence_compartment", "false"},
                   {"isDiagramName", "false"}});
  return type;
}
GR_ENTRY_SIGNATURE(L0_Func_add_default_compartType)

L0_Var_2 L0_Func_add_compartType(L0_Var_2 parentNode, L0_Var_2 node) {
  L0_Var_2 parentType = typeOfNode(parentNode);
  L0_Var_2 elemType = definedElemType();
  L0_Var_2 element = typeElement();
  L0_Var_2 type = L0_Func_add_default_compartType();
  if (type.isNull() || parentType.isNull() || elemType.isNull()) {
    gr::showMessageBox("Error in add_compartType");
    return L0_Var_2("CompartType");
  }
  if (isKind(parentType, "CompartType"))
    link(type, "parentCompartType", parentType);
  else
    link(type, "elemType", elemType);
  link(node, "typeWithMapping", type);
  L0_Var_2 style = L0_Func_add_default_compartStyle();
  style.setAttr("id", valueOf(type, "id"));
  style.setAttr("caption", valueOf(type, "caption"));
  link(type, "compartStyle", style);
  offerStyle(elemType, style);
  addCompartmentOf(element, type);
  return type;
}
GR_ENTRY_SIGNATURE(L0_Func_add_compartType)

void L0_Func_delete_compartments(L0_Var_2 compartType) {
  std::vector<L0_Var_2> doomed;
  for (const L0_Var_2& compartment : partnersOf(compartType, "compartment", "Compartment"))
    doomed.push_back(stable(compartment));
  for (L0_Var_2& compartment : doomed)
    if (!compartment.isNull()) deleteCompartmentTree(compartment);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_compartments)

void L0_Func_delete_treeNode() {
  L0_Var_2 tree = dialogTree();
  L0_Var_2 node = selectedNode(tree);
  L0_Var_2 type = typeOfNode(node);
  if (node.isNull() || !isKind(type, "CompartType")) {
    gr::showMessageBox("Error in delete_treeNode");
    finishEvent();
    return;
  }
  L0_Var_2 parent = stable(firstOver(node, "parentNode", "D#TreeNode"));
  deleteTypeWithSubtypes(type);
  L0_Func_d_componentDeleteTreeNodeCmd(tree, node, "Delete");
  select(tree, parent);
  L0_Func_make_type_tab(L0_Func_get_tab("tab1"));
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_delete_treeNode)

void L0_Func_selected_treeNode_change() {
  L0_Var_2 event = gr::dlg::currentEvent();
  L0_Var_2 node = stable(firstOver(event, "treeNode", "D#TreeNode"));
  L0_Var_2 previous = firstOver(event, "previous", "D#TreeNode");
  if (!node.isNull() && node != previous) {
    L0_Var_2 tree = dialogTree();
    select(tree, node);
    L0_Func_make_type_tab(L0_Func_get_tab("tab1"));
    L0_Var_2 tabs = L0_Func_get_component_from_container_by_id(configuratorForm(), "TabContainer");
    L0_Var_2 active = firstOver(tabs, "activeTab", "D#Tab");
    if (!active.isNull() && valueOf(active, "id") != "tab1") L0_Func_refresh_tab();
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_selected_treeNode_change)

void L0_Func_tree_node_change() {
  L0_Var_2 event = gr::dlg::currentEvent();
  L0_Var_2 node = stable(firstOver(event, "treeNode", "D#TreeNode"));
  L0_Var_2 type = typeOfNode(node);
  L0_Var_2 newParent = typeOfNode(stable(firstOver(node, "parentNode", "D#TreeNode")));
  L0_Var_2 element = typeElement();
  if (!isKind(type, "CompartType") || newParent.isNull()) {
    gr::showMessageBox("Error in tree_node_change");
    finishEvent();
    return;
  }
  unlinkFromParent(type);
  L0_Var_2 old = compartmentOn(element, type);
  if (!old.isNull()) deleteCompartmentTree(old);
  if (isKind(newParent, "CompartType"))
    link(newParent, "subCompartType", type);
  else
    link(newParent, "compartType", type);
  L0_Var_2 style = newObject("CompartStyle");
  setValues(style, {{"id", valueOf(type, "id")},
                    {"caption", valueOf(type, "id")},
                    {"nr", "0"},
                    {"alignment", "0"},
                    {"adjustment", "0"},
                    {"picture", ""},
                    {"picWidth", "0"},
                    {"picHeight", "0"},
                    {"picPos", "1"},
                    {"picStyle", "0"},
                    {"adornment", "0"},
                    {"lineWidth", "1"},
                    {"lineColor", "0"},
                    {"fontTypeFace", "Arial"},
                    {"fontCharSet", "1"},
                    {"fontColor", "0"},
                    {"fontSize", "9"},
                    {"fontPitch", "0"},
                    {"fontStyle", "0"},
                    {"isVisible", "1"}});
  link(type, "compartStyle", style);
  L0_Var_2 elemType = definedElemType();
  offerStyle(elemType, style);
  L0_Var_2 compartment = addCompartmentOf(element, type);
  compartment.deleteLink(firstOver(compartment, "compartStyle", "CompartStyle"), "compartStyle");
  link(compartment, "compartStyle", style);
  L0_Func_make_compartType_order();
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_tree_node_change)

void L0_Func_update_compartType_id() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 type = gr::dlg::selectedType();
  if (field.isNull() || !isKind(type, "CompartType")) {
    finishEvent();
    return;
  }
  std::string id = valueOf(field, "text");
  if (id != valueOf(type, "id") && nameRefused(type, id)) {
    field.setAttr("text", valueOf(type, "id"));
    refreshComponent(field);
  } else {
    type.setAttr("id", id);
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_compartType_id)

void L0_Func_update_treeNode() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 tree = dialogTree();
  L0_Var_2 node = selectedNode(tree);
  if (!node.isNull() && !field.isNull()) {
    node.setAttr("text", valueOf(field, "text"));
    refreshComponent(tree);
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_treeNode)

void L0_Func_update_name_field() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 tree = dialogTree();
  L0_Var_2 node = selectedNode(tree);
  L0_Var_2 type = typeOfNode(node);
  if (field.isNull() || type.isNull()) {
    finishEvent();
    return;
  }
  std::string name = valueOf(field, "text");
  if (name == valueOf(type, "id") && name == valueOf(type, "caption")) {
    finishEvent();
    return;
  }
  if (nameRefused(type, name)) {
    field.setAttr("text", valueOf(type, "caption"));
    node.setAttr("text", valueOf(type, "caption"));
    refreshComponent(field);
    refreshComponent(tree);
    finishEvent();
    return;
  }
  node.setAttr("text", name);
  type.setAttr("id", name);
  type.setAttr("caption", name);
  if (isKind(type, "NodeType")) {
    L0_Var_2 target = firstOver(typeElement(), "target", "GraphDiagram");
    if (!target.isNull()) target.setAttr("caption", name);
  }
  if (isKind(type, "ElemType")) L0_Func_palette_element_focusLost(type);
  L0_Func_update_style_id_and_caption(type);
  L0_Func_update_diagram_palette(typeElement());
  L0_Func_updateDgrCmd(L0_Func_get_current_diagram());
  refreshComponent(tree);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_name_field)

// The first style is the type's own look and is named after it (a line
// type's keeps its id); further styles keep the names they were given.
void L0_Func_update_style_id_and_caption(L0_Var_2 type) {
  const char* role = isKind(type, "CompartType") ? "compartStyle" : "elemStyle";
  L0_Var_2 style = stable(firstOver(type, role, "Thing"));
  if (style.isNull()) return;
  if (!isKind(type, "EdgeType")) style.setAttr("id", valueOf(type, "id"));
  style.setAttr("caption", valueOf(type, "caption"));
}
GR_ENTRY_SIGNATURE(L0_Func_update_style_id_and_caption)

void L0_Func_fill_navigate_link_comboBox() {
  L0_Var_2 combo = gr::dlg::eventSource();
  if (combo.isNull()) {
    gr::showMessageBox("Error in fill_navigate_link_comboBox");
    finishEvent();
    return;
  }
  for (const L0_Var_2& item : partnersOf(combo, "item", "D#Item")) stable(item).deleteObj();
  L0_Var_2 type("GraphDiagramType");
  for (bool found = type.setFirstToRoot("GraphDiagramType"); found; found = type.next()) {
    std::string id = valueOf(type, "id");
    if (id == "specificationDgr" || id == "projectDiagram") continue;
    L0_Func_add_item(combo, valueOf(type, "caption"));
  }
  refreshComponent(combo);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_fill_navigate_link_comboBox)

void L0_Func_add_delete_navigate_link() {
  L0_Var_2 combo = gr::dlg::eventSource();
  L0_Var_2 type = definedElemType();
  if (combo.isNull() || type.isNull()) {
    gr::showMessageBox("Error in add_navigate_link");
    finishEvent();
    return;
  }
  std::string choice = valueOf(combo, "text");
  L0_Var_2 old = stable(firstOver(type, "target", "GraphDiagramType"));
  L0_Var_2 target = choice.empty() ? L0_Var_2("GraphDiagramType")
                                   : stable(gr::firstWith("GraphDiagramType", "caption", choice));
  if (target.isNull()) target = stable(L0_Func_get_graphDiagramType_by_id(choice));
  if (!choice.empty() && target.isNull()) {
    gr::showMessageBox("Error in add_navigate_link");
    finishEvent();
    return;
  }
  if (!old.isNull()) type.deleteLink(old, "target");
  if (choice.empty()) {
    setValues(type, {{"l2ClickEvent", "properties_test"},
                     {"procCreateElementDomain", ""},
                     {"procDeleteElement", "default_delete_element"}});
  } else {
    link(type, "target", target);
    setValues(type, {{"l2ClickEvent", "navigate"},
                     {"procCreateElementDomain", "create_test_dgr"},
                     {"procDeleteElement", "delete_seed"}});
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_add_delete_navigate_link)

void L0_Func_make_compartType_order() {
  L0_Var_2 tree = dialogTree();
  L0_Var_2 root = rootNode(tree);
  L0_Var_2 elemType = typeOfNode(root);
  L0_Var_2 element = typeElement();
  if (elemType.isNull()) {
    gr::showMessageBox("Error make_compartType_order");
    return;
  }
  for (const L0_Var_2& type : partnersOf(elemType, "compartType", "CompartType"))
    elemType.deleteLink(stable(type), "compartType");
  // The element's compartments follow the new order; those of types still
  // at the top keep their values, the others go.
  std::vector<L0_Var_2> existing;
  for (const L0_Var_2& compartment : partnersOf(element, "compartment", "Compartment")) {
    L0_Var_2 each = stable(compartment);
    if (valueOf(firstOver(each, "compartType", "CompartType"), "id") == kNameType) continue;
    existing.push_back(each);
    element.deleteLink(each, "compartment");
  }
  for (L0_Var_2& child : childNodes(root)) {
    L0_Var_2 type = typeOfNode(child);
    if (!isKind(type, "CompartType")) continue;
    link(elemType, "compartType", type);
    auto kept = std::find_if(existing.begin(), existing.end(), [&type](const L0_Var_2& each) {
      return firstOver(each, "compartType", "CompartType") == type;
    });
    if (kept == existing.end()) {
      addCompartmentOf(element, type);
    } else {
      link(element, "compartment", *kept);
      existing.erase(kept);
    }
    L0_Func_make_subCompartment_order(child);
  }
  for (L0_Var_2& gone : existing) deleteCompartmentTree(gone);
}
GR_ENTRY_SIGNATURE(L0_Func_make_compartType_order)

void L0_Func_make_subCompartment_order(L0_Var_2 node) {
  L0_Var_2 type = typeOfNode(node);
  if (!isKind(type, "CompartType")) {
    gr::showMessageBox("Error in make_subCompartment_order");
    return;
  }
  for (const L0_Var_2& sub : partnersOf(type, "subCompartType", "CompartType"))
    type.deleteLink(stable(sub), "subCompartType");
  for (L0_Var_2& child : childNodes(node)) {
    L0_Var_2 sub = typeOfNode(child);
    if (!isKind(sub, "CompartType")) continue;
    link(type, "subCompartType", sub);
    L0_Func_make_subCompartment_order(child);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_make_subCompartment_order)

namespace {

void deleteUnusedPaletteEntries(const L0_Var_2& defined) {
  L0_Var_2 palette = firstOver(defined, "palette", "Palette");
  for (const L0_Var_2& entry : partnersOf(palette, "paletteElement", "PaletteElement"))
    if (firstOver(entry, "elemType", "ElemType").isNull()) stable(entry).deleteObj();
}

// Every object of the class for which UNUSED holds.
template <typename Test>
std::vector<L0_Var_2> objectsWhere(const std::string& className, Test unused) {
  std::vector<L0_Var_2> found;
  L0_Var_2 object(className);
  for (bool more = object.setFirstToRoot(className); more; more = object.next())
    if (unused(object)) found.push_back(stable(object));
  return found;
}

void tidyPropertyDialogs() {
  for (L0_Var_2& row : objectsWhere("PropertyRow", [](const L0_Var_2& row) {
         return firstOver(row, "compartType", "CompartType").isNull();
       }))
    row.deleteObj();
  for (L0_Var_2& tab : objectsWhere("PropertyTab", [](const L0_Var_2& tab) {
         return firstOver(tab, "propertyRow", "PropertyRow").isNull();
       }))
    tab.deleteObj();
  for (L0_Var_2& dialog : objectsWhere("PropertyDiagram", [](const L0_Var_2& dialog) {
         return firstOver(dialog, "propertyRow", "PropertyRow").isNull() &&
                firstOver(dialog, "propertyTab", "PropertyTab").isNull();
       }))
    dialog.deleteObj();
}

}  // namespace

void L0_Func_close_property() {
  L0_Var_2 element = typeElement();
  L0_Var_2 type = definedElemType();
  L0_Var_2 form = configuratorForm();
  if (element.isNull() || form.isNull()) {
    gr::showMessageBox("Error in close_property");
    finishEvent();
    return;
  }
  if (isKind(type, "NodeType")) returnNameStyle(element, type);
  L0_Var_2 diagram = stable(firstOver(element, "graphDiagram", "GraphDiagram"));
  L0_Var_2 defined = stable(firstOver(diagram, "target_type", "GraphDiagramType"));
  deleteUnusedPaletteEntries(defined);
  for (const L0_Var_2& each : partnersOf(defined, "graphDiagram", "GraphDiagram"))
    L0_Func_afterConfigCmd(stable(each));
  tidyPropertyDialogs();
  L0_Func_make_compartType_order();
  L0_Func_okCmd(element);
  L0_Func_d_cmd(form, "Close");
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_close_property)
