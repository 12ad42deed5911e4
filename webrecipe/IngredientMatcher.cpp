#include "webrecipe/IngredientMatcher.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "webrecipe/RecipeText.h"

namespace {

// Words that join others, and words every food may carry ("raw", "fresh"): never compared.
constexpr const char* kStopWords[] = {"a",    "an",   "and", "or",   "of",    "the", "with",  "without",
                                      "in",   "for",  "to",  "from", "by",    "on",  "at",    "as",
                                      "into", "plus", "per", "w",    "about", "raw", "fresh", "freshly"};

// Words that say how an ingredient is cut, sized, bought or kept rather than what it is.
constexpr const char* kQualifiers[] = {
    "large",    "medium",     "small",   "big",      "extra",    "jumbo",       "chopped",  "minced",
    "diced",    "sliced",     "grated",  "shredded", "crushed",  "ground",      "peeled",   "softened",
    "melted",   "packed",     "fine",    "finely",   "coarse",   "coarsely",    "kosher",   "unsalted",
    "salted",   "granulated", "all",     "purpose",  "plain",    "organic",     "boneless", "skinless",
    "lean",     "thin",       "thinly",  "thick",    "room",     "temperature", "cold",     "warm",
    "hot",      "dry",        "dried",   "can",      "tin",      "jar",         "package",  "packet",
    "bottle",   "stick",      "heaping", "level",    "optional", "taste",       "garnish",  "divided",
    "cut",      "piece",      "inch",    "cube",     "cooked",   "uncooked",    "frozen",   "canned",
    "prepared", "style",      "ripe",    "trimmed",  "rinsed",   "drained",     "halved",   "quartered",
    "roughly",  "toasted",    "beaten",  "sifted",   "cubed",    "whisked",     "pitted",   "seeded",
    "deveined", "virgin",     "pure",    "sharp",    "mild"};

// Size words that mean one size: a recipe's "large onion" is the catalog's "Onion, big".
constexpr std::pair<const char*, const char*> kSameSize[] = {
    {"large", "big"}, {"jumbo", "big"}, {"little", "small"}};

// Plurals whose singular the suffix rules miss.
constexpr std::pair<const char*, const char*> kIrregular[] = {
    {"leaves", "leaf"}, {"halves", "half"},     {"loaves", "loaf"},     {"knives", "knife"},
    {"calves", "calf"}, {"potatoes", "potato"}, {"tomatoes", "tomato"}, {"mangoes", "mango"}};

constexpr double kQualifierShare = 0.2;
// The words before an entry's first comma name its food ("Milk, whole"): they weigh double in it.
constexpr float kHeadShare = 2;
// Word matches score below an equal name's 1.
constexpr double kWordMatchCeiling = 0.99;
constexpr size_t kNone = static_cast<size_t>(-1);

template <size_t N>
bool ListHas(const char* const (&list)[N], const std::string& word) {
  return std::any_of(std::begin(list), std::end(list), [&](const char* w) { return word == w; });
}

bool EndsWith(const std::string& word, std::string_view end) {
  return word.size() >= end.size() && word.compare(word.size() - end.size(), end.size(), end) == 0;
}

// The singular of an English plural, as far as simple rules give it; a final "y" of a longer word
// turns "i", so "cherry" and "cherries" meet.
std::string Stem(std::string word) {
  for (const auto& irregular : kIrregular)
    if (word == irregular.first) return irregular.second;
  if (word.size() > 3) {
    if (EndsWith(word, "ies")) {
      word.replace(word.size() - 3, 3, "i");
    } else if (EndsWith(word, "oes") || EndsWith(word, "sses") || EndsWith(word, "ches") ||
               EndsWith(word, "shes") || EndsWith(word, "xes") || EndsWith(word, "zes")) {
      word.resize(word.size() - 2);
    } else if (EndsWith(word, "s") && !EndsWith(word, "ss") && !EndsWith(word, "us") &&
               !EndsWith(word, "is")) {
      word.pop_back();
    }
  }
  if (word.size() > 4 && word.back() == 'y') word.back() = 'i';
  return word;
}

// Code points that are part of words: ASCII letters and digits, and the letters from U+00C0 on
// apart from the multiplication and division signs and the punctuation and symbol blocks.
bool IsWordCodePoint(uint32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
  return !(c >= 0x2000 && c <= 0x2BFF) && !(c >= 0x3000 && c <= 0x303F);
}

// Apostrophes and the acute accent the catalogs put for quotes: "baker's" is one word.
bool IsApostrophe(uint32_t c) {
  return c == '\'' || c == 0x2019 || c == 0xB4;
}

std::string Folded(WStringView name) {
  WString folded(name);
  for (WChar& c : folded) c = FoldCase(c);
  return ToUtf8(folded);
}

// The words as MatchWords gives them; headCount tells how many stand before the first comma (all
// when there is none).
std::vector<std::string> WordsOf(WStringView name, size_t& headCount) {
  const std::string text = Folded(name);
  std::vector<std::string> words;
  std::string word;
  headCount = kNone;
  const auto take = [&] {
    const bool number = word.find_first_not_of("0123456789") == std::string::npos;
    if (word.size() > 1 && !number) {
      std::string stem = Stem(word);
      for (const auto& [size, same] : kSameSize)
        if (stem == size) stem = same;
      if (!ListHas(kStopWords, stem) && std::find(words.begin(), words.end(), stem) == words.end())
        words.push_back(std::move(stem));
    }
    word.clear();
  };
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    const uint32_t c = NextCodePoint(text, i);
    if (IsWordCodePoint(c)) {
      word.append(text, start, i - start);
    } else if (!IsApostrophe(c)) {
      take();
      if (c == ',' && headCount == kNone) headCount = words.size();
    }
  }
  take();
  headCount = std::min(headCount, words.size());
  return words;
}

