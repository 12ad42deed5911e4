#include "server/RecipeStore.h"

#include <sqlite3.h>

#include "server/ClientText.h"

namespace {

// The listing fields live in small rows with an index for each way a search narrows them; the
// documents, some kilobytes each, live apart so that no search reads them. Name searches use a
// trigram index of the folded names, which finds any part of three or more characters.
// The triggers keep the name index and the documents in step with the listing, also for rows that
// an administrator deletes with the sqlite3 tool.
constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS recipes ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " name TEXT NOT NULL,"
    " name_key TEXT NOT NULL,"
    " category TEXT NOT NULL,"
    " category_key TEXT NOT NULL,"
    " uploaded INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS documents (id INTEGER PRIMARY KEY, document BLOB NOT NULL);"
    "CREATE INDEX IF NOT EXISTS recipes_by_name ON recipes (name_key, id, uploaded, category_key, name);"
    "CREATE INDEX IF NOT EXISTS recipes_by_day ON recipes (uploaded);"
    "CREATE INDEX IF NOT EXISTS recipes_by_category ON recipes (category_key, uploaded);"
    "CREATE VIRTUAL TABLE IF NOT EXISTS recipe_names USING fts5("
    " name_key, content='recipes', content_rowid='id', tokenize='trigram case_sensitive 1');"
    "CREATE TRIGGER IF NOT EXISTS recipes_added AFTER INSERT ON recipes BEGIN"
    " INSERT INTO recipe_names (rowid, name_key) VALUES (new.id, new.name_key); END;"
    "CREATE TRIGGER IF NOT EXISTS recipes_removed AFTER DELETE ON recipes BEGIN"
    " INSERT INTO recipe_names (recipe_names, rowid, name_key) VALUES ('delete', old.id, old.name_key);"
    " DELETE FROM documents WHERE id = old.id; END;"
    "PRAGMA user_version = 2;";

// The first schema kept each document in its listing row and folded the keys by a rule that knew
// only a few scripts. Its rows move to the tables above, keys folded anew, ids and the id counter
// kept, so that no id is ever given out twice.
constexpr const char* kMigrateFirstSchema =
    "ALTER TABLE recipes RENAME TO recipes_first;"
    "DROP INDEX IF EXISTS recipes_uploaded;";
constexpr const char* kMoveFirstSchemaRows =
    "INSERT INTO recipes (id, name, name_key, category, category_key, uploaded)"
    " SELECT id, name, folded_key(name), category, folded_key(category), uploaded FROM recipes_first;"
    "INSERT INTO documents (id, document) SELECT id, document FROM recipes_first;"
    "DELETE FROM sqlite_sequence WHERE name = 'recipes';"
    "UPDATE sqlite_sequence SET name = 'recipes' WHERE name = 'recipes_first';"
    "DROP TABLE recipes_first;";

// The match keys hold the folded text as UTF-8, so that SQL compares them byte for byte with a
// folded query.
std::string Key(WStringView text) {
  return ToUtf8(FoldedText(text));
}

// Key() as the SQL function folded_key(text), for moving rows of the first schema.
void FoldedKeyFunction(sqlite3_context* context, int, sqlite3_value** values) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
  const std::string key = Key(FromUtf8(text ? text : ""));
  sqlite3_result_text(context, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
}

// Unicode characters of a UTF-8 text.
size_t CharacterCount(const std::string& utf8) {
  size_t count = 0;
  for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// The trigram index finds any name part of three or more characters.
bool UsesTrigrams(const std::string& nameKey) {
  return CharacterCount(nameKey) >= 3;
}

// A name part as a phrase of the trigram index: quoted, so that every character is plain text.
std::string Phrase(const std::string& nameKey) {
  std::string phrase = "\"";
  for (char c : nameKey) phrase += c == '"' ? std::string("\"\"") : std::string(1, c);
  return phrase + "\"";
}

// The search's conditions as SQL: only those a query uses, so that SQLite picks the index that
// fits. No client text is part of them; the values are bound as parameters ?1 to ?3.
std::string Conditions(const RecipeQuery& query, const std::string& nameKey) {
  std::string sql = " WHERE uploaded >= ?1";
  if (!query.category.empty()) sql += " AND category_key = ?2";
  if (UsesTrigrams(nameKey)) {
    sql += " AND id IN (SELECT rowid FROM recipe_names WHERE recipe_names MATCH ?3)";
  } else if (!nameKey.empty()) {
    sql += " AND instr(name_key, ?3) > 0";
  }
  return sql;
}

// Below this many matching rows a search sorts what the filters find; from it on, reading the name
// index in order until the limit is reached is quicker.
constexpr int kFewRows = 4000;

// The two ways to a sorted listing: sort what the filters' own indexes find, or read the name index,
// which holds every listing field, in order and keep the rows that match.
std::string FindStatement(const std::string& conditions, bool sortFound) {
  return sortFound ? "SELECT id, name FROM recipes" + conditions + " ORDER BY +name_key, id LIMIT ?4"
                   : "SELECT id, name FROM recipes INDEXED BY recipes_by_name" + conditions +
                         " ORDER BY name_key, id LIMIT ?4";
}

// One prepared statement, finalized when it goes out of scope. Parameters are numbered from 1.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) { sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ok() const { return stmt_ != nullptr; }
  void Bind(int index, const std::string& text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void BindBlob(int index, const std::string& bytes) {
    sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  }
  void Bind(int index, int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
  bool Row() { return sqlite3_step(stmt_) == SQLITE_ROW; }
  bool Done() { return sqlite3_step(stmt_) == SQLITE_DONE; }
  int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
  std::string Bytes(int column) {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return data ? std::string(data, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// Runs SQL text; false with SQLite's message in `error`.
bool Execute(sqlite3* db, const char* sql, std::string& error) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  error = message ? message : sqlite3_errmsg(db);
  sqlite3_free(message);
  return false;
}

// True for a file of the first schema: a recipes table whose rows still hold the documents.
bool HasFirstSchema(sqlite3* db) {
  Statement column(db, "SELECT 1 FROM pragma_table_info('recipes') WHERE name = 'document'");
  return column.Ok() && column.Row();
}

// Brings the file to the current schema in one transaction: all of it or, on failure, nothing.
bool UpdateSchema(sqlite3* db, std::string& error) {
  if (!Execute(db, "BEGIN IMMEDIATE", error)) return false;
  const bool migrate = HasFirstSchema(db);
  bool ok = !migrate || Execute(db, kMigrateFirstSchema, error);
  ok = ok && Execute(db, kSchema, error);
  if (ok && migrate) {
    sqlite3_create_function(db, "folded_key", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            FoldedKeyFunction, nullptr, nullptr);
    ok = Execute(db, kMoveFirstSchemaRows, error);
  }
  std::string ignored;
  return ok ? Execute(db, "COMMIT", error) : (Execute(db, "ROLLBACK", ignored), false);
}

}  // namespace

RecipeStore::~RecipeStore() {
  sqlite3_close(db_);
}

bool RecipeStore::Open(const std::string& path, std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  sqlite3_close(db_);
  db_ = nullptr;
  std::string reason;
  bool ok =
      sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK;
  if (ok) {
    sqlite3_busy_timeout(db_, 5000);
    // The write-ahead log lets an upload commit without waiting for the disk; a crash of the
    // machine may lose the last uploads but never damages the file.
    // Searches read the listing and its indexes through a memory map and a large page cache rather
    // than a system call per page.
    ok = Execute(db_,
                 "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"
                 " PRAGMA mmap_size = 1073741824; PRAGMA cache_size = -65536;",
                 reason) &&
         UpdateSchema(db_, reason);
  } else {
    reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
  }
  if (!ok) {
    error = "cannot open the recipe database " + path + ": " + reason;
    sqlite3_close(db_);
    db_ = nullptr;
  }
  return ok;
}

int64_t RecipeStore::Add(const SharedRecipe& recipe, DayNumber day) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string error;
  if (!Execute(db_, "BEGIN", error)) return 0;
  Statement listing(db_,
                    "INSERT INTO recipes (name, name_key, category, category_key, uploaded)"
                    " VALUES (?, ?, ?, ?, ?)");
  Statement document(db_, "INSERT INTO documents (id, document) VALUES (?, ?)");
  int64_t id = 0;
  if (listing.Ok() && document.Ok()) {
    listing.Bind(1, ToUtf8(recipe.name));
    listing.Bind(2, Key(recipe.name));
    listing.Bind(3, ToUtf8(recipe.category));
    listing.Bind(4, Key(recipe.category));
    listing.Bind(5, static_cast<int64_t>(day));
    if (listing.Done()) id = sqlite3_last_insert_rowid(db_);
    document.Bind(1, id);
    document.BindBlob(2, Utf16Bytes(recipe.document));
  }
  if (id != 0 && document.Done() && Execute(db_, "COMMIT", error)) return id;
  Execute(db_, "ROLLBACK", error);
  return 0;
}

std::vector<RecipeListing> RecipeStore::Find(const RecipeQuery& query) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<RecipeListing> found;
  const std::string nameKey = Key(query.name);
  const std::string conditions = Conditions(query, nameKey);
  auto bind = [&](Statement& statement) {
    statement.Bind(1, static_cast<int64_t>(query.since));
    statement.Bind(2, Key(query.category));
    statement.Bind(3, UsesTrigrams(nameKey) ? Phrase(nameKey) : nameKey);
  };
  // A name part of three or more characters narrows best through the trigram index; a shorter one
  // has no index but is common, so the name index soon lists enough. How many rows a start date and
  // a category leave, SQLite cannot tell from bound values: a count stopped at kFewRows does.
  bool sortFound = UsesTrigrams(nameKey);
  if (nameKey.empty()) {
    Statement count(db_, "SELECT count(*) FROM (SELECT 1 FROM recipes" + conditions + " LIMIT " +
                             std::to_string(kFewRows) + ")");
    if (!count.Ok()) return found;
    bind(count);
    sortFound = count.Row() && count.Int(0) < kFewRows;
  }
  Statement select(db_, FindStatement(conditions, sortFound));
  if (!select.Ok()) return found;
  bind(select);
  select.Bind(4, static_cast<int64_t>(query.limit));
  while (select.Row()) found.push_back({select.Int(0), FromUtf8(select.Bytes(1))});
  return found;
}

std::optional<std::string> RecipeStore::Document(int64_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_, "SELECT document FROM documents WHERE id = ?");
  if (!select.Ok()) return std::nullopt;
  select.Bind(1, id);
  if (!select.Row()) return std::nullopt;
  return select.Bytes(0);
}
