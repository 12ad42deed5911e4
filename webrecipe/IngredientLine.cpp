// One ingredient line split into amount, serving unit and name.
#include <algorithm>
#include <iterator>

#include "webrecipe/RecipeText.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  return text.size() >= lowerPrefix.size() && LowerAscii(text.substr(0, lowerPrefix.size())) == lowerPrefix;
}

// Past the whole word (ASCII letters, any case) and the blanks after it, if the text starts with it.
bool SkipWord(std::string_view& text, std::string_view lowerWord) {
  const std::string_view word = LeadingWord(text);
  if (LowerAscii(word) != lowerWord) return false;
  text.remove_prefix(word.size());
  SkipBlanks(text);
  return true;
}

struct UnitWord {
  const char* word;  // lower case; one-letter words are matched exactly
  ServingUnit unit;
  double factor;  // amount in the unit per amount written
};

// clang-format off
constexpr UnitWord kUnitWords[] = {
    {"T", kUnitTablespoon, 1}, {"t", kUnitTeaspoon, 1}, {"c", kUnitCup, 1}, {"C", kUnitCup, 1},
    {"g", kUnitGram, 1}, {"G", kUnitGram, 1}, {"l", kUnitLiter, 1}, {"L", kUnitLiter, 1},
    {"cup", kUnitCup, 1}, {"cups", kUnitCup, 1},
    {"tablespoon", kUnitTablespoon, 1}, {"tablespoons", kUnitTablespoon, 1}, {"tbsp", kUnitTablespoon, 1},
    {"tbsps", kUnitTablespoon, 1}, {"tbs", kUnitTablespoon, 1}, {"tbl", kUnitTablespoon, 1},
    {"tbls", kUnitTablespoon, 1}, {"tb", kUnitTablespoon, 1}, {"tbsn", kUnitTablespoon, 1},
    {"teaspoon", kUnitTeaspoon, 1}, {"teaspoons", kUnitTeaspoon, 1}, {"tsp", kUnitTeaspoon, 1},
    {"tsps", kUnitTeaspoon, 1}, {"ts", kUnitTeaspoon, 1}, {"tspn", kUnitTeaspoon, 1},
    {"ounce", kUnitOunce, 1}, {"ounces", kUnitOunce, 1}, {"oz", kUnitOunce, 1}, {"ozs", kUnitOunce, 1},
    {"pound", kUnitPound, 1}, {"pounds", kUnitPound, 1}, {"lb", kUnitPound, 1}, {"lbs", kUnitPound, 1},
    {"gram", kUnitGram, 1}, {"grams", kUnitGram, 1}, {"gramme", kUnitGram, 1}, {"grammes", kUnitGram, 1},
    {"gr", kUnitGram, 1}, {"grs", kUnitGram, 1}, {"gm", kUnitGram, 1}, {"gms", kUnitGram, 1},
    {"mg", kUnitGram, 0.001}, {"milligram", kUnitGram, 0.001}, {"milligrams", kUnitGram, 0.001},
    {"kg", kUnitKilogram, 1}, {"kgs", kUnitKilogram, 1}, {"kilogram", kUnitKilogram, 1},
    {"kilograms", kUnitKilogram, 1}, {"kilo", kUnitKilogram, 1}, {"kilos", kUnitKilogram, 1},
    {"ml", kUnitMilliliter, 1}, {"mls", kUnitMilliliter, 1}, {"milliliter", kUnitMilliliter, 1},
    {"milliliters", kUnitMilliliter, 1}, {"millilitre", kUnitMilliliter, 1}, {"millilitres", kUnitMilliliter, 1},
    {"cc", kUnitMilliliter, 1}, {"cl", kUnitMilliliter, 10}, {"centiliter", kUnitMilliliter, 10},
    {"centiliters", kUnitMilliliter, 10}, {"centilitre", kUnitMilliliter, 10}, {"centilitres", kUnitMilliliter, 10},
    {"dl", kUnitMilliliter, 100}, {"deciliter", kUnitMilliliter, 100}, {"deciliters", kUnitMilliliter, 100},
    {"decilitre", kUnitMilliliter, 100}, {"decilitres", kUnitMilliliter, 100},
    {"liter", kUnitLiter, 1}, {"liters", kUnitLiter, 1}, {"litre", kUnitLiter, 1}, {"litres", kUnitLiter, 1},
    {"lt", kUnitLiter, 1}, {"ltr", kUnitLiter, 1}, {"ltrs", kUnitLiter, 1},
    {"pinch", kUnitPinch, 1}, {"pinches", kUnitPinch, 1}, {"dash", kUnitDash, 1}, {"dashes", kUnitDash, 1},
    {"quart", kUnitQuart, 1}, {"quarts", kUnitQuart, 1}, {"qt", kUnitQuart, 1}, {"qts", kUnitQuart, 1},
    {"pint", kUnitPint, 1}, {"pints", kUnitPint, 1}, {"pt", kUnitPint, 1}, {"pts", kUnitPint, 1},
    {"gallon", kUnitGallon, 1}, {"gallons", kUnitGallon, 1}, {"gal", kUnitGallon, 1}, {"gals", kUnitGallon, 1},
    {"jigger", kUnitJigger, 1}, {"jiggers", kUnitJigger, 1},
    {"clove", kUnitClove, 1}, {"cloves", kUnitClove, 1}, {"strip", kUnitStrip, 1}, {"strips", kUnitStrip, 1},
    {"bag", kUnitBag, 1}, {"bags", kUnitBag, 1}, {"slice", kUnitSlice, 1}, {"slices", kUnitSlice, 1},
    {"stalk", kUnitStalk, 1}, {"stalks", kUnitStalk, 1},
    {"serving", kUnitServing, 1}, {"servings", kUnitServing, 1},
    // A fluid ounce is an eighth of a cup; the units have no fluid ounce of their own.
    {"floz", kUnitCup, 0.125},
};
// clang-format on

