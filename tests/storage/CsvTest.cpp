// The comma-separated exchange form: paths, records, fields, headers and the 8-bit reading.
#include <gtest/gtest.h>

#include "storage/Csv.h"
#include "storage/Files.h"
#include "storage/StorageTestSupport.h"

namespace {

// The records of a text, each in brackets, with its fields split by "|".
std::string Records(const char* utf8) {
  const WString text = FromUtf8(utf8);
  std::string records;
  for (WStringView line : CsvLines(text)) {
    records += '[';
    for (const WString& field : SplitCsvLine(line)) records += ToUtf8(field) + '|';
    records.back() = ']';
  }
  return records;
}

TEST(Csv, PathsEndingInCsvInAnyCase) {
  const std::pair<const char*, bool> cases[] = {
      {"csv", false}, {"export.xml", false}, {"a.csv\\b.xml", false}, {"C:\\my.data\\export.CSV", true}};
  for (const auto& [path, csv] : cases) EXPECT_EQ(csv, IsCsvPath(FromUtf8(path))) << path;
}

// Blanks (tabs, returns and no-break spaces too) before a quote are skipped, those inside quotes
// kept; a record ends at CR LF, CR or LF outside quotes.
TEST(Csv, FieldsSplitAtCommasOutsideQuotesAndRecordsAtLineBreaks) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"\"a,b\",,c", "[a,b||c]"},
      {"\" two\",\"\"", "[ two|]"},
      {"\"a\"\n\"b\"\n", "[a][b]"},
      {"\"a\"\r\"b\nc\"\r", "[a][b\nc]"},
      {"\"a\"\r\n\"\r\n\r\nb\"\r\n", "[a][\r\n\r\nb]"},
      {"\"Name\",\"Calories\"\r\n\"Salt\",\"0\"", "[Name|Calories][Salt|0]"}};
  for (const auto& [text, records] : cases) EXPECT_EQ(records, Records(text)) << text;
  const std::pair<const char*, CsvRow> lines[] = {{"", {TXT("")}},
                                                  {"\n\"x\", \"y\"", {TXT("x"), TXT("y")}},
                                                  {"\t\"a\",\r\u00A0\"b\"", {TXT("a"), TXT("b")}}};
  for (const auto& [line, fields] : lines) EXPECT_EQ(fields, SplitCsvLine(FromUtf8(line))) << line;
}

TEST(Csv, WrittenFieldsAreQuotedAndJoinedByCommas) {
  WString line;
  AppendCsvField(line, TXT("a"), true);
  AppendCsvField(line, TXT(""), false);
  AppendCsvField(line, TXT("b c"), false);
  EXPECT_EQ(TXT("\"a\",\"\",\"b c\""), line);
}

// Letters and digits as the system classifies them; dashes and signs beyond Latin-1 end a header.
TEST(Csv, HeadersKeepLettersAndDigitsUpToTheFirstOtherCharacter) {
  const std::pair<const char*, const char*> cases[] = {{"(g)", ""},
                                                       {"Calories—kcal", "Calories"},
                                                       {"Protéines Жир", "ProtéinesЖир"},
                                                       {"Total\u00A0Fat\t(g)", "TotalFat"},
                                                       {" Vitamin B12 (mcg)", "VitaminB12"}};
  for (const auto& [header, normalised] : cases)
    EXPECT_EQ(FromUtf8(normalised), NormalisedHeader(FromUtf8(header))) << header;
}

// The second, 8-bit reading keeps every byte of a file of any length, as one character each.
TEST(Csv, EightBitFilesOfAnyLengthKeepEveryByte) {
  const WString units = {static_cast<WChar>(0x3231), static_cast<WChar>(0xE90D)};
  EXPECT_EQ(TXT("12\r\u00E9"), WidenedBytes(units));
  storage_test::ScratchFolder folder;
  const std::pair<std::string, const WChar*> cases[] = {{"", TXT("")},
                                                        {"\"caf\xE9\"\r\n1", TXT("\"caf\u00E9\"\r\n1")}};
  for (const auto& [bytes, text] : cases) {
    const WString path = folder / TXT("export.csv");
    ASSERT_TRUE(storage_test::WriteFile(path, bytes));
    std::string read;
    EXPECT_TRUE(ReadFileBytes(path, read));
    EXPECT_EQ(text, WidenedBytes(read)) << bytes;
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
