#!/usr/bin/env bash
# Configures and builds both trees: build/native (g++) and build/win (MinGW-w64, static).
#   ./build.sh             everything: the program, the tools, the tests and benchmarks
#   ./build.sh --program   only Mirepan.exe, what run.sh starts
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
configure() {
  local tree=$1
  shift
  [ -f "$tree/CMakeCache.txt" ] || cmake -S . -B "$tree" "${gen[@]}" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}
configure build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
if [ "${1:-}" = "--program" ]; then
  cmake --build build/win -j "$jobs" --target Mirepan
  exit
fi
configure build/native
cmake --build build/native -j "$jobs"
cmake --build build/win -j "$jobs"
