#include <algorithm>
#include <sstream>

#include "RuntimeFixture.h"
#include "runtime/MetamodelOperations.h"

namespace mm = gr::metamodel;

namespace {

std::string nameOf(RepId id) {
  const char* name = GetTypeName(id);
  return name ? name : "";
}

std::vector<RepId> listed(RepIdList* list) {
  std::vector<RepId> ids;
  for (uint32_t i = 0; list && i < RepIdListCount(list); ++i) ids.push_back(RepIdListItem(list, i));
  if (list) RepIdListFree(list);
  return ids;
}

// Everything the store holds, as text: classes with their superclass,
// package, attributes and roles, then every object with its values and links.
std::string dump() {
  std::ostringstream out;
  std::vector<RepId> classes = listed(GetObjectTypeIdList());
  std::sort(classes.begin(), classes.end());
  for (RepId cls : classes) {
    out << "class " << nameOf(cls) << " < " << nameOf(GetExtendsId(cls)) << " in "
        << nameOf(GetPackageOf(cls)) << "\n";
    for (RepId attr : listed(GetPropertyTypeIdList(cls)))
      out << "  attr " << nameOf(attr) << ":" << GetPropertyBaseType(attr) << "\n";
    for (RepId role : listed(GetLinkTypeIdList(cls))) {
      RepId start = 0, end = 0, inverse = 0;
      GetLinkTypeAttributes1(role, &start, &end, &inverse);
      int kind = 0, compos = 0;
      GetLinkTypeAttributes2(role, &kind, &compos);
      out << "  role " << nameOf(role) << " -> " << nameOf(end) << " / " << nameOf(inverse) << " "
          << kind << " " << compos << " in " << nameOf(GetPackageOf(role)) << "\n";
    }
    for (uint32_t i = 0, n = GetObjectNum(cls); i < n; ++i) {
      RepId object = GetObjectIdByIndex(cls, i);
      if (GetObjectTypeId(object) != cls) continue;
      out << "  object " << object << "\n";
      for (RepId attr : listed(GetPropertyTypeIdList(cls))) {
        const char* value = GetPropertyValue(object, attr);
        out << "    " << nameOf(attr) << "=" << (value ? value : "") << "\n";
      }
      for (RepId role : listed(GetLinkTypeIdList(cls)))
        for (uint32_t p = 0, m = GetLinkedObjectNum(object, role); p < m; ++p)
          out << "    " << nameOf(role) << " " << GetLinkedObjectIdByIndex(object, role, p) << "\n";
    }
  }
  return out.str();
}

class MetamodelOperationsTest : public RuntimeFixture {
 protected:
  void SetUp() override {
    RuntimeFixture::SetUp();
    person = makeClass("Person");
    company = makeClass("Company");
    makeAttr(person, "name");
    makeAssoc(person, "employer", company, "employee");
    RepId object = CreateObject(person);
    AddProperty(object, GetPropertyTypeIdByName(person, "name"), "Anna");
    CreateLink(GetLinkTypeIdByName(person, "employer"), object, CreateObject(company));
  }
  // Runs a refused operation: a message, and the store as it was.
  template <typename Operation>
  void expectRefused(Operation operation, const std::string& message) {
    std::string before = dump();
    gr::clearRecordedMessages();
    operation();
    EXPECT_EQ(lastMessage(), message);
    EXPECT_EQ(dump(), before);
  }
  RepId person = 0, company = 0;
};

TEST_F(MetamodelOperationsTest, RefusalsLeaveTheStoreAsItWas) {
  expectRefused([] { EXPECT_FALSE(mm::addClass("")); }, "Class name can not be empty.");
  expectRefused([] { EXPECT_FALSE(mm::addClass("P::")); }, "Class name can not be empty.");
  expectRefused([] { EXPECT_FALSE(mm::addClass("Person")); }, "Class \"Person\" already exists.");
  expectRefused([] { EXPECT_FALSE(mm::addClass("Q::Person")); },
                "Class \"Q::Person\" already exists.");
  expectRefused([] { EXPECT_FALSE(mm::renameClass("Person", "Company")); },
                "Class \"Company\" already exists.");
  expectRefused([] { EXPECT_FALSE(mm::deleteClass("Person")); },
                "Class \"Person\" has objects and was not deleted.");
  expectRefused([] { EXPECT_FALSE(mm::deleteClass("Nobody")); },
                "Class \"Nobody\" does not exist.");
  expectRefused([] { EXPECT_FALSE(mm::addAttr("Nobody", "x", BaseType_STRING)); },
                "Class \"Nobody\" does not exist.\n Can not connect attribute \"x\".");
  expectRefused([] { EXPECT_FALSE(mm::addAttr("Person", "name", BaseType_INTEGER)); },
                "Error. Incompatible attribute types.\nClass \"Person\" already has attribute "
                "\"name.\n Attribute type redefinition requested.");
  expectRefused([] { EXPECT_FALSE(mm::addAttr("Company", "name", BaseType_BOOLEAN)); },
                "Error. Incompatible attribute types.\nGlobal attribute \"name\" type "
                "redefinition requested.");
  expectRefused([] { EXPECT_FALSE(mm::addAttr("Company", "", BaseType_STRING)); },
                "Attribute name can not be empty");
  expectRefused([] { EXPECT_FALSE(mm::renameAttr("Person", "nobody", "x")); },
                "Class \"Person\" has no attribute \"nobody\".");
  expectRefused([] { EXPECT_FALSE(mm::deleteAssoc("Person", "nobody")); },
                "Class \"Person\" has no role \"nobody\".");
}

TEST_F(MetamodelOperationsTest, AssociationsThatDoNotFitAreRefused) {
  const std::string failed =
      "Association \"employer\"/\"staff\" between classes \"Company\" \"Person\" was not created.";
  // Person objects already reach Company over "employer".
  expectRefused(
      [] {
        EXPECT_EQ(mm::addAssoc("Company", "employer", REP_MULT_MANY, "Person", "staff",
                               REP_MULT_MANY, false),
                  0u);
      },
      failed);
  expectRefused(
      [] { EXPECT_EQ(mm::addAssoc("Company", "", REP_MULT_MANY, "Person", "", 1, false), 0u); },
      "Association \"\"/\"\" between classes \"Company\" \"Person\" was not created.");
  expectRefused(
      [] {
        EXPECT_EQ(mm::addAssoc("Company", "P::owner", REP_MULT_MANY, "Person", "Q::owned",
                               REP_MULT_MANY, false),
                  0u);
      },
      "Association \"P::owner\"/\"Q::owned\" between classes \"Company\" \"Person\" was not "
      "created.");
  expectRefused(
      [] {
        EXPECT_EQ(mm::addAssoc("Nobody", "a", REP_MULT_MANY, "Person", "b", REP_MULT_MANY, false),
                  0u);
      },
      "Class \"Nobody\" does not exist.");
}

TEST_F(MetamodelOperationsTest, DifferentRolePackagesAreNamedBeforeTheFailure) {
  mm::addAssoc("Company", "P::owner", REP_MULT_MANY, "Person", "Q::owned", REP_MULT_MANY, false);
  ASSERT_GE(messages().size(), 2u);
  EXPECT_EQ(messages()[messages().size() - 2],
            "Assoc and inverse assoc can not be placed in different packages.");
}

TEST_F(MetamodelOperationsTest, ClassesAreMadeInTheirPackagesAndNamed) {
  ASSERT_TRUE(mm::addClass("Model::Shapes::Circle"));
  RepId circle = GetObjectTypeIdByName("Circle");
  ASSERT_NE(circle, 0u);
  EXPECT_EQ(nameOf(GetPackageOf(circle)), "Shapes");
  EXPECT_EQ(nameOf(GetPackageOf(GetPackageIdByName("Shapes"))), "Model");
  EXPECT_EQ(GetObjectTypeIdByName(mm::placeholderClassName().c_str()), 0u);
  ASSERT_TRUE(mm::addClass("Model::Shapes::Square"));
  EXPECT_EQ(GetPackageOf(GetObjectTypeIdByName("Square")), GetPackageOf(circle));
  // A package that exists under another parent is not moved.
  expectRefused([] { EXPECT_FALSE(mm::addClass("Other::Shapes::Line")); },
                "Can not place package \"Shapes\" to package\"Other\".");
}

TEST_F(MetamodelOperationsTest, AttributesAreSharedAndRenamedWithTheirValues) {
  // Same base type: silent; a global attribute of the name is attached.
  gr::clearRecordedMessages();
  EXPECT_TRUE(mm::addAttr("Person", "name", BaseType_STRING));
  EXPECT_TRUE(mm::addAttr("Company", "name", BaseType_STRING));
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(GetPropertyTypeIdByName(company, "name"), GetPropertyTypeIdByName(person, "name"));
  EXPECT_TRUE(mm::existsAttr("Company", "name", "String"));
  EXPECT_FALSE(mm::existsAttr("Company", "name", "Integer"));

  ASSERT_TRUE(mm::renameAttr("Person", "name", "fullName"));
  RepId fullName = GetPropertyTypeIdByName(person, "fullName");
  RepId anna = GetObjectIdByIndex(person, 0);
  EXPECT_STREQ(GetPropertyValue(anna, fullName), "Anna");
  EXPECT_EQ(GetPropertyTypeIdByName(person, "name"), 0u);
  EXPECT_NE(GetPropertyTypeIdByName(company, "name"), 0u);
  ASSERT_TRUE(mm::removeAttr("Company", "name"));
  EXPECT_FALSE(mm::existsAttr("Company", "name", "String"));
}

TEST_F(MetamodelOperationsTest, AssociationsGeneralisationsAndDeletion) {
  RepId role = mm::addAssoc("Person", "Org::member", REP_MULT_MANY, "Company", "Org::club",
                            REP_MULT_ZERO_ONE, true);
  ASSERT_NE(role, 0u);
  EXPECT_TRUE(mm::roleExists("Company", "member"));
  EXPECT_TRUE(mm::roleExists("Person", "club"));
  EXPECT_TRUE(mm::roleIsComposition("Company", "member"));
  EXPECT_FALSE(mm::roleIsComposition("Person", "club"));
  EXPECT_EQ(mm::endClassOfRole("Company", "member"), "Person");
  EXPECT_EQ(nameOf(GetPackageOf(role)), "Org");

  ASSERT_TRUE(mm::addClass("Employee"));
  ASSERT_TRUE(mm::addRel("Employee", "Person"));
  EXPECT_TRUE(mm::isStrictSubclass("Person", "Employee"));
  EXPECT_FALSE(mm::isStrictSubclass("Employee", "Person"));
  EXPECT_FALSE(mm::isStrictSubclass("Person", "Person"));
  expectRefused([] { EXPECT_FALSE(mm::deleteClass("Person")); },
                "Class \"Person\" has objects and was not deleted.");
  expectRefused([] { EXPECT_FALSE(mm::deleteRel("Employee", "Company")); },
                "Generalization between classes \"Employee\" Company\" was not deleted.");
  ASSERT_TRUE(mm::deleteRel("Employee", "Person"));
  ASSERT_TRUE(mm::renameClass("Employee", "Worker"));
  EXPECT_TRUE(mm::classExists("Worker"));
  ASSERT_TRUE(mm::deleteClass("Worker"));
  EXPECT_FALSE(mm::classExists("Worker"));
  ASSERT_TRUE(mm::deleteAssoc("Company", "member"));
  EXPECT_FALSE(mm::roleExists("Person", "club"));
}

TEST_F(MetamodelOperationsTest, IterationOverClassesAndAttributes) {
  std::vector<std::string> names;
  std::string name;
  for (bool found = mm::firstClass(name); found; found = mm::nextClass(name)) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"Person", "Company"}));
  makeAttr(person, "age", BaseType_INTEGER);
  std::vector<std::string> attrs;
  std::string attr, type;
  for (bool found = mm::firstAttr("Person", attr, type); found;
       found = mm::nextAttr("Person", attr, type))
    attrs.push_back(attr + ":" + type);
  EXPECT_EQ(attrs, (std::vector<std::string>{"name:String", "age:Integer"}));
  EXPECT_FALSE(mm::firstAttr("Nobody", attr, type));
}

TEST(MetamodelOperationsEmpty, FirstClassOfAnEmptyMetamodelFindsNothing) {
  ASSERT_TRUE(RepOpenMemory());
  std::string name;
  EXPECT_FALSE(mm::firstClass(name));
  RepCloseProject();
}

}  // namespace
