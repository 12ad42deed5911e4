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

// Runs SQL on the file through a connection of its own, as an administrator's sqlite3 tool does.
void ExecuteOn(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db));
  char* message = nullptr;
  EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql, nullptr, nullptr, &message)) << (message ? message : "") << sql;
  sqlite3_free(message);
  sqlite3_close(db);
}

// What a search must list, asked of SQLite itself: the stored keys compared with the folded query.
std::vector<int64_t> IdsBySql(const std::string& path, const RecipeQuery& query) {
  sqlite3* db = nullptr;
  sqlite3_stmt* select = nullptr;
  std::vector<int64_t> ids;
  EXPECT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db));
  EXPECT_EQ(SQLITE_OK, sqlite3_prepare_v2(db,
                                          "SELECT id FROM recipes WHERE uploaded >= ?1"
                                          " AND (?2 IS NULL OR category_key = ?2) AND instr(name_key, ?3) > 0"
                                          " ORDER BY name_key, id LIMIT ?4",
                                          -1, &select, nullptr));
  const std::string category = ToUtf8(FoldedText(query.category)), name = ToUtf8(FoldedText(query.name));
  sqlite3_bind_int64(select, 1, query.since);
  if (!query.category.empty()) sqlite3_bind_text(select, 2, category.c_str(), -1, SQLITE_STATIC);
  sqlite3_bind_text(select, 3, name.c_str(), -1, SQLITE_STATIC);
  sqlite3_bind_int64(select, 4, static_cast<int64_t>(query.limit));
  while (sqlite3_step(select) == SQLITE_ROW) ids.push_back(sqlite3_column_int64(select, 0));
  sqlite3_finalize(select);
  sqlite3_close(db);
  return ids;
}

std::vector<int64_t> IdsOf(const std::vector<RecipeListing>& rows) {
  std::vector<int64_t> ids;
  for (const RecipeListing& row : rows) ids.push_back(row.id);
  return ids;
}

