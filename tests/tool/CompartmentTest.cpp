#include "ToolFixture.h"
#include "host/system/Regex.h"
#include "tool/Compartment.h"
#include "tool/Deletecollection.h"
#include "tool/Element.h"

namespace {

// A compartment type "pair" whose value is "first:second", split and joined
// by the default procedures; the parts are not essential, so they appear
// when a value needs them.
class CompartmentTest : public ToolFixture {
 protected:
  void SetUp() override {
    ToolFixture::SetUp();
    nodeType = type("NodeType", "box");
    pairType = compartType(nodeType, "compartType", "pair");
    pairType.setAttr("concatStyle", ":");
    pairType.setAttr("procCompose", "default_compose");
    pairType.setAttr("procDecompose", "default_decompose");
    pairType.setAttr("isEssential", "true");
    firstPart = compartType(pairType, "subCompartType", "first");
    secondPart = compartType(pairType, "subCompartType", "second");
    node = L0_Func_create_node(nodeType, diagram, L0_Var_2("Node"));
    pairCompartment = first(node, "compartment");
  }

  static L0_Var_2 compartType(L0_Var_2 owner, const std::string& role, const std::string& id) {
    L0_Var_2 t = create("CompartType");
    t.setAttr("id", id);
    owner.addLink(t, role);
    return t;
  }
  static std::vector<std::string> childInputs(const L0_Var_2& compartment) {
    return attrs(over(compartment, "subCompartment"), "input");
  }
  static std::vector<std::string> childValues(const L0_Var_2& compartment) {
    return attrs(over(compartment, "subCompartment"), "value");
  }

