// Amounts, times, yields, addresses and instruction text.
#include "webrecipe/RecipeText.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

bool IsWordByte(char c) {
  return IsAsciiDigit(c) || IsAsciiLetter(c) || static_cast<unsigned char>(c) >= 0x80;
}

// The value of the Unicode vulgar fraction the text starts with, and its length in bytes.
bool ReadVulgarFraction(std::string_view text, double& value, size_t& length) {
  static const struct {
    uint32_t codePoint;
    double value;
  } kFractions[] = {{0xBC, 1.0 / 4},   {0xBD, 1.0 / 2},    {0xBE, 3.0 / 4},   {0x2150, 1.0 / 7},
                    {0x2151, 1.0 / 9}, {0x2152, 1.0 / 10}, {0x2153, 1.0 / 3}, {0x2154, 2.0 / 3},
                    {0x2155, 1.0 / 5}, {0x2156, 2.0 / 5},  {0x2157, 3.0 / 5}, {0x2158, 4.0 / 5},
                    {0x2159, 1.0 / 6}, {0x215A, 5.0 / 6},  {0x215B, 1.0 / 8}, {0x215C, 3.0 / 8},
                    {0x215D, 5.0 / 8}, {0x215E, 7.0 / 8}};
  if (text.empty() || static_cast<unsigned char>(text[0]) < 0xC2) return false;
  size_t i = 0;
  const uint32_t c = NextCodePoint(text, i);
  for (const auto& fraction : kFractions) {
    if (fraction.codePoint != c) continue;
    value = fraction.value;
    length = i;
    return true;
  }
  return false;
}

// "one" to "twelve" as a whole word.
bool ReadNumberWord(std::string_view& text, double& value) {
  static const char* const kWords[] = {"one",   "two",   "three", "four", "five",   "six",
                                       "seven", "eight", "nine",  "ten",  "eleven", "twelve"};
  const std::string_view word = LeadingWord(text);
  if (word.size() < text.size() && IsWordByte(text[word.size()])) return false;
  const std::string lower = LowerAscii(word);
  for (size_t n = 0; n < std::size(kWords); ++n) {
    if (lower != kWords[n]) continue;
    value = static_cast<double>(n + 1);
    text.remove_prefix(word.size());
    return true;
  }
  return false;
}

// Digits at the start, at most 15 of them counted (the rest only passed), into value.
size_t ReadDigits(std::string_view text, double& value, size_t& count) {
  size_t p = 0;
  count = 0;
  for (; p < text.size() && IsAsciiDigit(text[p]); ++p) {
    if (count++ < 15) value = value * 10 + (text[p] - '0');
  }
  return p;
}

size_t DigitRun(std::string_view text, size_t from) {
  size_t p = from;
  while (p < text.size() && IsAsciiDigit(text[p])) ++p;
  return p - from;
}

// Decimals after a point or comma at text[p], added to value; returns the position after them.
size_t ReadDecimals(std::string_view text, size_t p, double& value) {
  double scale = 0.1;
  for (++p; p < text.size() && IsAsciiDigit(text[p]); ++p, scale /= 10) value += (text[p] - '0') * scale;
  return p;
}

enum class NumberKind { kNone, kWhole, kDecimal, kFraction };

// A number without sign: digits with decimals (point, or a comma before one or two digits),
// digits grouped by commas in threes, or a fraction n/d.
NumberKind ReadPlainNumber(std::string_view& text, double& value) {
  value = 0;
  size_t count = 0;
  size_t p = ReadDigits(text, value, count);
  if (p == 0) {
    if (text.size() < 2 || text[0] != '.' || !IsAsciiDigit(text[1])) return NumberKind::kNone;
    text.remove_prefix(ReadDecimals(text, 0, value));
    return NumberKind::kDecimal;
  }
  while (p < text.size() && text[p] == ',' && DigitRun(text, p + 1) == 3) {  // 1,000
    double group = 0;
    p += 1 + ReadDigits(text.substr(p + 1), group, count);
    value = value * 1000 + group;
  }
  const size_t decimals = p + 1 < text.size() ? DigitRun(text, p + 1) : 0;
  if (decimals > 0 && (text[p] == '.' || (text[p] == ',' && decimals <= 2))) {
    text.remove_prefix(ReadDecimals(text, p, value));
    return NumberKind::kDecimal;
  }
  if (p + 1 < text.size() && text[p] == '/' && IsAsciiDigit(text[p + 1])) {
    double denominator = 0;
    const size_t end = p + 1 + ReadDigits(text.substr(p + 1), denominator, count);
    if (denominator > 0) {
      value /= denominator;
      text.remove_prefix(end);
      return NumberKind::kFraction;
    }
  }
  text.remove_prefix(p);
  return NumberKind::kWhole;
}