// Words before a unit that change nothing the units can say ("1 heaping tablespoon").
constexpr const char* kUnitModifiers[] = {"heaping",  "heaped",  "level", "scant",
                                          "generous", "rounded", "good"};

// Words for how an ingredient is bought, dropped after the amount: "1 can beans" counts one of the
// catalog's beans, "1 (14 oz) can beans" 14 oz of them.
constexpr const char* kPackages[] = {
    "can",       "cans",       "tin",     "tins",  "jar",    "jars",   "package",  "packages",  "pkg",
    "pkgs",      "packet",     "packets", "box",   "boxes",  "bottle", "bottles",  "carton",    "cartons",
    "container", "containers", "bag",     "bags",  "stick",  "sticks", "envelope", "envelopes", "pouch",
    "pouches",   "tub",        "tubs",    "block", "blocks", "bar",    "bars"};

// Words that alone do not name an ingredient: "boneless, skinless chicken" keeps its comma.
constexpr const char* kQualifiers[] = {
    "boneless", "skinless", "bone-in", "skin-on",     "seedless",  "pitted", "peeled", "deveined", "shelled",
    "large",    "medium",   "small",   "extra-large", "ripe",      "fresh",  "frozen", "raw",      "cooked",
    "whole",    "lean",     "sweet",   "salted",      "unsalted",  "firm",   "soft",   "dry",      "dried",
    "cold",     "hot",      "warm",    "organic",     "thick-cut", "thin",   "thick"};

// Phrases that end the name: what follows them is no part of the ingredient either.
constexpr const char* kEndPhrases[] = {
    "to taste",   "for garnish",  "for garnishing", "for serving", "for decoration", "for dusting",
    "for frying", "for greasing", "for brushing",   "for the pan", "as needed",      "if needed",
    "if desired", "optional",     "divided",        "plus more",   "or more",        "at room temperature"};

template <size_t N>
bool ListHas(const char* const (&list)[N], std::string_view lowerWord) {
  return std::any_of(std::begin(list), std::end(list), [&](const char* w) { return lowerWord == w; });
}

// The unit word at the start of the text, with its "." and the blanks after it ("fl oz" and
// "fluid ounces" are one word).
bool ReadUnitWord(std::string_view& text, ServingUnit& unit, double& factor) {
  std::string_view rest = text;
  std::string_view word = LeadingWord(rest);
  std::string key(word);
  rest.remove_prefix(word.size());
  if (!rest.empty() && rest[0] == '.') rest.remove_prefix(1);
  const std::string lower = LowerAscii(word);
  if (lower == "fl" || lower == "fluid") {
    std::string_view second = rest;
    SkipBlanks(second);
    const std::string next = LowerAscii(LeadingWord(second));
    if (next != "oz" && next != "ounce" && next != "ounces") return false;
    rest = second.substr(next.size());
    if (!rest.empty() && rest[0] == '.') rest.remove_prefix(1);
    key = "floz";
  } else if (word.size() > 1) {
    key = lower;
  }
  if (key.empty() || (!rest.empty() && (IsAsciiLetter(rest[0]) || IsAsciiDigit(rest[0])))) return false;
  for (const UnitWord& entry : kUnitWords) {
    if (key != entry.word) continue;
    unit = entry.unit;
    factor = entry.factor;
    SkipBlanks(rest);
    text = rest;
    return true;
  }
  return false;
}

