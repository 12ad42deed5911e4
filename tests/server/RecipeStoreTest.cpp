#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "server/ClientText.h"
#include "server/RecipeStore.h"
#include "support/ScratchFolder.h"

namespace {

using Ids = std::vector<int64_t>;

SharedRecipe Recipe(const WString& name, const WString& category) {
  return {name, category, TXT("<RECIPELIST>\r\n<RECIPES>\r\n<RECIPE>") + name + TXT("</RECIPE>\r\n")};
}

RecipeQuery Query(const WString& name, DayNumber since = 0, const WString& category = {},
                  size_t limit = 1000) {
  return RecipeQuery{since, category, name, limit};
}

Ids Found(RecipeStore& store, const RecipeQuery& query) {
  Ids ids;
  for (const RecipeListing& row : store.Find(query)) ids.push_back(row.id);
  return ids;
}
Ids Found(RecipeStore& store, const WString& name, const WString& category = {}) {
  return Found(store, Query(name, 0, category));
}

// Runs SQL on the file through a connection of its own, as an administrator's sqlite3 tool does; the
// first column of the rows it returns.
Ids Sql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  Ids values;
  EXPECT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db));
  const auto collect = [](void* out, int, char** row, char**) {
    static_cast<Ids*>(out)->push_back(row[0] ? std::stoll(row[0]) : 0);
    return 0;
  };
  char* message = nullptr;
  EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql.c_str(), collect, &values, &message))
      << (message ? message : "") << sql;
  sqlite3_free(message);
  sqlite3_close(db);
  return values;
}

// Text as an SQL literal.
std::string Literal(const WString& text) {
  std::string literal = "'";
  for (char c : ToUtf8(text)) literal += c == '\'' ? std::string("''") : std::string(1, c);
  return literal + "'";
}

// What a search must list, asked of SQLite itself: the stored keys compared with the folded query.
Ids IdsBySql(const std::string& path, const RecipeQuery& query) {
  const std::string category = " AND category_key = " + Literal(FoldedText(query.category));
  return Sql(path, "SELECT id FROM recipes WHERE uploaded >= " + std::to_string(query.since) +
                       (query.category.empty() ? "" : category) + " AND instr(name_key, " +
                       Literal(FoldedText(query.name)) + ") > 0 ORDER BY name_key, id LIMIT " +
                       std::to_string(query.limit));
}

// A database file in a folder of its own per test.
class RecipeStoreTest : public ::testing::Test {
 protected:
  std::unique_ptr<RecipeStore> Open() {
    auto store = std::make_unique<RecipeStore>();
    std::string error;
    EXPECT_TRUE(store->Open(path_, error)) << error;
    return store;
  }

  test_support::ScratchFolder folder_;
  const std::string path_ = ToUtf8(folder_ / TXT("recipes.db"));
};

}  // namespace

TEST_F(RecipeStoreTest, OpensADatabaseOfTheFirstSchemaAndKeepsItsRecipes) {
  // One table held the listing and the document; the match keys were folded code unit by code unit.
  Sql(path_,
      "CREATE TABLE recipes (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL,"
      " name_key TEXT NOT NULL, category TEXT NOT NULL, category_key TEXT NOT NULL,"
      " uploaded INTEGER NOT NULL, document BLOB NOT NULL);"
      "CREATE INDEX recipes_uploaded ON recipes (uploaded);"
      "INSERT INTO recipes (name, name_key, category, category_key, uploaded, document) VALUES"
      " ('Stra\303\237e bread', 'stra\303\237e bread', 'Breads', 'breads', 20240301, x'3c0031003e00'),"
      " ('Pea Soup', 'pea soup', 'Soups', 'soups', 20240301, x'3c0032003e00'),"
      " ('Dal', 'dal', 'Stews', 'stews', 20240301, x'3c0033003e00');"
      "DELETE FROM recipes WHERE id = 3;");
  for (int opening = 0; opening < 2; ++opening) {
    const auto store = Open();
    EXPECT_EQ((Ids{2, 1}), Found(*store, TXT(""))) << opening;
    EXPECT_EQ(Ids{1}, Found(*store, TXT("STRASSE"))) << opening;
    EXPECT_EQ(Ids{2}, Found(*store, TXT(""), TXT("SOUPS"))) << opening;
    EXPECT_EQ(Utf16Bytes(TXT("<2>")), store->Document(2).value_or("")) << opening;
    EXPECT_FALSE(store->Document(3)) << opening;
  }
  EXPECT_EQ(4, Open()->Add(Recipe(TXT("Chili"), TXT("Stews")), 20240302)) << "ids are never taken again";
}

