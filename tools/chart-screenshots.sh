#!/usr/bin/env bash
# Takes the README's pictures of the nutrition charts: runs the diary tests' screenshot case on a
# virtual display and captures the nutrition window on its Chart and Trend tabs into docs/.
#   tools/chart-screenshots.sh [Windows build tree, default build/win]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tree=$(cd "${1:-$root/build/win}" && pwd)
source "$root/tools/wine-env.sh"
mirepan_wine_prefix
shots=$(mktemp -d)
display=${CHART_DISPLAY:-:77}
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$shots"' EXIT
export DISPLAY=$display CHART_SHOTS="Z:${shots//\//\\}"
(cd "$tree/tests" && wine diary/diary_tests.exe --gtest_also_run_disabled_tests \
  --gtest_filter='*ChartScreenshots' >"$shots/log" 2>&1) &
runner=$!
for shot in trend chart; do
  for _ in $(seq 200); do [ -f "$shots/$shot-shown" ] && break; sleep 0.1; done
  sleep 1.5
  window=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "03-01-2010 - 03-07-2010".*/\1/p' | head -n 1)
  import -window "${window:-root}" "$root/docs/nutrition-$shot.png"
done
wait $runner || true
echo "docs/nutrition-chart.png and docs/nutrition-trend.png written"
