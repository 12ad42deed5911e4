#include "food/Measures.h"

#include <algorithm>
#include <cmath>

#include "food/NumberText.h"
#include "storage/XMLDoc.h"

namespace {

using Words = std::vector<WString>;

constexpr WStringView kSeparator = TXT(" | ");
constexpr WStringView kEquals = TXT(" = ");
constexpr ServingUnit kUnitClove = 17, kUnitBag = 19;

bool IsWordLetter(WChar c) {
  const unsigned u = static_cast<unsigned>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= 0xC0 && u != 0xD7 && u != 0xF7);
}

WStringView Trimmed(WStringView text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The text's words in lower case and singular ("Cloves" is "clove"), so that a plural in a line
// fits the singular of a measure and the other way round.
Words WordsOf(WStringView text) {
  Words words;
  for (size_t i = 0; i < text.size();) {
    if (!IsWordLetter(text[i])) {
      ++i;
      continue;
    }
    WString word;
    for (; i < text.size() && IsWordLetter(text[i]); ++i) word += FoldCase(text[i]);
    if (word.size() > 2 && word.back() == 's') word.pop_back();
    words.push_back(std::move(word));
  }
  return words;
}

// What a measure is of: the words of its name before any comma or bracket ("slice" of
// "slice, large (1/4" thick)").
Words KeyOf(const HouseholdMeasure& measure) {
  const WStringView name = measure.name;
  return WordsOf(name.substr(0, std::min(name.find(','), name.find('('))));
}

bool StartsWith(const Words& words, std::initializer_list<const WChar*> start) {
  if (words.size() < start.size()) return false;
  return std::equal(start.begin(), start.end(), words.begin(),
                    [](const WChar* a, const WString& b) { return b == a; });
}

// Units in one fluid ounce of a measure of volume by its name, 0 for any other measure.
double VolumeFactor(const Words& key) {
  static const struct {
    std::initializer_list<const WChar*> words;
    ServingUnit unit;  // kUnitCount: the fluid ounce itself
  } kVolumes[] = {{{TXT("fl"), TXT("oz")}, kUnitCount},
                  {{TXT("cup")}, 2},
                  {{TXT("tbsp")}, 15},
                  {{TXT("tablespoon")}, 15},
                  {{TXT("tbl")}, 15},
                  {{TXT("tsp")}, 16},
                  {{TXT("teaspoon")}, 16},
                  {{TXT("pint")}, 13},
                  {{TXT("quart")}, 14},
                  {{TXT("gallon")}, 5},
                  {{TXT("ml")}, 10},
                  {{TXT("liter")}, 8},
                  {{TXT("litre")}, 8},
                  {{TXT("dash")}, 3},
                  {{TXT("pinch")}, 12},
                  {{TXT("jigger")}, 7}};
  for (const auto& volume : kVolumes)
    if (StartsWith(key, volume.words)) return volume.unit == kUnitCount ? 1 : UnitTable[volume.unit].factor;
  return 0;
}

bool IsWeight(const Words& key) {
  for (const WChar* weight :
       {TXT("oz"), TXT("lb"), TXT("g"), TXT("kg"), TXT("gram"), TXT("ounce"), TXT("pound")})
    if (StartsWith(key, {weight})) return true;
  return false;
}

bool IsSizeWord(const WString& word) {
  for (const WChar* size : {TXT("small"), TXT("medium"), TXT("large"), TXT("extra"), TXT("jumbo")})
    if (word == size) return true;
  return false;
}

double GramsEach(const HouseholdMeasure& measure) {
  return measure.grams / measure.amount;
}

// Whether the key's words stand together among the line's words.
bool Names(const Words& line, const Words& key) {
  return !key.empty() && std::search(line.begin(), line.end(), key.begin(), key.end()) != line.end();
}

// The word a count unit names pieces by, empty for the Serving and blank units.
const WChar* UnitWord(ServingUnit unit) {
  static const WChar* const kWords[] = {TXT("clove"), TXT("strip"), TXT("bag"), TXT("slice"), TXT("stalk")};
  return unit >= kUnitClove && unit < kUnitCount ? kWords[unit - kUnitClove] : nullptr;
}

// A count's measure: the longest key the words name; without one, for a plain count, the middle
// size the food has.
const HouseholdMeasure* CountMeasure(const HouseholdMeasures& measures, ServingUnit unit, WStringView text) {
  Words line = WordsOf(text);
  line.erase(std::remove(line.begin(), line.end(), WString(TXT("serving"))), line.end());
  if (const WChar* word = UnitWord(unit)) line.insert(line.begin(), word);
  const HouseholdMeasure* named = nullptr;
  size_t namedLength = 0;
  std::vector<const HouseholdMeasure*> sizes;
  for (const HouseholdMeasure& measure : measures) {
    const Words key = KeyOf(measure);
    if (key.empty() || VolumeFactor(key) > 0 || IsWeight(key)) continue;
    if (key.size() > namedLength && Names(line, key)) named = &measure, namedLength = key.size();
    if (std::all_of(key.begin(), key.end(), IsSizeWord)) sizes.push_back(&measure);
  }
  if (named || UnitWord(unit) || sizes.empty()) return named;
  std::stable_sort(sizes.begin(), sizes.end(), [](const HouseholdMeasure* a, const HouseholdMeasure* b) {
    return GramsEach(*a) < GramsEach(*b);
  });
  return sizes[sizes.size() / 2];
}

// Through the measure of volume nearest in size to the line's unit (a spoon for spoons, a cup for
// cups), the first of equals.
double VolumeGrams(const HouseholdMeasures& measures, ServingUnit unit, double amount) {
  const double lineFactor = UnitTable[unit].factor;
  const HouseholdMeasure* chosen = nullptr;
  double chosenFactor = 0, chosenDistance = 0;
  for (const HouseholdMeasure& measure : measures) {
    const double factor = VolumeFactor(KeyOf(measure));
    if (factor == 0) continue;
    const double distance = std::fabs(std::log(factor / lineFactor));
    if (!chosen || distance < chosenDistance)
      chosen = &measure, chosenFactor = factor, chosenDistance = distance;
  }
  // The amount in fluid ounces times the measure's grams per fluid ounce.
  return chosen ? amount / lineFactor * GramsEach(*chosen) * chosenFactor : 0;
}

}  // namespace

