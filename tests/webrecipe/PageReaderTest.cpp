// Recipe pages as sites publish them: JSON-LD in its shapes, microdata, broken blocks, no recipe.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

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
  const ImportedLine& chicken = recipe.lines[3];
  EXPECT_EQ(std::tuple("1½ pounds boneless, skinless chicken thighs", 1.5, kUnitPound,
                       "boneless, skinless chicken thighs"),
            std::tuple(ToUtf8(chicken.original), chicken.amount, chicken.unit, ToUtf8(chicken.name)));
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

// The name, lines and instructions of a page's recipe, split by " : ".
std::string Read(const std::string& page) {
  const ImportedRecipe recipe = ReadRecipePage(page, "");
  return ToUtf8(recipe.name) + " : " + Lines(recipe) + " : " + ToUtf8(recipe.instructions);
}

// Microdata in careless markup: deep nesting, end tags of elements that are not open, elements
// never closed. A list's value ends where the next value of that list starts inside its element,
// and an element gives each property once.
TEST(PageReader, MicrodataInCarelessMarkup) {
  const std::string recipe = R"(<div itemscope itemtype="https://schema.org/Recipe">)";
  std::string deep, deepEnd;
  for (int i = 0; i < 10000; ++i) deep += "<div>", deepEnd += "</div>";
  const std::pair<std::string, const char*> pages[] = {
      {deep + recipe +
           R"(<h1 itemprop="name">Deep</h1><ul><li itemprop="recipeIngredient">1 egg</ul></div>)" + deepEnd,
       "Deep : 1 egg : "},
      {recipe +
           R"(<h1 itemprop="name">Soup</span></p></table></h1><p itemprop="recipeIngredient">1 leek</div>)",
       "Soup : 1 leek : "},
      // An end tag of an element open around the recipe ends it.
      {"<section>" + recipe +
           R"(<span itemprop="recipeIngredient">1 egg</section><span itemprop="recipeIngredient">2 eggs</span>)",
       " : 1 egg : "},
      {recipe +
           R"(<div itemprop="author" itemscope itemtype="https://schema.org/Person"><span itemprop="name">Jo</div>
           <span itemprop="name">Tart</span>)",
       "Tart :  : "},
      {recipe + R"(<span itemprop="name">Tart</span><span itemprop="recipeIngredient">2 eggs)",
       "Tart : 2 eggs : "},
      {recipe + R"(<span itemprop="name">Cake <span itemprop="name">Tart</span></span>)", "Tart :  : "},
      // Implied ends: a list item ends the open one of its list, a block ends a paragraph.
      {recipe +
           R"(<ul><li itemprop="recipeIngredient">1 egg<ul><li>beaten</ul><li itemprop="recipeIngredient">salt
           </ul><p itemprop="recipeInstructions">Mix<p itemprop="recipeInstructions">Bake<div>Serve</div>)",
       " : 1 egg beaten|salt : 1. Mix\r\n2. Bake"},
      {recipe +
           R"(<span itemprop="recipeIngredient">1 cup flour<span itemprop="recipeIngredient">2 eggs</div>)",
       " : 1 cup flour|2 eggs : "},
      {recipe + R"(<div itemprop="recipeInstructions"><ol><li itemprop="recipeInstructions">Mix</li>
           <li itemprop="recipeInstructions">Bake</li></ol></div>)",
       " :  : 1. Mix\r\n2. Bake"},
      {recipe + R"(<span itemprop="ingredients recipeIngredient ingredients">1 egg</span>)", " : 1 egg : "},
  };
  for (const auto& [page, read] : pages) EXPECT_EQ(read, Read(page)) << page;
}

// Thousands of end tags of elements that are not open and of properties never closed, under deep
// nesting: each value ends where the next of its list starts.
TEST(PageReader, MicrodataOfThousandsOfUnclosedElements) {
  constexpr size_t kCount = 3000;
  std::string page = R"(<div itemscope itemtype="https://schema.org/Recipe"><h1 itemprop="name">Cake</h1>)";
  for (int i = 0; i < 20000; ++i) page += "<div>";
  std::string steps, ingredients, numbered;
  for (size_t i = 1; i <= kCount; ++i) {
    steps += R"(</i></table><b itemprop="recipeInstructions">Stir.)";
    ingredients += R"(</i></table><span itemprop="recipeIngredient">1 egg)";
    numbered += (i > 1 ? "\r\n" : "") + std::to_string(i) + ". Stir.";
  }
  const ImportedRecipe recipe = ReadRecipePage(page + steps + "</div>" + ingredients + "</div>", "");
  EXPECT_EQ("Cake", ToUtf8(recipe.name));
  ASSERT_EQ(kCount, recipe.lines.size());
  for (const ImportedLine& line : recipe.lines) ASSERT_EQ("1 egg", ToUtf8(line.original));
  const std::string instructions = ToUtf8(recipe.instructions);
  EXPECT_TRUE(instructions == numbered) << instructions.size() << " bytes: " << instructions.substr(0, 80);
}

