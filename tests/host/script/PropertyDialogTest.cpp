// Property dialogs of a defined tool, played against the behaviour library:
// the definition the configurator makes from the row types chosen for the
// compartment types, and the dialog generated from it for the tool's
// elements (sub-dialogs of "<-" buttons, tabs, validation, the order set in
// "Property Order").
#include "host/gestures/Gestures.h"
#include "tests/host/script/GestureFixture.h"

using grhost::model::attribute;
using grhost::model::className;
using grhost::model::partners;

namespace {

// A box type "Person" with "Name" (an input row), "Address" (an input row
// with a "<-" button) holding "Street" and "City", and "Kind" (a stereotype
// row); its dialog is left open on the type diagram.
const char* const kPersonType =
    "rightclick\n"
    "choose \"Specification Diagram\"\n"
    "box \"Seed\" as Seed\n"
    "press \"Close\"\n"
    "doubleclick Seed\n"
    "find Seed.target as Types\n"
    "box \"Box\" as PersonBox\n"
    "find PersonBox.target_type as Person\n"
    "type \"caption\" \"Person\"\n"
    "press \"AddChild\"\n"
    "type \"caption\" \"Name\"\n"
    "pick \"row_type\" \"InputRow\"\n"
    "node \"Person\"\n"
    "press \"AddChild\"\n"
    "type \"caption\" \"Address\"\n"
    "press \"AddChild\"\n"
    "type \"caption\" \"Street\"\n"
    "pick \"row_type\" \"InputRow\"\n"
    "node \"Person/Address\"\n"
    "press \"AddChild\"\n"
    "type \"caption\" \"City\"\n"
    "pick \"row_type\" \"InputRow\"\n"
    "node \"Person/Address\"\n"
    "pick \"row_type\" \"InputRow+Button\"\n"
    "node \"Person\"\n"
    "press \"AddChild\"\n"
    "type \"caption\" \"Kind\"\n"
    "pick \"row_type\" \"StereotypeRow\"\n"
    "expect nodes \"Person\" \"Person/Name\" \"Person/Address\" \"Person/Address/Street\" "
    "\"Person/Address/City\" \"Person/Kind\"\n"
    "find Person.propertyDiagram as Dialog\n"
    "find CompartType where id = \"Address\" as Address\n"
    "find Address.propertyRow as AddressRow\n"
    "find AddressRow.calledDiagram as SubDialog\n";

// The project diagram's box of the new diagram type, and its diagram opened.
const char* const kUseTheTool =
    "find GraphDiagram where caption = \"Demo\" as Project\n"
    "open Project\n"
    "box \"NewDiagram\" as Model\n"
    "press \"Close\"\n"
    "doubleclick Model\n";

class PropertyDialogTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithBehaviourLibrary();
    ASSERT_EQ(play(kPersonType), "");
  }
  static std::vector<std::string> ids(RepId owner, const std::string& role) {
    std::vector<std::string> texts;
    for (RepId partner : partners(owner, role)) texts.push_back(attribute(partner, "id"));
    return texts;
  }
  // The captions of the labels of the active form, depth first.
  std::vector<std::string> labels() {
    std::vector<std::string> texts;
    collectLabels(head().dialogs().activeForm(), texts);
    return texts;
  }
  static void collectLabels(RepId container, std::vector<std::string>& texts) {
    for (RepId component : partners(container, "component")) {
      if (className(component) == "D#Label") texts.push_back(attribute(component, "caption"));
      collectLabels(component, texts);
    }
  }
};

}  // namespace

