// Building blocks shared by the seeding of the configurator's diagram types
// and by the configurator's dialogs: pop-up items, key shortcuts, line pairs,
// palette connections, numbering and compartment styles.
#pragma once

#include <string>
#include <vector>

#include "tool/Transformation.h"

// A new visible item NAME at the end of the pop-up, numbered one past its
// largest `nr`. The two names are kept because definitions refer to both.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_PopUpElement(L0_Var_2 popUp, std::string name,
                                                    std::string procedure);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_PopUpElement2(L0_Var_2 popUp, std::string name,
                                                     std::string procedure);
// A new shortcut linked to OWNER over ROLE.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_key_shortcut(L0_Var_2 owner, std::string role,
                                                    std::string key, std::string procedure);
// "Ctrl X" cut, "Ctrl C" copy, "Delete" delete, in this order.
L0_TRANSFORMATION void L0_Func_add_default_keyshortcuts(L0_Var_2 elemType, std::string role);
// A pair of the line type between the element types of its diagram type with
// the ids START_ID and END_ID; null when either id names no element type.
L0_TRANSFORMATION L0_Var_2 L0_Func_const_add_pair(L0_Var_2 lineType, std::string startId,
                                                  std::string endId, std::string pairId);
// Lets the pin type attach to the box type BOX_TYPE_ID of the same diagram type.
L0_TRANSFORMATION void L0_Func_add_portType_nodeType(L0_Var_2 pinType, std::string boxTypeId);
L0_TRANSFORMATION void L0_Func_connect_elemType_to_palette_by_name(L0_Var_2 elemType,
                                                                   L0_Var_2 palette,
                                                                   std::string name);
// Largest `nr` of the element type's compartment types / the pop-up's items; 0 when none.
L0_TRANSFORMATION int L0_Func_get_max_CompartType_nr(L0_Var_2 elemType);
L0_TRANSFORMATION int L0_Func_get_max_PopUpElement_nr(L0_Var_2 popUp);
// A new compartment style carrying every value of TEMPLATE_STYLE, or the
// defaults of a new style when the template is null.
L0_TRANSFORMATION L0_Var_2 L0_Func_addCompartStyle(L0_Var_2 templateStyle);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_default_compartStyle();

namespace gr::cfg {

struct Value {
  std::string name{};
  std::string value{};
};
using Values = std::vector<Value>;

// The object is of the class or of one of its subclasses; false for null.
bool isKind(const L0_Var_2& object, const std::string& className);

// The value of the attribute of the object's own class; "" for null or an
// attribute the class lacks. FLAG: the value reads as true.
std::string valueOf(const L0_Var_2& object, const std::string& attribute);
bool flagOf(const L0_Var_2& object, const std::string& attribute);

// Values concatenated in order.
Values join(std::initializer_list<Values> parts);
void setValues(L0_Var_2& object, const Values& values);

// Creation and linking that report a failure in the trace and go on, as
// seeding must: a half-seeded project is still usable for repairs.
L0_Var_2 newObject(const std::string& className);
bool link(L0_Var_2& from, const std::string& role, const L0_Var_2& to);
void traceFailure(const std::string& text);

// Every object reached from FROM over ROLE, in link order.
std::vector<L0_Var_2> partnersOf(const L0_Var_2& from, const std::string& role,
                                 const std::string& className);
// The same, each pinned to its object, so that the list outlives later
// navigation of the variables it was read with.
std::vector<L0_Var_2> stablePartners(const L0_Var_2& from, const std::string& role,
                                     const std::string& className);
// The first object reached over ROLE whose `id` is ID, or null.
L0_Var_2 partnerWithId(const L0_Var_2& from, const std::string& role, const std::string& className,
                       const std::string& id);

// The values every diagram type starts with.
const Values& commonDiagramValues();
// A new diagram type with the common values; an empty caption is not written.
L0_Var_2 newDiagramType(const std::string& id, const std::string& caption);

}  // namespace gr::cfg
