#include "food/Food.h"

#include <algorithm>
#include <vector>

#include "food/CategoryList.h"
#include "food/NumberText.h"
#include "food/Texts.h"
#include "food/TagNames.h"
#include "storage/XMLDoc.h"

namespace {

constexpr WChar kAcute = 0x00B4;

PreviewRect DefaultPreview(const FoodOwner* owner) {
  if (owner && owner->logPixelsX == 120) return PreviewRect{190, 50, 400, 300};
  return PreviewRect{141, 41, 294, 239};
}

void Replace(WString& text, WChar from, WChar to) {
  for (WChar& c : text)
    if (c == from) c = to;
}

// The file-name part of a path: after the last "\" or "/".
WString FileNamePart(const WString& path) {
  const size_t slash = path.find_last_of(TXT("\\/"));
  return slash == WString::npos ? path : path.substr(slash + 1);
}

// The FOOD leaves other than the nutrients, as ReadFood dispatches them.
enum class FoodField {
  kNone,
  kCatId,
  kFoodId,
  kType,
  kCategory,
  kHidden,
  kName,
  kPicture,
  kSize,
  kOunces,
  kMeasure
};

FoodField FieldOf(const WChar* tag) {
  struct Named {
    const WChar* tag;
    FoodField field;
  };
  static const Named kFields[] = {
      {TXT("CATID"), FoodField::kCatId},     {TXT("FOODID"), FoodField::kFoodId},
      {TXT("TYPE"), FoodField::kType},       {TXT("CATEGORY"), FoodField::kCategory},
      {TXT("HIDDEN"), FoodField::kHidden},   {TXT("FOODNAME"), FoodField::kName},
      {TXT("PICTURE"), FoodField::kPicture}, {TXT("SIZE"), FoodField::kSize},
      {TXT("OUNCES"), FoodField::kOunces},   {TXT("MEASURE"), FoodField::kMeasure},
  };
  for (const Named& n : kFields)
    if (IsTag(tag, n.tag)) return n.field;
  return FoodField::kNone;
}

uint32_t NutrientOf(const WChar* tag) {
  for (uint32_t i = 0; i < Nutrient::kCount; ++i)
    if (IsTag(tag, Nutrient::Key(i))) return i;
  return Nutrient::kCount;
}

// What a leaf tag names: a field, or with kNone the nutrient (kCount for none).
struct FoodLeaf {
  FoodField field;
  uint32_t nutrient;
};

// A record has some twenty leaves and a catalog many thousand records: the names are looked up in a
// table sorted once rather than compared one by one. Tags with other than ASCII letters take the
// comparison the names are defined by.
FoodLeaf LeafOf(const WChar* tag) {
  struct Entry {
    WStringView name;
    FoodLeaf leaf;
  };
  static const std::vector<Entry> table = [] {
    std::vector<Entry> entries;
    for (const WChar* name : {TXT("CATID"), TXT("FOODID"), TXT("TYPE"), TXT("CATEGORY"), TXT("HIDDEN"),
                              TXT("FOODNAME"), TXT("PICTURE"), TXT("SIZE"), TXT("OUNCES"), TXT("MEASURE")})
      entries.push_back({name, {FieldOf(name), Nutrient::kCount}});
    for (uint32_t n = 0; n < Nutrient::kCount; ++n)
      entries.push_back({Nutrient::Key(n), {FoodField::kNone, n}});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
  }();
  constexpr size_t kLongest = 15;  // longer than every name
  WChar upper[kLongest];
  size_t length = 0;
  for (; tag[length]; ++length) {
    const WChar c = tag[length];
    if (c >= 0x80) return {FieldOf(tag), NutrientOf(tag)};
    if (length == kLongest) return {FoodField::kNone, Nutrient::kCount};
    upper[length] = c >= 'a' && c <= 'z' ? static_cast<WChar>(c - 32) : c;
  }
  const WStringView key(upper, length);
  const auto found = std::lower_bound(table.begin(), table.end(), key,
                                      [](const Entry& entry, WStringView name) { return entry.name < name; });
  if (found == table.end() || found->name != key) return {FoodField::kNone, Nutrient::kCount};
  return found->leaf;
}

void ReadFoodField(Food& food, const WChar* tag, const WChar* value, CategoryList& categories,
                   uint32_t& idCounter) {
  const FoodLeaf leaf = LeafOf(tag);
  switch (leaf.field) {
    case FoodField::kCatId:
      food.catId = categories.FileCategoryId(static_cast<uint32_t>(ParseInt(value)));
      break;
    case FoodField::kFoodId:
      food.foodId = static_cast<uint32_t>(ParseInt(value));
      break;
    case FoodField::kType:
      food.type = static_cast<uint32_t>(ParseInt(value));
      break;
    case FoodField::kCategory:
      food.catId = categories.FindOrCreate(XMLUnescape(value), idCounter);
      break;
    case FoodField::kHidden:
      food.hidden = XMLToBool(value);
      break;
    case FoodField::kName:
      food.name = XMLUnescape(value);
      break;
    case FoodField::kPicture:
      food.picture = XMLUnescape(value);
      break;
    case FoodField::kSize:
      ReadReal(value, food.size);
      break;
    case FoodField::kOunces:
      ReadReal(value, food.ounces);
      break;
    case FoodField::kMeasure:
      if (HouseholdMeasure measure; ReadMeasure(XMLUnescape(value), measure))
        food.measures.push_back(measure);
      break;
    case FoodField::kNone:
      if (leaf.nutrient < Nutrient::kCount) ReadReal(value, food.nutrients[leaf.nutrient]);
      break;
  }
}

// How many units of mass a header names in parentheses at its end ("Copper (mg)") make one gram; 0
// for none or one that is not a unit of mass.
double UnitsPerGram(WStringView header) {
  const size_t open = header.rfind(TXT('(')), close = header.rfind(TXT(')'));
  if (open == WStringView::npos || close == WStringView::npos || close < open) return 0;
  const WStringView unit = header.substr(open + 1, close - open - 1);
  const std::pair<const WChar*, double> units[] = {
      {TXT("g"), 1}, {TXT("mg"), 1e3}, {TXT("mcg"), 1e6}, {TXT("\u00B5g"), 1e6}, {TXT("ug"), 1e6}};
  for (const auto& [name, perGram] : units)
    if (EqualsNoCase(unit, name)) return perGram;
  return 0;
}

// The factor from a file's unit to the program's, 1 unless both headers name units of mass.
double MassFactor(WStringView fileHeader, WStringView ownHeader) {
  const double file = UnitsPerGram(fileHeader), own = UnitsPerGram(ownHeader);
  return file > 0 && own > 0 ? own / file : 1;
}

}  // namespace

