// Recipe pages as sites publish them: JSON-LD in its shapes, microdata, broken blocks, no recipe.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "webrecipe/RecipeText.h"
#include "webrecipe/WebRecipe.h"

namespace {

std::string ReadPage(const char* name) {
  std::ifstream in(std::string(MIREPAN_PAGES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string InScript(const std::string& json) {
  return "<html><head><script type=\"application/ld+json\">" + json + "</script></head><body></body></html>";
}

// The page of one JSON-LD block holding the recipe members given.
ImportedRecipe RecipeWith(const std::string& members, const char* base = "https://ex.com/r/pie/") {
  return ReadRecipePage(InScript(R"({"@context":"https://schema.org","@type":"Recipe","name":"Pie")" +
                                 std::string(members.empty() ? "" : ",") + members + "}"),
                        base);
}

// The recipe's fields but instructions and lines, split by "|": name, serves, preparation and
// cooking time as h:mm, category and picture.
std::string Header(const ImportedRecipe& r) {
  const auto time = [](int32_t hours, int32_t minutes) {
    return std::to_string(hours) + (minutes < 10 ? ":0" : ":") + std::to_string(minutes);
  };
  return ToUtf8(r.name) + "|" + std::to_string(r.serves) + "|" + time(r.prepHours, r.prepMinutes) + "|" +
         time(r.cookHours, r.cookMinutes) + "|" + ToUtf8(r.category) + "|" + ToUtf8(r.pictureUrl);
}

// Each row: the members of a page's one Recipe and what one of the recipe's fields reads.
struct ShapeCase {
  const char* members;
  std::string field;
};

template <typename Field, size_t N>
void ExpectShapes(const ShapeCase (&cases)[N], Field field) {
  for (const ShapeCase& c : cases) EXPECT_EQ(c.field, field(RecipeWith(c.members))) << c.members;
}

// The original texts of the recipe's lines, split by "|".
std::string Lines(const ImportedRecipe& recipe) {
  std::string texts;
  for (const ImportedLine& line : recipe.lines) texts += (texts.empty() ? "" : "|") + ToUtf8(line.original);
  return texts;
}

TEST(PageReader, GraphWithWebPageOrganizationAndRecipe) {
  const ImportedRecipe recipe =
      ReadRecipePage(ReadPage("graph.html"), "https://kitchen.example/chicken-rice-soup/");
  ASSERT_EQ(RecipeImportError::kNone, recipe.error);
  EXPECT_EQ(
      "Weeknight Chicken & Rice Soup|6|0:15|0:45|Soup|"
      "https://kitchen.example/wp-content/uploads/2023/01/soup.jpg",
      Header(recipe));
  EXPECT_EQ(
      "Soup\r\n"
      "1. Heat the oil in a large pot over medium heat.\r\n"
      "2. Add the onion & celery; cook 5 minutes.\r\n"
      "3. Add the chicken and broth, bring to a boil, then simmer 30 minutes.\r\n"
      "To finish\r\n"
      "4. Stir in the rice and cook until tender, about 15 minutes. Season to taste.",
      ToUtf8(recipe.instructions));
  ASSERT_EQ(7u, recipe.lines.size());
  EXPECT_EQ("1½ pounds boneless, skinless chicken thighs", ToUtf8(recipe.lines[3].original));
  EXPECT_EQ(1.5, recipe.lines[3].amount);
  EXPECT_EQ(kUnitPound, recipe.lines[3].unit);
  EXPECT_EQ("boneless, skinless chicken thighs", ToUtf8(recipe.lines[3].name));
  EXPECT_EQ(0.75, recipe.lines[5].amount);
  EXPECT_EQ("Kosher salt and freshly ground black pepper", ToUtf8(recipe.lines[6].name));
}

TEST(PageReader, MicrodataWhenThereIsNoJsonLd) {
  const ImportedRecipe recipe =
      ReadRecipePage(ReadPage("microdata.html"), "https://family.example/recipes/bread/");
  ASSERT_EQ(RecipeImportError::kNone, recipe.error);
  // The recipe's name, not the author's or the page's.
  EXPECT_EQ(
      "Old-Fashioned Banana Bread|1|0:15|1:00|Quick Breads|"
      "https://family.example/recipes/photos/banana-bread.jpg",
      Header(recipe));
  EXPECT_EQ("3 ripe bananas, mashed|1/3 cup melted butter|¾ cup sugar|1 1/2 cups all-purpose flour",
            Lines(recipe));
  EXPECT_EQ(0.75, recipe.lines[2].amount);
  EXPECT_EQ("sugar", ToUtf8(recipe.lines[2].name));
  EXPECT_EQ(
      "1. Preheat the oven to 350°F (175°C) and butter a loaf pan.\r\n"
      "2. Mix everything; bake 1 hour.",
      ToUtf8(recipe.instructions));
}

// Microdata properties read from attributes, element text, and items of their own.
TEST(PageReader, MicrodataValues) {
  const ImportedRecipe recipe = ReadRecipePage(
      R"(<div itemscope itemtype="https://schema.org/Recipe"><meta itemprop="name" content="Tea &amp; Toast">
      <span itemprop="name">Second name</span><link itemprop="image" href="/t.jpg">
      <span itemprop="recipeYield">Serves 2</span><span itemprop="totalTime">25 mins</span>
      <div itemprop="recipeInstructions"><p>Toast the bread.</p><p>Brew the tea.</p></div>
      <p>1 cup <span itemprop="recipeIngredient">1 slice bread</span><br>
      <span itemprop="recipeIngredient">1 tea bag</span></div>
      <span itemprop="recipeIngredient">after the recipe</span>)",
      "http://tea.example/a/b");
  EXPECT_EQ("Tea & Toast|2|0:00|0:25||http://tea.example/t.jpg", Header(recipe));
  EXPECT_EQ("1. Toast the bread.\r\n2. Brew the tea.", ToUtf8(recipe.instructions));
  EXPECT_EQ("1 slice bread|1 tea bag", Lines(recipe));
}

// The script element's type may be quoted either way, in capitals, with a charset, among other attributes.
TEST(PageReader, ScriptTagForms) {
  const std::string json = R"({"@type":"Recipe","name":"Soup"})";
  for (const char* open : {"<script type=\"application/ld+json\">", "<script type='application/ld+json'>",
                           "<SCRIPT TYPE=\"APPLICATION/LD+JSON\">",
                           "<script class=\"yoast-schema-graph\" type=application/ld+json data-x=\"1\">",
                           "<script type=\"application/ld+json; charset=utf-8\" id=\"r\">",
                           "<script  nonce=\"a>b\"  type = \"application/ld+json\" >"}) {
    const ImportedRecipe recipe =
        ReadRecipePage(std::string("<head>") + open + json + "</SCRIPT></head>", "");
    EXPECT_EQ("Soup", ToUtf8(recipe.name)) << open;
  }
  for (const char* open :
       {"<script type=\"application/json\">", "<script>", "<div type=\"application/ld+json\">"}) {
    const ImportedRecipe recipe = ReadRecipePage(std::string(open) + json + "</script>", "");
    EXPECT_EQ(RecipeImportError::kNoRecipe, recipe.error) << open;
  }
}

// Where the Recipe stands in the document.
TEST(PageReader, RecipeShapesInJsonLd) {
  const char* const documents[] = {
      R"({"@context":"https://schema.org","@type":"Recipe","name":"Stew"})",
      R"([{"@type":"Organization","name":"Site"},{"@type":"Recipe","name":"Stew"}])",
      R"({"@context":"https://schema.org","@graph":[{"@type":"WebPage","name":"Page"},{"@type":"Recipe","name":"Stew"}]})",
      R"({"@type":["Recipe","NewsArticle"],"name":"Stew"})",
      R"({"@type":["NewsArticle","Recipe"],"name":"Stew"})",
      R"({"@type":"http://schema.org/Recipe","name":"Stew"})",
      R"({"@type":"schema:Recipe","name":"Stew"})",
      R"({"@type":"WebPage","name":"Page","mainEntity":{"@type":"Recipe","name":"Stew"}})",
      R"({"@type":"NewsArticle","headline":"News","mainEntityOfPage":{"@type":"WebPage","mainEntity":{"@type":"Recipe","name":"Stew"}}})",
      R"({"@type":"Recipe","headline":"Stew","mainEntityOfPage":"https://ex.com/stew"})",
      R"({"@type":"ItemList","itemListElement":[{"@type":"ListItem","item":{"@type":"Recipe","name":"Stew"}}]})",
      // a recipe nearer the top wins over one deeper down
      R"({"@graph":[{"@type":"WebPage","hasPart":{"@type":"Recipe","name":"Deep"}},{"@type":"Recipe","name":"Stew"}]})",
  };
  for (const char* document : documents) {
    const ImportedRecipe recipe = ReadRecipePage(InScript(document), "");
    EXPECT_EQ(RecipeImportError::kNone, recipe.error) << document;
    EXPECT_EQ("Stew", ToUtf8(recipe.name)) << document;
  }
  EXPECT_EQ(RecipeImportError::kNoRecipe, ReadRecipePage(InScript(R"({"@type":"Recipes"})"), "").error);
  EXPECT_EQ(RecipeImportError::kNoRecipe, ReadRecipePage(InScript(R"({"type":"Recipe"})"), "").error);
}

TEST(PageReader, InstructionShapes) {
  const struct {
    const char* value;
    const char* text;
  } cases[] = {
      {R"("Mix.\nBake.\n\n")", "1. Mix.\r\n2. Bake."},
      {R"("<ol><li>Mix.</li><li>Bake &amp; cool.</li></ol>")", "1. Mix.\r\n2. Bake & cool."},
      {R"(["1. Mix.", "2. Bake.", "  "])", "1. Mix.\r\n2. Bake."},
      {R"(["Step 1: Mix the <b>flour</b>\n and salt."])", "1. Mix the flour and salt."},
      {R"([{"@type":"HowToStep","text":"Mix."},{"@type":"HowToStep","name":"Bake."}])",
       "1. Mix.\r\n2. Bake."},
      {R"([{"@type":"HowToStep","name":"Mix","text":"Mix it all."}])", "1. Mix it all."},
      {R"([{"@type":"HowToSection","name":"Dough","itemListElement":[{"@type":"HowToStep","text":"Knead."}]},
          {"@type":"HowToSection","name":"Sauce","itemListElement":["Stir.", {"@type":"HowToStep","text":"Pour."}]}])",
       "Dough\r\n1. Knead.\r\nSauce\r\n2. Stir.\r\n3. Pour."},
      {R"([{"@type":"HowToSection","itemListElement":[{"@type":"HowToStep","text":"Knead."}]}])",
       "1. Knead."},
      {R"({"@type":"ItemList","name":"Method","itemListElement":[{"@type":"HowToStep","text":"Knead."}]})",
       "1. Knead."},
      {R"([{"@type":"HowToStep","itemListElement":[{"@type":"HowToDirection","text":"Chop."}]}])",
       "1. Chop."},
      {R"([])", ""},
      {R"(42)", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.text, ToUtf8(RecipeWith(std::string("\"recipeInstructions\":") + c.value).instructions))
        << c.value;
}

TEST(PageReader, PictureShapes) {
  const ShapeCase cases[] = {
      {R"("image":"pie.jpg")", "https://ex.com/r/pie/pie.jpg"},
      {R"("image":["", "/img/1.jpg", "/img/2.jpg"])", "https://ex.com/img/1.jpg"},
      {R"("image":{"@type":"ImageObject","url":"https://cdn.ex.com/p.jpg","width":800})",
       "https://cdn.ex.com/p.jpg"},
      {R"("image":[{"@type":"ImageObject","contentUrl":"//cdn.ex.com/c.jpg"}])", "https://cdn.ex.com/c.jpg"},
      {R"("image":{"@type":"ImageObject","url":["a.jpg","b.jpg"]})", "https://ex.com/r/pie/a.jpg"},
      {R"("image":"https://ex.com/p.jpg?w=1&amp;h=2")", "https://ex.com/p.jpg?w=1&h=2"},
      {R"("thumbnailUrl":"t.jpg")", "https://ex.com/r/pie/t.jpg"},
      {R"("image":{"@type":"ImageObject"})", ""},
      {"", ""},
  };
  ExpectShapes(cases, [](const ImportedRecipe& r) { return ToUtf8(r.pictureUrl); });
}

// The first whole number of the yield, 1 without one; prepTime and cookTime give the times, and
// totalTime only when the page gives neither.
TEST(PageReader, YieldShapes) {
  const ShapeCase cases[] = {
      {R"("recipeYield":"6")", "Pie|6|0:00|0:00||"},
      {R"("recipeYield":6)", "Pie|6|0:00|0:00||"},
      {R"("recipeYield":4.0)", "Pie|4|0:00|0:00||"},
      {R"("recipeYield":["8","8 servings"])", "Pie|8|0:00|0:00||"},
      {R"("recipeYield":["", "Serves 3"])", "Pie|3|0:00|0:00||"},
      {R"("recipeYield":"Serves 4-6")", "Pie|4|0:00|0:00||"},
      {R"("recipeYield":"Makes 12 cookies")", "Pie|12|0:00|0:00||"},
      {R"("yield":"5 portions")", "Pie|5|0:00|0:00||"},
      {R"("recipeYield":[])", "Pie|1|0:00|0:00||"},
      {R"("recipeYield":0)", "Pie|1|0:00|0:00||"},
      {R"("recipeYield":"a crowd")", "Pie|1|0:00|0:00||"},
      {R"("recipeYield":[{"value":4}])", "Pie|1|0:00|0:00||"},
      {"", "Pie|1|0:00|0:00||"},
      {R"("prepTime":"PT20M","cookTime":"PT1H30M","totalTime":"PT2H")", "Pie|1|0:20|1:30||"},
      {R"("prepTime":"PT20M","totalTime":"PT2H")", "Pie|1|0:20|0:00||"},
      {R"("cookTime":"P0DT45M","totalTime":"PT2H")", "Pie|1|0:00|0:45||"},
      {R"("totalTime":"PT2H10M")", "Pie|1|0:00|2:10||"},
      {R"("prepTime":"PT90M","cookTime":"whenever")", "Pie|1|1:30|0:00||"},
      {R"("prepTime":["PT5M"],"cookTime":{"@value":"PT0.5H"})", "Pie|1|0:05|0:30||"},
  };
  ExpectShapes(cases, Header);
}

TEST(PageReader, CategoryAndNameShapes) {
  const ShapeCase cases[] = {
      {R"("recipeCategory":"Dessert")", "Dessert"},
      {R"("recipeCategory":"Dessert, Snack")", "Dessert"},
      {R"("recipeCategory":["", "Main Course", "Dinner"])", "Main Course"},
      {R"("recipeCategory":"Soups &amp; Stews")", "Soups & Stews"},
      {"", ""},
  };
  ExpectShapes(cases, [](const ImportedRecipe& r) { return ToUtf8(r.category); });
  EXPECT_EQ(
      "Grandma’s “Best” Pie",
      ToUtf8(ReadRecipePage(InScript(R"({"@type":"Recipe","name":"Grandma&#8217;s <em>&ldquo;Best&rdquo;</em>
            Pie"})"),
                            "")
                 .name));
}

TEST(PageReader, IngredientShapes) {
  const ShapeCase cases[] = {
      {R"("recipeIngredient":["1 cup flour", " ", "2&nbsp;eggs"])", "1 cup flour|2 eggs"},
      {R"("ingredients":"1 cup flour\n2 eggs")", "1 cup flour|2 eggs"},
      {R"("recipeIngredient":["1 cup flour"],"ingredients":["2 eggs"])", "1 cup flour"},
      {R"("recipeIngredient":[{"@type":"HowToSupply","name":"1 cup flour"}])", "1 cup flour"},
  };
  ExpectShapes(cases, Lines);
}

// A block that does not parse leaves the next one to be read.
TEST(PageReader, BrokenBlocksAreSkipped) {
  const std::string good = R"(<script type="application/ld+json">{"@type":"Recipe","name":"Good"}</script>)";
  for (const char* bad :
       {R"({"@type":"Recipe","name":"Bad",})", R"({"@type":"Recipe", "name": )", "<!-- -->", "",
        "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[["}) {
    const std::string page = std::string("<script type=\"application/ld+json\">") + bad + "</script>" + good;
    EXPECT_EQ("Good", ToUtf8(ReadRecipePage(page, "").name)) << bad;
  }
  // Brackets inside strings, after an escaped quote too, are no nesting.
  EXPECT_EQ("Pie \" " + std::string(500, '['),
            ToUtf8(ReadRecipePage(
                       InScript(R"({"@type":"Recipe","name":"Pie \" )" + std::string(500, '[') + "\"}"), "")
                       .name));
  std::string deep(5000, '[');
  EXPECT_EQ(
      "Good",
      ToUtf8(ReadRecipePage("<script type=\"application/ld+json\">" + deep + "</script>" + good, "").name));
}

// Blocks careless pages write: raw line breaks in strings, comment and CDATA wrappers.
TEST(PageReader, RepairedBlocks) {
  EXPECT_EQ(
      "1. Mix.\r\n2. Bake.",
      ToUtf8(ReadRecipePage(InScript("{\"@type\":\"Recipe\",\"recipeInstructions\":\"Mix.\nBake.\"}"), "")
                 .instructions));
  for (const char* wrapped : {"<!-- {\"@type\":\"Recipe\",\"name\":\"W\"} -->",
                              "//<![CDATA[\n{\"@type\":\"Recipe\",\"name\":\"W\"}\n//]]>",
                              "/*<![CDATA[*/{\"@type\":\"Recipe\",\"name\":\"W\"}/*]]>*/",
                              "{\"@type\":\"Recipe\", /* note */ \"name\":\"W\"}"})
    EXPECT_EQ("W", ToUtf8(ReadRecipePage(InScript(wrapped), "").name)) << wrapped;
}

TEST(PageReader, FirstJsonLdRecipeWinsOverLaterOnesAndMicrodata) {
  const std::string page =
      InScript(R"({"@type":"Organization","name":"Site"})") +
      InScript(R"({"@type":"Recipe","name":"First"})") + InScript(R"({"@type":"Recipe","name":"Second"})") +
      R"(<div itemscope itemtype="http://schema.org/Recipe"><h1 itemprop="name">Micro</h1></div>)";
  EXPECT_EQ("First", ToUtf8(ReadRecipePage(page, "").name));
}

TEST(PageReader, PagesWithoutRecipe) {
  for (const char* page :
       {"", "<html><body><p>Just a blog post.</p></body></html>",
        R"(<script type="application/ld+json">{"@type":"Organization","name":"Site"}</script>)",
        R"(<script type="application/ld+json">{"@type":"Recipe",</script>)",
        R"(<div itemscope itemtype="http://schema.org/Person"><span itemprop="name">Jo</span></div>)",
        R"(<div itemprop="name">Not in an item</div>)", "<script type=\"application/ld+json\">"}) {
    const ImportedRecipe recipe = ReadRecipePage(page, "https://ex.com/");
    EXPECT_EQ(RecipeImportError::kNoRecipe, recipe.error) << page;
    EXPECT_TRUE(recipe.name.empty() && recipe.lines.empty()) << page;
  }
}

// A page written in Windows-1252 reads as such.
TEST(PageReader, EightBitPages) {
  const ImportedRecipe recipe =
      ReadRecipePage(InScript("{\"@type\":\"Recipe\",\"name\":\"Cr\xE8me br\xFBl\xE9\x65\"}"), "");
  EXPECT_EQ("Crème brûlée", ToUtf8(recipe.name));
}

}  // namespace
