#include "runtime/Lpath.h"

#include <algorithm>

#include "runtime/Logger.h"
#include "runtime/MessageSink.h"
#include "runtime/RepositoryUser.h"
#include "runtime/Signature.h"
#include "runtime/strRoutine.h"

namespace {

const char* const kDataValueClass = "LPath#DataValue";
const char* const kAttributeValueClass = "LPath#AttributeValue";

// ---- limits of one evaluation

// Shared by every entry that is active at the moment; the outermost one
// starts a fresh budget. The runtime is single-threaded; thread_local only
// keeps a stray second thread from corrupting the count.
struct EvaluationState {
  int scopes = 0;
  int nestedPaths = 0;
  std::uint64_t work = 0;
  bool abandoned = false;
};
thread_local EvaluationState evaluation;
std::uint64_t currentWorkLimit = lpath::kDefaultWorkLimit;

void abandonEvaluation(const std::string& reason) {
  if (evaluation.abandoned) return;
  evaluation.abandoned = true;
  reportRuntimeError(reason);
}

bool evaluationAbandoned() {
  return evaluation.abandoned;
}

// Counts one candidate or group; false once the budget is spent.
bool spendWork() {
  if (++evaluation.work > currentWorkLimit)
    abandonEvaluation("Path expression evaluation abandoned after " +
                      strRoutine::intToStr(static_cast<long long>(currentWorkLimit)) + " steps.");
  return !evaluation.abandoned;
}

class EvaluationScope {
 public:
  enum Kind { Plain, PathLevel };
  EvaluationScope(Kind kind, std::size_t textLength) : pathLevel_(kind == PathLevel) {
    if (evaluation.scopes++ == 0) {
      evaluation = EvaluationState{1, 0, 0, false};
      if (textLength > lpath::kMaxTextLength)
        abandonEvaluation("Path expression of " +
                          strRoutine::intToStr(static_cast<long long>(textLength)) +
                          " characters is longer than " +
                          strRoutine::intToStr(static_cast<long long>(lpath::kMaxTextLength)) +
                          "; evaluation abandoned.");
    }
    if (pathLevel_ && ++evaluation.nestedPaths > lpath::kMaxNestedPaths)
      abandonEvaluation("Path expression nested deeper than " +
                        strRoutine::intToStr(lpath::kMaxNestedPaths) +
                        " levels; evaluation abandoned.");
  }
  ~EvaluationScope() {
    if (pathLevel_) --evaluation.nestedPaths;
    --evaluation.scopes;
  }
  EvaluationScope(const EvaluationScope&) = delete;
  EvaluationScope& operator=(const EvaluationScope&) = delete;

 private:
  bool pathLevel_;
};

// ---- small helpers

// Position of the separator's last character in S, npos when there is none.
// A mismatch restarts the match without retrying that character as a start.
std::size_t separatorEnd(const std::string& s, const std::string& sep) {
  if (sep.size() == 1) return s.find(sep[0]);
  std::size_t matched = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    matched = s[i] == sep[matched] ? matched + 1 : 0;
    if (matched == sep.size()) return i;
  }
  return std::string::npos;
}

bool beginsWith(const std::string& text, char c) {
  return !text.empty() && text[0] == c;
}

// TEXT opens with a bracket group that closes.
bool beginsWithClosedGroup(std::string text) {
  return beginsWith(text, '[') && !L0_Func_get_balanced_substring(text, "[", "]").empty();
}

std::string withoutEnclosingCharacters(const std::string& text) {
  return L0_Func_drop_last_n_from_string(1, L0_Func_drop_first_n_from_string(1, text));
}

std::string classNameOf(const L0_Var_2& object) {
  return object.isNull() ? std::string() : RepositoryUser::getTypeName(object.actualClassId());
}

IdVector idsOf(RepIdList* list) {
  IdVector ids;
  if (!list) return ids;
  for (uint32_t i = 0; i < RepIdListCount(list); ++i) ids.push_back(RepIdListItem(list, i));
  RepIdListFree(list);
  return ids;
}

RepId farEndOf(RepId linkType) {
  RepId end = 0;
  GetLinkTypeAttributes1(linkType, nullptr, &end, nullptr);
  return end;
}

