// MealMaster recipe files: "MMMMM----- Recipe via Meal-Master" (or "----- Recipe via Meal-Master")
// starts a recipe, "MMMMM" (or "-----") ends it. Between them: Title, Categories and Yield or
// Servings, the ingredients in columns (amount in 1-7, unit code in 9-10, name from 12; a second
// column from 42), headings such as "MMMMM-----SAUCE-----", then the directions.
#include <algorithm>

#include "webrecipe/RecipeText.h"

namespace {

struct UnitCode {
  const char* code;
  ServingUnit unit;
  double factor;  // amount in the unit per amount written
};

// The two-letter unit codes. Counts (each, small, can, package, bunch ...) take the blank unit.
// clang-format off
constexpr UnitCode kUnitCodes[] = {
    {"x", kUnitBlank, 1},  {"sm", kUnitBlank, 1}, {"md", kUnitBlank, 1}, {"lg", kUnitBlank, 1},
    {"cn", kUnitBlank, 1}, {"pk", kUnitBlank, 1}, {"dr", kUnitBlank, 1}, {"ct", kUnitBlank, 1},
    {"bn", kUnitBlank, 1}, {"ea", kUnitBlank, 1}, {"pn", kUnitPinch, 1}, {"ds", kUnitDash, 1},
    {"sl", kUnitSlice, 1}, {"t", kUnitTeaspoon, 1}, {"ts", kUnitTeaspoon, 1}, {"T", kUnitTablespoon, 1},
    {"tb", kUnitTablespoon, 1}, {"fl", kUnitCup, 0.125}, {"c", kUnitCup, 1}, {"pt", kUnitPint, 1},
    {"qt", kUnitQuart, 1}, {"ga", kUnitGallon, 1}, {"oz", kUnitOunce, 1}, {"lb", kUnitPound, 1},
    {"ml", kUnitMilliliter, 1}, {"cb", kUnitMilliliter, 1}, {"cl", kUnitMilliliter, 10},
    {"dl", kUnitMilliliter, 100}, {"l", kUnitLiter, 1}, {"mg", kUnitGram, 0.001}, {"cg", kUnitGram, 0.01},
    {"dg", kUnitGram, 0.1}, {"g", kUnitGram, 1}, {"kg", kUnitKilogram, 1},
};
// clang-format on

constexpr size_t kSecondColumn = 41;  // where a two-column layout's right ingredient starts
constexpr size_t kNameColumn = 11;

// An ingredient as read, its name cleaned once its continuation lines are in.
struct LineDraft {
  std::string original;
  std::string name;
  double amount = 0;
  ServingUnit unit = kUnitBlank;
  bool heading = false;
};

struct RecipeDraft {
  std::string title, category;
  int32_t serves = 0;
  std::vector<LineDraft> lines;
  std::vector<InstructionLine> directions;
  std::string paragraph;  // direction lines not yet ended by a blank line
};

enum class Marker { kNone, kBegin, kEnd, kHeading };

// What a line starting with "MMMMM" or "-----" marks; heading gets a section's name.
Marker MarkerOf(std::string_view line, bool fiveM, std::string& heading) {
  std::string_view text = TrimBlanks(line);
  const bool mLine = text.substr(0, 5) == "MMMMM";
  if (!mLine && text.substr(0, 5) != "-----") return Marker::kNone;
  if (mLine) text.remove_prefix(5);
  while (!text.empty() && text.front() == '-') text.remove_prefix(1);
  while (!text.empty() && text.back() == '-') text.remove_suffix(1);
  text = TrimBlanks(text);
  if (FindNoCaseAscii(text, "meal-master") != std::string_view::npos) return Marker::kBegin;
  if (text.empty()) return mLine == fiveM ? Marker::kEnd : Marker::kNone;
  heading = std::string(text);
  return Marker::kHeading;
}

// The line with tabs expanded to every eighth column, so the columns stand where they show.
std::string Expanded(std::string_view line) {
  std::string out;
  for (const char c : line) {
    if (c == '\t') {
      out.append(8 - out.size() % 8, ' ');
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

bool IsAmountField(std::string_view field) {
  return field.find_first_not_of(" 0123456789/.-") == std::string_view::npos;
}

const UnitCode* CodeOf(std::string_view field) {
  const std::string code(TrimBlanks(field));
  for (const UnitCode& entry : kUnitCodes) {
    const bool exact = code == "t" || code == "T";
    if (exact ? code == entry.code : LowerAscii(code) == entry.code) return &entry;
  }
  return nullptr;
}

// One ingredient column: amount field, blank, unit field, blank, name. continuation tells that the
// column only continues the ingredient above it ("-finely chopped").
bool ReadColumn(std::string_view column, LineDraft& line, bool& continuation) {
  if (column.size() <= kNameColumn || column[7] != ' ' || column[10] != ' ') return false;
  const std::string_view amountField = column.substr(0, 7);
  const std::string_view unitField = column.substr(8, 2);
  if (!IsAmountField(amountField)) return false;
  const UnitCode* code = TrimBlanks(unitField).empty() ? nullptr : CodeOf(unitField);
  if (!code && !TrimBlanks(unitField).empty()) return false;
  const std::string_view name = TrimBlanks(column.substr(kNameColumn - 1));
  if (name.empty() && !code && TrimBlanks(amountField).empty()) return false;
  continuation = !code && TrimBlanks(amountField).empty() && name.front() == '-';
  std::string_view amountText = TrimBlanks(amountField);
  line = LineDraft();
  line.amount = ReadAmount(amountText);
  if (code) {
    line.unit = code->unit;
    line.amount *= code->factor;
  }
  std::string_view ownName = name;
  while (continuation && !ownName.empty() && ownName.front() == '-') ownName.remove_prefix(1);
  line.name = std::string(TrimBlanks(ownName));
  line.original = CollapsedBlanks(column);
  return true;
}

// Whether the line holds an ingredient at kSecondColumn as well as one before it.
bool HasSecondColumn(std::string_view line) {
  if (line.size() <= kSecondColumn + kNameColumn || !TrimBlanks(line.substr(kSecondColumn - 2, 2)).empty())
    return false;
  LineDraft right;
  bool continuation = false;
  return ReadColumn(line.substr(kSecondColumn), right, continuation) &&
         (continuation || !TrimBlanks(line.substr(kSecondColumn, 10)).empty());
}

class Reader {
 public:
  MealMasterFile Read(std::string_view text) {
    while (!text.empty()) {
      const size_t end = text.find_first_of("\r\n");
      const std::string line = Expanded(text.substr(0, end));
      size_t next = end == std::string_view::npos ? text.size() : end + 1;
      if (end != std::string_view::npos && text[end] == '\r' && next < text.size() && text[next] == '\n')
        ++next;
      text.remove_prefix(next);
      Take(line);
    }
    if (inRecipe_) Finish();
    if (file_.recipes.empty()) file_.error = RecipeImportError::kNoRecipe;
    return std::move(file_);
  }

 private:
  enum class Part { kHeader, kIngredients, kDirections };

  void Take(const std::string& line) {
    std::string heading;
    const Marker marker = MarkerOf(line, fiveM_, heading);
    if (marker == Marker::kBegin) {
      if (inRecipe_) Finish();
      inRecipe_ = true;
      fiveM_ = TrimBlanks(line).substr(0, 5) == "MMMMM";
      draft_ = RecipeDraft();
      part_ = Part::kHeader;
      left_ = right_ = static_cast<size_t>(-1);
      return;
    }
    if (!inRecipe_) return;
    if (marker == Marker::kEnd) {
      Finish();
    } else if (marker == Marker::kHeading) {
      AddHeading(heading);
    } else if (part_ == Part::kHeader && TakeHeader(line)) {
    } else if (part_ != Part::kDirections && TakeIngredients(line)) {
      part_ = Part::kIngredients;
    } else {
      part_ = Part::kDirections;
      TakeDirection(line);
    }
  }

  bool TakeHeader(std::string_view line) {
    const std::string_view text = TrimBlanks(line);
    if (text.empty()) return true;
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string key = LowerAscii(TrimBlanks(text.substr(0, colon)));
    const std::string value = CollapsedBlanks(text.substr(colon + 1));
    if (key == "title") {
      draft_.title = value;
    } else if (key == "categories") {
      const std::string first(TrimBlanks(std::string_view(value).substr(0, value.find(','))));
      if (!EqualsNoCaseAscii(first, "none")) draft_.category = first;
    } else if (key == "yield" || key == "servings") {
      draft_.serves = ServesFromYield(value);
    } else {
      return false;
    }
    return true;
  }

  bool TakeIngredients(std::string_view line) {
    if (TrimBlanks(line).empty()) return part_ == Part::kIngredients;
    const bool twoColumns = HasSecondColumn(line);
    if (!TakeColumn(twoColumns ? line.substr(0, kSecondColumn) : line, left_)) return false;
    if (twoColumns) TakeColumn(line.substr(kSecondColumn), right_);
    return true;
  }

  // Reads one column into the draft; last is where that column's previous ingredient stands.
  bool TakeColumn(std::string_view column, size_t& last) {
    LineDraft line;
    bool continuation = false;
    if (!ReadColumn(column, line, continuation)) return false;
    if (continuation && last < draft_.lines.size()) {
      draft_.lines[last].original += " " + line.original;
      draft_.lines[last].name += ", " + line.name;  // most continue with the preparation
    } else if (!continuation) {
      last = draft_.lines.size();
      draft_.lines.push_back(std::move(line));
    }
    return true;
  }

  void AddHeading(const std::string& heading) {
    if (part_ == Part::kDirections) {
      EndParagraph();
      draft_.directions.push_back({heading, true});
      return;
    }
    part_ = Part::kIngredients;
    LineDraft line;
    line.original = line.name = heading;
    line.heading = true;
    left_ = right_ = static_cast<size_t>(-1);
    draft_.lines.push_back(std::move(line));
  }

  void TakeDirection(std::string_view line) {
    const std::string text = CollapsedBlanks(line);
    if (text.empty()) {
      EndParagraph();
      return;
    }
    if (!draft_.paragraph.empty()) draft_.paragraph += ' ';
    draft_.paragraph += text;
  }

  void EndParagraph() {
    const std::string_view step = WithoutStepNumber(draft_.paragraph);
    if (!step.empty()) draft_.directions.push_back({std::string(step), false});
    draft_.paragraph.clear();
  }

  void Finish() {
    inRecipe_ = false;
    EndParagraph();
    if (draft_.title.empty() && draft_.lines.empty() && draft_.directions.empty()) return;
    ImportedRecipe recipe;
    recipe.name = FromUtf8(draft_.title);
    recipe.category = FromUtf8(draft_.category);
    recipe.serves = std::max(1, draft_.serves);
    recipe.instructions = InstructionsText(draft_.directions);
    for (const LineDraft& draft : draft_.lines) {
      ImportedLine line;
      line.original = FromUtf8(draft.original);
      line.amount = draft.amount;
      line.unit = draft.unit;
      line.isHeading = draft.heading;
      line.name = FromUtf8(draft.heading ? draft.name : CleanIngredientName(draft.name));
      recipe.lines.push_back(std::move(line));
    }
    file_.recipes.push_back(std::move(recipe));
  }

  MealMasterFile file_;
  RecipeDraft draft_;
  Part part_ = Part::kHeader;
  bool inRecipe_ = false;
  bool fiveM_ = true;
  size_t left_ = static_cast<size_t>(-1);
  size_t right_ = static_cast<size_t>(-1);
};

}  // namespace

MealMasterFile ReadMealMaster(std::string_view text) {
  const std::string file = ValidUtf8(text);
  return Reader().Read(file);
}
