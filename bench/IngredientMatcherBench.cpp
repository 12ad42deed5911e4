// Matching imported ingredient names against a large catalog: building the word index of 100,000
// names, and one match of a name that is there, one of a common kind and one of nothing.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "webrecipe/IngredientMatcher.h"

namespace {

// Names in the style of a large food table: ten foods in ten kinds, brands and item numbers, and
// one rare entry.
std::vector<CatalogName> LargeCatalog(uint32_t size) {
  const char* const foods[] = {"Beans", "Rice", "Chicken", "Beef",  "Cheese",
                               "Bread", "Soup", "Cereal",  "Juice", "Cookies"};
  const char* const kinds[] = {"white",  "brown",  "canned",    "frozen",  "dried",
                               "cooked", "smoked", "sweetened", "organic", "homemade"};
  std::vector<CatalogName> catalog;
  for (uint32_t n = 0; n < size; ++n) {
    const std::string name = std::string(foods[n % 10]) + ", " + kinds[(n / 10) % 10] + ", brand " +
                             std::to_string(n / 100) + " item" + std::to_string(n);
    catalog.push_back({n + 1, FromUtf8(name)});
  }
  catalog.push_back({size + 1, TXT("Tomatillos, raw")});
  return catalog;
}

void BuildIndex(benchmark::State& state) {
  const std::vector<CatalogName> catalog = LargeCatalog(static_cast<uint32_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(IngredientMatcher(catalog));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BuildIndex)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void Match(benchmark::State& state, const WChar* name) {
  const IngredientMatcher matcher(LargeCatalog(100000));
  for (auto _ : state) benchmark::DoNotOptimize(matcher.Match(name));
}
BENCHMARK_CAPTURE(Match, rare, TXT("fresh tomatillos"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Match, common, TXT("canned white beans"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Match, none, TXT("zucchini"))->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
