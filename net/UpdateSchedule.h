#pragma once
// The update and news arithmetic that needs no system: the check intervals and their next due
// dates, the packed date of the registry, and the readers of the version file and the news
// document.
#include <cstdint>

#include "food/CalendarDate.h"
#include "resources/resource.h"
#include "storage/Text.h"

class XMLDoc;

// The check intervals by the string-table number of their name, in the order of the
// "Auto-Update" combo box.
enum UpdateInterval : uint32_t {
  kInterval1Day = IDS_INTERVAL_1_DAY,
  kInterval2Days = IDS_INTERVAL_2_DAYS,
  kInterval1Week = IDS_INTERVAL_1_WEEK,
  kInterval2Weeks = IDS_INTERVAL_2_WEEKS,
  kInterval1Month = IDS_INTERVAL_1_MONTH,
  kInterval2Months = IDS_INTERVAL_2_MONTHS,
  kInterval6Months = IDS_INTERVAL_6_MONTHS,
  kInterval1Year = IDS_INTERVAL_1_YEAR,
  kIntervalNever = IDS_INTERVAL_NEVER,
};
extern const UpdateInterval kUpdateIntervals[9];

// A due date in this year is never reached.
constexpr uint32_t kNeverYear = 9999;

// `today` moved by `interval`, keeping the time of day; any unknown number counts as "Never"
// (year 9999, month 0, day 1).
CalendarDate NextDueDate(const CalendarDate& today, uint32_t interval);

// day × 2^24 + month × 2^16 + year, as the registry keeps it.
uint32_t PackDate(const CalendarDate& date);
// The packed date with the time of day of `timeOf`.
CalendarDate UnpackDate(uint32_t packed, const CalendarDate& timeOf);
// True when the packed due date has come (a date of today counts) and is not in year 9999.
bool IsCheckDue(uint32_t packed, const CalendarDate& today);

// What a version file offers: the newest version and, from the SHA256 element beside it, the
// installer's hash in hexadecimal (empty when the file carries none). The last element of each name
// counts, its name in any case.
struct VersionOffer {
  WString version;
  WString sha256;
};
VersionOffer ReadVersionOffer(XMLDoc& doc);
// True when `offered` is a later version than `own`, both four decimal numbers joined by "." and
// compared number by number; false when either is anything else.
bool IsNewerVersion(WStringView offered, WStringView own);
// True when `hex` (64 digits in either case, blanks around allowed) spells `digest`.
bool DigestMatches(WStringView hex, const uint8_t (&digest)[32]);
// "a.b.c.d" from the four parts of a file version.
WString VersionText(uint32_t major, uint32_t minor, uint32_t build, uint32_t revision);

// The news document's last MESSAGE and DATE, unescaped.
struct NewsDocument {
  WString message;
  WString date;
};
NewsDocument ReadNewsDocument(WString text);
// Each byte becomes one unit of the same value: the news document is not decoded.
void AppendBytes(WString& text, const char* bytes, size_t count);
// The day of a news check as "LastHint" keeps it: DDMMYYYY.
WString HintDayText(const CalendarDate& date);