  L0_Var_2 nodeType, pairType, firstPart, secondPart, node, pairCompartment;
};

// Parses as grtool does, with PCRE2.
class ParsingHost : public RecordingHost {
 public:
  std::string parse(const std::string& expression, const std::string& text,
                    const std::string& separator) override {
    grhost::ParseResult result = grhost::parseWithExpression(expression, text, separator);
    if (!result.error.empty()) ADD_FAILURE() << result.error;
    return result.value;
  }
};

TEST_F(CompartmentTest, DecomposingCreatesOneChildPerNonEmptySubValue) {
  ASSERT_FALSE(pairCompartment.isNull());
  L0_Func_set_compartment_value(pairCompartment, "a:b");
  EXPECT_EQ(childInputs(pairCompartment), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(attr(pairCompartment, "input"), "a:b");

  L0_Var_2 other = L0_Func_create_compartment(node, pairType);
  L0_Func_set_compartment_value(other, "only");
  EXPECT_EQ(childInputs(other), (std::vector<std::string>{"only"}));
}

TEST_F(CompartmentTest, ChildrenFollowTheOrderOfTheirTypes) {
  L0_Func_set_compartment_value(pairCompartment, ":late");
  EXPECT_EQ(childInputs(pairCompartment), (std::vector<std::string>{"late"}));
  L0_Func_set_compartment_value(pairCompartment, "early:late");
  Objects children = over(pairCompartment, "subCompartment");
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(first(children[0], "compartType"), firstPart);
  EXPECT_EQ(first(children[1], "compartType"), secondPart);
}

TEST_F(CompartmentTest, ComposingSkipsEmptyParts) {
  L0_Var_2 third = compartType(pairType, "subCompartType", "third");
  L0_Func_set_compartment_value(pairCompartment, "a:b");
  L0_Var_2 last = L0_Func_create_compartment(pairCompartment, third);
  L0_Func_set_compartment_value(last, "c");
  EXPECT_EQ(attr(pairCompartment, "value"), "a:b:c");
  L0_Var_2 middle = over(pairCompartment, "subCompartment")[1];
  L0_Func_set_compartment_value_helper(middle, "", "", true);
  EXPECT_EQ(attr(pairCompartment, "value"), "a:c");
  EXPECT_EQ(L0_Func_default_compose(pairCompartment), "a:c");
}

TEST_F(CompartmentTest, AnUnknownDirectionOnlySetsValueAndInput) {
  L0_Func_set_compartment_value(pairCompartment, "a:b");
  L0_Func_set_compartment_value_helper(pairCompartment, "x:y", "sideways", true);
  EXPECT_EQ(attr(pairCompartment, "value"), "x:y");
  EXPECT_EQ(attr(pairCompartment, "input"), "x:y");
  EXPECT_EQ(childInputs(pairCompartment), (std::vector<std::string>{"a", "b"}));
}

TEST_F(CompartmentTest, ASameValueChangesNothing) {
  firstPart.setAttr("procFieldEntered", "no_such_transformation");
  L0_Func_set_compartment_value(pairCompartment, "a:b");
  L0_Var_2 child = over(pairCompartment, "subCompartment")[0];
  gr::clearRecordedMessages();
  L0_Func_set_compartment_value(child, "a");  // equal: not even the procedure is looked for
  EXPECT_TRUE(messages().empty());
  L0_Func_set_compartment_value(child, "z");
  EXPECT_FALSE(messages().empty());  // the procedure was looked for, and is missing
  EXPECT_EQ(attr(pairCompartment, "value"), "z:b");
}

TEST_F(CompartmentTest, InputCarriesAdornmentsAndNotations) {
  L0_Var_2 stereotype = compartType(nodeType, "compartType", "stereotype");
  stereotype.setAttr("adornmentPrefix", "«");
  stereotype.setAttr("adornmentSuffix", "»");
  L0_Var_2 compartment = L0_Func_create_compartment(node, stereotype);
  L0_Func_set_compartment_value(compartment, "entity");
  EXPECT_EQ(attr(compartment, "input"), "«entity»");
  L0_Func_set_compartment_value(compartment, "«actor»");
  EXPECT_EQ(attr(compartment, "input"), "«actor»");
  L0_Func_set_compartment_value(compartment, "");
  EXPECT_EQ(attr(compartment, "input"), "");

  L0_Var_2 item = create("ChoiceItem");
  item.setAttr("value", "public");
  stereotype.addLink(item, "choiceItem");
  L0_Var_2 notation = create("Notation");
  notation.setAttr("value", "+");
  item.addLink(notation, "notation");
  L0_Func_set_compartment_value(compartment, "public");
  EXPECT_EQ(first(compartment, "selectedItem"), item);
  EXPECT_EQ(attr(compartment, "input"), "+");
  L0_Func_set_compartment_value(compartment, "private");
  EXPECT_TRUE(first(compartment, "selectedItem").isNull());
}

TEST_F(CompartmentTest, AStereotypePictureReplacesTheInput) {
  L0_Var_2 stereotype = compartType(nodeType, "compartType", "stereotype");
  L0_Var_2 row = create("PropertyRow");
  row.setAttr("rowType", "StereotypeRow");
  stereotype.addLink(row, "propertyRow");
  L0_Var_2 pictured = create("ChoiceItem");
  pictured.setAttr("value", "actor");
  stereotype.addLink(pictured, "choiceItem");
  L0_Var_2 style = create("CompartStyle");
  style.setAttr("picture", "actor.bmp");
  style.addLink(stereotype, "compartType");
  pictured.addLink(style, "compartStyleByChoiceItem");
  L0_Var_2 plain = create("ChoiceItem");
  plain.setAttr("value", "entity");
  stereotype.addLink(plain, "choiceItem");

  L0_Var_2 compartment = L0_Func_create_compartment(node, stereotype);
  L0_Func_set_compartment_value(compartment, "actor");
  EXPECT_EQ(attr(compartment, "value"), "actor");
  EXPECT_EQ(attr(compartment, "input"), "");
  EXPECT_EQ(first(compartment, "compartStyle"), style);
  L0_Func_set_compartment_value(compartment, "entity");
  EXPECT_EQ(attr(compartment, "input"), "entity");
}

TEST_F(CompartmentTest, ChoiceItemsSelectTheElementStyle) {
  L0_Var_2 kind = compartType(nodeType, "compartType", "kind");
  L0_Var_2 item = create("ChoiceItem");
  item.setAttr("value", "abstract");
  kind.addLink(item, "choiceItem");
  L0_Var_2 italic = create("NodeStyle");
  item.addLink(italic, "elemStyleByChoiceItem");
  L0_Var_2 defaultStyle = first(nodeType, "elemStyle");
  L0_Var_2 compartment = L0_Func_create_compartment(node, kind);
  L0_Func_set_compartment_value(compartment, "abstract");
  EXPECT_EQ(over(node, "elemStyle"), (Objects{italic}));
  L0_Func_set_compartment_value(compartment, "concrete");
  EXPECT_EQ(over(node, "elemStyle"), (Objects{defaultStyle}));
}

TEST_F(CompartmentTest, AValueWithoutStyledItemsKeepsTheElementsLook) {
  L0_Var_2 own = create("NodeStyle");
  L0_Var_2 defaultStyle = first(nodeType, "elemStyle");
  node.deleteLink(defaultStyle, "elemStyle");
  node.addLink(own, "elemStyle");
  L0_Var_2 plain = compartType(nodeType, "compartType", "plain");
  L0_Var_2 item = create("ChoiceItem");
  item.setAttr("value", "x");
  plain.addLink(item, "choiceItem");
  L0_Var_2 compartment = L0_Func_create_compartment(node, plain);
  L0_Func_set_compartment_value(compartment, "x");
  L0_Func_set_compartment_value(compartment, "y");
  EXPECT_EQ(over(node, "elemStyle"), (Objects{own}));
}

TEST_F(CompartmentTest, TheRegularExpressionEscapesSpecialCharacters) {
  firstPart.setAttr("adornmentPrefix", "[");
  secondPart.setAttr("adornmentSuffix", "*");
  pairType.setAttr("concatStyle", "|");
  L0_Var_2 plus = create("ChoiceItem");
  plus.setAttr("value", "a+b");
  secondPart.addLink(plus, "choiceItem");
  L0_Var_2 dollar = create("ChoiceItem");
  dollar.setAttr("value", "x");
  L0_Var_2 notation = create("Notation");
  notation.setAttr("value", "$(x)");
  dollar.addLink(notation, "notation");
  secondPart.addLink(dollar, "choiceItem");
  EXPECT_EQ(L0_Func_regexp_for_default_decompose(pairCompartment),
            "(\\[(?:(?!\\|).)*)?(?(1)(?:\\||$))((?:a\\+b|\\$\\(x\\))\\*)?.*");
  EXPECT_EQ(L0_Func_padded_string(".[{}()\\*+?|^$"), "\\.\\[\\{\\}\\(\\)\\\\\\*\\+\\?\\|\\^\\$");
}

TEST_F(CompartmentTest, BlockingFollowsTheBlockingProcedure) {
  L0_Var_2 guard = compartType(nodeType, "compartType", "guard");
  L0_Var_2 guarded = compartType(nodeType, "compartType", "guarded");
  guard.addLink(guarded, "blocking");
  L0_Var_2 guardedCompartment = L0_Func_create_compartment(node, guarded);
  L0_Var_2 guardCompartment = L0_Func_create_compartment(node, guard);
  // The test library's check answers true for any compartment.
  guard.setAttr("procBlockingFieldEntered", "grtest_procedures#is_bound");
  L0_Func_set_compartment_value(guardCompartment, "x");
  EXPECT_EQ(attr(guardedCompartment, "isBlocked"), "true");
  // A check that cannot be found answers false: the field opens again.
  guard.setAttr("procBlockingFieldEntered", "no_such_check");
  L0_Func_set_compartment_value(guardCompartment, "y");
  EXPECT_EQ(attr(guardedCompartment, "isBlocked"), "false");
}

TEST_F(CompartmentTest, DeletingACompartmentTakesItsSubtree) {
  L0_Func_set_compartment_value(pairCompartment, "a:b");
  EXPECT_EQ(all("Compartment").size(), 3u);
  L0_Func_delete_compartment(pairCompartment);
  EXPECT_TRUE(all("Compartment").empty());
  EXPECT_TRUE(over(node, "compartment").empty());
}

TEST_F(CompartmentTest, CEntriesTakeObjectIds) {
  uint32_t created = create_compartment(node.getCurrObjID(), pairType.getCurrObjID(), true, "p:q");
  ASSERT_NE(created, 0u);
  L0_Var_2 compartment = L0_Var_2::fromObjectId(created);
  EXPECT_EQ(attr(compartment, "input"), "p:q");
  EXPECT_EQ(childInputs(compartment), (std::vector<std::string>{"p", "q"}));
  set_compartment_value(created, "r:s");
  EXPECT_EQ(childInputs(compartment), (std::vector<std::string>{"r", "s"}));
  delete_compartment(created);
  EXPECT_FALSE(ObjectExists(created));

  // A deleted object arrives as a null variable: nothing is created.
  uint32_t gone = node.getCurrObjID();
  L0_Func_delete_element(node);
  std::size_t before = all("Compartment").size();
  EXPECT_EQ(create_compartment(gone, pairType.getCurrObjID(), false, "x"), 0u);
  set_compartment_value(gone, "y");
  EXPECT_EQ(all("Compartment").size(), before);
}

// The start value splits into the essential parts, which are not made again.
TEST_F(CompartmentTest, AStartValueAndEssentialPartsGiveOneChildEach) {
  firstPart.setAttr("isEssential", "true");
  secondPart.setAttr("isEssential", "true");
  pairType.setAttr("startValue", "a:b");
  L0_Var_2 compartment = L0_Func_create_compartment(node, pairType);
  EXPECT_EQ(childInputs(compartment), (std::vector<std::string>{"a", "b"}));
  L0_Var_2 fresh = L0_Func_create_node(nodeType, diagram, L0_Var_2("Node"));
  EXPECT_EQ(childInputs(first(fresh, "compartment")), (std::vector<std::string>{"a", "b"}));
  // Without a start value both parts are made empty.
  pairType.setAttr("startValue", "");
  EXPECT_EQ(childInputs(L0_Func_create_compartment(node, pairType)),
            (std::vector<std::string>{"", ""}));
}

// "{a:b}" is the value "a:b" in its adornments: every decompose procedure
// splits "a:b".
TEST_F(CompartmentTest, DecomposingSeesTheValueWithoutItsAdornments) {
  ParsingHost parsing;
  gr::setHost(&parsing);
  pairType.setAttr("adornmentPrefix", "{");
  pairType.setAttr("adornmentSuffix", "}");
  for (const char* procedure :
       {"default_decompose", "default_decompose_new", "grtest_procedures#input_as_sub_values"}) {
    pairType.setAttr("procDecompose", procedure);
    L0_Var_2 compartment = L0_Func_create_compartment(node, pairType);
    std::string value = std::string(procedure).find('#') == std::string::npos ? "a:b" : "a$b";
    L0_Func_set_compartment_value(compartment, value);
    EXPECT_EQ(childInputs(compartment), (std::vector<std::string>{"a", "b"})) << procedure;
    EXPECT_EQ(attr(compartment, "input"), "{" + value + "}") << procedure;
  }
  // Values made from a text: the part values carry no adornment either.
  pairType.setAttr("procDecompose", "default_decompose_new");
  L0_Var_2 made = L0_Func_create_compartment_helper(node, pairType, "{p:q}", true);
  EXPECT_EQ(childInputs(made), (std::vector<std::string>{"p", "q"}));
  EXPECT_TRUE(messages().empty()) << messages().front();
}

// The generated expression through the host's parse: prefixes, suffixes and
// notations of the parts.
TEST_F(CompartmentTest, DefaultDecomposeNewSplitsByTheTypesParts) {
  ParsingHost parsing;
  gr::setHost(&parsing);
  pairType.setAttr("procDecompose", "default_decompose_new");
  secondPart.setAttr("adornmentPrefix", "[");
  secondPart.setAttr("adornmentSuffix", "]");
  L0_Func_set_compartment_value(pairCompartment, "a:[b]");
  EXPECT_EQ(childInputs(pairCompartment), (std::vector<std::string>{"a", "[b]"}));
  EXPECT_EQ(childValues(pairCompartment), (std::vector<std::string>{"a", "b"}));
  L0_Func_set_compartment_value(pairCompartment, "c");
  EXPECT_EQ(childValues(pairCompartment), (std::vector<std::string>{"c", ""}));

  L0_Var_2 many = create("ChoiceItem");
  many.setAttr("value", "many");
  L0_Var_2 star = create("Notation");
  star.setAttr("value", "*");
  many.addLink(star, "notation");
  secondPart.addLink(many, "choiceItem");
  secondPart.setAttr("adornmentPrefix", "");
  secondPart.setAttr("adornmentSuffix", "");
  L0_Func_set_compartment_value(pairCompartment, "d:*");
  EXPECT_EQ(childInputs(pairCompartment), (std::vector<std::string>{"d", "*"}));
  EXPECT_EQ(childValues(pairCompartment), (std::vector<std::string>{"d", "many"}));
  EXPECT_TRUE(messages().empty()) << messages().front();
}

// An element has no value to split: its essential compartments start empty.
TEST_F(CompartmentTest, SubCompartmentsOfAnElementAreMadeWithoutDecomposing) {
  L0_Var_2 bare = create("Node");
  L0_Func_create_subcompartments(bare, nodeType, "compartType", "CompartType", true);
  Objects made = over(bare, "compartment");
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(first(made[0], "compartType"), pairType);
  EXPECT_TRUE(messages().empty()) << messages().front();
}

}  // namespace