bool classHasObjects(const std::string& className) {
  L0_Var_2 probe;
  return probe.setFirstToRoot(className);
}

L0_Var_2 nullVariable() {
  return L0_Var_2();
}

// A new result object of CLASSNAME; null (after the runtime's report) when
// the metamodel lacks the class.
L0_Var_2 newResultObject(const std::string& className) {
  L0_Var_2 result = L0_Var_2::declaredUnchecked(className);
  result.addObj(className);
  return result;
}

L0_Var_2 newDataValue(bool value) {
  L0_Var_2 result = newResultObject(kDataValueClass);
  if (result.isNull()) return result;
  result.setAttr("type", std::string("Boolean"));
  result.setAttr("value", strRoutine::boolToStr(value));
  return result;
}

L0_Var_2 newAttributeValue(const std::string& name, const std::string& value) {
  L0_Var_2 result = newResultObject(kAttributeValueClass);
  if (result.isNull()) return result;
  result.setAttr("attributeName", name);
  result.setAttr("attributeType", std::string("String"));
  result.setAttr("attributeValue", value);
  return result;
}

// ---- step parsing

enum class StepParse { Complete, UnclosedGroup };

// Appends the bracket groups at the front of PATH to PREDICATES.
StepParse takePredicateGroups(std::string& path, std::string& predicates) {
  do {
    std::string group = L0_Func_get_balanced_substring(path, "[", "]");
    if (group.empty()) return StepParse::UnclosedGroup;
    predicates += group;
  } while (L0_Func_get_char_at_index(path, 0) == "[");
  return StepParse::Complete;
}

void splitHead(std::string head, std::string& roleName, std::string& objectType) {
  roleName = L0_Func_string_iterator(head, ":");
  objectType = head;
}

// The step parser; an unclosed group leaves PATH beginning with "[".
StepParse parseStep(std::string& path, std::string& roleName, std::string& objectType,
                    std::string& predicates) {
  roleName.clear();
  objectType.clear();
  predicates.clear();
  std::string bySlash = path;
  std::string byBracket = path;
  std::size_t beforeSlash = L0_Func_string_iterator(bySlash, "/").size();
  std::size_t beforeBracket = L0_Func_string_iterator(byBracket, "[").size();
  if (beforeSlash == beforeBracket) {
    splitHead(path, roleName, objectType);
    path.clear();
    return StepParse::Complete;
  }
  if (beforeSlash > beforeBracket) {
    splitHead(L0_Func_string_iterator(path, "["), roleName, objectType);
    path = "[" + path;
    return takePredicateGroups(path, predicates);
  }
  splitHead(L0_Func_string_iterator(path, "/"), roleName, objectType);
  return StepParse::Complete;
}

// ---- evaluation

// The first candidate of a step: a root search for an empty role, else a
// navigation over a role that the object's class has.
bool firstCandidate(const L0_Var_2& object, const std::string& roleName,
                    const std::string& objectType, L0_Var_2& candidate) {
  if (roleName.empty()) return candidate.setFirstToRoot(objectType);
  if (!L0_Func_exists_outgoing_role_from_instance(object, roleName)) return false;
  return candidate.setFirstByRelation(object, roleName);
}

bool candidateFitsStep(const L0_Var_2& candidate, const std::string& objectType,
                       const std::string& predicates) {
  return L0_Func_type_constraint_satisfied(candidate, objectType) &&
         L0_Func_predicates_satisfied(candidate, predicates);
}

bool attributeTestHolds(const L0_Var_2& object, std::string test) {
  std::string namePart = L0_Func_string_iterator(test, "=");
  L0_Var_2 actual = L0_Func_eval_attribute_exp(object, namePart);
  if (actual.isNull()) return false;
  return actual.getAttr("attributeValue") == withoutEnclosingCharacters(test);
}

}  // namespace

namespace lpath {

void setWorkLimit(std::uint64_t limit) {
  currentWorkLimit = limit;
}
std::uint64_t workLimit() {
  return currentWorkLimit;
}

}  // namespace lpath

// ---- string utilities

