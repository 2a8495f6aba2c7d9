// A fresh in-memory store, fresh runtime caches and a current folder of its
// own for every test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/repository.h"
#include "runtime/Generation.h"
#include "runtime/L0_ObjectIDListS.h"
#include "runtime/MessageSink.h"
#include "runtime/PartnerListCache.h"
#include "tests/TestFolder.h"

class RuntimeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RepOpenMemory()) << RepLastError();
    L0_ObjectIDListS::destroy();
    PartnerListCache::destroy();
    advanceGeneration();
    gr::setDefaultSinkEcho(false);
    gr::clearRecordedMessages();
  }
  void TearDown() override {
    L0_ObjectIDListS::destroy();
    PartnerListCache::destroy();
    RepCloseProject();
  }

  static RepId makeClass(const std::string& name, RepId superclass = 0) {
    RepId id = CreateObjectType1(name.c_str(), superclass);
    EXPECT_NE(id, 0u) << RepLastError();
    return id;
  }
  // ROLE leads from START to END, INVERSE back.
  static RepId makeAssoc(RepId start, const std::string& role, RepId end,
                         const std::string& inverse) {
    RepId id = CreateLinkType(start, role.c_str(), REP_MULT_MANY, 1, end, inverse.c_str(),
                              REP_MULT_MANY, 1, 0);
    EXPECT_NE(id, 0u) << RepLastError();
    return id;
  }
  static RepId makeAttr(RepId classId, const std::string& name, int baseType = BaseType_STRING) {
    RepId attr = GetPropertyTypeIdByName(0, name.c_str());
    if (attr == 0) attr = CreatePropertyType(name.c_str(), baseType);
    EXPECT_NE(attr, 0u) << RepLastError();
    EXPECT_TRUE(AddPropertyType(classId, attr)) << RepLastError();
    return attr;
  }
  static const std::vector<std::string>& messages() { return gr::recordedMessages(); }
  static std::string lastMessage() {
    return messages().empty() ? std::string() : messages().back();
  }

  grtest::CurrentFolder currentFolder_;
};
