// The starter nutrient file shipped beside the program: its name is its version marker, and its bytes
// must be what the ingredient CSV import reads on its first pass (UTF-16LE, CR LF, quoted fields, the
// column headers in order), every row must import as the program's own export of it would, and the
// values must be converted into the units of their headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "food/CategoryList.h"
#include "food/Food.h"
#include "food/Texts.h"
#include "food/Units.h"
#include "storage/Csv.h"

namespace {

namespace fs = std::filesystem;
using Row = std::vector<std::string>;

constexpr size_t kColumns = kFoodColumnCount;
constexpr size_t kMeasuresField = kFoodColumnCount;  // the household measures follow the list's columns

std::string Header(size_t column) {
  return ToUtf8(EnglishTextById(kTextColumnFirst + column));
}

// The file's lines (without CR LF) and their fields as the importer splits them, in UTF-8.
struct DataFile {
  std::vector<fs::path> paths;
  std::string bytes;
  WString text;
  std::vector<std::string> lines;
  std::vector<Row> rows;
};

const DataFile& File() {
  static const DataFile file = [] {
    DataFile f;
    for (const auto& entry : fs::directory_iterator(MIREPAN_DATA_DIR))
      if (IsCsvPath(FromUtf8(entry.path().filename().string()))) f.paths.push_back(entry.path());
    if (f.paths.size() != 1) return f;
    std::ifstream in(f.paths[0], std::ios::binary);
    f.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    f.text = Utf16Units(f.bytes);
    for (WStringView line : CsvLines(f.text)) {
      f.lines.push_back(ToUtf8(line));
      f.rows.emplace_back();
      for (const WString& field : SplitCsvLine(line)) f.rows.back().push_back(ToUtf8(field));
    }
    return f;
  }();
  return file;
}

// Digits, and at most one decimal point between digits: no sign, no exponent.
bool IsPlainDecimal(const std::string& v) {
  const size_t point = v.find('.');
  const auto digits = [](const std::string& part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
  };
  return point == std::string::npos ? digits(v) : digits(v.substr(0, point)) && digits(v.substr(point + 1));
}

double Value(const Row& row, size_t column) {
  return std::atof(row[column].c_str());
}

const Row& Food(const std::string& name) {
  for (const Row& row : File().rows)
    if (row.size() > kColumnName && row[kColumnName] == name) return row;
  static const Row none(kColumns);
  ADD_FAILURE() << "no food named " << name;
  return none;
}

// One file, named by a fixed prefix and a zero-padded release; UTF-16LE without a byte-order
// mark (it would hide the first header), never 8-bit text, every line ending in CR LF, every field
// quoted and no quote left in a name; the header holds the column headers in column order.
TEST(NutrientData, IsUtf16LeWithoutByteOrderMarkAndEndsEveryLineWithCrLf) {
  ASSERT_EQ(1u, File().paths.size()) << "exactly one nutrient file ships beside the program";
  const std::string name = File().paths[0].filename().string();
  EXPECT_TRUE(std::regex_match(name, std::regex("NutrientData[0-9]{4}\\.csv"))) << name;
  const WString& text = File().text;
  ASSERT_GE(File().bytes.size(), 4u);
  EXPECT_EQ(File().bytes.size() % 2, 0u);
  EXPECT_NE(text.front(), 0xFEFF);
  EXPECT_EQ(text.substr(text.size() - 2), WString(TXT("\r\n")));
  EXPECT_EQ(std::count(text.begin(), text.end(), 0), 0);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), static_cast<long>(File().lines.size()));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(File().lines.size()));
  const std::regex quoted("\"[^\"]*\"(,\"[^\"]*\")*");
  for (const std::string& line : File().lines) ASSERT_TRUE(std::regex_match(line, quoted)) << line;
  const Row& header = File().rows.front();
  ASSERT_EQ(header.size(), kColumns + 1);
  for (size_t c = 0; c < kColumns; ++c) EXPECT_EQ(header[c], Header(c));
  EXPECT_EQ(header[kMeasuresField], Header(kColumnMeasures));
}

// Every food is 100 g, weighed in the program's ounces, with a name and a category, and no picture. An import
// replaces a same-named ingredient, so two foods of one name would lose one of them. Nutrients are plain
// decimals of at most six significant digits, never an exponent the reader would cut short, zero as an empty
// field. A wrong unit conversion shows as a food heavier than its serving or richer than pure fat.
TEST(NutrientData, EveryFoodIsOneHundredGramsWithANameAndACategory) {
  const std::vector<Row>& rows = File().rows;
  ASSERT_GT(rows.size(), 500u);
  std::set<WString> names;
  for (size_t i = 1; i < rows.size(); ++i) {
    const Row& row = rows[i];
    ASSERT_EQ(row.size(), kColumns + 1) << "line " << i;
    const std::string& name = row[kColumnName];
    EXPECT_FALSE(name.empty()) << "line " << i;
    EXPECT_FALSE(row[kColumnCategory].empty()) << name;
    EXPECT_EQ(row[kColumnServingSize] + '|' + row[kColumnOunces] + '|' + row[kColumnPicture],
              "100  g|3.34448|")
        << name;
    WString key = FromUtf8(name);
    for (WChar& c : key) c = FoldCase(c);
    EXPECT_TRUE(names.insert(key).second) << name;
    for (size_t n = 0; n < Nutrient::kCount; ++n) {
      const std::string& v = row[n];
      if (v.empty()) continue;
      ASSERT_TRUE(IsPlainDecimal(v)) << name << ", " << Header(n) << ": " << v;
      std::string digits = v;
      digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
      digits.erase(0, digits.find_first_not_of('0'));
      EXPECT_LE(digits.find_last_not_of('0') + 1, 6u) << name << ", " << Header(n) << ": " << v;
      EXPECT_GT(Value(row, n), 0) << name << ", " << Header(n);
    }
    // Fibre is left out: one source's carbohydrate holds it. Only a food without them has no energy.
    const double grams = Value(row, 1) + Value(row, 6) + Value(row, 9);
    EXPECT_LE(grams, 101) << name << ": grams";
    EXPECT_TRUE(Value(row, 0) > 0 || grams < 1) << name << " has no calories";
    EXPECT_LE(Value(row, 0), 910) << name;
    EXPECT_LT(Value(row, 4) + Value(row, 5) + Value(row, 21) + Value(row, 23) + Value(row, 24), 100000)
        << name << ": more than 100 g of minerals";
    EXPECT_LT(Value(row, 14), 25) << name << ": vitamin B6 far above any food";
  }
}