// A fraction alone: n/d or a vulgar fraction.
bool ReadFractionPart(std::string_view& text, double& value) {
  size_t length = 0;
  if (ReadVulgarFraction(text, value, length)) {
    text.remove_prefix(length);
    return true;
  }
  std::string_view rest = text;
  if (ReadPlainNumber(rest, value) != NumberKind::kFraction) return false;
  text = rest;
  return true;
}

// One amount: a vulgar fraction, a number word, a number, or a whole number and a fraction
// ("1½", "1 ½", "1 1/2", "1-1/2", "1 and 1/2").
bool ReadSingleAmount(std::string_view& text, double& value) {
  size_t length = 0;
  if (ReadVulgarFraction(text, value, length)) {
    text.remove_prefix(length);
    return true;
  }
  if (ReadNumberWord(text, value)) return true;
  std::string_view rest = text;
  const NumberKind kind = ReadPlainNumber(rest, value);
  if (kind == NumberKind::kNone) return false;
  text = rest;
  if (kind != NumberKind::kWhole) return true;
  std::string_view fraction = rest;
  const size_t blanks = fraction.size();
  SkipBlanks(fraction);
  if (blanks == fraction.size() && !fraction.empty() && fraction[0] == '-') fraction.remove_prefix(1);
  if (EqualsNoCaseAscii(fraction.substr(0, 4), "and ")) fraction.remove_prefix(4);
  double part = 0;
  if (ReadFractionPart(fraction, part)) {
    value += part;
    text = fraction;
  }
  return true;
}

// Past the word that joins the two ends of a range: "-", "to" or "or".
bool SkipRangeJoin(std::string_view& text) {
  SkipBlanks(text);
  if (!text.empty() && text[0] == '-') {
    text.remove_prefix(1);
  } else {
    const std::string word = LowerAscii(LeadingWord(text));
    if (word != "to" && word != "or") return false;
    text.remove_prefix(2);
  }
  SkipBlanks(text);
  return true;
}

constexpr double kMostMinutes = 9999 * 60 + 59;

int32_t WholeMinutes(double minutes) {
  if (!(minutes >= 0)) return -1;
  return static_cast<int32_t>(std::llround(std::fmin(minutes, kMostMinutes)));
}

// An ISO 8601 duration after its "P": designated numbers, the time ones after "T".
int32_t IsoMinutes(std::string_view text) {
  bool time = false;
  bool any = false;
  double total = 0;
  for (size_t i = 1; i < text.size();) {
    if (text[i] == 'T' || text[i] == 't') {
      time = true;
      ++i;
      continue;
    }
    double value = 0;
    size_t count = 0;
    size_t p = i + ReadDigits(text.substr(i), value, count);
    if (p < text.size() && (text[p] == '.' || text[p] == ',')) p = ReadDecimals(text, p, value);
    if (p == i || p >= text.size()) return -1;
    switch (text[p] & ~0x20) {
      case 'Y':
        total += value * 525600;
        break;
      case 'M':
        total += value * (time ? 1 : 43800);
        break;
      case 'W':
        total += value * 10080;
        break;
      case 'D':
        total += value * 1440;
        break;
      case 'H':
        total += value * 60;
        break;
      case 'S':
        total += value / 60;
        break;
      default:
        return -1;
    }
    any = true;
    i = p + 1;
  }
  return any ? WholeMinutes(total) : -1;
}

