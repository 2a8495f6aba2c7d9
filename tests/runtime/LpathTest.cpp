#include <filesystem>
#include <string>
#include <vector>

#include "RuntimeFixture.h"
#include "runtime/GraphExchange.h"
#include "runtime/Lpath.h"

namespace {

// A diagram with four elements in link order: node "A" (no compartment), an
// edge "E" from A to B, a note "Error" (a node subclass) with compartment
// "x", and node "B" with compartments "y" and "z".
class LpathTest : public RuntimeFixture {
 protected:
  void SetUp() override {
    RuntimeFixture::SetUp();
    RepId thing = makeClass("Thing");
    RepId dataValue = makeClass("LPath#DataValue", thing);
    RepId attributeValue = makeClass("LPath#AttributeValue", thing);
    for (const char* name : {"type", "value"}) makeAttr(dataValue, name);
    for (const char* name : {"attributeName", "attributeType", "attributeValue"})
      makeAttr(attributeValue, name);
    RepId diagramClass = makeClass("Diagram", thing);
    RepId element = makeClass("Element", thing);
    RepId node = makeClass("Node", element);
    RepId note = makeClass("Note", node);
    RepId edgeClass = makeClass("Edge", element);
    RepId compartment = makeClass("Compartment", thing);
    makeAttr(diagramClass, "caption");
    makeAttr(element, "id");
    makeAttr(element, "count", BaseType_INTEGER);
    makeAttr(compartment, "value");
    RepId elementRole = makeAssoc(diagramClass, "element", element, "diagram");
    RepId compartmentRole = makeAssoc(element, "compartment", compartment, "owner");
    RepId startRole = makeAssoc(edgeClass, "start", element, "eStart");
    RepId endRole = makeAssoc(edgeClass, "end", element, "eEnd");
    chainRole = makeAssoc(node, "next", node, "previous");

    diagram = object(diagramClass, "caption", "D");
    a = object(node, "id", "A");
    edge = object(edgeClass, "id", "E");
    error = object(note, "id", "Error");
    b = object(node, "id", "B");
    for (ObjID e : {a, edge, error, b}) CreateLink(elementRole, diagram, e);
    CreateLink(startRole, edge, a);
    CreateLink(endRole, edge, b);
    x = object(compartment, "value", "x");
    y = object(compartment, "value", "y");
    z = object(compartment, "value", "z");
    CreateLink(compartmentRole, error, x);
    CreateLink(compartmentRole, b, y);
    CreateLink(compartmentRole, b, z);
  }
  void TearDown() override {
    lpath::setWorkLimit(lpath::kDefaultWorkLimit);
    RuntimeFixture::TearDown();
  }

  static ObjID object(RepId classId, const char* attr, const char* value) {
    ObjID id = CreateObject(classId);
    EXPECT_TRUE(AddProperty(id, GetPropertyTypeIdByName(classId, attr), value));
    return id;
  }
  static L0_Var_2 var(ObjID id) { return L0_Var_2::fromObjectId(id); }
  static ObjID path(ObjID start, const std::string& text) {
    return L0_Func_eval_path_exp(var(start), text).getCurrObjID();
  }
  static ObjID expression(ObjID start, const std::string& text) {
    return L0_Func_eval_expression(var(start), text).getCurrObjID();
  }
  static std::string value(ObjID id, const char* attr) {
    return GetPropertyValue(id, GetPropertyTypeIdByName(GetObjectTypeId(id), attr));
  }
  static std::string className(ObjID id) { return GetTypeName(GetObjectTypeId(id)); }
  static std::size_t count(const char* className) {
    return GetObjectNum(GetObjectTypeIdByName(className));
  }

