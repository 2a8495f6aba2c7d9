#include "host/gestures/ExchangeGestures.h"

#include <fstream>

#include "host/base/Model.h"
#include "runtime/ExchangeWriter.h"
#include "runtime/GraphExchange.h"

namespace grhost {
namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// The texts the gesture showed, without the closing message.
std::vector<std::string> shown(const GestureOutcome& outcome, const std::string& closing) {
  std::vector<std::string> texts;
  for (const Message& message : outcome.messages)
    if (message.kind != "note" && message.text != closing) texts.push_back(message.text);
  return texts;
}

std::string firstShown(const GestureOutcome& outcome, const std::string& closing) {
  const std::vector<std::string> texts = shown(outcome, closing);
  return texts.empty() ? "nothing was shown" : texts.front();
}

void copyFile(const fs::path& from, const fs::path& to) {
  std::error_code error;
  if (fs::exists(to, error) && fs::equivalent(from, to, error)) return;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  if (error)
    throw GestureError("can not copy " + from.string() + " to " + to.string() + ": " +
                       error.message());
}

RepId diagramTypeWithId(const std::string& id) {
  for (RepId type : model::objectsOf("GraphDiagramType"))
    if (model::attribute(type, "id") == id) return type;
  throw GestureError("there is no diagram type " + quoted(id));
}

}  // namespace

void ExchangeGestures::openDiagram(RepId diagram) {
  if (gestures_.head().diagrams().currentDiagram() != diagram) gestures_.openDiagram(diagram);
}

GestureOutcome ExchangeGestures::runOnSeed(RepId seed, const std::string& transformation) {
  const RepId parent = model::firstPartner(seed, "graphDiagram");
  if (!parent) throw GestureError(gestures_.describe(seed) + " is in no diagram");
  openDiagram(parent);
  gestures_.select({seed});
  return gestures_.transform(transformation);
}

ExchangeWritten ExchangeGestures::copyWritten(std::size_t before, const GestureOutcome& outcome,
                                              const fs::path& output) {
  const gr::exchange::ExchangeWrite& written = gr::exchange::lastExchangeWrite();
  if (written.run == before || !written.written)
    throw GestureError("nothing was written: " + firstShown(outcome, ""));
  copyFile(written.file, output);
  return ExchangeWritten{output, written.counts.objects, written.counts.statements, written.bytes};
}

ExchangeWritten ExchangeGestures::exportDiagram(const std::string& caption,
                                                const fs::path& output) {
  const RepId diagram = gestures_.diagramWithCaption(caption);
  const RepId seed = model::firstPartner(diagram, "source");
  const std::size_t before = gr::exchange::lastExchangeWrite().run;
  if (seed) return copyWritten(before, runOnSeed(seed, "exportDiagram_new"), output);
  openDiagram(diagram);
  return copyWritten(before, gestures_.transform("exportDiagramWithSubdiagrams"), output);
}

ExchangeWritten ExchangeGestures::exportTool(const std::string& typeId, bool withSeeds,
                                             const fs::path& output) {
  const RepId type = diagramTypeWithId(typeId);
  const RepId seed = model::firstPartner(type, "representation");
  if (!seed)
    throw GestureError("the diagram type " + quoted(typeId) +
                       " has no seed in the seed diagram; tools are exported from their "
                       "seeds");
  const std::size_t before = gr::exchange::lastExchangeWrite().run;
  return copyWritten(
      before, runOnSeed(seed, withSeeds ? "ExportDgrTypesWithSpec" : "ExportDgrTypesWithoutSpec"),
      output);
}

ExchangeTextKind ExchangeGestures::kindOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("begin;", 0) == 0) break;
    if (line.find(":GraphDiagramType;") != std::string::npos &&
        line.find("pointer ") != std::string::npos)
      return ExchangeTextKind::Tool;
  }
  return ExchangeTextKind::Diagram;
}

ExchangeRead ExchangeGestures::importText(const fs::path& file,
                                          std::optional<ExchangeTextKind> kind,
                                          const std::string& intoCaption) {
  std::error_code error;
  if (!fs::is_regular_file(file, error)) throw GestureError("there is no file " + file.string());
  const bool tool = kind.value_or(kindOf(file)) == ExchangeTextKind::Tool;
  copyFile(file, gestures_.head().paths().project /
                     (tool ? "DiagramTypeExportResult.txt" : "DiagramExportResult.txt"));
  if (!intoCaption.empty()) openDiagram(gestures_.diagramWithCaption(intoCaption));

  const std::size_t before = lastExchangeImport().run;
  const GestureOutcome outcome = gestures_.transform(tool ? "importDgrTypes" : "importElements");
  const ExchangeImportReport& report = lastExchangeImport();
  if (report.run == before)
    throw GestureError("the import did not run: " + firstShown(outcome, ""));
  if (!report.fileOpened) throw GestureError(firstShown(outcome, ""));
  // The reader read the copy; the user knows the text by its own name.
  if (report.refused)
    throw GestureError(file.string() + ", line " + std::to_string(report.errorLine) + ": " +
                       report.error + ". Nothing was imported.");
  return ExchangeRead{report.statements, report.objectsCreated, shown(outcome, "Import done!")};
}

}  // namespace grhost
