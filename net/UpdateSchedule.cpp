#include "net/UpdateSchedule.h"

#include <array>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "storage/XMLDoc.h"

const UpdateInterval kUpdateIntervals[9] = {
    kInterval1Day,    kInterval2Days,   kInterval1Week, kInterval2Weeks, kInterval1Month,
    kInterval2Months, kInterval6Months, kInterval1Year, kIntervalNever,
};

namespace {

// Days or months an interval moves the date; false for "Never" and unknown numbers.
bool IntervalStep(uint32_t interval, int32_t& days, int32_t& months) {
  days = months = 0;
  switch (interval) {
    case kInterval1Day:
      days = 1;
      return true;
    case kInterval2Days:
      days = 2;
      return true;
    case kInterval1Week:
      days = 7;
      return true;
    case kInterval2Weeks:
      days = 14;
      return true;
    case kInterval1Month:
      months = 1;
      return true;
    case kInterval2Months:
      months = 2;
      return true;
    case kInterval6Months:
      months = 6;
      return true;
    case kInterval1Year:
      months = 12;
      return true;
    default:
      return false;
  }
}

}  // namespace

CalendarDate NextDueDate(const CalendarDate& today, uint32_t interval) {
  CalendarDate due = today;
  int32_t days, months;
  if (!IntervalStep(interval, days, months)) {
    due.year = kNeverYear;
    due.month = 0;
    due.day = 1;
    return due;
  }
  if (days != 0) due.AddDays(days);
  if (months != 0) due.AddMonths(months);
  return due;
}

uint32_t PackDate(const CalendarDate& date) {
  return (date.day << 24) + ((date.month & 0xff) << 16) + (date.year & 0xffff);
}

CalendarDate UnpackDate(uint32_t packed, const CalendarDate& timeOf) {
  CalendarDate date = timeOf;
  date.year = packed & 0xffff;
  date.month = (packed >> 16) & 0xff;
  date.day = packed >> 24;
  return date;
}

bool IsCheckDue(uint32_t packed, const CalendarDate& today) {
  const CalendarDate due = UnpackDate(packed, today);
  return due.year != kNeverYear && due <= today;
}

namespace {

// Keeps the text of the last element of each name (any case) after the reader's cursor. One pass:
// the reader terminates names in place.
void ReadLastValues(XMLDoc& doc, std::initializer_list<std::pair<const WChar*, WString*>> fields) {
  while (const WChar* tag = doc.NextTag()) {
    if (doc.IsEndTag() || doc.IsEmptyTag()) continue;
    for (const auto& [name, value] : fields) {
      if (!EqualsNoCase(tag, name)) continue;
      if (const WChar* text = doc.ReadValue(name)) *value = XMLUnescape(text);
      break;
    }
  }
}

}  // namespace

VersionOffer ReadVersionOffer(XMLDoc& doc) {
  VersionOffer offer;
  ReadLastValues(doc, {{TXT("Version"), &offer.version}, {TXT("SHA256"), &offer.sha256}});
  return offer;
}

namespace {

// The four numbers of "a.b.c.d"; false for fewer, more, empty or non-decimal parts.
bool ParseVersion(WStringView text, std::array<uint32_t, 4>& parts) {
  size_t part = 0, digits = 0;
  parts.fill(0);
  for (WChar c : text) {
    if (c == '.' && digits > 0 && part < 3) {
      ++part;
      digits = 0;
    } else if (c >= '0' && c <= '9' && digits < 9) {
      parts[part] = parts[part] * 10 + uint32_t(c - '0');
      ++digits;
    } else {
      return false;
    }
  }
  return part == 3 && digits > 0;
}

int HexDigit(WChar c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool IsNewerVersion(WStringView offered, WStringView own) {
  std::array<uint32_t, 4> newer{}, running{};
  return ParseVersion(offered, newer) && ParseVersion(own, running) && newer > running;
}

bool DigestMatches(WStringView hex, const uint8_t (&digest)[32]) {
  const size_t first = hex.find_first_not_of(TXT(" \t\r\n"));
  if (first == WStringView::npos) return false;
  hex = hex.substr(first, hex.find_last_not_of(TXT(" \t\r\n")) - first + 1);
  if (hex.size() != 64) return false;
  for (size_t i = 0; i < 32; ++i) {
    const int high = HexDigit(hex[2 * i]), low = HexDigit(hex[2 * i + 1]);
    if (high < 0 || low < 0 || high * 16 + low != digest[i]) return false;
  }
  return true;
}

WString VersionText(uint32_t major, uint32_t minor, uint32_t build, uint32_t revision) {
  char text[48];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", major, minor, build, revision);
  return FromAscii(text);
}

NewsDocument ReadNewsDocument(WString text) {
  NewsDocument news;
  XMLDoc doc;
  doc.SetText(std::move(text));
  ReadLastValues(doc, {{TXT("MESSAGE"), &news.message}, {TXT("DATE"), &news.date}});
  return news;
}

void AppendBytes(WString& text, const char* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) text.push_back(static_cast<WChar>(static_cast<unsigned char>(bytes[i])));
}

WString HintDayText(const CalendarDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u%02u%04u", date.day % 100, date.month % 100, date.year % 10000);
  return FromAscii(text);
}
