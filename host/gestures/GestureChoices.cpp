#include "host/gestures/GestureChoices.h"

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

}  // namespace

std::vector<PaletteChoice> paletteOf(RepId diagram) {
  std::vector<PaletteChoice> choices;
  for (RepId palette : model::partners(model::firstPartner(diagram, "graphDiagramType"), "palette"))
    for (RepId entry : model::partners(palette, "paletteElement"))
      choices.push_back({entry, model::className(entry), model::attribute(entry, "caption"),
                         model::attribute(entry, "picture")});
  return choices;
}

std::vector<ToolChoice> toolsOf(RepId diagram) {
  std::vector<ToolChoice> choices;
  for (RepId toolbar : model::partners(model::firstPartner(diagram, "graphDiagramType"), "toolbar"))
    for (RepId tool : model::partners(toolbar, "tool"))
      choices.push_back(
          {tool, model::attribute(tool, "caption"), model::attribute(tool, "picture")});
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
