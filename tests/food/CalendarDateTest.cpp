#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "FoodTestSupport.h"
#include "food/CalendarDate.h"

namespace {

using Date = CalendarDate;

// A date from "year-month-day[ hour:minute:second]".
Date At(const std::string& text) {
  Date date;
  std::sscanf(text.c_str(), "%u-%u-%u %u:%u:%u", &date.year, &date.month, &date.day, &date.hour, &date.minute,
              &date.second);
  return date;
}

std::string Shown(const Date& date) {
  char text[40];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", date.year, date.month, date.day,
                date.hour, date.minute, date.second);
  return text;
}

TEST(CalendarDate, DefaultValueAndDiaryFormat) {
  EXPECT_EQ("0000-01-01 00:00:00", Shown(Date()));
  EXPECT_EQ(TXT("01-01-0000"), Date().Text());
  const Date now = Date::Now();
  EXPECT_GE(now.year, 2020u);
  EXPECT_EQ(Date::kTimeNone, now.timeFormat);
}

// Every date format (texts joined by '|' in format order): two-digit years show the year modulo
// 100, the others four digits. Every time format: noon is 12 PM and midnight 12 AM; codes past the
// last time format show no time, and the date then stands alone.
TEST(CalendarDate, OtherFormats) {
  const std::pair<uint32_t, const WChar*> dates[] = {
      {2010, TXT("03-07-10|07-03-10|10-03-07|03-07-2010|07-03-2010|2010-03-07|March 7, 2010|Mar 7, 2010")},
      {2100, TXT("03-07-00|07-03-00|00-03-07|03-07-2100|07-03-2100|2100-03-07|March 7, 2100|Mar 7, 2100")},
      {7, TXT("03-07-07|07-03-07|07-03-07|03-07-0007|07-03-0007|0007-03-07|March 7, 0007|Mar 7, 0007")},
  };
  for (const auto& [year, texts] : dates) {
    Date date(year, 3, 7, 14, 5, 9);
    for (uint32_t format = 0; format < 8; ++format) {
      date.dateFormat = format;
      EXPECT_EQ(Split(texts)[format], date.DateText()) << year << " " << format;
    }
  }
  const std::pair<const char*, const WChar*> times[] = {
      {"0:0:0", TXT("12:00 AM|12:00:00 AM|00:00|00:00:00")},
      {"1:5:0", TXT("1:05 AM|1:05:00 AM|01:05|01:05:00")},
      {"11:59:59", TXT("11:59 AM|11:59:59 AM|11:59|11:59:59")},
      {"12:0:0", TXT("12:00 PM|12:00:00 PM|12:00|12:00:00")},
      {"14:5:9", TXT("2:05 PM|2:05:09 PM|14:05|14:05:09")},
  };
  for (const auto& [time, texts] : times) {
    Date date = At(std::string("2010-3-7 ") + time);
    for (uint32_t format = 0; format <= 4; ++format) {
      date.timeFormat = format;
      const WString text = format < 4 ? Split(texts)[format] : WString();
      EXPECT_EQ(text, date.TimeText()) << time << " " << format;
      EXPECT_EQ(TXT("03-07-2010") + (text.empty() ? text : TXT(" ") + text), date.Text());
    }
  }
  Date date(2010, 3, 7, 14, 5, 9);
  date.dateFormat = Date::kYearMonthDay;
  date.timeFormat = Date::kTime24;
  date.separator = TXT("/");
  EXPECT_EQ(TXT("2010/03/07 14:05"), date.Text());
}