TEST_F(PropertyDialogTest, AButtonRowsSubCompartmentTypesHaveTheirRowsInItsSubDialog) {
  EXPECT_EQ(ids(named("Dialog"), "propertyRow"),
            (std::vector<std::string>{"InputRow", "InputRow+Button", "StereotypeRow"}));
  EXPECT_EQ(attribute(named("SubDialog"), "id"), "Child Diagram");
  EXPECT_EQ(partners(named("SubDialog"), "propertyRow").size(), 2u);
  ASSERT_EQ(play(std::string("press \"Close\"\n") + kUseTheTool +
                 "box \"Person\" as Anna\n"
                 "expect form \"Person Properties\"\n"
                 "type \"Name\" \"Anna\"\n"
                 "press \"<-\"\n"
                 "expect form \"Address Properties\"\n"
                 "type \"Street\" \"Brīvības 1\"\n"
                 "type \"City\" \"Rīga\"\n"
                 "press \"Close\"\n"
                 "expect form \"Person Properties\"\n"
                 "press \"Close\"\n"
                 "expect no form\n"
                 "expect Anna compartment \"Street\" value \"Brīvības 1\"\n"
                 "expect Anna compartment \"City\" value \"Rīga\"\n"
                 "expect Anna compartment \"Name\" value \"Anna\"\n"),
            "");
  // The sub-compartments sit in their parent's compartment, in type order.
  RepId address = grhost::model::compartmentOfType(named("Anna"), "Address");
  ASSERT_TRUE(address);
  std::vector<std::string> subTypes;
  for (RepId sub : partners(address, "subCompartment"))
    subTypes.push_back(attribute(partner(sub, "compartType"), "id"));
  EXPECT_EQ(subTypes, (std::vector<std::string>{"Street", "City"}));
  // Reopened, the sub-dialog shows what was written.
  ASSERT_EQ(play("doubleclick Anna\npress \"<-\"\nexpect field \"City\" = \"Rīga\"\n"), "");
}

TEST_F(PropertyDialogTest, WithoutItsButtonARowsSubDialogIsDissolvedIntoTheDialogAbove) {
  RepId subDialog = named("SubDialog");
  ASSERT_EQ(play("node \"Person/Address\"\n"
                 "pick \"row_type\" \"InputRow\"\n"
                 "find CompartType where id = \"Street\" as Street\n"
                 "find Street.propertyRow as StreetRow\n"
                 "expect StreetRow.propertyDiagram -> Dialog\n"),
            "");
  EXPECT_FALSE(ObjectExists(subDialog));
  EXPECT_EQ(partners(named("Dialog"), "propertyRow").size(), 5u);
}

TEST_F(PropertyDialogTest, RowTypesAreGeneratedAsTheirFieldsAndInputIsValidated) {
  // The name field is checked by a procedure that always objects.
  {
    grhost::model::SaveTransaction transaction;
    RepId name = partners(named("Person"), "compartType").front();
    grhost::model::setAttribute(name, "procCheckCompartmentFieldEntered",
                                "grtest_procedures#class_of");
  }
  ASSERT_EQ(play(std::string("press \"Close\"\n") + kUseTheTool +
                 "box \"Person\" as Anna\n"
                 "type \"Name\" \"A\"\n"
                 "focus \"Kind\"\n"
                 "expect Anna compartment \"Name\" value \"A\"\n"),
            "");
  grhost::Gestures& gestures = player_->gestures();
  EXPECT_EQ(className(gestures.field("Kind")), "D#ComboBox") << "a stereotype row";
  EXPECT_EQ(className(gestures.field("Address")), "D#InputField");
  RepId name = gestures.field("Name");
  EXPECT_EQ(attribute(name, "outlineColor"), "255");
  EXPECT_EQ(attribute(name, "hint"), "class Compartment");
  EXPECT_EQ(labels(), (std::vector<std::string>{"Name", "Address", "Kind"}));
}

