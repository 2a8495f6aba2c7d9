#include "host/web/GestureRequest.h"

#include <functional>
#include <limits>
#include <map>
#include <set>

#include "host/base/Model.h"
#include "host/head/HeadEngine.h"

namespace grhost::web {
namespace {

using nlohmann::json;

// The fields of one request, read by name and type; what a gesture does not
// read is refused, so that a misspelt field is never silently ignored.
class Arguments {
 public:
  explicit Arguments(const json& request) : request_(request) { used_.insert("gesture"); }

  RepId id(const std::string& name) {
    RepId object = optionalId(name);
    if (!object) throw RequestError("the field \"" + name + "\" is missing");
    return object;
  }

  // 0 when the field is missing or null.
  RepId optionalId(const std::string& name) {
    const json* value = field(name);
    if (!value || value->is_null()) return 0;
    return objectId(*value, "the field \"" + name + "\"");
  }

  std::vector<RepId> ids(const std::string& name) {
    const json& list = required(name);
    if (!list.is_array()) throw RequestError("the field \"" + name + "\" must be a list of ids");
    std::vector<RepId> objects;
    for (const json& item : list) objects.push_back(objectId(item, "an item of \"" + name + "\""));
    return objects;
  }

  std::string text(const std::string& name) {
    const json& value = required(name);
    if (!value.is_string()) throw RequestError("the field \"" + name + "\" must be a text");
    return value.get<std::string>();
  }

  std::optional<geometry::Point> optionalPoint(const std::string& name) {
    const json* value = field(name);
    if (!value || value->is_null()) return std::nullopt;
    std::vector<int> numbers = integers(*value, name, 2);
    return geometry::Point{numbers[0], numbers[1]};
  }

  geometry::Box box(const std::string& name) {
    std::vector<int> numbers = integers(required(name), name, 4);
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
  }

  geometry::Polyline points(const std::string& name) {
    const json& list = required(name);
    if (!list.is_array()) throw RequestError("the field \"" + name + "\" must be a list of points");
    geometry::Polyline line;
    for (const json& point : list) {
      std::vector<int> xy = integers(point, name, 2);
      line.push_back({xy[0], xy[1]});
    }
    return line;
  }

  BoxPlacement placement() {
    BoxPlacement where;
    where.corner = optionalPoint("at");
    if (std::optional<geometry::Point> size = optionalPoint("size")) {
      if (!where.corner) throw RequestError("a \"size\" needs an \"at\"");
      where.width = size->x;
      where.height = size->y;
    }
    return where;
  }

  // Refuses the fields no one read.
  void finish() const {
    for (const auto& [name, value] : request_.items())
      if (!used_.count(name)) throw RequestError("unknown field \"" + name + "\"");
  }

 private:
  const json* field(const std::string& name) {
    used_.insert(name);
    auto found = request_.find(name);
    return found == request_.end() ? nullptr : &*found;
  }

  const json& required(const std::string& name) {
    const json* value = field(name);
    if (!value) throw RequestError("the field \"" + name + "\" is missing");
    return *value;
  }

  static RepId objectId(const json& value, const std::string& what) {
    if (!value.is_number_integer() || value.get<long long>() <= 0 ||
        value.get<long long>() > std::numeric_limits<RepId>::max())
      throw RequestError(what + " must be an object id (a positive integer)");
    RepId object = value.get<RepId>();
    if (!ObjectExists(object))
      throw RequestError("object " + std::to_string(object) + " does not exist");
    return object;
  }

  static std::vector<int> integers(const json& value, const std::string& name, std::size_t count) {
    std::string shape =
        "the field \"" + name + "\" must be a list of " + std::to_string(count) + " integers";
    if (!value.is_array() || value.size() != count) throw RequestError(shape);
    std::vector<int> numbers;
    for (const json& number : value) {
      if (!number.is_number_integer()) throw RequestError(shape);
      long long n = number.get<long long>();
      if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        throw RequestError(shape + " (" + std::to_string(n) + " is out of range)");
      numbers.push_back(static_cast<int>(n));
    }
    return numbers;
  }

