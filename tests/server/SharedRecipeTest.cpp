#include <gtest/gtest.h>

#include <utility>
#include <tuple>
#include <vector>

#include "SharedDocuments.h"
#include "server/ClientText.h"
#include "server/SharedRecipe.h"

namespace {

// The text with the first `from` replaced by `to`; with `through`, the stretch from `from` through the
// next `through` is replaced.
WString Replaced(WString text, WStringView from, WStringView to, WStringView through = {}) {
  const size_t at = text.find(from);
  const size_t end = at == WString::npos || through.empty() ? at + from.size() : text.find(through, at);
  EXPECT_TRUE(at != WString::npos && end != WString::npos) << ToUtf8(from);
  if (at != WString::npos && end != WString::npos) text.replace(at, end + through.size() - at, to);
  return text;
}

const WString kRecipeFood =
    TXT("<FOOD>\r\n<CATEGORY>Soups</CATEGORY>\r\n<FOODID>3</FOODID>\r\n<FOODNAME>Pea Soup</FOODNAME>\r\n");

}  // namespace

TEST(SharedRecipe, KeepsTheNameCategoryAndDocumentInTheProgramsFormWithoutTheUploadersIds) {
  const auto expectRead = [](const WString& text, const WString& name, const WString& category,
                             const WString& document) {
    std::string error;
    const auto recipe = ReadSharedRecipe(text, error);
    ASSERT_TRUE(recipe) << error << ToUtf8(text);
    EXPECT_EQ(std::tie(name, category, document), std::tie(recipe->name, recipe->category, recipe->document));
  };
  // The program's documents, as written and as they arrive form-encoded.
  for (const TestRecipe& sent :
       {TestRecipe(), TestRecipe{TXT("Cr\u00E8me br\u00FBl\u00E9e 100% \"best\"")}}) {
    const std::optional<std::string> field =
        UploadedRecipeField("recipe=" + FormEncode(SharedDocument(sent)));
    ASSERT_TRUE(field);
    expectRead(SharedDocument(sent), sent.name, TXT("Soups"), SharedDocumentWithoutIds(sent));
    expectRead(DocumentText(*field), sent.name, TXT("Soups"), SharedDocumentWithoutIds(sent));
  }
  // Tags in any case, attributes, stray text, entities and empty values are written in the program's form.
  expectRead(
      TXT("<RECIPELIST>\n<recipes>\n<Recipe lang=\"en\">\n<IngredientList>\n</INGREDIENTLIST>\nstray text\n")
          TXT("<FOOD><FOODID>5</FOODID><FOODNAME>Tea &AMP; toast&quot;</FOODNAME><CAL/></FOOD>\n")
              TXT("</RECIPE>\n</RECIPES>\n</RECIPELIST>"),
      TXT("Tea & toast"), TXT(""),
      TXT("<RECIPELIST>\r\n<RECIPES>\r\n<RECIPE>\r\n<INGREDIENTLIST>\r\n</INGREDIENTLIST>\r\n<FOOD>\r\n")
          TXT("<FOODID>5</FOODID>\r\n<FOODNAME>Tea &amp; toast</FOODNAME>\r\n<CAL/>\r\n</FOOD>\r\n")
              TXT("</RECIPE>\r\n</RECIPES>\r\n</RECIPELIST>\r\n"));
}

