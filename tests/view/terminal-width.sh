#!/bin/sh
# `mgame view --text` on a terminal fits the column bands of its grids (the
# lines with a "|") to the terminal's width, which script(1) sets on a
# pseudo-terminal.
# Usage: terminal-width.sh MGAME RUN_DIR
# Exits 77 (skipped) without script(1).
set -eu
mgame=$(realpath "$1") run=$(realpath "$2")
command -v script >/dev/null 2>&1 || exit 77
cd "$(dirname "$run")"
for cols in 50 72; do
  widest=$(script -qec "stty cols $cols; '$mgame' view --text '$(basename "$run")'" /dev/null </dev/null |
    tr -d '\r' | awk '/\|/ { if (length > m) m = length } END { print m + 0 }')
  if [ "$widest" -eq 0 ] || [ "$widest" -gt "$cols" ]; then
    echo "a terminal of $cols columns: the widest grid line has $widest characters" >&2
    exit 1
  fi
done
echo "the text fits terminals of 50 and 72 columns"
