#include "food/Recipe.h"

#include "food/CategoryList.h"
#include "food/NumberText.h"
#include "food/Texts.h"
#include "food/TagNames.h"
#include "storage/XMLDoc.h"

namespace {

std::vector<WString> Split(const WString& text, WChar separator) {
  std::vector<WString> pieces;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != WString::npos; start = at + 1)
    pieces.push_back(text.substr(start, at - start));
  pieces.push_back(text.substr(start));
  return pieces;
}

// The reading state of one RECIPE element: whether the reader is inside INGREDIENTLIST and inside
// one of its INGREDIENT elements, and the line being read.
struct RecipeReader {
  bool inList = false;
  bool inLine = false;
  RecipeLine line;

  void IngredientTag(Recipe& recipe, bool endTag) {
    if (inList && endTag && inLine && line.ingredient && line.amount > 0) recipe.lines.push_back(line);
    line = RecipeLine();
    inLine = inList && !endTag;
  }
};

Ingredient* ReadEmbeddedIngredient(XMLDoc& doc, IngredientCatalog& catalog) {
  Ingredient read;
  if (!ReadFood(doc, read, catalog.Categories(), catalog.IdCounter())) return nullptr;
  Ingredient* found = catalog.FindByName(read.name);
  return found ? found : catalog.AddIngredient(read);
}

void ReadLineField(RecipeLine& line, const WChar* tag, const WChar* value, IngredientCatalog& catalog) {
  if (IsTag(tag, TXT("AMOUNT")))
    ReadReal(value, line.amount);
  else if (IsTag(tag, TXT("TYPE")))
    line.unit = XMLToInt(value);
  else if (IsTag(tag, TXT("DISPLAYNAME")))
    line.displayName = XMLUnescape(value);
  else if (IsTag(tag, TXT("ID")))
    line.ingredient = catalog.FindById(static_cast<uint32_t>(XMLToInt(value)));
}

void ReadRecipeField(Recipe& recipe, RecipeReader& reader, const WChar* tag, const WChar* value,
                     IngredientCatalog& catalog) {
  struct IntField {
    const WChar* tag;
    int32_t Recipe::*field;
  };
  static const IntField kIntFields[] = {
      {TXT("COOKHRS"), &Recipe::cookHours}, {TXT("COOKMIN"), &Recipe::cookMinutes},
      {TXT("PREPHRS"), &Recipe::prepHours}, {TXT("PREPMIN"), &Recipe::prepMinutes},
      {TXT("SERVES"), &Recipe::serves},     {TXT("INGREDIENTID"), &Recipe::ingredientId},
  };
  for (const IntField& f : kIntFields)
    if (IsTag(tag, f.tag)) {
      recipe.*f.field = XMLToInt(value);
      return;
    }
  if (IsTag(tag, TXT("INSTRUCTIONS")))
    recipe.instructions = XMLUnescape(value);
  else if (IsTag(tag, TXT("CUSTOM")))
    recipe.custom = XMLUnescape(value);
  else if (reader.inLine)
    ReadLineField(reader.line, tag, value, catalog);
}

// The ingredient a name in a CSV cell stands for: names travel with U+00B4 for their double
// quotes, so the name with quotes, or failing that the name as written (one holding the accent).
Ingredient* FindWrittenName(IngredientCatalog& catalog, const WString& written) {
  WString name = written;
  AccentsToQuotes(name);
  Ingredient* found = catalog.FindByName(name);
  return found || name == written ? found : catalog.FindByName(written);
}

// A duration cell as DurationText writes it: the token holding "h" gives the hours, the one
// holding "m" the minutes.
void ReadCsvDuration(const WString& cell, int32_t& hours, int32_t& minutes) {
  for (const WString& token : Split(cell, TXT(' '))) {
    if (token.find(TXT('h')) != WString::npos) hours = ParseInt(token.c_str());
    if (token.find(TXT('m')) != WString::npos) minutes = ParseInt(token.c_str());
  }
}

}  // namespace

WString DurationText(int32_t hours, int32_t minutes) {
  WString text;
  if (hours != 0) {
    AppendInteger(text, hours);
    text += LoadTextById(kTextHoursSuffix);
  }
  if (minutes != 0) {
    AppendInteger(text, minutes);
    text += LoadTextById(kTextMinutesSuffix);
  }
  return text;
}

WString FormatIngredientList(const std::vector<RecipeLine>& lines) {
  const NamedIdList& units = UnitNames();
  WString text;
  bool first = true;
  for (const RecipeLine& line : lines) {
    if (!line.ingredient) continue;
    if (!first) text += TXT('\t');
    first = false;
    AppendReal(text, line.amount);
    text += TXT(' ');
    const bool servings =
        line.unit == static_cast<int32_t>(kUnitBlank) && line.ingredient->type != kUnitBlank;
    if (const WString* unit = units.NameById(servings ? kUnitServing : static_cast<uint32_t>(line.unit)))
      text += *unit;
    text += TXT(' ');
    text += line.ingredient->name;
  }
  return text;
}

void Recipe::ColumnText(WString& out, uint32_t column, const CategoryList& categories,
                        const NutrientFormat& format, bool csv, bool raw) const {
  switch (column) {
    case kColumnCookingTime:
      out += DurationText(cookHours, cookMinutes);
      break;
    case kColumnPrepTime:
      out += DurationText(prepHours, prepMinutes);
      break;
    case kColumnServes:
      AppendInteger(out, serves);
      break;
    case kColumnInstructions:
      AppendCsvSafe(out, instructions, csv);
      break;
    // Ingredient names follow the CSV name rule too, so that a quote cannot end the field.
    case kColumnIngredients:
      if (csv) AppendCsvSafe(out, FormatIngredientList(lines), true);
      break;
    case kColumnCustom:
      AppendCsvSafe(out, custom, csv);
      break;
    default:
      Food::ColumnText(out, column, categories, format, csv, raw);
      break;
  }
}

