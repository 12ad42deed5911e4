#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "SharedDocuments.h"
#include "server/ClientText.h"
#include "server/SharedRecipe.h"

namespace {

WString Replaced(WString text, WStringView from, WStringView to) {
  const size_t at = text.find(from);
  EXPECT_NE(WString::npos, at) << ToUtf8(from);
  if (at != WString::npos) text.replace(at, from.size(), to);
  return text;
}

// Replaces the stretch from the first `from` through the next `through` with `with`.
WString ReplacedSpan(WString text, WStringView from, WStringView through, WStringView with) {
  const size_t at = text.find(from);
  const size_t end = at == WString::npos ? at : text.find(through, at);
  EXPECT_NE(WString::npos, end) << ToUtf8(from);
  if (end != WString::npos) text.replace(at, end + through.size() - at, with);
  return text;
}

const WString kRecipeFood =
    TXT("<FOOD>\r\n<CATEGORY>Soups</CATEGORY>\r\n<FOODID>3</FOODID>\r\n<FOODNAME>Pea Soup</FOODNAME>\r\n");

}  // namespace

TEST(SharedRecipe, KeepsTheProgramsDocumentButDropsTheUploadersIds) {
  std::string error;
  const auto recipe = ReadSharedRecipe(SharedDocument(), error);
  ASSERT_TRUE(recipe) << error;
  EXPECT_EQ(TXT("Pea Soup"), recipe->name);
  EXPECT_EQ(TXT("Soups"), recipe->category);
  EXPECT_EQ(SharedDocumentWithoutIds(), recipe->document);
}

TEST(SharedRecipe, WritesTagsValuesAndLinesInTheProgramsForm) {
  const WString text =
      TXT("<RECIPELIST>\n<recipes>\n<Recipe lang=\"en\">\n<IngredientList>\n</INGREDIENTLIST>\nstray text\n")
          TXT("<FOOD><FOODID>5</FOODID><FOODNAME>Tea &AMP; toast&quot;</FOODNAME><CAL/></FOOD>\n")
              TXT("</RECIPE>\n</RECIPES>\n</RECIPELIST>");
  std::string error;
  const auto recipe = ReadSharedRecipe(text, error);
  ASSERT_TRUE(recipe) << error;
  EXPECT_EQ(TXT("Tea & toast"), recipe->name);
  EXPECT_EQ(TXT(""), recipe->category);
  EXPECT_EQ(
      TXT("<RECIPELIST>\r\n<RECIPES>\r\n<RECIPE>\r\n<INGREDIENTLIST>\r\n</INGREDIENTLIST>\r\n<FOOD>\r\n")
          TXT("<FOODID>5</FOODID>\r\n<FOODNAME>Tea &amp; toast</FOODNAME>\r\n<CAL/>\r\n</FOOD>\r\n")
              TXT("</RECIPE>\r\n</RECIPES>\r\n</RECIPELIST>\r\n"),
      recipe->document);
}