  RepId chainRole = 0;
  ObjID diagram = 0, a = 0, edge = 0, error = 0, b = 0, x = 0, y = 0, z = 0;
};

// ---- string utilities

TEST(LpathStrings, StringIteratorCutsAtTheSeparatorAndRestartsOnAMismatch) {
  std::string s = "ab/cd/";
  EXPECT_EQ(L0_Func_string_iterator(s, "/"), "ab");
  EXPECT_EQ(s, "cd/");
  EXPECT_EQ(L0_Func_string_iterator(s, "/"), "cd");
  EXPECT_EQ(s, "");
  EXPECT_EQ(L0_Func_string_iterator(s, "/"), "");

  s = "aab";  // the second "a" breaks the match and is not retried as a start
  EXPECT_EQ(L0_Func_string_iterator(s, "ab"), "aab");
  EXPECT_EQ(s, "");
  s = "aabab";
  EXPECT_EQ(L0_Func_string_iterator(s, "ab"), "aab");
  EXPECT_EQ(s, "");
  s = "xyz";
  EXPECT_EQ(L0_Func_string_iterator(s, ""), "x");
  EXPECT_EQ(s, "yz");
}

TEST(LpathStrings, BalancedSubstringTakesTheFirstGroupThatClosesAtDepthZero) {
  std::string s = "[a[b]c]/d";
  EXPECT_EQ(L0_Func_get_balanced_substring(s, "[", "]"), "[a[b]c]");
  EXPECT_EQ(s, "/d");
  for (std::string unclosed : {"[a[b]", "]x[y]", "[", ""}) {
    std::string before = unclosed;
    EXPECT_EQ(L0_Func_get_balanced_substring(unclosed, "[", "]"), "") << before;
    EXPECT_EQ(unclosed, before);
  }
  s = "][[]x";  // depth -1, 0, 1, 0: the last close ends the group
  EXPECT_EQ(L0_Func_get_balanced_substring(s, "[", "]"), "][[]");
  EXPECT_EQ(s, "x");
}

TEST(LpathStrings, CharacterPrefixAndDropHelpers) {
  EXPECT_EQ(L0_Func_get_char_at_index("abc", 3), "");
  EXPECT_EQ(L0_Func_get_char_at_index("abc", -1), "");
  EXPECT_TRUE(L0_Func_is_prefix_of("ab", "abc"));
  EXPECT_FALSE(L0_Func_is_prefix_of("abcd", "abc"));
  EXPECT_FALSE(L0_Func_is_prefix_of("b", "abc"));
  EXPECT_EQ(L0_Func_drop_first_n_from_string(1, "'v'"), "v'");
  EXPECT_EQ(L0_Func_drop_last_n_from_string(1, "'v'"), "'v");
  EXPECT_EQ(L0_Func_drop_first_n_from_string(3, "abc"), "");
  EXPECT_EQ(L0_Func_drop_last_n_from_string(4, "abc"), "");
}

// ---- step parsing

TEST(LpathStep, SplitsRoleTypePredicatesAndRest) {
  struct Case {
    std::string path, role, type, predicates, rest;
  };
  const std::vector<Case> cases = {
      {"a/b", "a", "", "", "b"},
      {"a:A/b", "a", "A", "", "b"},
      {"a[d/e]/b", "a", "", "[d/e]", "/b"},
      {"a:A[d/e]/b", "a", "A", "[d/e]", "/b"},
      {"a:A[d/e][@t=]/b", "a", "A", "[d/e][@t=]", "/b"},
      {":D#InputField", "", "D#InputField", "", ""},
      {"a:B:C", "a", "B:C", "", ""},
      {"a[x[y]]", "a", "", "[x[y]]", ""},
      {"a[b", "a", "", "", "[b"},
  };
  for (const Case& c : cases) {
    std::string rest = c.path, role = "old", type = "old", predicates = "old";
    EXPECT_TRUE(L0_Func_get_LPath_step(rest, role, type, predicates));
    EXPECT_EQ(role, c.role) << c.path;
    EXPECT_EQ(type, c.type) << c.path;
    EXPECT_EQ(predicates, c.predicates) << c.path;
    EXPECT_EQ(rest, c.rest) << c.path;
  }
}

TEST_F(LpathTest, SelfTestShowsFiveMessages) {
  L0_Func_test_get_LPath_step();
  ASSERT_EQ(messages().size(), 5u);
  EXPECT_EQ(messages()[4],
            "test5: a:A[d/e][@t=]/b\nrole name = \"a\"\nobject type = \"A\"\n"
            "predicates = \"[d/e][@t=]\"\n");
}

// ---- roles

TEST_F(LpathTest, EmptyPathAndSingleSlashReturnTheStart) {
  EXPECT_EQ(path(diagram, ""), diagram);
  EXPECT_EQ(path(diagram, "/"), diagram);
  EXPECT_TRUE(L0_Func_eval_path_exp(L0_Var_2(), "").isNull());
}

TEST_F(LpathTest, RolesAreFollowedDepthFirstWithBacktracking) {
  EXPECT_EQ(path(diagram, "element"), a);
  EXPECT_EQ(path(diagram, "/element/compartment"), x);  // A has none: passed over
  EXPECT_EQ(path(diagram, "element/eStart/end/compartment"), y);
  EXPECT_EQ(path(diagram, "element/compartment/owner/compartment/owner"), error);
}

TEST_F(LpathTest, UnknownRoleAndNullStartGiveNullWithoutAMessage) {
  EXPECT_EQ(path(diagram, "nothing"), badObjID);
  EXPECT_EQ(path(diagram, "element/nothing"), badObjID);
  EXPECT_TRUE(L0_Func_eval_path_exp(L0_Var_2(), "element").isNull());
  EXPECT_TRUE(messages().empty());
}

// ---- type constraints

TEST_F(LpathTest, TypeConstraintAcceptsSubclassesAndSkipsOtherClasses) {
  EXPECT_EQ(path(diagram, "element:Edge"), edge);
  EXPECT_EQ(path(diagram, "element:Node[compartment]"), error);  // a Note is a Node
  EXPECT_EQ(path(edge, "end:Node"), b);
  EXPECT_EQ(path(diagram, "element:Compartment"), badObjID);
  EXPECT_EQ(path(diagram, "element:Ghost"), badObjID);
}

TEST_F(LpathTest, StepWithoutRoleSearchesTheWholeClassWhateverTheStart) {
  EXPECT_EQ(path(x, ":Note"), error);
  EXPECT_EQ(path(x, ":Node[@id='B']"), b);
  EXPECT_EQ(path(x, ":Compartment/owner:Node"), error);
  EXPECT_EQ(path(x, ":Ghost"), badObjID);
  EXPECT_EQ(path(x, ":"), badObjID);
}

// ---- predicates

TEST_F(LpathTest, AttributePredicateComparesTheTextExactly) {
  EXPECT_EQ(path(diagram, "element[@id=\"Error\"]"), error);
  EXPECT_EQ(path(diagram, "element[@id='B']"), b);
  EXPECT_EQ(path(diagram, "element[@id='b']"), badObjID);
  EXPECT_EQ(path(diagram, "element[@id=Error]"), badObjID);  // quotes are cut, whatever they are
  EXPECT_EQ(path(diagram, "element[@id=.Error.]"), error);
  EXPECT_EQ(path(diagram, "element[@count=]"), a);  // unset compares as empty
  EXPECT_EQ(path(diagram, "element[@count=']"), a);
}

TEST_F(LpathTest, PathPredicatesNestAndAllGroupsMustHold) {
  EXPECT_EQ(path(diagram, "element[compartment]"), error);
  EXPECT_EQ(path(diagram, "element[compartment[@value='z']]"), b);
  EXPECT_EQ(path(diagram, "element[compartment][@id='B']"), b);
  EXPECT_EQ(path(diagram, "element[@id='A'][compartment]"), badObjID);
  // A "/" inside brackets belongs to the predicate.
  EXPECT_EQ(path(diagram, "element[eStart/end[@id='B']]"), a);
  EXPECT_EQ(path(diagram, "element[compartment/owner[@id='B']]/compartment"), y);
}

TEST_F(LpathTest, MissingAttributeIsReportedAndReadsAsEmpty) {
  EXPECT_EQ(path(diagram, "element[@colour='']"), a);
  ASSERT_FALSE(messages().empty());
  EXPECT_EQ(messages()[0], "Bad Attribute ID 0.");
}

// ---- expressions ending in an attribute or a bare predicate

TEST_F(LpathTest, AttributeExpressionCreatesAnAttributeValue) {
  ObjID result = expression(diagram, "element[compartment]/@id");
  ASSERT_NE(result, badObjID);
  EXPECT_EQ(className(result), "LPath#AttributeValue");
  EXPECT_EQ(value(result, "attributeName"), "id");
  EXPECT_EQ(value(result, "attributeType"), "String");
  EXPECT_EQ(value(result, "attributeValue"), "Error");
  EXPECT_EQ(value(expression(b, "@count"), "attributeValue"), "");
}

TEST_F(LpathTest, BarePredicateYieldsABooleanDataValue) {
  ObjID yes = expression(diagram, "[element[@id='B']]");
  ASSERT_NE(yes, badObjID);
  EXPECT_EQ(className(yes), "LPath#DataValue");
  EXPECT_EQ(value(yes, "type"), "Boolean");
  EXPECT_EQ(value(yes, "value"), "true");
  EXPECT_EQ(value(expression(diagram, "/[@caption='X']"), "value"), "false");
  // Never null, so the first element ends the search even when it is false.
  EXPECT_EQ(value(path(diagram, "element/[@id='B']"), "value"), "false");
}

TEST_F(LpathTest, EveryAttributeReadCreatesOneResultObject) {
  path(diagram, "element[@id='Error']");  // A, E, Error
  EXPECT_EQ(count("LPath#AttributeValue"), 3u);
  EXPECT_EQ(count("LPath#DataValue"), 0u);
}

TEST_F(LpathTest, MetamodelHoldsBothResultClasses) {
  RepCloseProject();
  ASSERT_TRUE(RepOpenMemory());
  L0_ObjectIDListS::destroy();
  PartnerListCache::destroy();
  advanceGeneration();
  const auto dir = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
  import_metamodel_and_data((dir / "metamodels" / "DomainMetamodel.txt").string());
  ObjID project = CreateObject(GetObjectTypeIdByName("Project"));
  AddProperty(project, GetPropertyTypeIdByName(0, "name"), "P");
  EXPECT_EQ(value(expression(project, "@name"), "attributeValue"), "P");
  EXPECT_EQ(value(expression(project, "[@name='P']"), "value"), "true");
  EXPECT_TRUE(messages().empty());
}

TEST_F(LpathTest, WithoutTheResultClassesResultsAreNullAfterTheRuntimeReport) {
  RepCloseProject();
  ASSERT_TRUE(RepOpenMemory());
  L0_ObjectIDListS::destroy();
  PartnerListCache::destroy();
  advanceGeneration();
  ObjID thing = CreateObject(makeClass("Thing"));
  EXPECT_EQ(expression(thing, "@id"), badObjID);
  EXPECT_EQ(lastMessage(), "Class \"LPath#AttributeValue\" does not exist.");
  // With no value to compare, an attribute test fails even against "".
  EXPECT_FALSE(L0_Func_eval_predicate_exp(var(thing), "[@id='']"));
  gr::clearRecordedMessages();
  EXPECT_EQ(expression(thing, "[]"), badObjID);
  EXPECT_EQ(messages(), std::vector<std::string>{"Class \"LPath#DataValue\" does not exist."});
}

// ---- plain role paths and static ranges

TEST_F(LpathTest, PlainPathsFollowRolesWithBacktracking) {
  EXPECT_EQ(L0_Func_get_path_range("Diagram", "element/compartment"), "Compartment");
  EXPECT_EQ(L0_Func_get_path_range("Diagram", "element/ghost"), "");
  EXPECT_EQ(L0_Func_get_object_by_path(var(diagram), "element/compartment").getCurrObjID(), x);
  EXPECT_EQ(L0_Func_get_object_by_path(var(diagram), "").getCurrObjID(), diagram);
  EXPECT_EQ(L0_Func_get_object_from_object_with_type_by_path(var(edge), "Edge", "end/compartment")
                .getCurrObjID(),
            y);
  EXPECT_EQ(
      L0_Func_get_linked_object_from_object_by_role_with_type(var(b), "compartment").getCurrObjID(),
      y);
}

TEST_F(LpathTest, PlainPathRangesComeFromTheGivenClassNotTheObject) {
  // From "Edge", role "element" reaches no class, so the rest cannot reach
  // any object and the search stops although the diagram has elements.
  EXPECT_TRUE(
      L0_Func_get_object_from_object_with_type_by_path(var(diagram), "Edge", "element/compartment")
          .isNull());
  EXPECT_TRUE(L0_Func_get_object_by_path(var(diagram), "element/ghost").isNull());
  EXPECT_TRUE(messages().empty());
}

TEST_F(LpathTest, StaticRangeIgnoresTypesAndPredicates) {
  EXPECT_EQ(L0_Func_get_LPath_range("Diagram", "element:Node[@id='A']/compartment"), "Compartment");
  EXPECT_EQ(L0_Func_get_LPath_range("Edge", "start/eStart/end"), "Element");
  EXPECT_EQ(L0_Func_get_assoc_range_type_from_class_by_roleName("Note", "compartment"),
            "Compartment");  // inherited role
  makeAssoc(GetObjectTypeIdByName("Compartment"), "", GetObjectTypeIdByName("Diagram"), "shown");
  EXPECT_EQ(L0_Func_get_assoc_range_type_from_class_by_roleName("Compartment", ""), "");
  EXPECT_EQ(L0_Func_get_assoc_range_type_from_class_by_roleName("Diagram", "shown"), "Compartment");
}

// ---- display

TEST_F(LpathTest, InstanceToStringListsEveryAttribute) {
  EXPECT_EQ(L0_Func_instance_to_string(L0_Var_2()), "null");
  EXPECT_EQ(L0_Func_instance_to_string(var(b)), ":Node\n\tid : String = B\n\tcount : Integer = ");
  L0_Func_show_instance(var(x));
  EXPECT_EQ(lastMessage(), ":Compartment\n\tvalue : String = x");
}

// ---- malformed input and limits

TEST_F(LpathTest, UnclosedBracketsGiveNullAndEnd) {
  for (const char* text :
       {"[", "element[", "element[@id='A'", "element[compartment[@value='x']", "element/[",
        "element/[@id='A'", "[[", "element[x]/compartment[", ":Node["}) {
    EXPECT_EQ(path(diagram, text), badObjID) << text;
    EXPECT_EQ(expression(diagram, text), badObjID) << text;
    EXPECT_EQ(L0_Func_get_LPath_range("Diagram", text), "") << text;
  }
  EXPECT_FALSE(L0_Func_predicates_satisfied(var(b), "[@id='B'][compartment"));
  EXPECT_FALSE(L0_Func_eval_predicate_exp(var(b), "["));
  EXPECT_TRUE(messages().empty());
}

TEST_F(LpathTest, NestingIsBoundedAndTheLimitIsExact) {
  CreateLink(chainRole, a, a);
  auto chain = [](int steps) {
    std::string text = "next";
    for (int i = 1; i < steps; ++i) text += "/next";
    return text;
  };
  // Each step is one nested evaluation, and so is the empty rest after the last.
  EXPECT_EQ(path(a, chain(lpath::kMaxNestedPaths - 1)), a);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(path(a, chain(lpath::kMaxNestedPaths)), badObjID);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "Path expression nested deeper than 64 levels; evaluation abandoned.");
}

