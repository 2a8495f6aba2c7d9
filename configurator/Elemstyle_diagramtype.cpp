#include "configurator/Elemstyle_diagramtype.h"

#include <vector>

#include "configurator/Configurator_form.h"
#include "configurator/Configurator_tables.h"
#include "configurator/Configurator_utilities.h"
#include "configurator/Dialog_utilities.h"
#include "configurator/Type_diagram.h"
#include "tool/Commands.h"
#include "tool/Compartment.h"
#include "tool/Deletecollection.h"
#include "tool/Element.h"
#include "tool/Utilities.h"

using gr::firstOver;
using gr::stable;
using gr::cfg::isKind;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::partnersOf;
using gr::cfg::setValues;
using gr::cfg::stablePartners;
using gr::cfg::valueOf;
using gr::dlg::finishEvent;
using gr::dlg::refreshComponent;

namespace {

L0_Var_2 elementOrActive(const L0_Var_2& element) {
  return stable(element.isNull() ? L0_Func_get_active_element() : element);
}

L0_Var_2 styleOf(const L0_Var_2& element) {
  return stable(firstOver(element, "elemStyle", "ElemStyle"));
}

L0_Var_2 typeOfStyle(const L0_Var_2& style) {
  return stable(firstOver(style, "elemType", "ElemType"));
}

L0_Var_2 firstStyleOf(const L0_Var_2& type) {
  return stable(firstOver(type, "elemStyle", "ElemStyle"));
}

void drawIn(L0_Var_2& element, const L0_Var_2& style) {
  for (L0_Var_2& old : stablePartners(element, "elemStyle", "ElemStyle"))
    element.deleteLink(old, "elemStyle");
  if (!style.isNull()) link(element, "elemStyle", style);
}

// The style of TYPE with this caption (or, failing that, this id).
L0_Var_2 styleNamed(const L0_Var_2& type, const std::string& name) {
  for (const L0_Var_2& style : partnersOf(type, "elemStyle", "ElemStyle"))
    if (valueOf(style, "caption") == name) return stable(style);
  for (const L0_Var_2& style : partnersOf(type, "elemStyle", "ElemStyle"))
    if (valueOf(style, "id") == name) return stable(style);
  return L0_Var_2("ElemStyle");
}

// Elements drawn in a style that is about to go take their type's own look.
void moveElementsToFirstStyle(const L0_Var_2& style, const L0_Var_2& except) {
  L0_Var_2 first = firstStyleOf(typeOfStyle(style));
  for (L0_Var_2& element : stablePartners(style, "element", "Element")) {
    if (element == except) continue;
    drawIn(element, first);
    if (!firstOver(element, "graphDiagram", "GraphDiagram").isNull()) L0_Func_okCmd(element);
  }
}

L0_Var_2 formElement() {
  return stable(firstOver(gr::dlg::eventForm(), "presentationElement", "Element"));
}

L0_Var_2 newForm(const std::string& caption, L0_Var_2& element) {
  L0_Var_2 form = L0_Func_add_Form(caption);
  setValues(form, {{"id", caption}, {"horizontalAlignment", "2"}, {"verticalAlignment", "0"}});
  if (!element.isNull()) link(form, "presentationElement", element);
  return form;
}

L0_Var_2 addButton(L0_Var_2& container, const std::string& caption,
                   const std::string& transformation, bool enabled = true) {
  L0_Var_2 button = L0_Func_add_Button(container, caption, caption, "");
  if (!enabled) button.setAttr("enabled", "false");
  L0_Func_add_d_eventHandler_main(button, "Click", transformation);
  return button;
}

void showModal(L0_Var_2& form) {
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}

L0_Var_2 component(const L0_Var_2& form, const std::string& id) {
  return stable(L0_Func_get_component_from_container_by_id(form, id));
}

void enable(const L0_Var_2& button, bool enabled) {
  if (button.isNull()) return;
  L0_Var_2 each = button;
  each.setAttr("enabled", enabled ? "true" : "false");
  refreshComponent(button);
}

// A name the element type's other styles do not have.
bool styleNameFree(const L0_Var_2& type, const L0_Var_2& style, const std::string& name) {
  for (const L0_Var_2& other : partnersOf(type, "elemStyle", "ElemStyle"))
    if (other != style && valueOf(other, "caption") == name) return false;
  return true;
}

// The style box shows its style's name.
void showNameOn(L0_Var_2& box, const std::string& name) {
  L0_Var_2 type = firstOver(box, "elemType", "ElemType");
  L0_Var_2 nameType = gr::cfg::partnerWithId(type, "compartType", "CompartType", "Name");
  if (nameType.isNull()) return;
  L0_Var_2 compartment = L0_Func_get_compartnment_from_parent_by_compartType(box, nameType);
  if (compartment.isNull()) compartment = L0_Func_create_compartment(box, nameType);
  L0_Func_set_compartment_value(compartment, name);
}

}  // namespace

