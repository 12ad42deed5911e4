#pragma once
// The record of everything that carries nutrition: the identity fields, the serving (SIZE of unit
// TYPE, weighing OUNCES) and the 29 nutrient values per serving. Ingredients, recipes, meals and
// the allowance record of the diary derive from it; lists, CSV files and the daily-value display
// treat them alike through its virtual operations.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "food/Measures.h"
#include "food/Nutrients.h"
#include "food/Units.h"
#include "storage/Csv.h"
#include "storage/Text.h"

#ifdef _WIN32
#include <windows.h>
namespace DAVavador {
class ERPictureHolder;
class PictureUsers;
}  // namespace DAVavador
#endif

class CategoryList;
class NamedIdList;
class XMLDoc;

// What a record needs of the program that created it: the screen's horizontal resolution, which
// sizes the editor's picture preview. A record without an owner assumes 96 pixels per inch.
struct FoodOwner {
  int logPixelsX = 96;
};

// Where the ingredient editor draws the picture, in dialog pixels. Never stored in files.
struct PreviewRect {
  int32_t left, top, width, height;
};

// One numbering for list columns, CSV columns and ColumnText; the header of code c is string
// 5100 + c. 0..28 are the nutrients; 34 and above are the recipe's own columns.
enum FoodColumn : uint32_t {
  kColumnCategory = 29,
  kColumnName = 30,
  kColumnServingSize = 31,
  kColumnOunces = 32,
  kColumnPicture = 33,
  kColumnCookingTime = 34,
  kColumnPrepTime = 35,
  kColumnServes = 36,
  kColumnInstructions = 37,
  kColumnIngredients = 38,
  kColumnCustom = 39,
  // The household measures: a column of CSV files only, never of a list.
  kColumnMeasures = 40,
};
constexpr uint32_t kFoodColumnCount = 34;
constexpr uint32_t kRecipeColumnCount = 40;
constexpr uint32_t kCsvColumnCount = 41;

// The field position of each column code in the rows of an imported CSV file, kAbsent for a column
// the file lacks. Covers the recipe columns too; an ingredient import leaves them absent.
struct CsvColumnMap {
  static constexpr uint32_t kAbsent = 0xFFFF;
  std::array<uint32_t, kCsvColumnCount> position;
  // Each nutrient's values are multiplied by its factor: a file may count a nutrient in another unit
  // of mass than the program does.
  std::array<double, Nutrient::kCount> factor;

  CsvColumnMap() {
    position.fill(kAbsent);
    factor.fill(1);
  }
  // The column's field in the row, null when the column is absent or the row too short.
  const WString* Field(const CsvRow& row, uint32_t column) const;
  // The same, null also for an empty field: only such fields carry data.
  const WString* Value(const CsvRow& row, uint32_t column) const;
};

// Maps each of the `kFoodColumnCount` columns and the measures column whose normalised header text (from
// `headerText`) equals a normalised header field ignoring case to that field's position, a later field
// winning. A nutrient whose field names a unit of mass in parentheses other than the one its header text
// names gets the factor between the two. False when no column matched.
bool MapCsvHeader(const CsvRow& header, const std::function<WString(uint32_t column)>& headerText,
                  CsvColumnMap& map);

class Food {
 public:
  explicit Food(const FoodOwner* owner);
  Food(const Food& other) = default;
  // Commits an edited copy: every stored field, but not the owner and the preview rectangle.
  Food& operator=(const Food& other);
  virtual ~Food() = 0;

