// The diagram engine's style dialog as a form: its fields for a box, a line
// and their compartments (compared with tests/host/dialog/golden/
// style_dialog.txt; GR_UPDATE_GOLDEN=1 writes it anew), the check that
// refuses text where a number belongs, and the writing of each field into
// the style it shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "host/base/Model.h"
#include "host/dialog/StyleDialog.h"
#include "host/head/Session.h"
#include "platform/repository.h"
#include "runtime/GraphExchange.h"

namespace {

namespace model = grhost::model;
namespace styledialog = grhost::styledialog;
using Values = std::vector<std::pair<std::string, std::string>>;

const std::string kGolden =
    std::string(GR_SOURCE_DIR) + "/tests/host/dialog/golden/style_dialog.txt";

class StyleDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RepOpenMemory()) << RepLastError();
    for (const char* metamodel : {"GraphDiagramEngineMetamodel.txt", "TypeAndMappingMetamodel.txt",
                                  "DialogEngineMetamodel.txt"}) {
      ExchangeImportReport report =
          importExchangeFile((grhost::programFolder() / "metamodels" / metamodel).string());
      ASSERT_TRUE(report.ended) << metamodel;
    }
    transaction_ = std::make_unique<model::SaveTransaction>();
  }
  void TearDown() override {
    transaction_.reset();
    RepCloseProject();
  }

  static RepId object(const std::string& className, const Values& values = {}) {
    RepId created = model::create(className);
    for (const auto& [name, value] : values)
      EXPECT_TRUE(model::setAttribute(created, name, value)) << name;
    return created;
  }
  // A compartment of a type with this id, drawn in STYLE.
  static RepId compartment(RepId element, const std::string& typeId, RepId style) {
    RepId type = object("CompartType", {{"id", typeId}, {"caption", typeId + " field"}});
    RepId made = object("Compartment", {{"input", typeId}});
    model::link(made, "compartType", type);
    model::link(made, "compartStyle", style);
    model::link(element, "compartment", made);
    return made;
  }
  static RepId field(RepId form, const std::string& id) {
    for (RepId found : fieldsBelow(form))
      if (model::attribute(found, "id") == id) return found;
    ADD_FAILURE() << "no field " << id;
    return 0;
  }
  static std::vector<RepId> fieldsBelow(RepId container) {
    std::vector<RepId> found;
    for (RepId part : model::partners(container, "component")) {
      if (model::isKindOf(part, "D#InputField")) found.push_back(part);
      for (RepId inner : fieldsBelow(part)) found.push_back(inner);
    }
    return found;
  }
  // The form as an indented outline: class, id, caption or text; a row
  // as its label and its field.
  static void outline(RepId component, int depth, std::ostringstream& out) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ');
    if (model::isKindOf(component, "D#Row")) {
      for (RepId part : model::partners(component, "component")) {
        for (RepId label : model::partners(part, "component"))
          out << model::attribute(label, "caption") << ": ";
        if (model::isKindOf(part, "D#InputField"))
          out << model::attribute(part, "id") << " = \"" << model::attribute(part, "text") << "\"";
      }
      out << "\n";
      return;
    }
    out << model::className(component);
    for (const char* attribute : {"id", "caption", "text"}) {
      std::string value = model::attribute(component, attribute);
      if (!value.empty()) out << " " << attribute << "=\"" << value << "\"";
    }
    out << "\n";
    for (RepId part : model::partners(component, "component")) outline(part, depth + 1, out);
  }

  std::unique_ptr<model::SaveTransaction> transaction_;
};

TEST_F(StyleDialogTest, FieldsFollowTheStylesOfTheElementAndItsCompartments) {
  RepId boxStyle = object("NodeStyle", {{"shapeCode", "2"}, {"bkgColor", "255"}, {"width", "110"}});
  RepId box = object("Node");
  model::link(box, "elemStyle", boxStyle);
  RepId nameStyle = object("CompartStyle", {{"fontStyle", "1"}, {"fontTypeFace", "Arial"}});
  compartment(box, "Name", nameStyle);
  compartment(box, "Alias", nameStyle);  // a style shown once
  compartment(box, "Notes", object("CompartStyle", {{"isVisible", "0"}}));

  RepId lineStyle =
      object("EdgeStyle", {{"lineType", "16"}, {"dashLength", "6"}, {"endShapeCode", "3"}});
  RepId line = object("Edge");
  model::link(line, "elemStyle", lineStyle);

  std::ostringstream actual;
  for (RepId element : {box, line}) {
    RepId form = styledialog::buildForm(element);
    ASSERT_TRUE(form);
    EXPECT_TRUE(styledialog::isStyleForm(form));
    EXPECT_EQ(model::firstPartner(form, "presentationElement"), element);
    outline(form, 0, actual);
  }
  EXPECT_EQ(styledialog::buildForm(object("Node")), 0u) << "an element without a style";

  if (std::getenv("GR_UPDATE_GOLDEN")) std::ofstream(kGolden, std::ios::binary) << actual.str();
  std::ifstream in(kGolden, std::ios::binary);
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(actual.str(), expected.str()) << "GR_UPDATE_GOLDEN=1 writes " << kGolden;
}

TEST_F(StyleDialogTest, NumbersAreCheckedAndEachFieldGoesToTheStyleItShows) {
  RepId boxStyle = object("NodeStyle", {{"bkgColor", "255"}, {"picture", ""}});
  RepId box = object("Node");
  model::link(box, "elemStyle", boxStyle);
  RepId nameStyle = object("CompartStyle", {{"fontStyle", "0"}, {"fontSize", "9"}});
  compartment(box, "Name", nameStyle);
  RepId form = styledialog::buildForm(box);

  model::setAttribute(field(form, "bkgColor"), "text", "blue");
  EXPECT_EQ(styledialog::check(form),
            "Style: \"Fill Color\" must be a whole number, not \"blue\".");
  model::setAttribute(field(form, "bkgColor"), "text", "-3");
  model::setAttribute(field(form, "Name.fontSize"), "text", "12pt");
  EXPECT_EQ(styledialog::check(form), "Style: \"Font Size\" must be a whole number, not \"12pt\".");
  model::setAttribute(field(form, "Name.fontSize"), "text", "");
  model::setAttribute(field(form, "picture"), "text", "C:\\icons\\a b.png");
  model::setAttribute(field(form, "Name.fontTypeFace"), "text", "DejaVu Sans");
  model::setAttribute(field(form, "Name.fontStyle"), "text", "1");
  EXPECT_EQ(styledialog::check(form), "") << "texts where texts belong, empty numbers";

  styledialog::apply(form);
  EXPECT_EQ(model::attribute(boxStyle, "bkgColor"), "-3");
  EXPECT_EQ(model::attribute(boxStyle, "picture"), "C:\\icons\\a b.png");
  EXPECT_EQ(model::attribute(nameStyle, "fontStyle"), "1");
  EXPECT_EQ(model::attribute(nameStyle, "fontTypeFace"), "DejaVu Sans");
  EXPECT_EQ(model::attribute(nameStyle, "fontSize"), "");
  EXPECT_EQ(model::attribute(boxStyle, "fontStyle"), "") << "not the element style's";
}

}  // namespace
