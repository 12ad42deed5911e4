#!/usr/bin/env bash
# Fuzzes the file readers: builds the libFuzzer targets of tests/fuzz with clang and the address
# and undefined-behaviour sanitizers in build/fuzz, then runs each for a bounded time from its seed
# corpus (tests/fuzz/corpus/<name>). A crash, leak, timeout or sanitizer report fails the target;
# the input that caused it is kept in build/fuzz/crashes/ and the run's log in build/fuzz/logs/.
#
#   tools/fuzz.sh [seconds per target, default 20]
#
# Prints one line per target and ends with "N passed, N failed"; exits non-zero when any failed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-20}
build=$root/build/fuzz
targets=(xml_reader food_element recipe_element meal_element csv_reader options_reader shared_recipe recipe_page mealmaster)

mkdir -p "$build/logs" "$build/crashes" "$build/corpus"
if ! CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIREPAN_FUZZ=ON -DMIREPAN_TESTS=OFF -DMIREPAN_BENCH=OFF >"$build/logs/configure.log" 2>&1 ||
  ! cmake --build "$build" --target "${targets[@]/#/fuzz_}" -j"${FUZZ_JOBS:-2}" >"$build/logs/build.log" 2>&1; then
  tail -n 30 "$build/logs/configure.log" "$build/logs/build.log" 2>/dev/null
  echo "fuzz: the targets did not build (see $build/logs)"
  echo "0 passed, ${#targets[@]} failed"
  exit 1
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
passed=0
failed=0
for name in "${targets[@]}"; do
  target=fuzz_$name
  log=$build/logs/$target.log
  work=$build/corpus/$name  # new inputs go here, the committed seeds stay as they are
  mkdir -p "$work"
  rm -f "$build/crashes/$target-"*
  "$build/tests/fuzz/$target" "$work" "$root/tests/fuzz/corpus/$name" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$build/crashes/$target-" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
  if [ $status -eq 0 ] && ! grep -q -e "runtime error:" -e "ERROR: \(Address\|Leak\|Undefined\)Sanitizer" "$log"; then
    echo "PASS $target: ${runs:-0} inputs in ${seconds} s"
    passed=$((passed + 1))
  else
    input=$(ls "$build/crashes/$target-"* 2>/dev/null | head -n 1)
    reason=$(grep -m 1 -o -e "ERROR: [A-Za-z]*Sanitizer: [a-z-]*" -e "runtime error: .*" -e "libFuzzer: [a-z -]*" "$log")
    echo "FAIL $target: ${reason:-exit status $status}; input ${input:-not saved}; log $log"
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
