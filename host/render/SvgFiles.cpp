// Which diagrams `grtool render` draws and the files it writes them to.
#include <cctype>
#include <fstream>

#include "host/base/HostError.h"
#include "host/base/Model.h"
#include "host/render/SvgRender.h"

namespace grhost::render {
namespace {

constexpr std::size_t kMaxNameBytes = 100;

bool isSafeByte(unsigned char c) {
  return std::isalnum(c) || c == '-' || c == '_' || c >= 0x80;
}

// Cut at most LIMIT bytes without splitting a UTF-8 sequence.
std::string cutAtCharacter(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

std::string safeStem(const std::string& caption) {
  std::string stem;
  for (unsigned char c : caption) {
    char kept = isSafeByte(c) ? static_cast<char>(c) : '_';
    if (kept == '_' && !stem.empty() && stem.back() == '_') continue;
    stem += kept;
  }
  while (!stem.empty() && stem.back() == '_') stem.pop_back();
  std::size_t first = stem.find_first_not_of('_');
  stem = first == std::string::npos ? "" : stem.substr(first);
  stem = cutAtCharacter(stem, kMaxNameBytes);
  return stem.empty() ? "diagram" : stem;
}

std::string lowerAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

RepId diagramByCaption(const std::string& caption) {
  for (RepId diagram : model::objectsOf("GraphDiagram"))
    if (model::attribute(diagram, "caption") == caption) return diagram;
  return 0;
}

RepId currentDiagram() {
  return model::firstPartner(model::firstOf("CurrentDgrPointer"), "graphDiagram");
}

std::vector<RepId> allDiagrams() {
  return model::objectsOf("GraphDiagram");
}

std::string fileNameFor(const std::string& caption, std::set<std::string>& used) {
  std::string stem = safeStem(caption), name = stem + ".svg";
  for (int suffix = 2; used.count(lowerAscii(name)); ++suffix)
    name = stem + "-" + std::to_string(suffix) + ".svg";
  used.insert(lowerAscii(name));
  return name;
}

void writeTextFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw HostError("Can not write " + file.string() + ".");
}

std::vector<RenderedFile> renderAllDiagrams(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec)
    throw HostError("Can not create the folder " + folder.string() + ": " + ec.message() + ".");
  std::vector<RenderedFile> files;
  std::set<std::string> used;
  for (RepId diagram : allDiagrams()) {
    std::string caption = model::attribute(diagram, "caption");
    std::filesystem::path file = folder / fileNameFor(caption, used);
    writeTextFile(file, renderDiagram(diagram));
    files.push_back({diagram, caption, file});
  }
  return files;
}

}  // namespace grhost::render
