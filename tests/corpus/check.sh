#!/bin/sh
# Runs a Lorvex binary over the committed problems and compares every file it
# leaves, its console output and its exit status with the expectations that
# the native build wrote (tests/corpus/expected). The code address of an error
# report is masked and the module name read as the binary's own, so that the
# same expectations serve every platform.
# Usage: tests/corpus/check.sh [--update] LORVEX [LAUNCHER...]
#   e.g. check.sh build-windows/solver/Lorvex.exe cmake/wine-run.sh
#        check.sh build-arm64/solver/Lorvex qemu-aarch64 -L /usr/aarch64-linux-gnu
set -eu
here=$(cd "$(dirname "$0")" && pwd)
update=no
if [ "${1:-}" = --update ]; then update=yes; shift; fi
lorvex=$(realpath "$1")
shift
module=$(basename "$lorvex")
# A launcher given by a relative path must still be found from the run's directory.
if [ $# -gt 0 ] && [ -f "$1" ]; then
  launcher=$(realpath "$1")
  shift
  set -- "$launcher" "$@"
fi
comma=de_DE.UTF-8
locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' || { echo "the $comma locale is missing" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/corpus-XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=0 runs=0
while read -r name loc typed kept; do
  case "$name" in '' | '#'*) continue ;; esac
  runs=$((runs + 1))
  dir="$work/$name"
  mkdir -p "$dir/run"
  if [ -f "$here/problems/$typed" ]; then
    cp "$here/problems/$typed" "$dir/run/"
  elif [ -f "$here/../../examples/$typed" ]; then
    cp "$here/../../examples/$typed" "$dir/run/"
  fi
  [ "$loc" = comma ] && loc=$comma
  (cd "$dir/run" && printf '%s\n' "$typed" | LC_ALL=$loc "$@" "$lorvex" >../stdout 2>../stderr; echo $? >../status) || true
  sed -i "s/^Exception \([A-Za-z]*\) in module $module at [0-9A-F]\{8\}\./Exception \1 in module MODULE at ADDRESS./" \
    "$dir/stderr"
  rm -f "$dir/run/$typed"
  mkdir "$dir/out"
  mv "$dir/stdout" "$dir/stderr" "$dir/status" "$dir/out/"
  if [ "$kept" = sums ]; then
    (cd "$dir/run" && find . -type f | sort | xargs -r sha256sum) >"$dir/out/SHA256SUMS"
  else
    cp -r "$dir/run/." "$dir/out/"
  fi
  if [ $update = yes ]; then
    rm -rf "$here/expected/$name"
    mkdir -p "$here/expected"
    cp -r "$dir/out" "$here/expected/$name"
  elif ! diff -r "$here/expected/$name" "$dir/out" >"$dir/diff" 2>&1; then
    echo "DIFFER: $name"
    head -20 "$dir/diff"
    failed=$((failed + 1))
  fi
done <"$here/runs"
echo "$runs runs of $module: $failed differ"
[ "$failed" -eq 0 ]