  const json& request_;
  std::set<std::string> used_;
};

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// A diagram gesture names the diagram the page shows: it must be the
// current one, so that a page that missed a change acts on nothing.
void checkDiagram(Gestures& gestures, Arguments& args) {
  RepId named = args.id("diagram");
  RepId current = gestures.head().diagrams().currentDiagram();
  if (!model::isKindOf(named, "GraphDiagram"))
    throw RequestError("object " + std::to_string(named) + " is no diagram");
  if (!gestures.head().diagrams().isOpen(named))
    throw RequestError("the diagram " + quoted(model::attribute(named, "caption")) +
                       " is not open");
  if (named != current)
    throw RequestError("the diagram " + quoted(model::attribute(named, "caption")) +
                       " is not the current diagram");
}

// A form gesture names the form the page shows; it must be the active one.
void checkForm(Gestures& gestures, Arguments& args) {
  RepId named = args.id("form");
  RepId active = gestures.head().dialogs().activeForm();
  if (!gestures.head().dialogs().isOpen(named))
    throw RequestError("the form " + std::to_string(named) + " is not open");
  if (named != active)
    throw RequestError("the form " + quoted(model::attribute(named, "caption")) +
                       " is not the active form");
}

// The element a compartment belongs to, through its parent compartments.
RepId elementOfCompartment(RepId compartment) {
  for (int depth = 0; compartment && depth < 64; ++depth) {
    if (RepId element = model::firstPartner(compartment, "element")) return element;
    compartment = model::firstPartner(compartment, "parentCompartment");
  }
  return 0;
}

enum class Scope { Diagram, Form, Project };

// Reading a request's fields gives the call to make; nothing runs until
// every field has been read and checked.
using Play = std::function<GestureOutcome()>;

struct GestureCall {
  Scope scope;
  std::function<Play(Gestures&, Arguments&)> read;
};

const std::map<std::string, GestureCall>& gestureTable() {
  static const std::map<std::string, GestureCall> table = {
      {"drawBox",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId palette = a.id("palette"), parent = a.optionalId("parent");
          BoxPlacement where = a.placement();
          return [&g, palette, parent, where] { return g.drawBox(palette, parent, where); };
        }}},
      {"drawLine",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId palette = a.id("palette"), start = a.id("start"), end = a.id("end");
          return [&g, palette, start, end] { return g.drawLine(palette, start, end); };
        }}},
      {"drawPin",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId palette = a.id("palette"), node = a.id("node");
          BoxPlacement where = a.placement();
          return [&g, palette, node, where] { return g.drawPin(palette, node, where); };
        }}},
      {"drawFreeBox",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId palette = a.id("palette");
          geometry::Box box = a.box("box");
          return [&g, palette, box] { return g.drawFreeBox(palette, box); };
        }}},
      {"drawFreeLine",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId palette = a.id("palette");
          geometry::Polyline points = a.points("points");
          return [&g, palette, points] { return g.drawFreeLine(palette, points); };
        }}},
      {"editFreeBox",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId element = a.id("element");
          geometry::Box box = a.box("box");
          return [&g, element, box] { return g.editFreeBox(element, box); };
        }}},
      {"editFreeLine",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId element = a.id("element");
          geometry::Polyline points = a.points("points");
          return [&g, element, points] { return g.editFreeLine(element, points); };
        }}},
      {"moveLineEnd",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId edge = a.id("edge");
          std::string end = a.text("end");
          if (end != "start" && end != "end")
            throw RequestError("the field \"end\" must be \"start\" or \"end\"");
          RepId target = a.id("target");
          bool start = end == "start";
          return [&g, edge, start, target] { return g.moveLineEnd(edge, start, target); };
        }}},
      {"changeParent",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId node = a.id("node"), parent = a.optionalId("parent");
          return [&g, node, parent] { return g.changeParent(node, parent); };
        }}},
      {"moveElement",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId element = a.id("element");
          geometry::Box box = a.box("box");
          return [&g, element, box] { return g.moveElement(element, box); };
        }}},
      {"select",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          std::vector<RepId> elements = a.ids("elements");
          return [&g, elements] { return g.select(elements); };
        }}},
      {"doubleClick",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId element = a.id("element");
          return [&g, element] { return g.doubleClick(element); };
        }}},
      {"rightClick",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId element = a.optionalId("element");
          return [&g, element] { return g.rightClick(element); };
        }}},
      {"chooseMenuItem",
       {Scope::Project,
        [](Gestures& g, Arguments& a) -> Play {
          RepId item = a.id("item");
          return [&g, item] { return g.chooseMenuItem(item); };
        }}},
      {"selectTool",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId tool = a.id("tool");
          return [&g, tool] { return g.selectTool(tool); };
        }}},
      {"pressKey",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          std::string key = a.text("key");
          return [&g, key] { return g.pressKey(key); };
        }}},
      {"editText",
       {Scope::Diagram,
        [](Gestures& g, Arguments& a) -> Play {
          RepId compartment = a.id("compartment");
          if (!model::isKindOf(compartment, "Compartment"))
            throw RequestError("object " + std::to_string(compartment) + " is no compartment");
          RepId element = elementOfCompartment(compartment);
          if (!element || model::firstPartner(element, "graphDiagram") != g.currentDiagram())
            throw RequestError("the compartment " + std::to_string(compartment) +
                               " is not on the current diagram");
          std::string text = a.text("text");
          return [&g, compartment, text] { return g.editText(compartment, text); };
        }}},
      {"openDiagram",
       {Scope::Project,
        [](Gestures& g, Arguments& a) -> Play {
          RepId target = a.id("target");
          return [&g, target] { return g.openDiagram(target); };
        }}},
      {"typeIntoField",
       {Scope::Form,
        [](Gestures& g, Arguments& a) -> Play {
          RepId field = a.id("field");
          std::string text = a.text("text");
          return [&g, field, text] { return g.typeIntoField(field, text); };
        }}},
      {"pressButton",
       {Scope::Form,
        [](Gestures& g, Arguments& a) -> Play {
          RepId button = a.id("button");
          return [&g, button] { return g.pressButton(button); };
        }}},
      {"closeForm",
       {Scope::Form,
        [](Gestures& g, Arguments&) -> Play { return [&g] { return g.closeForm(); }; }}},
  };
  return table;
}

}  // namespace

json parseBody(const std::string& body) {
  json request = json::parse(body, nullptr, false);
  if (request.is_discarded()) throw RequestError("the body is not JSON");
  if (!request.is_object()) throw RequestError("the body must be a JSON object");
  return request;
}

GestureOutcome playGesture(Gestures& gestures, const json& request) {
  auto name = request.find("gesture");
  if (name == request.end() || !name->is_string())
    throw RequestError("the field \"gesture\" must name a gesture");
  const auto& table = gestureTable();
  auto call = table.find(name->get<std::string>());
  if (call == table.end())
    throw RequestError("there is no gesture " + quoted(name->get<std::string>()));
  Arguments args(request);
  if (call->second.scope == Scope::Diagram) checkDiagram(gestures, args);
  if (call->second.scope == Scope::Form) checkForm(gestures, args);
  Play play = call->second.read(gestures, args);
  args.finish();
  return play();
}

std::vector<std::string> gestureNames() {
  std::vector<std::string> names;
  for (const auto& [name, call] : gestureTable()) names.push_back(name);
  return names;
}

}  // namespace grhost::web
