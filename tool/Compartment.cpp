#include "tool/Compartment.h"

#include <sstream>
#include <vector>

#include "tool/Commands.h"
#include "tool/Utilities.h"

using gr::firstOver;

namespace {

const char* const kSubValueSeparator = "$";

L0_Var_2 typeOf(const L0_Var_2& compartment) {
  return firstOver(compartment, "compartType", "CompartType");
}

L0_Var_2 parentCompartmentOf(const L0_Var_2& compartment) {
  return firstOver(compartment, "parentCompartment", "Compartment");
}

bool typeFlag(const L0_Var_2& type, const char* attribute) {
  return gr::flag(type, attribute);
}

std::string typeText(const L0_Var_2& type, const char* attribute) {
  return type.isNull() ? "" : type.getAttr(attribute);
}

std::string stringProcedure(const L0_Var_2& compartment, const char* attribute) {
  return L0_Func_call_compartment_proc_thru_type_returning_string(compartment, attribute);
}

bool namesProcedure(const L0_Var_2& type, const char* attribute) {
  return !typeText(type, attribute).empty();
}

std::vector<std::string> splitSubValues(const std::string& list) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t cut = list.find(kSubValueSeparator, start);
    parts.push_back(list.substr(start, cut == std::string::npos ? cut : cut - start));
    if (cut == std::string::npos) return parts;
    start = cut + 1;
  }
}

// The sub-values of the compartment's value, as its type's procDecompose
// gives them. Every decompose procedure reads the compartment's `input`,
// which wears the compartment's own adornments ("{a:b}" for "a:b"); those
// belong to no sub-value, so while the procedure runs `input` holds the text
// without them, and afterwards its own text again.
std::vector<std::string> subValuesOf(L0_Var_2& compartment) {
  L0_Var_2 type = firstOver(compartment, "compartType", "CompartType");
  if (!namesProcedure(type, "procDecompose")) return {};
  std::string input = compartment.getAttr("input");
  std::string bare = gr::stripAdornments(type, input);
  struct Restore {
    L0_Var_2& compartment;
    const std::string& input;
    bool changed;
    ~Restore() {
      if (changed && !compartment.isNull()) compartment.setAttr("input", input);
    }
  } restore{compartment, input, bare != input};
  if (restore.changed) compartment.setAttr("input", bare);
  std::string list = stringProcedure(compartment, "procDecompose");
  return list.empty() ? std::vector<std::string>{} : splitSubValues(list);
}

// The sub-types of a compartment type, in link order.
std::vector<L0_Var_2> subTypesOf(const L0_Var_2& type) {
  std::vector<L0_Var_2> types;
  L0_Var_2 sub("CompartType");
  for (bool found = sub.setFirstByRelation(type, "subCompartType"); found; found = sub.next())
    types.push_back(sub);
  return types;
}

// The children of a compartment or an element.
std::vector<L0_Var_2> childrenOf(const L0_Var_2& parent) {
  std::vector<L0_Var_2> children;
  const char* role = isKindOf(parent, "Compartment") ? "subCompartment" : "compartment";
  L0_Var_2 child("Compartment");
  for (bool found = child.setFirstByRelation(parent, role); found; found = child.next())
    children.push_back(child);
  return children;
}

void linkToParent(L0_Var_2& compartment, L0_Var_2& parent) {
  if (isKindOf(parent, "Compartment"))
    parent.addLink(compartment, "subCompartment");
  else
    parent.addLink(compartment, "compartment");
}

void applyDefaultStyle(L0_Var_2& compartment, const L0_Var_2& type) {
  L0_Var_2 style = firstOver(type, "compartStyle", "CompartStyle");
  if (style.isNull()) return;
  L0_Var_2 current = firstOver(compartment, "compartStyle", "CompartStyle");
  if (current == style) return;
  if (!current.isNull()) compartment.deleteLink(current, "compartStyle");
  compartment.addLink(style, "compartStyle");
  if (compartment.getAttr("style") != "#") compartment.setAttr("style", "#");
}