L0_Var_2 L0_Func_get_elemType_from_graphDiagramType(L0_Var_2 diagramType, std::string id) {
  return stable(gr::cfg::partnerWithId(diagramType, "elemType", "ElemType", id));
}
GR_ENTRY_SIGNATURE(L0_Func_get_elemType_from_graphDiagramType)

L0_Var_2 L0_Func_copy_elemStyle(L0_Var_2 style) {
  L0_Var_2 copy = newObject(getClassName(style));
  if (style.isNull() || copy.isNull()) return copy;
  L0_Func_copy_class_with_attributes(style, copy);
  for (const L0_Var_2& compartStyle : partnersOf(style, "compartStyle", "CompartStyle"))
    link(copy, "compartStyle", stable(compartStyle));
  return copy;
}
GR_ENTRY_SIGNATURE(L0_Func_copy_elemStyle)

// ---- box styles

void L0_Func_new_ElemStyle1(L0_Var_2 element) {
  element = elementOrActive(element);
  L0_Var_2 diagram = stable(firstOver(element, "graphDiagram", "GraphDiagram"));
  L0_Var_2 diagramType = stable(firstOver(diagram, "graphDiagramType", "GraphDiagramType"));
  L0_Var_2 boxType = L0_Func_get_elemType_from_graphDiagramType(diagramType, "NodeStyle");
  L0_Var_2 lineType = L0_Func_get_elemType_from_graphDiagramType(diagramType, "styleLine");
  if (element.isNull() || boxType.isNull() || lineType.isNull() ||
      firstOver(element, "target_type", "ElemType").isNull()) {
    gr::showMessageBox("Error in new_ElemStyle1");
    return;
  }
  L0_Var_2 box = stable(L0_Func_create_node(boxType, diagram, L0_Var_2("Node")));
  L0_Var_2 edge = stable(L0_Func_create_edge(diagram, lineType, element, box));
  L0_Func_okCmd(box);
  L0_Func_okCmd(edge);
  L0_Func_activeElementCmd(box);
  if (L0_Func_add_elemStyle_domain(edge).isNull()) return;
  L0_Func_make_elemStyle_properties(box);
}
GR_ENTRY_SIGNATURE(L0_Func_new_ElemStyle1)

L0_Var_2 L0_Func_add_elemStyle_domain(L0_Var_2 edge) {
  L0_Var_2 type = stable(firstOver(firstOver(edge, "start", "Element"), "target_type", "ElemType"));
  L0_Var_2 box = stable(firstOver(edge, "end", "Element"));
  L0_Var_2 first = firstStyleOf(type);
  if (first.isNull() || box.isNull()) {
    gr::showMessageBox("Error in add_elemStyle_domain");
    return L0_Var_2("ElemStyle");
  }
  L0_Var_2 style = L0_Func_copy_elemStyle(first);
  link(type, "elemStyle", style);
  showNameOn(box, valueOf(style, "caption"));
  drawIn(box, style);
  return style;
}
GR_ENTRY_SIGNATURE(L0_Func_add_elemStyle_domain)