std::string L0_Func_string_iterator(std::string& s, std::string sep) {
  if (s.empty()) return "";
  if (sep.empty()) {
    std::string first = s.substr(0, 1);
    s.erase(0, 1);
    return first;
  }
  std::size_t end = separatorEnd(s, sep);
  if (end == std::string::npos) {
    std::string all;
    all.swap(s);
    return all;
  }
  std::string token = s.substr(0, end + 1 - sep.size());
  s.erase(0, end + 1);
  return token;
}
GR_ENTRY_SIGNATURE(L0_Func_string_iterator)

// Only the first character of OPEN and CLOSE counts; an OPEN character is an
// opening even when it equals CLOSE.
std::string L0_Func_get_balanced_substring(std::string& s, std::string open, std::string close) {
  if (open.empty() || close.empty()) return "";
  const char opening = open[0];
  const char closing = close[0];
  const char* const text = s.data();
  long long depth = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (text[i] == opening) {
      ++depth;
    } else if (text[i] == closing && --depth == 0) {
      std::string group = s.substr(0, i + 1);
      s.erase(0, i + 1);
      return group;
    }
  }
  return "";
}
GR_ENTRY_SIGNATURE(L0_Func_get_balanced_substring)

std::string L0_Func_get_char_at_index(std::string s, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= s.size()) return "";
  return s.substr(static_cast<std::size_t>(index), 1);
}
GR_ENTRY_SIGNATURE(L0_Func_get_char_at_index)

bool L0_Func_is_prefix_of(std::string prefix, std::string s) {
  return prefix.size() <= s.size() && std::equal(prefix.begin(), prefix.end(), s.begin());
}
GR_ENTRY_SIGNATURE(L0_Func_is_prefix_of)

std::string L0_Func_drop_first_n_from_string(int n, std::string s) {
  if (n <= 0) return s;
  if (s.size() <= static_cast<std::size_t>(n)) return "";
  return s.substr(static_cast<std::size_t>(n));
}
GR_ENTRY_SIGNATURE(L0_Func_drop_first_n_from_string)

std::string L0_Func_drop_last_n_from_string(int n, std::string s) {
  if (n <= 0) return s;
  if (s.size() <= static_cast<std::size_t>(n)) return "";
  return s.substr(0, s.size() - static_cast<std::size_t>(n));
}
GR_ENTRY_SIGNATURE(L0_Func_drop_last_n_from_string)

// ---- path expressions

L0_Var_2 L0_Func_eval_path_exp(L0_Var_2 object, std::string path) {
  EvaluationScope scope(EvaluationScope::PathLevel, path.size());
  if (evaluationAbandoned() || !spendWork()) return nullVariable();
  L0_Func_remove_slash_if_exists(path);
  if (path.empty()) return object;
  std::string roleName, objectType, predicates;
  if (parseStep(path, roleName, objectType, predicates) != StepParse::Complete)
    return nullVariable();
  L0_Var_2 candidate;
  for (bool found = firstCandidate(object, roleName, objectType, candidate); found;
       found = candidate.next()) {
    if (!spendWork()) return nullVariable();
    bool fits = candidateFitsStep(candidate, objectType, predicates);
    if (evaluationAbandoned()) return nullVariable();
    if (!fits) continue;
    L0_Var_2 reached = L0_Func_eval_expression(candidate, path);
    if (evaluationAbandoned()) return nullVariable();
    if (!reached.isNull()) return reached;
  }
  return nullVariable();
}
GR_ENTRY_SIGNATURE(L0_Func_eval_path_exp)

L0_Var_2 L0_Func_eval_expression(L0_Var_2 object, std::string expression) {
  EvaluationScope scope(EvaluationScope::Plain, expression.size());
  if (evaluationAbandoned()) return nullVariable();
  L0_Func_remove_slash_if_exists(expression);
  if (beginsWith(expression, '[')) {
    if (!beginsWithClosedGroup(expression)) return nullVariable();
    bool holds = L0_Func_eval_predicate_exp(object, expression);
    if (evaluationAbandoned()) return nullVariable();
    return newDataValue(holds);
  }
  if (beginsWith(expression, '@')) return L0_Func_eval_attribute_exp(object, expression);
  return L0_Func_eval_path_exp(object, expression);
}
GR_ENTRY_SIGNATURE(L0_Func_eval_expression)

