// The building blocks of every configurator form: each creates one or a few
// dialog-engine objects under a container, attaches its event handlers and
// returns the new component. The dialog engine lays them out; nothing here
// positions anything. Components are found again by `id`.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tool/Transformation.h"

// ---- forms and boxes
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Form(std::string caption);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_HorizontalBox(L0_Var_2 container);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_VerticalBox(L0_Var_2 container);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_horizontalRow(L0_Var_2 container, std::string id);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_horizontalBox(L0_Var_2 container, std::string id);
// A row "HorizontalRow" holding a box with a label of the caption; returns the row.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_row_box_label(L0_Var_2 container, std::string caption);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_label(L0_Var_2 container, std::string caption);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_textField(L0_Var_2 container, std::string id,
                                                 std::string text, bool editable);

// ---- label rows with a field; each returns the field
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Row(L0_Var_2 container, std::string caption, std::string id,
                                           std::string text);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Row_on_change(L0_Var_2 container, std::string caption,
                                                     std::string id, std::string text,
                                                     std::string transformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Row_event(L0_Var_2 container, std::string caption,
                                                 std::string id, std::string text,
                                                 std::string eventName, std::string transformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Row_void_properties(L0_Var_2 container, std::string caption,
                                                           std::string id, std::string text,
                                                           std::string transformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Row_void_int_properties(L0_Var_2 container,
                                                               std::string caption, std::string id,
                                                               std::string text,
                                                               std::string transformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Row_void_double_properties(L0_Var_2 container,
                                                                  std::string caption,
                                                                  std::string id, std::string text,
                                                                  std::string transformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Row_elemStyle_properties(L0_Var_2 container,
                                                                std::string caption, std::string id,
                                                                std::string text);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_NameRow(L0_Var_2 container, std::string caption,
                                               std::string text);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_NameRow_default(L0_Var_2 container, std::string text);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_multiple_Row(L0_Var_2 container, std::string caption,
                                                    std::string id, std::string text);
// The fill transformation (a reference, "lib#name" or a bare name) is called
// at once with the combo box.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_ComboBoxRow(L0_Var_2 container, std::string caption,
                                                   std::string id, std::string text, bool editable,
                                                   std::string fillTransformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_CheckBox(L0_Var_2 container, std::string caption,
                                                std::string id, bool checked, bool enabled);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_CheckBox_focusLost(L0_Var_2 container, std::string caption,
                                                          std::string id, bool checked,
                                                          std::string transformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_CheckBox_focusLost_row(L0_Var_2 container,
                                                              std::string caption, std::string id,
                                                              bool checked, bool enabled,
                                                              std::string transformation);
// A label in `column1` and the field in `column2` of a two-column row.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_CheckBox_to_column(L0_Var_2 row, std::string caption,
                                                          std::string id, bool checked,
                                                          std::string transformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_InputBox_to_column(L0_Var_2 row, std::string caption,
                                                          std::string id, std::string text,
                                                          std::string transformation);

// ---- tabs, trees, tables, buttons, lists, images
L0_TRANSFORMATION L0_Var_2 L0_Func_add_TabContainer(L0_Var_2 container);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Tab(L0_Var_2 tabContainer, std::string caption);
L0_TRANSFORMATION void L0_Func_add_Tab_Component(L0_Var_2 tab, L0_Var_2 component);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Tree(L0_Var_2 container);
// Under a tree (a top node) or under a node (a child).
L0_TRANSFORMATION L0_Var_2 L0_Func_add_TreeNode(L0_Var_2 parent, std::string text);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_rootNode(L0_Var_2 tree);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Table(L0_Var_2 container);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_TableType(L0_Var_2 table, std::string insertCaption,
                                                 std::string deleteCaption);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_TableType_without_buttons(L0_Var_2 table);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_ColumnType_TextBox(L0_Var_2 tableType, std::string caption);
// ITEMS: every item ended by "$".
L0_TRANSFORMATION L0_Var_2 L0_Func_add_ColumnType_ComboBox_with_items(L0_Var_2 tableType,
                                                                      std::string caption,
                                                                      std::string items);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_ColumnType_Button(L0_Var_2 tableType, std::string caption,
                                                         std::string transformation);
// A column of check boxes; its cells hold "true" or "false".
L0_TRANSFORMATION L0_Var_2 L0_Func_add_ColumnType_CheckBox(L0_Var_2 tableType, std::string caption);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_Button(L0_Var_2 container, std::string id,
                                              std::string caption, std::string transformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_ListBox(L0_Var_2 container, std::string transformation);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_image(L0_Var_2 container, std::string fileName,
                                             std::string transformation);
// A new item VALUE of a combo box or list box.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_item(L0_Var_2 box, std::string value);

// ---- finding components and registering handlers
// The new D#EventHandler; null when the component is null or no name is given.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_d_eventHandler_main(L0_Var_2 component,
                                                           std::string eventName,
                                                           std::string transformationName);
// Depth first through the containers; null when none.
L0_TRANSFORMATION L0_Var_2 L0_Func_get_component_from_container_by_id(L0_Var_2 container,
                                                                      std::string id);
// Only DEPTH levels down (1: the container's own components).
L0_TRANSFORMATION L0_Var_2 L0_Func_get_exact_component_from_container_by_id(L0_Var_2 container,
                                                                            std::string id,
                                                                            int depth);
// The tree of the first form ("HorizontalBox", "VerticalBox", "Tree").
L0_TRANSFORMATION L0_Var_2 L0_Func_get_tree();
// The tab ID of the first form's tab container ("HorizontalBox", "TabContainer").
L0_TRANSFORMATION L0_Var_2 L0_Func_get_tab(std::string id);
// One node per compartment type of OWNER under PARENT, recursively.
L0_TRANSFORMATION void L0_Func_make_compart_tree(L0_Var_2 parent, L0_Var_2 owner);
// Deletes every component of the container with its parts.
L0_TRANSFORMATION void L0_Func_delete_container_components(L0_Var_2 container);

// ---- handlers of the blocks
// The field's text / the box's check mark into the attribute named by its
// `id` of the tree's selected type.
L0_TRANSFORMATION void L0_Func_update_from_inputField();
L0_TRANSFORMATION void L0_Func_update_from_checkBox();
L0_TRANSFORMATION void L0_Func_check_int();
L0_TRANSFORMATION void L0_Func_check_double();
// "Click" of a "Close" button: closes the form of the event; the form was
// shown with its deletion queued behind it.
L0_TRANSFORMATION void L0_Func_close_form();

namespace gr::dlg {
// The dialog event being handled, and its source component.
L0_Var_2 currentEvent();
L0_Var_2 eventSource();
// The type shown by the tree's selected node (an ElemType or CompartType).
L0_Var_2 selectedType();
// The text a component shows: `text`, else `checked`.
std::string textOf(const L0_Var_2& component);
// The component's parts over `component`, in order.
std::vector<L0_Var_2> components(const L0_Var_2& container);
// The form the dialog event came from: its `form`, else the form holding its source.
L0_Var_2 eventForm();
// The form holding the component; null when none.
L0_Var_2 formOf(const L0_Var_2& component);

// ---- tables
// A new editable table under CONTAINER with its id, the captions of its
// insert and delete buttons (empty: the table has none) and its minimum size.
L0_Var_2 newTable(L0_Var_2 container, const std::string& id, const std::string& insertCaption,
                  const std::string& deleteCaption, int width, int height);
// The table's type, made by newTable; its columns are added to it.
L0_Var_2 tableType(const L0_Var_2& table);
// The captions of the table's columns, in order.
std::vector<std::string> columnCaptions(const L0_Var_2& table);
// A row the user left in a table (not marked deleted): its cells by column caption.
using TableRow = std::map<std::string, std::string>;
std::vector<TableRow> liveRows(const L0_Var_2& table);
// The table shows these rows instead of those it had; each row's cells in
// column order (missing ones are empty).
void setRows(L0_Var_2& table, const std::vector<std::vector<std::string>>& rows);
// The integer a cell holds: empty is 0; OK false for any other text that is no integer.
int cellNumber(const std::string& text, bool& ok);
// Asks the dialog engine to show the component anew; nothing for null.
void refreshComponent(const L0_Var_2& component);
// Every dialog handler ends by using up its event.
void finishEvent();
// Saving a row and deleting one both write the table back over TRANSFORMATION.
void onSaveAndDelete(L0_Var_2& table, const std::string& transformation);
}  // namespace gr::dlg
