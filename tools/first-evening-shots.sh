#!/usr/bin/env bash
# Runs the first-evening test with screenshots switched on and turns them into the PNGs of
# docs/first-evening/ (the program's windows at the top left of the screen).
set -euo pipefail
cd "$(dirname "$0")/.."
tree=${1:-build/win}
shots=$(mktemp -d)
source tools/wine-env.sh
mirepan_wine_prefix
(cd "$tree/tests/evening" &&
  MIREPAN_SHOTS="Z:${shots//\//\\}" xvfb-run -a -s "-screen 0 1280x1024x24" wine ./evening_tests.exe)
mkdir -p docs/first-evening
for bmp in "$shots"/*.bmp; do
  convert "$bmp" -trim +repage "docs/first-evening/$(basename "${bmp%.bmp}").png"
done
rm -rf "$shots"
