// Evaluates arbitrary bytes as a path expression, an expression, a predicate
// text and a plain role path against a small fixed model. The store is
// rebuilt for every input so that result objects of one input never steer
// the next. Besides crashes, hangs and sanitizer reports, a few properties of
// the results that hold for every text are checked (abort on violation).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/host.h"
#include "platform/repository.h"
#include "runtime/Generation.h"
#include "runtime/L0_ObjectIDListS.h"
#include "runtime/L0_Var.h"
#include "runtime/Logger.h"
#include "runtime/Lpath.h"
#include "runtime/PartnerListCache.h"

namespace {

// Small enough that one input stays far below the 5 s timeout even when its
// branching multiplies; the limit itself is what gets exercised.
constexpr std::uint64_t kFuzzWorkLimit = 20000;

void require(bool condition) {
  if (!condition) std::abort();
}

void dropMessage(const char*, const char*, void*) {}

RepId makeClass(const char* name, RepId superclass = 0) {
  RepId id = CreateObjectType1(name, superclass);
  require(id != 0);
  return id;
}

void makeAttr(RepId classId, const char* name) {
  RepId attr = GetPropertyTypeIdByName(0, name);
  if (attr == 0) attr = CreatePropertyType(name, BaseType_STRING);
  require(attr != 0 && AddPropertyType(classId, attr));
}

RepId makeAssoc(RepId start, const char* role, RepId end, const char* inverse) {
  RepId id = CreateLinkType(start, role, REP_MULT_MANY, 1, end, inverse, REP_MULT_MANY, 1, 0);
  require(id != 0);
  return id;
}

ObjID makeObject(RepId classId, const char* id) {
  ObjID object = CreateObject(classId);
  require(object != 0 && AddProperty(object, GetPropertyTypeIdByName(classId, "id"), id));
  return object;
}

struct Model {
  ObjID diagram = 0;
  ObjID firstNode = 0;
};

// A diagram of nodes (one a D#InputField inside another node), an edge
// between two of them, compartments, and a cycle over "next".
Model buildModel() {
  RepId thing = makeClass("Thing");
  RepId dataValue = makeClass("LPath#DataValue", thing);
  RepId attributeValue = makeClass("LPath#AttributeValue", thing);
  for (const char* name : {"type", "value"}) makeAttr(dataValue, name);
  for (const char* name : {"attributeName", "attributeType", "attributeValue"})
    makeAttr(attributeValue, name);
  RepId diagramClass = makeClass("GraphDiagram", thing);
  RepId element = makeClass("Element", thing);
  RepId node = makeClass("Node", element);
  RepId field = makeClass("D#InputField", node);
  RepId edgeClass = makeClass("Edge", element);
  RepId compartment = makeClass("Compartment", thing);
  for (RepId c : {diagramClass, element, compartment}) makeAttr(c, "id");
  makeAttr(compartment, "value");
  RepId elementRole = makeAssoc(diagramClass, "element", element, "graphDiagram");
  RepId compartmentRole = makeAssoc(element, "compartment", compartment, "element");
  RepId componentRole = makeAssoc(node, "component", node, "container");
  RepId startRole = makeAssoc(edgeClass, "start", element, "eStart");
  RepId endRole = makeAssoc(edgeClass, "end", element, "eEnd");
  RepId nextRole = makeAssoc(node, "next", node, "previous");

  Model model;
  model.diagram = makeObject(diagramClass, "D");
  ObjID a = makeObject(node, "A");
  ObjID b = makeObject(node, "Error");
  ObjID input = makeObject(field, "F");
  ObjID edge = makeObject(edgeClass, "E");
  for (ObjID e : {a, b, input, edge}) require(CreateLink(elementRole, model.diagram, e));
  require(CreateLink(componentRole, a, input) && CreateLink(componentRole, b, a));
  require(CreateLink(startRole, edge, a) && CreateLink(endRole, edge, b));
  require(CreateLink(nextRole, a, b) && CreateLink(nextRole, b, a));
  const char* values[] = {"x", "y", ""};
  for (int i = 0; i < 3; ++i) {
    ObjID c = makeObject(compartment, values[i]);
    AddProperty(c, GetPropertyTypeIdByName(compartment, "value"), values[i]);
    require(CreateLink(compartmentRole, i == 0 ? a : b, c));
  }
  model.firstNode = a;
  return model;
}

void openFreshStore() {
  require(RepOpenMemory() != 0);
  L0_ObjectIDListS::destroy();
  PartnerListCache::destroy();
  advanceGeneration();
}

void closeStore() {
  L0_ObjectIDListS::destroy();
  PartnerListCache::destroy();
  RepCloseProject();
  Logger::shutdown();  // the next report starts a fresh trace file
}

std::string classOf(const L0_Var_2& v) {
  return GetTypeName(GetObjectTypeId(v.getCurrObjID()));
}

std::string attributeOf(const L0_Var_2& v, const char* name) {
  ObjID object = v.getCurrObjID();
  return GetPropertyValue(object, GetPropertyTypeIdByName(GetObjectTypeId(object), name));
}

bool isSuffix(const std::string& part, const std::string& whole) {
  return part.size() <= whole.size() &&
         whole.compare(whole.size() - part.size(), part.size(), part) == 0;
}

void checkStringUtilities(const std::string& text) {
  std::string rest = text;
  std::string token = L0_Func_string_iterator(rest, "/");
  require(text.compare(0, token.size(), token) == 0 && isSuffix(rest, text));
  require(token.size() + rest.size() + (text.find('/') == std::string::npos ? 0 : 1) ==
          text.size());

  rest = text;
  std::string group = L0_Func_get_balanced_substring(rest, "[", "]");
  require(group.empty() ? rest == text : group + rest == text);

  rest = text;
  std::string role, type, predicates;
  require(L0_Func_get_LPath_step(rest, role, type, predicates));
  require(isSuffix(rest, text) && predicates.size() <= text.size());
}

void checkPath(const L0_Var_2& start, const std::string& text) {
  L0_Var_2 reached = L0_Func_eval_path_exp(start, text);
  require(reached.isNull() || ObjectExists(reached.getCurrObjID()));
  if (text.empty() || text == "/") require(reached == start);
}

// An attribute expression is never null; a bare predicate group gives a
// boolean or, when malformed or abandoned, null.
void checkExpression(const L0_Var_2& start, const std::string& text) {
  L0_Var_2 result = L0_Func_eval_expression(start, text);
  std::string body = text;
  L0_Func_remove_slash_if_exists(body);
  if (!body.empty() && body[0] == '@') {
    require(!result.isNull() && classOf(result) == "LPath#AttributeValue");
    require(attributeOf(result, "attributeType") == "String");
  } else if (!body.empty() && body[0] == '[' && !result.isNull()) {
    require(classOf(result) == "LPath#DataValue");
    std::string value = attributeOf(result, "value");
    require(value == "true" || value == "false");
  }
}

// From a null start the runtime's attribute read ends the evaluation with
// its exception; that is the documented outcome, not a finding.
void evaluateFromNull(const std::string& text) {
  try {
    L0_Func_eval_path_exp(L0_Var_2(), text);
    L0_Func_eval_expression(L0_Var_2(), text);
  } catch (const L0_Var_2_Exception&) {
  }
}

void evaluateEverything(const Model& model, const std::string& text) {
  L0_Var_2 diagram = L0_Var_2::fromObjectId(model.diagram);
  L0_Var_2 node = L0_Var_2::fromObjectId(model.firstNode);
  checkStringUtilities(text);
  checkPath(diagram, text);
  checkPath(node, text);
  checkExpression(diagram, text);
  L0_Func_predicates_satisfied(node, text);
  L0_Func_get_LPath_range("GraphDiagram", text);
  L0_Func_get_object_by_path(diagram, text);
  evaluateFromNull(text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  GrSetMessageSink(dropMessage, nullptr);
  lpath::setWorkLimit(kFuzzWorkLimit);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  openFreshStore();
  Model model = buildModel();
  evaluateEverything(model, text);
  closeStore();
  return 0;
}
