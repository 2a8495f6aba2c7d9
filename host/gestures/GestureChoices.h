// What a user can pick from and aim at in a front end, as the engines and
// the model say: the palette and tool bar of a diagram's type, the diagrams
// of the project, a diagram's selection, and an element's texts with whether
// the user may type into them on the diagram. A front end shows these and
// passes the ids back in gestures; it decides none of them itself.
#pragma once

#include <string>
#include <vector>

#include "platform/repository.h"

namespace grhost {

class HeadEngine;

struct PaletteChoice {
  RepId id = 0;
  std::string className;  // PaletteBox, PaletteLine, PalettePin, PaletteFreeBox ...
  std::string caption;
  std::string picture;
};

struct ToolChoice {
  RepId id = 0;
  std::string caption;
  std::string picture;
};

struct DiagramChoice {
  RepId id = 0;
  std::string caption;
  std::string type;  // its type's caption
  bool open = false;
};

// A top-level compartment of an element, as the user may edit it in place.
struct TextChoice {
  RepId compartment = 0;
  std::string typeId;
  std::string caption;  // the compartment type's caption
  std::string input;    // the text as the editor shows it
  bool multiLine = false;
  // The type says the text is typed into a plain field: its property row is
  // an input row ("InputRow", or "MultiLineTextBoxRow" for several lines)
  // that is neither read-only nor uneditable, the compartment is not
  // blocked and the diagram is not read-only.
  bool editableInPlace = false;
};

// The entries of every palette of the diagram's type, by their `nr` (equal
// numbers in link order).
std::vector<PaletteChoice> paletteOf(RepId diagram);
// The visible tools of every tool bar of the diagram's type, by their `nr`.
std::vector<ToolChoice> toolsOf(RepId diagram);
// Every diagram of the project in the store's order; open ones as the
// diagram engine has them open.
std::vector<DiagramChoice> diagramsOf(HeadEngine& head);
// The diagram's selection (its Collection's elements) in order.
std::vector<RepId> selectionOf(RepId diagram);
// The element's top-level compartments in link order.
std::vector<TextChoice> textsOf(RepId element);

}  // namespace grhost