bool L0_Func_eval_predicate_exp(L0_Var_2 object, std::string group) {
  EvaluationScope scope(EvaluationScope::Plain, group.size());
  if (evaluationAbandoned() || !beginsWithClosedGroup(group)) return false;
  std::string inner = withoutEnclosingCharacters(group);
  bool holds = beginsWith(inner, '@') ? attributeTestHolds(object, inner)
                                      : !L0_Func_eval_path_exp(object, inner).isNull();
  return holds && !evaluationAbandoned();
}
GR_ENTRY_SIGNATURE(L0_Func_eval_predicate_exp)

L0_Var_2 L0_Func_eval_attribute_exp(L0_Var_2 object, std::string text) {
  std::string name = L0_Func_drop_first_n_from_string(1, text);
  std::string value = object.getAttrOfActualClass(name);
  return newAttributeValue(name, value);
}
GR_ENTRY_SIGNATURE(L0_Func_eval_attribute_exp)

bool L0_Func_predicates_satisfied(L0_Var_2 object, std::string predicates) {
  EvaluationScope scope(EvaluationScope::Plain, predicates.size());
  while (!predicates.empty()) {
    if (evaluationAbandoned() || !spendWork()) return false;
    std::string group = L0_Func_get_balanced_substring(predicates, "[", "]");
    if (group.empty() || !L0_Func_eval_predicate_exp(object, group)) return false;
  }
  return !evaluationAbandoned();
}
GR_ENTRY_SIGNATURE(L0_Func_predicates_satisfied)

bool L0_Func_type_constraint_satisfied(L0_Var_2 object, std::string className) {
  if (className.empty()) return true;
  RepId required = RepositoryUser::getObjectTypeIdByName(className);
  RepId actual = object.actualClassId();
  return required != 0 && actual != 0 && ExtendsExtends(actual, required) != 0;
}
GR_ENTRY_SIGNATURE(L0_Func_type_constraint_satisfied)

bool L0_Func_get_LPath_step(std::string& path, std::string& roleName, std::string& objectType,
                            std::string& predicates) {
  parseStep(path, roleName, objectType, predicates);
  return true;
}
GR_ENTRY_SIGNATURE(L0_Func_get_LPath_step)

void L0_Func_remove_slash_if_exists(std::string& text) {
  if (beginsWith(text, '/')) text.erase(0, 1);
}
GR_ENTRY_SIGNATURE(L0_Func_remove_slash_if_exists)

