#pragma once
// Finds the catalog ingredient an imported ingredient name means: the name equal to it ignoring
// case, else the entry sharing the most telling words. Words are lowered, their plurals reduced
// ("tomatoes", "cloves", "berries"), joining words and "raw"/"fresh" dropped, and weighted by how rare
// they are in the catalog (inverse document frequency), so "garlic" tells more than "whole"; words
// such as "large", "chopped" or "kosher" weigh a fifth ("large", "jumbo" and "big" are one size word,
// "little" and "small" another). The words before an entry's first comma
// ("Milk" in "Milk, whole") name its food and weigh double in it. A word the catalog lacks counts as
// the catalog word one edit away, a little less for the edit ("tumeric" as "turmeric"): from 8
// letters two edits, below 7 only a letter added or dropped ("chili" as "chilli"), below 5 none.
// Candidates come from an index of the words' letter triples.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/Text.h"

struct CatalogName {
  uint32_t id;
  WString name;
};

struct IngredientMatch {
  uint32_t id;
  double score;  // 1 for a name equal ignoring case, else from kThreshold to 0.99
};

class IngredientMatcher {
 public:
  // The least score of a match by words.
  static constexpr double kThreshold = 0.55;

  // Indexes the catalog once; the matcher keeps no reference to it.
  explicit IngredientMatcher(const std::vector<CatalogName>& catalog);

  // The catalog entry the ingredient name of a recipe line means, or none; the line, when given,
  // adds the states it names outside the name ("1 can chickpeas") and the qualifiers after a comma
  // that make an entry's name ("300 g carrot, orange"). A word match scores 0.99 times the share of
  // the name's word weight the entry has, to the power 0.7, times the share of the entry's word
  // weight the name has, to the power 0.3 (of two entries holding all the words the one with fewer
  // others wins), counting food words only; states (dried, canned, ...) and the kinds a line asks
  // for (plain, unsalted) then choose among the entries that pass, and one holding a word that makes
  // it another food the line doesn't name (light, juice) ranks lower. Ties go to the earlier entry.
  std::optional<IngredientMatch> Match(WStringView name, WStringView line = {}) const;

 private:
  struct Term {
    uint32_t id;
    double weight;
    double likeness;  // 0 for a word the catalog lacks
    bool head;        // the food the name names: the entry must name it too
    bool state;
    bool required;  // another food the name names, which the entry must hold
  };
  struct Query {
    std::vector<Term> terms;
    bool joins;  // the name joins two foods ("salt and pepper")
  };
  struct Posting {
    uint32_t entry;
    float share;  // the word's weight counts this many times in the entry
    bool head;    // the word is a food the entry names, not a kind of it
  };
  std::optional<size_t> ExactEntry(WStringView name, WStringView line) const;
  Query QueryTerms(WStringView name, WStringView line) const;
  void Consider(const Query& query, double likeness, std::optional<IngredientMatch>& best, double& bestRank,
                size_t& bestEntry) const;
  bool Holds(size_t entry, const std::string& phrase) const;  // the entry holds each word of it
  uint32_t NearestWord(const std::string& word, double& likeness) const;
  double WordWeight(uint32_t word) const;
  double UnknownWeight(const std::string& word) const;

  std::vector<uint32_t> ids_;
  std::unordered_map<std::string, size_t> exact_;  // folded full name -> first entry
  std::unordered_map<std::string, uint32_t> words_;
  std::vector<std::string> wordTexts_;
  std::vector<bool> foodWord_;                  // word -> some entry names it as its food
  std::vector<std::vector<Posting>> postings_;  // word -> entries holding it
  std::vector<uint32_t> firstWord_;             // entry -> its first word
  std::vector<bool> joins_;                     // entry -> its name joins two foods
  std::vector<uint8_t> changers_;               // entry -> its words making it another food
  std::vector<double> entryWeight_;             // sum of the weights of an entry's words
  std::vector<double> entryFoodWeight_;         // the same without its states
  std::unordered_map<std::string, std::vector<uint32_t>> trigrams_;  // letter triple -> words holding it
};

// The words of a name as the matcher compares them: lowered, without apostrophes, split at every
// other non-letter, plurals reduced, joining words, numbers and single letters dropped, each once.
std::vector<std::string> MatchWords(WStringView name);
