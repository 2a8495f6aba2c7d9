#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/repository.h"
#include "runtime/GraphExchange.h"
#include "runtime/MessageSink.h"
#include "tests/TestFolder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kMetamodelDir =
    fs::path(__FILE__).parent_path().parent_path().parent_path() / "metamodels";

// The host loads the engines' own metamodels before the first event; Main
// then loads the other three for a new project.
const std::vector<std::string> kLoadOrder = {
    "HeadEngineMetamodel.txt",      "GraphDiagramEngineMetamodel.txt", "DialogEngineMetamodel.txt",
    "MultiUserEngineMetamodel.txt", "TypeAndMappingMetamodel.txt",     "DomainMetamodel.txt",
    "ImportExportMetamodel.txt"};

std::string text(const char* value) {
  return value ? value : "";
}

RepId cls(const std::string& name) {
  return GetObjectTypeIdByName(name.c_str());
}

RepId role(const std::string& className, const std::string& roleName) {
  return GetLinkTypeIdByName(cls(className), roleName.c_str());
}

RepId attr(const std::string& className, const std::string& attrName) {
  return GetPropertyTypeIdByName(cls(className), attrName.c_str());
}

std::string value(RepId object, const std::string& attrName) {
  return text(
      GetPropertyValue(object, GetPropertyTypeIdByName(GetObjectTypeId(object), attrName.c_str())));
}

std::vector<RepId> partners(RepId object, const std::string& roleName) {
  const RepId linkType = GetLinkTypeIdByName(GetObjectTypeId(object), roleName.c_str());
  std::vector<RepId> result;
  for (uint32_t i = 0; i < GetLinkedObjectNum(object, linkType); ++i) {
    result.push_back(GetLinkedObjectIdByIndex(object, linkType, i));
  }
  return result;
}

std::vector<RepId> listOf(RepIdList* list) {
  std::vector<RepId> ids;
  for (uint32_t i = 0; i < RepIdListCount(list); ++i) ids.push_back(RepIdListItem(list, i));
  RepIdListFree(list);
  return ids;
}

struct LinkTypeInfo {
  RepId start = 0, end = 0, inverse = 0;
  int kind = 0, compositionRole = 0, multiplicity = 0, ordered = 0;
};

LinkTypeInfo info(RepId linkType) {
  LinkTypeInfo i;
  GetLinkTypeAttributes1(linkType, &i.start, &i.end, &i.inverse);
  GetLinkTypeAttributes2(linkType, &i.kind, &i.compositionRole);
  GetLinkTypeAttributes3(linkType, &i.multiplicity, &i.ordered);
  return i;
}

class GraphExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RepOpenMemory());
    gr::setDefaultSinkEcho(false);
    gr::clearRecordedMessages();
  }
  void TearDown() override { RepCloseProject(); }

  // Runs BODY as the statements of an exchange text, through a file.
  ExchangeImportReport run(const std::string& body,
                           const std::string& header = "transformation X;\nbegin;\n") {
    const fs::path file = dir_ / ("text" + std::to_string(++files_) + ".txt");
    std::ofstream(file, std::ios::binary) << header << body;
    return importExchangeFile(file.string());
  }

  grtest::CurrentFolder folder_;
  fs::path dir_ = folder_.path();
  int files_ = 0;
};

// ---- reading the text ------------------------------------------------------

TEST_F(GraphExchangeTest, TextWithoutBeginLineCreatesNothing) {
  const auto report = run(" addClass C;\n addObj pp_1:C;\nend;\n", "transformation X;\n");
  EXPECT_FALSE(report.begun);
  EXPECT_EQ(report.firstObject, 0u);
  EXPECT_EQ(cls("C"), 0u);
}

TEST_F(GraphExchangeTest, MissingFileShowsMessageAndReturnsZero) {
  const std::string name = (dir_ / "absent.txt").string();
  EXPECT_EQ(import_metamodel_and_data(name), 0u);
  ASSERT_EQ(gr::recordedMessages().size(), 1u);
  EXPECT_EQ(gr::recordedMessages()[0], "File not found - " + name);
}