void L0_Func_make_elemStyle_properties(L0_Var_2 element) {
  element = elementOrActive(element);
  L0_Var_2 style = styleOf(element);
  if (style.isNull()) {
    gr::showMessageBox("Error in make_elemStyle_properties");
    return;
  }
  L0_Var_2 form = newForm("ElemStyle Properties", element);
  setValues(form, {{"preferredWidth", "195"}, {"preferredHeight", "5"}});
  L0_Func_add_Row_elemStyle_properties(form, "Name", "caption", valueOf(style, "caption"));
  L0_Var_2 buttons = L0_Func_add_horizontalRow(form, "buttons");
  setValues(buttons, {{"minimumWidth", "0"}, {"minimumHeight", "0"}});
  addButton(buttons, "Style", "ok_make_elemStyle_properties");
  link(form, "defaultButton", addButton(buttons, "Close", "close_form"));
  showModal(form);
}
GR_ENTRY_SIGNATURE(L0_Func_make_elemStyle_properties)

namespace {

// The name field into the style; false (with the message) when refused.
bool writeStyleName(const L0_Var_2& field, L0_Var_2& element) {
  L0_Var_2 style = styleOf(element);
  if (field.isNull() || style.isNull()) {
    gr::showMessageBox("Error in update_from_inputField");
    return false;
  }
  std::string name = valueOf(field, "text");
  if (name == valueOf(style, "caption")) return true;
  if (name.empty() || !styleNameFree(typeOfStyle(style), style, name)) {
    gr::showMessageBox(name.empty() ? std::string("A style needs a name.")
                                    : "The element type already has a style \"" + name + "\".");
    L0_Var_2 shown = field;
    shown.setAttr("text", valueOf(style, "caption"));
    refreshComponent(field);
    return false;
  }
  style.setAttr("caption", name);
  style.setAttr("id", name);
  showNameOn(element, name);
  return true;
}

}  // namespace

void L0_Func_update_elemStyle() {
  L0_Var_2 element = formElement();
  writeStyleName(gr::dlg::eventSource(), element);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_elemStyle)

void L0_Func_ok_make_elemStyle_properties() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 element = formElement();
  if (element.isNull()) {
    gr::showMessageBox("Error in ok_make_elemStyle_properties");
    finishEvent();
    return;
  }
  if (writeStyleName(component(form, "caption"), element)) {
    L0_Func_style_box(element);
    L0_Func_saveStylesCmd(stable(firstOver(element, "graphDiagram", "GraphDiagram")));
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_ok_make_elemStyle_properties)

