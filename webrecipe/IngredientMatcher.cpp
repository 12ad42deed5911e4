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
    "large",      "medium",   "small",   "big",      "extra",       "jumbo",    "chopped",  "minced",
    "diced",      "sliced",   "grated",  "shredded", "crushed",     "peeled",   "softened", "melted",
    "packed",     "fine",     "finely",  "coarse",   "coarsely",    "kosher",   "unsalted", "salted",
    "granulated", "all",      "purpose", "plain",    "organic",     "boneless", "skinless", "lean",
    "thin",       "thinly",   "thick",   "room",     "temperature", "cold",     "warm",     "hot",
    "jar",        "rolled",   "light",   "package",  "packet",      "bottle",   "stick",    "heaping",
    "level",      "optional", "taste",   "garnish",  "divided",     "cut",      "piece",    "inch",
    "cube",       "uncooked", "style",   "ripe",     "trimmed",     "rinsed",   "drained",  "halved",
    "quartered",  "roughly",  "toasted", "beaten",   "sifted",      "cubed",    "whisked",  "pitted",
    "seeded",     "deveined", "virgin",  "pure",     "sharp",       "mild"};

// Size words that mean one size: a recipe's "large onion" is the catalog's "Onion, big".
constexpr std::pair<const char*, const char*> kSameSize[] = {
    {"large", "big"}, {"jumbo", "big"}, {"little", "small"}};

// Plurals whose singular the suffix rules miss.
constexpr std::pair<const char*, const char*> kIrregular[] = {
    {"leaves", "leaf"}, {"halves", "half"},     {"loaves", "loaf"},     {"knives", "knife"},
    {"calves", "calf"}, {"potatoes", "potato"}, {"tomatoes", "tomato"}, {"mangoes", "mango"}};

constexpr double kQualifierShare = 0.2;
// The words before an entry's first comma name its food ("Milk, whole"), those after the next its
// kind ("Oil, olive, salad or cooking"): they weigh double and half again in it.
constexpr float kPlaceShare[] = {2, 1.5, 1};
// The food a name names weighs double in it ("bitter butter" is butter first).
constexpr double kHeadShare = 2;
// Word matches score below an equal name's 1.
constexpr double kWordMatchCeiling = 0.99;
// A name the catalog gives the food otherwise ranks a little below the name as written.
constexpr double kOtherNameLikeness = 0.85;
constexpr double kFirstWordBonus = 1.1;
constexpr size_t kNone = static_cast<size_t>(-1);
constexpr uint32_t kNoWord = static_cast<uint32_t>(-1);

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

// Words that end the phrase before them ("Soy sauce made from soy", "Onions, spring or scallions"),
// as a comma or a bracket does.
constexpr const char* kPhraseEnds[] = {"and", "or", "with", "without", "from", "made", "in", "for", "plus"};

// What a food is bought or kept as: unlike other qualifiers they tell foods apart in full.
constexpr const char* kStates[] = {"dried",   "ground", "canned", "frozen", "cooked",     "boiled",
                                   "roasted", "smoked", "baked",  "fried",  "dehydrated", "stewed"};
// Words of a line that give a state in other words ("1 can chickpeas", "dry yeast").
constexpr std::pair<const char*, const char*> kSameState[] = {
    {"can", "canned"}, {"tin", "canned"}, {"tinned", "canned"}, {"dry", "dried"}};

// Nouns that name the form a food comes in: "Cumin seeds" is cumin as much as seeds.
constexpr const char* kForms[] = {"seed", "powder", "leaf", "nut", "fruit", "clove", "flake", "pod"};

// The catalogs' names for what recipes call otherwise; each phrase may stand for the others.
const std::vector<std::vector<std::string>> kSameFood = {
    {"cilantro", "coriander leaves"},
    {"garbanzo beans", "garbanzos", "chickpeas", "bengal gram", "chana"},
    {"bell pepper", "capsicum", "sweet pepper"},
    {"scallion", "spring onion", "green onion"},
};