TEST(SharedRecipe, RefusesEverythingButOneSharedRecipe) {
  const WString doc = SharedDocument();
  const WString recipeElement =
      doc.substr(doc.find(TXT("<RECIPE>")), doc.find(TXT("</RECIPES>")) - doc.find(TXT("<RECIPE>")));
  const std::vector<std::pair<const char*, WString>> cases = {
      {"empty text", WString()},
      {"plain text", TXT("Pea soup with ham")},
      {"another kind of file", Replaced(Replaced(doc, TXT("<RECIPELIST>"), TXT("<INGREDIENTLIST>")),
                                        TXT("</RECIPELIST>"), TXT("</INGREDIENTLIST>"))},
      {"an XML declaration", TXT("<?xml version=\"1.0\"?>\r\n") + doc},
      {"no recipe", TXT("<RECIPELIST>\r\n<RECIPES>\r\n</RECIPES>\r\n</RECIPELIST>\r\n")},
      {"two recipes", Replaced(doc, TXT("</RECIPES>"), recipeElement + TXT("</RECIPES>"))},
      {"a recipe without its FOOD", ReplacedSpan(doc, kRecipeFood, TXT("</FOOD>\r\n"), TXT(""))},
      {"a recipe FOOD without FOODID", Replaced(doc, TXT("<FOODID>3</FOODID>"), TXT("<FOODID/>"))},
      {"a recipe without a name",
       Replaced(doc, TXT("<FOODNAME>Pea Soup</FOODNAME>"), TXT("<FOODNAME> </FOODNAME>"))},
      {"a line naming the uploader's ingredient",
       ReplacedSpan(doc, TXT("<FOOD>\r\n<CATID>"), TXT("</FOOD>\r\n"), TXT("<ID>13</ID>\r\n"))},
      {"an unclosed value", Replaced(doc, TXT("<FOODNAME>Pea Soup</FOODNAME>"), TXT("<FOODNAME>Pea Soup"))},
      {"a mismatched end tag", Replaced(doc, TXT("</INGREDIENTLIST>"), TXT("</INGREDIENTS>"))},
      {"a cut-off end", doc.substr(0, doc.size() - 3)},
      {"a view element",
       Replaced(doc, TXT("<RECIPES>"), TXT("<VIEW>\r\n<SORT>1</SORT>\r\n</VIEW>\r\n<RECIPES>"))},
      {"a container as a value",
       Replaced(doc, TXT("<SERVES>4</SERVES>"), TXT("<CUSTOM>\r\n<B>x</B>\r\n</CUSTOM>"))},
      {"a tag that is no element name",
       Replaced(doc, TXT("<SERVES>4</SERVES>"), TXT("<SER-VES>4</SER-VES>"))},
      {"a FOOD inside a FOOD", Replaced(doc, TXT("<FOODNAME>Salt</FOODNAME>"), kRecipeFood + TXT("</FOOD>"))},
      {"more after the root", doc + TXT("<RECIPELIST>\r\n</RECIPELIST>\r\n")},
  };
  for (const auto& [what, text] : cases) {
    std::string error;
    EXPECT_FALSE(ReadSharedRecipe(text, error)) << what;
    EXPECT_FALSE(error.empty()) << what;
  }
}

TEST(ClientText, UploadFieldIsDecodedToTheEndOfTheBody) {
  EXPECT_EQ("<A> b&c", UploadedRecipeField("recipe=%3CA%3E+b&c"));
  EXPECT_EQ("abc", UploadedRecipeField(std::string("recipe=abc\0\0", 12)));
  EXPECT_EQ("%G1 %4", UploadedRecipeField("recipe=%G1+%4"));
  EXPECT_EQ(std::string("a\0b", 3), UploadedRecipeField("recipe=a%00b"));
  EXPECT_FALSE(UploadedRecipeField("name=x&recipe=abc"));
  EXPECT_FALSE(UploadedRecipeField(""));
}

TEST(ClientText, DocumentsArriveAsEightBitOrUtf16Text) {
  const WString text = TXT("<A>cr\u00E8me \u20AC</A>");
  EXPECT_EQ(TXT("<A>cr\u00E8me</A>"), DocumentText("<A>cr\xE8me</A>"));
  EXPECT_EQ(text, DocumentText(Utf16Bytes(text)));
  EXPECT_EQ(text, DocumentText("\xFF\xFE" + Utf16Bytes(text) + std::string(2, '\0')));
  EXPECT_EQ(TXT("<A/>"), DocumentText(std::string("<A/>\0", 5)));
}

TEST(ClientText, QueriesAreUtf8OrEightBitAndRepliesEightBit) {
  EXPECT_EQ(TXT("Cr\u00E8me"), QueryText("Cr\xC3\xA8me"));
  EXPECT_EQ(TXT("Cr\u00E8me"), QueryText("Cr\xE8me"));
  EXPECT_EQ("Cr\xE8me ?", ReplyBytes(TXT("Cr\u00E8me \u20AC")));
  EXPECT_EQ(TXT("cr\u00E8me \u00E9clair \u0434"), FoldedText(TXT("CR\u00C8ME \u00C9clair \u0414")));
}

TEST(ClientText, TheProgramsFormEncodingReadsBack) {
  TestRecipe dish;
  dish.name = TXT("Cr\u00E8me br\u00FBl\u00E9e 100% \"best\"");
  const std::optional<std::string> field = UploadedRecipeField("recipe=" + FormEncode(SharedDocument(dish)));
  ASSERT_TRUE(field);
  std::string error;
  const auto recipe = ReadSharedRecipe(DocumentText(*field), error);
  ASSERT_TRUE(recipe) << error;
  EXPECT_EQ(dish.name, recipe->name);
  EXPECT_EQ(SharedDocumentWithoutIds(dish), recipe->document);
}