RecipeQuery Query(const WString& name, DayNumber since = 0, const WString& category = {},
                  size_t limit = 1000) {
  RecipeQuery query;
  query.name = name;
  query.since = since;
  query.category = category;
  query.limit = limit;
  return query;
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

TEST_F(RecipeStoreTest, SearchesListWhatSqliteFindsInTheStoredKeys) {
  RecipeStore store;
  Open(store);
  // Names of many scripts and forms, repeated with numbers, so that searches cross many hundreds of
  // recipes and some parts match more recipes than a search lists.
  const WChar* names[] = {TXT("Pea soup"),
                          TXT("Sweet pea soup"),
                          TXT("Cr\u00E8me caramel"),
                          TXT("Cre\u0300me br\u00FBl\u00E9e"),  // decomposed è
                          TXT("Stra\u00DFe bread"),
                          TXT("\u03A9\u03BC\u03AD\u03B3\u03B1 stew"),  // Ωμέγα
                          TXT("\u039F\u03B4\u03C5\u03C3\u03C3\u03B5\u03CD\u03C2 pie"),
                          TXT("Oats and nuts"),
                          TXT("\U00010428\U0001042F cake"),  // Deseret
                          TXT("Tea")};
  const WChar* categories[] = {TXT("Soups"), TXT("Desserts"), TXT("\u03A3\u03BF\u03CD\u03C0\u03B5\u03C2")};
  for (int n = 0; n < 1500; ++n) {
    const WString name = names[n * 7 % 10] + FromAscii(" " + std::to_string(n % 97));
    ASSERT_NE(0, store.Add(Recipe(name, categories[n % 3]), 20240101 + n % 28));
  }
  const RecipeQuery queries[] = {
      Query({}),
      Query(TXT("p")),
      Query(TXT("ts")),
      Query(TXT("ts"), 20240120),
      Query(TXT("E")),
      Query(TXT("\u00C8")),                          // È
      Query(TXT("E\u0300ME")),                       // decomposed È
      Query(TXT("SS")),                              // ß
      Query(TXT("\u00DF")),                          // ß itself
      Query(TXT("\u03A3")),                          // Σ: σ and final ς fold alike
      Query(TXT("\u03A9\u039C\u0388\u0393\u0391")),  // ΩΜΈΓΑ
      Query(TXT("\u03BC\u03AD")),                    // μέ
      Query(TXT("\U00010400")),                      // Deseret capital
      Query(TXT("1")),
      Query(TXT("a 1"), 0, TXT("soups")),
      Query(TXT("e"), 20240110, TXT("\u03A3\u039F\u038E\u03A0\u0395\u03A3")),
      Query(TXT("pea"), 0, {}, 5),
      Query(TXT("e"), 0, {}, 1),
      Query({}, 0, {}, 0),
      Query(TXT("pie"), 20240127, TXT("Desserts"), 3),
      Query(TXT("zz")),
      Query(TXT("tea 96")),
  };
  for (const RecipeQuery& query : queries) {
    const std::vector<int64_t> expected = IdsBySql(Path(), query);
    EXPECT_EQ(expected, IdsOf(store.Find(query))) << ToUtf8(query.name) << " since " << query.since << " in "
                                                  << ToUtf8(query.category) << " limit " << query.limit;
    EXPECT_LE(expected.size(), query.limit);
  }
  EXPECT_EQ(1000u, store.Find(Query(TXT("e"))).size()) << "capped";
}

TEST_F(RecipeStoreTest, SearchesSeeWhatTheSqliteToolChangedWhileTheStoreIsOpen) {
  RecipeStore store;
  Open(store);
  for (const WChar* name : {TXT("Apple pie"), TXT("Bean stew"), TXT("Carrot cake"), TXT("Dal")}) {
    store.Add(Recipe(name, TXT("Any")), 20240301);
  }
  EXPECT_EQ((std::vector<int64_t>{1, 2, 3, 4}), Ids(store, {}));
  ExecuteOn(Path(),
            "DELETE FROM recipes WHERE id = 2;"
            "UPDATE recipes SET name = 'Zucchini cake', name_key = 'zucchini cake' WHERE id = 3;"
            "INSERT INTO recipes (name, name_key, category, category_key, uploaded)"
            " VALUES ('Bread', 'bread', 'Any', 'any', 20240302);");
  EXPECT_EQ((std::vector<int64_t>{1, 5, 4, 3}), Ids(store, {}));
  EXPECT_EQ((std::vector<int64_t>{3}), Ids(store, TXT("zu")));
  EXPECT_FALSE(store.Document(2)) << "the document goes with its row";
  // Uploads after the change take their place among the rows read again, as in a store opened anew.
  EXPECT_EQ(6, store.Add(Recipe(TXT("Couscous"), TXT("Any")), 20240303));
  EXPECT_EQ((std::vector<int64_t>{1, 5, 6, 4, 3}), Ids(store, {}));
  RecipeStore reopened;
  Open(reopened);
  EXPECT_EQ(IdsOf(store.Find(Query(TXT("c")))), IdsOf(reopened.Find(Query(TXT("c")))));
  EXPECT_EQ((std::vector<int64_t>{1, 5, 6, 4, 3}), Ids(reopened, {}));
}

TEST_F(RecipeStoreTest, OpensADatabaseOfTheSecondSchemaAndDropsItsSearchIndexes) {
  // The second schema: a trigram index of the names, kept by triggers, and indexes of day and category.
  ExecuteOn(
      Path(),
      "CREATE TABLE recipes (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL,"
      " name_key TEXT NOT NULL, category TEXT NOT NULL, category_key TEXT NOT NULL,"
      " uploaded INTEGER NOT NULL);"
      "CREATE TABLE documents (id INTEGER PRIMARY KEY, document BLOB NOT NULL);"
      "CREATE INDEX recipes_by_name ON recipes (name_key, id, uploaded, category_key, name);"
      "CREATE INDEX recipes_by_day ON recipes (uploaded);"
      "CREATE INDEX recipes_by_category ON recipes (category_key, uploaded);"
      "CREATE VIRTUAL TABLE recipe_names USING fts5("
      " name_key, content='recipes', content_rowid='id', tokenize='trigram case_sensitive 1');"
      "CREATE TRIGGER recipes_added AFTER INSERT ON recipes BEGIN"
      " INSERT INTO recipe_names (rowid, name_key) VALUES (new.id, new.name_key); END;"
      "CREATE TRIGGER recipes_removed AFTER DELETE ON recipes BEGIN"
      " INSERT INTO recipe_names (recipe_names, rowid, name_key) VALUES ('delete', old.id, old.name_key);"
      " DELETE FROM documents WHERE id = old.id; END;"
      "PRAGMA user_version = 2;"
      "INSERT INTO recipes (name, name_key, category, category_key, uploaded) VALUES"
      " ('Pea soup', 'pea soup', 'Soups', 'soups', 20240301),"
      " ('Dal', 'dal', 'Stews', 'stews', 20240302);"
      "INSERT INTO documents (id, document) VALUES (1, x'3c00'), (2, x'3c00');");
  {
    RecipeStore store;
    Open(store);
    EXPECT_EQ((std::vector<int64_t>{2, 1}), Ids(store, {}));
    EXPECT_EQ((std::vector<int64_t>{1}), Ids(store, TXT("SOUP"), TXT("SOUPS")));
    EXPECT_EQ(3, store.Add(Recipe(TXT("Chili"), TXT("Stews")), 20240303));
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(Path().c_str(), &db));
  sqlite3_stmt* left = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(db,
                                          "SELECT count(*) FROM sqlite_schema WHERE name IN ('recipe_names',"
                                          " 'recipes_added', 'recipes_removed', 'recipes_by_day',"
                                          " 'recipes_by_category')",
                                          -1, &left, nullptr));
  ASSERT_EQ(SQLITE_ROW, sqlite3_step(left));
  EXPECT_EQ(0, sqlite3_column_int(left, 0)) << "no upload keeps indexes that no search reads";
  sqlite3_finalize(left);
  sqlite3_close(db);
  ExecuteOn(Path(), "DELETE FROM recipes WHERE id = 1;");
  RecipeStore store;
  Open(store);
  EXPECT_EQ((std::vector<int64_t>{3, 2}), Ids(store, {}));
  EXPECT_FALSE(store.Document(1));
  EXPECT_TRUE(store.Document(3));
}