// Each row imported as the program imports it gives a record whose own CSV export is the row again;
// only values below 0.0001 differ in form, kept here as plain decimals where the export would write an
// exponent. 250 g in any unit of weight is two and a half servings of 100 g.
TEST(NutrientData, EveryRowImportsAndExportsAsItself) {
  const std::vector<Row>& rows = File().rows;
  CsvRow header;
  for (const std::string& field : rows.front()) header.push_back(FromUtf8(field));
  CsvColumnMap map;
  ASSERT_TRUE(MapCsvHeader(
      header, [](uint32_t c) { return EnglishTextById(kTextColumnFirst + c); }, map));
  for (uint32_t c = 0; c < kColumns; ++c) ASSERT_EQ(c, map.position[c]) << Header(c);
  ASSERT_EQ(kMeasuresField, map.position[kColumnMeasures]);
  CategoryList categories;
  std::set<std::string> categoryNames;
  uint32_t idCounter = 0;
  size_t imported = 0;
  const std::pair<const WChar*, double> quarterKilo[] = {
      {TXT("g"), 250}, {TXT("kg"), 0.25}, {TXT("oz"), 250 / 29.9}, {TXT("Lb"), 250 / 29.9 / 16}};
  for (size_t i = 1; i < rows.size(); ++i) {
    const Row& row = rows[i];
    CsvRow fields;
    for (const std::string& f : row) fields.push_back(FromUtf8(f));
    Ingredient food;
    ASSERT_TRUE(food.ImportCsvRow(fields, categories, UnitNames(), idCounter, map)) << row[kColumnName];
    ++imported;
    categoryNames.insert(row[kColumnCategory]);
    for (const auto& [unit, amount] : quarterKilo)
      ASSERT_NEAR(2.5, ServingsOf(UnitNames().IdByName(unit), food.type, amount, food.size, food.ounces),
                  1e-5)
          << row[kColumnName] << ", " << ToUtf8(unit);
    for (uint32_t c = 0; c < kColumns; ++c) {
      WString cell;
      food.ColumnText(cell, c, categories, NutrientFormat{}, true, true);
      const std::string text = ToUtf8(cell);
      if (c < Nutrient::kCount && text.find('e') != std::string::npos)
        EXPECT_NEAR(std::atof(text.c_str()), Value(row, c), 1e-10) << row[kColumnName] << ", " << Header(c);
      else
        EXPECT_EQ(text, row[c]) << row[kColumnName] << ", " << Header(c);
    }
    WString measures;
    food.ColumnText(measures, kColumnMeasures, categories, NutrientFormat{}, true, true);
    EXPECT_EQ(ToUtf8(measures), row[kMeasuresField]) << row[kColumnName];
  }
  EXPECT_EQ(categories.Entries().Count(), categoryNames.size());
  EXPECT_EQ(9399u, imported);  // 542 foods of IFCT 2017 and 8857 of USDA SR24
  EXPECT_EQ(45u, categoryNames.size());
}

// Values of the sources, IFCT 2017 and USDA SR24, through the conversions of the converter; vitamin D
// and copper in micrograms.
TEST(NutrientData, KnownFoodsCarryTheirSourceValues) {
  const Row& milk = Food("Milk, whole, Cow");  // 305 kJ, 118 mg calcium, 4.48 g fat
  EXPECT_EQ(milk[0] + '|' + milk[21] + '|' + milk[1], "72.8967|118|4.48");
  const Row& egg = Food("Egg, poultry, whole, raw");  // retinol 198 ug, beta-carotene eq. 14.57 ug
  EXPECT_EQ(egg[10] + '|' + egg[3], "199.214|366");
  EXPECT_EQ(egg[17], "0.84");            // vitamin D 0.84 ug
  const Row& oil = Food("Coconut oil");  // no energy in the source: 100 g fat at 37 kJ/g
  EXPECT_EQ(oil[0] + '|' + oil[1], "884.321|100");
  EXPECT_EQ(Food("Cat fish (Marine Fish)")[14], "0.223");  // vitamin B6 given as 223 "mg", really 223 ug
  const Row& butter = Food("Butter, salted");  // 60 IU of vitamin D; retinol 671 ug, beta-carotene 158 ug
  EXPECT_EQ(butter[17] + '|' + butter[10] + '|' + butter[kColumnCategory],
            "1.5|684.167|Dairy and Egg Products (USDA)");
  EXPECT_EQ(Food("Beef, variety meats and by-products, liver, raw")[26], "9755");  // copper 9.755 mg
  // The household measures of the USDA foods; the IFCT foods give none.
  EXPECT_EQ(Food("Wheat flour, white, all-purpose, enriched, bleached")[kMeasuresField], "1 cup = 125 g");
  EXPECT_NE(butter[kMeasuresField].find(" | 1 stick = 113 g"), std::string::npos) << butter[kMeasuresField];
  EXPECT_EQ(milk[kMeasuresField], "");
}

}  // namespace
