#include "host/web/EditorJson.h"

#include <algorithm>

#include "host/base/Model.h"
#include "host/dialog/FormView.h"
#include "host/gestures/GestureChoices.h"
#include "host/render/SvgFragments.h"
#include "host/render/SvgRender.h"

namespace grhost::web {
namespace {

using nlohmann::json;

json paletteJson(RepId diagram) {
  json entries = json::array();
  for (const PaletteChoice& entry : paletteOf(diagram))
    entries.push_back({{"id", entry.id},
                       {"class", entry.className},
                       {"caption", entry.caption},
                       {"picture", entry.picture}});
  return entries;
}

json toolsJson(RepId diagram) {
  json tools = json::array();
  for (const ToolChoice& tool : toolsOf(diagram))
    tools.push_back({{"id", tool.id}, {"caption", tool.caption}, {"picture", tool.picture}});
  return tools;
}

json partJson(const FormPart& part) {
  json values = json::object();
  for (const auto& [name, value] : part.values) values[name] = value;
  json parts = json::object();
  for (const auto& [role, list] : part.parts) {
    json items = json::array();
    for (const FormPart& item : list) items.push_back(partJson(item));
    parts[role] = std::move(items);
  }
  json links = json::object();
  for (const auto& [role, ids] : part.links) links[role] = ids;
  return {{"id", part.id},
          {"class", part.className},
          {"values", std::move(values)},
          {"parts", std::move(parts)},
          {"links", std::move(links)}};
}

json fragmentsJson(const std::vector<render::ElementFragment>& fragments, bool withTexts) {
  json list = json::array();
  for (const render::ElementFragment& fragment : fragments) {
    json item = {{"id", fragment.element},    {"kind", fragment.kind},
                 {"svg", fragment.svg},       {"layer", fragment.layer},
                 {"parent", fragment.parent}, {"before", fragment.before}};
    if (withTexts) item["texts"] = textsJson(fragment.element);
    list.push_back(std::move(item));
  }
  return list;
}

json messagesJson(const std::vector<Message>& messages) {
  json list = json::array();
  for (const Message& message : messages)
    list.push_back({{"kind", message.kind}, {"text", message.text}});
  return list;
}

bool touchesDiagrams(const GestureOutcome& outcome) {
  return outcome.currentDiagramChanged || !outcome.diagramsAdded.empty() ||
         !outcome.diagramsRemoved.empty() || !outcome.diagramsChanged.empty();
}

json formChangesJson(const GestureOutcome& outcome, HeadEngine& head) {
  json opened = json::array(), changed = json::array();
  for (RepId form : outcome.formsOpened)
    if (head.dialogs().isOpen(form)) opened.push_back(formJson(form, head));
  for (RepId form : outcome.formsChanged)
    if (head.dialogs().isOpen(form)) changed.push_back(formJson(form, head));
  return {{"opened", std::move(opened)},
          {"changed", std::move(changed)},
          {"closed", outcome.formsClosed}};
}

}  // namespace

json diagramJson(RepId diagram) {
  std::string svg;
  {
    model::SaveTransaction transaction;
    svg = render::renderDiagram(diagram);
  }
  return {{"id", diagram},
          {"caption", model::attribute(diagram, "caption")},
          {"type", model::attribute(model::firstPartner(diagram, "graphDiagramType"), "caption")},
          {"readOnly", render::modelTrue(model::attribute(diagram, "isReadOnly"))},
          {"svg", std::move(svg)},
          {"palette", paletteJson(diagram)},
          {"tools", toolsJson(diagram)},
          {"selection", selectionOf(diagram)}};
}

json diagramsJson(HeadEngine& head) {
  json list = json::array();
  for (const DiagramChoice& diagram : diagramsOf(head))
    list.push_back({{"id", diagram.id},
                    {"caption", diagram.caption},
                    {"type", diagram.type},
                    {"open", diagram.open}});
  return list;
}

json formJson(RepId form, HeadEngine& head) {
  json view = partJson(formView(form));
  view["modal"] = head.dialogs().isModal(form);
  return view;
}

json formsJson(HeadEngine& head) {
  json forms = json::array();
  for (RepId form : head.dialogs().openForms()) forms.push_back(formJson(form, head));
  return forms;
}

json textsJson(RepId element) {
  json texts = json::array();
  for (const TextChoice& text : textsOf(element))
    texts.push_back({{"compartment", text.compartment},
                     {"type", text.typeId},
                     {"caption", text.caption},
                     {"input", text.input},
                     {"multiLine", text.multiLine},
                     {"editable", text.editableInPlace}});
  return texts;
}

json stateJson(HeadEngine& head, const std::string& projectName) {
  RepId current = head.diagrams().currentDiagram();
  return {{"project", projectName},    {"diagrams", diagramsJson(head)},
          {"currentDiagram", current}, {"current", current ? diagramJson(current) : json(nullptr)},
          {"forms", formsJson(head)},  {"infoBar", head.informationBar()}};
}

json outcomeJson(const GestureOutcome& outcome, HeadEngine& head) {
  RepId current = head.diagrams().currentDiagram();
  json out = {{"gesture", outcome.gesture},
              {"currentDiagram", current},
              {"messages", messagesJson(outcome.messages)},
              {"infoBar", head.informationBar()},
              {"forms", formChangesJson(outcome, head)}};
  if (outcome.currentDiagramChanged) {
    out["current"] = current ? diagramJson(current) : json(nullptr);
  } else if (current) {
    render::DiagramFragments fragments(current);
    out["removed"] = outcome.removed;
    out["added"] = fragmentsJson(fragments.fragmentsOf(outcome.added), true);
    out["changed"] = fragmentsJson(fragments.fragmentsOf(outcome.changed), false);
    if (outcome.selectionChanged) out["selection"] = selectionOf(current);
  }
  if (touchesDiagrams(outcome)) out["diagrams"] = diagramsJson(head);
  if (outcome.menuShown) {
    json menu = json::array();
    for (const MenuItem& item : outcome.menu)
      menu.push_back({{"caption", item.caption}, {"item", item.popUpElement}});
    out["menu"] = std::move(menu);
  }
  return out;
}

}  // namespace grhost::web
