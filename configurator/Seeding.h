// The seeding of the configurator's own diagram types as data: each diagram
// type is a list of element-type rows that one interpreter turns into
// objects, in the order of the rows, so that link orders follow the tables.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "configurator/Configurator_utilities.h"

namespace gr::cfg {

struct PopUpItem {
  std::string caption{};
  std::string procedure{};
  int nr = 0;  // 0: one past the largest; otherwise written as given
};
using PopUpItems = std::vector<PopUpItem>;

struct PopUpSpec {
  std::string id{};
  PopUpItems items{};
};

struct PaletteEntry {
  std::string className{};
  std::string id{};
  std::string caption{};
  std::string picture{};
  int nr = 0;
};

struct CompartStyleSpec {
  std::string id{};
  Values values{};
};

struct StyleSpec {
  std::string className{};
  std::string id{};
  std::string caption{};  // empty: the id
  Values values{};
  std::vector<CompartStyleSpec> compartStyles{};  // linked to the style itself
};

struct PairSpec {
  std::string start{};
  std::string end{};
  std::string id{};
};
using Pairs = std::vector<PairSpec>;

enum class Keys { none, standard, line };

struct ElemTypeSpec {
  std::string className{};
  std::string id{};
  std::string caption{};  // empty: the id
  Values values{};
  StyleSpec style{};
  Keys keys = Keys::none;
  std::string paletteEntry{};
  std::optional<PopUpSpec> popUp{};
  bool nameCompartment = false;  // the essential "AS#Name" compartment type
  bool styleNameRow = false;     // the style box's "Name" with its property row
  std::string portOf{};          // the box type a pin type attaches to
  std::vector<std::string> subtypes{};
  Pairs pairs{};  // created right after the type
};

// ---- the interpreter
void addPopUpItems(L0_Var_2& popUp, const PopUpItems& items);
// A pop-up linked to the diagram type over ROLE ("eType" or "cType"); an
// empty id is not written.
L0_Var_2 addDiagramPopUp(L0_Var_2& diagramType, const std::string& role, const std::string& id,
                         const PopUpItems& items);
L0_Var_2 addPalette(L0_Var_2& diagramType, const std::vector<PaletteEntry>& entries);
L0_Var_2 addToolbar(L0_Var_2& diagramType);
void addPairs(L0_Var_2& diagramType, const std::string& lineTypeId, const Pairs& pairs);
void seedElemTypes(L0_Var_2& diagramType, L0_Var_2& palette,
                   const std::vector<ElemTypeSpec>& types);

// ---- rows and values shared by the seed diagram and the type diagram
const Values& clipboardProcedures();
// The procedures of box and free-box types.
const Values& boxProcedures();
// Box and free-box types: first in order, no stereotypes, occurrences or container.
const Values& plainBoxFlags();
const PopUpItems& boxPopUpItems();
// The items of a line type's pop-up; DELETE_PROCEDURE is that of "Delete".
PopUpItems linePopUpItems(const std::string& deleteProcedure);

Values boxStyleValues(const std::string& bkgColor, int width, int height);
// The look of ordinary boxes.
Values plainBoxStyleValues();
Values pinStyleValues(const std::string& bkgColor, int width, int height);

struct LineEnd {
  int shape = 1;
  int width = 1;
  std::string color = "0";
  int dashLength = 0;
  int breakLength = 0;
  std::string bkgColor = "15790320";
};
Values lineStyleValues(int lineWidth, const std::string& lineColor, int lineType,
                       const LineEnd& start, const LineEnd& end);
// The plain arrow of ordinary lines.
Values arrowLineStyleValues();
// The hollow triangle of specialisation lines.
Values specialisationStyleValues();
// NR empty: not written.
Values compartStyleValues(const std::string& nr, int alignment, int adornment, int fontStyle,
                          int isVisible);

ElemTypeSpec nodeStyleType();
ElemTypeSpec pinType(const std::string& boxTypeId);
ElemTypeSpec freeBoxType();
ElemTypeSpec freeLineType(bool openProperties);
ElemTypeSpec styleLineType(const Pairs& pairs);

}  // namespace gr::cfg