// Numbers in the order of the format; after the date the time of day, wrapping at 24, 60 and 60,
// missing fields 0; month names in any case after leading non-letters. Only the three formats
// that show two-digit years read a year below 100 as one of this century.
TEST(CalendarDate, ParsesTypedDatesInTheFormatsOrder) {
  const std::pair<const WChar*, const char*> diary[] = {
      {TXT("3-7-10"), "10-3-7"},          {TXT("  sep 12 2010"), "2010-9-12"},
      {TXT(" 3/7/2010"), "2010-3-7"},     {TXT("03-07-2010 7:08"), "2010-3-7 7:8:0"},
      {TXT("03-01-2010"), "2010-3-1"},    {TXT("12 - December 24, 2010"), "2010-12-24"},
      {TXT("MAY 1, 2011"), "2011-5-1"},   {TXT("03-07-2010 24:60:60"), "2010-3-7 0:0:0"},
      {TXT("04-30-2010"), "2010-4-30"},   {TXT("03-07-2010 25:61:61"), "2010-3-7 1:1:1"},
      {TXT("02-29-2000"), "2000-2-29"},   {TXT("03-07-2010 14:05:09"), "2010-3-7 14:5:9"},
      {TXT("12-31-2010"), "2010-12-31"},  {TXT("03-07-2010 23:59:59"), "2010-3-7 23:59:59"},
      {TXT("Feb 29, 2012"), "2012-2-29"}, {TXT("March 7, 2010 12:30:15"), "2010-3-7 12:30:15"}};
  const struct {
    uint32_t format;
    const WChar* text;
    const char* date;
  } others[] = {{Date::kYearMonthDay, TXT("10-3-7"), "10-3-7"},
                {Date::kDayMonthYear, TXT("7.3.2010"), "2010-3-7"},
                {Date::kMonthDayShortYear, TXT("3-7-99"), "2099-3-7"},
                {Date::kMonthDayShortYear, TXT("3-7-100"), "100-3-7"},
                {Date::kShortYearMonthDay, TXT("10-3-7"), "2010-3-7"},
                {Date::kDayMonthShortYear, TXT("7-3-10"), "2010-3-7"},
                {Date::kMonthNameDayYear, TXT("March 7, 10"), "10-3-7"},
                {Date::kShortYearMonthDay, TXT("March 7, 10"), "2010-3-7"}};
  const auto expectParsed = [](uint32_t format, const WChar* text, const char* expected) {
    Date date(1999, 12, 31, 23, 59, 59);
    date.dateFormat = format;
    EXPECT_TRUE(date.Parse(text)) << ToUtf8(text);
    EXPECT_EQ(Shown(At(expected)), Shown(date)) << ToUtf8(text) << " " << format;
  };
  for (const auto& [text, date] : diary) expectParsed(Date::kMonthDayYear, text, date);
  for (const auto& c : others) expectParsed(c.format, c.text, c.date);
}

// Day 0, month 0 and a day past the month's end are no dates, and the value stays as it was.
TEST(CalendarDate, RejectsTextsWithoutAValidDay) {
  for (const WChar* text : {TXT(""), TXT("3-7"), TXT("today"), TXT("13-01-2010"), TXT("00-07-2010"),
                            TXT("03-00-2010"), TXT("04-31-2010"), TXT("02-29-2100"), TXT("Feb 29, 2011")}) {
    Date date(2001, 2, 3, 4, 5, 6);
    EXPECT_FALSE(date.Parse(text)) << ToUtf8(text);
    EXPECT_EQ("2001-02-03 04:05:06", Shown(date)) << ToUtf8(text);
  }
}

