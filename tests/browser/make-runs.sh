#!/bin/sh
# The runs the browser test renders, in WORK: the seed-12345 game solved for
# both players (game/, with A/ and B/) and the worked example (worked/).
# Usage: make-runs.sh LORVEX DRAWGAME WORK
set -eu
lorvex=$1 drawgame=$2 work=$3
top=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work"
mkdir -p "$work/game/A" "$work/game/B" "$work/worked"
"$drawgame" 12345 "$work/game"
solve() {  # solve DIR PROBLEM
  (cd "$1" && printf '%s\n' "$2" | LC_ALL=C "$lorvex" >/dev/null)
}
cp "$work/game/SystemA.txt" "$work/game/A/" && solve "$work/game/A" SystemA.txt
cp "$work/game/SystemB.txt" "$work/game/B/" && solve "$work/game/B" SystemB.txt
cp "$top/examples/worked.txt" "$work/worked/" && solve "$work/worked" worked.txt