// Instructions as text, HTML, lists of texts, steps and sections: numbered steps under section names.
TEST(PageReader, InstructionShapes) {
  const struct {
    const char* value;
    const char* text;
  } cases[] = {
      {R"("Mix.\nBake.\n\n")", "1. Mix.\r\n2. Bake."},
      {R"("<ol><li>Mix.</li><li>Bake &amp; cool.</li></ol>")", "1. Mix.\r\n2. Bake & cool."},
      {R"(["1. Mix.", "2. Bake.", "  "])", "1. Mix.\r\n2. Bake."},
      {"\"Mix.\nBake.\"", "1. Mix.\r\n2. Bake."},  // a raw line break, as careless pages write
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
      {R"(42)", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.text, ToUtf8(RecipeWith(std::string("\"recipeInstructions\":") + c.value).instructions))
        << c.value;
}

// The members of a page's one Recipe and what the recipe reads: its header fields, then its lines.
// The first whole number of the yield counts, 1 without one; prepTime and cookTime give the times,
// and totalTime only when the page gives neither.
TEST(PageReader, MemberShapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "Pie|1|0:00|0:00|||"},
      {R"("image":["", "/img/1.jpg", "/img/2.jpg"])", "Pie|1|0:00|0:00||https://ex.com/img/1.jpg|"},
      {R"("image":[{"@type":"ImageObject","contentUrl":"//cdn.ex.com/c.jpg"}])",
       "Pie|1|0:00|0:00||https://cdn.ex.com/c.jpg|"},
      {R"("image":{"@type":"ImageObject","url":["a.jpg","b.jpg"]})",
       "Pie|1|0:00|0:00||https://ex.com/r/pie/a.jpg|"},
      {R"("image":{"@type":"ImageObject"})", "Pie|1|0:00|0:00|||"},
      {R"("image":"https://ex.com/p.jpg?w=1&amp;h=2")", "Pie|1|0:00|0:00||https://ex.com/p.jpg?w=1&h=2|"},
      {R"("thumbnailUrl":"t.jpg")", "Pie|1|0:00|0:00||https://ex.com/r/pie/t.jpg|"},
      {R"("recipeYield":6)", "Pie|6|0:00|0:00|||"},
      {R"("recipeYield":["", "Serves 3"])", "Pie|3|0:00|0:00|||"},
      {R"("yield":"5 portions")", "Pie|5|0:00|0:00|||"},
      {R"("recipeYield":0)", "Pie|1|0:00|0:00|||"},
      {R"("recipeYield":[{"value":4}])", "Pie|1|0:00|0:00|||"},
      {R"("prepTime":"PT20M","totalTime":"PT2H")", "Pie|1|0:20|0:00|||"},
      {R"("cookTime":"P0DT45M","totalTime":"PT2H")", "Pie|1|0:00|0:45|||"},
      {R"("totalTime":"PT2H10M")", "Pie|1|0:00|2:10|||"},
      {R"("prepTime":"PT90M","cookTime":"whenever")", "Pie|1|1:30|0:00|||"},
      {R"("prepTime":["PT5M"],"cookTime":{"@value":"PT0.5H"})", "Pie|1|0:05|0:30|||"},
      {R"("recipeCategory":"Dessert, Snack")", "Pie|1|0:00|0:00|Dessert||"},
      {R"("recipeCategory":["", "Main Course", "Dinner"])", "Pie|1|0:00|0:00|Main Course||"},
      {R"("recipeIngredient":["1 cup flour", " ", "2&nbsp;eggs"])", "Pie|1|0:00|0:00|||1 cup flour|2 eggs"},
      {R"("ingredients":"1 cup flour\n2 eggs")", "Pie|1|0:00|0:00|||1 cup flour|2 eggs"},
      {R"("recipeIngredient":["1 cup flour"],"ingredients":["2 eggs"])", "Pie|1|0:00|0:00|||1 cup flour"},
      {R"("recipeIngredient":[{"@type":"HowToSupply","name":"1 cup flour"}])",
       "Pie|1|0:00|0:00|||1 cup flour"},
  };
  for (const auto& [members, read] : cases) {
    const ImportedRecipe recipe = RecipeWith(members);
    EXPECT_EQ(read, Header(recipe) + "|" + Lines(recipe)) << members;
  }
  EXPECT_EQ(
      "Grandma’s “Best” Pie",
      ToUtf8(ReadRecipePage(InScript(R"({"@type":"Recipe","name":"Grandma&#8217;s <em>&ldquo;Best&rdquo;</em>
            Pie"})"),
                            "")
                 .name));
}

