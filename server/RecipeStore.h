#pragma once
// The shared recipes on disk: an SQLite file reached only through prepared statements, so no client
// text is ever part of an SQL command. Searches are answered from a copy of the listing fields in
// memory, which is read again when another connection (an administrator's sqlite3 tool) changed the
// file; the documents are kept apart. Opening a file of an earlier schema moves it to the current one.
// Safe to use from the server's worker threads.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "server/ListingIndex.h"
#include "server/SharedRecipe.h"
#include "storage/Text.h"

struct sqlite3;

struct RecipeQuery {
  DayNumber since = 0;  // uploaded on this day or later
  WString category;     // the category's name, any case; empty for every category
  WString name;         // part of the name, any case; empty for every name
  size_t limit = 1000;  // most rows listed
};

class RecipeStore {
 public:
  RecipeStore() = default;
  RecipeStore(const RecipeStore&) = delete;
  RecipeStore& operator=(const RecipeStore&) = delete;
  ~RecipeStore();

  // Opens or creates the database file; false with the reason in `error`.
  bool Open(const std::string& path, std::string& error);

  // Stores a recipe uploaded on `day`; its new id, or 0 when it could not be stored.
  int64_t Add(const SharedRecipe& recipe, DayNumber day);
  // The matching recipes ordered by name, without regard to case (see FoldedText).
  std::vector<RecipeListing> Find(const RecipeQuery& query);
  // The stored document as UTF-16LE bytes, or nothing for an unknown id.
  std::optional<std::string> Document(int64_t id);

 private:
  bool ReadListingsIfChanged();

  sqlite3* db_ = nullptr;
  std::mutex mutex_;
  ListingIndex listings_;
  std::optional<int64_t> listingsVersion_;  // the file's data version when listings_ was read
};
