#!/usr/bin/env bash
# tools/nutrition-report.sh FOLDER [CATALOG]: for each saved page (*.html, *.htm) of FOLDER, the
# calories per serving the page states beside those the import computes from the catalog (default:
# the newest data/NutrientData*.csv), then the median error (of its size, and with its sign) and the
# share of pages within 25%.
# Pages that state no calories, hold no recipe, or whose batch yield ("1 loaf") the review would
# ask about are listed but not counted. MIREPAN_RECIPE_DUMP names the dump tool (default: the one
# of build/native).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
folder=${1:?usage: tools/nutrition-report.sh FOLDER [CATALOG]}
catalog=${2:-$(ls "$root"/data/NutrientData*.csv 2>/dev/null | sort | tail -n 1)}
dump=${MIREPAN_RECIPE_DUMP:-$root/build/native/webrecipe/mirepan-recipe-dump}
[ -x "$dump" ] || { echo "no $dump: build the target mirepan-recipe-dump" >&2; exit 2; }
[ -f "$catalog" ] || { echo "no catalog: give one after the folder" >&2; exit 2; }

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
printf '%-40s %9s %9s %8s\n' page stated computed error
shopt -s nullglob nocaseglob
for page in "$folder"/*.html "$folder"/*.htm; do
  name=$(basename "$page")
  report=$("$dump" --catalog "$catalog" "$page" 2>/dev/null) || { printf '%-40s %s\n' "$name" "no recipe"; continue; }
  read -r stated computed asks < <(jq -r '[.statedCalories // "-", .perServing.calories,
                                           (if .batchYield then "asks" else "-" end)] | @tsv' <<<"$report")
  if [ "$stated" = "-" ] || [ "$asks" = "asks" ]; then
    printf '%-40s %9s %9.0f %8s\n' "$name" "$stated" "$computed" "$([ "$asks" = asks ] && echo asks || echo -)"
    continue
  fi
  error=$(awk -v s="$stated" -v c="$computed" 'BEGIN { printf "%.1f", (c - s) * 100 / s }')
  echo "$error" >>"$errors"
  printf '%-40s %9.0f %9.0f %7s%%\n' "$name" "$stated" "$computed" "$error"
done
# The median of a sorted column of numbers.
median() {
  awk '{ v[NR] = $1 } END { if (NR) print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
count=$(wc -l <"$errors")
if [ "$count" -eq 0 ]; then
  echo "no page states its calories"
  exit 0
fi
signed=$(sort -g "$errors" | median)
size=$(tr -d - <"$errors" | sort -g | median)
within=$(awk '$1 >= -25 && $1 <= 25 { n++ } END { printf "%.0f", n * 100 / NR }' "$errors")
echo "$count pages: median error $size% (median signed error $signed%), within 25%: $within%"