// Serves from the first yield naming a count of portions, else from a bare number; a batch takes
// the nutrition's serving count ("1/12 of the loaf") or is left to ask. Each case gives serves, the
// batch asked about and the stated calories per serving.
TEST(PageReader, YieldsAndStatedCalories) {
  const std::pair<const char*, const char*> cases[] = {
      {R"("recipeYield":["2", "24 cookies"])", "24||0"},
      {R"("recipeYield":["6", "6 servings"])", "6||0"},
      {R"("recipeYield":"Serves 4-6")", "4||0"},
      {R"("recipeYield":8)", "8||0"},
      {R"("recipeYield":["1", "1 loaf"])", "1|1 loaf|0"},
      {R"("recipeYield":"2 cups","nutrition":{"@type":"NutritionInformation","servingSize":"1/4 cup"})",
       "1|2 cups|0"},
      {R"j("recipeYield":"1 cake","nutrition":{"servingSize":"1 slice (1/12 of cake)","calories":"310 kcal"})j",
       "12||310"},
      {R"("recipeYield":"1 9-inch pie","nutrition":{"servingSize":"1/8 pie"})", "8||0"},
      {R"("nutrition":{"@type":"NutritionInformation","calories":"290 calories"})", "1||290"},
      {R"("nutrition":[{"calories":250}])", "1||250"},
      {R"("nutrition":{"calories":"1046 kJ"})", "1||250"},
  };
  for (const auto& [members, read] : cases) {
    const ImportedRecipe recipe = RecipeWith(members);
    char calories[32];
    std::snprintf(calories, sizeof calories, "%g", recipe.statedCalories);
    EXPECT_EQ(read, std::to_string(recipe.serves) + "|" + ToUtf8(recipe.batchYield) + "|" + calories)
        << members;
  }
  // A card states its calories and yield as well.
  const ImportedRecipe card = ReadRecipePage(
      R"(<div class="wprm-recipe"><span class="wprm-recipe-servings-with-unit">1 loaf</span>
      <li class="wprm-recipe-ingredient">3 bananas</li>
      <span class="wprm-nutrition-label-text-nutrition-container-calories">Calories: 180kcal</span></div>)",
      "");
  EXPECT_EQ(std::tuple(1, std::string("1 loaf"), 180.0),
            std::tuple(card.serves, ToUtf8(card.batchYield), card.statedCalories));
}