std::string startValue(const L0_Var_2& compartment, const L0_Var_2& type) {
  if (namesProcedure(type, "procStartValue")) return stringProcedure(compartment, "procStartValue");
  return typeText(type, "startValue");
}

// Children are kept in the order of their types.
void reorderChildren(L0_Var_2& parent, const L0_Var_2& type) {
  std::vector<L0_Var_2> children;
  for (const L0_Var_2& child : childrenOf(parent)) children.push_back(gr::stable(child));
  const char* role = isKindOf(parent, "Compartment") ? "subCompartment" : "compartment";
  for (L0_Var_2& child : children) parent.deleteLink(child, role);
  for (const L0_Var_2& subType : subTypesOf(type))
    for (L0_Var_2& child : children)
      if (typeOf(child) == subType) parent.addLink(child, role);
  for (L0_Var_2& child : children)
    if (!parent.checkLink(child, role)) parent.addLink(child, role);
}

bool isStereotypeCompartment(const L0_Var_2& type) {
  L0_Var_2 row("PropertyRow");
  for (bool found = row.setFirstByRelation(type, "propertyRow"); found; found = row.next())
    if (row.getAttr("rowType") == "StereotypeRow") return true;
  return false;
}

// The picture of a style that the selected choice item gives.
bool selectedStyleHasPicture(const L0_Var_2& compartment) {
  L0_Var_2 item = firstOver(compartment, "selectedItem", "ChoiceItem");
  if (item.isNull()) return false;
  L0_Var_2 elemStyle = firstOver(item, "elemStyleByChoiceItem", "ElemStyle");
  if (!elemStyle.isNull() && !elemStyle.getAttrOfActualClass("picture").empty()) return true;
  L0_Var_2 compartStyle = firstOver(item, "compartStyleByChoiceItem", "CompartStyle");
  return !compartStyle.isNull() && !compartStyle.getAttr("picture").empty();
}

L0_Var_2 choiceItemWithValue(const L0_Var_2& type, const std::string& text) {
  L0_Var_2 item("ChoiceItem");
  for (bool found = item.setFirstByRelation(type, "choiceItem"); found; found = item.next())
    if (item.getAttr("value") == text) return item;
  item.setNull();
  return item;
}

// Relinks the selected choice item; true when one was or is selected, so
// that styles may have to follow.
bool selectChoiceItem(L0_Var_2& compartment, const L0_Var_2& type, const std::string& text) {
  L0_Var_2 old = firstOver(compartment, "selectedItem", "ChoiceItem");
  bool hadItem = !old.isNull();
  if (hadItem) {
    compartment.deleteLink(old, "selectedItem");
    L0_Func_update_styles_from_compartment(compartment);
  }
  L0_Var_2 item = choiceItemWithValue(type, text);
  if (!item.isNull()) compartment.addLink(item, "selectedItem");
  return hadItem || !item.isNull();
}

void propagate(L0_Var_2& compartment, const std::string& direction) {
  using namespace gr::direction;
  L0_Var_2 parent = parentCompartmentOf(compartment);
  if (direction == both) {
    L0_Func_decompose(compartment, down);
    if (!parent.isNull()) L0_Func_compose(parent, up);
  } else if (direction == down) {
    L0_Func_decompose(compartment, down);
  } else if (direction == up && !parent.isNull()) {
    L0_Func_compose(parent, up);
  }
}

void setBlocked(L0_Var_2& compartment, bool blocked) {
  compartment.setAttr("isBlocked", blocked);
  for (L0_Var_2& child : childrenOf(compartment)) setBlocked(child, blocked);
}

void applyBlocking(L0_Var_2& compartment, const L0_Var_2& type) {
  if (!namesProcedure(type, "procBlockingFieldEntered")) return;
  bool block = L0_Func_call_compartment_proc_thru_type_returning_boolean(
      compartment, "procBlockingFieldEntered");
  L0_Var_2 element = L0_Func_get_compartment_parent_element(compartment);
  L0_Var_2 blocked("CompartType");
  for (bool found = blocked.setFirstByRelation(type, "blocking"); found; found = blocked.next()) {
    for (L0_Var_2& target : gr::allCompartments(element)) {
      if (!(typeOf(target) == blocked)) continue;
      if (block)
        L0_Func_disable_block(target);
      else
        L0_Func_enable_block(target);
    }
  }
}