  // Fills the record from one CSV row: a new FOODID from the counter, categories created as
  // named, missing serving 1 in the blank unit, missing ounces 1. True when some field gave data.
  virtual bool ImportCsvRow(const CsvRow& row, CategoryList& categories, const NamedIdList& unitNames,
                            uint32_t& idCounter, const CsvColumnMap& map);
#ifdef _WIN32
  // The controls of the ingredient editor (dialog 2701) and the dialogs built on it; the window
  // code of food/FoodEditor_win.cpp, so the food data itself stays free of the platform.
  // Reads name, category, serving, ounces, nutrients and picture (taken in through the picture
  // import); with `fixedServing` the serving is 1 in the blank unit without ounces. False after a
  // validation message, the record then partly written.
  virtual bool ReadEditor(HWND dialog, bool fixedServing, const WString& imagesFolder,
                          const DAVavador::PictureUsers& pictureUsers);
#endif
  // The daily value percentages are taken of.
  virtual double DailyValue(uint32_t nutrient) const;
  // Appends the text of one column. In CSV mode double quotes in texts become U+00B4; raw turns
  // off percentages and rounding; zero nutrients give an empty cell.
  virtual void ColumnText(WString& out, uint32_t column, const CategoryList& categories,
                          const NutrientFormat& format, bool csv, bool raw) const;
#ifdef _WIN32
  // The reverse of ReadEditor: the category selection (combo 2738 already filled), the serving
  // combos, the unit (combo 2760 already filled), ounces, the nutrients as raw numbers (a zero as an
  // empty edit), the picture's name ("nopicture" for none) and its preview in `picture`.
  virtual void FillEditor(HWND dialog, DAVavador::ERPictureHolder& picture, const WString& imagesFolder,
                          const NutrientFormat& format) const;
#endif

  // Adds the other food's values for an amount in some unit, shared among `serves` servings: the
  // recipe and meal totals. Serves 0 counts as 1, so the totals stay finite and describe the whole
  // batch. The words are the line's text, which may name a measure ("1 large onion").
  void AddServings(const Food& other, ServingUnit unit, double amount, int32_t serves,
                   WStringView words = {});
  // Adds the other food's ounces and nutrients times factor.
  void AddNutrients(const Food& other, double factor);

  const FoodOwner* Owner() const {
    return owner_;
  }

  uint32_t catId = 0;
  uint32_t foodId = 0;
  bool hidden = false;
  WString name;
  WString picture;
  double size = 0;
  ServingUnit type = 0;
  double ounces = 0;
  std::array<double, Nutrient::kCount> nutrients{};
  HouseholdMeasures measures;
  PreviewRect preview;

 private:
  const FoodOwner* owner_;
};

// A food of the ingredient catalog.
class Ingredient : public Food {
 public:
  explicit Ingredient(const FoodOwner* owner = nullptr) : Food(owner) {}
  // An ingredient carrying another record's food values (the linked ingredient of a recipe).
  explicit Ingredient(const Food& food) : Food(food) {}
  ~Ingredient() override = default;
};

// How many servings of the food an amount in some unit makes. A food whose serving is a weight (or
// counted, with a weight) takes volumes and counts through its household measures (see
// MeasuredGrams; the words are the line's text); weights go through the serving's weight; what no
// measure fits converts by the unit table (ServingsOf of Units.h).
double ServingsOf(const Food& food, ServingUnit unit, double amount, WStringView words = {});

// Writes one FOOD element. With a category name (exports) it names the category as CATEGORY,
// otherwise it gives CATID. Zero and empty fields are left out, FOODID and TYPE always written; each
// household measure is a MEASURE leaf after the nutrients, which readers of old skip.
void WriteFood(XMLDoc& doc, const Food& food, const WString* categoryName = nullptr);

// Reads the children of a FOOD element whose start tag the caller consumed. A CATEGORY naming a
// category the list lacks creates it with the next counter value; a CATID follows a category the
// list renumbered on loading. True when the element ended, false at the end of the text; the
// FOODID is as read, which the caller takes into its counter (TakeFileId) or replaces.
bool ReadFood(XMLDoc& doc, Food& food, CategoryList& categories, uint32_t& idCounter);

// Replaces each double quote by U+00B4 (CSV out) or U+00B4 by a double quote (CSV in).
void QuotesToAccents(WString& text);
void AccentsToQuotes(WString& text);
// Appends the text, in CSV mode with its double quotes as U+00B4, so that no quote ends the field.
void AppendCsvSafe(WString& out, WString text, bool csv);

// The ingredient catalog as recipes and meals reach it; the Ingredients view implements it, under
// the data lock its callers hold.
class IngredientCatalog {
 public:
  virtual Ingredient* FindById(uint32_t foodId) = 0;
  // First ingredient whose name equals the text ignoring case.
  virtual Ingredient* FindByName(WStringView name) = 0;
  // Appends a copy with FOODID = ++the catalog's counter and returns the catalog's record.
  virtual Ingredient* AddIngredient(const Ingredient& ingredient) = 0;
  virtual CategoryList& Categories() = 0;
  virtual uint32_t& IdCounter() = 0;

 protected:
  ~IngredientCatalog() = default;
};
