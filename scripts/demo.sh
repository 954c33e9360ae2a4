#!/bin/sh
# The main job: solve a problem in a scratch directory and show what it wrote.
set -eu
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
lorvex="$top/$build/solver/Lorvex"
work=$(mktemp -d "${TMPDIR:-/tmp}/lorvex-demo-XXXXXX")
cp "$top/examples/worked.txt" "$work/"
cd "$work"
echo "== problem file worked.txt"
cat worked.txt
echo "== Lorvex worked.txt"
printf 'worked.txt\n' | "$lorvex"
echo
echo "exit status $?"
for f in $(ls out*.txt GResult.txt 2>/dev/null | sort -V); do
  echo "== $f"
  cat "$f"
done
echo "(files kept in $work)"