// The catalogs' forms of a line's words: "Butter, without salt" is unsalted butter.
constexpr std::pair<const char*, const char*> kCatalogForms[] = {{"without salt", "unsalted"},
                                                                 {"with salt", "salted"}};

// Words a line asks for that the catalogs add to plain forms only: they choose the entry holding
// them ("plain yogurt" is "Yogurt, plain", not "Yogurt, chocolate").
constexpr const char* kAskedKinds[] = {"plain", "unsalted"};

// Words that make an entry another food than its first words say ("Sour cream, light", "Lemon,
// juice"): an entry holding one the line doesn't ask for ranks lower.
constexpr const char* kKindChangers[] = {"light",  "lite",      "low",       "reduced",
                                         "sodium", "chocolate", "imitation", "juice"};
constexpr double kChangedRank = 0.8;

// A word of a name: headOfPhrase when it is the food its phrase names (the last word of the phrase
// that is no qualifier, with the word before a form noun); firstPhrase for the words before the first
// comma, bracket or phrase end.
struct NameWord {
  std::string text;
  size_t segment;  // commas and brackets passed before it
  bool headOfPhrase;
  bool firstPhrase;
};

struct NameWords {
  std::vector<NameWord> words;
  bool joins = false;  // "and" or "&" joins two of its words ("salt and pepper")
};

// The word as compared: its singular, one word for one size or state.
std::string Normalised(const std::string& word) {
  std::string stem = Stem(word);
  for (const auto& [size, same] : kSameSize)
    if (stem == size) stem = same;
  for (const auto& [state, same] : kSameState)
    if (stem == state) stem = same;
  return stem;
}

bool IsQualifier(const std::string& word) {
  return ListHas(kQualifiers, word) || ListHas(kStates, word);
}

// Words that choose among the entries the food words allow rather than decide the food.
bool Chooses(const std::string& word) {
  return ListHas(kStates, word) || ListHas(kAskedKinds, word);
}

// Marks the head of the phrase of words[from...]: its last word that is no qualifier, and the word
// before that when it is a form noun.
void MarkHead(std::vector<NameWord>& words, size_t from) {
  bool looking = true;
  for (size_t n = words.size(); n > from && looking; --n) {
    if (IsQualifier(words[n - 1].text)) continue;
    words[n - 1].headOfPhrase = true;
    looking = ListHas(kForms, words[n - 1].text);
  }
}

// The folded name with the catalogs' forms of words put as a line writes them.
std::string WithLineForms(std::string text) {
  const auto isLetter = [&](size_t at) { return at < text.size() && text[at] >= 'a' && text[at] <= 'z'; };
  for (const auto& [form, word] : kCatalogForms) {
    const size_t length = std::string_view(form).size();
    for (size_t at = 0; (at = text.find(form, at)) != std::string::npos; ++at)
      if ((at == 0 || !isLetter(at - 1)) && !isLetter(at + length)) text.replace(at, length, word);
  }
  return text;
}

NameWords WordsOf(WStringView name) {
  const std::string text = WithLineForms(Folded(name));
  NameWords result;
  std::vector<NameWord>& words = result.words;
  std::string word;
  size_t segment = 0, phraseStart = 0;
  bool firstPhrase = true;
  const auto endPhrase = [&] {
    MarkHead(words, phraseStart);
    phraseStart = words.size();
    if (!words.empty()) firstPhrase = false;
  };
  const auto take = [&] {
    const bool number = word.find_first_not_of("0123456789") == std::string::npos;
    if (word.size() > 1 && !number) {
      const std::string stem = Normalised(word);
      if (ListHas(kPhraseEnds, stem)) {
        result.joins |= stem == "and" && !words.empty();
        endPhrase();
      } else if (!ListHas(kStopWords, stem)) {
        words.push_back({stem, segment, false, firstPhrase});
      }
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
      if (c == '&' && !words.empty()) result.joins = true;
      if (c == ',' || c == ';' || c == '(' || c == ')' || c == '/' || c == '&') {
        endPhrase();
        segment += c != '&';
      }
    }
  }
  take();
  endPhrase();
  // Each word once, where it first stands, a head if it is one anywhere.
  std::vector<NameWord> once;
  for (const NameWord& w : words) {
    const auto seen =
        std::find_if(once.begin(), once.end(), [&](const NameWord& o) { return o.text == w.text; });
    if (seen == once.end())
      once.push_back(w);
    else
      seen->headOfPhrase |= w.headOfPhrase;
  }
  words = std::move(once);
  return result;
}