TEST_F(GraphExchangeTest, ReturnsFirstCreatedObjectAndStopsAtEnd) {
  const auto report =
      run(" addClass C;\n addAttr C.name:String;\n"
          " addObj pp_7:C;\n addObj pp_3:C;\n"
          "end;\n addObj pp_9:C;\n",
          "transformation X;\n pointer pp_7:C;\nbegin;\n");
  EXPECT_TRUE(report.ended);
  EXPECT_EQ(GetObjectNum(cls("C")), 2u);
  EXPECT_EQ(report.firstObject, GetObjectIdByIndex(cls("C"), 0));
  EXPECT_TRUE(report.skipped.empty());
  EXPECT_TRUE(report.ignored.empty());
}

TEST_F(GraphExchangeTest, ValuesKeepLineFeedsAndLoseTheirQuotes) {
  const auto report = run(
      " addClass C;\n addAttr C.note:String;\n addAttr C.count:Integer;\n addAttr C.empty:String;\n"
      " addObj pp_1:C;\n"
      " setAttr pp_1.note=\"first line\nsecond; \nthird = \"x\"\";\n"
      " setAttr pp_1.count=42;\n"
      " setAttr pp_1.empty=\"\";\n"
      "end;\n");
  EXPECT_TRUE(report.skipped.empty());
  const RepId object = report.firstObject;
  EXPECT_EQ(value(object, "note"), "first line\nsecond; \nthird = \"x\"");
  EXPECT_EQ(value(object, "count"), "42");
  EXPECT_EQ(value(object, "empty"), "");
}

TEST_F(GraphExchangeTest, ReadsTextsWithWindowsLineEnds) {
  const auto report =
      run(" addClass C;\r\n addAttr C.note:String;\r\n addObj pp_1:C;\r\n"
          " setAttr pp_1.note=\"a\r\nb\";\r\nend;\r\n",
          "transformation X;\r\nbegin;\r\n");
  EXPECT_TRUE(report.ended);
  EXPECT_TRUE(report.skipped.empty());
  EXPECT_EQ(value(report.firstObject, "note"), "a\nb");
}

TEST_F(GraphExchangeTest, CutOffTextIsRefusedWhole) {
  auto report = run(" addClass C;\n addClass D\n");
  EXPECT_TRUE(report.refused);
  EXPECT_EQ(report.errorLine, 4u);
  EXPECT_EQ(report.error,
            "the text is cut off: the statement that starts here has no \";\" at its end");
  EXPECT_EQ(cls("C"), 0u);

  report = run(" addClass C;\n addObj pp_1:C;\n");
  EXPECT_TRUE(report.refused);
  EXPECT_EQ(report.errorLine, 4u);
  EXPECT_EQ(report.error, "the text is cut off: it ends without \"end;\"");
  EXPECT_EQ(cls("C"), 0u);
}

TEST_F(GraphExchangeTest, RefusalIsShownWithTheFileAndLine) {
  const auto report = run(" addClass C;\n\n\n addObj pp_1:Cc;\nend;\n");
  const std::string file = (dir_ / "text1.txt").string();
  EXPECT_EQ(report.errorLine, 6u);  // the blank lines before it do not count
  EXPECT_EQ(report.refusalMessage,
            file + ", line 6: the project has no class \"Cc\". Nothing was imported.");
  ASSERT_EQ(gr::recordedMessages().size(), 1u);
  EXPECT_EQ(gr::recordedMessages()[0], report.refusalMessage);
  EXPECT_EQ(lastExchangeImport().refusalMessage, report.refusalMessage);
}

TEST_F(GraphExchangeTest, TextThatIsNoExchangeTextIsRefused) {
  for (const std::string& junk :
       {std::string(), std::string("hello\nworld\n"), std::string("begin\n addClass C;\nend;\n")}) {
    const auto report = run(junk, "");
    EXPECT_TRUE(report.refused) << junk;
    EXPECT_EQ(report.error, "not an exchange text: there is no line \"begin;\"") << junk;
    EXPECT_EQ(cls("C"), 0u);
  }
}

// ---- declarations ----------------------------------------------------------

