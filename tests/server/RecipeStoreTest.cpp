#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "server/ClientText.h"
#include "server/RecipeStore.h"

namespace {

namespace fs = std::filesystem;

SharedRecipe Recipe(const WString& name, const WString& category) {
  return {name, category, TXT("<RECIPELIST>\r\n<RECIPES>\r\n<RECIPE>") + name + TXT("</RECIPE>\r\n")};
}

// A database folder of its own per test.
class RecipeStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/mirepan-store-test-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Path() const { return (folder_ / "recipes.db").string(); }
  void Open(RecipeStore& store) {
    std::string error;
    ASSERT_TRUE(store.Open(Path(), error)) << error;
  }
  static std::vector<int64_t> Ids(RecipeStore& store, const WString& name, const WString& category = {}) {
    RecipeQuery query;
    query.name = name;
    query.category = category;
    std::vector<int64_t> ids;
    for (const RecipeListing& row : store.Find(query)) ids.push_back(row.id);
    return ids;
  }

  fs::path folder_;
};

// A file as the first version of the server left it: one table holding the listing and the document,
// the match keys folded code unit by code unit.
void WriteFirstSchemaFile(const std::string& path, const std::vector<SharedRecipe>& recipes) {
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db));
  ASSERT_EQ(SQLITE_OK, sqlite3_exec(db,
                                    "CREATE TABLE recipes (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                                    " name TEXT NOT NULL, name_key TEXT NOT NULL, category TEXT NOT NULL,"
                                    " category_key TEXT NOT NULL, uploaded INTEGER NOT NULL,"
                                    " document BLOB NOT NULL);"
                                    "CREATE INDEX recipes_uploaded ON recipes (uploaded);",
                                    nullptr, nullptr, nullptr));
  auto oldKey = [](WString text) {
    for (WChar& c : text) c = FoldCase(c);
    return ToUtf8(text);
  };
  for (const SharedRecipe& recipe : recipes) {
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(db,
                                            "INSERT INTO recipes (name, name_key, category, category_key,"
                                            " uploaded, document) VALUES (?, ?, ?, ?, 20240301, ?)",
                                            -1, &insert, nullptr));
    const std::string texts[] = {ToUtf8(recipe.name), oldKey(recipe.name), ToUtf8(recipe.category),
                                 oldKey(recipe.category), Utf16Bytes(recipe.document)};
    for (int i = 0; i < 4; ++i) sqlite3_bind_text(insert, i + 1, texts[i].c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_blob(insert, 5, texts[4].data(), static_cast<int>(texts[4].size()), SQLITE_TRANSIENT);
    EXPECT_EQ(SQLITE_DONE, sqlite3_step(insert));
    sqlite3_finalize(insert);
  }
  sqlite3_close(db);
}

}  // namespace

TEST_F(RecipeStoreTest, NameAndCategorySearchesFoldCaseAcrossUnicode) {
  RecipeStore store;
  Open(store);
  const struct {
    const WChar* stored;
    const WChar* searched;
  } cases[] = {
      {TXT("\u03A9\u03BC\u03AD\u03B3\u03B1 soup"), TXT("\u03A9\u039C\u0388\u0393\u0391")},  // Ωμέγα, ΩΜΈΓΑ
      {TXT("\u039F\u03B4\u03C5\u03C3\u03C3\u03B5\u03CD\u03C2 stew"),
       TXT("\u03C3\u03B5\u038E\u03A3")},                                   // final sigma
      {TXT("Stra\u00DFe bread"), TXT("STRASSE")},                          // ß folds to ss
      {TXT("\u01C5uve\u010D"), TXT("\u01C4UVE\u010C")},                    // ǅuveč, ǄUVEČ
      {TXT("Cre\u0300me caramel"), TXT("CR\u00C8ME")},                     // decomposed è
      {TXT("\U00010428\U0001042F pie"), TXT("\U00010400\U00010407")},      // Deseret, beyond 16 bits
      {TXT("\u0561\u0580\u0574\u0561\u057F"), TXT("\u0531\u0550\u0544")},  // Armenian
      {TXT("\u13A0\u13A1 cake"), TXT("\uAB70\uAB71")},                     // Cherokee
  };
  int64_t id = 0;
  for (const auto& c : cases) ASSERT_EQ(++id, store.Add(Recipe(c.stored, TXT("Any")), 20240301));
  id = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(std::vector<int64_t>{++id}, Ids(store, c.searched)) << ToUtf8(c.stored);
  }
  EXPECT_EQ(std::vector<int64_t>{}, Ids(store, TXT("\u03A9\u039C\u0395\u0393\u0391")));       // no tonos
  store.Add(Recipe(TXT("Fasolada"), TXT("\u03A3\u03BF\u03CD\u03C0\u03B5\u03C2")), 20240301);  // Σούπες
  EXPECT_EQ(std::vector<int64_t>{9}, Ids(store, {}, TXT("\u03A3\u039F\u038E\u03A0\u0395\u03A3")));
}