// The name as written, then as each other name of its food the catalogs may use ("cilantro" as
// "coriander leaves"), in folded text; and the phrase of the name they replace.
struct SameFood {
  std::vector<WString> names;
  std::string phrase;
};

SameFood SameFoodNames(WStringView name) {
  WString folded(name);
  for (WChar& c : folded) c = FoldCase(c);
  SameFood same{{folded}, {}};
  std::vector<WString>& names = same.names;
  const auto isLetter = [](WChar c) { return (c >= 'a' && c <= 'z') || c >= 0xC0; };
  for (const auto& group : kSameFood) {
    for (const std::string& phrase : group) {
      const WString from = FromUtf8(phrase);
      const size_t at = folded.find(from);
      if (at == WString::npos || (at > 0 && isLetter(folded[at - 1]))) continue;
      // The phrase ends the word, or a plural ending does.
      const size_t end = at + from.size();
      size_t tail = end;
      while (tail < folded.size() && tail < end + 2 && (folded[tail] == 's' || folded[tail] == 'e')) ++tail;
      if (tail < folded.size() && isLetter(folded[tail])) continue;
      for (const std::string& other : group)
        if (other != phrase) names.push_back(folded.substr(0, at) + FromUtf8(other) + folded.substr(end));
      same.phrase = phrase;
      return same;
    }
  }
  return same;
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

// Two edits pass only for a letter doubled, dropped or put elsewhere ("cinammon"): changing letters
// twice turns one food into another ("chickpea", "chicken").
bool SameLetters(std::string a, std::string b) {
  for (std::string* word : {&a, &b}) {
    std::sort(word->begin(), word->end());
    word->erase(std::unique(word->begin(), word->end()), word->end());
  }
  return a == b;
}

// What a word match scores: the share of the name's word weight the entry has, and the share of
// the entry's the name has, the first weighing more (entries carry many words a recipe leaves out).
double Score(double nameCoverage, double entryCoverage) {
  return kWordMatchCeiling * std::pow(nameCoverage, 0.7) * std::pow(entryCoverage, 0.3);
}

}  // namespace

std::vector<std::string> MatchWords(WStringView name) {
  std::vector<std::string> texts;
  for (const NameWord& word : WordsOf(name).words) texts.push_back(word.text);
  return texts;
}

IngredientMatcher::IngredientMatcher(const std::vector<CatalogName>& catalog) {
  ids_.reserve(catalog.size());
  for (size_t entry = 0; entry < catalog.size(); ++entry) {
    ids_.push_back(catalog[entry].id);
    if (!catalog[entry].name.empty()) exact_.emplace(Folded(catalog[entry].name), entry);
    const NameWords words = WordsOf(catalog[entry].name);
    joins_.push_back(words.joins);
    changers_.push_back(
        static_cast<uint8_t>(std::count_if(words.words.begin(), words.words.end(), [](const NameWord& w) {
          return ListHas(kKindChangers, w.text);
        })));
    firstWord_.push_back(kNoWord);
    for (const NameWord& word : words.words) {
      const auto inserted = words_.emplace(word.text, static_cast<uint32_t>(wordTexts_.size()));
      const uint32_t id = inserted.first->second;
      if (inserted.second) {
        wordTexts_.push_back(word.text);
        postings_.emplace_back();
        foodWord_.push_back(false);
        for (const std::string& gram : Trigrams(word.text)) trigrams_[gram].push_back(id);
      }
      if (firstWord_.back() == kNoWord) firstWord_.back() = id;
      foodWord_[id] = foodWord_[id] || (word.firstPhrase && word.headOfPhrase && !ListHas(kForms, word.text));
      postings_[id].push_back(
          {static_cast<uint32_t>(entry), kPlaceShare[std::min<size_t>(word.segment, 2)], word.headOfPhrase});
    }
  }
  entryWeight_.assign(catalog.size(), 0);
  entryFoodWeight_.assign(catalog.size(), 0);
  for (uint32_t word = 0; word < postings_.size(); ++word) {
    const bool state = ListHas(kStates, wordTexts_[word]);
    for (const Posting& posting : postings_[word]) {
      entryWeight_[posting.entry] += WordWeight(word) * posting.share;
      if (!state) entryFoodWeight_[posting.entry] += WordWeight(word) * posting.share;
    }
  }
}

