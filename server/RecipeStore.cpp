#include "server/RecipeStore.h"

#include <sqlite3.h>

#include "server/ClientText.h"

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS recipes ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " name TEXT NOT NULL,"
    " name_key TEXT NOT NULL,"
    " category TEXT NOT NULL,"
    " category_key TEXT NOT NULL,"
    " uploaded INTEGER NOT NULL,"
    " document BLOB NOT NULL);"
    "CREATE INDEX IF NOT EXISTS recipes_uploaded ON recipes (uploaded);";

// The match keys hold the folded text, so that SQL compares them unit for unit with a folded query
// by the program's case rule rather than SQLite's ASCII-only one.
std::string Key(WStringView text) {
  return ToUtf8(FoldedText(text));
}

// One prepared statement, finalized when it goes out of scope. Parameters are numbered from 1.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
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

}  // namespace

RecipeStore::~RecipeStore() {
  sqlite3_close(db_);
}

bool RecipeStore::Open(const std::string& path, std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  sqlite3_close(db_);
  db_ = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  char* message = nullptr;
  if (rc == SQLITE_OK) sqlite3_busy_timeout(db_, 5000);
  if (rc != SQLITE_OK || sqlite3_exec(db_, kSchema, nullptr, nullptr, &message) != SQLITE_OK) {
    error = "cannot open the recipe database " + path + ": " + (message ? message : sqlite3_errmsg(db_));
    sqlite3_free(message);
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  return true;
}

int64_t RecipeStore::Add(const SharedRecipe& recipe, DayNumber day) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement insert(db_,
                   "INSERT INTO recipes (name, name_key, category, category_key, uploaded, document)"
                   " VALUES (?, ?, ?, ?, ?, ?)");
  if (!insert.Ok()) return 0;
  insert.Bind(1, ToUtf8(recipe.name));
  insert.Bind(2, Key(recipe.name));
  insert.Bind(3, ToUtf8(recipe.category));
  insert.Bind(4, Key(recipe.category));
  insert.Bind(5, static_cast<int64_t>(day));
  insert.BindBlob(6, Utf16Bytes(recipe.document));
  return insert.Done() ? sqlite3_last_insert_rowid(db_) : 0;
}

std::vector<RecipeListing> RecipeStore::Find(const RecipeQuery& query) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<RecipeListing> found;
  // instr() rather than LIKE: "%" and "_" in a searched name are letters, not patterns.
  Statement select(db_,
                   "SELECT id, name FROM recipes WHERE uploaded >= ?1"
                   " AND (?2 = '' OR category_key = ?2) AND (?3 = '' OR instr(name_key, ?3) > 0)"
                   " ORDER BY name_key, id LIMIT ?4");
  if (!select.Ok()) return found;
  select.Bind(1, static_cast<int64_t>(query.since));
  select.Bind(2, Key(query.category));
  select.Bind(3, Key(query.name));
  select.Bind(4, static_cast<int64_t>(query.limit));
  while (select.Row()) found.push_back({select.Int(0), FromUtf8(select.Bytes(1))});
  return found;
}

std::optional<std::string> RecipeStore::Document(int64_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_, "SELECT document FROM recipes WHERE id = ?");
  if (!select.Ok()) return std::nullopt;
  select.Bind(1, id);
  if (!select.Row()) return std::nullopt;
  return select.Bytes(0);
}
