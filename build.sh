#!/usr/bin/env bash
# Configures and builds both trees: build/native (g++) and build/win (MinGW-w64, static).
#   ./build.sh             everything: the program, the tools, the tests and benchmarks
#   ./build.sh --program   only Mirepan.exe, what run.sh starts
#   ./build.sh installer   the signed installer build/win/Mirepansetup.exe (tools/make-installer.sh)
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
if [ "${1:-}" = "--program" ] || [ "${1:-}" = "installer" ]; then
  target=Mirepan
  [ "$1" = "installer" ] && target=installer
  cmake --build build/win -j "$jobs" --target "$target"
  exit
fi
configure build/native
cmake --build build/native -j "$jobs"
cmake --build build/win -j "$jobs"
