#!/usr/bin/env bash
# Runs every fuzzer for longer than the test suite does: SECONDS each
# (default 600), starting from the committed seed corpus. New inputs go to
# build/fuzz/<fuzzer>-long/; crashes are written to the current directory.
#   bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for fuzzer in build/fuzz/tests/fuzz/*_fuzz; do
  name=$(basename "$fuzzer")
  mkdir -p "build/fuzz/$name-long"
  echo "=== $name for ${seconds}s ==="
  status=0
  "$fuzzer" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
    "build/fuzz/$name-long" "tests/fuzz/corpus/$name" >"build/fuzz/$name-long.log" 2>&1 || status=$?
  grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|SUMMARY)' \
    "build/fuzz/$name-long.log" || true
  [ "$status" -eq 0 ] || { echo "$name failed: see build/fuzz/$name-long.log"; exit "$status"; }
done