void L0_Func_delete_style(L0_Var_2 element) {
  element = elementOrActive(element);
  L0_Var_2 style = styleOf(element);
  L0_Var_2 diagram = stable(firstOver(element, "graphDiagram", "GraphDiagram"));
  if (element.isNull()) {
    gr::showMessageBox("Error in delete_style");
    return;
  }
  L0_Var_2 type = typeOfStyle(style);
  // A type's own look is never taken along by a box drawn in it.
  if (!style.isNull() && !type.isNull() && firstStyleOf(type) != style) {
    moveElementsToFirstStyle(style, element);
    style.deleteObj();
  }
  L0_Func_default_delete_element_helper_helper(element, true);
  L0_Func_okCmd_graphDiagram(diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_style)

void L0_Func_style_box(L0_Var_2 element) {
  if (element.isNull()) return;
  L0_Func_styleDialogCmd(element, "");
}
GR_ENTRY_SIGNATURE(L0_Func_style_box)

void L0_Func_open_style_box() {
  L0_Var_2 element = gr::cfg::typeElement();
  if (element.isNull())
    gr::showMessageBox("Error in open_style_box");
  else
    L0_Func_style_box(element);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_open_style_box)

// ---- line styles

namespace {

L0_Var_2 lineTypeOf(const L0_Var_2& element) {
  L0_Var_2 type = stable(firstOver(element, "target_type", "ElemType"));
  return isKind(type, "EdgeType") ? type : L0_Var_2("EdgeType");
}

L0_Var_2 chosenStyle(const L0_Var_2& form, const L0_Var_2& type) {
  std::string name = valueOf(component(form, "elemStyle"), "text");
  return name.empty() ? L0_Var_2("ElemStyle") : styleNamed(type, name);
}

// The style named as the line type, its own look, can not be deleted.
bool deletable(const L0_Var_2& style, const L0_Var_2& type) {
  return !style.isNull() && style != firstStyleOf(type) &&
         valueOf(style, "caption") != valueOf(type, "caption");
}

}  // namespace

void L0_Func_add_line_elemStyle(L0_Var_2 element) {
  element = elementOrActive(element);
  if (lineTypeOf(element).isNull()) {
    gr::showMessageBox("Error in add_line_elemStyle");
    return;
  }
  L0_Var_2 form = newForm("Line Style", element);
  setValues(form, {{"minimumWidth", "200"}, {"minimumHeight", "75"}});
  L0_Var_2 combo = L0_Func_add_ComboBoxRow(form, "Style", "elemStyle",
                                           L0_Func_get_current_elemStyle_caption(element), true,
                                           "add_elemStyle_comboBox_items");
  L0_Func_add_d_eventHandler_main(combo, "Change", "check_delete_button");
  L0_Func_add_d_eventHandler_main(combo, "FocusLost", "add_check_edgeStyle");
  L0_Var_2 buttons = L0_Func_add_horizontalRow(form, "button_box");
  addButton(buttons, "Delete Style", "style_delete", false);
  addButton(buttons, "Set Style", "style_transformation");
  link(form, "defaultButton", addButton(buttons, "Close", "close_edgeStyle_form"));
  showModal(form);
}
GR_ENTRY_SIGNATURE(L0_Func_add_line_elemStyle)

void L0_Func_add_elemStyle_comboBox_items(L0_Var_2 comboBox) {
  for (L0_Var_2& item : stablePartners(comboBox, "item", "D#Item")) item.deleteObj();
  L0_Var_2 element = stable(firstOver(gr::dlg::formOf(comboBox), "presentationElement", "Element"));
  for (const L0_Var_2& style : partnersOf(lineTypeOf(element), "elemStyle", "ElemStyle"))
    L0_Func_add_item(comboBox, valueOf(style, "caption"));
}
GR_ENTRY_SIGNATURE(L0_Func_add_elemStyle_comboBox_items)

std::string L0_Func_get_current_elemStyle_caption(L0_Var_2 element) {
  return valueOf(styleOf(element), "caption");
}
GR_ENTRY_SIGNATURE(L0_Func_get_current_elemStyle_caption)

void L0_Func_check_delete_button() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 type = lineTypeOf(formElement());
  if (type.isNull()) {
    gr::showMessageBox("Error in check_delete_button");
    finishEvent();
    return;
  }
  enable(component(form, "Delete Style"), deletable(chosenStyle(form, type), type));
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_check_delete_button)

void L0_Func_add_check_edgeStyle() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 combo = component(form, "elemStyle");
  L0_Var_2 type = lineTypeOf(formElement());
  if (combo.isNull() || type.isNull()) {
    gr::showMessageBox("Error in add_check_edgeStyle");
    finishEvent();
    return;
  }
  std::string name = valueOf(combo, "text");
  if (!name.empty() && styleNamed(type, name).isNull()) {
    // A new line style starts from the type's own look.
    L0_Var_2 first = firstStyleOf(type);
    L0_Var_2 style = first.isNull() ? newObject("EdgeStyle") : L0_Func_copy_elemStyle(first);
    style.setAttr("caption", name);
    style.setAttr("id", name);
    link(type, "elemStyle", style);
    L0_Func_add_item(combo, name);
    enable(component(form, "Delete Style"), true);
    refreshComponent(combo);
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_add_check_edgeStyle)

void L0_Func_style_transformation() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 element = formElement();
  L0_Var_2 style = chosenStyle(form, lineTypeOf(element));
  if (element.isNull() || style.isNull()) {
    gr::showMessageBox("Error in style_transformation2");
    finishEvent();
    return;
  }
  if (firstOver(element, "old_style", "ElemStyle").isNull()) {
    L0_Var_2 own = styleOf(element);
    if (!own.isNull()) link(element, "old_style", own);
  }
  drawIn(element, style);
  L0_Func_okCmd(element);
  L0_Func_defaultStyleCmd(element);
  L0_Func_styleDialogCmd(element, "");
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_style_transformation)

