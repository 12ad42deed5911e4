#include "food/CalendarDate.h"

#include <cstdio>
#include <ctime>

#include "storage/XMLDoc.h"

namespace {

const WChar* const kMonthNames[12] = {TXT("January"),   TXT("February"), TXT("March"),    TXT("April"),
                                      TXT("May"),       TXT("June"),     TXT("July"),     TXT("August"),
                                      TXT("September"), TXT("October"),  TXT("November"), TXT("December")};
const WChar* const kMonthAbbreviations[12] = {TXT("Jan"), TXT("Feb"), TXT("Mar"), TXT("Apr"),
                                              TXT("May"), TXT("Jun"), TXT("Jul"), TXT("Aug"),
                                              TXT("Sep"), TXT("Oct"), TXT("Nov"), TXT("Dec")};

void AppendNumber(WString& out, uint32_t value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*u", width, value);
  for (const char* c = buffer; *c; ++c) out += static_cast<WChar>(*c);
}

bool IsAsciiLetter(WChar c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(WChar c) {
  return c >= '0' && c <= '9';
}

// The month whose full or abbreviated name the text starts with, 0 when none.
uint32_t LeadingMonth(WStringView text) {
  for (const WChar* const* names : {kMonthNames, kMonthAbbreviations})
    for (uint32_t m = 0; m < 12; ++m) {
      const WStringView name(names[m]);
      if (text.size() >= name.size() && EqualsNoCase(text.substr(0, name.size()), name)) return m + 1;
    }
  return 0;
}

// Walks the numbers of a text: each call skips to the next run of digits and reads it.
class NumberScanner {
 public:
  explicit NumberScanner(WStringView text) : text_(text) {}
  void Skip(size_t count) { pos_ += count; }
  bool Next(uint32_t& value) {
    while (pos_ < text_.size() && !IsDigit(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return false;
    const WString digits = ReadDigits();
    value = static_cast<uint32_t>(ParseInt(digits.c_str()));
    return true;
  }
  uint32_t NextOrZero() {
    uint32_t value = 0;
    return Next(value) ? value : 0;
  }

 private:
  WString ReadDigits() {
    const size_t start = pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    return WString(text_.substr(start, pos_ - start));
  }
  WStringView text_;
  size_t pos_ = 0;
};

// Days since 1 March of year 0 in the proleptic Gregorian calendar, and back.
int64_t DayNumber(int64_t y, uint32_t m, uint32_t d) {
  if (m <= 2) --y;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

void FromDayNumber(int64_t n, int64_t& y, uint32_t& m, uint32_t& d) {
  const int64_t era = (n >= 0 ? n : n - 146096) / 146097;
  const int64_t dayOfEra = n - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  d = static_cast<uint32_t>(dayOfYear - (153 * mp + 2) / 5 + 1);
  m = static_cast<uint32_t>(mp < 10 ? mp + 3 : mp - 9);
  y = yearOfEra + era * 400 + (m <= 2 ? 1 : 0);
}

}  // namespace

const WChar* MonthName(uint32_t month) {
  return month >= 1 && month <= 12 ? kMonthNames[month - 1] : TXT("");
}
const WChar* MonthAbbreviation(uint32_t month) {
  return month >= 1 && month <= 12 ? kMonthAbbreviations[month - 1] : TXT("");
}

CalendarDate CalendarDate::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return CalendarDate(static_cast<uint32_t>(local.tm_year + 1900), static_cast<uint32_t>(local.tm_mon + 1),
                      static_cast<uint32_t>(local.tm_mday), static_cast<uint32_t>(local.tm_hour),
                      static_cast<uint32_t>(local.tm_min), static_cast<uint32_t>(local.tm_sec));
}

uint32_t CalendarDate::DaysInMonth(uint32_t year, uint32_t month) {
  static const uint32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

WString CalendarDate::DateText() const {
  WString out;
  if (dateFormat == kMonthNameDayYear || dateFormat == kMonthAbbrevDayYear) {
    out += dateFormat == kMonthNameDayYear ? MonthName(month) : MonthAbbreviation(month);
    out += TXT(' ');
    AppendNumber(out, day, 1);
    out += TXT(", ");
    AppendNumber(out, year, 4);
    return out;
  }
  const char* order = FieldOrder();
  for (int i = 0; i < 3; ++i) {
    if (i > 0) out += separator;
    if (order[i] == 'y')
      AppendNumber(out, HasShortYear() ? year % 100 : year, HasShortYear() ? 2 : 4);
    else
      AppendNumber(out, order[i] == 'm' ? month : day, 2);
  }
  return out;
}

const char* CalendarDate::FieldOrder() const {
  switch (dateFormat) {
    case kDayMonthShortYear:
    case kDayMonthYear:
      return "dmy";
    case kShortYearMonthDay:
    case kYearMonthDay:
      return "ymd";
    default:
      return "mdy";
  }
}

WString CalendarDate::TimeText() const {
  WString out;
  if (timeFormat > kTime24Seconds) return out;
  const bool twelve = timeFormat == kTime12 || timeFormat == kTime12Seconds;
  AppendNumber(out, twelve ? (hour % 12 == 0 ? 12 : hour % 12) : hour, twelve ? 1 : 2);
  out += TXT(':');
  AppendNumber(out, minute, 2);
  if (timeFormat == kTime12Seconds || timeFormat == kTime24Seconds) {
    out += TXT(':');
    AppendNumber(out, second, 2);
  }
  if (twelve) out += hour < 12 ? TXT(" AM") : TXT(" PM");
  return out;
}

WString CalendarDate::Text() const {
  WString out = DateText();
  const WString time = TimeText();
  if (!time.empty()) out += TXT(' ') + time;
  return out;
}

bool CalendarDate::Parse(WStringView text) {
  size_t letter = 0;
  while (letter < text.size() && !IsAsciiLetter(text[letter])) ++letter;
  const uint32_t namedMonth = LeadingMonth(text.substr(letter));
  NumberScanner numbers(text);
  uint32_t y = 0, m = namedMonth, d = 0;
  bool found;
  if (namedMonth != 0) {
    numbers.Skip(letter);
    found = numbers.Next(d) && numbers.Next(y);
  } else {
    uint32_t fields[3] = {0, 0, 0};
    found = numbers.Next(fields[0]) && numbers.Next(fields[1]) && numbers.Next(fields[2]);
    const char* order = FieldOrder();
    for (int i = 0; i < 3; ++i) {
      uint32_t& field = order[i] == 'y' ? y : order[i] == 'm' ? m : d;
      field = fields[i];
    }
  }
  if (!found) return false;
  if (HasShortYear() && y < 100) y += 2000;
  if (d < 1 || d > DaysInMonth(y, m)) return false;
  year = y;
  month = m;
  day = d;
  hour = numbers.NextOrZero() % 24;
  minute = numbers.NextOrZero() % 60;
  second = numbers.NextOrZero() % 60;
  return true;
}

void CalendarDate::AddDays(int32_t days) {
  int64_t y = 0;
  FromDayNumber(DayNumber(year, month, day) + days, y, month, day);
  year = static_cast<uint32_t>(y);
}

void CalendarDate::AddMonths(int32_t months) {
  int64_t index = static_cast<int64_t>(year) * 12 + static_cast<int64_t>(month) - 1 + months;
  if (index < 0) index = 0;
  year = static_cast<uint32_t>(index / 12);
  month = static_cast<uint32_t>(index % 12) + 1;
  const uint32_t last = DaysInMonth(year, month);
  if (day > last) day = last;
}

int CalendarDate::Compare(const CalendarDate& other) const {
  const uint32_t a[6] = {year, month, day, hour, minute, second};
  const uint32_t b[6] = {other.year, other.month, other.day, other.hour, other.minute, other.second};
  for (int i = 0; i < 6; ++i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}