// Minutes in one unit word of a written duration, 0 for other words.
double MinutesPerWord(std::string_view word) {
  static const struct {
    const char* word;
    double minutes;
  } kWords[] = {{"d", 1440},        {"day", 1440},        {"days", 1440}, {"h", 60},       {"hr", 60},
                {"hrs", 60},        {"hour", 60},         {"hours", 60},  {"m", 1},        {"min", 1},
                {"mins", 1},        {"minute", 1},        {"minutes", 1}, {"s", 1.0 / 60}, {"sec", 1.0 / 60},
                {"secs", 1.0 / 60}, {"seconds", 1.0 / 60}};
  const std::string lower = LowerAscii(word);
  for (const auto& entry : kWords)
    if (lower == entry.word) return entry.minutes;
  return 0;
}

// "1 hour 30 mins", "1h30m", "45": numbers each followed by its unit; a lone number is minutes.
int32_t WrittenMinutes(std::string_view text) {
  double total = 0;
  int numbers = 0;
  int units = 0;
  while (!text.empty()) {
    std::string_view rest = text;
    const double value = ReadAmount(rest);
    if (rest.size() == text.size()) {  // no number here: on past one word or character
      text.remove_prefix(std::max<size_t>(1, LeadingWord(text).size()));
      continue;
    }
    ++numbers;
    const std::string_view word = LeadingWord(rest);
    const double minutes = MinutesPerWord(word);
    units += minutes > 0 ? 1 : 0;
    total += value * (minutes > 0 ? minutes : 1);
    text = rest.substr(word.size());
  }
  return units > 0 || numbers == 1 ? WholeMinutes(total) : -1;
}

// Words before a yield's number that say it counts portions: "Serves 4", "Servings: 8".
constexpr const char* kPortionLeads[] = {"serves", "serving", "portion", "feeds"};
// Dishes that hold portions of their own: a yield of them is a batch.
constexpr const char* kBatchWords[] = {
    "loaf",    "loaves", "cake",   "cakes",      "pie",     "pies",   "tart",     "batch",
    "batches", "pan",    "pans",   "tray",       "trays",   "sheet",  "pot",      "casserole",
    "dish",    "pizza",  "pizzas", "quiche",     "galette", "ring",   "frittata", "lasagna",
    "lasagne", "bundt",  "round",  "jar",        "jars",    "bread",  "recipe",   "layer",
    "layers",  "crust",  "crusts", "cheesecake", "torte",   "terrine"};
// Words between a yield's number and what it counts: "12 large muffins".
constexpr const char* kSizeWords[] = {"large", "small",   "medium", "mini", "big",
                                      "jumbo", "regular", "about",  "x"};

template <size_t N>
bool HasWord(const char* const (&list)[N], std::string_view lowerWord) {
  return std::any_of(std::begin(list), std::end(list), [&](const char* w) { return lowerWord == w; });
}

// The text at the word a yield's number counts: past sizes, bracketed notes and sizes with digits
// ("one 9-inch pie", "1 (9x13) pan"); empty when it counts no word.
std::string_view CountedWord(std::string_view rest) {
  for (SkipBlanks(rest); !rest.empty(); SkipBlanks(rest)) {
    if (rest[0] == '(') {
      const size_t close = rest.find(')');
      if (close == std::string_view::npos) return {};  // a note never closed holds the rest
      rest.remove_prefix(close + 1);
      continue;
    }
    const size_t end = std::min(rest.size(), rest.find_first_of(" \t("));
    const std::string_view token = rest.substr(0, end);
    if (token.find_first_of("0123456789") == std::string_view::npos &&
        !HasWord(kSizeWords, LowerAscii(token)))
      return rest;
    rest.remove_prefix(end);
  }
  return rest;
}