const WString* CsvColumnMap::Field(const CsvRow& row, uint32_t column) const {
  if (column >= position.size()) return nullptr;
  const uint32_t at = position[column];
  return at != kAbsent && at < row.size() ? &row[at] : nullptr;
}

const WString* CsvColumnMap::Value(const CsvRow& row, uint32_t column) const {
  const WString* field = Field(row, column);
  return field && !field->empty() ? field : nullptr;
}

void AppendCsvSafe(WString& out, WString text, bool csv) {
  if (csv) QuotesToAccents(text);
  out += text;
}

void QuotesToAccents(WString& text) {
  Replace(text, TXT('"'), kAcute);
}
void AccentsToQuotes(WString& text) {
  Replace(text, kAcute, TXT('"'));
}

Food::Food(const FoodOwner* owner) : preview(DefaultPreview(owner)), owner_(owner) {}

Food::~Food() = default;

Food& Food::operator=(const Food& other) {
  catId = other.catId;
  foodId = other.foodId;
  hidden = other.hidden;
  name = other.name;
  picture = other.picture;
  size = other.size;
  type = other.type;
  ounces = other.ounces;
  nutrients = other.nutrients;
  measures = other.measures;
  return *this;
}

bool Food::ImportCsvRow(const CsvRow& row, CategoryList& categories, const NamedIdList& unitNames,
                        uint32_t& idCounter, const CsvColumnMap& map) {
  bool gotData = false;
  if (const WString* field = map.Value(row, kColumnName)) {
    name = *field;
    AccentsToQuotes(name);
    gotData = true;
  }
  if (const WString* field = map.Value(row, kColumnCategory)) {
    WString category = *field;
    AccentsToQuotes(category);
    catId = categories.FindOrCreate(category, idCounter);
    gotData = true;
  } else {
    catId = categories.HighestId();
  }
  foodId = ++idCounter;
  if (const WString* field = map.Value(row, kColumnServingSize))
    gotData |= ParseServing(unitNames, field->c_str(), size, type) != nullptr;
  if (size == 0) {
    size = 1;
    type = kUnitBlank;
  }
  if (const WString* field = map.Value(row, kColumnOunces)) {
    ReadReal(field->c_str(), ounces);
    gotData |= ounces > 0;
  }
  if (ounces == 0) ounces = 1;
  for (uint32_t i = 0; i < Nutrient::kCount; ++i)
    if (const WString* field = map.Value(row, i)) {
      ReadReal(field->c_str(), nutrients[i]);
      nutrients[i] *= map.factor[i];
      gotData |= nutrients[i] > 0;
    }
  if (const WString* field = map.Value(row, kColumnPicture)) {
    picture = FileNamePart(*field);
    gotData |= !picture.empty();
  }
  if (const WString* field = map.Value(row, kColumnMeasures)) {
    WString text = *field;
    AccentsToQuotes(text);
    measures = ReadMeasures(text);
  }
  return gotData;
}

double Food::DailyValue(uint32_t nutrient) const {
  return Nutrient::Reference(nutrient);
}