// A unit word, perhaps after a modifier such as "heaping".
bool ReadModifiedUnit(std::string_view& text, ServingUnit& unit, double& factor) {
  std::string_view rest = text;
  if (ListHas(kUnitModifiers, LowerAscii(LeadingWord(rest)))) {
    rest.remove_prefix(LeadingWord(rest).size());
    SkipBlanks(rest);
  }
  if (!ReadUnitWord(rest, unit, factor)) return false;
  text = rest;
  return true;
}

// A weight or volume: the units a package size or a second amount can be given in.
bool IsMeasure(ServingUnit unit) {
  return !IsCountUnit(unit) && unit != kUnitClove && unit != kUnitStrip && unit != kUnitBag;
}

// An amount and a weight or volume unit ("14 oz", "14-ounce", "400g") in that unit.
bool ReadMeasure(std::string_view& text, double& amount, ServingUnit& unit) {
  std::string_view rest = text;
  amount = ReadAmount(rest);
  if (rest.size() == text.size()) return false;
  if (!rest.empty() && rest[0] == '-') rest.remove_prefix(1);
  double factor = 1;
  if (!ReadUnitWord(rest, unit, factor) || !IsMeasure(unit)) return false;
  amount *= factor;
  text = rest;
  return true;
}

// Past a package word and its ".".
bool SkipPackage(std::string_view& text) {
  const std::string_view word = LeadingWord(text);
  if (!ListHas(kPackages, LowerAscii(word))) return false;
  text.remove_prefix(word.size());
  if (!text.empty() && text[0] == '.') text.remove_prefix(1);
  SkipBlanks(text);
  return true;
}

// A measure in brackets: "(14 oz)", "(about 1 pound)".
bool ReadBracketMeasure(std::string_view& text, double& amount, ServingUnit& unit) {
  if (text.empty() || text[0] != '(') return false;
  const size_t close = text.find(')');
  if (close == std::string_view::npos) return false;
  std::string_view inside = text.substr(1, close - 1);
  SkipBlanks(inside);
  if (!inside.empty() && inside[0] == '~') inside.remove_prefix(1);
  for (const char* word : {"about", "approximately", "approx", "each"}) {
    if (!SkipWord(inside, word)) continue;
    if (!inside.empty() && inside[0] == '.') inside.remove_prefix(1);
    SkipBlanks(inside);
  }
  if (!ReadMeasure(inside, amount, unit) || !TrimBlanks(inside).empty()) return false;
  text.remove_prefix(close + 1);
  SkipBlanks(text);
  return true;
}

// A package and its size after the count: "(14 oz) can", "14-ounce can", "can (14 oz)".
bool ReadPackageSize(std::string_view& text, double& size, ServingUnit& unit) {
  std::string_view rest = text;
  if (ReadBracketMeasure(rest, size, unit)) {
    SkipPackage(rest);
  } else if (!(ReadMeasure(rest, size, unit) && SkipPackage(rest)) &&
             !(SkipPackage(rest = text) && ReadBracketMeasure(rest, size, unit))) {
    return false;
  }
  text = rest;
  return true;
}

// "+ 1 tsp" or "plus 2 tablespoons" after an amount, added to it in its unit when both are
// weights or both volumes.
void AddSecondAmount(std::string_view& text, double& amount, ServingUnit unit) {
  std::string_view rest = text;
  if (!rest.empty() && rest[0] == '+') {
    rest.remove_prefix(1);
    SkipBlanks(rest);
  } else if (!SkipWord(rest, "plus")) {
    return;
  }
  double second = 0;
  ServingUnit secondUnit = kUnitBlank;
  if (!IsMeasure(unit) || !ReadMeasure(rest, second, secondUnit) ||
      UnitTable[unit].weight != UnitTable[secondUnit].weight)
    return;
  amount += second * UnitTable[unit].factor / UnitTable[secondUnit].factor;
  text = rest;
}

