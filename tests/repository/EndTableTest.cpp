// The end table on its own: link type ids of any size (short ones share the
// run header with the count, long ones take a word of their own), runs
// inline and out of line, in the object's words and on the heap.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <variant>
#include <vector>

#include "repository/EndTable.h"

namespace reptest {
namespace {

using rep::EndTable;

// What the table should hold: partners in order, or the slot of a big end.
using Expected = std::map<RepId, std::variant<std::vector<RepId>, uint32_t>>;

std::string describe(const EndTable& table) {
  std::string text;
  table.forEachRun([&](RepId linkType, const EndTable::Run& run) {
    text += std::to_string(linkType) + ":";
    if (run.outOfLine) {
      text += "slot " + std::to_string(run.bigSlot);
    } else {
      for (RepId partner : run.partners) text += " " + std::to_string(partner);
    }
    text += ";";
  });
  return text;
}

void expectHolds(const EndTable& table, const Expected& expected, int step) {
  size_t runs = 0;
  table.forEachRun([&](RepId, const EndTable::Run&) { ++runs; });
  ASSERT_EQ(expected.size(), runs) << "step " << step << ": " << describe(table);
  for (const auto& [linkType, content] : expected) {
    EndTable::Run run = table.find(linkType);
    ASSERT_TRUE(run.present) << "step " << step << " type " << linkType;
    if (const auto* partners = std::get_if<std::vector<RepId>>(&content)) {
      ASSERT_FALSE(run.outOfLine);
      ASSERT_EQ(*partners, std::vector<RepId>(run.partners.begin(), run.partners.end()))
          << "step " << step << " type " << linkType;
    } else {
      ASSERT_TRUE(run.outOfLine);
      ASSERT_EQ(std::get<uint32_t>(content), run.bigSlot);
    }
  }
  EXPECT_EQ(expected.empty(), table.empty());
}

TEST(EndTableTest, RunsOfShortAndLongLinkTypeIdsReadBackAsTheyWereMade) {
  const RepId types[] = {3, 4, 0xFFFFFE, 0xFFFFFF, 0x1000000, 0xFFFFFFFE, 77};
  EndTable table;
  Expected expected;
  std::mt19937 random(3);
  for (int step = 0; step < 20000; ++step) {
    RepId linkType = types[random() % std::size(types)];
    // Partner ids of any size, some of them again and again.
    RepId partner = random() % 2 ? 1 + random() % 20 : static_cast<RepId>(random());
    auto found = expected.find(linkType);
    bool outOfLine = found != expected.end() && std::holds_alternative<uint32_t>(found->second);
    switch (random() % 10) {
      case 0: {
        uint32_t slot = random() % 1000;
        table.setOutOfLine(linkType, slot);
        expected[linkType] = slot;
        break;
      }
      case 1:
        table.eraseRun(linkType);
        expected.erase(linkType);
        break;
      case 2:
      case 3:
      case 4: {
        bool removed = table.removeInline(linkType, partner);
        bool present = false;
        if (found != expected.end() && !outOfLine) {
          auto& partners = std::get<std::vector<RepId>>(found->second);
          present = std::erase(partners, partner) != 0;
          if (partners.empty()) expected.erase(found);
        }
        ASSERT_EQ(present, removed) << "step " << step;
        break;
      }
      default: {
        bool appended = table.appendInline(linkType, partner);
        if (outOfLine) {
          ASSERT_FALSE(appended);
          break;
        }
        std::vector<RepId> partners;
        if (found != expected.end()) partners = std::get<std::vector<RepId>>(found->second);
        std::erase(partners, partner);
        bool fits = partners.size() < EndTable::kMaxInline;
        ASSERT_EQ(fits, appended) << "step " << step;
        if (!fits) break;
        partners.push_back(partner);
        expected[linkType] = partners;
      }
    }
    expectHolds(table, expected, step);
    if (HasFatalFailure()) return;
  }
}

TEST(EndTableTest, WholeRunsAddedAndClearedLeaveNothingBehind) {
  EndTable table;
  std::vector<RepId> partners = {9, 8, 7, 6, 5, 4, 3, 2, 1, 10, 11, 12, 13, 14, 15, 16};
  table.addRun(0x2000000, partners);
  table.addRun(5, std::vector<RepId>{42});
  Expected expected;
  expected[0x2000000] = partners;
  expected[5] = std::vector<RepId>{42};
  expectHolds(table, expected, 0);
  table.clear();
  EXPECT_TRUE(table.empty());
  EXPECT_FALSE(table.find(5).present);
  EXPECT_TRUE(table.appendInline(5, 43)) << "usable after clearing";
}

}  // namespace
}  // namespace reptest
