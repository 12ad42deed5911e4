#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: the native unit tests directly,
# the Windows tests under Wine on a virtual display. The last line is the plain summary.
set -uo pipefail
cd "$(dirname "$0")"
./setup.sh >/dev/null || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }
if ! ./build.sh || ! ./build.sh installer; then
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
# A test program that Wine's X11 driver aborts (a stray X error when a window is unmapped) runs once
# more; a test that fails on its own fails both times.
(cd build/win && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --repeat until-pass:2)
wine_rc=$?
wineserver -k 2>/dev/null || true

echo "== the installer: signatures, install, update from mirepan-server, uninstall"
xvfb-run -a -s "-screen 0 1280x1024x24" tools/installer-test.sh build/win build/native
installer_rc=$?
wineserver -k 2>/dev/null || true

echo "== the program as run.sh starts it"
xvfb-run -a -s "-screen 0 1280x1024x24" tools/smoke-run.sh build/win/results
smoke_rc=$?
wineserver -k 2>/dev/null || true

echo "== the file readers under the fuzzer"
tools/fuzz.sh 15 | tee build/fuzz-summary.log
fuzz_rc=${PIPESTATUS[0]}
read -r fuzz_passed fuzz_failed < <(sed -n 's/^\([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' build/fuzz-summary.log)

# Count test cases from the GoogleTest reports; an executable that died without a report counts once.
read -r passed failed < <(tools/count-results.sh build/native build/win)
passed=$((passed + ${fuzz_passed:-0}))
failed=$((failed + ${fuzz_failed:-1}))
# The installer script reports its cases; one that stopped before its reports still counts a failure.
[ "$installer_rc" -eq 0 ] || failed=$((failed + 1))
echo "${passed} passed, ${failed} failed"
[ "$native_rc" -eq 0 ] && [ "$wine_rc" -eq 0 ] && [ "$installer_rc" -eq 0 ] && [ "$smoke_rc" -eq 0 ] && [ "$fuzz_rc" -eq 0 ] && [ "$failed" -eq 0 ]
