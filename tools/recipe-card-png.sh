#!/usr/bin/env bash
# Prints the sample recipes as index cards on Wine's PostScript driver into a file (the program's
# print document on a real printer) and renders the first page as docs/recipe-card.png with
# ghostscript.
#   tools/recipe-card-png.sh [Windows build tree, default build/win]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$root/build/win}" && pwd)
source "$root/tools/wine-env.sh"
mirepan_wine_prefix
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && xvfb-run -a -s "-screen 0 1280x1024x24" wine "$tree/tests/printfile/print_to_file.exe" cards.ps)
gs -q -dSAFER -dBATCH -dNOPAUSE -dFirstPage=1 -dLastPage=1 -sDEVICE=png16m -r100 -dTextAlphaBits=4 \
  -dGraphicsAlphaBits=4 -sOutputFile="$root/docs/recipe-card.png" "$work/cards.ps"