void runFieldProcedures(L0_Var_2& compartment) {
  L0_Func_call_compartment_proc_thru_type(compartment, "procForcedValuesFieldEntered");
  L0_Func_call_compartment_proc_thru_type(compartment, "procFieldEntered");
  L0_Func_call_compartment_proc_thru_type(compartment, "procUpdateCompartmentDomain");
}

void deleteTree(L0_Var_2& compartment, bool runDomainProcedures = true) {
  if (runDomainProcedures)
    L0_Func_call_compartment_proc_thru_type(compartment, "procDeleteCompartmentDomain");
  for (L0_Var_2& child : childrenOf(compartment)) deleteTree(child, runDomainProcedures);
  compartment.deleteObj();
}

// An element already in the style keeps its links where they are, so that
// the style's element order tells the order the elements took the look in.
void applyElementStyle(L0_Var_2& element, const L0_Var_2& style) {
  if (element.isNull() || style.isNull()) return;
  L0_Var_2 held("ElemStyle");
  if (held.setFirstByRelation(element, "elemStyle") && held == style && !held.next()) return;
  L0_Var_2 current("ElemStyle");
  for (bool found = current.setFirstByRelation(element, "elemStyle"); found; found = current.next())
    element.deleteLink(current, "elemStyle");
  element.addLink(style, "elemStyle");
}

void applyCompartmentStyle(L0_Var_2& compartment, const L0_Var_2& style) {
  L0_Var_2 current = firstOver(compartment, "compartStyle", "CompartStyle");
  if (current == style || style.isNull()) return;
  if (!current.isNull()) compartment.deleteLink(current, "compartStyle");
  compartment.addLink(style, "compartStyle");
}

}  // namespace

namespace gr {

std::string stripAdornments(const L0_Var_2& type, const std::string& text) {
  std::string prefix = typeText(type, "adornmentPrefix");
  std::string suffix = typeText(type, "adornmentSuffix");
  std::string result = text;
  if (!prefix.empty() && result.compare(0, prefix.size(), prefix) == 0)
    result.erase(0, prefix.size());
  if (!suffix.empty() && result.size() >= suffix.size() &&
      result.compare(result.size() - suffix.size(), suffix.size(), suffix) == 0)
    result.erase(result.size() - suffix.size());
  return result;
}

void deleteCompartmentsOf(const L0_Var_2& element, bool runDomainProcedures) {
  for (L0_Var_2& compartment : childrenOf(element)) {
    L0_Var_2 held = stable(compartment);
    deleteTree(held, runDomainProcedures);
  }
}

std::vector<L0_Var_2> allCompartments(const L0_Var_2& element) {
  std::vector<L0_Var_2> result;
  std::vector<L0_Var_2> pending = childrenOf(element);
  for (std::size_t i = 0; i < pending.size(); ++i) {
    result.push_back(pending[i]);
    for (L0_Var_2& child : childrenOf(pending[i])) pending.push_back(child);
  }
  return result;
}

}  // namespace gr

// ---- creation

L0_Var_2 L0_Func_create_compartment(L0_Var_2 parent, L0_Var_2 type) {
  return L0_Func_create_compartment_helper(parent, type, "", false);
}
GR_ENTRY_SIGNATURE(L0_Func_create_compartment)

