#include "common/latin1_case.h"

#include <gtest/gtest.h>

namespace tembrovia {
namespace {

TEST(Latin1Case, MapsLettersAndAccentedLetters) {
  EXPECT_EQ(Latin1Lower("DisplayBrush_9"), "displaybrush_9");
  EXPECT_EQ(Latin1Upper("displaybrush_9"), "DISPLAYBRUSH_9");
  EXPECT_EQ(Latin1Lower("\xC0\xD6\xD8\xDD"), "\xE0\xF6\xF8\xFD");
  EXPECT_EQ(Latin1Upper("\xE0\xF6\xF8\xFD"), "\xC0\xD6\xD8\xDD");
}

TEST(Latin1Case, LeavesTheOddOnesAlone) {
  for (unsigned char c : {0xD7, 0xDE, 0xDF, 0xF7, 0xFE, 0xFF, 0x40, 0x5B, 0x60, 0x7B}) {
    EXPECT_EQ(kLatin1Lower[c], c) << int(c);
    EXPECT_EQ(kLatin1Upper[c], c) << int(c);
  }
}

TEST(Latin1Case, UpperIsTheExactInverseOfLower) {
  for (int c = 0; c < 256; ++c) {
    if (kLatin1Lower[c] != c) {
      EXPECT_EQ(kLatin1Upper[kLatin1Lower[c]], c) << c;
    }
    if (kLatin1Upper[c] != c) {
      EXPECT_EQ(kLatin1Lower[kLatin1Upper[c]], c) << c;
    }
  }
  EXPECT_TRUE(Latin1EqualNoCase("\xC9t\xC9", "\xE9T\xE9"));
  EXPECT_FALSE(Latin1EqualNoCase("ab", "abc"));
}

}  // namespace
}  // namespace tembrovia