TEST_F(GraphExchangeTest, DeclaresClassesGeneralisationsAndTypedAttributes) {
  const auto report =
      run(" addClass Base;\n addClass Sub;\n addClass P::Q::Inner;\n"
          " addRel Sub.subClassOf.Base;\n"
          " addAttr Base.s:String;\n addAttr Base.i:Integer;\n addAttr Base.r:Real;\n addAttr "
          "Base.b:Boolean;\n"
          "end;\n");
  EXPECT_TRUE(report.skipped.empty());
  EXPECT_EQ(GetExtendsId(cls("Sub")), cls("Base"));
  EXPECT_EQ(GetPropertyBaseType(attr("Sub", "s")), REP_STRING);
  EXPECT_EQ(GetPropertyBaseType(attr("Sub", "i")), REP_INTEGER);
  EXPECT_EQ(GetPropertyBaseType(attr("Sub", "r")), REP_REAL);
  EXPECT_EQ(GetPropertyBaseType(attr("Sub", "b")), REP_BOOLEAN);
  const RepId inner = cls("Inner");
  ASSERT_NE(inner, 0u);
  EXPECT_EQ(GetPackageOf(inner), GetPackageIdByName("Q"));
  EXPECT_EQ(GetPackageOf(GetPackageIdByName("Q")), GetPackageIdByName("P"));
}

TEST_F(GraphExchangeTest, RedeclaringIsNoChangeButConflictsAreSkipped) {
  const auto report =
      run(" addClass A;\n addClass B;\n addClass C;\n addClass A;\n"
          " addAttr A.name:String;\n addAttr A.name:String;\n addAttr B.name:String;\n"
          " addAttr B.name2:Integer;\n addAttr C.name2:String;\n"
          " addAssoc A.[*]as/b[0..1].B;\n addAssoc A.[*]as/b[0..1].B;\n"
          " addAssoc B.[*]as/other[*].B;\n"
          " addRel A.subClassOf.B;\n addRel B.subClassOf.A;\n"
          "end;\n");
  EXPECT_EQ(listOf(GetObjectTypeIdList()).size(), 3u);
  EXPECT_EQ(attr("A", "name"), attr("B", "name"));  // one global attribute
  EXPECT_EQ(attr("C", "name2"), 0u);                // types disagree
  EXPECT_EQ(listOf(GetLinkTypeIdList(cls("B"))).size(), 1u);
  EXPECT_EQ(GetExtendsId(cls("B")), 0u);  // would have closed a cycle
  EXPECT_EQ(report.skipped,
            (std::vector<std::string>{"addAttr C.name2:String;", "addAssoc B.[*]as/other[*].B;",
                                      "addRel B.subClassOf.A;"}));
}

TEST_F(GraphExchangeTest, AssociationLineNamesTheRoleThatReachesEachClass) {
  const auto report =
      run(" addClass Thing;\n addClass ExportItem;\n"
          " addAssoc Thing.[*]thing/exportItem[0..1].ExportItem;\n"
          "end;\n");
  EXPECT_TRUE(report.skipped.empty());
  const LinkTypeInfo thing = info(role("ExportItem", "thing"));
  EXPECT_EQ(thing.start, cls("ExportItem"));
  EXPECT_EQ(thing.end, cls("Thing"));
  EXPECT_EQ(thing.multiplicity, REP_MULT_MANY);
  EXPECT_EQ(thing.kind, REP_KIND_ASSOCIATION);
  EXPECT_EQ(thing.inverse, role("Thing", "exportItem"));
  EXPECT_EQ(info(role("Thing", "exportItem")).multiplicity, REP_MULT_ZERO_ONE);
}

TEST_F(GraphExchangeTest, CompositionLineMakesTheRightClassTheWhole) {
  const auto report =
      run(" addClass Part;\n addClass Whole;\n"
          " addCompos Part.{ordered}[1..n]part/whole[1]{ordered}.Whole;\n"
          "end;\n");
  EXPECT_TRUE(report.skipped.empty());
  const LinkTypeInfo part = info(role("Whole", "part"));
  EXPECT_EQ(part.end, cls("Part"));
  EXPECT_EQ(part.kind, REP_KIND_COMPOSITION);
  EXPECT_EQ(part.compositionRole, REP_COMPOS_WHOLE);
  EXPECT_EQ(part.multiplicity, REP_MULT_ONE_MANY);
  EXPECT_EQ(part.ordered, 1);
  const LinkTypeInfo whole = info(role("Part", "whole"));
  EXPECT_EQ(whole.compositionRole, REP_COMPOS_PART);
  EXPECT_EQ(whole.multiplicity, REP_MULT_ONE);
  EXPECT_EQ(whole.ordered, 1);
}