L0_Var_2 L0_Func_create_compartment_helper(L0_Var_2 parent, L0_Var_2 type, std::string text,
                                           bool fromValue) {
  L0_Var_2 compartment("Compartment");
  if (parent.isNull() || type.isNull()) return compartment;
  compartment.addObj("Compartment");
  compartment.setAttr("isInvisible", typeFlag(type, "toBeInvisible"));
  compartment.addLink(type, "compartType");
  compartment.setAttr("is_update_in_progress", true);
  linkToParent(compartment, parent);
  applyDefaultStyle(compartment, type);
  std::string value = text;
  if (fromValue)
    compartment.setAttr("input", text);
  else
    value = startValue(compartment, type);
  // Field procedures answer a user's entry; creation has its own procedure.
  L0_Func_set_compartment_value_helper(compartment, value, gr::direction::down, false);
  L0_Func_create_subcompartments(compartment, type, "subCompartType", "CompartType", fromValue);
  if (!fromValue) L0_Func_compose(compartment, gr::direction::direct);
  L0_Func_update_styles_from_compartment(compartment);
  L0_Func_call_compartment_proc_thru_type(compartment, "procCreateCompartmentDomain");
  compartment.setAttr("is_update_in_progress", false);
  return compartment;
}
GR_ENTRY_SIGNATURE(L0_Func_create_compartment_helper)

