#!/bin/sh
# Unpacks the built Debian package into a scratch root, then checks that it
# holds exactly the files a user gets and that its programs work as the build
# tree's do: Lorvex on an example problem writes the same files, and Quenby
# writes four files that the unpacked Lorvex solves; mgame draws and solves
# a game.
# Usage: tests/package/check-deb.sh BUILD_DIR
set -eu
build=$(realpath "${1:-build}")
top=$(cd "$(dirname "$0")/../.." && pwd)
deb=$(ls "$build"/matrix-games_*.deb | head -1)
work=$(mktemp -d "${TMPDIR:-/tmp}/check-deb-XXXXXX")
trap 'rm -rf "$work"' EXIT

dpkg-deb -x "$deb" "$work/root"
expected="./usr/bin/Lorvex
./usr/bin/Quenby
./usr/bin/mgame
./usr/share/doc/matrix-games/README.md
./usr/share/doc/matrix-games/changelog.gz
./usr/share/doc/matrix-games/copyright
./usr/share/doc/matrix-games/docs/format.md
./usr/share/doc/matrix-games/examples/SystemA.txt
./usr/share/doc/matrix-games/examples/SystemB.txt
./usr/share/doc/matrix-games/examples/small.txt
./usr/share/doc/matrix-games/examples/worked.txt
./usr/share/man/man1/Lorvex.1.gz
./usr/share/man/man1/Quenby.1.gz
./usr/share/man/man1/mgame.1.gz"
found=$(cd "$work/root" && find . -type f | LC_ALL=C sort)
if [ "$found" != "$expected" ]; then
  echo "the package holds other files than expected:" >&2
  printf '%s\n' "$found" >&2
  exit 1
fi

for side in tree package; do
  mkdir -p "$work/$side/lorvex" "$work/$side/quenby"
  if [ $side = tree ]; then bin="$build/solver/Lorvex" gen="$build/generator/Quenby"; else
    bin="$work/root/usr/bin/Lorvex" gen="$work/root/usr/bin/Quenby"; fi
  cp "$top/examples/SystemA.txt" "$work/$side/lorvex/"
  (cd "$work/$side/lorvex" && printf 'SystemA.txt\n' | "$bin" >/dev/null)
  (cd "$work/$side/quenby" && "$gen" && printf 'SystemB.txt\n' | "$bin" >/dev/null)
done
diff -r "$work/tree/lorvex" "$work/package/lorvex"
"$work/root/usr/bin/mgame" new --seed 12345 "$work/mgame" >/dev/null
"$work/root/usr/bin/mgame" solve "$work/mgame/GMatrix.txt" | grep -q '^value -0.63919$'
[ "$(ls "$work/package/quenby" | wc -l)" -ge 7 ] && grep -q "^v' = " "$work/package/quenby/GResult.txt"
echo "package $deb: files and programs as expected"