// Pages whose structured data carries no recipe, or one without its lines, and the card that the
// page's recipe plug-in writes: read from its parts' class names, the first card only.
TEST(PageReader, RecipeCardsOfThePlugIns) {
  const std::pair<std::string, const char*> pages[] = {
      {R"(<div class="wprm-recipe-container"><div class="wprm-recipe wprm-recipe-template-x">
        <h2 class="wprm-recipe-name wprm-block-text-bold">Chewy Cookies</h2>
        <span class="wprm-recipe-servings-with-unit"><span class="wprm-recipe-servings">24</span>
          <span class="wprm-recipe-servings-unit">cookies</span></span>
        <div class="wprm-recipe-prep-time-container">Prep Time <span class="wprm-recipe-prep_time">15
          <span class="sr-only">minutes</span></span></div>
        <h4 class="wprm-recipe-group-name">Dough</h4><ul class="wprm-recipe-ingredients">
        <li class="wprm-recipe-ingredient"><span class="wprm-checkbox-container"><input type="checkbox">
          <label><span class="sr-only">&#9634;</span></label></span><span class="wprm-recipe-ingredient-amount">1</span>
          <span class="wprm-recipe-ingredient-unit">cup</span> <span class="wprm-recipe-ingredient-name">butter</span>
          <span class="wprm-recipe-ingredient-notes">(softened)</span></li>
        <li class="wprm-recipe-ingredient">2 cups flour</li></ul>
        <ul><li class="wprm-recipe-instruction"><div class="wprm-recipe-instruction-text">Cream the butter.</div></li>
        <li class="wprm-recipe-instruction"><div class="wprm-recipe-instruction-text"><span>Bake.</span></div></li></ul>
        </div></div>
        <div class="wprm-recipe"><h2 class="wprm-recipe-name">Another recipe</h2></div>)",
       "Chewy Cookies|24|0:15|0:00|||1 cup butter (softened)|2 cups flour : 1. Cream the butter.\r\n2. "
       "Bake."},
      {R"(<div class="tasty-recipes tasty-recipes-71"><h2 class="tasty-recipes-title">Banana Bread</h2>
        <span class="tasty-recipes-yield"><span data-amount="8">8</span> slices</span>
        <span class="tasty-recipes-total-time">1 hour 10 minutes</span>
        <div class="tasty-recipes-ingredients"><h4>Ingredients</h4><ul><li>3 ripe bananas</li>
          <li><span data-amount="1">1</span> cup sugar</li></ul></div>
        <div class="tasty-recipes-instructions"><h4>Instructions</h4><ol><li>Mash.</li><li>Bake.</li></ol></div></div>)",
       "Banana Bread|8|0:00|1:10|||3 ripe bananas|1 cup sugar : 1. Mash.\r\n2. Bake."},
      {R"(<article><h1>A long story</h1><div class="mv-create-card mv-create-card-7">
        <h2 class="mv-create-title mv-create-title-primary">Lemon Bars</h2>
        <div class="mv-create-yield">Yield: 16 bars</div>
        <div class="mv-create-ingredients"><h3>Ingredients</h3><ul><li>1 cup flour</li><li>2 lemons</li></ul></div>
        <div class="mv-create-instructions"><h3>Instructions</h3><p>Press the crust.</p><p>Bake.</p></div>
        </div></article>)",
       "Lemon Bars|16|0:00|0:00|||1 cup flour|2 lemons : 1. Press the crust.\r\n2. Bake."},
      {R"(<div class="wpurp-container"><span class="wpurp-recipe-title">Tea</span><ul>
        <li class="wpurp-recipe-ingredient">1 tea bag<li class="wpurp-recipe-ingredient">1 cup water</li></ul>
        <ol><li class="wpurp-recipe-instruction">Steep.</li></ol></div>)",
       "Tea|1|0:00|0:00|||1 tea bag|1 cup water : 1. Steep."},
      // Structured data without the lines takes them from the card; a card needs lines or steps.
      {InScript(R"({"@type":"Recipe","name":"Soup","recipeYield":"4"})") +
           R"(<ul><li class="wprm-recipe-ingredient">1 leek</li></ul>)",
       "Soup|4|0:00|0:00|||1 leek : "},
      {R"(<h2 class="wprm-recipe-name">Name alone</h2>)", "|1|0:00|0:00||| : "},
  };
  for (const auto& [page, read] : pages) {
    const ImportedRecipe recipe = ReadRecipePage(page, "");
    EXPECT_EQ(read, Header(recipe) + "|" + Lines(recipe) + " : " + ToUtf8(recipe.instructions)) << page;
  }
}