// Only an element's own compartment has a value to split; a child that the
// parent's value already made (decomposing it) is not made twice.
void L0_Func_create_subcompartments(L0_Var_2 parent, L0_Var_2 owner, std::string role,
                                    std::string className, bool fromValue) {
  std::vector<std::string> subValues;
  if (fromValue && isKindOf(parent, "Compartment")) subValues = subValuesOf(parent);
  std::size_t next = 0;
  std::vector<L0_Var_2> types;
  L0_Var_2 type(className);
  for (bool found = type.setFirstByRelation(owner, role); found; found = type.next())
    types.push_back(gr::stable(type));
  for (L0_Var_2& each : types) {
    if (!typeFlag(each, "isEssential") || typeFlag(each, "isMultiple")) continue;
    std::string subValue = next < subValues.size() ? subValues[next] : "";
    ++next;
    if (!L0_Func_get_compartnment_from_parent_by_compartType(parent, each).isNull()) continue;
    L0_Func_create_compartment_helper(parent, each, subValue, fromValue);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_create_subcompartments)

// ---- values

void L0_Func_set_compartment_value(L0_Var_2 compartment, std::string text) {
  L0_Func_set_compartment_value_helper(compartment, text, gr::direction::both, true);
}
GR_ENTRY_SIGNATURE(L0_Func_set_compartment_value)

void L0_Func_set_compartment_value_without_specific_transformations(L0_Var_2 compartment,
                                                                    std::string text) {
  L0_Func_set_compartment_value_helper(compartment, text, gr::direction::both, false);
}
GR_ENTRY_SIGNATURE(L0_Func_set_compartment_value_without_specific_transformations)

void L0_Func_set_compartment_value_helper(L0_Var_2 compartment, std::string text,
                                          std::string direction, bool runProcedures) {
  using namespace gr::direction;
  if (compartment.isNull() || compartment.getAttr("value") == text) return;
  compartment.setAttr("value", text);
  L0_Var_2 type = typeOf(compartment);
  if (selectChoiceItem(compartment, type, text))
    L0_Func_update_styles_from_compartment(compartment);
  L0_Func_set_compartment_input(compartment);
  if (isStereotypeCompartment(type) && selectedStyleHasPicture(compartment))
    compartment.setAttr("input", "");
  if (direction != both && direction != down && direction != up && direction != direct) return;
  propagate(compartment, direction);
  applyBlocking(compartment, type);
  if (runProcedures) runFieldProcedures(compartment);
}
GR_ENTRY_SIGNATURE(L0_Func_set_compartment_value_helper)

void L0_Func_set_compartment_input(L0_Var_2 compartment) {
  std::string value = compartment.getAttr("value");
  if (value.empty()) {
    compartment.setAttr("input", "");
    return;
  }
  L0_Var_2 type = typeOf(compartment);
  std::string input;
  if (namesProcedure(type, "procGenerateInputValue"))
    input = stringProcedure(compartment, "procGenerateInputValue");
  else
    input = typeText(type, "adornmentPrefix") + gr::stripAdornments(type, value) +
            typeText(type, "adornmentSuffix");
  L0_Var_2 notation =
      firstOver(firstOver(compartment, "selectedItem", "ChoiceItem"), "notation", "Notation");
  if (!notation.isNull()) input = notation.getAttr("value");
  compartment.setAttr("input", input);
}
GR_ENTRY_SIGNATURE(L0_Func_set_compartment_input)

// ---- deletion

void L0_Func_delete_compartment(L0_Var_2 compartment) {
  if (!compartment.isNull()) deleteTree(compartment);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_compartment)

void L0_Func_delete_subcompartments(L0_Var_2 parent, std::string role) {
  std::vector<L0_Var_2> children;
  L0_Var_2 child("Compartment");
  for (bool found = child.setFirstByRelation(parent, role); found; found = child.next())
    children.push_back(child);
  for (L0_Var_2& each : children) deleteTree(each);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_subcompartments)

// ---- compose and decompose

void L0_Func_compose(L0_Var_2 compartment, std::string direction) {
  if (!namesProcedure(typeOf(compartment), "procCompose")) return;
  std::string value = stringProcedure(compartment, "procCompose");
  L0_Func_set_compartment_value_helper(compartment, value, direction, true);
}
GR_ENTRY_SIGNATURE(L0_Func_compose)

void L0_Func_decompose(L0_Var_2 compartment, std::string) {
  L0_Var_2 type = typeOf(compartment);
  std::vector<std::string> subValues = subValuesOf(compartment);
  if (subValues.empty()) return;
  std::vector<L0_Var_2> subTypes = subTypesOf(type);
  for (std::size_t i = 0; i < subTypes.size(); ++i) {
    std::string subValue = i < subValues.size() ? subValues[i] : "";
    L0_Var_2 child = L0_Func_get_compartnment_from_parent_by_compartType(compartment, subTypes[i]);
    if (child.isNull()) {
      if (subValue.empty()) continue;
      child = L0_Func_create_compartment_helper(compartment, subTypes[i], subValue, true);
      reorderChildren(compartment, type);
    }
    child.setAttr("input", subValue);
    L0_Var_2 item("ChoiceItem");
    std::string value = gr::stripAdornments(subTypes[i], subValue);
    for (bool found = item.setFirstByRelation(subTypes[i], "choiceItem"); found;
         found = item.next()) {
      L0_Var_2 notation = firstOver(item, "notation", "Notation");
      if (!notation.isNull() && notation.getAttr("value") == subValue) {
        value = item.getAttr("value");
        break;
      }
    }
    L0_Func_set_compartment_value_helper(child, value, gr::direction::down, true);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_decompose)

// No delimiter next to an empty part.
std::string L0_Func_default_compose(L0_Var_2 compartment) {
  std::string delimiter = typeText(typeOf(compartment), "concatStyle");
  std::string value;
  bool first = true;
  for (L0_Var_2& child : childrenOf(compartment)) {
    std::string input = child.getAttr("input");
    if (input.empty()) continue;
    if (!first) value += delimiter;
    value += input;
    first = false;
  }
  return value;
}
GR_ENTRY_SIGNATURE(L0_Func_default_compose)

// The input arrives without the compartment's own adornments (subValuesOf).
std::string L0_Func_default_decompose(L0_Var_2 compartment) {
  L0_Var_2 type = typeOf(compartment);
  std::string delimiter = typeText(type, "concatStyle");
  std::string rest = compartment.getAttr("input");
  std::string list;
  for (const L0_Var_2& subType : subTypesOf(type)) {
    std::string prefix = typeText(subType, "adornmentPrefix");
    std::string subValue;
    if (rest.compare(0, prefix.size(), prefix) == 0) {
      std::size_t cut = delimiter.empty() ? std::string::npos : rest.find(delimiter, prefix.size());
      subValue = rest.substr(0, cut);
      rest = cut == std::string::npos ? "" : rest.substr(cut + delimiter.size());
    }
    list += subValue + kSubValueSeparator;
  }
  if (!list.empty()) list.pop_back();
  return list;
}
GR_ENTRY_SIGNATURE(L0_Func_default_decompose)

std::string L0_Func_default_decompose_new(L0_Var_2 compartment) {
  return L0_Func_parse(L0_Func_regexp_for_default_decompose(compartment),
                       compartment.getAttr("input"), kSubValueSeparator);
}
GR_ENTRY_SIGNATURE(L0_Func_default_decompose_new)

std::string L0_Func_padded_string(std::string text) {
  static const std::string special = ".[{}()\\*+?|^$";
  std::string padded;
  for (char c : text) {
    if (special.find(c) != std::string::npos) padded += '\\';
    padded += c;
  }
  return padded;
}
GR_ENTRY_SIGNATURE(L0_Func_padded_string)

namespace {

// The alternatives of a sub-type with choice items: notations, or values
// where an item has no notation.
std::string choiceContent(const L0_Var_2& subType) {
  std::string alternatives;
  L0_Var_2 item("ChoiceItem");
  for (bool found = item.setFirstByRelation(subType, "choiceItem"); found; found = item.next()) {
    L0_Var_2 notation = firstOver(item, "notation", "Notation");
    std::string text = notation.isNull() ? item.getAttr("value") : notation.getAttr("value");
    alternatives += (alternatives.empty() ? "" : "|") + L0_Func_padded_string(text);
  }
  return alternatives.empty() ? "" : "(?:" + alternatives + ")";
}

// Free text runs up to the next delimiter.
std::string freeContent(const std::string& paddedDelimiter) {
  if (paddedDelimiter.empty()) return ".*?";
  return "(?:(?!" + paddedDelimiter + ").)*";
}

}  // namespace

std::string L0_Func_regexp_for_default_decompose(L0_Var_2 compartment) {
  L0_Var_2 type = typeOf(compartment);
  std::string delimiter = L0_Func_padded_string(typeText(type, "concatStyle"));
  std::string expression;
  int group = 0;
  for (const L0_Var_2& subType : subTypesOf(type)) {
    // The delimiter follows a part that matched, unless the text ends there.
    if (group > 0) expression += "(?(" + std::to_string(group) + ")(?:" + delimiter + "|$))";
    std::string content = choiceContent(subType);
    if (content.empty()) content = freeContent(delimiter);
    expression += "(" + L0_Func_padded_string(typeText(subType, "adornmentPrefix")) + content +
                  L0_Func_padded_string(typeText(subType, "adornmentSuffix")) + ")?";
    ++group;
  }
  return expression + ".*";
}
GR_ENTRY_SIGNATURE(L0_Func_regexp_for_default_decompose)

// ---- navigation

L0_Var_2 L0_Func_get_compartment_root_compartment(L0_Var_2 compartment) {
  return L0_Func_get_top_compartment(compartment);
}
GR_ENTRY_SIGNATURE(L0_Func_get_compartment_root_compartment)

L0_Var_2 L0_Func_get_root(L0_Var_2 compartment) {
  return L0_Func_get_top_compartment(compartment);
}
GR_ENTRY_SIGNATURE(L0_Func_get_root)

L0_Var_2 L0_Func_get_compartment_parent_element(L0_Var_2 compartment) {
  return firstOver(L0_Func_get_top_compartment(compartment), "element", "Element");
}
GR_ENTRY_SIGNATURE(L0_Func_get_compartment_parent_element)

L0_Var_2 L0_Func_get_compartnment_from_parent_by_compartType(L0_Var_2 parent, L0_Var_2 type) {
  for (L0_Var_2& child : childrenOf(parent))
    if (typeOf(child) == type) return child;
  return L0_Var_2("Compartment");
}
GR_ENTRY_SIGNATURE(L0_Func_get_compartnment_from_parent_by_compartType)

// ---- tagged values and blocking

void L0_Func_add_tagged_values(L0_Var_2 compartment) {
  L0_Var_2 item = firstOver(compartment, "selectedItem", "ChoiceItem");
  L0_Var_2 tag("CompartType");
  for (bool found = tag.setFirstByRelation(item, "tag"); found; found = tag.next())
    L0_Func_create_compartment_helper(compartment, tag, "", false);
}
GR_ENTRY_SIGNATURE(L0_Func_add_tagged_values)

void L0_Func_delete_tagged_values(L0_Var_2 compartment) {
  L0_Func_delete_subcompartments(compartment, "subCompartment");
  L0_Func_set_compartment_value_helper(compartment, L0_Func_default_compose(compartment),
                                       gr::direction::up, true);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_tagged_values)

void L0_Func_enable_block(L0_Var_2 compartment) {
  setBlocked(compartment, false);
}
GR_ENTRY_SIGNATURE(L0_Func_enable_block)

void L0_Func_disable_block(L0_Var_2 compartment) {
  setBlocked(compartment, true);
}
GR_ENTRY_SIGNATURE(L0_Func_disable_block)

// ---- styles chosen by values

namespace {

// Only a compartment whose items name styles chooses a look: any other would
// put every element it is made on back into its type's first style, and a
// type element on a type diagram, drawn in the look of the type it defines,
// would lose that look.
bool choosesStyles(const L0_Var_2& type) {
  L0_Var_2 item("ChoiceItem");
  for (bool found = item.setFirstByRelation(type, "choiceItem"); found; found = item.next())
    if (!firstOver(item, "elemStyleByChoiceItem", "ElemStyle").isNull() ||
        !firstOver(item, "compartStyleByChoiceItem", "CompartStyle").isNull())
      return true;
  return false;
}

// The first style of the type that owns the field: a type element on a type
// diagram shows the fields of the type it defines, and falls back to that
// type's look, not to the look of the configurator's own box type.
L0_Var_2 defaultLook(const L0_Var_2& element, const L0_Var_2& compartment) {
  L0_Var_2 top = L0_Func_get_compartment_root_compartment(compartment);
  L0_Var_2 owner = firstOver(typeOf(top), "elemType", "ElemType");
  if (owner.isNull()) owner = firstOver(element, "elemType", "ElemType");
  return firstOver(owner, "elemStyle", "ElemStyle");
}

}  // namespace

void L0_Func_update_styles_from_compartment(L0_Var_2 compartment) {
  L0_Var_2 element = L0_Func_get_compartment_parent_element(compartment);
  if (element.isNull() || !choosesStyles(typeOf(compartment))) return;
  L0_Var_2 item = firstOver(compartment, "selectedItem", "ChoiceItem");
  L0_Var_2 elemStyle = firstOver(item, "elemStyleByChoiceItem", "ElemStyle");
  if (elemStyle.isNull()) elemStyle = defaultLook(element, compartment);
  applyElementStyle(element, elemStyle);
  std::vector<L0_Var_2> chosen;
  L0_Var_2 style("CompartStyle");
  for (bool found = style.setFirstByRelation(item, "compartStyleByChoiceItem"); found;
       found = style.next())
    chosen.push_back(style);
  for (L0_Var_2& target : gr::allCompartments(element)) {
    L0_Var_2 targetType = typeOf(target);
    bool matched = false;
    for (const L0_Var_2& candidate : chosen) {
      if (!(firstOver(candidate, "compartType", "CompartType") == targetType)) continue;
      applyCompartmentStyle(target, candidate);
      matched = true;
    }
    if (!matched) applyDefaultStyle(target, targetType);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_update_styles_from_compartment)

// ---- C entries

extern "C" {

GR_API void set_compartment_value(uint32_t objectID, const char* value) {
  L0_Func_set_compartment_value(L0_Var_2::fromObjectId(objectID), value ? value : "");
}

GR_API uint32_t create_compartment(uint32_t firstID, uint32_t secondID, bool flag,
                                   const char* value) {
  L0_Var_2 created = L0_Func_create_compartment_helper(
      L0_Var_2::fromObjectId(firstID), L0_Var_2::fromObjectId(secondID), value ? value : "", flag);
  return created.getCurrObjID();
}

GR_API void delete_compartment(uint32_t objectID) {
  L0_Func_delete_compartment(L0_Var_2::fromObjectId(objectID));
}
}
