#include <gtest/gtest.h>

#include "storage/Text.h"

TEST(Text, CompareNoCaseFoldsLatinLetters) {
  EXPECT_EQ(0, CompareNoCase(TXT("Total Fat (g)"), TXT("total fat (G)")));
  EXPECT_EQ(0, CompareNoCase(TXT("\u00C9clair"), TXT("\u00E9CLAIR")));
  EXPECT_LT(CompareNoCase(TXT("apple"), TXT("Banana")), 0);
  EXPECT_GT(CompareNoCase(TXT("cherry"), TXT("Banana")), 0);
  EXPECT_LT(CompareNoCase(TXT("Bean"), TXT("beans")), 0);
}

TEST(Text, Utf8RoundTripKeepsSurrogatePairs) {
  const WString text = TXT("cr\u00E8me \u20AC \U0001F34E");
  EXPECT_EQ(text, FromUtf8(ToUtf8(text)));
  EXPECT_EQ("cr\xC3\xA8me", ToUtf8(TXT("cr\u00E8me")));
}