// The amount and unit at the start of the line, moving the text past them and a following "of".
// "a"/"an" counts as 1 only before a unit or a package size.
bool ReadQuantity(std::string_view& text, double& amount, ServingUnit& unit) {
  std::string_view rest = text;
  double count = ReadAmount(rest);
  const bool article = rest.size() == text.size();
  if (article) {
    if (!SkipWord(rest, "a") && !SkipWord(rest, "an")) return false;
    count = 1;
  }
  unit = kUnitBlank;
  amount = count;
  double size = 0;
  double factor = 1;
  bool measured = false;
  if (!rest.empty() && (rest[0] == 'x' || rest[0] == 'X') && (rest.size() == 1 || !IsAsciiLetter(rest[1]))) {
    rest.remove_prefix(1);  // "2 x 400g tins"
    SkipBlanks(rest);
    measured = ReadMeasure(rest, size, unit);
    if (measured) SkipPackage(rest);
  } else {
    measured = ReadPackageSize(rest, size, unit);
  }
  if (measured) {
    amount = count * size;
  } else if (ReadModifiedUnit(rest, unit, factor)) {
    amount = count * factor;
    AddSecondAmount(rest, amount, unit);
  } else if (!SkipPackage(rest) && article) {
    return false;
  }
  SkipWord(rest, "of");
  text = rest;
  return true;
}

// The line for reading: superscript and subscript digits as digits ("1¹⁄₂" as "1 1/2"), the
// fraction and division slashes as "/", dashes and minus signs as "-", "×" as "x".
std::string ReadingForm(std::string_view line) {
  std::string out;
  bool superscript = false;
  for (size_t i = 0; i < line.size();) {
    const size_t start = i;
    const uint32_t c = NextCodePoint(line, i);
    int digit = -1;
    if (c == 0x2070 || c == 0xB9 || c == 0xB2 || c == 0xB3 || (c >= 0x2074 && c <= 0x2079)) {
      digit = c == 0x2070 ? 0 : c == 0xB9 ? 1 : c == 0xB2 ? 2 : c == 0xB3 ? 3 : static_cast<int>(c - 0x2070);
      if (!superscript && !out.empty() && IsAsciiDigit(out.back())) out += ' ';
      superscript = true;
    } else {
      superscript = false;
      if (c >= 0x2080 && c <= 0x2089) digit = static_cast<int>(c - 0x2080);
    }
    if (digit >= 0) {
      out += static_cast<char>('0' + digit);
    } else if (c == 0x2044 || c == 0x2215) {
      out += '/';
    } else if ((c >= 0x2010 && c <= 0x2015) || c == 0x2212) {
      out += '-';
    } else if (c == 0xD7) {
      out += 'x';
    } else {
      out.append(line.substr(start, i - start));
    }
  }
  return out;
}

// The text without the bullets, dashes and check boxes some sites put before their lines.
std::string_view WithoutBullets(std::string_view text) {
  static const uint32_t kBullets[] = {' ',    '\t',   '*',    '-',    0x2013, 0x2014, 0x2022, 0xB7,
                                      0x25A2, 0x2610, 0x25A1, 0x25E6, 0x25AA, 0x2713, 0x2714, 0x25CB};
  size_t skip = 0;
  for (size_t i = 0; i < text.size(); skip = i) {
    const uint32_t c = NextCodePoint(text, i);
    if (std::find(std::begin(kBullets), std::end(kBullets), c) == std::end(kBullets)) break;
  }
  return text.substr(skip);
}

// "package(s)" and "box(es)" as the count before them asks: "1 package", "2 boxes".
std::string ResolvedPlurals(std::string_view text, double count) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    size_t length = 0;
    if (!out.empty() && IsAsciiLetter(out.back()))
      for (std::string_view ending : {"(s)", "(es)"})
        if (text.substr(i, ending.size()) == ending) length = ending.size();
    if (length == 0) {
      out += text[i++];
      continue;
    }
    if (count > 1) out.append(text.substr(i + 1, length - 2));
    i += length;
  }
  return out;
}

// Brackets tidied: no blanks inside their ends or before a comma, empty ones dropped, and a pair
// around nothing but another pair made one, as cards that bracket an author's bracketed note write
// it ("((full fat))").
std::string TidiedBrackets(std::string_view text) {
  std::string out;
  std::vector<size_t> opens;                                         // the open brackets' places in out
  size_t lastOpen = std::string::npos, lastEnd = std::string::npos;  // the pair closed last
  for (const char c : text) {
    if ((c == ')' && !opens.empty()) || c == ',')
      while (!out.empty() && out.back() == ' ') out.pop_back();
    if (c == ' ' && !out.empty() && out.back() == '(') continue;
    if (c == '(') opens.push_back(out.size());
    if (c != ')' || opens.empty()) {
      out += c;
      continue;
    }
    const size_t open = opens.back();
    opens.pop_back();
    const bool doubled = lastOpen == open + 1 && lastEnd == out.size();
    if (out.size() == open + 1 || doubled) {
      out.erase(open, 1);  // an empty pair goes, a doubled one keeps its inner pair
    } else {
      out += c;
    }
    lastOpen = open;
    lastEnd = out.size();
  }
  return out;
}

