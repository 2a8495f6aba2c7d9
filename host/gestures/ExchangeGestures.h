// Exchange texts as a user makes and reads them, composed of gestures: the
// diagram whose seed is exported is opened, the seed selected and the
// export transformation of its menu run; an import copies the text to the
// file the import transformation reads, opens the diagram that elements
// without a diagram are to join, and runs the transformation with the
// continuations it queues, in one gesture. Failures throw GestureError with
// a one-line reason; a refused text leaves the project as it was.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/gestures/Gestures.h"

namespace grhost {

struct ExchangeWritten {
  std::filesystem::path file;
  std::size_t objects = 0;
  std::size_t statements = 0;
  std::size_t bytes = 0;
};

struct ExchangeRead {
  std::size_t statements = 0;
  std::size_t objectsCreated = 0;
  // What the import showed besides "Import done!": the lookups that failed.
  std::vector<std::string> messages;
};

enum class ExchangeTextKind { Diagram, Tool };

class ExchangeGestures {
 public:
  explicit ExchangeGestures(Gestures& gestures) : gestures_(gestures) {}

  // The diagram with this caption and its elements, exported from its seed
  // ("exportDiagram_new"); a diagram without seed with its subdiagrams
  // ("exportDiagramWithSubdiagrams"). The text is copied to OUTPUT.
  ExchangeWritten exportDiagram(const std::string& caption, const std::filesystem::path& output);
  // The tool of the diagram type with this id, from its seed in the
  // seed diagram ("ExportDgrTypesWithoutSpec" or "...WithSpec").
  ExchangeWritten exportTool(const std::string& typeId, bool withSeeds,
                             const std::filesystem::path& output);
  // Reads FILE as a diagram text ("importElements") or a tool text
  // ("importDgrTypes"); without KIND, a text that declares a diagram type is
  // a tool. Elements without a diagram join the diagram INTOCAPTION (the
  // current diagram when empty).
  ExchangeRead importText(const std::filesystem::path& file, std::optional<ExchangeTextKind> kind,
                          const std::string& intoCaption);

  // A tool text declares a GraphDiagramType before "begin;".
  static ExchangeTextKind kindOf(const std::filesystem::path& file);

 private:
  // Opens the diagram of SEED, selects SEED and runs TRANSFORMATION.
  GestureOutcome runOnSeed(RepId seed, const std::string& transformation);
  // The file the export wrote (after the write numbered BEFORE), copied.
  ExchangeWritten copyWritten(std::size_t before, const GestureOutcome& outcome,
                              const std::filesystem::path& output);
  void openDiagram(RepId diagram);

  Gestures& gestures_;
};

}  // namespace grhost
