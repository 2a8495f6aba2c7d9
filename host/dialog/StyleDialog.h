// The diagram engine's style dialog as a form of the dialog engine: a
// StyleDialogCmd on an element opens it, with one field per attribute of the
// element's style (tab "Element") and of the style of each of its
// compartments (a tab per compartment, named after its type), and, when the
// element's type has stereotypes or the project has views, the lists
// "styles" and "allViews". Fields are named by attribute: "bkgColor",
// "endShapeCode"; a compartment's as its type's id, "." and the attribute:
// "Name.fontStyle". "OK" writes every field into the style it shows and
// raises OKStyleDialogEvent; "Cancel" writes nothing. See docs/gestures.md.
#pragma once

#include <string>

#include "platform/repository.h"

namespace grhost::styledialog {

// The handler values of the form's buttons: the head engine runs them itself.
constexpr const char* kOkHandler = "StyleDialogOK";
constexpr const char* kCancelHandler = "StyleDialogCancel";

// The form for ELEMENT, not yet shown; 0 when the element has no style.
RepId buildForm(RepId element);
bool isStyleForm(RepId form);
// "" when every field holds what its attribute takes, else what is wrong.
std::string check(RepId form);
// Writes every field into the style it shows.
void apply(RepId form);

}  // namespace grhost::styledialog
