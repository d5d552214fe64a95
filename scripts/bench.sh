#!/usr/bin/env bash
# Builds the product and the test build, then runs the benchmark under Wine
# and Xvfb in a prefix of its own and prints one table of figures.
#   bash scripts/bench.sh [FILE COUNTS...]   (default: 1000 5000 10000 50000)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 5000 10000 50000)

bash "$ROOT/scripts/install-deps.sh"
build_product >/dev/null
build_tests >/dev/null

export QRT_PREFIX="$TEST_BUILD/bench/prefix"
harness="$ROOT/tests/harness"
"$harness/prefix.sh" setup "$QRT_PREFIX"
trap '"$harness/prefix.sh" cleanup "$QRT_PREFIX"' EXIT
export QRT_TOOL="$TEST_BUILD/src/Project1.exe"
run() { "$harness/wine-run.sh" "$@"; }

bytes() { stat -c %s "$1"; }
row() { printf '| %-66s | %22s | %-34s |\n' "$1" "$2" "$3"; }

started=$(date +%s)
printf '| %-66s | %22s | %-34s |\n' "measure" "figure" "goal / note"
printf '|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..68})" "$(printf -- '-%.0s' {1..24})" "$(printf -- '-%.0s' {1..36})"
run "$TEST_BUILD/bench/bench_tool.exe" run 7
run "$TEST_BUILD/bench/bench_tool.exe" startup 7
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
run "$TEST_BUILD/bench/bench_tool.exe" files "$(winpath "$TEST_BUILD/bench/bench_raw_walk.exe")" \
  "$(winpath "$TEST_BUILD/bench/bench_file_search.exe")" "${sizes[@]}"
run "$TEST_BUILD/bench/bench_memo_lines.exe" 50
size=$(bytes "$PRODUCT_BUILD/src/Project1.exe")
row "executable size, product (32-bit), bytes" "$size" "goal < 1048576 ($((size * 100 / 1048576))% of 1 MiB)"
row "executable size, test build (64-bit), bytes" "$(bytes "$TEST_BUILD/src/Project1.exe")" ""
row "benchmark wall time, s" "$(($(date +%s) - started))" "keep well under 600"