void Food::ColumnText(WString& out, uint32_t column, const CategoryList& categories,
                      const NutrientFormat& format, bool csv, bool raw) const {
  if (column < Nutrient::kCount) return FormatNutrient(out, column, false, raw, nutrients[column], format);
  switch (column) {
    case kColumnCategory:
      if (const WString* category = categories.NameById(catId)) AppendCsvSafe(out, *category, csv);
      break;
    case kColumnName:
      AppendCsvSafe(out, name, csv);
      break;
    case kColumnServingSize:
      FormatAmount(out, type, kUnitNoSuffix, size, UnitNames());
      break;
    case kColumnOunces:
      FormatNutrient(out, kOuncesFormatIndex, false, raw, ounces, format);
      break;
    case kColumnPicture:
      out += picture;
      break;
    case kColumnMeasures:
      AppendCsvSafe(out, MeasuresText(measures), csv);
      break;
    default:
      break;
  }
}

void Food::AddNutrients(const Food& other, double factor) {
  ounces += other.ounces * factor;
  for (uint32_t i = 0; i < Nutrient::kCount; ++i) nutrients[i] += other.nutrients[i] * factor;
}

void Food::AddServings(const Food& other, ServingUnit unit, double amount, int32_t serves,
                       WStringView words) {
  const double servings = amount == 0 ? 0 : ServingsOf(other, unit, amount, words);
  const double batch = serves == 0 ? 1 : static_cast<double>(static_cast<uint32_t>(serves));
  AddNutrients(other, servings / batch);
}

double ServingsOf(const Food& food, ServingUnit unit, double amount, WStringView words) {
  if (food.size == 0 || unit == food.type || unit >= kUnitCount || !(food.ounces > 0))
    return ServingsOf(unit, food.type, amount, food.size, food.ounces);
  if (UnitTable[unit].weight) return amount / (UnitTable[unit].factor * food.ounces);
  // A food served by volume is its own measure of volume.
  const bool byVolume = !IsCountUnit(food.type) && !UnitTable[food.type].weight;
  const double grams = byVolume && !IsCountUnit(unit) ? 0 : MeasuredGrams(food.measures, unit, amount, words);
  if (grams > 0) return grams / (UnitTable[kUnitGram].factor * food.ounces);
  return ServingsOf(unit, food.type, amount, food.size, food.ounces);
}

void WriteFood(XMLDoc& doc, const Food& food, const WString* categoryName) {
  doc.OpenElement(TXT("FOOD"));
  if (categoryName)
    doc.WriteString(TXT("CATEGORY"), *categoryName);
  else
    doc.WriteInt(TXT("CATID"), static_cast<int32_t>(food.catId));
  doc.WriteInt(TXT("FOODID"), static_cast<int32_t>(food.foodId));
  if (food.hidden) doc.WriteBool(TXT("HIDDEN"), true);
  if (!food.name.empty()) doc.WriteString(TXT("FOODNAME"), food.name);
  if (!food.picture.empty()) doc.WriteString(TXT("PICTURE"), food.picture);
  if (food.size != 0) doc.WriteReal(TXT("SIZE"), food.size);
  doc.WriteInt(TXT("TYPE"), static_cast<int32_t>(food.type));
  if (food.ounces != 0) doc.WriteReal(TXT("OUNCES"), food.ounces);
  for (uint32_t i = 0; i < Nutrient::kCount; ++i)
    if (food.nutrients[i] != 0) doc.WriteReal(Nutrient::Key(i), food.nutrients[i]);
  for (const HouseholdMeasure& measure : food.measures) doc.WriteString(TXT("MEASURE"), MeasureText(measure));
  doc.CloseElement();
}

bool ReadFood(XMLDoc& doc, Food& food, CategoryList& categories, uint32_t& idCounter) {
  while (const WChar* tag = doc.NextTag()) {
    if (IsTag(tag, TXT("FOOD"))) return true;
    if (const WChar* value = doc.ReadValue(tag)) ReadFoodField(food, tag, value, categories, idCounter);
  }
  return false;
}

bool MapCsvHeader(const CsvRow& header, const std::function<WString(uint32_t column)>& headerText,
                  CsvColumnMap& map) {
  bool matched = false;
  for (uint32_t column = 0; column <= kColumnMeasures; ++column) {
    if (column == kFoodColumnCount) column = kColumnMeasures;  // the recipe's columns are its own
    const WString wanted = NormalisedHeader(headerText(column));
    for (size_t field = 0; field < header.size(); ++field) {
      if (wanted.empty() || !EqualsNoCase(NormalisedHeader(header[field]), wanted)) continue;
      map.position[column] = static_cast<uint32_t>(field);
      if (column < Nutrient::kCount) map.factor[column] = MassFactor(header[field], headerText(column));
      matched = true;
    }
  }
  return matched;
}