TEST_F(GraphExchangeTest, AssociationWithOneEmptyRoleIsNavigableOneWay) {
  const auto report =
      run(" addClass A;\n addClass B;\n addAssoc A.[0..1]a/[*].B;\n"
          " addAssoc B.[*]/back[*].A;\nend;\n");
  EXPECT_TRUE(report.skipped.empty());
  // Both named roles lead out of B; A's ends of the two pairs have no name.
  EXPECT_EQ(info(role("B", "a")).end, cls("A"));
  EXPECT_EQ(info(role("B", "back")).end, cls("A"));
  const auto fromA = listOf(GetLinkTypeIdList(cls("A")));
  EXPECT_EQ(fromA.size(), 2u);
  for (const RepId r : fromA) EXPECT_EQ(text(GetTypeName(r)), "");
}

// Every bad line stops the import before anything is written, the
// declarations and objects on the lines before it included.
TEST_F(GraphExchangeTest, BadStatementsAreRefusedNamingTheirLine) {
  const std::string prefix =
      " addClass A;\n addClass B;\n addAttr A.x:String;\n addAssoc A.[*]x/y[*].B;\n"
      " addObj pp_1:A;\n";  // lines 3 to 7
  const std::string malformed = "is not a well-formed statement";
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"addAssoc A.[*]x.B;", malformed},
      {"addAssoc A.[*]x/y[*]z.B;", malformed},
      {"addAssoc A.[2]x/y[*].B;", malformed},
      {"addAssoc A.[*x/y[*].B;", malformed},
      {"addAssoc A.[*]/[*].B;", malformed},
      {"addAssoc A.{ordered[*]x/y[*].B;", malformed},
      {"addAssoc .[*]x/y[*].B;", malformed},
      {"addAssoc A.[*]x/y/z[*].B;", malformed},
      {"addAssoc A[*]x/y[*].B;", malformed},
      {"addAssoc A.[*]x/y[*];", malformed},
      {"addCompos ;", malformed},
      {"addClass ;", malformed},
      {"addClass A B;", malformed},
      {"addClass ::A;", malformed},
      {"addRel A.superOf.B;", malformed},
      {"addAttr A.x:Float;", malformed},
      {"addAttr A.x;", malformed},
      {"addObj pp_1;", malformed},
      {"addObj pp_x:A;", malformed},
      {"addObj qq_1:A;", malformed},
      {"addObj pp_-1:A;", malformed},
      {"setAttr pp_1 \"v\";", malformed},
      {"addLink pp_1.x;", malformed},
      {"setPointerF pp_1 getCompartType(a, b);", malformed},
      {"setPointerF pp_1 = getCompartType(a);", malformed},
      {"setPointerF pp_1 = getCompartType(\"a, b);", malformed},
      {"addAssoc A.[*]x/y[*].Missing;", "the project has no class \"Missing\""},
      {"addRel A.subClassOf.Missing;", "the project has no class \"Missing\""},
      {"addAttr Missing.x:String;", "the project has no class \"Missing\""},
      {"addObj pp_2:Missing;", "the project has no class \"Missing\""},
      {"addObj pp_1000000:A;", "object number 1000000 is too large"},
      {"addLink pp_1.y.pp_99999999999999999999;", "object number 99999999999999999999 is too"},
      {"addObj pp_1:A;", "object pp_1 is created a second time (first on line 7)"},
      {"setAttr pp_1.missing=\"v\";", "class \"A\" has no attribute \"missing\""},
      {"addLink pp_1.missing.pp_1;", "class \"A\" has no role \"missing\""},
      {"setAttr pp_1.x=\"\xff\";", "the text is not valid UTF-8"},
      {std::string("setAttr pp_1.x=\"a\0b\";", 21), "the text is not valid UTF-8"},
  };
  for (const auto& [line, reason] : bad) {
    gr::clearRecordedMessages();
    const auto report = run(prefix + " " + line + "\n addObj pp_3:A;\nend;\n");
    EXPECT_TRUE(report.refused) << line;
    EXPECT_EQ(report.errorLine, 8u) << line;
    EXPECT_NE(report.error.find(reason), std::string::npos) << line << ": " << report.error;
    EXPECT_EQ(report.error.find('\n'), std::string::npos) << line;
    EXPECT_EQ(cls("A"), 0u) << line;
    EXPECT_EQ(report.firstObject, 0u) << line;
    EXPECT_EQ(gr::recordedMessages().size(), 1u) << line;
  }
}