TEST(SharedRecipe, RefusesEverythingButOneSharedRecipe) {
  const WString doc = SharedDocument();
  const WString recipeElement =
      doc.substr(doc.find(TXT("<RECIPE>")), doc.find(TXT("</RECIPES>")) - doc.find(TXT("<RECIPE>")));
  const WString serves = TXT("<SERVES>4</SERVES>"), name = TXT("<FOODNAME>Pea Soup</FOODNAME>");
  const std::pair<const char*, WString> cases[] = {
      {"empty text", WString()},
      {"an XML declaration", TXT("<?xml version=\"1.0\"?>\r\n") + doc},
      {"no recipe", TXT("<RECIPELIST>\r\n<RECIPES>\r\n</RECIPES>\r\n</RECIPELIST>\r\n")},
      {"two recipes", Replaced(doc, TXT("</RECIPES>"), recipeElement + TXT("</RECIPES>"))},
      {"a recipe without its FOOD", Replaced(doc, kRecipeFood, TXT(""), TXT("</FOOD>\r\n"))},
      {"a recipe FOOD without FOODID", Replaced(doc, TXT("<FOODID>3</FOODID>"), TXT("<FOODID/>"))},
      {"a recipe without a name", Replaced(doc, name, TXT("<FOODNAME> </FOODNAME>"))},
      {"a line naming the uploader's ingredient",
       Replaced(doc, TXT("<FOOD>\r\n<CATID>"), TXT("<ID>13</ID>\r\n"), TXT("</FOOD>\r\n"))},
      {"an unclosed value", Replaced(doc, name, TXT("<FOODNAME>Pea Soup"))},
      {"a mismatched end tag", Replaced(doc, TXT("</INGREDIENTLIST>"), TXT("</INGREDIENTS>"))},
      {"a cut-off end", doc.substr(0, doc.size() - 3)},
      {"a view element",
       Replaced(doc, TXT("<RECIPES>"), TXT("<VIEW>\r\n<SORT>1</SORT>\r\n</VIEW>\r\n<RECIPES>"))},
      {"a tag that is no element name", Replaced(doc, serves, TXT("<SER-VES>4</SER-VES>"))},
      {"a FOOD inside a FOOD", Replaced(doc, TXT("<FOODNAME>Salt</FOODNAME>"), kRecipeFood + TXT("</FOOD>"))},
      {"more after the root", doc + TXT("<RECIPELIST>\r\n</RECIPELIST>\r\n")},
  };
  for (const auto& [what, text] : cases) {
    std::string error;
    EXPECT_FALSE(ReadSharedRecipe(text, error)) << what;
    EXPECT_FALSE(error.empty()) << what;
  }
}

TEST(ClientText, DecodesUploadsQueriesAndDocumentsAndWritesRepliesAsBytes) {
  // The upload field runs to the end of the body, without a terminating zero.
  EXPECT_EQ("<A> b&c", UploadedRecipeField("recipe=%3CA%3E+b&c"));
  EXPECT_EQ("abc", UploadedRecipeField(std::string("recipe=abc\0\0", 12)));
  EXPECT_EQ("%G1 %4", UploadedRecipeField("recipe=%G1+%4"));
  EXPECT_EQ(std::string("a\0b", 3), UploadedRecipeField("recipe=a%00b"));
  EXPECT_FALSE(UploadedRecipeField("name=x&recipe=abc"));
  EXPECT_FALSE(UploadedRecipeField(""));
  // Documents arrive as 8-bit or UTF-16 text.
  const WString text = TXT("<A>cr\u00E8me \u20AC</A>");
  EXPECT_EQ(TXT("<A>cr\u00E8me</A>"), DocumentText("<A>cr\xE8me</A>"));
  EXPECT_EQ(text, DocumentText(Utf16Bytes(text)));
  EXPECT_EQ(text, DocumentText("\xFF\xFE" + Utf16Bytes(text) + std::string(2, '\0')));
  EXPECT_EQ(TXT("<A/>"), DocumentText(std::string("<A/>\0", 5)));
  // Queries are UTF-8 or 8-bit; replies are 8-bit.
  EXPECT_EQ(TXT("Cr\u00E8me"), QueryText("Cr\xC3\xA8me"));
  EXPECT_EQ(TXT("Cr\u00E8me"), QueryText("Cr\xE8me"));
  EXPECT_EQ("Cr\xE8me ?", ReplyBytes(TXT("Cr\u00E8me \u20AC")));
  EXPECT_EQ(TXT("cr\u00E8me \u00E9clair \u0434"), FoldedText(TXT("CR\u00C8ME \u00C9clair \u0414")));
  // Folding lets a search find what a reader takes for the same letters: ß as ss, the final sigma, a
  // decomposed è, letters beyond 16 bits (Deseret), scripts that fold to capitals (Cherokee); the
  // accent of a Greek capital still counts.
  const std::pair<const WChar*, const WChar*> alike[] = {
      {TXT("Stra\u00DFe bread"), TXT("STRASSE")},
      {TXT("\u039F\u03B4\u03C5\u03C3\u03C3\u03B5\u03CD\u03C2 stew"), TXT("\u03C3\u03B5\u038E\u03A3")},
      {TXT("Cre\u0300me caramel"), TXT("CR\u00C8ME")},
      {TXT("\U00010428\U0001042F pie"), TXT("\U00010400\U00010407")},
      {TXT("\u13A0\u13A1 cake"), TXT("\uAB70\uAB71")}};
  for (const auto& [text, part] : alike)
    EXPECT_NE(WString::npos, FoldedText(text).find(FoldedText(part))) << ToUtf8(text);
  EXPECT_EQ(WString::npos, FoldedText(TXT("\u03A9\u03BC\u03AD\u03B3\u03B1"))
                               .find(FoldedText(TXT("\u03A9\u039C\u0395\u0393\u0391"))));
}