TEST(CalendarDate, DaysOfEveryMonthAndLeapYears) {
  const uint32_t common[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (uint32_t month = 1; month <= 12; ++month) {
    EXPECT_EQ(common[month - 1], Date::DaysInMonth(2010, month)) << month;
    EXPECT_EQ(common[month - 1] + (month == 2 ? 1 : 0), Date::DaysInMonth(2012, month)) << month;
  }
}

// Every name and abbreviation, in any case, reads back as its month.
TEST(CalendarDate, MonthNamesByNumber) {
  for (const auto& [month, name, abbreviation] : {std::tuple{1u, TXT("January"), TXT("Jan")},
                                                  {12u, TXT("December"), TXT("Dec")},
                                                  {0u, TXT(""), TXT("")},
                                                  {13u, TXT(""), TXT("")}})
    EXPECT_EQ(WString(name) + TXT("|") + abbreviation,
              WString(MonthName(month)) + TXT("|") + MonthAbbreviation(month))
        << month;
  for (uint32_t month = 1; month <= 12; ++month) {
    Date date;
    WString text = WString(MonthName(month)) + TXT(" 1, 2010");
    ASSERT_TRUE(date.Parse(text)) << ToUtf8(text);
    EXPECT_EQ(month, date.month);
    text = WString(MonthAbbreviation(month)) + TXT(" 1 2010");
    for (WChar& c : text) c = FoldCase(c);
    ASSERT_TRUE(date.Parse(text)) << ToUtf8(text);
    EXPECT_EQ(month, date.month);
  }
}

// Each field decides when the ones before it are equal, by number; formats are not part of the
// value.
TEST(CalendarDate, EveryFieldOrdersTheDates) {
  const char* const base = "2010-6-15 12:30:30";
  const std::pair<const char*, const char*> ordered[] = {
      {base, "2011-1-1 0:0:0"},           {base, "2010-7-1 0:0:0"},    {base, "2010-6-16 0:0:0"},
      {base, "2010-6-15 13:0:0"},         {base, "2010-6-15 12:31:0"}, {base, "2010-6-15 12:30:31"},
      {"2009-12-31 23:59:59", "2010-1-1"}};
  for (const auto& [first, second] : ordered) {
    const Date before = At(first), after = At(second);
    EXPECT_TRUE(before < after && after > before && before <= after && after >= before && before != after)
        << second;
    EXPECT_FALSE(after < before || before > after || after <= before || before >= after || before == after)
        << second;
  }
  const Date one = At(base);
  Date same = one;
  same.dateFormat = Date::kYearMonthDay;
  same.timeFormat = Date::kTime24;
  EXPECT_TRUE(one == same && one <= same && one >= same);
  EXPECT_FALSE(one != same || one < same || one > same);
}

// Days step over month ends, leap days, century years, the 400-year cycle and year 0, which the
// proleptic calendar counts as a leap year. Months carry into the year both ways; a day past the
// new month's end moves back to its last day; and no step goes below January of year 0. The time
// of day stays.
TEST(CalendarDate, AddsDaysAndMonths) {
  const struct {
    const char* from;
    int32_t days, months;
    const char* to;
  } steps[] = {
      {"0-2-28", 1, 0, "0-2-29"},     {"1900-2-28", 1, 0, "1900-3-1"},   {"2010-12-15", 0, 1, "2011-1-15"},
      {"0-3-1", -1, 0, "0-2-29"},     {"2010-1-31", 1, 0, "2010-2-1"},   {"2012-1-1", 365, 0, "2012-12-31"},
      {"0-1-1", 366, 0, "1-1-1"},     {"2010-4-30", 1, 0, "2010-5-1"},   {"2000-1-1", 36525, 0, "2100-1-1"},
      {"1-1-1", -1, 0, "0-12-31"},    {"2010-12-31", 1, 0, "2011-1-1"},  {"2010-1-15", 0, -1, "2009-12-15"},
      {"0-3-31", 0, -1, "0-2-29"},    {"2012-2-28", 1, 0, "2012-2-29"},  {"2010-6-15", 0, -30000, "0-1-15"},
      {"0-2-10", 0, -1, "0-1-10"},    {"2010-3-1", -1, 0, "2010-2-28"},  {"2012-2-29", -60, 0, "2011-12-31"},
      {"0-1-31", 0, -1, "0-1-31"},    {"2000-2-28", 1, 0, "2000-2-29"},  {"2000-1-1", 146097, 0, "2400-1-1"},
      {"1-1-15", 0, -1, "0-12-15"},   {"2010-1-31", 0, 1, "2010-2-28"},  {"2011-2-28", 0, -14, "2009-12-28"},
      {"2010-3-7", 0, 0, "2010-3-7"}, {"2011-11-30", 0, 3, "2012-2-29"}, {"2400-1-1", -146097, 0, "2000-1-1"},
  };
  for (const auto& step : steps) {
    Date date = At(std::string(step.from) + " 8:30:59");
    date.AddDays(step.days);
    date.AddMonths(step.months);
    EXPECT_EQ(Shown(At(std::string(step.to) + " 8:30:59")), Shown(date))
        << step.from << " + " << step.days << " days, " << step.months << " months";
  }
}

}  // namespace
