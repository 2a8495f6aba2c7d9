#include "runtime/EasyAnswers.h"

#include <unordered_map>
#include <unordered_set>

#include "runtime/RepositoryUser.h"

namespace {

using Answers = std::unordered_map<std::string, L0_Var_2>;

struct EasyAnswers {
  Answers elemTypes;
  Answers compartTypes;
  std::unordered_set<std::string> seenKeys;
};

// Never freed: a host may end with the libraries that use it still loaded.
EasyAnswers& answers() {
  static EasyAnswers* all = new EasyAnswers();
  return *all;
}

bool isA(const L0_Var_2& object, const char* className) {
  const RepId cls = RepositoryUser::getObjectTypeIdByName(className);
  return cls != 0 && RepositoryUser::isSubclass(cls, object.actualClassId());
}

// The map for navigations from FROM's class (the element types being the
// node, edge and port types) over ROLENAME, if any.
Answers* mapFor(const L0_Var_2& from, const std::string& roleName) {
  if (from.isNull()) return nullptr;
  if (roleName == "elemType" && isA(from, "GraphDiagramType")) return &answers().elemTypes;
  if (roleName == "compartType" && isA(from, "ElemType")) return &answers().compartTypes;
  return nullptr;
}

}  // namespace

void addToEasyAnswers(const L0_Var_2& from, const std::string& roleName,
                      const std::string& /*attrName*/, const std::string& /*value*/,
                      const std::string& key, const L0_Var_2& answer) {
  if (Answers* map = mapFor(from, roleName)) map->insert_or_assign(key, answer);
}

L0_Var_2 tryToGetEasyAnswer(const L0_Var_2& from, const std::string& roleName,
                            const std::string& /*attrName*/, const std::string& /*value*/,
                            const std::string& key) {
  if (Answers* map = mapFor(from, roleName)) {
    const auto found = map->find(key);
    if (found != map->end()) return found->second;
  }
  return L0_Var_2::declaredUnchecked("Thing");
}

bool checkEasyAnswers(const std::string& key) {
  return !answers().seenKeys.insert(key).second;
}
