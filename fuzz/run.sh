#!/bin/sh
# Runs each fuzzer for a number of seconds on a copy of its seeds; new inputs
# collect in fuzz/corpus-work/NAME.
# Usage: fuzz/run.sh BUILD_DIR SECONDS [FUZZER...]   (default: every fuzzer)
set -eu
build=${1:-build-fuzz}
seconds=${2:-60}
shift 2 || shift $#
top=$(cd "$(dirname "$0")/.." && pwd)
fuzzers=${*:-ProblemReaderFuzz IterationFuzz RunReaderFuzz}
for fuzzer in $fuzzers; do
  work="$top/fuzz/corpus-work/$fuzzer"
  mkdir -p "$work"
  cp -n "$top/fuzz/corpus/$fuzzer"/* "$work"/ 2>/dev/null || true
  echo "== $fuzzer for $seconds s"
  "$top/$build/fuzz/$fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
    -dict="$top/fuzz/dictionary.txt" -max_len=4096 -timeout=10 "$work"
done
