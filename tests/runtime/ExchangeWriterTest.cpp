#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/repository.h"
#include "runtime/ExchangeWriter.h"
#include "runtime/GraphExchange.h"
#include "runtime/MessageSink.h"

namespace fs = std::filesystem;
using namespace gr::exchange;

namespace {

const fs::path kMetamodelDir =
    fs::path(__FILE__).parent_path().parent_path().parent_path() / "metamodels";

RepId cls(const std::string& name) {
  return GetObjectTypeIdByName(name.c_str());
}

RepId role(const std::string& className, const std::string& roleName) {
  return GetLinkTypeIdByName(cls(className), roleName.c_str());
}

std::string value(RepId object, const std::string& attrName) {
  const char* text =
      GetPropertyValue(object, GetPropertyTypeIdByName(GetObjectTypeId(object), attrName.c_str()));
  return text ? text : "";
}

class ExchangeWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RepOpenMemory());
    gr::setDefaultSinkEcho(false);
    gr::clearRecordedMessages();
  }
  void TearDown() override { RepCloseProject(); }

  static ExchangeImportReport run(const std::string& text) {
    std::istringstream in(text);
    return importExchangeStream(in);
  }
  static void loadBookkeeping() {
    ASSERT_TRUE(importExchangeFile((kMetamodelDir / "ImportExportMetamodel.txt").string()).ended);
  }
  // A small model: a whole with ordered parts, a pointer between parts, and
  // every base type of attribute.
  static void loadModel() {
    const auto report = run(
        "begin;\n addClass Thing;\n addClass Whole;\n addClass Part;\n addClass Special;\n"
        " addRel Whole.subClassOf.Thing;\n addRel Part.subClassOf.Thing;\n"
        " addRel Special.subClassOf.Part;\n"
        " addAttr Whole.name:String;\n addAttr Whole.size:Integer;\n addAttr Part.note:String;\n"
        " addAttr Special.weight:Real;\n addAttr Special.on:Boolean;\n"
        " addCompos Part.{ordered}[*]part/whole[0..1].Whole;\n"
        " addAssoc Part.[0..1]next/previous[*].Part;\nend;\n");
    ASSERT_TRUE(report.ended && report.skipped.empty());
  }
  static RepId create(const std::string& className) { return CreateObject(cls(className)); }
  static void set(RepId object, const std::string& attr, const std::string& text) {
    ASSERT_TRUE(AddProperty(object, GetPropertyTypeIdByName(GetObjectTypeId(object), attr.c_str()),
                            text.c_str()));
  }
  static void link(RepId from, const std::string& roleName, RepId to) {
    ASSERT_TRUE(CreateLink(GetLinkTypeIdByName(GetObjectTypeId(from), roleName.c_str()), from, to));
  }
  static RepId item(const std::string& className) {
    RepId i = create("ExportItem");
    set(i, "className", className);
    set(i, "instances", "");
    return i;
  }
};

std::string written(std::string_view text, bool isString, ValueMode mode) {
  std::string out;
  appendValue(out, text, isString, mode);
  return out;
}

TEST_F(ExchangeWriterTest, ValuesAreQuotedEscapedAndNeverEndAStatement) {
  EXPECT_EQ(written("", true, ValueMode::Import), "\"\"");
  EXPECT_EQ(written("12", false, ValueMode::Import), "12");
  EXPECT_EQ(written("say \"hi\" \\ there", true, ValueMode::Import), "\"say \"hi\" \\ there\"");
  EXPECT_EQ(written("say \"hi\" \\ there", true, ValueMode::Escaping),
            "\"say \\\"hi\\\" \\\\ there\"");
  EXPECT_EQ(written("a;\nb;\n;", true, ValueMode::Import), "\"a; \nb; \n;\"");
  EXPECT_EQ(written("a;\nb", true, ValueMode::Escaping), "\"a; \nb\"");
  EXPECT_EQ(written("a; \nb;x\n", true, ValueMode::Import), "\"a; \nb;x\n\"");
}

TEST_F(ExchangeWriterTest, AssociationLinesNameTheRoleThatReachesEachClass) {
  loadBookkeeping();
  loadModel();
  EXPECT_EQ(associationLine(role("ExportItem", "thing")),
            " addAssoc Thing.[*]thing/exportItem[*].ExportItem;\n");
  EXPECT_EQ(associationLine(role("Thing", "exportItem")),
            " addAssoc ExportItem.[*]exportItem/thing[*].Thing;\n");
  EXPECT_EQ(associationLine(role("ExportItem", "superClass")),
            " addAssoc ExportItem.[0..1]superClass/subClass[*].ExportItem;\n");
  // A composition is written with its whole on the right, from either end.
  const std::string compos = " addCompos Part.{ordered}[*]part/whole[0..1].Whole;\n";
  EXPECT_EQ(associationLine(role("Whole", "part")), compos);
  EXPECT_EQ(associationLine(role("Part", "whole")), compos);
  EXPECT_EQ(multiplicityText(REP_MULT_ONE), "1");
  EXPECT_EQ(multiplicityText(REP_MULT_ONE_MANY), "1..n");
}

