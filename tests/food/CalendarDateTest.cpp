#include <gtest/gtest.h>

#include "food/CalendarDate.h"

namespace {

CalendarDate Parsed(const WChar* text, uint32_t format = CalendarDate::kMonthDayYear) {
  CalendarDate date(1999, 12, 31, 23, 59, 59);
  date.dateFormat = format;
  EXPECT_TRUE(date.Parse(text)) << ToUtf8(text);
  return date;
}

TEST(CalendarDate, DefaultValueAndDiaryFormat) {
  const CalendarDate none;
  EXPECT_EQ(0u, none.year);
  EXPECT_EQ(1u, none.month);
  EXPECT_EQ(1u, none.day);
  EXPECT_EQ(TXT("01-01-0000"), none.Text());
  EXPECT_EQ(TXT("03-07-2010"), CalendarDate(2010, 3, 7, 14, 5, 9).Text());
}

TEST(CalendarDate, OtherFormats) {
  CalendarDate date(2010, 3, 7, 14, 5, 9);
  const std::pair<uint32_t, const WChar*> dates[] = {
      {CalendarDate::kMonthDayShortYear, TXT("03-07-10")},
      {CalendarDate::kDayMonthShortYear, TXT("07-03-10")},
      {CalendarDate::kShortYearMonthDay, TXT("10-03-07")},
      {CalendarDate::kDayMonthYear, TXT("07-03-2010")},
      {CalendarDate::kYearMonthDay, TXT("2010-03-07")},
      {CalendarDate::kMonthNameDayYear, TXT("March 7, 2010")},
      {CalendarDate::kMonthAbbrevDayYear, TXT("Mar 7, 2010")},
  };
  for (const auto& [format, text] : dates) {
    date.dateFormat = format;
    EXPECT_EQ(text, date.DateText());
  }
  const std::pair<uint32_t, const WChar*> times[] = {
      {CalendarDate::kTime12, TXT("2:05 PM")}, {CalendarDate::kTime12Seconds, TXT("2:05:09 PM")},
      {CalendarDate::kTime24, TXT("14:05")},   {CalendarDate::kTime24Seconds, TXT("14:05:09")},
      {CalendarDate::kTimeNone, TXT("")},
  };
  for (const auto& [format, text] : times) {
    date.timeFormat = format;
    EXPECT_EQ(text, date.TimeText());
  }
  date.dateFormat = CalendarDate::kYearMonthDay;
  date.timeFormat = CalendarDate::kTime24;
  date.separator = TXT("/");
  EXPECT_EQ(TXT("2010/03/07 14:05"), date.Text());
  EXPECT_EQ(TXT("12:00 AM"), [] {
    CalendarDate midnight(2010, 1, 1);
    midnight.timeFormat = CalendarDate::kTime12;
    return midnight.TimeText();
  }());
}

TEST(CalendarDate, ParsesTypedDatesInTheFormatsOrder) {
  EXPECT_EQ(CalendarDate(2010, 3, 7), Parsed(TXT("03-07-2010")));
  EXPECT_EQ(CalendarDate(2010, 3, 7), Parsed(TXT(" 3/7/2010")));
  EXPECT_EQ(CalendarDate(10, 3, 7), Parsed(TXT("3-7-10")));  // four-digit format: the year 10
  EXPECT_EQ(CalendarDate(2010, 3, 7), Parsed(TXT("3-7-10"), CalendarDate::kMonthDayShortYear));
  EXPECT_EQ(CalendarDate(2010, 3, 7), Parsed(TXT("7.3.2010"), CalendarDate::kDayMonthYear));
  EXPECT_EQ(CalendarDate(2010, 3, 7), Parsed(TXT("2010-03-07"), CalendarDate::kYearMonthDay));
  EXPECT_EQ(CalendarDate(2010, 3, 7, 14, 5, 9), Parsed(TXT("03-07-2010 14:05:09")));
  EXPECT_EQ(CalendarDate(2010, 3, 7, 2, 5, 0), Parsed(TXT("03-07-2010 26:65")));  // modulo 24 and 60
}

TEST(CalendarDate, ParsesMonthNames) {
  EXPECT_EQ(CalendarDate(2010, 3, 7), Parsed(TXT("March 7, 2010")));
  EXPECT_EQ(CalendarDate(2010, 9, 12), Parsed(TXT("  sep 12 2010")));
  EXPECT_EQ(CalendarDate(2011, 5, 1), Parsed(TXT("MAY 1, 2011")));
  EXPECT_EQ(CalendarDate(2010, 12, 24), Parsed(TXT("12 - December 24, 2010")))
      << "leading non-letters skipped";
}

TEST(CalendarDate, RejectsTextsWithoutAValidDay) {
  for (const WChar* text : {TXT(""), TXT("3-7"), TXT("13-01-2010"), TXT("02-30-2010"), TXT("today")}) {
    CalendarDate date(2001, 2, 3, 4, 5, 6);
    EXPECT_FALSE(date.Parse(text)) << ToUtf8(text);
    EXPECT_EQ(CalendarDate(2001, 2, 3, 4, 5, 6), date);
  }
  CalendarDate leap;
  EXPECT_TRUE(leap.Parse(TXT("02-29-2000")));
  EXPECT_FALSE(leap.Parse(TXT("02-29-1900")));
}

TEST(CalendarDate, OrderingComparesDateThenTime) {
  EXPECT_LT(CalendarDate(2009, 12, 31, 23, 59, 59), CalendarDate(2010, 1, 1));
  EXPECT_LT(CalendarDate(2010, 1, 1), CalendarDate(2010, 1, 1, 0, 0, 1));
  EXPECT_LT(CalendarDate(2010, 2, 1), CalendarDate(2010, 10, 1));
  EXPECT_FALSE(CalendarDate(2010, 1, 1) < CalendarDate(2010, 1, 1));
  CalendarDate shown(2010, 1, 1);
  shown.dateFormat = CalendarDate::kYearMonthDay;
  EXPECT_EQ(CalendarDate(2010, 1, 1), shown);  // formats are not part of the value
}

TEST(CalendarDate, AddsDaysAndMonths) {
  CalendarDate date(2010, 12, 31, 8, 30, 0);
  date.AddDays(1);
  EXPECT_EQ(CalendarDate(2011, 1, 1, 8, 30, 0), date);
  date = CalendarDate(2012, 2, 28);
  date.AddDays(1);
  EXPECT_EQ(CalendarDate(2012, 2, 29), date);
  date.AddDays(-60);
  EXPECT_EQ(CalendarDate(2011, 12, 31), date);
  date = CalendarDate(2010, 1, 31);
  date.AddMonths(1);
  EXPECT_EQ(CalendarDate(2010, 2, 28), date);
  date = CalendarDate(2010, 8, 31);
  date.AddMonths(6);
  EXPECT_EQ(CalendarDate(2011, 2, 28), date);
  date.AddMonths(-14);
  EXPECT_EQ(CalendarDate(2009, 12, 28), date);
}

TEST(CalendarDate, NowIsAPlausibleLocalTime) {
  const CalendarDate now = CalendarDate::Now();
  EXPECT_GE(now.year, 2020u);
  EXPECT_GE(now.day, 1u);
  EXPECT_LE(now.day, CalendarDate::DaysInMonth(now.year, now.month));
  EXPECT_EQ(CalendarDate::kTimeNone, now.timeFormat);
}

}  // namespace