// A step after predicate groups keeps its leading "/", dropped here as the
// evaluator drops it.
std::string L0_Func_get_LPath_range(std::string className, std::string path) {
  while (true) {
    L0_Func_remove_slash_if_exists(path);
    if (path.empty()) return className;
    std::string roleName, objectType, predicates;
    if (parseStep(path, roleName, objectType, predicates) != StepParse::Complete) return "";
    className = L0_Func_get_assoc_range_type_from_class_by_roleName(className, roleName);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_get_LPath_range)

bool L0_Func_exists_outgoing_role_from_instance(L0_Var_2 object, std::string roleName) {
  if (object.isNull()) return false;
  return !L0_Func_get_assoc_range_type_from_class_by_roleName(classNameOf(object), roleName)
              .empty();
}
GR_ENTRY_SIGNATURE(L0_Func_exists_outgoing_role_from_instance)

// An end without a name cannot be navigated, so "" names no role.
std::string L0_Func_get_assoc_range_type_from_class_by_roleName(std::string className,
                                                                std::string roleName) {
  RepId classId = RepositoryUser::getObjectTypeIdByName(className);
  if (classId == 0 || roleName.empty()) return "";
  for (RepId linkType : idsOf(GetLinkTypeIdList(classId))) {
    if (RepositoryUser::getTypeName(linkType) == roleName)
      return RepositoryUser::getTypeName(farEndOf(linkType));
  }
  return "";
}
GR_ENTRY_SIGNATURE(L0_Func_get_assoc_range_type_from_class_by_roleName)

// ---- plain role paths

L0_Var_2 L0_Func_get_object_by_path(L0_Var_2 object, std::string path) {
  std::string className = classNameOf(object);
  if (!classHasObjects(L0_Func_get_path_range(className, path))) return nullVariable();
  return L0_Func_get_object_from_object_with_type_by_path(object, className, path);
}
GR_ENTRY_SIGNATURE(L0_Func_get_object_by_path)

L0_Var_2 L0_Func_get_object_from_object_with_type_by_path(L0_Var_2 object, std::string className,
                                                          std::string path) {
  EvaluationScope scope(EvaluationScope::PathLevel, path.size());
  if (evaluationAbandoned()) return nullVariable();
  if (path.empty()) return object;
  std::string roleName = L0_Func_string_iterator(path, "/");
  std::string reachedClass =
      L0_Func_get_assoc_range_type_from_class_by_roleName(className, roleName);
  L0_Var_2 linked;
  for (bool found = linked.setFirstByRelation(object, roleName); found; found = linked.next()) {
    if (!spendWork()) return nullVariable();
    if (!classHasObjects(L0_Func_get_path_range(reachedClass, path))) return nullVariable();
    L0_Var_2 reached = L0_Func_get_object_from_object_with_type_by_path(linked, reachedClass, path);
    if (evaluationAbandoned()) return nullVariable();
    if (!reached.isNull()) return reached;
  }
  return nullVariable();
}
GR_ENTRY_SIGNATURE(L0_Func_get_object_from_object_with_type_by_path)

std::string L0_Func_get_path_range(std::string className, std::string path) {
  while (!path.empty()) {
    std::string roleName = L0_Func_string_iterator(path, "/");
    className = L0_Func_get_assoc_range_type_from_class_by_roleName(className, roleName);
  }
  return className;
}
GR_ENTRY_SIGNATURE(L0_Func_get_path_range)

L0_Var_2 L0_Func_get_linked_object_from_object_by_role_with_type(L0_Var_2 object,
                                                                 std::string roleName) {
  L0_Var_2 linked;
  linked.setFirstByRelation(object, roleName);
  return linked;
}
GR_ENTRY_SIGNATURE(L0_Func_get_linked_object_from_object_by_role_with_type)

// ---- display

std::string L0_Func_instance_to_string(L0_Var_2 object) {
  if (object.isNull()) return "null";
  std::string text = ":" + classNameOf(object);
  for (RepId attr : idsOf(GetPropertyTypeIdList(object.actualClassId())))
    text += L0_Func_attribute_to_string(object, RepositoryUser::getTypeName(attr),
                                        RepositoryUser::baseTypeName(attr));
  return text;
}
GR_ENTRY_SIGNATURE(L0_Func_instance_to_string)

std::string L0_Func_attribute_to_string(L0_Var_2 object, std::string attributeName,
                                        std::string typeName) {
  return "\n\t" + attributeName + " : " + typeName + " = " +
         object.getAttrOfActualClass(attributeName);
}
GR_ENTRY_SIGNATURE(L0_Func_attribute_to_string)

void L0_Func_show_instance(L0_Var_2 object) {
  gr::showMessageBox(L0_Func_instance_to_string(object));
}
GR_ENTRY_SIGNATURE(L0_Func_show_instance)

void L0_Func_display_instance(L0_Var_2 object) {
  L0_Func_show_instance(object);
}
GR_ENTRY_SIGNATURE(L0_Func_display_instance)

void L0_Func_test_get_LPath_step() {
  const char* const paths[] = {"a/b", "a:A/b", "a[d/e]/b", "a:A[d/e]/b", "a:A[d/e][@t=]/b"};
  int number = 0;
  for (const char* sample : paths) {
    std::string path = sample;
    std::string message = "test" + strRoutine::intToStr(++number) + ": " + path + "\n";
    std::string roleName, objectType, predicates;
    L0_Func_get_LPath_step(path, roleName, objectType, predicates);
    message += "role name = \"" + roleName + "\"\n";
    message += "object type = \"" + objectType + "\"\n";
    message += "predicates = \"" + predicates + "\"\n";
    gr::showMessageBox(message);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_test_get_LPath_step)
