// The text pieces the readers share: times, yields, addresses, HTML text and step numbers.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "webrecipe/RecipeText.h"

namespace {

TEST(RecipeText, DurationsInMinutes) {
  const struct {
    const char* text;
    int32_t minutes;
  } cases[] = {
      // clang-format off
      {"PT1H30M", 90}, {"PT0.5H", 30}, {"P0DT45M", 45}, {"P1DT2H", 1560}, {"PT45S", 1}, {"PT0,5H", 30},
      {"pt15m", 15}, {"PT", -1}, {"PT1X", -1}, {"PTM", -1}, {"PT10", -1}, {"P1W", 10080}, {" PT10M ", 10},
      {"", -1}, {"soon", -1}, {"1 2", -1}, {"1½ hours", 90}, {"30", 30}, {"1d 2h", 1560}, {"10-15 minutes", 10},
      {"PT99999999H", 9999 * 60 + 59},
      {"Prep Time 15 minutes", 15}, {"P", -1},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(c.minutes, DurationMinutes(c.text)) << c.text;
}

TEST(RecipeText, ServesFromYieldTexts) {
  const struct {
    const char* text;
    int32_t serves;
  } cases[] = {
      // clang-format off
      {"", 0}, {"4", 4}, {"Serves: 8 to 10", 8}, {"Serves 4-6", 4}, {"1000000 bites", 100000}, {"serves4", 0},
      {"Makes 2 dozen", 24}, {"someone's dinner", 0}, {"Makes one 9-inch pie", 1},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(c.serves, ServesFromYield(c.text)) << c.text;
}

// What a yield names: a bare number, a count of portions, or a batch of no portions.
TEST(RecipeText, YieldKinds) {
  const struct {
    const char* text;
    int32_t count;
    YieldKind kind;
  } cases[] = {
      {"", 0, YieldKind::kNone},
      {"a big pot", 0, YieldKind::kNone},
      {"4", 4, YieldKind::kCount},
      {"Makes 12", 12, YieldKind::kCount},
      {"Serves 4-6", 4, YieldKind::kPortions},
      {"Servings: 8", 8, YieldKind::kPortions},
      {"24 cookies", 24, YieldKind::kPortions},
      {"Makes 2 dozen", 24, YieldKind::kPortions},
      {"12 large muffins", 12, YieldKind::kPortions},
      {"6 tostadas", 6, YieldKind::kPortions},
      {"4 servings (1 loaf)", 4, YieldKind::kPortions},
      {"1 loaf", 1, YieldKind::kBatch},
      {"2 loaves", 2, YieldKind::kBatch},
      {"1 cake", 1, YieldKind::kBatch},
      {"2 cups", 2, YieldKind::kBatch},
      {"1 1/2 quarts", 2, YieldKind::kBatch},
      {"Makes one 9-inch pie", 1, YieldKind::kBatch},
      {"1 (9x13) pan", 1, YieldKind::kBatch},
      {"500 g", 500, YieldKind::kBatch},
      {"1(loaf", 1, YieldKind::kCount},  // a note never closed counts nothing, and ends
  };
  for (const auto& c : cases) {
    const YieldCount yield = ReadYield(c.text);
    EXPECT_EQ(std::tuple(c.count, c.kind), std::tuple(yield.count, yield.kind)) << c.text;
  }
}

// Calories as pages state them, in kilocalories; 0 without a number.
TEST(RecipeText, StatedCalories) {
  const std::pair<const char*, double> cases[] = {
      {"290 kcal", 290},
      {"290", 290},
      {"Calories: 1,200kcal", 1200},
      {"250.5 calories", 250.5},
      {"1046 kJ", 250},
      {"none", 0},
      {"", 0},
  };
  for (const auto& [text, calories] : cases) EXPECT_NEAR(calories, CaloriesFromText(text), 0.01) << text;
}

// An empty scheme is no scheme; without a page address, or one without a scheme, a reference
// stays as it is.
TEST(RecipeText, AddressesResolveAgainstThePage) {
  const char* const base = "https://example.com/recipes/soup/index.html?x=1#top";
  const struct {
    const char* reference;
    const char* resolved;
  } cases[] = {
      {"https://cdn.example.net/a.jpg", "https://cdn.example.net/a.jpg"},
      {"//cdn.example.net/a.jpg", "https://cdn.example.net/a.jpg"},
      {"/images/a.jpg", "https://example.com/images/a.jpg"},
      {"a.jpg", "https://example.com/recipes/soup/a.jpg"},
      {"../../../../a.jpg", "https://example.com/a.jpg"},
      {"img/../b/./a.jpg?size=2", "https://example.com/recipes/soup/b/a.jpg?size=2"},
      {"?y=2", "https://example.com/recipes/soup/index.html?y=2"},
      {"#photo", "https://example.com/recipes/soup/index.html?x=1#photo"},
      {"  a.jpg  ", "https://example.com/recipes/soup/a.jpg"},
      {"", ""},
      {"data:image/png;base64,AAAA", "data:image/png;base64,AAAA"},
      {":x.jpg", "https://example.com/recipes/soup/:x.jpg"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.resolved, ResolveUrl(base, c.reference)) << c.reference;
  EXPECT_EQ("http://example.com/a.jpg", ResolveUrl("http://example.com", "a.jpg"));
  EXPECT_EQ("/a.jpg", ResolveUrl("", "/a.jpg"));
  EXPECT_EQ("a.jpg", ResolveUrl("example.com/x", "a.jpg"));
}

TEST(RecipeText, HtmlTextDecodesAndCollapses) {
  const struct {
    const char* html;
    const char* text;
  } cases[] = {
      {"&#8217;&#X2019;", "’’"},
      {"&#150; &#0; &#xD800; &#1114112;", "– \xEF\xBF\xBD \xEF\xBF\xBD \xEF\xBF\xBD"},
      {"&amp &lt &nbsp;x", "& < x"},
      {"&unknown; &frac12 &", "&unknown; &frac12 &"},
      {"a&nbsp;&nbsp;b\t\n c\xE2\x80\x89"
       "d\xE2\x80\x8B"
       "e",
       "a b c de"},
      {"<p>Mix <b>well</b>.</p><p>Bake</p>", "Mix well. Bake"},
      {"Wh<em>isk</em> <!-- note --> it", "Whisk it"},
      {"<a href=\"x>y\">link</a> 3 < 5 <3", "link 3 < 5 <3"},
      {"x<script>var a = '<p>';</script>y<style>p{}</style>z", "x y z"},
      {"  spaced   out  ", "spaced out"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, HtmlText(c.html)) << c.html;
}

TEST(RecipeText, HtmlLinesBreakAtBlocksAndLineBreaks) {
  EXPECT_EQ((std::vector<std::string>{"Mix.", "Bake at 350°F.", "Serve"}),
            HtmlLines("<ol><li>Mix.</li><li>Bake at 350&deg;F.</li></ol>Serve"));
  EXPECT_EQ((std::vector<std::string>{"One", "two", "three"}), HtmlLines("One<br>two\r\n\r\n  three \n"));
  EXPECT_EQ((std::vector<std::string>{"a b"}), HtmlLines("a <span>b</span>"));
  EXPECT_TRUE(HtmlLines(" <br/> &nbsp; ").empty());
}

TEST(RecipeText, StepNumbersTheSourceWroteAreDropped) {
  const struct {
    const char* step;
    const char* text;
  } cases[] = {
      // clang-format off
      {"12) Bake", "Bake"}, {"1. Mix the flour.", "Mix the flour."}, {"Step 2: Stir", "Stir"},
      {"step 5. Cool", "Cool"}, {"  Plain  ", "Plain"}, {"Stepping back", "Stepping back"},
      {"2 eggs are beaten", "2 eggs are beaten"}, {"1.5 cups of water go in", "1.5 cups of water go in"},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, WithoutStepNumber(c.step)) << c.step;
}

// UTF-8 up to U+10FFFF stays as it is; anything else (overlong forms, surrogates, cut-off
// sequences) is Windows-1252, as old pages and MealMaster files are.
TEST(RecipeText, BytesThatAreNoUtf8ReadAsWindows1252) {
  const struct {
    const char* bytes;
    const char* utf8;
  } cases[] = {
      {"caf\xC3\xA9", "caf\xC3\xA9"},
      {"\xEF\xBB\xBFtea", "tea"},
      {"caf\xE9 \x96 \x93hi\x94 \xBD", "caf\xC3\xA9 \xE2\x80\x93 \xE2\x80\x9Chi\xE2\x80\x9D \xC2\xBD"},
      {"\xC0\x80", "\xC3\x80\xE2\x82\xAC"},
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
      {"\xE2\x82", "\xC3\xA2\xE2\x80\x9A"},
      {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.utf8, ValidUtf8(c.bytes)) << c.bytes;
}

// Bytes 0x80..0x9F of Windows-1252 (spot checks of the table), the five it leaves undefined standing
// for themselves.
TEST(RecipeText, Windows1252HighControls) {
  // An ASCII byte first, so that no prefix of the text reads as UTF-8 by chance.
  EXPECT_EQ("x\u20AC\u0081\u008D\u008F\u0090\u009D\u0178", ValidUtf8("x\x80\x81\x8D\x8F\x90\x9D\x9F"));
}

// Named references as HTML defines them, in their case (spot checks of the table), and numeric ones
// across UTF-8's lengths, up to the last code point.
TEST(RecipeText, NamedReferences) {
  EXPECT_EQ("&\u00BD\u2153\u2019\u00C4\u00E4\u00FF",
            DecodeEntities("&amp;&half;&frac13;&rsquo;&Auml;&auml;&yuml;"));
  EXPECT_EQ("A\u00E9\u20AC\U0001F600\U0010FFFF", DecodeEntities("&#65;&#xE9;&#8364;&#x1F600;&#x10FFFF;"));
}

}  // namespace
