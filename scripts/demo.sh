#!/bin/sh
# The main job: a fresh game from Quenby, solved by Lorvex for both players.
set -eu
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
quenby="$top/$build/generator/Quenby"
lorvex="$top/$build/solver/Lorvex"
work=$(mktemp -d "${TMPDIR:-/tmp}/game-demo-XXXXXX")

cd "$work"
"$quenby"
echo "== The game (GMatrix.txt): player A chooses a row, player B a column"
cat GMatrix.txt
echo "== Shifted by +10 (GMatrixP.txt), the matrix both systems are built from"
cat GMatrixP.txt

for player in A B; do
  mkdir "$player"
  cp "System$player.txt" "$player/"
  echo "== Lorvex on System$player.txt (reports in $work/$player)"
  (cd "$player" && printf 'System%s.txt\n' "$player" | "$lorvex" >/dev/null)
  pivots=$(ls "$player"/out*.txt | wc -l)
  echo "$((pivots - 1)) pivots; $player/GResult.txt:"
  cat "$player/GResult.txt"
done

value=$(sed -n "s/^v' = //p" A/GResult.txt | tr -d '\r')
echo "== Reading"
echo "v' = $value is the value of the shifted game; the game itself is worth"
echo "v' - 10 = $(awk -v v="$value" 'BEGIN { printf "%.5f", v - 10 }') to player A."
echo "S* of A/GResult.txt is A's optimal mix of rows, S* of B/GResult.txt B's mix of columns."
echo "(all files kept in $work)"