TEST_F(GraphExchangeTest, StatementsWithNothingToActOnAreSkippedAndReadingGoesOn) {
  const auto report =
      run(" addClass A;\n addClass B;\n addAttr A.x:String;\n addAssoc A.[*]x/y[*].B;\n"
          " setAttr pp_9.x=\"before\";\n addObj pp_1:A;\n addLink pp_1.y.pp_9;\n"
          " addRel A.subClassOf.A;\n frobnicate A;\n addObj pp_9:A;\n"
          " setAttr pp_9.x=\"after\";\nend;\n");
  EXPECT_FALSE(report.refused);
  EXPECT_TRUE(report.ended);
  EXPECT_EQ(report.skipped,
            (std::vector<std::string>{"setAttr pp_9.x=\"before\";", "addLink pp_1.y.pp_9;",
                                      "addRel A.subClassOf.A;"}));
  EXPECT_EQ(report.ignored, std::vector<std::string>{"frobnicate A;"});
  EXPECT_EQ(GetObjectNum(cls("A")), 2u);
  EXPECT_EQ(value(GetObjectIdByIndex(cls("A"), 1), "x"), "after");
  EXPECT_EQ(report.objectsCreated, 2u);
}

// ---- objects, values and links ----------------------------------------------

TEST_F(GraphExchangeTest, SetAttrBeforeItsObjectDoesNothing) {
  const auto report =
      run(" addClass C;\n addAttr C.name:String;\n"
          " setAttr pp_5.name=\"early\";\n addObj pp_5:C;\nend;\n");
  EXPECT_EQ(value(report.firstObject, "name"), "");
  EXPECT_EQ(report.skipped, std::vector<std::string>{"setAttr pp_5.name=\"early\";"});
}

TEST_F(GraphExchangeTest, ObjectNumbersUpToTheTableSizeAreUsable) {
  const auto report =
      run(" addClass C;\n addAttr C.name:String;\n addObj pp_999999:C;\n"
          " setAttr pp_999999.name=\"last slot\";\nend;\n");
  EXPECT_EQ(GetObjectNum(cls("C")), 1u);
  EXPECT_EQ(value(report.firstObject, "name"), "last slot");
  EXPECT_TRUE(report.skipped.empty());
}

TEST_F(GraphExchangeTest, LinksFindTheirRoleInSuperclassesAndKeepTheirFirstPlace) {
  const auto report =
      run(" addClass Base;\n addClass Sub;\n addClass Target;\n addRel Sub.subClassOf.Base;\n"
          " addAssoc Target.{ordered}[*]target/owner[0..1].Base;\n"
          " addObj pp_1:Sub;\n addObj pp_2:Target;\n addObj pp_3:Target;\n"
          " addLink pp_1.target.pp_3;\n addLink pp_1.target.pp_2;\n addLink pp_2.owner.pp_1;\n"
          // The same link named again from its other end keeps its place.
          " addLink pp_3.owner.pp_1;\n"
          "end;\n");
  EXPECT_TRUE(report.skipped.empty());
  const RepId sub = report.firstObject;
  const RepId t2 = GetObjectIdByIndex(cls("Target"), 0);
  const RepId t3 = GetObjectIdByIndex(cls("Target"), 1);
  EXPECT_EQ(partners(sub, "target"), (std::vector<RepId>{t3, t2}));
  EXPECT_EQ(partners(t2, "owner"), std::vector<RepId>{sub});
  EXPECT_EQ(partners(t3, "owner"), std::vector<RepId>{sub});
}

