#include "server/ListingIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Texts of `length` bytes drawn from `alphabet`, so that parts and near misses are frequent.
std::string RandomText(std::mt19937& random, const std::string& alphabet, size_t length) {
  std::string text;
  for (size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
  return text;
}

struct Stored {
  int64_t id;
  std::string key, category;
  DayNumber uploaded;
};

// What the index must list: every stored recipe that passes, by key and then id, at most `limit`.
std::vector<int64_t> Expected(std::vector<Stored> stored, const ListingFilter& filter) {
  std::sort(stored.begin(), stored.end(),
            [](const Stored& a, const Stored& b) { return std::tie(a.key, a.id) < std::tie(b.key, b.id); });
  std::vector<int64_t> ids;
  for (const Stored& recipe : stored) {
    if (ids.size() == filter.limit) break;
    if (recipe.uploaded >= filter.since && (!filter.categoryKey || recipe.category == *filter.categoryKey) &&
        recipe.key.find(filter.namePart) != std::string::npos) {
      ids.push_back(recipe.id);
    }
  }
  return ids;
}

// The ids the index lists; each recipe is added with its id as its name, which must come back as stored.
std::vector<int64_t> Ids(const ListingIndex& index, const ListingFilter& filter) {
  std::vector<int64_t> ids;
  for (const RecipeListing& row : index.Find(filter)) {
    ids.push_back(row.id);
    EXPECT_EQ(FromAscii(std::to_string(row.id)), row.name);
  }
  return ids;
}

ListingFilter Filter(const std::string& part, DayNumber since = 0, std::optional<std::string> category = {},
                     size_t limit = 1000) {
  return ListingFilter{since, std::move(category), part, limit};
}

}  // namespace

TEST(FindPart, FindsWhatStringFindFinds) {
  const std::string block(16, 'a');
  // Places around the blocks of 16 bytes the search scans; the random texts below cover empty texts and
  // parts, parts longer than the text, misses and near misses.
  const std::pair<std::string, std::string> cases[] = {
      {block + "ts", "ts"},                             // at the very end
      {block + "t", "ts"},                              // cut off at the end
      {"ts" + block, "ts"},                             // at the start
      {std::string(15, 'x') + "ts" + block, "ts"},      // across two blocks of 16
      {std::string(14, 'x') + "abcd" + block, "abcd"},  // first and last byte in different blocks
      {block + "soup 1\3772 pie", "1\3772"},            // the separator is a byte like any other here
      {std::string(40, 'a') + "b", std::string(20, 'a') + "b"},  // a part longer than a block
  };
  for (const auto& [text, part] : cases) {
    EXPECT_EQ(std::string_view(text).find(part), FindPart(text, part))
        << "\"" << text << "\" / \"" << part << "\"";
  }
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = RandomText(random, "abc\xFF", random() % 80);
    const std::string part = RandomText(random, "abc", 1 + random() % 5);
    ASSERT_EQ(std::string_view(text).find(part), FindPart(text, part)) << text << " / " << part;
  }
}

TEST(ListingIndex, ListsWhatAFullScanListsInNameOrder) {
  // Enough recipes for several blocks, added out of order so that each lands within a block and
  // blocks split; keys repeat, so the id decides their order.
  std::mt19937 random(11);
  std::vector<Stored> stored;
  const std::string omega = "\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 ";  // ωμέγα
  const std::string categories[] = {"soups", "pies", "\xCF\x83\xCE\xBF\xCF\x8D\xCF\x80\xCE\xB5\xCF\x82"};
  for (int64_t id = 1; id <= 3000; ++id) {
    std::string key = RandomText(random, "abcdefgh ", 1 + random() % 12);
    if (id % 10 == 0) key = omega + key;
    if (id % 50 == 0) key = stored[random() % stored.size()].key;
    if (id % 333 == 0) key.clear();
    stored.push_back({id, key, categories[random() % 3], static_cast<DayNumber>(20240101 + random() % 28)});
  }
  ListingIndex index;
  std::vector<Stored> order = stored;
  std::shuffle(order.begin(), order.end(), random);
  for (const Stored& recipe : order) {
    index.Add(recipe.id, FromAscii(std::to_string(recipe.id)), recipe.key, recipe.category, recipe.uploaded);
  }
  // Also parts of ω and έγ, and ωμέγα in a category of Greek letters.
  // clang-format off
  const ListingFilter filters[] = {
      Filter(""), Filter("", 0, {}, 0), Filter("", 0, {}, 1), Filter("", 20240127, "soups", 7),
      Filter("", 0, "stews"), Filter("h", 20240125), Filter("ha", 0, "pies"),
      Filter("gh", 20240115, "soups", 5),
      Filter("abc"), Filter("zz"), Filter(omega.substr(4, 4)), Filter(omega, 0, categories[2]),
      Filter("\xCE\xB1 a", 20240110, {}, 20), Filter(" ", 0, {}, 3000)};
  // clang-format on
  for (const ListingFilter& filter : filters) {
    EXPECT_EQ(Expected(stored, filter), Ids(index, filter))
        << "part \"" << filter.namePart << "\" since " << filter.since << " category "
        << filter.categoryKey.value_or("(any)") << " limit " << filter.limit;
  }
  index.Clear();
  EXPECT_EQ(std::vector<int64_t>{}, Ids(index, Filter("")));
}

TEST(ListingIndex, FindsEachNameByAPairOfLettersOfItsOwnWhereverItWasAdded) {
  // Each name holds one pair of letters that no other name holds, so that every other block is
  // skipped by its letter pairs; the recipes are added in name order, as reading the database does,
  // and backwards, so that each lands before all others and the blocks split at their fronts.
  const std::string letters = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::vector<std::string> keys;
  for (char first : letters) {
    for (char second : letters) keys.push_back(std::string("-") + first + second);
  }
  ListingIndex inOrder, backwards;
  for (size_t n = 0, back = keys.size() - 1; n < keys.size(); ++n, --back) {
    inOrder.Add(static_cast<int64_t>(n + 1), FromAscii(std::to_string(n + 1)), keys[n], "soups", 20240301);
    backwards.Add(static_cast<int64_t>(back + 1), FromAscii(std::to_string(back + 1)), keys[back], "soups",
                  20240301);
  }
  for (size_t n = 0; n < keys.size(); ++n) {
    const std::vector<int64_t> expected{static_cast<int64_t>(n + 1)};
    EXPECT_EQ(expected, Ids(inOrder, Filter(keys[n].substr(1)))) << keys[n];
    EXPECT_EQ(expected, Ids(backwards, Filter(keys[n].substr(1)))) << keys[n];
  }
}
