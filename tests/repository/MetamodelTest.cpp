#include <string>

#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

using MetamodelTest = MemoryStoreTest;

TEST_F(MetamodelTest, ClassHierarchyKeepsSubclassOrderAndRefusesCycles) {
  RepId thing = CreateObjectType("Thing");
  RepId element = CreateObjectType1("Element", thing);
  RepId node = CreateObjectType1("Node", element);
  RepId diagram = CreateObjectType1("Diagram", thing);
  ASSERT_NE(0u, node);

  EXPECT_EQ((std::vector<RepId>{element, diagram}), idsOf(GetExtensionIdList(thing)));
  EXPECT_EQ(element, GetExtendsId(node));
  EXPECT_TRUE(ExtendsExtends(node, thing));
  EXPECT_TRUE(ExtendsExtends(node, node));
  EXPECT_FALSE(ExtendsExtends(thing, node));
  EXPECT_FALSE(ExtendsExtends(diagram, element));

  EXPECT_EQ(0u, CreateObjectType("Node")) << "class names are unique";
  EXPECT_STRNE("", RepLastError());
  EXPECT_EQ(0u, CreateObjectType1("Orphan", 999999)) << "no such superclass";

  EXPECT_FALSE(UpdateObjectType(thing, "Root", node)) << "cycle";
  EXPECT_FALSE(UpdateObjectType(thing, "Root", thing)) << "self";
  EXPECT_STREQ("Thing", GetTypeName(thing)) << "a refused update renames nothing";
  EXPECT_FALSE(UpdateObjectType(diagram, "Node", thing)) << "name taken";

  // Moving a class appends it to its new superclass's subclasses.
  ASSERT_TRUE(UpdateObjectType(diagram, "", element));
  EXPECT_STREQ("Diagram", GetTypeName(diagram));
  EXPECT_EQ((std::vector<RepId>{node, diagram}), idsOf(GetExtensionIdList(element)));
  EXPECT_EQ((std::vector<RepId>{element}), idsOf(GetExtensionIdList(thing)));
  ASSERT_TRUE(UpdateObjectType(node, "Box", 0));
  EXPECT_EQ(0u, GetExtendsId(node));
  EXPECT_EQ(node, GetObjectTypeIdByName("Box"));
  EXPECT_EQ(0u, GetObjectTypeIdByName("Node"));

  ASSERT_TRUE(UpdateObjectType1(node, "Node"));
  EXPECT_FALSE(UpdateObjectType1(node, "")) << "a class needs a name";
  EXPECT_EQ((std::vector<RepId>{thing, element, node, diagram}), idsOf(GetObjectTypeIdList()));
}

TEST_F(MetamodelTest, DeleteObjectTypeNeedsNoSubclassesNoObjectsAndTakesItsLinkTypes) {
  RepId base = CreateObjectType("Base");
  RepId derived = CreateObjectType1("Derived", base);
  RepId other = CreateObjectType("Other");
  RepId role = CreateLinkType(other, "deriveds", REP_MULT_MANY, 1, derived, "other",
                              REP_MULT_ZERO_ONE, 0, 0);
  ASSERT_NE(0u, role);

  EXPECT_FALSE(DeleteObjectType(base)) << "has a subclass";
  RepId object = CreateObject(derived);
  EXPECT_FALSE(DeleteObjectType(derived)) << "has an object";
  ASSERT_TRUE(DeleteObjectHard(object));

  ASSERT_TRUE(DeleteObjectType(derived));
  EXPECT_EQ(0u, GetObjectTypeIdByName("Derived"));
  EXPECT_EQ(0u, GetLinkTypeIdByName(other, "deriveds"));
  EXPECT_STREQ("", GetTypeName(role));
  EXPECT_TRUE(idsOf(GetExtensionIdList(base)).empty());
  EXPECT_TRUE(DeleteObjectType(base));

  RepId again = CreateObjectType("Derived");
  EXPECT_GT(again, role + 1) << "ids are never reused";
}