double IngredientMatcher::WordWeight(uint32_t word) const {
  if (ListHas(kStates, wordTexts_[word])) return UnknownWeight(wordTexts_[word]);
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
    if (edits < fewest && (edits < 2 || SameLetters(word, text))) {
      fewest = edits;
      nearest = other;
    }
  }
  // Each edit takes half a letter's share off the word.
  if (fewest <= allowed) likeness = 1 - 0.5 * fewest / std::max(word.size(), wordTexts_[nearest].size());
  return nearest;
}

std::optional<size_t> IngredientMatcher::ExactEntry(WStringView name, WStringView line) const {
  const std::string folded = Folded(name);
  const auto exact = exact_.find(folded);
  if (exact != exact_.end()) return exact->second;
  // The line may go on with the qualifiers a name of the catalog has ("carrot, orange").
  const std::string text = Folded(line);
  const size_t at = folded.empty() ? std::string::npos : text.find(folded);
  if (at == std::string::npos) return std::nullopt;
  for (size_t end = at + folded.size(); end < text.size() && text[end] == ',';) {
    end = std::min(text.find(',', end + 1), text.size());
    const size_t last = text.find_last_not_of(' ', end - 1);
    const auto longer = exact_.find(text.substr(at, last + 1 - at));
    if (longer != exact_.end()) return longer->second;
  }
  return std::nullopt;
}

IngredientMatcher::Query IngredientMatcher::QueryTerms(WStringView name, WStringView line) const {
  NameWords words = WordsOf(name);
  // States the line gives outside the name ("1 can chickpeas") count as the name's.
  for (NameWord& word : WordsOf(line).words)
    if (ListHas(kStates, word.text) && std::none_of(words.words.begin(), words.words.end(),
                                                    [&](const NameWord& w) { return w.text == word.text; }))
      words.words.push_back({word.text, 0, false, false});
  Query query{{}, words.joins};
  for (const NameWord& word : words.words) {
    const auto known = words_.find(word.text);
    Term term{0, 0, 1, word.firstPhrase && word.headOfPhrase, Chooses(word.text), false};
    if (known != words_.end())
      term.id = known->second;
    else if (!IsQualifier(word.text))
      term.id = NearestWord(word.text, term.likeness);
    else
      term.likeness = 0;
    // A word the line asks for weighs in full in the line only: an entry holding it is no less plain.
    term.weight = term.likeness > 0 && !ListHas(kAskedKinds, word.text) ? WordWeight(term.id)
                                                                        : UnknownWeight(word.text);
    if (term.head) term.weight *= kHeadShare;
    term.required = term.likeness > 0 && !term.head && foodWord_[term.id];
    query.terms.push_back(term);
  }
  return query;
}

double IngredientMatcher::UnknownWeight(const std::string& word) const {
  const double rarity = std::log(1 + static_cast<double>(ids_.size()));
  return IsQualifier(word) && !Chooses(word) ? rarity * kQualifierShare : rarity;
}

