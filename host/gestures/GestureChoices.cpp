#include "host/gestures/GestureChoices.h"

#include <algorithm>
#include <charconv>

#include "host/base/Model.h"
#include "host/head/HeadEngine.h"

namespace grhost {
namespace {

bool isTrue(const std::string& value) {
  return value == "true" || value == "1";
}

// The row types whose field is a plain text field.
bool isTextRow(const std::string& rowType) {
  return rowType == "InputRow" || rowType == "MultiLineTextBoxRow";
}

bool editableInPlace(RepId compartment, RepId type, RepId diagram) {
  if (isTrue(model::attribute(compartment, "isBlocked"))) return false;
  if (isTrue(model::attribute(diagram, "isReadOnly"))) return false;
  if (model::firstPartner(type, "subCompartType") || model::firstPartner(type, "choiceItem"))
    return false;
  RepId row = model::firstPartner(type, "propertyRow");
  return row && isTextRow(model::attribute(row, "rowType")) &&
         !isTrue(model::attribute(row, "isReadOnly")) &&
         model::attribute(row, "isEditable") != "false";
}

// An entry's `nr`; 0 when it has none or no integer.
long numberOf(RepId entry) {
  std::string text = model::attribute(entry, "nr");
  long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// The engine shows entries by their `nr`; equal numbers keep link order.
template <class Choice>
void sortByNumber(std::vector<Choice>& choices) {
  std::stable_sort(choices.begin(), choices.end(), [](const Choice& a, const Choice& b) {
    return numberOf(a.id) < numberOf(b.id);
  });
}

}  // namespace

std::vector<PaletteChoice> paletteOf(RepId diagram) {
  std::vector<PaletteChoice> choices;
  for (RepId palette : model::partners(model::firstPartner(diagram, "graphDiagramType"), "palette"))
    for (RepId entry : model::partners(palette, "paletteElement"))
      choices.push_back({entry, model::className(entry), model::attribute(entry, "caption"),
                         model::attribute(entry, "picture")});
  sortByNumber(choices);
  return choices;
}

std::vector<ToolChoice> toolsOf(RepId diagram) {
  std::vector<ToolChoice> choices;
  for (RepId toolbar : model::partners(model::firstPartner(diagram, "graphDiagramType"), "toolbar"))
    for (RepId tool : model::partners(toolbar, "tool"))
      if (model::attribute(tool, "visibility") != "false")
        choices.push_back(
            {tool, model::attribute(tool, "caption"), model::attribute(tool, "picture")});
  sortByNumber(choices);
  return choices;
}

std::vector<DiagramChoice> diagramsOf(HeadEngine& head) {
  std::vector<DiagramChoice> choices;
  for (RepId diagram : model::objectsOf("GraphDiagram"))
    choices.push_back(
        {diagram, model::attribute(diagram, "caption"),
         model::attribute(model::firstPartner(diagram, "graphDiagramType"), "caption"),
         head.diagrams().isOpen(diagram)});
  return choices;
}

std::vector<RepId> selectionOf(RepId diagram) {
  return model::partners(model::firstPartner(diagram, "collection"), "element");
}

std::vector<TextChoice> textsOf(RepId element) {
  std::vector<TextChoice> texts;
  RepId diagram = model::firstPartner(element, "graphDiagram");
  for (RepId compartment : model::partners(element, "compartment")) {
    RepId type = model::firstPartner(compartment, "compartType");
    RepId row = model::firstPartner(type, "propertyRow");
    texts.push_back({compartment, model::attribute(type, "id"), model::attribute(type, "caption"),
                     model::attribute(compartment, "input"),
                     model::attribute(row, "rowType") == "MultiLineTextBoxRow",
                     editableInPlace(compartment, type, diagram)});
  }
  return texts;
}

}  // namespace grhost
