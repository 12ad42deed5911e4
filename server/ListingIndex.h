#pragma once
// The listing fields of every stored recipe, held in memory in the order searches list them: by
// folded name, then by id. The index is cut into blocks of consecutive recipes whose folded names lie
// one after another in one buffer, so that a search for a part of a name is one quick pass over each
// block and stops as soon as enough recipes are listed. Each block also knows which pairs of bytes its
// names hold: a part with a pair that a block lacks skips the block unread. A part of one or two
// letters, which no index of the database narrows, so costs no more than a longer one; adding a recipe
// moves the contents of one block only.
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "storage/Text.h"

// A day as the number yyyymmdd, so that days compare as numbers; 0 stands before every day.
using DayNumber = int32_t;

struct RecipeListing {
  int64_t id;
  WString name;
};

// What a search of the index lists; the keys are folded text as UTF-8 (see FoldedText).
struct ListingFilter {
  DayNumber since = 0;                     // uploaded on this day or later
  std::optional<std::string> categoryKey;  // only this category; nothing for every category
  std::string namePart;                    // part of the folded name; empty for every name
  size_t limit = 1000;                     // most rows listed
};

class ListingIndex {
 public:
  void Clear();
  // Adds a recipe in its place in the order.
  void Add(int64_t id, WString name, std::string_view nameKey, const std::string& categoryKey,
           DayNumber uploaded);
  // The first recipes in the order that pass the filter.
  std::vector<RecipeListing> Find(const ListingFilter& filter) const;

 private:
  // The fields a filter reads, kept apart from the rest so that filtering reads little memory.
  struct Tags {
    DayNumber uploaded;
    uint32_t category;  // the number categories_ gives the category
  };
  struct Recipe {
    uint32_t keyStart;  // where its folded name starts in the keys of its block
    int64_t id;
    WString name;
  };
  // A filter's day and category, the category as the number categories_ gives it.
  struct Selection {
    DayNumber since;
    std::optional<uint32_t> category;
    bool Passes(const Tags& tags) const {
      return tags.uploaded >= since && (!category || tags.category == *category);
    }
  };
  // Pairs of adjacent bytes, hashed to 12 bits: a set of them stays sparse for a block's names.
  using BytePairs = std::bitset<4096>;
  struct Block {
    std::vector<Tags> tags;  // one per recipe
    std::vector<Recipe> recipes;
    std::string keys;  // each folded name followed by a byte that UTF-8 never uses
    BytePairs pairs;   // every pair of adjacent bytes in keys

    std::string_view Key(size_t i) const;
    void Insert(size_t at, Tags recipeTags, Recipe recipe, std::string_view key);
    void AddPairs(std::string_view text);
    // Adds to `found` this block's recipes of the selection whose names hold `part`, in order,
    // until `found` holds `limit` rows.
    void Find(const Selection& selection, std::string_view part, size_t limit,
              std::vector<RecipeListing>& found) const;
  };
  void Split(size_t block);

  std::vector<Block> blocks_;
  std::unordered_map<std::string, uint32_t> categories_;
};

// The first position of `part` in `text`, or npos: std::string_view::find, but many times quicker
// for a part of two or more bytes over a long text.
size_t FindPart(std::string_view text, std::string_view part);
