#!/usr/bin/env bash
# Builds the native benchmarks in build/bench and runs them; arguments go to Google Benchmark
# (for example --benchmark_filter=Read).
set -euo pipefail
cd "$(dirname "$0")"
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S . -B build/bench "${gen[@]}" -DCMAKE_BUILD_TYPE=Release -DMIREPAN_TESTS=OFF >/dev/null
cmake --build build/bench --target xmldoc_bench -j 2 >/dev/null
build/bench/bench/xmldoc_bench "$@"