TEST_F(GraphExchangeTest, SetPointerFindsTheNamedTypeOrStyleOfAnExistingTool) {
  // A tool already in the store: two element types "E", only the second has
  // a compartment type "c"; one element style "S" with a compartment style.
  run(" addClass ElemType;\n addClass NodeType;\n addClass CompartType;\n addRel "
      "NodeType.subClassOf.ElemType;\n"
      " addClass ElemStyle;\n addClass CompartStyle;\n"
      " addAttr ElemType.id:String;\n addAttr CompartType.id:String;\n addAttr "
      "CompartType.caption:String;\n"
      " addAttr ElemStyle.id:String;\n addAttr CompartStyle.id:String;\n addAttr "
      "CompartStyle.caption:String;\n"
      " addCompos CompartType.[*]compartType/elemType[0..1].ElemType;\n"
      " addAssoc CompartStyle.[*]compartStyle/elemStyle[*].ElemStyle;\n"
      " addObj pp_1:ElemType;\n setAttr pp_1.id=\"E\";\n addObj pp_2:CompartType;\n setAttr "
      "pp_2.id=\"d\";\n"
      " addLink pp_1.compartType.pp_2;\n"
      " addObj pp_3:NodeType;\n setAttr pp_3.id=\"E\";\n addObj pp_4:CompartType;\n setAttr "
      "pp_4.id=\"c\";\n"
      " addLink pp_3.compartType.pp_4;\n"
      " addObj pp_5:ElemStyle;\n setAttr pp_5.id=\"S\";\n addObj pp_6:CompartStyle;\n setAttr "
      "pp_6.id=\"c\";\n"
      " addLink pp_5.compartStyle.pp_6;\n"
      "end;\n");
  const RepId wanted = GetObjectIdByIndex(cls("CompartType"), 1);
  const RepId wantedStyle = GetObjectIdByIndex(cls("CompartStyle"), 0);

  const auto report =
      run(" addObj pp_1:CompartType;\n"
          " setPointerF pp_1 = getCompartType(E, c);\n setAttr pp_1.caption=\"found\";\n"
          " setPointerF pp_2 = getCompartStyle(\"S\", \"c\");\n setAttr pp_2.caption=\"style\";\n"
          " setPointerF pp_1 = getCompartType(E, none);\n setAttr pp_1.id=\"kept\";\n"
          "end;\n");
  EXPECT_EQ(value(wanted, "caption"), "found");
  EXPECT_EQ(value(wanted, "id"), "kept");
  EXPECT_EQ(value(wantedStyle, "caption"), "style");
  EXPECT_EQ(report.skipped,
            std::vector<std::string>{"setPointerF pp_1 = getCompartType(E, none);"});
}

// ---- the metamodels -------------------------------------------------------------

class GraphExchangeMetamodelTest : public GraphExchangeTest {
 protected:
  void loadAll(const std::vector<std::string>& order) {
    for (const auto& file : order) {
      const auto report = importExchangeFile((kMetamodelDir / file).string());
      EXPECT_TRUE(report.fileOpened) << file;
      EXPECT_TRUE(report.begun && report.ended) << file;
      EXPECT_EQ(report.firstObject, 0u) << file;
      for (const auto& s : report.skipped) ADD_FAILURE() << file << ": skipped " << s;
      for (const auto& s : report.ignored) ADD_FAILURE() << file << ": ignored " << s;
    }
  }

  static void expectPair(const std::string& from, const std::string& r, const std::string& to,
                         const std::string& inverse, int compositionRole = REP_COMPOS_NONE) {
    const RepId linkType = role(from, r);
    ASSERT_NE(linkType, 0u) << from << "." << r;
    const LinkTypeInfo i = info(linkType);
    EXPECT_EQ(text(GetTypeName(i.end)), to) << from << "." << r;
    EXPECT_EQ(text(GetTypeName(i.inverse)), inverse) << from << "." << r;
    EXPECT_EQ(i.compositionRole, compositionRole) << from << "." << r;
  }
};

TEST_F(GraphExchangeMetamodelTest, EveryFileIsInTheLoadOrder) {
  std::set<std::string> files;
  for (const auto& entry : fs::directory_iterator(kMetamodelDir)) {
    if (entry.path().extension() == ".txt") files.insert(entry.path().filename().string());
  }
  EXPECT_EQ(files, std::set<std::string>(kLoadOrder.begin(), kLoadOrder.end()));
}

TEST_F(GraphExchangeMetamodelTest, LoadWithoutSkippedStatementsInEitherOrder) {
  loadAll(kLoadOrder);
  const auto count = listOf(GetObjectTypeIdList()).size();
  loadAll(kLoadOrder);  // loading again changes nothing
  EXPECT_EQ(listOf(GetObjectTypeIdList()).size(), count);

  RepCloseProject();
  ASSERT_TRUE(RepOpenMemory());
  loadAll(std::vector<std::string>(kLoadOrder.rbegin(), kLoadOrder.rend()));
  EXPECT_EQ(listOf(GetObjectTypeIdList()).size(), count);
  EXPECT_NE(role("Element", "exportItem"), 0u);
}