TEST_F(MetamodelTest, AttributeBaseTypesAndVisibility) {
  for (int code : {4, 5, 6, 8, -1})
    EXPECT_EQ(0u, CreatePropertyType(("bad" + std::to_string(code)).c_str(), code));
  RepId name = CreatePropertyType("name", BaseType_STRING);
  RepId count = CreatePropertyType("count", BaseType_INTEGER);
  RepId width = CreatePropertyType("width", BaseType_FLOAT);
  RepId shown = CreatePropertyType("shown", BaseType_BOOLEAN);
  RepId kind = CreatePropertyType1("kind", BaseType_ENUMERATION, "KindEnum");
  EXPECT_EQ(0u, CreatePropertyType("name", BaseType_INTEGER)) << "attribute names are unique";

  EXPECT_EQ(REP_STRING, GetPropertyBaseType(name));
  EXPECT_EQ(REP_INTEGER, GetPropertyBaseType(count));
  EXPECT_EQ(REP_REAL, GetPropertyBaseType(width));
  EXPECT_EQ(REP_BOOLEAN, GetPropertyBaseType(shown));
  EXPECT_EQ(REP_ENUM, GetPropertyBaseType(kind));
  int baseType = -1;
  const char* enumName = nullptr;
  ASSERT_TRUE(GetPropertyTypeAttributes(kind, &baseType, &enumName));
  EXPECT_EQ(REP_ENUM, baseType);
  EXPECT_STREQ("KindEnum", enumName);
  ASSERT_TRUE(GetPropertyTypeAttributes(count, &baseType, &enumName));
  EXPECT_STREQ("", enumName);

  RepId element = CreateObjectType("Element");
  RepId node = CreateObjectType1("Node", element);
  ASSERT_TRUE(AddPropertyType(node, count));
  ASSERT_TRUE(AddPropertyType(element, name));
  ASSERT_TRUE(AddPropertyType(element, kind));
  EXPECT_FALSE(AddPropertyType(node, name)) << "inherited already";
  EXPECT_FALSE(AddPropertyType(element, name)) << "attached already";

  EXPECT_EQ(name, GetPropertyTypeIdByName(node, "name"));
  EXPECT_EQ(count, GetPropertyTypeIdByName(node, "count"));
  EXPECT_EQ(0u, GetPropertyTypeIdByName(element, "count"));
  EXPECT_EQ(width, GetPropertyTypeIdByName(0, "width")) << "class 0 is the global lookup";
  EXPECT_EQ((std::vector<RepId>{name, kind, count}), idsOf(GetPropertyTypeIdList(node)));

  // Attached to a superclass after a subclass had it: listed once.
  ASSERT_TRUE(AddPropertyType(element, count));
  EXPECT_EQ((std::vector<RepId>{name, kind, count}), idsOf(GetPropertyTypeIdList(node)));
  EXPECT_FALSE(RemovePropertyType(node, name)) << "not the subclass's own";
  ASSERT_TRUE(RemovePropertyType(element, name));
  EXPECT_EQ(0u, GetPropertyTypeIdByName(node, "name"));
  EXPECT_EQ(name, GetPropertyTypeIdByName(0, "name")) << "still a global attribute";

  ASSERT_TRUE(DeletePropertyType(kind));
  EXPECT_EQ((std::vector<RepId>{count}), idsOf(GetPropertyTypeIdList(element)));
  EXPECT_EQ(0u, GetPropertyTypeIdByName(0, "kind"));
}

TEST_F(MetamodelTest, LinkTypePairsDescribeBothEnds) {
  RepId whole = CreateObjectType("Diagram");
  RepId part = CreateObjectType("Element");
  RepId elements =
      CreateLinkType(whole, "element", REP_MULT_MANY, 1, part, "graphDiagram", REP_MULT_ONE, 0, 1);
  ASSERT_NE(0u, elements);
  RepId diagram = GetInverseLinkTypeId(elements);
  EXPECT_EQ(elements, GetInverseLinkTypeId(diagram));
  EXPECT_EQ(elements, GetLinkTypeIdByName(whole, "element"));
  EXPECT_EQ(diagram, GetLinkTypeIdByName(part, "graphDiagram"));
  EXPECT_EQ(0u, GetLinkTypeIdByName(part, "element")) << "roles lead out of their start class only";

  RepId start = 0, end = 0, inverse = 0;
  ASSERT_TRUE(GetLinkTypeAttributes1(diagram, &start, &end, &inverse));
  EXPECT_EQ((std::vector<RepId>{part, whole, elements}), (std::vector<RepId>{start, end, inverse}));
  int kind = 0, role = 0, multiplicity = 0, ordered = 0;
  ASSERT_TRUE(GetLinkTypeAttributes2(elements, &kind, &role));
  EXPECT_EQ(REP_KIND_COMPOSITION, kind);
  EXPECT_EQ(REP_COMPOS_WHOLE, role);
  ASSERT_TRUE(GetLinkTypeAttributes2(diagram, &kind, &role));
  EXPECT_EQ(REP_COMPOS_PART, role);
  ASSERT_TRUE(GetLinkTypeAttributes3(elements, &multiplicity, &ordered));
  EXPECT_EQ(REP_MULT_MANY, multiplicity);
  EXPECT_EQ(1, ordered);
  ASSERT_TRUE(GetLinkTypeAttributes3(diagram, &multiplicity, &ordered));
  EXPECT_EQ(REP_MULT_ONE, multiplicity);
  EXPECT_EQ(0, ordered);

  RepId plain =
      CreateLinkType(part, "next", REP_MULT_ZERO_ONE, 0, part, "", REP_MULT_ZERO_ONE, 0, 0);
  ASSERT_NE(0u, plain);
  ASSERT_TRUE(GetLinkTypeAttributes2(plain, &kind, &role));
  EXPECT_EQ(REP_KIND_ASSOCIATION, kind);
  EXPECT_EQ(REP_COMPOS_NONE, role);
  EXPECT_STREQ("", GetTypeName(GetInverseLinkTypeId(plain)));
  EXPECT_EQ(0u, GetLinkTypeIdByName(part, ""));

  EXPECT_EQ(0u, CreateLinkType(part, "", 2, 0, whole, "", 2, 0, 0)) << "both names empty";
  EXPECT_EQ(0u, CreateLinkType(part, "x", 5, 0, whole, "y", 2, 0, 0)) << "bad multiplicity";
  EXPECT_EQ(0u, CreateLinkType(part, "x", 2, 0, whole, "y", 0, 0, 0)) << "bad multiplicity";
  EXPECT_EQ(0u, CreateLinkType(whole, "element", 2, 0, part, "other", 2, 0, 0)) << "role taken";
  EXPECT_EQ(0u, CreateLinkType(part, "same", 2, 0, part, "same", 2, 0, 0));
  EXPECT_EQ(0u, CreateLinkType(part, "x", 2, 0, 424242, "y", 2, 0, 0)) << "no such class";
}