void L0_Func_style_delete() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 element = formElement();
  L0_Var_2 type = lineTypeOf(element);
  L0_Var_2 combo = component(form, "elemStyle");
  L0_Var_2 style = chosenStyle(form, type);
  if (!deletable(style, type) || combo.isNull()) {
    gr::showMessageBox("Error in style_delete");
    finishEvent();
    return;
  }
  std::string name = valueOf(style, "caption");
  for (L0_Var_2& item : stablePartners(combo, "item", "D#Item"))
    if (valueOf(item, "value") == name) item.deleteObj();
  moveElementsToFirstStyle(style, element);
  style.deleteObj();
  L0_Var_2 first = firstStyleOf(type);
  drawIn(element, first);
  combo.setAttr("text", valueOf(first, "caption"));
  refreshComponent(combo);
  enable(component(form, "Delete Style"), false);
  L0_Func_okCmd(element);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_style_delete)

void L0_Func_close_edgeStyle_form() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 element = formElement();
  if (element.isNull()) {
    gr::showMessageBox("Error in close_edgeStyle_form");
    finishEvent();
    return;
  }
  L0_Func_afterConfigCmd(stable(firstOver(element, "graphDiagram", "GraphDiagram")));
  L0_Var_2 held = stable(firstOver(element, "old_style", "ElemStyle"));
  if (!held.isNull()) {
    drawIn(element, held);
    element.deleteLink(held, "old_style");
  }
  L0_Func_okCmd(element);
  L0_Func_defaultStyleCmd(element);
  L0_Func_d_cmd(form, "Close");
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_close_edgeStyle_form)

// ---- compartment styles

namespace {

struct StyleAttribute {
  const char* name;
  const char* label;
  bool text;  // free text; every other attribute holds an integer
};
const StyleAttribute kCompartStyleAttributes[] = {
    {"nr", "Nr", false},
    {"alignment", "Alignment", false},
    {"adjustment", "Adjustment", false},
    {"adornment", "Adornment", false},
    {"lineWidth", "Line Width", false},
    {"lineColor", "Line Color", false},
    {"fontTypeFace", "Font Type Face", true},
    {"fontCharSet", "Font Char Set", false},
    {"fontColor", "Font Color", false},
    {"fontSize", "Font Size", false},
    {"fontPitch", "Font Pitch", false},
    {"fontStyle", "Font Style", false},
    {"picture", "Picture", true},
    {"picWidth", "Picture Width", false},
    {"picHeight", "Picture Height", false},
    {"picPos", "Picture Position", false},
    {"picStyle", "Picture Style", false},
    {"textDirection", "Text Direction", false},
};

const StyleAttribute* compartStyleAttribute(const std::string& name) {
  for (const StyleAttribute& attribute : kCompartStyleAttributes)
    if (name == attribute.name) return &attribute;
  return nullptr;
}

// The element type's compartment types, depth first.
void collectCompartTypes(const L0_Var_2& owner, std::vector<L0_Var_2>& all) {
  const char* role = isKind(owner, "CompartType") ? "subCompartType" : "compartType";
  for (const L0_Var_2& type : partnersOf(owner, role, "CompartType")) {
    all.push_back(stable(type));
    collectCompartTypes(stable(type), all);
  }
}

std::vector<L0_Var_2> compartTypesOf(const L0_Var_2& elemType) {
  std::vector<L0_Var_2> all;
  collectCompartTypes(elemType, all);
  return all;
}

L0_Var_2 elemTypeOfForm() {
  return stable(firstOver(formElement(), "target_type", "ElemType"));
}

L0_Var_2 chosenCompartType(const L0_Var_2& form) {
  std::string caption = valueOf(component(form, "combo"), "text");
  for (const L0_Var_2& type : compartTypesOf(elemTypeOfForm()))
    if (valueOf(type, "caption") == caption) return type;
  return L0_Var_2("CompartType");
}

L0_Var_2 styleTree(const L0_Var_2& form) {
  return component(form, "Tree");
}

L0_Var_2 selectedStyleNode(const L0_Var_2& form) {
  return stable(firstOver(styleTree(form), "selected", "D#TreeNode"));
}

L0_Var_2 styleOfNode(const L0_Var_2& node) {
  return stable(firstOver(node, "compartStyle", "CompartStyle"));
}

bool usedByCompartments(const L0_Var_2& style) {
  return !firstOver(style, "compartment", "Compartment").isNull();
}

// The tree shows NODE as chosen, the rows its style, and "DeleteStyle" is
// usable for a style no compartment shows.
void showStyleNode(L0_Var_2& form, const L0_Var_2& node) {
  L0_Var_2 tree = styleTree(form);
  for (L0_Var_2& old : stablePartners(tree, "selected", "D#TreeNode"))
    tree.deleteLink(old, "selected");
  L0_Var_2 style = styleOfNode(node);
  if (!node.isNull()) {
    link(tree, "selected", node);
    L0_Func_select_TreeNodeCmd(tree, node);
  }
  L0_Func_fill_compartstyle_components(component(form, "verticalBox2"), style);
  enable(component(form, "DeleteStyle"), !style.isNull() && !usedByCompartments(style));
}

void addStyleNode(L0_Var_2& tree, const L0_Var_2& style) {
  L0_Var_2 node = L0_Func_add_TreeNode(tree, valueOf(style, "caption"));
  link(node, "compartStyle", style);
}

// Every element style of the element type offers the compartment style.
void offerToElemStyles(const L0_Var_2& elemType, L0_Var_2& style) {
  for (L0_Var_2& elemStyle : stablePartners(elemType, "elemStyle", "ElemStyle"))
    if (!elemStyle.checkLink(style, "compartStyle")) link(elemStyle, "compartStyle", style);
}

}  // namespace