YieldKind YieldKindOf(std::string_view lead, std::string_view counted, bool dozens) {
  const std::string word = LowerAscii(LeadingWord(counted));
  if (!word.empty())
    return StartsWithMeasure(counted) || HasWord(kBatchWords, word) ? YieldKind::kBatch
                                                                    : YieldKind::kPortions;
  const bool portions = std::any_of(std::begin(kPortionLeads), std::end(kPortionLeads), [&](const char* w) {
    return FindNoCaseAscii(lead, w) != std::string_view::npos;
  });
  return portions || dozens ? YieldKind::kPortions : YieldKind::kCount;
}

struct UrlParts {
  std::string_view scheme, authority, path, query, fragment;
  bool hasAuthority = false, hasQuery = false, hasFragment = false;
};

// The five parts of an address reference (RFC 3986, appendix B).
UrlParts SplitUrl(std::string_view url) {
  UrlParts parts;
  size_t p = 0;
  while (p < url.size() && (IsAsciiLetter(url[p]) || (p > 0 && (IsAsciiDigit(url[p]) || url[p] == '+' ||
                                                                url[p] == '-' || url[p] == '.'))))
    ++p;
  if (p > 0 && p < url.size() && url[p] == ':') {
    parts.scheme = url.substr(0, p);
    url.remove_prefix(p + 1);
  }
  if (url.substr(0, 2) == "//") {
    const size_t end = url.find_first_of("/?#", 2);
    parts.authority = url.substr(2, end == std::string_view::npos ? std::string_view::npos : end - 2);
    parts.hasAuthority = true;
    url.remove_prefix(std::min(url.size(), end));
  }
  const size_t hash = url.find('#');
  if (hash != std::string_view::npos) {
    parts.fragment = url.substr(hash + 1);
    parts.hasFragment = true;
    url = url.substr(0, hash);
  }
  const size_t question = url.find('?');
  if (question != std::string_view::npos) {
    parts.query = url.substr(question + 1);
    parts.hasQuery = true;
    url = url.substr(0, question);
  }
  parts.path = url;
  return parts;
}

// RFC 3986, 5.2.4: "." and ".." segments resolved.
std::string RemoveDotSegments(std::string_view in) {
  std::string out;
  while (!in.empty()) {
    if (in.substr(0, 3) == "../") {
      in.remove_prefix(3);
    } else if (in.substr(0, 2) == "./") {
      in.remove_prefix(2);
    } else if (in.substr(0, 3) == "/./" || in == "/.") {
      in.remove_prefix(2);
      if (in.empty()) in = "/";
      out += '/';
      in.remove_prefix(1);
    } else if (in.substr(0, 4) == "/../" || in == "/..") {
      in.remove_prefix(3);
      const size_t last = out.rfind('/');
      out.erase(last == std::string::npos ? 0 : last);
      if (in.empty()) {
        out += '/';
      } else {
        continue;
      }
    } else if (in == "." || in == "..") {
      in = {};
    } else {
      const size_t next = in.find('/', 1);
      const size_t length = next == std::string_view::npos ? in.size() : next;
      out.append(in.substr(0, length));
      in.remove_prefix(length);
    }
  }
  return out;
}

std::string FormatUrl(const UrlParts& url) {
  std::string out(url.scheme);
  out += ':';
  if (url.hasAuthority) out.append("//").append(url.authority);
  out.append(url.path);
  if (url.hasQuery) out.append("?").append(url.query);
  if (url.hasFragment) out.append("#").append(url.fragment);
  return out;
}

}  // namespace

double ReadAmount(std::string_view& text) {
  std::string_view rest = text;
  double value = 0;
  if (!ReadSingleAmount(rest, value) || !std::isfinite(value)) return 0;
  std::string_view range = rest;
  double second = 0;
  if (SkipRangeJoin(range) && ReadSingleAmount(range, second)) rest = range;
  SkipBlanks(rest);
  text = rest;
  return value;
}

