// Reads arbitrary bytes as an exchange text into a store that holds the
// metamodels the exported texts use. What an input made is deleted after
// it; the store is built anew after an input that declared classes,
// attributes or associations, so that no input steers the next. Besides
// crashes, hangs and sanitizer reports, properties that hold for every text
// are checked (abort on violation):
// - a refused text changes nothing and names a line, on one line of text;
// - a text that is read is read whole, and what it made, written again by
//   the data writer, is a text the reader accepts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/repository.h"
#include "runtime/ExchangeCheck.h"
#include "runtime/ExchangeWriter.h"
#include "runtime/GraphExchange.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void dropMessage(const char*, const char*, void*) {}

// The metamodels of the diagrams and tool definitions that texts carry.
std::vector<std::string>& metamodels() {
  static std::vector<std::string> texts;
  return texts;
}

void loadMetamodelTexts() {
  for (const char* name : {"GraphDiagramEngineMetamodel.txt", "TypeAndMappingMetamodel.txt",
                           "ImportExportMetamodel.txt"}) {
    std::ifstream in(std::string(GR_SOURCE_DIR) + "/metamodels/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    require(!text.str().empty());
    metamodels().push_back(text.str());
  }
}

// Every object, class, attribute and link type id taken so far is below the
// id of an object made now.
RepId nextId() {
  const RepId probe = CreateObject(GetObjectTypeIdByName("Thing"));
  require(probe != 0 && DeleteObjectHard(probe));
  return probe;
}

std::vector<RepId> objectsFrom(RepId first) {
  std::vector<RepId> made;
  RepIdList* classes = GetObjectTypeIdList();
  for (std::uint32_t c = 0; c < RepIdListCount(classes); ++c) {
    const RepId cls = RepIdListItem(classes, c);
    for (std::uint32_t i = 0; i < GetObjectNum(cls); ++i) {
      const RepId object = GetObjectIdByIndex(cls, i);
      if (object >= first && GetObjectTypeId(object) == cls) made.push_back(object);
    }
  }
  RepIdListFree(classes);
  return made;
}

// One ExportItem per class of the objects the text made, holding them.
void registerForExport(const std::vector<RepId>& made) {
  const RepId item = GetObjectTypeIdByName("ExportItem");
  const RepId className = GetPropertyTypeIdByName(item, "className");
  const RepId thing = GetLinkTypeIdByName(item, "thing");
  require(item != 0 && className != 0 && thing != 0);
  std::vector<std::pair<RepId, RepId>> items;  // class, item
  for (RepId object : made) {
    const RepId cls = GetObjectTypeId(object);
    RepId holder = 0;
    for (const auto& [c, i] : items)
      if (c == cls) holder = i;
    if (holder == 0) {
      holder = CreateObject(item);
      require(AddProperty(holder, className, GetTypeName(cls)));
      items.emplace_back(cls, holder);
    }
    require(CreateLink(thing, holder, object));
  }
}

// FIRST was the probe's id: when nothing was made since, the next probe
// takes the id after it.
void checkRefused(const ExchangeImportReport& report, RepId first) {
  require(report.errorLine >= 1);
  require(!report.error.empty() && report.error.find('\n') == std::string::npos);
  require(report.firstObject == 0 && report.objectsCreated == 0);
  require(nextId() == first + 1);
}

void checkWrittenAgain(RepId first) {
  const std::vector<RepId> made = objectsFrom(first);
  registerForExport(made);
  gr::exchange::WriteCounts counts;
  const std::string text = gr::exchange::writeDataText(gr::exchange::ValueMode::Import, &counts);
  require(counts.objects == made.size());
  std::istringstream again(text);
  require(!gr::exchange::checkText(again));
}

void openStore() {
  require(RepOpenMemory() != 0);
  for (const std::string& metamodel : metamodels()) {
    std::istringstream in(metamodel);
    require(importExchangeStream(in, "metamodel").ended);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  GrSetMessageSink(dropMessage, nullptr);
  loadMetamodelTexts();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool open = false;
  if (!open) openStore();
  open = true;
  const RepId first = nextId();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const ExchangeImportReport report = importExchangeStream(in, "input");
  if (report.refused) {
    checkRefused(report, first);
  } else {
    require(report.begun && report.ended);
    checkWrittenAgain(first);
  }
  if (report.declarations != 0) {
    RepCloseProject();
    open = false;
  } else {
    for (RepId object : objectsFrom(first)) require(DeleteObjectHard(object));
  }
  return 0;
}
