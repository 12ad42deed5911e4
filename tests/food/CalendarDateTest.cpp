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

// Hour, minute and second after the date wrap at 24, 60 and 60; missing ones are 0.
TEST(CalendarDate, TypedTimeOfDayWrapsAtItsLimits) {
  const std::pair<const WChar*, CalendarDate> cases[] = {
      {TXT("03-07-2010 23:59:59"), CalendarDate(2010, 3, 7, 23, 59, 59)},
      {TXT("03-07-2010 24:60:60"), CalendarDate(2010, 3, 7, 0, 0, 0)},
      {TXT("03-07-2010 25:61:61"), CalendarDate(2010, 3, 7, 1, 1, 1)},
      {TXT("03-07-2010 7"), CalendarDate(2010, 3, 7, 7, 0, 0)},
      {TXT("03-07-2010 7:08"), CalendarDate(2010, 3, 7, 7, 8, 0)},
      {TXT("March 7, 2010 12:30:15"), CalendarDate(2010, 3, 7, 12, 30, 15)},
  };
  for (const auto& [text, date] : cases) EXPECT_EQ(date, Parsed(text)) << ToUtf8(text);
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

struct TimeCase {
  uint32_t hour, minute, second;
  const WChar* twelve;
  const WChar* twelveSeconds;
  const WChar* twentyFour;
};

// Noon is 12 PM and midnight 12 AM; the hour after each shows as 1.
TEST(CalendarDate, TwelveHourClockTurnsAtNoonAndMidnight) {
  const TimeCase cases[] = {
      {0, 0, 0, TXT("12:00 AM"), TXT("12:00:00 AM"), TXT("00:00")},
      {0, 59, 5, TXT("12:59 AM"), TXT("12:59:05 AM"), TXT("00:59")},
      {1, 5, 0, TXT("1:05 AM"), TXT("1:05:00 AM"), TXT("01:05")},
      {11, 59, 59, TXT("11:59 AM"), TXT("11:59:59 AM"), TXT("11:59")},
      {12, 0, 0, TXT("12:00 PM"), TXT("12:00:00 PM"), TXT("12:00")},
      {12, 30, 9, TXT("12:30 PM"), TXT("12:30:09 PM"), TXT("12:30")},
      {13, 0, 0, TXT("1:00 PM"), TXT("1:00:00 PM"), TXT("13:00")},
      {23, 59, 59, TXT("11:59 PM"), TXT("11:59:59 PM"), TXT("23:59")},
  };
  for (const TimeCase& c : cases) {
    CalendarDate date(2010, 3, 7, c.hour, c.minute, c.second);
    date.timeFormat = CalendarDate::kTime12;
    EXPECT_EQ(c.twelve, date.TimeText()) << c.hour;
    date.timeFormat = CalendarDate::kTime12Seconds;
    EXPECT_EQ(c.twelveSeconds, date.TimeText()) << c.hour;
    date.timeFormat = CalendarDate::kTime24;
    EXPECT_EQ(c.twentyFour, date.TimeText()) << c.hour;
    date.timeFormat = CalendarDate::kTime12;
    EXPECT_EQ(WString(TXT("03-07-2010 ")) + c.twelve, date.Text());
  }
  // Codes past the last time format show no time, and the date then stands alone.
  CalendarDate date(2010, 3, 7, 9, 5, 0);
  for (const uint32_t none : {4u, 5u, 99u}) {
    date.timeFormat = none;
    EXPECT_EQ(TXT(""), date.TimeText()) << none;
    EXPECT_EQ(TXT("03-07-2010"), date.Text()) << none;
  }
}

// Only the three formats that show two-digit years read a year below 100 as one of this century.
TEST(CalendarDate, TwoDigitYearsBelongToTheShortYearFormats) {
  const struct {
    uint32_t format;
    const WChar* text;
    CalendarDate date;
  } cases[] = {
      {CalendarDate::kMonthDayShortYear, TXT("3-7-99"), CalendarDate(2099, 3, 7)},
      {CalendarDate::kMonthDayShortYear, TXT("3-7-0"), CalendarDate(2000, 3, 7)},
      {CalendarDate::kMonthDayShortYear, TXT("3-7-100"), CalendarDate(100, 3, 7)},
      {CalendarDate::kMonthDayShortYear, TXT("3-7-2010"), CalendarDate(2010, 3, 7)},
      {CalendarDate::kDayMonthShortYear, TXT("7-3-10"), CalendarDate(2010, 3, 7)},
      {CalendarDate::kShortYearMonthDay, TXT("10-3-7"), CalendarDate(2010, 3, 7)},
      {CalendarDate::kShortYearMonthDay, TXT("March 7, 10"), CalendarDate(2010, 3, 7)},
      {CalendarDate::kMonthDayYear, TXT("3-7-99"), CalendarDate(99, 3, 7)},
      {CalendarDate::kYearMonthDay, TXT("10-3-7"), CalendarDate(10, 3, 7)},
      {CalendarDate::kMonthNameDayYear, TXT("March 7, 10"), CalendarDate(10, 3, 7)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.date, Parsed(c.text, c.format)) << ToUtf8(c.text) << " " << c.format;

  const std::pair<uint32_t, const WChar*> shown[] = {
      {2005, TXT("03-07-05")}, {1999, TXT("03-07-99")}, {2100, TXT("03-07-00")}, {7, TXT("03-07-07")}};
  for (const auto& [year, text] : shown) {
    CalendarDate date(year, 3, 7);
    date.dateFormat = CalendarDate::kMonthDayShortYear;
    EXPECT_EQ(text, date.DateText());
    date.dateFormat = CalendarDate::kMonthDayYear;
    EXPECT_EQ(4u, date.DateText().size() - 6) << year;  // four digits with the long formats
  }
  CalendarDate early(5, 3, 7);
  early.dateFormat = CalendarDate::kMonthNameDayYear;
  EXPECT_EQ(TXT("March 7, 0005"), early.DateText());
}

TEST(CalendarDate, DaysOfEveryMonthAndLeapYears) {
  const uint32_t common[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (uint32_t month = 1; month <= 12; ++month) {
    EXPECT_EQ(common[month - 1], CalendarDate::DaysInMonth(2010, month)) << month;
    EXPECT_EQ(common[month - 1] + (month == 2 ? 1 : 0), CalendarDate::DaysInMonth(2012, month)) << month;
  }
  EXPECT_EQ(0u, CalendarDate::DaysInMonth(2010, 0));
  EXPECT_EQ(0u, CalendarDate::DaysInMonth(2010, 13));
  const std::pair<uint32_t, uint32_t> februaries[] = {{1900, 28}, {2000, 29}, {2004, 29}, {2010, 28},
                                                      {2100, 28}, {2400, 29}, {0, 29},    {1, 28}};
  for (const auto& [year, days] : februaries) EXPECT_EQ(days, CalendarDate::DaysInMonth(year, 2)) << year;
}

// Day 0, month 0 and a day past the month's end are no dates; the last day of each month is.
TEST(CalendarDate, ParseChecksTheDayAgainstTheMonth) {
  for (const WChar* text : {TXT("03-00-2010"), TXT("00-07-2010"), TXT("04-31-2010"), TXT("12-32-2010"),
                            TXT("02-29-2100"), TXT("March 0, 2010"), TXT("Feb 29, 2011")}) {
    CalendarDate date(2001, 2, 3);
    EXPECT_FALSE(date.Parse(text)) << ToUtf8(text);
    EXPECT_EQ(CalendarDate(2001, 2, 3), date) << ToUtf8(text);
  }
  EXPECT_EQ(CalendarDate(2010, 1, 31), Parsed(TXT("01-31-2010")));
  EXPECT_EQ(CalendarDate(2010, 4, 30), Parsed(TXT("04-30-2010")));
  EXPECT_EQ(CalendarDate(2010, 12, 31), Parsed(TXT("12-31-2010")));
  EXPECT_EQ(CalendarDate(2012, 2, 29), Parsed(TXT("Feb 29, 2012")));
  EXPECT_EQ(CalendarDate(2010, 3, 1), Parsed(TXT("03-01-2010")));
}

TEST(CalendarDate, MonthNamesByNumber) {
  EXPECT_EQ(WString(TXT("January")), MonthName(1));
  EXPECT_EQ(WString(TXT("December")), MonthName(12));
  EXPECT_EQ(WString(TXT("Jan")), MonthAbbreviation(1));
  EXPECT_EQ(WString(TXT("Dec")), MonthAbbreviation(12));
  for (const uint32_t none : {0u, 13u}) {
    EXPECT_EQ(WString(), MonthName(none)) << none;
    EXPECT_EQ(WString(), MonthAbbreviation(none)) << none;
  }
  for (uint32_t month = 1; month <= 12; ++month) {
    // Every name and abbreviation, in any case, reads back as its month.
    CalendarDate date;
    WString text = WString(MonthName(month)) + TXT(" 1, 2010");
    ASSERT_TRUE(date.Parse(text)) << ToUtf8(text);
    EXPECT_EQ(month, date.month);
    text = WString(MonthAbbreviation(month)) + TXT(" 1 2010");
    for (WChar& c : text) c = FoldCase(c);
    ASSERT_TRUE(date.Parse(text)) << ToUtf8(text);
    EXPECT_EQ(month, date.month);
  }
}

// Each field decides when the ones before it are equal.
TEST(CalendarDate, EveryFieldOrdersTheDates) {
  const CalendarDate base(2010, 6, 15, 12, 30, 30);
  const CalendarDate later[] = {
      CalendarDate(2011, 1, 1, 0, 0, 0),    CalendarDate(2010, 7, 1, 0, 0, 0),
      CalendarDate(2010, 6, 16, 0, 0, 0),   CalendarDate(2010, 6, 15, 13, 0, 0),
      CalendarDate(2010, 6, 15, 12, 31, 0), CalendarDate(2010, 6, 15, 12, 30, 31),
  };
  for (const CalendarDate& after : later) {
    const std::string shown = ToUtf8(after.Text());
    EXPECT_TRUE(base < after) << shown;
    EXPECT_TRUE(after > base) << shown;
    EXPECT_TRUE(base <= after) << shown;
    EXPECT_TRUE(after >= base) << shown;
    EXPECT_TRUE(base != after) << shown;
    EXPECT_FALSE(after < base) << shown;
    EXPECT_FALSE(base > after) << shown;
    EXPECT_FALSE(after <= base) << shown;
    EXPECT_FALSE(base >= after) << shown;
    EXPECT_FALSE(base == after) << shown;
  }
  const CalendarDate same(2010, 6, 15, 12, 30, 30);
  EXPECT_TRUE(base == same && base <= same && base >= same);
  EXPECT_FALSE(base != same || base < same || base > same);
}

struct DayStep {
  CalendarDate from;
  int32_t days;
  CalendarDate to;
};

// Steps over month ends, leap days, century years, the 400-year cycle and year 0, which the
// proleptic calendar counts as a leap year.
TEST(CalendarDate, AddDaysAcrossMonthsYearsAndYearZero) {
  const DayStep steps[] = {
      {CalendarDate(2010, 3, 1), -1, CalendarDate(2010, 2, 28)},
      {CalendarDate(2012, 3, 1), -1, CalendarDate(2012, 2, 29)},
      {CalendarDate(1900, 2, 28), 1, CalendarDate(1900, 3, 1)},
      {CalendarDate(2000, 2, 28), 1, CalendarDate(2000, 2, 29)},
      {CalendarDate(2010, 1, 31), 1, CalendarDate(2010, 2, 1)},
      {CalendarDate(2010, 4, 30), 1, CalendarDate(2010, 5, 1)},
      {CalendarDate(2010, 7, 31), 1, CalendarDate(2010, 8, 1)},
      {CalendarDate(2010, 8, 31), 1, CalendarDate(2010, 9, 1)},
      {CalendarDate(2010, 11, 30), 1, CalendarDate(2010, 12, 1)},
      {CalendarDate(2010, 1, 1), 364, CalendarDate(2010, 12, 31)},
      {CalendarDate(2012, 1, 1), 365, CalendarDate(2012, 12, 31)},
      {CalendarDate(2000, 1, 1), 146097, CalendarDate(2400, 1, 1)},
      {CalendarDate(2400, 1, 1), -146097, CalendarDate(2000, 1, 1)},
      {CalendarDate(2000, 1, 1), 36525, CalendarDate(2100, 1, 1)},
      {CalendarDate(2100, 2, 28), 1, CalendarDate(2100, 3, 1)},
      {CalendarDate(2010, 3, 7), 0, CalendarDate(2010, 3, 7)},
      {CalendarDate(0, 2, 28), 1, CalendarDate(0, 2, 29)},
      {CalendarDate(0, 2, 29), 1, CalendarDate(0, 3, 1)},
      {CalendarDate(0, 3, 1), -1, CalendarDate(0, 2, 29)},
      {CalendarDate(0, 1, 1), 59, CalendarDate(0, 2, 29)},
      {CalendarDate(0, 1, 1), 366, CalendarDate(1, 1, 1)},
      {CalendarDate(1, 1, 1), -1, CalendarDate(0, 12, 31)},
      {CalendarDate(1, 3, 1), -366, CalendarDate(0, 2, 29)},
      {CalendarDate(0, 1, 31), 1, CalendarDate(0, 2, 1)},
  };
  for (const DayStep& step : steps) {
    CalendarDate date = step.from;
    date.hour = 8;
    date.minute = 30;
    date.AddDays(step.days);
    CalendarDate expected = step.to;
    expected.hour = 8;
    expected.minute = 30;
    EXPECT_EQ(expected, date) << ToUtf8(step.from.Text()) << " + " << step.days << " gives "
                              << ToUtf8(date.Text());
  }
}

struct MonthStep {
  CalendarDate from;
  int32_t months;
  CalendarDate to;
};

// Months carry into the year both ways; a day past the new month's end moves back to its last
// day; and no step goes below January of year 0.
TEST(CalendarDate, AddMonthsCarriesIntoTheYearAndStopsAtYearZero) {
  const MonthStep steps[] = {
      {CalendarDate(2010, 12, 15), 1, CalendarDate(2011, 1, 15)},
      {CalendarDate(2010, 1, 15), -1, CalendarDate(2009, 12, 15)},
      {CalendarDate(2010, 11, 30), 3, CalendarDate(2011, 2, 28)},
      {CalendarDate(2011, 11, 30), 3, CalendarDate(2012, 2, 29)},
      {CalendarDate(2010, 3, 31), 1, CalendarDate(2010, 4, 30)},
      {CalendarDate(2010, 5, 31), 0, CalendarDate(2010, 5, 31)},
      {CalendarDate(2010, 6, 15), 24, CalendarDate(2012, 6, 15)},
      {CalendarDate(2010, 6, 15), -120, CalendarDate(2000, 6, 15)},
      {CalendarDate(1, 1, 15), -1, CalendarDate(0, 12, 15)},
      {CalendarDate(0, 3, 31), -1, CalendarDate(0, 2, 29)},
      {CalendarDate(0, 2, 10), -1, CalendarDate(0, 1, 10)},
      {CalendarDate(0, 3, 15), -5, CalendarDate(0, 1, 15)},
      {CalendarDate(0, 1, 31), -1, CalendarDate(0, 1, 31)},
      {CalendarDate(2010, 6, 15), -30000, CalendarDate(0, 1, 15)},
  };
  for (const MonthStep& step : steps) {
    CalendarDate date = step.from;
    date.second = 59;
    date.AddMonths(step.months);
    CalendarDate expected = step.to;
    expected.second = 59;
    EXPECT_EQ(expected, date) << ToUtf8(step.from.Text()) << " + " << step.months << " months gives "
                              << ToUtf8(date.Text());
  }
}

TEST(CalendarDate, NowIsAPlausibleLocalTime) {
  const CalendarDate now = CalendarDate::Now();
  EXPECT_GE(now.year, 2020u);
  EXPECT_GE(now.day, 1u);
  EXPECT_LE(now.day, CalendarDate::DaysInMonth(now.year, now.month));
  EXPECT_EQ(CalendarDate::kTimeNone, now.timeFormat);
}

}  // namespace