TEST_F(MetamodelTest, InheritedRolesAreListedSuperclassFirstAndFoundNearestFirst) {
  RepId element = CreateObjectType("Element");
  RepId node = CreateObjectType1("Node", element);
  RepId compartment = CreateObjectType("Compartment");
  RepId nodeItems = CreateLinkType(node, "items", 2, 0, compartment, "node", 1, 0, 0);
  RepId compartments =
      CreateLinkType(element, "compartment", 2, 1, compartment, "element", 1, 0, 1);
  RepId elementItems = CreateLinkType(element, "items", 2, 0, compartment, "owner", 1, 0, 0);
  ASSERT_NE(0u, elementItems);
  EXPECT_EQ(0u, CreateLinkType(node, "compartment", 2, 0, compartment, "z", 1, 0, 0))
      << "a role visible from the start class is taken";

  EXPECT_EQ(nodeItems, GetLinkTypeIdByName(node, "items")) << "nearest first";
  EXPECT_EQ(elementItems, GetLinkTypeIdByName(element, "items"));
  EXPECT_EQ(compartments, GetLinkTypeIdByName(node, "compartment"));
  EXPECT_EQ((std::vector<RepId>{compartments, elementItems, nodeItems}),
            idsOf(GetLinkTypeIdList(node)));
  EXPECT_EQ((std::vector<RepId>{compartments, elementItems}), idsOf(GetLinkTypeIdList(element)));
  EXPECT_EQ(nullptr, GetLinkTypeIdList(9999)) << "no list for a missing class";

  ASSERT_TRUE(DeleteLinkType(GetInverseLinkTypeId(elementItems)));
  EXPECT_EQ(0u, GetLinkTypeIdByName(element, "items"));
  EXPECT_EQ(0u, GetLinkTypeIdByName(compartment, "owner"));
}

TEST_F(MetamodelTest, PackagesNestWithoutCyclesAndHoldAnyType) {
  RepId outer = CreatePackage("Outer", 0);
  RepId inner = CreatePackage("Inner", outer);
  ASSERT_NE(0u, inner);
  EXPECT_EQ(0u, CreatePackage("Inner", 0)) << "package names are unique";
  EXPECT_EQ(0u, CreatePackage("Loose", 4242)) << "no such parent";
  EXPECT_EQ(inner, GetPackageIdByName("Inner"));
  EXPECT_EQ(outer, GetPackageOf(inner));
  EXPECT_FALSE(SetPackage(outer, inner)) << "cycle";
  EXPECT_FALSE(SetPackage(outer, outer)) << "cycle";

  RepId cls = CreateObjectType("Inner");
  EXPECT_NE(0u, cls) << "classes and packages have separate names";
  RepId attr = CreatePropertyType("a", 0);
  RepId role = CreateLinkType(cls, "r", 2, 0, cls, "s", 2, 0, 0);
  ASSERT_TRUE(SetPackage(cls, inner));
  ASSERT_TRUE(SetPackage(attr, outer));
  ASSERT_TRUE(SetPackage(role, inner));
  EXPECT_FALSE(SetPackage(cls, 777777));
  EXPECT_EQ(inner, GetPackageOf(cls));
  EXPECT_EQ(outer, GetPackageOf(attr));
  EXPECT_EQ(inner, GetPackageOf(GetInverseLinkTypeId(role))) << "a pair shares its package";
  EXPECT_STREQ("Outer", GetTypeName(outer));
  EXPECT_STREQ("a", GetTypeName(attr));
  EXPECT_STREQ("r", GetTypeName(role));
  EXPECT_STREQ("", GetTypeName(CreateObject(cls))) << "objects are not types";
}

TEST(RepositoryWithoutStore, RefusesEverythingAndSaysWhy) {
  ASSERT_FALSE(RepIsOpen());
  EXPECT_EQ(0u, CreateObjectType("X"));
  EXPECT_STREQ("no store is open", RepLastError());
  EXPECT_FALSE(ObjectExists(1));
  EXPECT_FALSE(StartSaveTransaction1(0, 0, ""));
  EXPECT_FALSE(RepCloseProject());
  ASSERT_TRUE(RepOpenMemory());
  EXPECT_FALSE(RepOpenMemory()) << "one store per process";
  EXPECT_FALSE(CommitSaveTransaction()) << "no transaction open";
  EXPECT_TRUE(RepCloseProject());
}

}  // namespace
}  // namespace reptest