std::vector<std::string> Trigrams(const std::string& word) {
  const std::string padded = "$" + word + "$";
  std::vector<std::string> grams;
  for (size_t i = 0; i + 3 <= padded.size(); ++i) grams.push_back(padded.substr(i, 3));
  std::sort(grams.begin(), grams.end());
  grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
  return grams;
}

// Edits (insertions, deletions, changes, swaps of neighbours) that turn one word into the other.
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] =
          std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// How many edits a misspelling of a word of that length may have: one from 5 letters, two from 8.
// Below 7 letters the edit may only add or drop a letter ("chili", "chilli"): changing one often
// makes another food ("butter", "bitter").
size_t AllowedEdits(size_t length) {
  return length < 5 ? 0 : length < 8 ? 1 : 2;
}
bool AllowsChanges(size_t length) {
  return length >= 7;
}

// What a word match scores: the share of the name's word weight the entry has, and the share of
// the entry's the name has, the first weighing more (entries carry many words a recipe leaves out).
double Score(double nameCoverage, double entryCoverage) {
  return kWordMatchCeiling * std::pow(nameCoverage, 0.7) * std::pow(entryCoverage, 0.3);
}

}  // namespace

std::vector<std::string> MatchWords(WStringView name) {
  size_t headCount = 0;
  return WordsOf(name, headCount);
}

IngredientMatcher::IngredientMatcher(const std::vector<CatalogName>& catalog) {
  ids_.reserve(catalog.size());
  for (size_t entry = 0; entry < catalog.size(); ++entry) {
    ids_.push_back(catalog[entry].id);
    if (!catalog[entry].name.empty()) exact_.emplace(Folded(catalog[entry].name), entry);
    size_t headCount = 0;
    const std::vector<std::string> words = WordsOf(catalog[entry].name, headCount);
    for (size_t n = 0; n < words.size(); ++n) {
      const auto inserted = words_.emplace(words[n], static_cast<uint32_t>(wordTexts_.size()));
      if (inserted.second) {
        wordTexts_.push_back(words[n]);
        postings_.emplace_back();
        for (const std::string& gram : Trigrams(words[n])) trigrams_[gram].push_back(inserted.first->second);
      }
      postings_[inserted.first->second].push_back(
          {static_cast<uint32_t>(entry), n < headCount ? kHeadShare : 1});
    }
  }
  entryWeight_.assign(catalog.size(), 0);
  for (uint32_t word = 0; word < postings_.size(); ++word)
    for (const Posting& posting : postings_[word])
      entryWeight_[posting.entry] += WordWeight(word) * posting.share;
}