void L0_Func_make_compartment_style_form(L0_Var_2 element) {
  element = elementOrActive(element);
  if (firstOver(element, "target_type", "ElemType").isNull()) {
    gr::showMessageBox("Error in make_compartment_style_form");
    return;
  }
  L0_Var_2 form = newForm("Compartment Style", element);
  setValues(form, {{"minimumWidth", "400"}, {"minimumHeight", "550"}});
  L0_Var_2 combo = L0_Func_add_ComboBoxRow(form, "Compartment Type", "combo", "", false,
                                           "fill_compartment_style_comboBox");
  L0_Func_add_d_eventHandler_main(combo, "Change", "update_tree_with_compartStyle");
  L0_Var_2 box = L0_Func_add_HorizontalBox(form);
  L0_Var_2 left = L0_Func_add_VerticalBox(box);
  left.setAttr("id", "verticalBox");
  L0_Var_2 tree = L0_Func_add_Tree(left);
  L0_Func_add_d_eventHandler_main(tree, "TreeNodeSelect", "selected_compartStyle_treeNode_change");
  addButton(left, "AddStyle", "add_compartStyle", false);
  addButton(left, "DeleteStyle", "delete_compartStyle", false);
  L0_Func_add_VerticalBox(box).setAttr("id", "verticalBox2");
  link(form, "defaultButton", addButton(form, "Close", "close_form"));
  showModal(form);
}
GR_ENTRY_SIGNATURE(L0_Func_make_compartment_style_form)

void L0_Func_fill_compartment_style_comboBox(L0_Var_2 comboBox) {
  L0_Var_2 element = stable(firstOver(gr::dlg::formOf(comboBox), "presentationElement", "Element"));
  for (const L0_Var_2& type : compartTypesOf(firstOver(element, "target_type", "ElemType")))
    L0_Func_add_item(comboBox, valueOf(type, "caption"));
}
GR_ENTRY_SIGNATURE(L0_Func_fill_compartment_style_comboBox)

