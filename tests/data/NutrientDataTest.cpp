// The starter nutrient file shipped beside the program: its name is its version marker, and its bytes
// must be what the ingredient CSV import reads on its first pass (UTF-16LE, CR LF, quoted fields, the
// column headers in order), every row must import as the program's own export of it would, and the
// values must be converted into the units of their headers.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "food/CategoryList.h"
#include "food/Food.h"
#include "food/Texts.h"
#include "food/Units.h"
#include "storage/Text.h"

namespace {

namespace fs = std::filesystem;
using Row = std::vector<std::string>;

constexpr size_t kColumns = kFoodColumnCount;

// The header text of a column, string 5100 + code.
std::string Header(size_t column) {
  return ToUtf8(EnglishTextById(kTextColumnFirst + column));
}

std::vector<fs::path> NutrientFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(MIREPAN_DATA_DIR)) {
    std::string ext = entry.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".csv") files.push_back(entry.path());
  }
  return files;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

WString DecodeUtf16Le(const std::string& bytes) {
  WString text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<WChar>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

// The importer's field split: commas outside double quotes separate, quotes are dropped, white space
// at the start of a field is skipped (so the LF after each CR vanishes).
Row SplitFields(WStringView line) {
  Row fields(1);
  bool quoted = false, leading = true;
  for (WChar c : line) {
    if (c == '"') {
      quoted = !quoted, leading = false;
    } else if (c == ',' && !quoted) {
      fields.emplace_back(), leading = true;
    } else if (!(leading && (c == ' ' || c == '\t' || c == '\n'))) {
      fields.back() += ToUtf8(WStringView(&c, 1)), leading = false;
    }
  }
  return fields;
}

// The importer's header match: letters and digits up to the first other character, blanks dropped.
std::string Normalised(const std::string& header) {
  std::string key;
  for (char c : header) {
    if (c == ' ' || c == '\t') continue;
    if (!std::isalnum(static_cast<unsigned char>(c))) break;
    key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return key;
}

class NutrientData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    auto files = NutrientFiles();
    ASSERT_EQ(files.size(), 1u) << "exactly one nutrient file ships beside the program";
    path_ = new fs::path(files.front());
    bytes_ = new std::string(ReadBytes(*path_));
    text_ = new WString(DecodeUtf16Le(*bytes_));
    rows_ = new std::vector<Row>;
    lines_ = new std::vector<WString>;
    for (size_t start = 0, cr; (cr = text_->find(u'\r', start)) != WString::npos; start = cr + 1) {
      WString line = text_->substr(start, cr - start);
      if (!lines_->empty() && (line.empty() || line[0] != '\n')) ADD_FAILURE() << "a CR without its LF";
      if (!lines_->empty()) line.erase(0, 1);
      lines_->push_back(line);
      rows_->push_back(SplitFields(line));
    }
  }
  static void TearDownTestSuite() { delete path_, delete bytes_, delete text_, delete rows_, delete lines_; }

  static const Row& Food(const std::string& name) {
    for (size_t i = 1; i < rows_->size(); ++i) {
      if ((*rows_)[i].size() > kColumnName && (*rows_)[i][kColumnName] == name) return (*rows_)[i];
    }
    static const Row none(kColumns);
    ADD_FAILURE() << "no food named " << name;
    return none;
  }
  static double Value(const Row& row, size_t column) { return std::atof(row[column].c_str()); }

  static fs::path* path_;
  static std::string* bytes_;
  static WString* text_;
  static std::vector<WString>* lines_;
  static std::vector<Row>* rows_;
};
fs::path* NutrientData::path_;
std::string* NutrientData::bytes_;
WString* NutrientData::text_;
std::vector<WString>* NutrientData::lines_;
std::vector<Row>* NutrientData::rows_;

TEST_F(NutrientData, FileNameIsAFixedPrefixAndAZeroPaddedRelease) {
  EXPECT_TRUE(std::regex_match(path_->filename().string(), std::regex("NutrientData[0-9]{4}\\.csv")))
      << path_->filename();
}

