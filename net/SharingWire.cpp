#include "net/SharingWire.h"

#include <cwctype>

#include "storage/Csv.h"
#include "storage/XMLDoc.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr uint32_t kLongMonth = 31, kFebruary = 28, kShortMonth = 30;

std::string Encode(WStringView text, const char* blank) {
  std::string out;
  out.reserve(text.size() * 3);
  for (WChar c : text) {
    if (std::iswalnum(c)) {
      out += static_cast<char>(c & 0xFF);
    } else if (c == ' ') {
      out += blank;
    } else {
      out += '%';
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

// The fields of one reply line; `pos` is at the line's first character and ends after its CR.
std::vector<WString> ReadLine(WStringView reply, size_t& pos) {
  std::vector<WString> fields(1);
  bool quoted = false, fieldStart = true;
  for (; pos < reply.size() && reply[pos] != '\r'; ++pos) {
    const WChar c = reply[pos];
    if (fieldStart && c == ' ') continue;
    fieldStart = false;
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
      fieldStart = true;
    } else {
      fields.back() += c;
    }
  }
  if (pos < reply.size()) ++pos;
  return fields;
}

uint32_t MonthLength(uint32_t month) {
  switch (month) {
    case 2:
      return kFebruary;
    case 4:
    case 6:
    case 9:
    case 11:
    case 12:
      return kShortMonth;
    default:
      return kLongMonth;
  }
}

}  // namespace

std::string FormEncode(WStringView text) {
  return Encode(text, "+");
}

std::string QueryEncode(WStringView text) {
  return Encode(text, "%20");
}

std::string UploadBody(WStringView document) {
  return "recipe=" + FormEncode(document);
}

bool IsUploadAccepted(std::string_view reply) {
  return reply.substr(0, 6) == "    OK";
}

std::vector<SharedRecipeListing> ParseSearchReply(WStringView reply) {
  std::vector<SharedRecipeListing> rows;
  size_t pos = 0;
  while (pos < reply.size()) {
    while (pos < reply.size() && (reply[pos] == ' ' || reply[pos] == '\n')) ++pos;
    if (pos >= reply.size()) break;
    const std::vector<WString> fields = ReadLine(reply, pos);
    if (fields.size() == 2) rows.push_back({ParseInt(fields[0].c_str()), fields[1]});
  }
  return rows;
}

CalendarDate SearchStartDate(SearchSince since, const CalendarDate& lastDownload, const CalendarDate& today) {
  CalendarDate start = today;
  switch (since) {
    case SearchSince::LastDownload:
      return lastDownload;
    case SearchSince::LastMonth:
      start.AddDays(-static_cast<int32_t>(MonthLength(today.month)));
      return start;
    case SearchSince::LastWeek:
      start.AddDays(-7);
      return start;
    case SearchSince::Yesterday:
      start.AddDays(-1);
      return start;
    case SearchSince::AllRecipes:
      break;
  }
  return CalendarDate(0, 1, 1);
}

WString SearchAddress(const ServerAddress& server, const CalendarDate& startDate, WStringView category,
                      WStringView name) {
  CalendarDate date = startDate;
  date.dateFormat = CalendarDate::kMonthDayYear;
  date.timeFormat = CalendarDate::kTimeNone;
  date.separator = TXT("-");
  std::string query = "?startdate=" + QueryEncode(date.DateText());
  if (!category.empty()) query += "&category=" + QueryEncode(category);
  if (!name.empty()) query += "&foodname=" + QueryEncode(name);
  // Each byte stands for itself: an accented letter is copied as its 8-bit code.
  return server.Url(TXT("/mirepan/findrecipe.php")) + WidenedBytes(query);
}