WString MeasureText(const HouseholdMeasure& measure) {
  WString text;
  AppendReal(text, measure.amount);
  text += TXT(' ');
  text += measure.name;
  text += kEquals;
  AppendReal(text, measure.grams);
  text += TXT(" g");
  return text;
}

bool ReadMeasure(WStringView text, HouseholdMeasure& measure) {
  const size_t equals = text.rfind('=');
  if (equals == WStringView::npos) return false;
  const WString head(Trimmed(text.substr(0, equals))), tail(text.substr(equals + 1));
  size_t nameStart = 0;
  while (nameStart < head.size() && head[nameStart] != ' ') ++nameStart;
  HouseholdMeasure read;
  read.amount = ParseReal(head.substr(0, nameStart).c_str());
  read.name = WString(Trimmed(WStringView(head).substr(nameStart)));
  read.grams = ParseReal(tail.c_str());
  if (!(read.amount > 0 && read.grams > 0 && std::isfinite(read.amount) && std::isfinite(read.grams)) ||
      read.name.empty())
    return false;
  measure = std::move(read);
  return true;
}

WString MeasuresText(const HouseholdMeasures& measures) {
  WString text;
  for (const HouseholdMeasure& measure : measures) {
    if (!text.empty()) text += kSeparator;
    text += MeasureText(measure);
  }
  return text;
}

HouseholdMeasures ReadMeasures(WStringView text) {
  HouseholdMeasures measures;
  while (!text.empty()) {
    const size_t end = std::min(text.find('|'), text.size());
    HouseholdMeasure measure;
    if (ReadMeasure(text.substr(0, end), measure)) measures.push_back(std::move(measure));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return measures;
}

double MeasuredGrams(const HouseholdMeasures& measures, ServingUnit unit, double amount, WStringView words) {
  if (unit >= kUnitCount || UnitTable[unit].weight) return 0;
  const bool counted = IsCountUnit(unit) || UnitWord(unit);
  if (counted)
    if (const HouseholdMeasure* measure = CountMeasure(measures, unit, words))
      return amount * GramsEach(*measure);
  return IsCountUnit(unit) ? 0 : VolumeGrams(measures, unit, amount);
}
