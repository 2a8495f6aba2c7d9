// Exchange texts through the gesture layer, as grtool export and import run
// them: from one project made by the behaviour library into another.
#include <gtest/gtest.h>

#include <fstream>

#include "host/base/Model.h"
#include "host/gestures/ExchangeGestures.h"
#include "tests/host/script/GestureFixture.h"

namespace {

namespace fs = std::filesystem;
namespace model = grhost::model;
using grhost::ExchangeGestures;
using grhost::ExchangeTextKind;
using grhost::GestureError;

class ExchangeGesturesTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    texts_ = folder_.string() + "-texts";
    fs::create_directories(texts_);
    startProject(folder_);
  }
  void TearDown() override {
    exchange_.reset();
    gestures_.reset();
    GestureTest::TearDown();
    fs::remove_all(texts_);
    fs::remove_all(second_);
  }
  void startProject(const fs::path& folder) {
    exchange_.reset();
    gestures_.reset();
    session_.reset();
    folder_ = folder;
    createWithBehaviourLibrary();
    gestures_ = std::make_unique<grhost::Gestures>(head(), session_->log());
    exchange_ = std::make_unique<ExchangeGestures>(*gestures_);
  }
  // A second, fresh project in place of the first.
  void startSecondProject() {
    second_ = folder_.string() + "-second";
    fs::remove_all(second_);
    const fs::path first = folder_;
    startProject(second_);
    folder_ = first;  // the fixture removes it at the end
  }
  static std::size_t count(const std::string& className) {
    return model::objectsOf(className).size();
  }
  std::string failure(const std::function<void()>& run) {
    try {
      run();
    } catch (const GestureError& error) {
      return error.what();
    }
    return "";
  }

  fs::path texts_, second_;
  std::unique_ptr<grhost::Gestures> gestures_;
  std::unique_ptr<ExchangeGestures> exchange_;
};

constexpr const char* kOrders =
    "rightclick\n"
    "choose \"Specification Diagram\"\n"
    "box \"Seed\" at 40 40 as Seed\n"
    "close form\n"
    "text Seed \"Name\" \"Orders\"\n"
    "doubleclick Seed\n"
    "box \"Box\" at 20 20 as A\n"
    "close form\n"
    "box \"Box\" at 220 20 as B\n"
    "close form\n"
    "line \"Line\" from A to B\n"
    "close form\n"
    "text A \"AS#Name\" \"Order\"\n";

TEST_F(ExchangeGesturesTest, DiagramGoesFromItsSeedIntoAnotherProject) {
  ASSERT_EQ(play(kOrders), "");
  const fs::path text = texts_ / "orders.txt";
  const grhost::ExchangeWritten written = exchange_->exportDiagram("Orders", text);
  EXPECT_EQ(written.file, text);
  EXPECT_EQ(written.bytes, fs::file_size(text));
  EXPECT_GT(written.statements, written.objects);
  EXPECT_EQ(ExchangeGestures::kindOf(text), ExchangeTextKind::Diagram);

  startSecondProject();
  ASSERT_EQ(play("rightclick\nchoose \"Specification Diagram\"\n"), "");
  const std::size_t before = count("Element");
  const grhost::ExchangeRead read =
      exchange_->importText(text, std::nullopt, "Specification Diagram");
  EXPECT_EQ(read.statements, written.statements);
  EXPECT_EQ(read.objectsCreated, written.objects);
  EXPECT_EQ(count("Element"), before + 4);  // the seed, two boxes and the line
  const RepId orders = gestures_->diagramWithCaption("Orders");
  std::vector<std::string> types;
  for (RepId element : model::partners(orders, "element"))
    types.push_back(model::attribute(model::firstPartner(element, "elemType"), "id"));
  EXPECT_EQ(types, (std::vector<std::string>{"box", "box", "line"}));
  // The types that the seed and the type diagram's boxes and line define
  // stayed behind (a tool export carries them), and so did the seed's own
  // tool, the project's box type with its "Name": their styles and the
  // seed's name are looked up through them, once each.
  std::vector<std::string> paths;
  for (const std::string& message : read.messages)
    paths.push_back(message.substr(message.rfind(" by path ") + 9));
  EXPECT_EQ(paths, (std::vector<std::string>{"target_type", "element.target_type", "compartType",
                                             "target_type", "target_type", "target_type"}));
}

TEST_F(ExchangeGesturesTest, ToolGoesFromItsSeedAndDrawsInTheOtherProject) {
  ASSERT_EQ(
      play("rightclick\nchoose \"Specification Diagram\"\nbox \"Seed\" as Seed\nclose form\n"), "");
  const fs::path text = texts_ / "tool.txt";
  exchange_->exportTool("NewDiagram", true, text);
  EXPECT_EQ(ExchangeGestures::kindOf(text), ExchangeTextKind::Tool);

  startSecondProject();
  const grhost::ExchangeRead read = exchange_->importText(text, std::nullopt, "");
  EXPECT_TRUE(read.messages.empty()) << read.messages[0];
  EXPECT_EQ(play("box \"NewDiagram\" as Use\n"
                 "close form\n"
                 "find Use.target as Made\n"
                 "find GraphDiagramType where id = \"NewDiagram\" as Imported\n"
                 "expect Made.graphDiagramType -> Imported\n"
                 "find GraphDiagram where caption = \"Specification Diagram\" as SeedDiagram\n"
                 "expect SeedDiagram.element count 1\n"),
            "");
}

TEST_F(ExchangeGesturesTest, RefusedTextNamesItsLineAndChangesNothing) {
  const fs::path text = texts_ / "bad.txt";
  std::ofstream(text) << "transformation ADD_METAMODEL_AND_DATA;\nbegin;\n addObj pp_1:Node;\n"
                         " addLink pp_1.owner.pp_1;\nend;\n";
  const std::size_t objects = count("Thing");
  const std::string error = failure([&] { exchange_->importText(text, std::nullopt, ""); });
  EXPECT_EQ(error, text.string() +
                       ", line 4: class \"Node\" has no role \"owner\". Nothing was imported.");
  EXPECT_EQ(count("Thing"), objects);
  EXPECT_EQ(failure([&] { exchange_->importText(texts_ / "none.txt", std::nullopt, ""); }),
            "there is no file " + (texts_ / "none.txt").string());
}

TEST_F(ExchangeGesturesTest, WhatCanNotBeExportedIsSaid) {
  EXPECT_EQ(failure([&] { exchange_->exportTool("nope", false, texts_ / "t.txt"); }),
            "there is no diagram type \"nope\"");
  EXPECT_NE(failure([&] {
              exchange_->exportTool("diagramTypeDiagram", false, texts_ / "t.txt");
            }).find("has no seed"),
            std::string::npos);
  EXPECT_EQ(failure([&] { exchange_->exportDiagram("Nowhere", texts_ / "d.txt"); }),
            "there is no diagram \"Nowhere\"");
  EXPECT_FALSE(fs::exists(texts_ / "t.txt"));
}

}  // namespace
