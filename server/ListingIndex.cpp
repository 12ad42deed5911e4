#include "server/ListingIndex.h"

#include <algorithm>
#include <cstring>

namespace {

// Ends each folded name in the keys of a block. UTF-8 never uses it, so no part of a name can match
// across two names.
constexpr char kSeparator = '\xFF';

// A block holds kBlockSize to twice as many recipes: enough that a search spends its time scanning
// names, few enough that adding a recipe moves little and that the block's byte pairs stay sparse.
constexpr size_t kBlockSize = 256;

// A pair of adjacent bytes as one of the 4096 members of a block's set: the top 12 bits of the pair
// times a large odd number, so that pairs of letters, which differ in few bits, spread over the set.
size_t PairHash(char first, char second) {
  const uint32_t pair =
      static_cast<uint32_t>(static_cast<unsigned char>(first)) << 8 | static_cast<unsigned char>(second);
  return (pair * 0x9E3779B1u) >> 20;
}

}  // namespace

size_t FindPart(std::string_view text, std::string_view part) {
  // One byte is found by memchr; so is any part in a text of fewer than 16 places to try.
  if (part.size() < 2 || text.size() < part.size() + 16) return text.find(part);
  // Sixteen positions at a time, those where both the part's first and its last byte are in place
  // are candidates; only they are compared in full.
  using Bytes16 = unsigned char __attribute__((vector_size(16)));
  const Bytes16 first = Bytes16{} + static_cast<unsigned char>(part.front());  // the byte in every lane
  const Bytes16 last = Bytes16{} + static_cast<unsigned char>(part.back());
  const size_t starts = text.size() - part.size() + 1;  // positions where the part may start
  size_t at = 0;
  for (; at + 16 <= starts; at += 16) {
    Bytes16 head, tail;
    std::memcpy(&head, text.data() + at, 16);
    std::memcpy(&tail, text.data() + at + part.size() - 1, 16);
    const auto candidates = (head == first) & (tail == last);
    uint64_t lanes[2];
    std::memcpy(lanes, &candidates, 16);
    if ((lanes[0] | lanes[1]) == 0) continue;
    for (size_t lane = 0; lane < 16; ++lane) {
      if (candidates[lane] && text.compare(at + lane, part.size(), part) == 0) return at + lane;
    }
  }
  return text.find(part, at);
}

std::string_view ListingIndex::Block::Key(size_t i) const {
  const size_t end = (i + 1 < recipes.size() ? recipes[i + 1].keyStart : keys.size()) - 1;
  return std::string_view(keys).substr(recipes[i].keyStart, end - recipes[i].keyStart);
}

void ListingIndex::Block::Insert(size_t at, Tags recipeTags, Recipe recipe, std::string_view key) {
  recipe.keyStart = static_cast<uint32_t>(at < recipes.size() ? recipes[at].keyStart : keys.size());
  keys.insert(recipe.keyStart, std::string(key) + kSeparator);
  for (size_t i = at; i < recipes.size(); ++i) recipes[i].keyStart += static_cast<uint32_t>(key.size() + 1);
  recipes.insert(recipes.begin() + static_cast<std::ptrdiff_t>(at), std::move(recipe));
  tags.insert(tags.begin() + static_cast<std::ptrdiff_t>(at), recipeTags);
  AddPairs(key);
}

void ListingIndex::Block::AddPairs(std::string_view text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) pairs.set(PairHash(text[i], text[i + 1]));
}

void ListingIndex::Block::Find(const Selection& selection, std::string_view part, size_t limit,
                               std::vector<RecipeListing>& found) const {
  const size_t count = tags.size();
  size_t i = 0;
  while (found.size() < limit) {
    while (i < count && !selection.Passes(tags[i])) ++i;
    if (i == count) break;
    // Recipes i to end - 1 are selected and their names lie together: one scan finds the part in all
    // of them, and each match lists the recipe whose name holds it.
    size_t end = i + 1;
    while (end < count && selection.Passes(tags[end])) ++end;
    const size_t to = end < count ? recipes[end].keyStart : keys.size();
    size_t from = recipes[i].keyStart;
    while (found.size() < limit) {
      const size_t match = FindPart(std::string_view(keys).substr(from, to - from), part);
      if (match == std::string_view::npos) break;
      while (i + 1 < end && recipes[i + 1].keyStart <= from + match) ++i;
      found.push_back({recipes[i].id, recipes[i].name});
      if (++i == end) break;
      from = recipes[i].keyStart;
    }
    i = end;
  }
}

void ListingIndex::Clear() {
  blocks_.clear();
  categories_.clear();
}

void ListingIndex::Add(int64_t id, WString name, std::string_view nameKey, const std::string& categoryKey,
                       DayNumber uploaded) {
  const uint32_t category =
      categories_.emplace(categoryKey, static_cast<uint32_t>(categories_.size())).first->second;
  // Whether recipe i of a block comes after the new one: a later name, or the same name and a higher id.
  auto comesAfter = [&](const Block& block, size_t i) {
    const int order = block.Key(i).compare(nameKey);
    return order > 0 || (order == 0 && block.recipes[i].id > id);
  };
  if (blocks_.empty()) blocks_.emplace_back();
  // The recipe joins the first block whose last recipe comes after it, or else the last block.
  const auto block = std::partition_point(blocks_.begin(), blocks_.end() - 1, [&](const Block& candidate) {
    return !comesAfter(candidate, candidate.recipes.size() - 1);
  });
  size_t low = 0, high = block->recipes.size();
  while (low < high) {
    const size_t middle = (low + high) / 2;
    if (comesAfter(*block, middle)) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  block->Insert(low, Tags{uploaded, category}, Recipe{0, id, std::move(name)}, nameKey);
  if (block->recipes.size() == 2 * kBlockSize) Split(static_cast<size_t>(block - blocks_.begin()));
}

void ListingIndex::Split(size_t full) {
  Block& first = blocks_[full];
  Block second;
  const auto half = first.recipes.begin() + kBlockSize;
  const uint32_t cut = half->keyStart;
  second.recipes.assign(std::make_move_iterator(half), std::make_move_iterator(first.recipes.end()));
  second.tags.assign(first.tags.begin() + kBlockSize, first.tags.end());
  for (Recipe& recipe : second.recipes) recipe.keyStart -= cut;
  second.keys = first.keys.substr(cut);
  second.AddPairs(second.keys);
  first.recipes.erase(half, first.recipes.end());
  first.tags.resize(kBlockSize);
  first.keys.resize(cut);
  first.pairs.reset();
  first.AddPairs(first.keys);
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(full) + 1, std::move(second));
}

std::vector<RecipeListing> ListingIndex::Find(const ListingFilter& filter) const {
  std::vector<RecipeListing> found;
  Selection selection{filter.since, std::nullopt};
  if (filter.categoryKey) {
    const auto known = categories_.find(*filter.categoryKey);
    if (known == categories_.end()) return found;
    selection.category = known->second;
  }
  const std::string& part = filter.namePart;
  std::vector<size_t> partPairs;
  for (size_t i = 0; i + 1 < part.size(); ++i) partPairs.push_back(PairHash(part[i], part[i + 1]));
  for (const Block& block : blocks_) {
    if (found.size() >= filter.limit) break;
    const bool mayHold =
        std::all_of(partPairs.begin(), partPairs.end(), [&](size_t pair) { return block.pairs[pair]; });
    if (mayHold) block.Find(selection, part, filter.limit, found);
  }
  return found;
}