std::optional<IngredientMatch> IngredientMatcher::Match(WStringView name, WStringView line) const {
  if (const std::optional<size_t> exact = ExactEntry(name, line)) return IngredientMatch{ids_[*exact], 1.0};
  std::optional<IngredientMatch> best;
  double bestRank = 0;
  size_t bestEntry = 0;
  // The catalog's other names of a food serve where the name as written finds less.
  const SameFood same = SameFoodNames(name);
  Consider(QueryTerms(same.names[0], line), 1, best, bestRank, bestEntry);
  // The entry naming the line's own word beats any reached through another name ("Onions, spring or
  // scallions" for "scallions", not "Onions, young green").
  if (best && Holds(bestEntry, same.phrase)) return best;
  for (size_t other = 1; other < same.names.size(); ++other)
    Consider(QueryTerms(same.names[other], line), kOtherNameLikeness, best, bestRank, bestEntry);
  return best;
}

bool IngredientMatcher::Holds(size_t entry, const std::string& phrase) const {
  const std::vector<std::string> words = MatchWords(FromUtf8(phrase));
  return std::all_of(words.begin(), words.end(), [&](const std::string& word) {
    const auto known = words_.find(word);
    return known != words_.end() &&
           std::any_of(postings_[known->second].begin(), postings_[known->second].end(),
                       [&](const Posting& p) { return p.entry == entry; });
  });
}

void IngredientMatcher::Consider(const Query& query, double likeness, std::optional<IngredientMatch>& best,
                                 double& bestRank, size_t& bestEntry) const {
  const std::vector<Term>& terms = query.terms;
  double total = 0, foodTotal = 0;
  size_t required = 0;
  for (const Term& term : terms) {
    total += term.weight;
    if (!term.state) foodTotal += term.weight;
    required += term.required;
  }
  if (foodTotal <= 0) return;
  struct Tally {
    double name = 0, food = 0, entry = 0, entryFood = 0;
    size_t required = 0, changers = 0;
    bool head = false;
    bool first = false;  // the entry's first word is the name's food
  };
  std::unordered_map<uint32_t, Tally> tallies;
  for (const Term& term : terms) {
    if (term.likeness == 0) continue;
    const bool changer = ListHas(kKindChangers, wordTexts_[term.id]);
    for (const Posting& posting : postings_[term.id]) {
      Tally& tally = tallies[posting.entry];
      // The name's food weighs double in the name only.
      const double brought = term.weight * term.likeness,
                   held = WordWeight(term.id) * term.likeness * posting.share;
      tally.name += brought;
      tally.entry += held;
      if (!term.state) {
        tally.food += brought;
        tally.entryFood += held;
      }
      tally.required += term.required;
      tally.changers += changer;
      tally.head |= term.head && posting.head;
      tally.first |= term.head && firstWord_[posting.entry] == term.id;
    }
  }
  for (const auto& [entry, tally] : tallies) {
    // The line's food must be the entry's ("coconut milk" is no coconut), and every other food the
    // line names must be in it ("almond milk" is no milk); a line joining two foods is one only in
    // an entry joining them too.
    if (!tally.head || tally.required < required || (query.joins && !joins_[entry])) continue;
    if (entryFoodWeight_[entry] <= 0) continue;
    const double score =
        Score(tally.food / foodTotal, std::min(1.0, tally.entryFood / entryFoodWeight_[entry]));
    if (score < kThreshold) continue;
    // States and the kinds a line asks for count in choosing among the entries the food words
    // allow: a line naming none takes the entry naming none; one whose name starts with the food
    // is that food plainly ("Yogurt, plain", not "Tofu yogurt"), one holding a word that makes it
    // another food the line doesn't ask for is less so.
    const double rank = Score(tally.name / total, std::min(1.0, tally.entry / entryWeight_[entry])) *
                        likeness * (tally.first ? kFirstWordBonus : 1) *
                        (changers_[entry] > tally.changers ? kChangedRank : 1);
    if (!best || rank > bestRank || (rank == bestRank && entry < bestEntry)) {
      best = IngredientMatch{ids_[entry], score};
      bestRank = rank;
      bestEntry = entry;
    }
  }
}
