#include "server/RecipeStore.h"

#include <sqlite3.h>

#include "server/ClientText.h"

namespace {

// The listing fields live in small rows, the documents, some kilobytes each, apart. The name index
// holds every listing field in the order of the searches, so that reading the listing into memory
// (see ListingIndex) is one pass over it. The trigger keeps the documents in step with the listing,
// also for rows that an administrator deletes with the sqlite3 tool.
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
    "CREATE TRIGGER IF NOT EXISTS recipes_deleted AFTER DELETE ON recipes BEGIN"
    " DELETE FROM documents WHERE id = old.id; END;"
    "PRAGMA user_version = 3;";

// The second schema searched the database itself, through a trigram index of the folded names and
// indexes of the upload day and the category, which every upload had to update.
constexpr const char* kDropSecondSchemaIndexes =
    "DROP TRIGGER IF EXISTS recipes_added;"
    "DROP TRIGGER IF EXISTS recipes_removed;"
    "DROP TABLE IF EXISTS recipe_names;"
    "DROP INDEX IF EXISTS recipes_by_day;"
    "DROP INDEX IF EXISTS recipes_by_category;";

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

// The match keys hold the folded text as UTF-8, which searches compare byte for byte with a folded
// query.
std::string Key(WStringView text) {
  return ToUtf8(FoldedText(text));
}

// Key() as the SQL function folded_key(text), for moving rows of the first schema.
void FoldedKeyFunction(sqlite3_context* context, int, sqlite3_value** values) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
  const std::string key = Key(FromUtf8(text ? text : ""));
  sqlite3_result_text(context, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
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
  bool Row() { return (result_ = sqlite3_step(stmt_)) == SQLITE_ROW; }
  bool Done() { return (result_ = sqlite3_step(stmt_)) == SQLITE_DONE; }
  // True when the last step came to the end of the rows rather than to an error.
  bool Finished() const { return result_ == SQLITE_DONE; }
  int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
  std::string Bytes(int column) {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return data ? std::string(data, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int result_ = SQLITE_OK;
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
  ok = ok && Execute(db, kDropSecondSchemaIndexes, error) && Execute(db, kSchema, error);
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
  listingsVersion_.reset();
  std::string reason;
  bool ok =
      sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK;
  if (ok) {
    sqlite3_busy_timeout(db_, 5000);
    // The write-ahead log lets an upload commit without waiting for the disk; a crash of the
    // machine may lose the last uploads but never damages the file.
    // Documents are read through a memory map and a large page cache rather than a system call per
    // page.
    ok = Execute(db_,
                 "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"
                 " PRAGMA mmap_size = 1073741824; PRAGMA cache_size = -65536;",
                 reason) &&
         UpdateSchema(db_, reason);
    if (ok && !ReadListingsIfChanged()) {
      reason = sqlite3_errmsg(db_);
      ok = false;
    }
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
  const std::string nameKey = Key(recipe.name), categoryKey = Key(recipe.category);
  int64_t id = 0;
  if (listing.Ok() && document.Ok()) {
    listing.Bind(1, ToUtf8(recipe.name));
    listing.Bind(2, nameKey);
    listing.Bind(3, ToUtf8(recipe.category));
    listing.Bind(4, categoryKey);
    listing.Bind(5, static_cast<int64_t>(day));
    if (listing.Done()) id = sqlite3_last_insert_rowid(db_);
    document.Bind(1, id);
    document.BindBlob(2, Utf16Bytes(recipe.document));
  }
  if (id != 0 && document.Done() && Execute(db_, "COMMIT", error)) {
    listings_.Add(id, recipe.name, nameKey, categoryKey, day);
    return id;
  }
  Execute(db_, "ROLLBACK", error);
  return 0;
}

// The data version changes when another connection commits, never for this connection's own
// commits, whose rows Add puts into the listings itself. It is read before the rows, so a commit
// between the two only leads to another reading at the next search.
bool RecipeStore::ReadListingsIfChanged() {
  Statement version(db_, "PRAGMA data_version");
  if (!version.Ok() || !version.Row()) return false;
  const int64_t current = version.Int(0);
  if (listingsVersion_ == current) return true;
  listingsVersion_.reset();
  listings_.Clear();
  Statement rows(db_, "SELECT id, name, name_key, category_key, uploaded FROM recipes ORDER BY name_key, id");
  if (!rows.Ok()) return false;
  while (rows.Row()) {
    listings_.Add(rows.Int(0), FromUtf8(rows.Bytes(1)), rows.Bytes(2), rows.Bytes(3),
                  static_cast<DayNumber>(rows.Int(4)));
  }
  if (!rows.Finished()) return false;
  listingsVersion_ = current;
  return true;
}

std::vector<RecipeListing> RecipeStore::Find(const RecipeQuery& query) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!ReadListingsIfChanged()) return {};
  ListingFilter filter;
  filter.since = query.since;
  if (!query.category.empty()) filter.categoryKey = Key(query.category);
  filter.namePart = Key(query.name);
  filter.limit = query.limit;
  return listings_.Find(filter);
}

std::optional<std::string> RecipeStore::Document(int64_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_, "SELECT document FROM documents WHERE id = ?");
  if (!select.Ok()) return std::nullopt;
  select.Bind(1, id);
  if (!select.Row()) return std::nullopt;
  return select.Bytes(0);
}
