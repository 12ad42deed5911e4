// The text forms of recipe sharing: encodings, the upload reply rule, search replies, start dates
// and the server setting of the options file. Natively and under Wine.
#include "net/SharingWire.h"

#include <gtest/gtest.h>

#include "app/Options.h"
#include "storage/Files.h"
#include "support/ScratchFolder.h"

namespace {

TEST(SharingWire, FormAndQueryEncodingDifferOnlyInTheBlank) {
  EXPECT_EQ(FormEncode(TXT("Apple Pie 2")), "Apple+Pie+2");
  EXPECT_EQ(QueryEncode(TXT("Apple Pie 2")), "Apple%20Pie%202");
  EXPECT_EQ(FormEncode(TXT("<A>\r\n")), "%3CA%3E%0D%0A");
  EXPECT_EQ(QueryEncode(TXT("01-01-0000")), "01%2D01%2D0000");
  EXPECT_EQ(FormEncode(TXT("a+b%c&d=e")), "a%2Bb%25c%26d%3De");
  // Other characters take the low 8 bits of their code.
  EXPECT_EQ(FormEncode(WString(1, WChar(0x2013))), "%13");
  EXPECT_EQ(FormEncode(TXT("")), "");
#ifdef _WIN32
  // The system's classification counts accented letters as letters; they go as their 8-bit code.
  EXPECT_EQ(FormEncode(L"Cr\u00E8me br\u00FBl\u00E9e"),
            "Cr\xE8me+br\xFBl\xE9"
            "e");
#endif
}

TEST(SharingWire, TheUploadBodyIsTheRecipeField) {
  EXPECT_EQ(UploadBody(TXT("<RECIPELIST>\r\n")), "recipe=%3CRECIPELIST%3E%0D%0A");
}

TEST(SharingWire, OnlyFourBlanksAndOkAcceptAnUpload) {
  for (const char* accepted : {"    OK", "    OK\r\nstored as 12"}) EXPECT_TRUE(IsUploadAccepted(accepted));
  for (const char* refused : {"OK", "   OK", "    ok", "     OK", ""})
    EXPECT_FALSE(IsUploadAccepted(refused));
}

TEST(SharingWire, SearchRepliesKeepLinesOfTwoFields) {
  std::vector<std::pair<int32_t, WString>> rows;
  for (const SharedRecipeListing& row : ParseSearchReply(
           TXT("12,Apple Pie\r\n  7, \"Soup, Thick\"\r\n3,Too,Many\r\n\r\nlonely\r\n \n 44,Last")))
    rows.emplace_back(row.id, row.name);
  EXPECT_EQ(rows, (std::vector<std::pair<int32_t, WString>>{
                      {12, TXT("Apple Pie")}, {7, TXT("Soup, Thick")}, {44, TXT("Last")}}));
  EXPECT_TRUE(ParseSearchReply(TXT("")).empty());
}

TEST(SharingWire, AMonthBackDependsOnTheCurrentMonth) {
  const CalendarDate last(2019, 5, 6);
  auto start = [&](SearchSince since, CalendarDate today) { return SearchStartDate(since, last, today); };
  EXPECT_EQ(start(SearchSince::LastMonth, {2024, 3, 31}), CalendarDate(2024, 2, 29));   // 31 days
  EXPECT_EQ(start(SearchSince::LastMonth, {2023, 2, 28}), CalendarDate(2023, 1, 31));   // 28 in February
  EXPECT_EQ(start(SearchSince::LastMonth, {2024, 4, 30}), CalendarDate(2024, 3, 31));   // 30 in April
  EXPECT_EQ(start(SearchSince::LastMonth, {2024, 12, 31}), CalendarDate(2024, 12, 1));  // and December
  EXPECT_EQ(start(SearchSince::LastMonth, {2024, 1, 15}), CalendarDate(2023, 12, 15));
  EXPECT_EQ(start(SearchSince::LastWeek, {2024, 3, 3}), CalendarDate(2024, 2, 25));
  EXPECT_EQ(start(SearchSince::Yesterday, {2024, 1, 1}), CalendarDate(2023, 12, 31));
  EXPECT_EQ(start(SearchSince::LastDownload, {2024, 1, 1}), last);
  EXPECT_EQ(start(SearchSince::AllRecipes, {2024, 1, 1}), CalendarDate(0, 1, 1));
}

TEST(SharingWire, TheSearchAddressAddsOnlyTheGivenKeys) {
  ServerAddress server;
  ASSERT_TRUE(server.Parse(TXT("127.0.0.1:8123")));
  EXPECT_EQ(SearchAddress(server, CalendarDate(0, 1, 1), {}, {}),
            TXT("http://127.0.0.1:8123/mirepan/findrecipe.php?startdate=01%2D01%2D0000"));
  CalendarDate dated(2024, 3, 7);
  dated.dateFormat = CalendarDate::kMonthNameDayYear;  // the address keeps its own form
  dated.separator = TXT("/");
  EXPECT_EQ(SearchAddress(server, dated, TXT("Main Dishes"), TXT("pie")),
            TXT("http://127.0.0.1:8123/mirepan/findrecipe.php?startdate=03%2D07%2D2024"
                "&category=Main%20Dishes&foodname=pie"));
}

// The server address in the options file: read back when given, never written when empty.
TEST(SharingWire, TheOptionsFileNamesTheServerOnlyWhenOneIsSet) {
  const test_support::ScratchFolder folder;
  const WString base = folder.ProgramFolder();
  Options options(nullptr, base);
  ASSERT_TRUE(options.Write());
  WString text;
  FileHandle(options.optionsPath).ReadAllText(text);
  EXPECT_EQ(text.find(TXT("SERVER")), WString::npos);

  options.server = TXT("127.0.0.1:8123");
  ASSERT_TRUE(options.Write());
  Options read(nullptr, base);
  ASSERT_TRUE(read.Read());
  EXPECT_EQ(read.server, TXT("127.0.0.1:8123"));
  EXPECT_FALSE(read.Differs(options));
}

}  // namespace
