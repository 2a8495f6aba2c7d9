#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/base/HostError.h"
#include "host/base/Model.h"
#include "host/render/SvgRender.h"
#include "tests/host/render/RenderFixture.h"

namespace {

namespace model = grhost::model;
namespace render = grhost::render;

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(RenderFileNames, CaptionsBecomeSafeUniqueFileNames) {
  std::set<std::string> used;
  EXPECT_EQ(render::fileNameFor("Klases diagramma", used), "Klases_diagramma.svg");
  EXPECT_EQ(render::fileNameFor("Klases diagramma", used), "Klases_diagramma-2.svg");
  EXPECT_EQ(render::fileNameFor("Klases/diagramma", used), "Klases_diagramma-3.svg");
  EXPECT_EQ(render::fileNameFor("../../etc/passwd", used), "etc_passwd.svg");
  EXPECT_EQ(render::fileNameFor("", used), "diagram.svg");
  EXPECT_EQ(render::fileNameFor("***", used), "diagram-2.svg");
  EXPECT_EQ(render::fileNameFor("Ķēde: \"A\" <B>", used), "Ķēde_A_B.svg");
  EXPECT_EQ(render::fileNameFor("CASE", used), "CASE.svg");
  EXPECT_EQ(render::fileNameFor("case", used), "case-2.svg");
  EXPECT_EQ(render::fileNameFor(".hidden", used), "hidden.svg");
}

TEST(RenderFileNames, LongCaptionsAreCutBetweenCharacters) {
  std::set<std::string> used;
  std::string caption;
  for (int i = 0; i < 50; ++i) caption += "€";  // three bytes each
  std::string name = render::fileNameFor(caption, used);
  EXPECT_LE(name.size(), 104u);
  EXPECT_GE(name.size(), 90u);
  EXPECT_EQ(name.substr(name.size() - 4), ".svg");
  EXPECT_EQ((name.size() - 4) % 3, 0u);  // no sequence split
}

class RenderFilesTest : public rendertest::RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    folder_ = std::filesystem::temp_directory_path() / ("grrender-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder_);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    RenderTest::TearDown();
  }
  std::filesystem::path folder_;
};

TEST_F(RenderFilesTest, EveryDiagramGoesIntoItsOwnFile) {
  compartment(node(), "first");
  RepId second = object("GraphDiagram", {{"caption", "Test diagram"}});
  RepId third = object("GraphDiagram", {{"caption", "Dārzs"}});
  model::link(second, "element", object("Node"));
  std::vector<render::RenderedFile> files = render::renderAllDiagrams(folder_ / "pictures");
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].file.filename(), "Test_diagram.svg");
  EXPECT_EQ(files[1].file.filename(), "Test_diagram-2.svg");
  EXPECT_EQ(files[2].file.filename(), "Dārzs.svg");
  EXPECT_EQ(files[2].diagram, third);
  for (const render::RenderedFile& rendered : files) {
    rendertest::ParsedXml svg = rendertest::parseXml(readFile(rendered.file));
    EXPECT_EQ(svg.error, "") << rendered.file;
    EXPECT_EQ(svg.root().need("title").text, rendered.caption);
  }
  EXPECT_EQ(rendertest::compartmentTexts(rendertest::parseXml(readFile(files[0].file)).root()),
            std::vector<std::string>{"first"});
}

TEST_F(RenderFilesTest, DiagramsAreFoundByCaptionOrAsTheCurrentOne) {
  RepId other = object("GraphDiagram", {{"caption", "Other"}});
  EXPECT_EQ(render::diagramByCaption("Other"), other);
  EXPECT_EQ(render::diagramByCaption("Test diagram"), diagram_);
  EXPECT_EQ(render::diagramByCaption("none"), 0u);
  EXPECT_EQ(render::currentDiagram(), 0u);
  RepId pointer = object("CurrentDgrPointer");
  model::link(pointer, "graphDiagram", other);
  EXPECT_EQ(render::currentDiagram(), other);
}

TEST_F(RenderFilesTest, AnUnwritableFolderIsReported) {
  std::filesystem::create_directories(folder_);
  std::ofstream(folder_ / "blocker") << "a file where a folder should be";
  EXPECT_THROW(render::renderAllDiagrams(folder_ / "blocker" / "pictures"), grhost::HostError);
  EXPECT_THROW(render::writeTextFile(folder_ / "missing" / "x.svg", "text"), grhost::HostError);
}

}  // namespace
