#!/usr/bin/env bash
# Configures and builds both trees: build/native (g++) and build/win (MinGW-w64, static).
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f build/native/CMakeCache.txt ]; then
  cmake -S . -B build/native "${gen[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
if [ ! -f build/win/CMakeCache.txt ]; then
  cmake -S . -B build/win "${gen[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
fi
cmake --build build/native -j "$jobs" "$@"
cmake --build build/win -j "$jobs" "$@"