TEST_F(PropertyDialogTest, TabsAndTheOrderSetInPropertyOrderShapeTheGeneratedDialog) {
  // "Kind" goes into a tab of its own.
  ASSERT_EQ(play("node \"Person/Kind\"\n"
                 "type \"tab\" \"More\"\n"
                 "focus \"caption\"\n"
                 "find Dialog.propertyTab as MoreTab\n"
                 "expect MoreTab.caption = \"More\"\n"
                 "expect MoreTab.propertyRow count 1\n"
                 "press \"Close\"\n"
                 "rightclick PersonBox\n"
                 "choose \"Make Property Diagram Order\"\n"
                 "expect form \"Property Order\"\n"
                 "expect nodes \"Person\" \"Person/More\" \"Person/More/StereotypeRow\" "
                 "\"Person/InputRow\" \"Person/InputRow+Button\" "
                 "\"Person/InputRow+Button/Child Diagram\" "
                 "\"Person/InputRow+Button/Child Diagram/InputRow\" "
                 "\"Person/InputRow+Button/Child Diagram/InputRow\"\n"
                 "drag \"Person/InputRow+Button\" to \"Person\" at 2\n"
                 "press \"Close\"\n"
                 "expect no form\n"),
            "");
  EXPECT_EQ(ids(named("Dialog"), "propertyRow"),
            (std::vector<std::string>{"InputRow+Button", "InputRow"}));
  ASSERT_EQ(play(kUseTheTool + std::string("box \"Person\" as Anna\n")), "");
  EXPECT_EQ(labels(), (std::vector<std::string>{"Kind", "Address", "Name"}))
      << "the tab first, then the rows in their new order";
  RepId tab = grhost::DialogEngine::findComponent(head().dialogs().activeForm(), "D#Tab", "caption",
                                                  "More");
  EXPECT_TRUE(tab);
}

TEST_F(PropertyDialogTest, AMultiLineBoxWritesOneSubCompartmentPerLine) {
  ASSERT_EQ(play("node \"Person\"\n"
                 "press \"AddChild\"\n"
                 "type \"caption\" \"Phones\"\n"
                 "press \"AddChild\"\n"
                 "type \"caption\" \"Phone\"\n"
                 "pick \"row_type\" \"InputRow\"\n"
                 "node \"Person/Phones\"\n"
                 "pick \"row_type\" \"MultiLineTextBoxRow+Button\"\n"
                 "press \"Close\"\n" +
                 std::string(kUseTheTool) +
                 "box \"Person\" as Anna\n"
                 "type \"Phones\" \"111\\n222\\n333\"\n"
                 "focus \"Name\"\n"),
            "");
  RepId phones = grhost::model::compartmentOfType(named("Anna"), "Phones");
  ASSERT_TRUE(phones);
  std::vector<std::string> lines;
  for (RepId sub : partners(phones, "subCompartment")) lines.push_back(attribute(sub, "value"));
  EXPECT_EQ(lines, (std::vector<std::string>{"111", "222", "333"}));
  ASSERT_EQ(play("type \"Phones\" \"999\"\nfocus \"Name\"\npress \"Close\"\n"
                 "doubleclick Anna\nexpect field \"Phones\" = \"999\"\n"),
            "");
  EXPECT_EQ(partners(phones, "subCompartment").size(), 1u) << "the lines gone are deleted";
}

TEST_F(PropertyDialogTest, ABoxTypeNavigatingToADiagramTypeMakesADiagramForEachBox) {
  ASSERT_EQ(play("node \"Person\"\n"
                 "pick \"navigate\" \"NewDiagram\"\n"
                 "focus \"caption\"\n"
                 "find GraphDiagramType where id = \"NewDiagram\" as Tool\n"
                 "expect Person.target -> Tool\n"
                 "expect Person.l2ClickEvent = \"navigate\"\n"
                 "expect Person.procCreateElementDomain = \"create_test_dgr\"\n"
                 "type \"navigate\" \"\"\n"
                 "focus \"caption\"\n"
                 "expect Person.target -> none\n"
                 "expect Person.l2ClickEvent = \"properties_test\"\n"),
            "");
  // Every diagram type but the seed diagram's and the project diagram's: the
  // type diagrams' type has no caption.
  EXPECT_EQ(play("expect items \"navigate\" \"\" \"NewDiagram\""), "");
}