// The line as the review shows it: without the marks recipe cards add around the author's text.
std::string CleanedLine(std::string_view text) {
  text = WithoutBullets(text);
  const std::string reading = ReadingForm(text);
  std::string_view rest = reading;
  return CollapsedBlanks(TidiedBrackets(ResolvedPlurals(text, ReadAmount(rest))));
}

// A line without an amount that names a part of the recipe: "For the sauce:", "Topping:".
bool IsHeading(std::string_view text) {
  if (text.empty()) return false;
  const size_t colon = text.find(':');
  if (colon == text.size() - 1) return true;
  if (colon != std::string_view::npos || !StartsWithNoCase(text, "for ")) return false;
  return std::count(text.begin(), text.end(), ' ') < 6;
}

// The text without its bracketed notes, each replaced by a blank; an unclosed bracket drops the rest.
std::string WithoutBrackets(std::string_view text) {
  std::string out;
  int depth = 0;
  for (const char c : text) {
    if (c == '(' || c == '[') {
      if (depth++ == 0) out += ' ';
    } else if ((c == ')' || c == ']') && depth > 0) {
      --depth;
    } else if (depth == 0) {
      out += c;
    }
  }
  return out;
}

bool OnlyQualifiers(std::string_view part) {
  std::string_view rest = TrimBlanks(part);
  if (rest.empty()) return false;
  while (!rest.empty()) {
    const size_t blank = rest.find(' ');
    if (!ListHas(kQualifiers, LowerAscii(rest.substr(0, blank)))) return false;
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  }
  return true;
}

// Where the name's first part ends: at a comma or semicolon, or at a dash with blanks around it,
// unless all before it are qualifiers such as "boneless".
size_t FirstPartEnd(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const bool spacedDash =
        text[i] == '-' && i > 0 && text[i - 1] == ' ' && i + 1 < text.size() && text[i + 1] == ' ';
    if ((text[i] == ',' || text[i] == ';' || spacedDash) && !OnlyQualifiers(text.substr(0, i))) return i;
  }
  return text.size();
}

// Where the first phrase such as "to taste" starts, at the start of a word; npos if none.
size_t EndPhraseStart(std::string_view text) {
  const std::string lower = LowerAscii(text);
  size_t first = std::string::npos;
  for (const char* phrase : kEndPhrases) {
    for (size_t at = lower.find(phrase); at != std::string::npos; at = lower.find(phrase, at + 1)) {
      const size_t end = at + std::char_traits<char>::length(phrase);
      if ((at == 0 || lower[at - 1] == ' ') && (end == lower.size() || !IsAsciiLetter(lower[end]))) {
        first = std::min(first, at);
        break;
      }
    }
  }
  return first;
}

}  // namespace

bool StartsWithMeasure(std::string_view text) {
  ServingUnit unit = kUnitBlank;
  double factor = 1;
  return ReadUnitWord(text, unit, factor) && IsMeasure(unit);
}

std::string CleanIngredientName(std::string_view text) {
  std::string name = CollapsedBlanks(WithoutBrackets(text));
  name.erase(0, name.find_first_not_of(",;- "));  // what a dropped note left: "(packed), sugar"
  name.erase(FirstPartEnd(name));
  const size_t phrase = EndPhraseStart(name);
  if (phrase != std::string::npos && phrase > 0) name.erase(phrase);
  std::string_view rest = TrimBlanks(name);
  std::string_view afterOf = rest;
  if (SkipWord(afterOf, "of") && !afterOf.empty()) rest = afterOf;
  while (!rest.empty() && std::string_view(".,:;*!-").find(rest.back()) != std::string_view::npos) {
    rest.remove_suffix(1);
    rest = TrimBlanks(rest);
  }
  return std::string(rest);
}

ImportedLine ParseIngredientLine(std::string_view utf8Line) {
  const std::string original = CleanedLine(HtmlText(ValidUtf8(utf8Line)));
  const std::string reading = ReadingForm(original);
  ImportedLine line;
  line.original = FromUtf8(original);
  std::string_view rest = reading;
  if (!ReadQuantity(rest, line.amount, line.unit)) {
    line.amount = 0;
    line.unit = kUnitBlank;
    line.isHeading = IsHeading(rest);
    if (line.isHeading) {
      line.name = FromUtf8(TrimBlanks(rest.substr(0, rest.size() - (rest.back() == ':' ? 1 : 0))));
      return line;
    }
  }
  line.name = FromUtf8(CleanIngredientName(rest));
  return line;
}

ImportedLine ParseIngredientLine(WStringView line) {
  return ParseIngredientLine(ToUtf8(line));
}