TEST_F(LpathTest, DeepNestingEndsWithNullInsteadOfOverflowingTheStack) {
  CreateLink(chainRole, a, a);
  std::string chain = "next";
  for (int i = 0; i < 100000; ++i) chain += "/next";
  EXPECT_EQ(path(a, chain), badObjID);
  std::string opening, closing;
  for (int i = 0; i < 20000; ++i) {
    opening += "next[";
    closing += "]";
  }
  EXPECT_EQ(path(a, opening + "next" + closing), badObjID);
  EXPECT_EQ(path(a, opening), badObjID);
  EXPECT_EQ(path(a, "next"), a);  // a fresh evaluation is not affected
}

TEST_F(LpathTest, TextsBeyondTheLengthLimitAreNotEvaluated) {
  std::string longest = "element[@id='" + std::string(lpath::kMaxTextLength - 15, 'x') + "']";
  ASSERT_EQ(longest.size(), lpath::kMaxTextLength);
  EXPECT_EQ(expression(diagram, longest), badObjID) << "no element has that id";
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(expression(diagram, longest + " "), badObjID);
  EXPECT_EQ(lastMessage(),
            "Path expression of 65537 characters is longer than 65536; evaluation abandoned.");
  EXPECT_FALSE(L0_Func_predicates_satisfied(var(b), std::string(10'000'000, '[')));
}

TEST_F(LpathTest, WorkLimitEndsSearchesThatNeverFinish) {
  lpath::setWorkLimit(5000);
  ASSERT_NE(expression(diagram, "@caption"), badObjID);
  // Each predicate read adds an LPath#AttributeValue to the class being searched.
  EXPECT_EQ(path(diagram, ":LPath#AttributeValue[@attributeName='none']"), badObjID);
  EXPECT_EQ(lastMessage(), "Path expression evaluation abandoned after 5000 steps.");
  EXPECT_EQ(path(diagram, ":Thing/:Thing/:Thing/:Thing/:Thing/:Ghost"), badObjID);
  EXPECT_EQ(expression(diagram, "[:Thing/:Thing/:Thing/:Thing/:Thing/:Ghost]"), badObjID);
  EXPECT_EQ(path(diagram, "element[@id='B']"), b);
}

}  // namespace
