#!/bin/sh
# The main job: a fresh game from Quenby, solved by Lorvex for both players,
# each in a folder of its own, as the README's first session does it.
set -eu
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
bin="$top/$build"
PATH="$bin/solver:$bin/generator:$PATH"
work=$(mktemp -d "${TMPDIR:-/tmp}/game-demo-XXXXXX")

cd "$work"
Quenby
echo "== The game (GMatrix.txt): player A chooses a row, player B a column"
cat GMatrix.txt
echo "== Shifted by +10 (GMatrixP.txt), the matrix both systems are built from"
cat GMatrixP.txt

mkdir A B
cp SystemA.txt A; cp SystemB.txt B
(cd A && echo SystemA.txt | Lorvex >/dev/null)
(cd B && echo SystemB.txt | Lorvex >/dev/null)
for player in A B; do
  pivots=$(ls "$player"/out*.txt | wc -l)
  echo "== Lorvex on System$player.txt in $player/: $((pivots - 1)) pivots; $player/GResult.txt:"
  cat "$player/GResult.txt"
done

value=$(sed -n "s/^v' = //p" A/GResult.txt | tr -d '\r')
echo "== Reading"
echo "v' = $value is the value of the shifted game; the game itself is worth"
echo "v' - 10 = $(awk -v v="$value" 'BEGIN { printf "%.5f", v - 10 }') to player A."
echo "S* of A/GResult.txt is A's optimal mix of rows, S* of B/GResult.txt B's mix of columns."
echo "(all files kept in $work)"
echo "== The programs are $bin/generator/Quenby, $bin/solver/Lorvex and $bin/mgame/mgame."
echo "To run them by name:  export PATH=\"$bin/generator:$bin/solver:$bin/mgame:\$PATH\""
echo "or install them:      make install PREFIX=\$HOME/.local"