double IngredientMatcher::WordWeight(uint32_t word) const {
  const double rarity = std::log(1 + static_cast<double>(ids_.size()) / postings_[word].size());
  return ListHas(kQualifiers, wordTexts_[word]) ? rarity * kQualifierShare : rarity;
}

uint32_t IngredientMatcher::NearestWord(const std::string& word, double& likeness) const {
  likeness = 0;
  const size_t allowed = AllowedEdits(word.size());
  std::vector<uint32_t> candidates;
  for (const std::string& gram : Trigrams(word)) {
    const auto holders = trigrams_.find(gram);
    if (holders != trigrams_.end())
      candidates.insert(candidates.end(), holders->second.begin(), holders->second.end());
  }
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  uint32_t nearest = static_cast<uint32_t>(-1);
  size_t fewest = allowed + 1;
  for (const uint32_t other : candidates) {
    const std::string& text = wordTexts_[other];
    if (text.size() + allowed < word.size() || word.size() + allowed < text.size()) continue;
    if (!AllowsChanges(word.size()) && text.size() == word.size()) continue;
    const size_t edits = EditDistance(word, text);
    if (edits < fewest) {
      fewest = edits;
      nearest = other;
    }
  }
  // Each edit takes half a letter's share off the word.
  if (fewest <= allowed) likeness = 1 - 0.5 * fewest / std::max(word.size(), wordTexts_[nearest].size());
  return nearest;
}

std::vector<IngredientMatcher::Term> IngredientMatcher::QueryTerms(const std::vector<std::string>& words,
                                                                   double& total) const {
  std::vector<Term> terms;
  total = 0;
  const double unknownWeight = std::log(1 + static_cast<double>(ids_.size()));
  for (const std::string& word : words) {
    const auto known = words_.find(word);
    const bool qualifier = ListHas(kQualifiers, word);
    double likeness = 1;
    uint32_t id = known != words_.end() ? known->second : 0;
    if (known == words_.end() && !qualifier) id = NearestWord(word, likeness);
    if (known == words_.end() && (qualifier || likeness == 0)) {
      total += qualifier ? unknownWeight * kQualifierShare : unknownWeight;
      continue;
    }
    total += WordWeight(id);
    terms.push_back({id, WordWeight(id), likeness});
  }
  return terms;
}

std::optional<IngredientMatch> IngredientMatcher::Match(WStringView name) const {
  const auto exact = exact_.find(Folded(name));
  if (exact != exact_.end()) return IngredientMatch{ids_[exact->second], 1.0};
  double total = 0;
  const std::vector<Term> terms = QueryTerms(MatchWords(name), total);
  if (terms.empty() || total <= 0) return std::nullopt;
  std::vector<double> nameShare(ids_.size(), 0);   // of the name's weight, what the entry has
  std::vector<double> entryShare(ids_.size(), 0);  // of the entry's weight, what the name has
  std::vector<uint32_t> touched;
  for (const Term& term : terms) {
    for (const Posting& posting : postings_[term.id]) {
      if (nameShare[posting.entry] == 0) touched.push_back(posting.entry);
      nameShare[posting.entry] += term.weight * term.likeness;
      entryShare[posting.entry] += term.weight * term.likeness * posting.share;
    }
  }
  std::optional<IngredientMatch> best;
  size_t bestEntry = 0;
  for (const uint32_t entry : touched) {
    const double score =
        Score(nameShare[entry] / total, std::min(1.0, entryShare[entry] / entryWeight_[entry]));
    if (score < kThreshold) continue;
    if (!best || score > best->score || (score == best->score && entry < bestEntry)) {
      best = IngredientMatch{ids_[entry], score};
      bestEntry = entry;
    }
  }
  return best;
}