TEST_F(RecipeStoreTest, ShortAndLongNameSearchesFindEveryMatchInNameOrder) {
  RecipeStore store;
  Open(store);
  const WChar* names[] = {TXT("Pea soup"),          TXT("Sweet pea soup"),  TXT("Papaya"),
                          TXT("Apple pie"),         TXT("100% rye*bread?"), TXT("Pear [ripe]"),
                          TXT("Say \"cheese\" pie")};
  for (const WChar* name : names) store.Add(Recipe(name, TXT("Any")), 20240301);
  const struct {
    const WChar* searched;
    std::vector<int64_t> ids;
  } cases[] = {
      {TXT("p"), {4, 3, 1, 6, 7, 2}},
      {TXT("ap"), {4, 3}},
      {TXT("pea"), {1, 6, 2}},
      {TXT("PEA SOUP"), {1, 2}},
      {TXT("a s"), {1, 2}},
      {TXT("e*b"), {5}},
      {TXT("y*b"), {}},
      {TXT("d?"), {5}},
      {TXT("e?"), {}},
      {TXT("[ripe]"), {6}},
      {TXT("r [r"), {6}},
      {TXT("% r"), {5}},
      {TXT("soup pea"), {}},
      {TXT("*"), {5}},
      {TXT("e\" p"), {7}},
      {TXT("\""), {7}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.ids, Ids(store, c.searched)) << ToUtf8(c.searched);
}

TEST_F(RecipeStoreTest, OpensADatabaseOfTheFirstSchemaAndKeepsItsRecipes) {
  const std::vector<SharedRecipe> recipes = {Recipe(TXT("Stra\u00DFe bread"), TXT("Breads")),
                                             Recipe(TXT("Pea Soup"), TXT("Soups")),
                                             Recipe(TXT("Dal"), TXT("Stews"))};
  WriteFirstSchemaFile(Path(), recipes);
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(Path().c_str(), &db));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, "DELETE FROM recipes WHERE id = 3", nullptr, nullptr, nullptr));
    sqlite3_close(db);
  }
  for (int opening = 0; opening < 2; ++opening) {
    RecipeStore store;
    Open(store);
    EXPECT_EQ((std::vector<int64_t>{2, 1}), Ids(store, {})) << opening;
    EXPECT_EQ(std::vector<int64_t>{1}, Ids(store, TXT("STRASSE"))) << opening;
    EXPECT_EQ(std::vector<int64_t>{2}, Ids(store, {}, TXT("SOUPS"))) << opening;
    EXPECT_EQ(Utf16Bytes(recipes[1].document), store.Document(2).value_or("")) << opening;
    EXPECT_FALSE(store.Document(3)) << opening;
  }
  RecipeStore store;
  Open(store);
  EXPECT_EQ(4, store.Add(Recipe(TXT("Chili"), TXT("Stews")), 20240302)) << "ids are never taken again";
}