TEST_F(NutrientData, IsUtf16LeWithoutByteOrderMarkAndEndsEveryLineWithCrLf) {
  ASSERT_GE(bytes_->size(), 4u);
  EXPECT_EQ(bytes_->size() % 2, 0u);
  EXPECT_NE(text_->front(), 0xFEFF) << "a byte-order mark would hide the first header";
  EXPECT_EQ(text_->substr(text_->size() - 2), WString(TXT("\r\n")));
  for (WChar c : *text_) ASSERT_NE(c, 0) << "8-bit text read as UTF-16";
}

TEST_F(NutrientData, EveryFieldIsQuotedAndNoQuoteIsLeftInAName) {
  const std::regex quoted("\"[^\"]*\"(,\"[^\"]*\")*");
  for (const WString& line : *lines_) ASSERT_TRUE(std::regex_match(ToUtf8(line), quoted)) << ToUtf8(line);
}

TEST_F(NutrientData, HeaderHoldsTheColumnHeadersInColumnOrder) {
  const Row& header = rows_->front();
  ASSERT_EQ(header.size(), kColumns);
  for (size_t c = 0; c < kColumns; ++c) {
    EXPECT_EQ(header[c], Header(c));
    EXPECT_EQ(Normalised(header[c]), Normalised(Header(c))) << "column " << c;
  }
}

TEST_F(NutrientData, EveryFoodIsOneHundredGramsWithANameAndACategory) {
  ASSERT_GT(rows_->size(), 500u);
  for (size_t i = 1; i < rows_->size(); ++i) {
    const Row& row = (*rows_)[i];
    ASSERT_EQ(row.size(), kColumns) << "line " << i;
    EXPECT_FALSE(row[kColumnName].empty()) << "line " << i;
    EXPECT_FALSE(row[kColumnCategory].empty()) << row[kColumnName];
    EXPECT_EQ(row[kColumnServingSize], "100  g") << row[kColumnName];
    EXPECT_EQ(row[kColumnOunces], "3.5274") << row[kColumnName];
    EXPECT_EQ(row[kColumnPicture], "") << row[kColumnName];
  }
}

// An import replaces a same-named ingredient, so two foods of one name would lose one of them.
TEST_F(NutrientData, NamesAreUniqueIgnoringCase) {
  std::set<WString> seen;
  for (size_t i = 1; i < rows_->size(); ++i) {
    WString key = FromUtf8((*rows_)[i][kColumnName]);
    for (WChar& c : key) c = FoldCase(c);
    EXPECT_TRUE(seen.insert(key).second) << (*rows_)[i][kColumnName];
  }
}

// Plain decimals of at most six significant digits, never an exponent the reader would cut short,
// zero as an empty field.
TEST_F(NutrientData, NutrientsArePlainPositiveDecimals) {
  const std::regex plain("[0-9]+(\\.[0-9]+)?");
  for (size_t i = 1; i < rows_->size(); ++i) {
    const Row& row = (*rows_)[i];
    for (size_t n = 0; n < Nutrient::kCount; ++n) {
      const std::string& v = row[n];
      if (v.empty()) continue;
      ASSERT_TRUE(std::regex_match(v, plain)) << row[kColumnName] << ", " << Header(n) << ": " << v;
      std::string digits = std::regex_replace(v, std::regex("[.]"), "");
      digits.erase(0, digits.find_first_not_of('0'));
      EXPECT_LE(digits.find_last_not_of('0') + 1, 6u) << row[kColumnName] << ", " << Header(n) << ": " << v;
      EXPECT_GT(Value(row, n), 0) << row[kColumnName] << ", " << Header(n);
    }
  }
}

