#include <gtest/gtest.h>

#include "host/base/Utf8.h"

namespace {

TEST(Utf8Test, WellFormedTextPassesAndEveryKindOfMalformedSequenceFails) {
  for (const char* good : {"", "plain", "Vārds", "Ceļojums €", "\xF0\x9F\x99\x82", "\x7F"})
    EXPECT_TRUE(grhost::isValidUtf8(good)) << good;
  for (const char* bad :
       {"\x80", "a\xC0\x80", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80", "\xE2\x82", "\xE2(\xA1", "\xFF", "caf\xE9"})
    EXPECT_FALSE(grhost::isValidUtf8(bad)) << testing::PrintToString(bad);
}

}  // namespace
