#!/bin/sh
# Runs two Lorvex builds over the same problem files and compares every file
# they leave, their console output and their exit status byte for byte (the
# code address of an error report is masked: it moves with every build).
# Usage: scripts/same-outputs.sh OLD_LORVEX NEW_LORVEX PROBLEM...
# Each problem runs under the C locale and, when de_DE.UTF-8 exists, under a
# comma locale too. Exit status 0 when every run agrees.
set -eu
old=$(realpath "$1")
new=$(realpath "$2")
shift 2
work=$(mktemp -d "${TMPDIR:-/tmp}/same-outputs-XXXXXX")
trap 'rm -rf "$work"' EXIT
locales=C
if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then locales="C de_DE.UTF-8"; fi

run() {  # program directory problem locale
  mkdir -p "$2"
  cp "$3" "$2/problem.txt"
  (cd "$2" && printf 'problem.txt\n' | LC_ALL=$4 "$1" >stdout 2>stderr; echo $? >status) || true
  sed -i 's/ at [0-9A-F]\{8\}\./ at XXXXXXXX./' "$2/stderr"
}

differ=0 runs=0 files=0
for problem in "$@"; do
  for loc in $locales; do
    rm -rf "$work/old" "$work/new"
    run "$old" "$work/old" "$problem" "$loc"
    run "$new" "$work/new" "$problem" "$loc"
    runs=$((runs + 1))
    if ! diff -rq "$work/old" "$work/new" >"$work/diff"; then
      echo "DIFFER: $problem ($loc)"; head -5 "$work/diff"; differ=$((differ + 1))
    fi
    files=$((files + $(ls "$work/new" | wc -l)))
  done
done
echo "$runs runs, $files files compared, $differ runs differ"
[ "$differ" -eq 0 ]
