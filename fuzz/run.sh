#!/bin/sh
# Runs the reader's fuzzer for a number of seconds on a copy of the seeds.
# Usage: fuzz/run.sh BUILD_DIR SECONDS
set -eu
build=${1:-build-fuzz}
seconds=${2:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
work="$top/fuzz/corpus-work"
mkdir -p "$work"
cp -n "$top"/fuzz/corpus/* "$work"/ 2>/dev/null || true
"$top/$build/fuzz/ProblemReaderFuzz" -max_total_time="$seconds" -print_final_stats=1 \
  -dict="$top/fuzz/dictionary.txt" -max_len=4096 -timeout=10 "$work"
