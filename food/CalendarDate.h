#pragma once
// A date and time of day with display formats: meal dates, the last recipe download, the update
// schedule. Ordering compares year, month, day, hour, minute and second.
#include <cstdint>

#include "storage/Text.h"

class CalendarDate {
 public:
  // Date display formats. Two-digit years show the year modulo 100; the separator stands between
  // the numeric fields.
  enum DateFormat : uint32_t {
    kMonthDayShortYear = 0,   // 03-07-10
    kDayMonthShortYear = 1,   // 07-03-10
    kShortYearMonthDay = 2,   // 10-03-07
    kMonthDayYear = 3,        // 03-07-2010, the diary's format
    kDayMonthYear = 4,        // 07-03-2010
    kYearMonthDay = 5,        // 2010-03-07
    kMonthNameDayYear = 6,    // March 7, 2010
    kMonthAbbrevDayYear = 7,  // Mar 7, 2010
  };
  // Time display formats; any other code shows no time.
  enum TimeFormat : uint32_t {
    kTime12 = 0,         // 3:05 PM
    kTime12Seconds = 1,  // 3:05:09 PM
    kTime24 = 2,         // 15:05
    kTime24Seconds = 3,  // 15:05:09
    kTimeNone = 5,
  };

  uint32_t year = 0;
  uint32_t month = 1;
  uint32_t day = 1;
  uint32_t hour = 0;
  uint32_t minute = 0;
  uint32_t second = 0;
  uint32_t dateFormat = kMonthDayYear;
  uint32_t timeFormat = kTimeNone;
  WString separator = TXT("-");

  CalendarDate() = default;
  CalendarDate(uint32_t y, uint32_t m, uint32_t d, uint32_t hh = 0, uint32_t mm = 0, uint32_t ss = 0)
      : year(y), month(m), day(d), hour(hh), minute(mm), second(ss) {}

  // The local date and time now, in the default formats.
  static CalendarDate Now();
  // The days of a month in the Gregorian calendar; 0 for a month outside 1..12.
  static uint32_t DaysInMonth(uint32_t year, uint32_t month);

  WString DateText() const;
  WString TimeText() const;  // empty with kTimeNone
  // The date, then a blank and the time when the time format shows one.
  WString Text() const;

  // Reads a typed date: after leading non-letters, a month name (full or abbreviated, any case)
  // followed by day and year; otherwise the first three numbers in the order of the date format
  // (two-digit-year formats add 2000 to a year below 100). The next three numbers give hour,
  // minute and second, modulo 24, 60 and 60, missing ones 0. Returns false, leaving the value as
  // it was, when the text holds no valid day of a month.
  bool Parse(WStringView text);

  // Calendar arithmetic keeping the time of day. Months move the month number, carrying into the
  // year, and move the day back to the month's last day when the month is shorter.
  void AddDays(int32_t days);
  void AddMonths(int32_t months);

  friend bool operator<(const CalendarDate& a, const CalendarDate& b) { return a.Compare(b) < 0; }
  friend bool operator>(const CalendarDate& a, const CalendarDate& b) { return a.Compare(b) > 0; }
  friend bool operator<=(const CalendarDate& a, const CalendarDate& b) { return a.Compare(b) <= 0; }
  friend bool operator>=(const CalendarDate& a, const CalendarDate& b) { return a.Compare(b) >= 0; }
  friend bool operator==(const CalendarDate& a, const CalendarDate& b) { return a.Compare(b) == 0; }
  friend bool operator!=(const CalendarDate& a, const CalendarDate& b) { return a.Compare(b) != 0; }

 private:
  int Compare(const CalendarDate& other) const;
  bool HasShortYear() const { return dateFormat <= kShortYearMonthDay; }
  // The order of the numeric fields: "mdy", "dmy" or "ymd".
  const char* FieldOrder() const;
};

// "January" .. "December" and "Jan" .. "Dec" by month number 1..12.
const WChar* MonthName(uint32_t month);
const WChar* MonthAbbreviation(uint32_t month);