// Searches list what SQLite finds in the stored keys, also after the sqlite3 tool changed them.
TEST_F(RecipeStoreTest, SearchesListWhatSqliteFindsInTheStoredKeys) {
  const auto store = Open();
  // Names of many scripts and forms (a decomposed è, Ωμέγα, Deseret beyond 16 bits) and with the wildcards of
  // SQL patterns, repeated with numbers, so that searches cross many hundreds of recipes and some parts match
  // more recipes than a search lists.
  // clang-format off
  const WChar* names[] = {
      TXT("Pea soup"), TXT("Sweet pea soup"), TXT("Cr\u00E8me caramel"), TXT("Cre\u0300me br\u00FBl\u00E9e"),
      TXT("Stra\u00DFe bread"), TXT("\u03A9\u03BC\u03AD\u03B3\u03B1 stew"),
      TXT("\u039F\u03B4\u03C5\u03C3\u03C3\u03B5\u03CD\u03C2 pie"), TXT("Oats and nuts"),
      TXT("\U00010428\U0001042F cake"), TXT("Tea"), TXT("100% rye*bread?"), TXT("Say \"cheese\" [ripe] pie")};
  // clang-format on
  const WChar* categories[] = {TXT("Soups"), TXT("Desserts"), TXT("\u03A3\u03BF\u03CD\u03C0\u03B5\u03C2")};
  for (int n = 0; n < 1500; ++n) {
    const WString name = names[n * 7 % 12] + FromAscii(" " + std::to_string(n % 97));
    ASSERT_NE(0, store->Add(Recipe(name, categories[n % 3]), 20240101 + n % 28));
  }
  // È composed and decomposed, ß as SS and itself, Σ (σ and final ς fold alike), ΩΜΈΓΑ, Deseret; parts
  // with wildcards and quotes are plain text, and the words of a part keep their order.
  // clang-format off
  const RecipeQuery queries[] = {
      Query({}), Query(TXT("ts"), 20240120), Query(TXT("\u00C8")), Query(TXT("E\u0300ME")), Query(TXT("SS")),
      Query(TXT("\u00DF")), Query(TXT("\u03A3")), Query(TXT("\u03A9\u039C\u0388\u0393\u0391")),
      Query(TXT("\U00010400")), Query(TXT("a 1"), 0, TXT("soups")),
      Query(TXT("e"), 20240110, TXT("\u03A3\u039F\u038E\u03A0\u0395\u03A3")), Query(TXT("pea"), 0, {}, 5),
      Query({}, 0, {}, 0), Query(TXT("pie"), 20240127, TXT("Desserts"), 3), Query(TXT("zz")),
      Query(TXT("tea 96")), Query(TXT("zu")), Query(TXT("e*b")), Query(TXT("y*b")), Query(TXT("d?")),
      Query(TXT("[ripe]")), Query(TXT("% r")), Query(TXT("e\" [")), Query(TXT("soup pea"))};
  // clang-format on
  const auto expectAsSqlite = [&](RecipeStore& searched) {
    for (const RecipeQuery& query : queries) {
      const Ids expected = IdsBySql(path_, query);
      EXPECT_EQ(expected, Found(searched, query)) << ToUtf8(query.name) << " since " << query.since << " in "
                                                  << ToUtf8(query.category) << " limit " << query.limit;
      EXPECT_LE(expected.size(), query.limit);
    }
  };
  expectAsSqlite(*store);
  EXPECT_EQ(1000u, store->Find(Query(TXT("e"))).size()) << "capped";
  // The next search sees what the sqlite3 tool changed while the store is open; uploads after the
  // change take their place among the rows read again, as in a store opened anew.
  Sql(path_,
      "DELETE FROM recipes WHERE id % 3 = 0;"
      "UPDATE recipes SET name = 'Zucchini cake', name_key = 'zucchini cake' WHERE id = 1;"
      "INSERT INTO recipes (name, name_key, category, category_key, uploaded)"
      " VALUES ('Tea 96 bread', 'tea 96 bread', 'Soups', 'soups', 20240102);");
  EXPECT_FALSE(store->Document(3)) << "the document goes with its row";
  EXPECT_EQ(1502, store->Add(Recipe(TXT("Tea 96 cake"), TXT("Soups")), 20240103));
  expectAsSqlite(*store);
  expectAsSqlite(*Open());
}

TEST_F(RecipeStoreTest, OpensADatabaseOfTheSecondSchemaAndDropsItsSearchIndexes) {
  // The second schema: a trigram index of the names, kept by triggers, and indexes of day and category.
  Sql(path_,
      "CREATE TABLE recipes (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL, name_key TEXT NOT "
      "NULL,"
      " category TEXT NOT NULL, category_key TEXT NOT NULL, uploaded INTEGER NOT NULL);"
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
      " ('Pea soup', 'pea soup', 'Soups', 'soups', 20240301), ('Dal', 'dal', 'Stews', 'stews', 20240302);"
      "INSERT INTO documents (id, document) VALUES (1, x'3c00'), (2, x'3c00');");
  {
    const auto store = Open();
    EXPECT_EQ((Ids{2, 1}), Found(*store, TXT("")));
    EXPECT_EQ((Ids{1}), Found(*store, TXT("SOUP"), TXT("SOUPS")));
    EXPECT_EQ(3, store->Add(Recipe(TXT("Chili"), TXT("Stews")), 20240303));
  }
  EXPECT_EQ(Ids{0}, Sql(path_,
                        "SELECT count(*) FROM sqlite_schema WHERE name IN ('recipe_names', 'recipes_added',"
                        " 'recipes_removed', 'recipes_by_day', 'recipes_by_category')"))
      << "no upload keeps indexes that no search reads";
  Sql(path_, "DELETE FROM recipes WHERE id = 1;");
  const auto store = Open();
  EXPECT_EQ((Ids{3, 2}), Found(*store, TXT("")));
  EXPECT_FALSE(store->Document(1));
  EXPECT_TRUE(store->Document(3));
}
