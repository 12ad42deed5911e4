// The comma-separated exchange form: paths, records, fields, headers and the 8-bit reading.
#include <gtest/gtest.h>

#include "storage/Csv.h"
#include "storage/Files.h"
#include "storage/StorageTestSupport.h"

namespace {

// The fields of every record of a text.
std::vector<CsvRow> Records(const WString& text) {
  std::vector<CsvRow> records;
  for (WStringView line : CsvLines(text)) records.push_back(SplitCsvLine(line));
  return records;
}

TEST(Csv, PathsEndingInCsvInAnyCase) {
  const std::pair<const WChar*, bool> cases[] = {
      {TXT("C:\\data\\export.csv"), true},
      {TXT("export.CSV"), true},
      {TXT("export.Csv"), true},
      {TXT("export.xml"), false},
      {TXT("csv"), false},
      {TXT("export.csv.xml"), false},
      {TXT("export."), false},
      {TXT("a.csv\\b.xml"), false},
  };
  for (const auto& [path, csv] : cases) EXPECT_EQ(csv, IsCsvPath(path)) << ToUtf8(path);
}

TEST(Csv, FieldsSplitAtCommasOutsideQuotes) {
  const std::pair<const WChar*, CsvRow> cases[] = {
      {TXT("\"a\",\"b\""), {TXT("a"), TXT("b")}},           {TXT("\"a,b\",c"), {TXT("a,b"), TXT("c")}},
      {TXT("\n\"x\", \"y\""), {TXT("x"), TXT("y")}},         // blanks before a quote are skipped
      {TXT("\" two\",\"\""), {TXT(" two"), TXT("")}},        // blanks inside quotes are kept
      {TXT("\t\"a\",\r\u00A0\"b\""), {TXT("a"), TXT("b")}},  // tabs, returns, no-break spaces
      {TXT("1,,3"), {TXT("1"), TXT(""), TXT("3")}},         {TXT(""), {TXT("")}},
  };
  for (const auto& [line, fields] : cases) EXPECT_EQ(fields, SplitCsvLine(line)) << ToUtf8(line);
}

TEST(Csv, RecordsEndAtLineBreaks) {
  const std::vector<CsvRow> expected = {{TXT("Name"), TXT("Calories")}, {TXT("Salt"), TXT("0")}};
  EXPECT_EQ(expected, Records(TXT("\"Name\",\"Calories\"\r\n\"Salt\",\"0\"")));
  EXPECT_TRUE(CsvLines(WString()).empty());
}

TEST(Csv, QuotedFieldsKeepTheirLineBreaks) {
  const std::pair<const WChar*, std::vector<CsvRow>> cases[] = {
      {TXT("\"Name\",\"Instructions\"\r\n\"Stew\",\"Brown.\r\nSimmer.\"\r\n\"Soup\",\"Stir.\"\r\n"),
       {{TXT("Name"), TXT("Instructions")},
        {TXT("Stew"), TXT("Brown.\r\nSimmer.")},
        {TXT("Soup"), TXT("Stir.")}}},
      {TXT("\"a\"\r\n\"\r\n\r\nb\"\r\n"), {{TXT("a")}, {TXT("\r\n\r\nb")}}},
      {TXT("\"a\"\r\"b\nc\"\r"), {{TXT("a")}, {TXT("b\nc")}}},
      {TXT("\"a\"\n\"b\"\n"), {{TXT("a")}, {TXT("b")}}},  // line feeds alone end records too
  };
  for (const auto& [text, records] : cases) EXPECT_EQ(records, Records(text)) << ToUtf8(text);
}

TEST(Csv, WrittenFieldsAreQuotedAndJoinedByCommas) {
  WString line;
  AppendCsvField(line, TXT("a"), true);
  AppendCsvField(line, TXT(""), false);
  AppendCsvField(line, TXT("b c"), false);
  EXPECT_EQ(TXT("\"a\",\"\",\"b c\""), line);
}

TEST(Csv, HeadersKeepLettersAndDigitsUpToTheFirstOtherCharacter) {
  const std::pair<const WChar*, const WChar*> cases[] = {
      {TXT("Total Fat (g)"), TXT("TotalFat")},
      {TXT(" Vitamin B12 (mcg)"), TXT("VitaminB12")},
      {TXT("Calories"), TXT("Calories")},
      {TXT("Prot\u00E9ines"), TXT("Prot\u00E9ines")},
      {TXT("\u0416\u0438\u0440"), TXT("\u0416\u0438\u0440")},
      {TXT("(g)"), TXT("")},
      {TXT("Total\u00A0Fat\t(g)"), TXT("TotalFat")},
      {TXT("\r\nCalories\n"), TXT("Calories")},
      // Letters and digits as the system classifies them; dashes and signs beyond Latin-1 end it.
      {TXT("Calories\u2014kcal"), TXT("Calories")},
      {TXT("Sodium\uFF08mg\uFF09"), TXT("Sodium")},
      {TXT("Energie\u2011kJ"), TXT("Energie")},
      {TXT("\u03A3\u03AF\u03B4\u03B7\u03C1\u03BF"), TXT("\u03A3\u03AF\u03B4\u03B7\u03C1\u03BF")},
  };
  for (const auto& [header, normalised] : cases)
    EXPECT_EQ(normalised, NormalisedHeader(header)) << ToUtf8(header);
}

TEST(Csv, WidenedBytesMakeEachByteOneCharacter) {
  const WString units = {static_cast<WChar>(0x3231), static_cast<WChar>(0xE90D)};
  EXPECT_EQ(TXT("12\r\u00E9"), WidenedBytes(units));
}

// The text of an 8-bit file as the CSV import's second reading sees it.
WString EightBitText(const WString& path) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(path, bytes));
  return WidenedBytes(bytes);
}

TEST(Csv, EightBitFilesOfAnyLengthKeepEveryByte) {
  storage_test::ScratchFolder folder;
  const std::pair<std::string, const WChar*> cases[] = {
      {"\"Calories\"\r\n123", TXT("\"Calories\"\r\n123")},
      {"\"Calories\"\r\n12", TXT("\"Calories\"\r\n12")},
      {"1", TXT("1")},
      {"caf\xE9\r\n", TXT("caf\u00E9\r\n")},
      {"", TXT("")},
  };
  for (const auto& [bytes, text] : cases) {
    const WString path = folder / TXT("export.csv");
    ASSERT_TRUE(storage_test::WriteFile(path, bytes));
    EXPECT_EQ(text, EightBitText(path)) << bytes;
  }
}

TEST(Csv, TheUtf16ReadingPairsBytesLowFirst) {
  EXPECT_EQ(TXT("AB\u00E9"), Utf16Units(std::string("A\0B\0\xE9\0C", 7)));  // the odd "C" makes no unit
  EXPECT_EQ(TXT("\U0001F34E\u0100\u00FF"), Utf16Units(std::string("\x3C\xD8\x4E\xDF\x00\x01\xFF\x00", 8)));
  std::string bytes = "kept";
  EXPECT_FALSE(ReadFileBytes(TXT("/no/such/folder/export.csv"), bytes));
  EXPECT_TRUE(bytes.empty());
}

}  // namespace
