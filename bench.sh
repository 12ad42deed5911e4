#!/usr/bin/env bash
# Builds the benchmarks and runs them.
#   ./bench.sh [args]                   the native XMLDoc benchmark in build/bench; arguments go to
#                                       Google Benchmark (for example --benchmark_filter=Read)
#   ./bench.sh catalog [runs]           the Ingredients view at 10,000 and 100,000 ingredients and the
#                                       Recipes view at 20,000 recipes: load, fill and paint, re-sort,
#                                       find, save and peak memory, in build/bench-win under Wine
#   ./bench.sh matcher [args]           the ingredient matcher on a catalog of 10,000 and 100,000 names:
#                                       building its index and matching a name (Google Benchmark)
#   ./bench.sh page [KB ...]            the web page reader on hostile pages of 1, 5 and 10 MB (or of
#                                       KB each): time and peak memory of each
#   ./bench.sh server [recipes] [secs]  the sharing server on a loopback port with 100,000 recipes (or
#                                       recipes): searches, uploads and searches beside 200 idle
#                                       connections, each measured for 2 seconds (or secs)
set -euo pipefail
cd "$(dirname "$0")"
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ "${1:-}" = catalog ]; then
  runs=${2:-3}
  cmake -S . -B build/bench-win "${gen[@]}" -DCMAKE_BUILD_TYPE=Release -DMIREPAN_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
  cmake --build build/bench-win --target ingredient_catalog_bench -j 2 >/dev/null
  source tools/wine-env.sh
  mirepan_wine_prefix
  cd build/bench-win/bench
  echo "Times in milliseconds, the median of $runs runs; peak working set in MB."
  echo "| records             |    load | fill+paint | load+fill+paint | reverse | other column | find 1st | find 2nd |   save | peak MB |"
  echo "|---------------------|--------:|-----------:|-----------:|--------:|---------:|---------:|---------:|-------:|--------:|"
  for config in "ingredients 10000" "ingredients 100000" "recipes 20000"; do
    # shellcheck disable=SC2086
    xvfb-run -a -s "-screen 0 1280x1024x24" wine ./ingredient_catalog_bench.exe $config "$runs" 2>/dev/null
  done
  exit
fi
cmake -S . -B build/bench "${gen[@]}" -DCMAKE_BUILD_TYPE=Release -DMIREPAN_TESTS=OFF >/dev/null
if [ "${1:-}" = server ]; then
  shift
  cmake --build build/bench --target sharing_server_bench -j 2 >/dev/null
  exec build/bench/bench/sharing_server_bench "$@"
fi
if [ "${1:-}" = page ]; then
  shift
  cmake --build build/bench --target recipe_page_bench -j 2 >/dev/null
  exec build/bench/bench/recipe_page_bench "$@"
fi
if [ "${1:-}" = matcher ]; then
  shift
  cmake --build build/bench --target ingredient_matcher_bench -j 2 >/dev/null
  exec build/bench/bench/ingredient_matcher_bench "$@"
fi
cmake --build build/bench --target xmldoc_bench -j 2 >/dev/null
build/bench/bench/xmldoc_bench "$@"
