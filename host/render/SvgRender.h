// Diagrams as SVG documents, drawn from the elements' geometry and the
// model's element and compartment styles (docs/rendering.md), and written to
// files for `grtool render`.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "host/diagram/GeometryModel.h"
#include "host/diagram/RenderStyles.h"
#include "platform/repository.h"

namespace grhost::render {

// Where the pictures that styles name are looked for: the folder "pictures"
// of the open project (whose folder is the current directory).
inline const std::filesystem::path kProjectPictures = "pictures";

// The document for GEOMETRY, the diagram's laid-out elements; pictures are
// taken from PICTURES.
std::string svgOfDiagram(RepId diagram, const DiagramGeometry& geometry, StyleBook& styles,
                         const std::filesystem::path& pictures = kProjectPictures);
// The group of GEOMETRY's element at INDEX, with the ports and nodes it
// holds (those of GEOMETRY whose owner it is), drawn as svgOfDiagram draws
// it; no XML declaration. "" for an index out of range.
std::string svgOfElement(const DiagramGeometry& geometry, int index, StyleBook& styles,
                         const std::filesystem::path& pictures = kProjectPictures);
// "node", "port", "edge", "free-box" or "free-line": the class a group of
// the kind carries.
std::string kindName(ElementKind kind);
// Lays the diagram out (writing new locations: run it inside a save
// transaction) and draws it.
std::string renderDiagram(RepId diagram, const std::filesystem::path& pictures = kProjectPictures);

// The first diagram with this caption; 0 when there is none.
RepId diagramByCaption(const std::string& caption);
// The current diagram (the CurrentDgrPointer's); 0 when there is none.
RepId currentDiagram();
std::vector<RepId> allDiagrams();

// A file name ending in ".svg" made from the caption: characters that are
// unsafe in file names become "_", a name already in USED gets "-2", "-3" ...
// (compared without case); the result is added to USED.
std::string fileNameFor(const std::string& caption, std::set<std::string>& used);

struct RenderedFile {
  RepId diagram = 0;
  std::string caption;
  std::filesystem::path file;
};
// Renders every diagram into FOLDER (created when missing), one file each.
// Throws HostError when a file can not be written.
std::vector<RenderedFile> renderAllDiagrams(const std::filesystem::path& folder);
// Throws HostError when the file can not be written.
void writeTextFile(const std::filesystem::path& file, const std::string& text);

}  // namespace grhost::render
