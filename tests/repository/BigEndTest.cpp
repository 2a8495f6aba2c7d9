// A big link end against a plain vector that does the same: random appends
// (a present partner moves to the end), removals, ranks asked with holes
// open, and partners put back at a rank, as the undo history does.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "repository/BigEnd.h"

namespace {

uint32_t rankIn(const std::vector<RepId>& order, RepId partner) {
  return static_cast<uint32_t>(std::find(order.begin(), order.end(), partner) - order.begin());
}

TEST(BigEndTest, RanksAndPlacesFollowTheLinkOrderThroughHolesAndCompactions) {
  std::vector<RepId> expected;
  for (RepId id = 1; id <= 40; ++id) expected.push_back(id);
  rep::BigEnd end(expected);
  std::mt19937 random(11);
  RepId nextId = 41;
  auto any = [&] { return expected[random() % expected.size()]; };
  for (int step = 0; step < 20000; ++step) {
    switch (random() % 6) {
      case 0: {  // a new partner, or one moved to the end
        RepId partner = random() % 3 ? nextId++ : any();
        std::erase(expected, partner);
        expected.push_back(partner);
        end.append(partner);
        break;
      }
      case 1:
      case 2: {  // removed, then (sometimes) put back where it was
        if (expected.size() < 2) break;
        RepId partner = any();
        uint32_t rank = end.rankOf(partner);
        ASSERT_EQ(rank, rankIn(expected, partner)) << "step " << step;
        std::erase(expected, partner);
        ASSERT_TRUE(end.remove(partner));
        if (random() % 3 == 0) break;
        expected.insert(expected.begin() + rank, partner);
        end.insertAt(partner, rank);
        break;
      }
      case 3: {
        RepId partner = any();
        ASSERT_EQ(end.rankOf(partner), rankIn(expected, partner)) << "step " << step;
        break;
      }
      case 4: {  // a new partner at any rank
        uint32_t rank = random() % (expected.size() + 1);
        expected.insert(expected.begin() + rank, nextId);
        end.insertAt(nextId++, rank);
        break;
      }
      default:
        if (random() % 50 == 0) {
          ASSERT_EQ(end.ordered(), expected) << "step " << step;
        }
    }
    ASSERT_EQ(end.size(), expected.size());
  }
  EXPECT_EQ(end.ordered(), expected);
  for (uint32_t rank = 0; rank < expected.size(); ++rank) EXPECT_EQ(end.at(rank), expected[rank]);
}

// Links taken back together come back in the order they left, each at its
// rank: the holes they left serve, also when one lies a few steps away.
TEST(BigEndTest, ARunOfPartnersPutBackInOrderTakesTheHolesItLeft) {
  std::vector<RepId> expected;
  for (RepId id = 1; id <= 300; ++id) expected.push_back(id);
  rep::BigEnd end(expected);
  for (uint32_t first : {0u, 120u, 293u}) {
    std::vector<std::pair<RepId, uint32_t>> taken;
    for (uint32_t k = 0; k < 7 && first + 2 * k < expected.size(); ++k) {
      RepId partner = expected[first + 2 * k];
      taken.emplace_back(partner, first + 2 * k);
    }
    for (auto it = taken.rbegin(); it != taken.rend(); ++it) ASSERT_TRUE(end.remove(it->first));
    for (auto [partner, rank] : taken) end.insertAt(partner, rank);
    ASSERT_EQ(end.ordered(), expected) << "run from " << first;
  }
  end.remove(expected[10]);
  end.insertAt(expected[10], 10);
  EXPECT_EQ(end.ordered(), expected);
}

}  // namespace
