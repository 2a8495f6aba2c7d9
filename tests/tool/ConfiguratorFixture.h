// A fresh in-memory store with every metamodel of the source tree loaded,
// fresh runtime caches, a new generation and a current folder of its own for
// every test; helpers to read the model back in link order.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/repository.h"
#include "runtime/Generation.h"
#include "runtime/GraphExchange.h"
#include "runtime/L0_ObjectIDListS.h"
#include "runtime/L0_Var.h"
#include "runtime/MessageSink.h"
#include "runtime/NativeFunctions.h"
#include "runtime/PartnerListCache.h"
#include "tests/TestFolder.h"

// Failure output names the object by its id.
inline void PrintTo(const L0_Var_2& object, std::ostream* out) {
  *out << object.toTraceString();
}

class ConfiguratorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RepOpenMemory()) << RepLastError();
    gr::setDefaultSinkEcho(false);
    for (const char* file :
         {"HeadEngineMetamodel.txt", "GraphDiagramEngineMetamodel.txt", "DialogEngineMetamodel.txt",
          "MultiUserEngineMetamodel.txt", "TypeAndMappingMetamodel.txt", "DomainMetamodel.txt",
          "ImportExportMetamodel.txt"}) {
      ExchangeImportReport report =
          importExchangeFile(std::string(GR_SOURCE_DIR) + "/metamodels/" + file);
      ASSERT_TRUE(report.ended) << file;
      ASSERT_TRUE(report.skipped.empty()) << file << ": " << report.skipped.front();
    }
    L0_ObjectIDListS::destroy();
    PartnerListCache::destroy();
    advanceGeneration();
    gr::clearRecordedMessages();
  }
  void TearDown() override {
    L0_ObjectIDListS::destroy();
    PartnerListCache::destroy();
    RepCloseProject();
  }

  using Objects = std::vector<L0_Var_2>;

  static L0_Var_2 create(const std::string& className) {
    L0_Var_2 object(className);
    object.addObj(className);
    return object;
  }
  static Objects all(const std::string& className) {
    Objects result;
    L0_Var_2 object(className);
    for (bool found = object.setFirstToRoot(className); found; found = object.next())
      result.push_back(object);
    return result;
  }
  static Objects over(const L0_Var_2& from, const std::string& role) {
    Objects result;
    L0_Var_2 partner;
    for (bool found = partner.setFirstByRelation(from, role); found; found = partner.next())
      result.push_back(partner);
    return result;
  }
  static L0_Var_2 first(const L0_Var_2& from, const std::string& role) {
    L0_Var_2 partner;
    partner.setFirstByRelation(from, role);
    return partner;
  }
  static std::string attr(const L0_Var_2& object, const std::string& name) {
    return object.getAttrOfActualClass(name);
  }
  static std::vector<std::string> attrs(const Objects& objects, const std::string& name) {
    std::vector<std::string> values;
    for (const L0_Var_2& object : objects) values.push_back(attr(object, name));
    return values;
  }
  static std::vector<std::string> classes(const Objects& objects) {
    std::vector<std::string> names;
    for (const L0_Var_2& object : objects) names.push_back(getClassName(object));
    return names;
  }
  static L0_Var_2 withId(const Objects& objects, const std::string& id) {
    for (const L0_Var_2& object : objects)
      if (attr(object, "id") == id) return object;
    return L0_Var_2();
  }
  static L0_Var_2 diagramType(const std::string& id) { return withId(all("GraphDiagramType"), id); }
  static L0_Var_2 elemType(const std::string& diagramTypeId, const std::string& id) {
    return withId(over(diagramType(diagramTypeId), "elemType"), id);
  }
  static const std::vector<std::string>& messages() { return gr::recordedMessages(); }
  // Each pair: the attribute and its expected value.
  static void expectValues(const L0_Var_2& object,
                           const std::vector<std::pair<std::string, std::string>>& values) {
    ASSERT_FALSE(object.isNull());
    for (const auto& [name, value] : values)
      EXPECT_EQ(attr(object, name), value)
          << getClassName(object) << " " << attr(object, "id") << "." << name;
  }

  grtest::CurrentFolder currentFolder_;
};