int32_t DurationMinutes(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return -1;
  // "PT1H", "P1D"; a written one may start with a P as well ("Prep Time 15 minutes").
  const bool iso = text.size() > 1 && (text[1] == 'T' || text[1] == 't' || IsAsciiDigit(text[1]));
  if ((text[0] == 'P' || text[0] == 'p') && (iso || text.size() == 1)) return IsoMinutes(text);
  return WrittenMinutes(text);
}

YieldCount ReadYield(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (i > 0 && IsWordByte(text[i - 1])) continue;
    std::string_view rest = text.substr(i);
    const double value = ReadAmount(rest);
    if (!(value >= 0.5)) continue;
    const bool dozens = EqualsNoCaseAscii(LeadingWord(rest), "dozen");
    if (dozens) rest.remove_prefix(5);
    const int32_t count = static_cast<int32_t>(std::llround(std::fmin(value * (dozens ? 12 : 1), 100000)));
    return {count, YieldKindOf(text.substr(0, i), CountedWord(rest), dozens)};
  }
  return {};
}

int32_t ServesFromYield(std::string_view text) {
  return ReadYield(text).count;
}

double CaloriesFromText(std::string_view text) {
  const size_t digit = text.find_first_of("0123456789");
  if (digit == std::string_view::npos) return 0;
  std::string_view rest = text.substr(digit > 0 && text[digit - 1] == '.' ? digit - 1 : digit);
  const double value = ReadAmount(rest);
  return EqualsNoCaseAscii(LeadingWord(rest), "kj") ? value / 4.184 : value;
}

std::string ResolveUrl(std::string_view base, std::string_view reference) {
  reference = TrimBlanks(reference);
  const UrlParts b = SplitUrl(TrimBlanks(base));
  const UrlParts r = SplitUrl(reference);
  if (reference.empty() || !r.scheme.empty() || b.scheme.empty()) return std::string(reference);
  UrlParts target = r;  // the authority, path and query of the reference, as far as it has them
  target.scheme = b.scheme;
  std::string path;
  if (r.hasAuthority) {
    path = RemoveDotSegments(r.path);
  } else {
    target.authority = b.authority;
    target.hasAuthority = b.hasAuthority;
    if (r.path.empty()) {
      path = std::string(b.path);
      target.query = r.hasQuery ? r.query : b.query;
      target.hasQuery = r.hasQuery || b.hasQuery;
    } else if (r.path[0] == '/') {
      path = RemoveDotSegments(r.path);
    } else {
      const size_t slash = b.path.rfind('/');
      const std::string directory = slash == std::string_view::npos
                                        ? (b.hasAuthority ? "/" : "")
                                        : std::string(b.path.substr(0, slash + 1));
      path = RemoveDotSegments(directory + std::string(r.path));
    }
  }
  target.path = path;
  return FormatUrl(target);
}

WString InstructionsText(const std::vector<InstructionLine>& lines) {
  std::string text;
  int number = 0;
  for (const InstructionLine& line : lines) {
    if (!text.empty()) text += "\r\n";
    if (!line.heading) text += std::to_string(++number) + ". ";
    text += line.text;
  }
  return FromUtf8(text);
}

std::string_view WithoutStepNumber(std::string_view step) {
  std::string_view rest = TrimBlanks(step);
  const bool stepWord = EqualsNoCaseAscii(LeadingWord(rest), "step");
  if (stepWord) {
    rest.remove_prefix(4);
    SkipBlanks(rest);
  }
  const size_t digits = DigitRun(rest, 0);
  if (digits == 0) return TrimBlanks(step);
  rest.remove_prefix(digits);
  const bool mark = !rest.empty() && (rest[0] == '.' || rest[0] == ')' || rest[0] == ':' || rest[0] == '-');
  if (mark) rest.remove_prefix(1);
  if (!(stepWord || mark) || (!rest.empty() && !IsBlankByte(rest[0]))) return TrimBlanks(step);
  return TrimBlanks(rest);
}

void SplitMinutes(int32_t minutes, int32_t& hours, int32_t& rest) {
  hours = minutes > 0 ? minutes / 60 : 0;
  rest = minutes > 0 ? minutes % 60 : 0;
}
