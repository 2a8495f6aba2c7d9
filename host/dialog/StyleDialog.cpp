#include "host/dialog/StyleDialog.h"

#include <charconv>
#include <set>
#include <vector>

#include "host/base/Model.h"

namespace grhost::styledialog {
namespace {

constexpr const char* kFormId = "StyleDialog";
constexpr const char* kHostLibrary = "host";

struct Field {
  const char* attribute;
  const char* label;
  bool text = false;  // free text; every other attribute holds an integer
};

const Field kBoxFields[] = {{"shapeCode", "Shape"},
                            {"shapeStyle", "Shape Variant"},
                            {"bkgColor", "Fill Color"},
                            {"lineColor", "Line Color"},
                            {"lineWidth", "Line Width"},
                            {"dashLength", "Dash Length"},
                            {"breakLength", "Break Length"},
                            {"alignment", "Alignment"},
                            {"width", "Width"},
                            {"height", "Height"},
                            {"picture", "Picture", true},
                            {"picWidth", "Picture Width"},
                            {"picHeight", "Picture Height"},
                            {"picPos", "Picture Position"},
                            {"picStyle", "Picture Style"}};

const Field kLineFields[] = {{"lineType", "Line Type"},       {"lineColor", "Line Color"},
                             {"lineWidth", "Line Width"},     {"dashLength", "Dash Length"},
                             {"breakLength", "Break Length"}, {"bkgColor", "Fill Color"}};

const Field kLineEndFields[] = {{"ShapeCode", "Shape"},          {"LineColor", "Line Color"},
                                {"LineWidth", "Line Width"},     {"DashLength", "Dash Length"},
                                {"BreakLength", "Break Length"}, {"BkgColor", "Fill Color"}};

const Field kCompartmentFields[] = {
    {"isVisible", "Visible"},         {"alignment", "Alignment"},
    {"adjustment", "Adjustment"},     {"adornment", "Adornment"},
    {"fontTypeFace", "Font", true},   {"fontSize", "Font Size"},
    {"fontStyle", "Font Style"},      {"fontColor", "Font Color"},
    {"fontCharSet", "Font Char Set"}, {"fontPitch", "Font Pitch"},
    {"lineColor", "Line Color"},      {"lineWidth", "Line Width"},
    {"picture", "Picture", true},     {"picWidth", "Picture Width"},
    {"picHeight", "Picture Height"},  {"picPos", "Picture Position"},
    {"picStyle", "Picture Style"},    {"textDirection", "Text Direction"}};

RepId add(RepId container, const std::string& className,
          const std::vector<std::pair<std::string, std::string>>& values) {
  RepId component = model::create(className);
  for (const auto& [name, value] : values) model::setAttribute(component, name, value);
  if (container) model::link(component, "container", container);
  return component;
}

void addHandler(RepId component, const std::string& eventName, const std::string& handler) {
  RepId registered = add(
      0, "D#EventHandler",
      {{"eventName", eventName}, {"transformationName", handler}, {"procedureName", kHostLibrary}});
  model::link(registered, "eventSource", component);
}

// A labelled row whose field shows the attribute of STYLE. The field
// remembers the compartment whose style it shows.
void addRow(RepId container, RepId style, const std::string& attribute, const std::string& id,
            const std::string& label, RepId compartment) {
  RepId row = add(container, "D#Row", {{"id", "HorizontalRow"}, {"horizontalAlignment", "0"}});
  RepId box = add(row, "D#HorizontalBox", {{"horizontalAlignment", "1"}});
  add(box, "D#Label", {{"caption", label}});
  RepId input =
      add(row, "D#InputField",
          {{"id", id}, {"text", model::attribute(style, attribute)}, {"editable", "true"}});
  if (compartment) model::link(input, "compartment", compartment);
}

RepId addTab(RepId tabs, const std::string& caption, const std::string& id) {
  return add(tabs, "D#Tab", {{"id", id}, {"caption", caption}});
}

template <std::size_t N>
void addRows(RepId tab, RepId style, const Field (&fields)[N], const std::string& prefix,
             RepId compartment) {
  for (const Field& field : fields)
    if (model::hasAttribute(style, field.attribute))
      addRow(tab, style, field.attribute, prefix + field.attribute, field.label, compartment);
}

// "startShapeCode", labelled "Start Shape".
void addLineEndRows(RepId tab, RepId style) {
  for (std::string end : {"start", "middle", "end"}) {
    std::string label = end;
    label[0] = static_cast<char>(label[0] - 'a' + 'A');
    for (const Field& field : kLineEndFields) {
      std::string attribute = end + field.attribute;
      if (model::hasAttribute(style, attribute))
        addRow(tab, style, attribute, attribute, label + " " + field.label, 0);
    }
  }
}

// The compartments whose styles the dialog shows: the element's own, each
// style once.
std::vector<RepId> styledCompartments(RepId element) {
  std::vector<RepId> shown;
  std::set<RepId> styles;
  for (RepId compartment : model::partners(element, "compartment")) {
    RepId style = model::firstPartner(compartment, "compartStyle");
    if (style && styles.insert(style).second) shown.push_back(compartment);
  }
  return shown;
}

// The stereotypes of the element's type and the project's views, for the
// jobs the active view gives the dialog.
void addLists(RepId tabs, RepId element) {
  std::vector<std::string> stereotypes, views;
  RepId type = model::firstPartner(element, "elemType");
  for (RepId compartType : model::partners(type, "compartType"))
    if (model::attribute(compartType, "isStereotype") == "true")
      for (RepId item : model::partners(compartType, "choiceItem"))
        stereotypes.push_back(model::attribute(item, "value"));
  for (RepId view : model::objectsOf("View")) views.push_back(model::attribute(view, "caption"));
  if (stereotypes.empty() && views.empty()) return;
  RepId tab = addTab(tabs, "Views", "views");
  for (const auto& [id, values] :
       {std::pair{"styles", stereotypes}, std::pair{"allViews", views}}) {
    RepId list = add(tab, "D#ListBox", {{"id", id}, {"multiSelect", "false"}});
    for (const std::string& value : values) {
      RepId item = model::create("D#Item");
      model::setAttribute(item, "value", value);
      model::link(item, "listBox", list);
    }
  }
}

RepId addButton(RepId container, const std::string& caption, const std::string& handler) {
  RepId button = add(container, "D#Button", {{"id", caption}, {"caption", caption}});
  addHandler(button, "Click", handler);
  return button;
}

bool isInteger(const std::string& text) {
  long long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// The field's attribute: its id after the compartment type's id and ".".
std::string attributeOf(RepId field) {
  std::string id = model::attribute(field, "id");
  std::size_t dot = id.rfind('.');
  return dot == std::string::npos ? id : id.substr(dot + 1);
}

RepId styleOfField(RepId form, RepId field) {
  if (RepId compartment = model::firstPartner(field, "compartment"))
    return model::firstPartner(compartment, "compartStyle");
  return model::firstPartner(model::firstPartner(form, "presentationElement"), "elemStyle");
}

bool takesText(const std::string& attribute) {
  return attribute == "picture" || attribute == "fontTypeFace";
}

void collectFields(RepId container, std::vector<RepId>& fields, int depth) {
  if (depth > 16) return;
  for (RepId component : model::partners(container, "component")) {
    if (model::isKindOf(component, "D#InputField")) fields.push_back(component);
    collectFields(component, fields, depth + 1);
  }
}

std::vector<RepId> fieldsOf(RepId form) {
  std::vector<RepId> fields;
  collectFields(form, fields, 0);
  return fields;
}

std::string labelOf(RepId field) {
  RepId row = model::firstPartner(field, "container");
  for (RepId box : model::partners(row, "component"))
    for (RepId label : model::partners(box, "component"))
      if (model::isKindOf(label, "D#Label")) return model::attribute(label, "caption");
  return model::attribute(field, "id");
}

}  // namespace

RepId buildForm(RepId element) {
  RepId style = model::firstPartner(element, "elemStyle");
  if (!style) return 0;
  RepId form = add(0, "D#Form",
                   {{"id", kFormId},
                    {"caption", "Style"},
                    {"minimumWidth", "300"},
                    {"minimumHeight", "300"},
                    {"horizontalAlignment", "2"},
                    {"verticalAlignment", "0"},
                    {"buttonClickOnClose", "true"}});
  model::link(form, "presentationElement", element);
  RepId tabs = add(form, "D#TabContainer", {{"id", "TabContainer"}});
  RepId own = addTab(tabs, "Element", "elementStyle");
  model::link(tabs, "activeTab", own);
  if (model::isKindOf(style, "EdgeStyle")) {
    addRows(own, style, kLineFields, "", 0);
    addLineEndRows(own, style);
  } else {
    addRows(own, style, kBoxFields, "", 0);
  }
  int n = 0;
  for (RepId compartment : styledCompartments(element)) {
    RepId type = model::firstPartner(compartment, "compartType");
    std::string caption = model::attribute(type, "caption");
    RepId tab = addTab(tabs, caption.empty() ? model::attribute(type, "id") : caption,
                       "compartment" + std::to_string(++n));
    addRows(tab, model::firstPartner(compartment, "compartStyle"), kCompartmentFields,
            model::attribute(type, "id") + ".", compartment);
  }
  addLists(tabs, element);
  RepId buttons =
      add(form, "D#HorizontalBox", {{"id", "buttons_container"}, {"horizontalAlignment", "1"}});
  model::link(form, "defaultButton", addButton(buttons, "OK", kOkHandler));
  model::link(form, "cancelButton", addButton(buttons, "Cancel", kCancelHandler));
  return form;
}

bool isStyleForm(RepId form) {
  return model::isKindOf(form, "D#Form") && model::attribute(form, "id") == kFormId;
}

std::string check(RepId form) {
  for (RepId field : fieldsOf(form)) {
    std::string attribute = attributeOf(field);
    std::string text = model::attribute(field, "text");
    if (takesText(attribute) || text.empty() || isInteger(text)) continue;
    return "Style: \"" + labelOf(field) + "\" must be a whole number, not \"" + text + "\".";
  }
  return "";
}

void apply(RepId form) {
  for (RepId field : fieldsOf(form)) {
    RepId style = styleOfField(form, field);
    std::string attribute = attributeOf(field);
    if (style && model::hasAttribute(style, attribute))
      model::setAttribute(style, attribute, model::attribute(field, "text"));
  }
}

}  // namespace grhost::styledialog
