#pragma once
// The text forms of recipe sharing on the wire: the upload body, the search address and its
// reply, and the start dates the download dialog offers.
#include <cstdint>
#include <string>
#include <vector>

#include "food/CalendarDate.h"
#include "net/ServerAddress.h"
#include "storage/Text.h"

// Form encoding: letters and digits stay, a blank becomes "+" (or "%20" in a query), every other
// character "%" and two upper-case hex digits of its low 8 bits. Each output character is one byte.
std::string FormEncode(WStringView text);
std::string QueryEncode(WStringView text);

// "recipe=" and the form-encoded document.
std::string UploadBody(WStringView document);

// True when the reply begins with four blanks and "OK", exactly.
bool IsUploadAccepted(std::string_view reply);

// One row of a search reply.
struct SharedRecipeListing {
  int32_t id = 0;
  WString name;
};

// Lines end at CR; blanks and LF that begin a line are skipped. Fields part at commas, blanks that
// begin a field are skipped and double quotes group text with commas (the quotes are dropped). Only
// lines of exactly two fields, the id and the name, count.
std::vector<SharedRecipeListing> ParseSearchReply(WStringView reply);

// The download dialog's choices of where a search starts, in the order of its radio buttons.
enum class SearchSince { LastDownload, LastMonth, LastWeek, Yesterday, AllRecipes };

// The start date of a search made `today`. A month back is 31 days; 28 in February; 30 in April,
// June, September, November and December. All recipes start at the empty date 01-01-0000.
CalendarDate SearchStartDate(SearchSince since, const CalendarDate& lastDownload, const CalendarDate& today);

// "/mirepan/findrecipe.php?startdate=MM-DD-YYYY", then "&category=" and "&foodname=" when given,
// every value query-encoded.
WString SearchAddress(const ServerAddress& server, const CalendarDate& startDate, WStringView category,
                      WStringView name);
