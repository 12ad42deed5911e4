#!/usr/bin/env bash
# Starts the program the way a newcomer does (./run.sh, which builds what it needs), waits for its
# main window to show on the display and closes it. Run it on a display (test.sh gives it a virtual
# one). With a results folder as argument it also writes its outcome there as a one-test report.
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh
mirepan_wine_prefix
./run.sh >build/smoke-run.log 2>&1 &
program=$!
wine build/win/tests/smoke/start_probe.exe 180
probe=$?
wait "$program"
status=$?
outcome="main window shown and closed"
[ "$probe" -eq 1 ] && outcome="no main window (see build/smoke-run.log)"
[ "$probe" -eq 2 ] && outcome="main window did not close"
[ "$probe" -eq 0 ] && [ "$status" -ne 0 ] && outcome="run.sh ended with status $status (see build/smoke-run.log)"
failed=0
[ "$outcome" = "main window shown and closed" ] || failed=1
echo "smoke run: $outcome"
if [ $# -gt 0 ]; then
  printf '<testsuites tests="1" failures="%d" errors="0" disabled="0" name="smoke">\n</testsuites>\n' \
    "$failed" >"$1/smoke_run.xml"
fi
exit "$failed"
