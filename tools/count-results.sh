#!/usr/bin/env bash
# Prints "passed failed" summed over the GoogleTest XML reports of the given build trees. A test
# executable that ctest ran but that left no report (a crash) counts as one failure.
passed=0
failed=0
for tree in "$@"; do
  for xml in "$tree"/results/*.xml; do
    [ -f "$xml" ] || continue
    line=$(grep -m1 '<testsuites' "$xml")
    tests=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$line")
    fails=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$line")
    errors=$(sed -n 's/.* errors="\([0-9]*\)".*/\1/p' <<<"$line")
    disabled=$(sed -n 's/.* disabled="\([0-9]*\)".*/\1/p' <<<"$line")
    skipped=$(grep -c '<skipped' "$xml")
    bad=$(( ${fails:-0} + ${errors:-0} ))
    passed=$(( passed + ${tests:-0} - bad - ${disabled:-0} - skipped ))
    failed=$(( failed + bad ))
  done
  log="$tree/Testing/Temporary/LastTestsFailed.log"
  if [ -f "$log" ]; then
    while IFS=: read -r _ name; do
      [ -f "$tree/results/$name.xml" ] || failed=$(( failed + 1 ))
    done < "$log"
  fi
done
echo "$passed $failed"