// A wrong unit conversion shows as a food heavier than its serving or richer than pure fat.
TEST_F(NutrientData, ValuesFitIntoOneHundredGrams) {
  for (size_t i = 1; i < rows_->size(); ++i) {
    const Row& row = (*rows_)[i];
    double grams = Value(row, 1) + Value(row, 6) + Value(row, 7) + Value(row, 9);
    EXPECT_LE(grams, 101) << row[kColumnName];
    EXPECT_GT(Value(row, 0), 0) << row[kColumnName] << " has no calories";
    EXPECT_LE(Value(row, 0), 900) << row[kColumnName];
    double minerals = Value(row, 4) + Value(row, 5) + Value(row, 21) + Value(row, 23) + Value(row, 24);
    EXPECT_LT(minerals, 100000) << row[kColumnName] << ": more than 100 g of minerals";
    EXPECT_LT(Value(row, 14), 10) << row[kColumnName] << ": vitamin B6 far above any food";
  }
}

// Each row imported as the program imports it gives a record whose own CSV export is the row again;
// only values below 0.0001 differ in form, kept here as plain decimals where the export would write
// an exponent.
TEST_F(NutrientData, EveryRowImportsAndExportsAsItself) {
  CsvColumnMap map;
  const Row& header = rows_->front();
  for (uint32_t field = 0; field < header.size(); ++field) {
    for (uint32_t c = 0; c < kColumns; ++c) {
      if (Normalised(header[field]) == Normalised(Header(c))) map.position[c] = field;
    }
  }
  CategoryList categories;
  std::set<std::string> categoryNames;
  uint32_t idCounter = 0;
  for (size_t i = 1; i < rows_->size(); ++i) {
    const Row& row = (*rows_)[i];
    CsvRow fields;
    for (const std::string& f : row) fields.push_back(FromUtf8(f));
    Ingredient food;
    ASSERT_TRUE(food.ImportCsvRow(fields, categories, UnitNames(), idCounter, map)) << row[kColumnName];
    EXPECT_EQ(food.type, kUnitGram) << row[kColumnName];
    EXPECT_EQ(food.size, 100) << row[kColumnName];
    EXPECT_NEAR(food.ounces, 100 / 28.349523125, 1e-4) << row[kColumnName];
    categoryNames.insert(row[kColumnCategory]);
    for (uint32_t c = 0; c < kColumns; ++c) {
      WString cell;
      food.ColumnText(cell, c, categories, NutrientFormat{}, true, true);
      std::string text = ToUtf8(cell);
      if (c < Nutrient::kCount && text.find('e') != std::string::npos) {
        EXPECT_NEAR(std::atof(text.c_str()), Value(row, c), 1e-10) << row[kColumnName] << ", " << Header(c);
      } else {
        EXPECT_EQ(text, row[c]) << row[kColumnName] << ", " << Header(c);
      }
    }
  }
  EXPECT_EQ(categories.Entries().Count(), categoryNames.size());
}

// Values of the source, IFCT 2017, through the conversions of the converter.
TEST_F(NutrientData, KnownFoodsCarryTheirSourceValues) {
  const Row& milk = Food("Milk, whole, Cow");  // 305 kJ, 118 mg calcium, 4.48 g fat
  EXPECT_EQ(milk[0], "72.8967");
  EXPECT_EQ(milk[21], "118");
  EXPECT_EQ(milk[1], "4.48");
  EXPECT_EQ(milk[kColumnCategory], "Milk and Milk Products");

  const Row& egg = Food("Egg, poultry, whole, raw");  // retinol 198 ug, beta-carotene eq. 14.57 ug
  EXPECT_EQ(egg[10], "199.214");
  EXPECT_EQ(egg[3], "366");
  EXPECT_EQ(egg[17], "0.00084");  // vitamin D 0.84 ug, written in mg

  const Row& oil = Food("Coconut oil");  // no energy in the source: 100 g fat at 37 kJ/g
  EXPECT_EQ(oil[0], "884.321");
  EXPECT_EQ(oil[1], "100");
  EXPECT_EQ(oil[kColumnCategory], "Edible Oils and Fats");

  const Row& fish = Food("Cat fish (Marine Fish)");  // vitamin B6 given as 223 "mg", really 223 ug
  EXPECT_EQ(fish[14], "0.223");
  EXPECT_EQ(Food("Cat fish (Fresh Water Fish and Shellfish)")[kColumnCategory],
            "Fresh Water Fish and Shellfish");
}

}  // namespace