void L0_Func_update_tree_with_compartStyle() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 type = chosenCompartType(form);
  L0_Var_2 tree = styleTree(form);
  if (type.isNull() || tree.isNull()) {
    gr::showMessageBox("Error in update_tree_with_compartStyle");
    finishEvent();
    return;
  }
  for (L0_Var_2& node : stablePartners(tree, "treeNode", "D#TreeNode")) {
    for (L0_Var_2& child : stablePartners(node, "childNode", "D#TreeNode")) child.deleteObj();
    node.deleteObj();
  }
  for (const L0_Var_2& style : partnersOf(type, "compartStyle", "CompartStyle"))
    addStyleNode(tree, stable(style));
  enable(component(form, "AddStyle"), true);
  showStyleNode(form, stable(firstOver(tree, "treeNode", "D#TreeNode")));
  refreshComponent(tree);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_tree_with_compartStyle)

void L0_Func_selected_compartStyle_treeNode_change() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 node = stable(firstOver(gr::dlg::currentEvent(), "treeNode", "D#TreeNode"));
  if (node.isNull()) {
    gr::showMessageBox("Error in selected_compartStyle_treeNode_change");
    finishEvent();
    return;
  }
  showStyleNode(form, node);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_selected_compartStyle_treeNode_change)

void L0_Func_fill_compartstyle_components(L0_Var_2 container, L0_Var_2 style) {
  L0_Func_delete_container_components(container);
  if (style.isNull()) return;
  L0_Func_add_Row_void_properties(container, "Name", "caption", valueOf(style, "caption"),
                                  "update_style_id_caption");
  for (const StyleAttribute& attribute : kCompartStyleAttributes)
    L0_Func_add_Row_void_properties(container, attribute.label, attribute.name,
                                    valueOf(style, attribute.name), "update_compartStyle");
  refreshComponent(container);
}
GR_ENTRY_SIGNATURE(L0_Func_fill_compartstyle_components)

void L0_Func_update_style_id_caption() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 node = selectedStyleNode(form);
  L0_Var_2 style = styleOfNode(node);
  if (field.isNull() || style.isNull()) {
    gr::showMessageBox("Error in update_style_id_caption");
    finishEvent();
    return;
  }
  std::string name = valueOf(field, "text");
  if (name.empty()) {
    gr::showMessageBox("A style needs a name.");
    field.setAttr("text", valueOf(style, "caption"));
    refreshComponent(field);
  } else {
    style.setAttr("caption", name);
    style.setAttr("id", name);
    node.setAttr("text", name);
    refreshComponent(styleTree(form));
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_style_id_caption)

void L0_Func_update_compartStyle() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 style = styleOfNode(selectedStyleNode(form));
  const StyleAttribute* attribute = compartStyleAttribute(valueOf(field, "id"));
  if (style.isNull() || !attribute) {
    gr::showMessageBox("Error in update_compartStyle");
    finishEvent();
    return;
  }
  std::string text = valueOf(field, "text");
  bool ok = true;
  if (!attribute->text) gr::dlg::cellNumber(text, ok);
  if (ok) {
    style.setAttr(attribute->name, text);
  } else {
    gr::showMessageBox(std::string(attribute->label) + " must be an integer, not \"" + text +
                       "\".");
    field.setAttr("text", valueOf(style, attribute->name));
    refreshComponent(field);
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_compartStyle)

void L0_Func_add_compartStyle() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 type = chosenCompartType(form);
  L0_Var_2 tree = styleTree(form);
  if (type.isNull() || tree.isNull()) {
    gr::showMessageBox("Error in add_compartStyle");
    finishEvent();
    return;
  }
  L0_Var_2 style =
      stable(L0_Func_addCompartStyle(stable(firstOver(type, "compartStyle", "CompartStyle"))));
  style.setAttr("id", "CompartStyle");
  style.setAttr("caption", "CompartStyle");
  link(type, "compartStyle", style);
  offerToElemStyles(elemTypeOfForm(), style);
  addStyleNode(tree, style);
  L0_Var_2 node;
  for (const L0_Var_2& each : partnersOf(tree, "treeNode", "D#TreeNode")) node = stable(each);
  L0_Func_add_TreeNodeCmd(tree, node);
  showStyleNode(form, node);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_add_compartStyle)

