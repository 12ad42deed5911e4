#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: the native unit tests directly,
# the Windows tests under Wine on a virtual display. The last line is the plain summary.
set -uo pipefail
cd "$(dirname "$0")"
./setup.sh >/dev/null || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }
if ! ./build.sh; then
  echo "build failed"
  echo "0 passed, 1 failed"
  exit 1
fi
rm -rf build/native/results build/win/results
mkdir -p build/native/results build/win/results

echo "== native tests"
(cd build/native && ctest --output-on-failure -j "$(nproc)")
native_rc=$?

echo "== Windows tests under Wine"
source tools/wine-env.sh
mirepan_wine_prefix
(cd build/win && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure)
wine_rc=$?
wineserver -k 2>/dev/null || true

# Count test cases from the GoogleTest reports; an executable that died without a report counts once.
read -r passed failed < <(tools/count-results.sh build/native build/win)
echo "${passed} passed, ${failed} failed"
[ "$native_rc" -eq 0 ] && [ "$wine_rc" -eq 0 ] && [ "$failed" -eq 0 ]