TEST_F(ExchangeWriterTest, MissingBookkeepingIsNamedInLookUpOrder) {
  ASSERT_TRUE(run("begin;\n addClass Thing;\n addClass ExportItem;\nend;\n").ended);
  EXPECT_EQ(writeDataText(ValueMode::Import), "");
  ASSERT_TRUE(run("begin;\n addAssoc Thing.[*]thing/exportItem[*].ExportItem;\n"
                  " addAttr ExportItem.className:String;\nend;\n")
                  .ended);
  EXPECT_FALSE(lookUpBookkeeping());
  ASSERT_TRUE(
      run("begin;\n addClass LinkedObject;\n addAttr LinkedObject.id:String;\nend;\n").ended);
  EXPECT_FALSE(lookUpBookkeeping());
  EXPECT_EQ(gr::recordedMessages(),
            (std::vector<std::string>{"Error! Association not found - Thing.exportItem",
                                      "Error! Class not found - LinkedObject",
                                      "Error! Association not found - Thing.linkedObject"}));
}

TEST_F(ExchangeWriterTest, DataWriterWritesExportedObjectsValuesAndLinksInSections) {
  loadBookkeeping();
  loadModel();
  const RepId whole = create("Whole");
  const RepId first = create("Part");
  const RepId second = create("Special");
  const RepId outside = create("Part");
  set(whole, "name", "W \"1\";\nnext");
  set(first, "note", "");
  set(second, "weight", "2.5");
  link(whole, "part", second);
  link(whole, "part", first);
  link(whole, "part", outside);
  link(first, "next", second);
  link(second, "next", outside);
  // Items in the order the text is to name them; Part before Whole.
  link(item("Part"), "thing", first);
  link(item("Whole"), "thing", whole);
  link(item("Special"), "thing", second);

  WriteCounts counts;
  const std::string text = writeDataText(ValueMode::Import, &counts);
  const auto n = [](RepId id) { return "pp_" + std::to_string(id); };
  const std::string expected =
      "transformation ADD_METAMODEL_AND_DATA;\n\nmain procedure metamodel_and_data();\n"
      " pointer " +
      n(first) + ":Part;\n pointer " + n(whole) + ":Whole;\n pointer " + n(second) +
      ":Special;\nbegin;\n"
      " addObj " +
      n(first) + ":Part;\n addObj " + n(whole) + ":Whole;\n addObj " + n(second) +
      ":Special;\n"
      " setAttr " +
      n(first) +
      ".note=\"\";\n"
      " setAttr " +
      n(whole) +
      ".name=\"W \"1\"; \nnext\";\n"
      " setAttr " +
      n(second) + ".note=\"\";\n setAttr " + n(second) +
      ".weight=2.5;\n"
      " addLink " +
      n(first) + ".whole." + n(whole) +
      ";\n"
      " addLink " +
      n(first) + ".next." + n(second) +
      ";\n"
      " addLink " +
      n(whole) + ".part." + n(second) +
      ";\n"
      " addLink " +
      n(whole) + ".part." + n(first) +
      ";\n"
      " addLink " +
      n(second) + ".whole." + n(whole) +
      ";\n"
      " addLink " +
      n(second) + ".previous." + n(first) +
      ";\n"
      "end;\n\nendTransformation;\n";
  EXPECT_EQ(text, expected);
  EXPECT_EQ(counts.objects, 3u);
  EXPECT_EQ(counts.statements, 13u);
}

// Two items of one class (an export that registered an object under both)
// must not make a text the reader refuses for naming an object twice.
TEST_F(ExchangeWriterTest, AnObjectTwoItemsHoldIsWrittenOnce) {
  loadBookkeeping();
  loadModel();
  const RepId part = create("Part");
  set(part, "note", "x");
  link(item("Part"), "thing", part);
  link(item("Part"), "thing", part);
  WriteCounts counts;
  const std::string text = writeDataText(ValueMode::Import, &counts);
  EXPECT_EQ(counts.objects, 1u);
  EXPECT_EQ(text.find(" addObj "), text.rfind(" addObj "));
  const ExchangeImportReport again = run(text);
  EXPECT_FALSE(again.refused) << again.error;
  EXPECT_EQ(again.objectsCreated, 1u);
}