void L0_Func_delete_compartStyle() {
  L0_Var_2 form = gr::dlg::eventForm();
  L0_Var_2 tree = styleTree(form);
  L0_Var_2 node = selectedStyleNode(form);
  L0_Var_2 style = styleOfNode(node);
  if (style.isNull() || usedByCompartments(style)) {
    gr::showMessageBox("Error in delete_compartStyle");
    finishEvent();
    return;
  }
  style.deleteObj();
  L0_Func_d_componentDeleteTreeNodeCmd(tree, node, "Delete");
  node.deleteObj();
  showStyleNode(form, stable(firstOver(tree, "treeNode", "D#TreeNode")));
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_delete_compartStyle)

// ---- the diagram style

namespace {

struct DiagramAttribute {
  const char* name;
  const char* label;
};
const DiagramAttribute kDiagramAttributes[] = {{"caption", "Name"},
                                               {"layoutMode", "Layout Mode"},
                                               {"layoutAlgorithm", "Layout Algorithm"},
                                               {"bkgColor", "Background Color"},
                                               {"screenZoom", "Screen Zoom"},
                                               {"printZoom", "Print Zoom"}};

// The type the current diagram defines; a diagram that defines none (the
// seed diagram) has its own type styled.
L0_Var_2 styledDiagramType() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 defined = stable(firstOver(diagram, "target_type", "GraphDiagramType"));
  return defined.isNull() ? stable(firstOver(diagram, "graphDiagramType", "GraphDiagramType"))
                          : defined;
}

}  // namespace

void L0_Func_diagram_style() {
  L0_Var_2 type = styledDiagramType();
  if (type.isNull()) {
    gr::showMessageBox("Error in diagram_style");
    return;
  }
  L0_Var_2 none("Element");
  L0_Var_2 form = newForm("Style", none);
  L0_Var_2 tabs = L0_Func_add_TabContainer(form);
  L0_Var_2 styleTab = L0_Func_add_Tab(tabs, "Style");
  styleTab.setAttr("id", "tab1");
  link(tabs, "activeTab", styleTab);
  L0_Var_2 rows = L0_Func_add_VerticalBox(styleTab);
  rows.setAttr("id", "verticalBox2");
  for (const DiagramAttribute& attribute : kDiagramAttributes)
    L0_Func_add_Row_void_properties(rows, attribute.label, attribute.name,
                                    valueOf(type, attribute.name),
                                    "update_target_graphDiagramType");
  L0_Var_2 handlers = L0_Func_add_Tab(tabs, "Handlers");
  handlers.setAttr("id", "tab2");
  L0_Func_make_diagram_handler_tab(handlers);
  link(form, "defaultButton", addButton(form, "Close", "close_form"));
  showModal(form);
}
GR_ENTRY_SIGNATURE(L0_Func_diagram_style)

void L0_Func_update_target_graphDiagramType() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 type = styledDiagramType();
  std::string attribute = valueOf(field, "id");
  std::string text = valueOf(field, "text");
  if (field.isNull() || type.isNull()) {
    gr::showMessageBox("Error in diagram_style");
    finishEvent();
    return;
  }
  if (attribute == "caption") {
    type.setAttr("caption", text);
    finishEvent();
    return;
  }
  bool ok = true;
  gr::dlg::cellNumber(text, ok);
  if (!ok || text.empty()) {
    gr::showMessageBox("\"" + text + "\" is not an integer: " + attribute + " is not changed.");
    field.setAttr("text", valueOf(type, attribute));
    refreshComponent(field);
    finishEvent();
    return;
  }
  type.setAttr(attribute, text);
  for (L0_Var_2& diagram : stablePartners(type, "graphDiagram", "GraphDiagram")) {
    diagram.setAttr(attribute, text);
    L0_Func_afterConfigCmd(diagram);
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_target_graphDiagramType)