TEST_F(GraphExchangeMetamodelTest, ClassFamiliesHangTogether) {
  loadAll(kLoadOrder);
  const auto inFamily = [](const std::string& sub, const std::string& super) {
    return cls(sub) != 0 && cls(super) != 0 && ExtendsExtends(cls(sub), cls(super)) != 0;
  };
  for (const char* c : {"Node", "Edge", "Port", "FreeBox", "FreeLine"})
    EXPECT_TRUE(inFamily(c, "Element")) << c;
  for (const char* c : {"NodeType", "EdgeType", "PortType"})
    EXPECT_TRUE(inFamily(c, "ElemType")) << c;
  for (const char* c : {"NodeStyle", "EdgeStyle", "PortStyle"})
    EXPECT_TRUE(inFamily(c, "ElemStyle")) << c;
  for (const char* c :
       {"PaletteBox", "PaletteLine", "PalettePin", "PaletteFreeBox", "PaletteFreeLine"}) {
    EXPECT_TRUE(inFamily(c, "PaletteElement")) << c;
  }
  for (const char* c : {"D#Form", "D#Row", "D#Button", "D#ComboBox", "D#Tree", "D#VTable"}) {
    EXPECT_TRUE(inFamily(c, "D#Component")) << c;
  }
  for (const char* c : {"ElemType", "CompartType"})
    EXPECT_TRUE(inFamily(c, "Mapping#TypeWithMapping")) << c;

  // Every event and command class is one, and everything is a Thing.
  for (const RepId c : listOf(GetObjectTypeIdList())) {
    const std::string name = text(GetTypeName(c));
    const auto endsWith = [&](const std::string& tail) {
      return name.size() >= tail.size() &&
             name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (endsWith("Event")) {
      EXPECT_TRUE(inFamily(name, "Event")) << name;
    }
    if (endsWith("Cmd") || endsWith("Command")) {
      EXPECT_TRUE(inFamily(name, "Command")) << name;
    }
    EXPECT_TRUE(inFamily(name, "Thing")) << name;
  }
}

TEST_F(GraphExchangeMetamodelTest, RolesPairWithTheirInverses) {
  loadAll(kLoadOrder);
  expectPair("GraphDiagram", "element", "Element", "graphDiagram", REP_COMPOS_WHOLE);
  expectPair("Element", "graphDiagram", "GraphDiagram", "element", REP_COMPOS_PART);
  expectPair("Element", "compartment", "Compartment", "element", REP_COMPOS_WHOLE);
  expectPair("Compartment", "subCompartment", "Compartment", "parentCompartment", REP_COMPOS_WHOLE);
  // A diagram owns its selection, the clipboard its copies.
  expectPair("GraphDiagram", "collection", "Collection", "graphDiagram", REP_COMPOS_WHOLE);
  expectPair("GraphClipboard", "element", "Element", "graphClipboard", REP_COMPOS_WHOLE);
  expectPair("ElemType", "supertype", "ElemType", "subtype");
  expectPair("ElemType", "compartType", "CompartType", "elemType", REP_COMPOS_WHOLE);
  expectPair("CompartType", "subCompartType", "CompartType", "parentCompartType", REP_COMPOS_WHOLE);
  expectPair("GraphDiagramType", "elemType", "ElemType", "graphDiagramType", REP_COMPOS_WHOLE);
  expectPair("GraphDiagramType", "graphDiagram", "GraphDiagram", "graphDiagramType");
  expectPair("GraphDiagramType", "RClickEmpty", "PopUpDiagram", "eType");
  expectPair("GraphDiagramType", "representation", "Element", "source");
  expectPair("GraphDiagram", "source", "Element", "target");
  expectPair("Edge", "start", "Element", "eStart");
  expectPair("Edge", "end", "Element", "eEnd");
  expectPair("Node", "port", "Port", "node");
  expectPair("Node", "container", "Element", "component");
  expectPair("Node", "parent", "Node", "child");
  expectPair("NodeType", "containerType", "NodeType", "componentType");
  expectPair("NodeType", "portType", "PortType", "nodeType");
  expectPair("EdgeType", "pair", "Pair", "edgeType", REP_COMPOS_WHOLE);
  expectPair("Pair", "start", "ElemType", "startPair");
  expectPair("ElemStyle", "compartStyle", "CompartStyle", "elemStyle");
  expectPair("ChoiceItem", "elemStyleByChoiceItem", "ElemStyle", "choiceItem");
  expectPair("Element", "copy", "Element", "original");
  expectPair("Element", "definition", "Element", "occurrence");
  expectPair("Palette", "paletteElement", "PaletteElement", "palette", REP_COMPOS_WHOLE);
  expectPair("PopUpDiagram", "popUpElement", "PopUpElement", "popUpDiagram", REP_COMPOS_WHOLE);
  expectPair("LastCmdPtr", "command", "Command", "lastCmdPtr");
  expectPair("OkCmd", "graphDiagram", "GraphDiagram", "command");
  expectPair("D#Form", "component", "D#Component", "container", REP_COMPOS_WHOLE);
  expectPair("D#TreeNode", "childNode", "D#TreeNode", "parentNode", REP_COMPOS_WHOLE);
  expectPair("D#TreeNode", "typeWithMapping", "Mapping#TypeWithMapping", "treeNode");
  expectPair("Mapping#Mapping", "mappingItem", "Mapping#MappingItem", "mapping", REP_COMPOS_WHOLE);
  expectPair("ExportItem", "thing", "Thing", "exportItem");
  expectPair("ExportItem", "superClass", "ExportItem", "subClass");
  expectPair("LinkedObject", "thing", "Thing", "linkedObject");
  expectPair("NewBoxEvent", "paletteBox", "PaletteBox", "");
  EXPECT_EQ(info(role("ExportItem", "superClass")).multiplicity, REP_MULT_ZERO_ONE);
}

TEST_F(GraphExchangeMetamodelTest, NamedAttributesExistAndNoClassSeesANameTwice) {
  loadAll(kLoadOrder);
  const std::vector<std::pair<std::string, std::string>> sample = {
      {"GraphDiagram", "isReadOnly"},
      {"FreeBox", "freeBox_w"},
      {"Compartment", "input"},
      {"NodeType", "procNewElement"},
      {"EdgeType", "procMoveLine"},
      {"EdgeType", "startMultiplicityConstraint"},
      {"CompartType", "procGenerateInputValue"},
      {"EdgeStyle", "middleBreakLength"},
      {"PortStyle", "lineColor"},
      {"CompartStyle", "fontCharSet"},
      {"PaletteLine", "picture"},
      {"KeyboardShortcut", "procedure_name"},
      {"GraphDiagramEngine", "onFreeLineEditedEvent"},
      {"HeadEngine", "onOpenProjectEvent"},
      {"MultiUserEngine", "storePassword"},
      {"D#Button", "transf_name"},
      {"D#TextArea", "minimumHeight"},
      {"D#TreeNode", "expanded"},
      {"NewFreeBoxEvent", "info"},
      {"D#Command", "info"},
      {"LinkedObject", "navigStartInstance"},
      {"ExportItem", "instances"},
      {"Mapping#MappingToLink", "endRoleName"},
      {"LPath#DataValue", "type"}};
  for (const auto& [c, a] : sample) {
    const RepId id = attr(c, a);
    EXPECT_NE(id, 0u) << c << "." << a;
    EXPECT_EQ(GetPropertyBaseType(id), REP_STRING) << c << "." << a;
  }

  for (const RepId c : listOf(GetObjectTypeIdList())) {
    std::set<std::string> roles;
    for (const RepId r : listOf(GetLinkTypeIdList(c))) {
      const std::string name = text(GetTypeName(r));
      if (!name.empty()) {
        EXPECT_TRUE(roles.insert(name).second)
            << GetTypeName(c) << " sees role " << name << " twice";
      }
    }
    std::set<std::string> attrs;
    for (const RepId a : listOf(GetPropertyTypeIdList(c))) {
      EXPECT_TRUE(attrs.insert(text(GetTypeName(a))).second)
          << GetTypeName(c) << " sees " << GetTypeName(a) << " twice";
    }
  }
}

}  // namespace