TEST_F(ExchangeWriterTest, FullWriterDeclaresWhatItWritesAndReadsBackTheSame) {
  loadBookkeeping();
  loadModel();
  const RepId whole = create("Whole");
  const RepId p0 = create("Part");
  const RepId p1 = create("Part");
  const RepId special = create("Special");
  set(whole, "name", "say \"x\";\ny");
  set(whole, "size", "7");
  set(p1, "note", "kept");
  set(special, "on", "true");
  link(whole, "part", p1);
  link(whole, "part", special);
  link(whole, "part", p0);
  link(p1, "next", special);

  // Part's positions count its subclass's objects after its own: Special is 2.
  const std::string text = writeFullText("Whole(0)Part(1,2)Special(*)", ValueMode::Import);
  const auto n = [](RepId id) { return "pp_" + std::to_string(id); };
  EXPECT_EQ(
      text,
      "transformation ADD_METAMODEL_AND_DATA;\n\nmain procedure metamodel_and_data();\n"
      " pointer " +
          n(whole) + ":Whole;\n pointer " + n(p1) + ":Part;\n pointer " + n(special) +
          ":Special;\nbegin;\n"
          " addClass Whole;\n addClass Part;\n addClass Special;\n"
          " addRel Special.subClassOf.Part;\n"
          " addAttr Whole.name:String;\n addAttr Whole.size:Integer;\n addAttr Part.note:String;\n"
          " addAttr Special.weight:Real;\n addAttr Special.on:Boolean;\n"
          " addCompos Part.{ordered}[*]part/whole[0..1].Whole;\n"
          " addAssoc Part.[0..1]next/previous[*].Part;\n"
          " addObj " +
          n(whole) + ":Whole;\n addObj " + n(p1) + ":Part;\n addObj " + n(special) +
          ":Special;\n"
          " setAttr " +
          n(whole) + ".name=\"say \"x\"; \ny\";\n setAttr " + n(whole) +
          ".size=7;\n"
          " setAttr " +
          n(p1) +
          ".note=\"kept\";\n"
          " setAttr " +
          n(special) + ".note=\"\";\n setAttr " + n(special) +
          ".on=true;\n"
          " addLink " +
          n(whole) + ".part." + n(p1) + ";\n addLink " + n(whole) + ".part." + n(special) +
          ";\n"
          " addLink " +
          n(p1) + ".next." + n(special) +
          ";\n"
          "end;\n\nendTransformation;\n");

  // Read back into an empty store: the same objects, values and links.
  RepCloseProject();
  ASSERT_TRUE(RepOpenMemory());
  const auto report = run(text);
  ASSERT_TRUE(report.ended) << report.refusalMessage;
  EXPECT_TRUE(report.skipped.empty());
  const RepId readWhole = GetObjectIdByIndex(cls("Whole"), 0);
  EXPECT_EQ(value(readWhole, "name"), "say \"x\"; \ny");
  EXPECT_EQ(value(readWhole, "size"), "7");
  const RepId part = role("Whole", "part");
  ASSERT_EQ(GetLinkedObjectNum(readWhole, part), 2u);
  const RepId readSpecial = GetLinkedObjectIdByIndex(readWhole, part, 1);
  EXPECT_EQ(value(readSpecial, "on"), "true");
  EXPECT_EQ(GetLinkedObjectNum(readSpecial, role("Part", "previous")), 1u);
}

TEST_F(ExchangeWriterTest, WriteIsRecordedWhereItWent) {
  const fs::path folder =
      fs::temp_directory_path() /
      ("exchange_writer_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  fs::create_directories(folder);
  const fs::path file = folder / "out.txt";
  EXPECT_TRUE(writeExchangeFile("text", file.string(), WriteCounts{2, 5}));
  EXPECT_TRUE(lastExchangeWrite().written);
  EXPECT_EQ(lastExchangeWrite().file, file.string());
  EXPECT_EQ(lastExchangeWrite().counts.statements, 5u);
  EXPECT_EQ(lastExchangeWrite().bytes, 4u);
  EXPECT_FALSE(writeExchangeFile("text", (folder / "missing" / "out.txt").string(), {}));
  EXPECT_FALSE(lastExchangeWrite().written);
  EXPECT_EQ(gr::recordedMessages().back(),
            "Can not open file " + (folder / "missing" / "out.txt").string());
  fs::remove_all(folder);
}

}  // namespace
