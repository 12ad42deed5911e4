// The schedule arithmetic, the packed registry date and the readers of the server's documents.
#include <gtest/gtest.h>

#include "net/UpdateSchedule.h"
#include "storage/XMLDoc.h"

namespace {

CalendarDate Due(CalendarDate today, uint32_t interval) {
  return NextDueDate(today, interval);
}

void ExpectDate(const CalendarDate& date, uint32_t year, uint32_t month, uint32_t day) {
  EXPECT_EQ(std::tuple(date.year, date.month, date.day), std::tuple(year, month, day));
}

// Day intervals cross months and years; month intervals end on the last day of a shorter month;
// never, and an interval the program does not know, give year 9999, which is never due.
TEST(UpdateSchedule, NextDueDateOfEveryKindOfInterval) {
  const struct {
    CalendarDate today;
    uint32_t interval, year, month, day;
  } cases[] = {
      {{2026, 12, 31}, kInterval1Day, 2027, 1, 1},     {{2028, 2, 28}, kInterval2Days, 2028, 3, 1},
      {{2026, 12, 28}, kInterval1Week, 2027, 1, 4},    {{2026, 2, 20}, kInterval2Weeks, 2026, 3, 6},
      {{2026, 1, 31}, kInterval1Month, 2026, 2, 28},   {{2028, 1, 31}, kInterval1Month, 2028, 2, 29},
      {{2026, 12, 31}, kInterval2Months, 2027, 2, 28}, {{2026, 8, 31}, kInterval6Months, 2027, 2, 28},
      {{2028, 2, 29}, kInterval1Year, 2029, 2, 28},    {{2026, 11, 15}, kInterval2Months, 2027, 1, 15},
      {{2026, 5, 17}, kIntervalNever, 9999, 0, 1},     {{2026, 5, 17}, 4711, 9999, 0, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.interval);
    ExpectDate(Due(c.today, c.interval), c.year, c.month, c.day);
  }
  EXPECT_FALSE(IsCheckDue(PackDate(Due({2026, 5, 17}, kIntervalNever)), {9999, 12, 31}));
}

TEST(UpdateSchedule, PackedDateRoundTripsAndKeepsTheTimeOfDay) {
  const uint32_t packed = PackDate({2026, 3, 7});
  EXPECT_EQ(packed, 7u * 16777216u + 3u * 65536u + 2026u);
  const CalendarDate date = UnpackDate(packed, {2020, 1, 1, 13, 45, 10});
  ExpectDate(date, 2026, 3, 7);
  EXPECT_EQ(date.hour, 13u);
  EXPECT_EQ(date.minute, 45u);
  EXPECT_EQ(PackDate(Due({2026, 1, 1}, kIntervalNever)), 1u * 16777216u + 9999u);
}

TEST(UpdateSchedule, DueDateOfTodayOrEarlierIsDue) {
  const CalendarDate today{2026, 6, 10, 9, 30, 0};
  EXPECT_TRUE(IsCheckDue(PackDate({2026, 6, 10}), today));
  EXPECT_TRUE(IsCheckDue(PackDate({2025, 12, 31}), today));
  EXPECT_FALSE(IsCheckDue(PackDate({2026, 6, 11}), today));
}

TEST(UpdateDocuments, LastVersionAndHashElementsInAnyCaseCount) {
  XMLDoc doc;
  doc.SetText(
      TXT("<VERSION>4.4.0.0</VERSION><SHA256>00</SHA256>\r\n<version>4.4.1.0</version><Sha256>ab12</Sha256>"
          "<Other>1</Other>"));
  const VersionOffer offer = ReadVersionOffer(doc);
  EXPECT_EQ(offer.version, TXT("4.4.1.0"));
  EXPECT_EQ(offer.sha256, TXT("ab12"));
  XMLDoc none;
  none.SetText(TXT("<Release>4.4.1.0</Release>"));
  const VersionOffer nothing = ReadVersionOffer(none);
  EXPECT_EQ(nothing.version + nothing.sha256, WString());
  EXPECT_EQ(VersionText(4, 4, 1, 0), TXT("4.4.1.0"));
  EXPECT_EQ(VersionText(10, 0, 65535, 2), TXT("10.0.65535.2"));
}

// Numbers compare as numbers, part by part from the left; anything but four numbers is no update.
TEST(UpdateDocuments, OnlyALaterVersionIsNewer) {
  const struct {
    const char* offered;
    const char* own;
    bool newer;
  } cases[] = {
      {"4.4.1.0", "4.4.0.0", true},    {"4.4.0.1", "4.4.0.0", true},   {"5.0.0.0", "4.9.9.9", true},
      {"4.10.0.0", "4.9.0.0", true},   {"4.4.0.0", "4.4.0.0", false},  {"4.3.0.0", "4.4.0.0", false},
      {"4.4.0.0", "4.4.0.1", false},   {"4.9.0.0", "4.10.0.0", false}, {"4.4.1", "4.4.0.0", false},
      {"4.4.1.0.0", "4.4.0.0", false}, {"4.4..1", "4.4.0.0", false},   {"4.4.1.x", "4.4.0.0", false},
      {"", "4.4.0.0", false},          {" 5.0.0.0", "4.4.0.0", false}, {"5.0.0.0", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.offered) + " against " + c.own);
    EXPECT_EQ(IsNewerVersion(FromAscii(c.offered), FromAscii(c.own)), c.newer);
  }
}

TEST(UpdateDocuments, TheHashMatchesItsDigestInEitherCase) {
  uint8_t digest[32];
  for (uint8_t i = 0; i < 32; ++i) digest[i] = uint8_t(i * 8 + 0x0a);
  const std::string hex = "0a121a222a323a424a525a626a727a828a929aa2aab2bac2cad2dae2eaf2fa02";
  std::string upper = hex;
  for (char& c : upper) c = char(std::toupper(c));
  const struct {
    std::string text;
    bool matches;
  } cases[] = {
      {hex, true},
      {upper, true},
      {" " + hex + "\r\n", true},
      {hex.substr(0, 62) + "03", false},
      {hex.substr(0, 62), false},
      {hex + "00", false},
      {hex.substr(0, 62) + "0g", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(DigestMatches(FromAscii(c.text), digest), c.matches);
  }
}

TEST(UpdateDocuments, NewsKeepsTheLastUnescapedMessageAndDate) {
  WString text;
  const char bytes[] =
      "<POPUP><DATE>1</DATE><MESSAGE>old</MESSAGE><DATE>2024-06-01</DATE>"
      "<MESSAGE>&lt;b&gt;Caf\xe9&lt;/b&gt; &amp; more</MESSAGE></POPUP>";
  AppendBytes(text, bytes, sizeof bytes - 1);
  const NewsDocument news = ReadNewsDocument(text);
  EXPECT_EQ(news.date, TXT("2024-06-01"));
  WString expected = TXT("<b>Caf");
  expected.push_back(static_cast<WChar>(0xe9));
  expected += TXT("</b> & more");
  EXPECT_EQ(news.message, expected);
  EXPECT_EQ(ReadNewsDocument(TXT("<POPUP><MESSAGE>x</MESSAGE></POPUP>")).date, WString());
}

TEST(UpdateDocuments, HintDayIsZeroPaddedDayMonthYear) {
  EXPECT_EQ(HintDayText({2026, 3, 7}), TXT("07032026"));
  EXPECT_EQ(HintDayText({999, 12, 25}), TXT("25120999"));
}

}  // namespace