void Recipe::WriteRecipeElement(XMLDoc& doc, bool embedIngredients, const CategoryList& recipeCategories,
                                const CategoryList& ingredientCategories) const {
  doc.OpenElement(TXT("RECIPE"));
  doc.OpenElement(TXT("INGREDIENTLIST"));
  for (const RecipeLine& line : lines) {
    if (!line.ingredient) continue;
    doc.OpenElement(TXT("INGREDIENT"));
    if (line.amount != 0.0) doc.WriteReal(TXT("AMOUNT"), line.amount);
    doc.WriteInt(TXT("TYPE"), line.unit);
    if (!line.displayName.empty()) doc.WriteString(TXT("DISPLAYNAME"), line.displayName);
    if (embedIngredients)
      WriteFood(doc, *line.ingredient, ingredientCategories.NameById(line.ingredient->catId));
    else
      doc.WriteInt(TXT("ID"), static_cast<int32_t>(line.ingredient->foodId));
    doc.CloseElement();
  }
  doc.CloseElement();
  if (!custom.empty()) doc.WriteString(TXT("CUSTOM"), custom);
  if (!instructions.empty()) doc.WriteString(TXT("INSTRUCTIONS"), instructions);
  const std::pair<const WChar*, int32_t> counts[] = {
      {TXT("COOKHRS"), cookHours},   {TXT("COOKMIN"), cookMinutes}, {TXT("PREPHRS"), prepHours},
      {TXT("PREPMIN"), prepMinutes}, {TXT("SERVES"), serves},       {TXT("INGREDIENTID"), ingredientId},
  };
  for (const auto& [tag, value] : counts)
    if (value != 0) doc.WriteInt(tag, value);
  WriteFood(doc, *this, embedIngredients ? recipeCategories.NameById(catId) : nullptr);
  doc.CloseElement();
}

bool Recipe::ReadRecipeElement(XMLDoc& doc, CategoryList& recipeCategories, uint32_t& recipeIdCounter,
                               IngredientCatalog& catalog) {
  RecipeReader reader;
  bool foodRead = false;
  while (const WChar* tag = doc.NextTag()) {
    if (IsTag(tag, TXT("RECIPE"))) break;
    if (IsTag(tag, TXT("FOOD"))) {
      if (reader.inLine)
        reader.line.ingredient = ReadEmbeddedIngredient(doc, catalog);
      else
        foodRead = ReadFood(doc, *this, recipeCategories, recipeIdCounter);
    } else if (IsTag(tag, TXT("INGREDIENTLIST"))) {
      reader.inList = !doc.IsEndTag();
    } else if (IsTag(tag, TXT("INGREDIENT"))) {
      reader.IngredientTag(*this, doc.IsEndTag());
    } else if (const WChar* value = doc.ReadValue(tag)) {
      ReadRecipeField(*this, reader, tag, value, catalog);
    }
  }
  return foodRead;
}

void Recipe::ComputeNutrition(std::vector<RecipeLine> editorLines, int32_t serves) {
  size = 1.0;
  type = kUnitBlank;
  ounces = 0;
  nutrients.fill(0);
  lines.clear();
  for (RecipeLine& line : editorLines) {
    if (!line.ingredient) continue;
    AddServings(*line.ingredient, static_cast<ServingUnit>(line.unit), line.amount, serves, line.displayName);
    lines.push_back(std::move(line));
  }
}

void Recipe::ReadCsvIngredients(const WString& cell, const NamedIdList& unitNames,
                                IngredientCatalog& catalog) {
  for (const WString& piece : Split(cell, TXT('\t'))) {
    // The blank unit's name is empty: its piece holds two blanks after the amount, then the name,
    // which is then no part of the amount and no unit word, whatever it starts with.
    const size_t gap = piece.find(TXT("  "));
    const bool blankUnit = gap != WString::npos && gap == piece.find(TXT(' '));
    const WString amount = blankUnit ? piece.substr(0, gap) : piece;
    RecipeLine line;
    ServingUnit unit = kUnitBlank;
    const WChar* rest = ParseServing(unitNames, amount.c_str(), line.amount, unit);
    if (!rest) continue;
    line.unit = static_cast<int32_t>(blankUnit ? kUnitBlank : unit);
    line.ingredient = FindWrittenName(catalog, blankUnit ? piece.substr(gap + 2) : WString(rest));
    if (line.ingredient) lines.push_back(std::move(line));
  }
}

bool Recipe::ImportCsvRecipeRow(const CsvRow& row, CategoryList& categories, const NamedIdList& unitNames,
                                uint32_t& idCounter, const CsvColumnMap& map, IngredientCatalog& catalog) {
  if (!ImportCsvRow(row, categories, unitNames, idCounter, map)) return false;
  if (const WString* cell = map.Field(row, kColumnCookingTime))
    ReadCsvDuration(*cell, cookHours, cookMinutes);
  if (const WString* cell = map.Field(row, kColumnPrepTime)) ReadCsvDuration(*cell, prepHours, prepMinutes);
  if (const WString* cell = map.Field(row, kColumnServes)) serves = ParseInt(cell->c_str());
  if (const WString* cell = map.Field(row, kColumnInstructions)) instructions = *cell;
  if (const WString* cell = map.Field(row, kColumnCustom)) custom = *cell;
  if (const WString* cell = map.Field(row, kColumnIngredients)) ReadCsvIngredients(*cell, unitNames, catalog);
  return true;
}