// Pages and the name of the recipe read from them, "" where they hold none.
TEST(PageReader, BlocksThatHoldTheRecipe) {
  const std::string soup = R"({"@type":"Recipe","name":"Soup"})",
                    script = "<script type=\"application/ld+json\">";
  const std::string good = script + R"({"@type":"Recipe","name":"Good"}</script>)";
  const std::pair<std::string, std::string> pages[] = {
      // The script element's type may be quoted either way, in capitals, with a charset, among other
      // attributes.
      {"<script type='application/ld+json'>" + soup + "</SCRIPT>", "Soup"},
      {"<SCRIPT TYPE=\"APPLICATION/LD+JSON\">" + soup + "</script>", "Soup"},
      {"<script class=\"yoast-schema-graph\" type=application/ld+json data-x=\"1\">" + soup + "</script>",
       "Soup"},
      {"<script type=\"application/ld+json; charset=utf-8\" id=\"r\">" + soup + "</script>", "Soup"},
      {"<script  nonce=\"a>b\"  type = \"application/ld+json\" >" + soup + "</script>", "Soup"},
      {"<script type=\"application/json\">" + soup + "</script>", ""},
      {"<script>" + soup + "</script>", ""},
      {"<div type=\"application/ld+json\">" + soup + "</script>", ""},
      // Where the Recipe stands in the document; a recipe nearer the top wins over one deeper down.
      {InScript(
           R"({"@context":"https://schema.org","@graph":[{"@type":"WebPage","name":"Page"},{"@type":"Recipe","name":"Stew"}]})"),
       "Stew"},
      {InScript(R"({"@type":["NewsArticle","Recipe"],"name":"Stew"})"), "Stew"},
      {InScript(R"({"@type":"http://schema.org/Recipe","name":"Stew"})"), "Stew"},
      {InScript(R"({"@type":"schema:Recipe","name":"Stew"})"), "Stew"},
      {InScript(
           R"({"@type":"NewsArticle","headline":"News","mainEntityOfPage":{"@type":"WebPage","mainEntity":{"@type":"Recipe","name":"Stew"}}})"),
       "Stew"},
      {InScript(R"({"@type":"Recipe","headline":"Stew","mainEntityOfPage":"https://ex.com/stew"})"), "Stew"},
      {InScript(
           R"({"@graph":[{"@type":"WebPage","hasPart":{"@type":"Recipe","name":"Deep"}},{"@type":"Recipe","name":"Stew"}]})"),
       "Stew"},
      {InScript(R"({"@type":"Recipes"})"), ""},
      {InScript(R"({"type":"Recipe"})"), ""},
      // A block that does not parse leaves the next one to be read; brackets in strings, after an
      // escaped quote too, are no nesting.
      {script + R"({"@type":"Recipe", "name": </script>)" + good, "Good"},
      {script + "<!-- --></script>" + good, "Good"},
      {script + std::string(78, '[') + "</script>" + good, "Good"},
      {script + std::string(5000, '[') + "</script>" + good, "Good"},
      {InScript(R"({"@type":"Recipe","name":"Pie \" )" + std::string(500, '[') + "\"}"),
       "Pie \" " + std::string(500, '[')},
      // The slips of careless pages: commas before a closing bracket, raw control characters and
      // unknown escapes in strings, values one after another, a statement's semicolon.
      {InScript("{\"@type\":\"Recipe\",\"name\":\"Trailing\",\"recipeIngredient\":[\"1 egg\",],}"),
       "Trailing"},
      {InScript("{\"@type\":\"Recipe\",\"name\":\"Tab\tand\x01"
                "bell\",}"),
       "Tab and bell"},
      {InScript(R"({"@type":"Recipe","name":"Grandma\'s \Pie"})"), "Grandma's Pie"},
      {InScript(R"({"@type":"Organization","name":"Site"}{"@type":"Recipe","name":"Second"})"), "Second"},
      {InScript(R"({"@type":"Recipe","name":"Stated"};)"), "Stated"},
      // Comment and CDATA wrappers and comments that careless pages write.
      {InScript("<!-- {\"@type\":\"Recipe\",\"name\":\"W\"} -->"), "W"},
      {InScript("//<![CDATA[\n{\"@type\":\"Recipe\",\"name\":\"W\"}\n//]]>"), "W"},
      {InScript("{\"@type\":\"Recipe\", /* note */ \"name\":\"W\"}"), "W"},
      // The first JSON-LD recipe wins over later ones and microdata; a Windows-1252 page reads as such.
      {InScript(R"({"@type":"Organization","name":"Site"})") +
           InScript(R"({"@type":"Recipe","name":"First"})") +
           InScript(R"({"@type":"Recipe","name":"Second"})") +
           R"(<div itemscope itemtype="http://schema.org/Recipe"><h1 itemprop="name">Micro</h1></div>)",
       "First"},
      {InScript("{\"@type\":\"Recipe\",\"name\":\"Cr\xE8me br\xFBl\xE9\x65\"}"), "Crème brûlée"},
      // Pages without a recipe.
      {"", ""},
      {script + R"({"@type":"Recipe",</script>)", ""},
      {R"(<div itemprop="name">Not in an item</div>)", ""},
      {R"(<div itemscope itemtype="http://schema.org/Person"><span itemprop="name">Jo</span></div>)", ""},
      {InScript(R"({"@type":"Organization","name":"Site"})"), ""},
      {script, ""},
  };
  for (const auto& [page, name] : pages) {
    const ImportedRecipe recipe = ReadRecipePage(page, "https://ex.com/");
    EXPECT_EQ(name.empty() ? RecipeImportError::kNoRecipe : RecipeImportError::kNone, recipe.error) << page;
    EXPECT_EQ(name, ToUtf8(recipe.name)) << page;
    EXPECT_TRUE(!name.empty() || recipe.lines.empty()) << page;
  }
}

}  // namespace
