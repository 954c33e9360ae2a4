#!/bin/sh
# Checks the configured manual pages (every *.1 in DIR):
#   - no template placeholder (@NAME@) is left unconfigured;
#   - groff -man -ww -z prints nothing;
#   - mandoc -Tlint reports nothing at warning level or above (when installed);
#   - man -l renders the page at 80 columns with nothing on standard error,
#     and no rendered line is wider than that.
# Exits 0 when every page passes, 1 on any finding or when DIR holds no page,
# and 77 (a skip for CTest's SKIP_RETURN_CODE) when groff or man is missing.
set -u

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 DIR (a directory holding the configured *.1 pages)" >&2
  exit 2
fi
dir=$1

for tool in groff man; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed" >&2
    exit 77
  fi
done
have_mandoc=no
command -v mandoc >/dev/null 2>&1 && have_mandoc=yes

failures=0
pages=0
# Prints a finding: the page, the check and what it printed.
finding() {
  echo "FAIL $1: $2"
  [ -n "$3" ] && printf '%s\n' "$3" | sed 's/^/    /'
  failures=$((failures + 1))
}

for page in "$dir"/*.1; do
  [ -f "$page" ] || continue
  pages=$((pages + 1))
  before=$failures

  out=$(grep -n '@[A-Za-z_][A-Za-z0-9_]*@' "$page")
  [ -z "$out" ] || finding "$page" "unconfigured placeholder" "$out"

  out=$(groff -man -ww -z "$page" 2>&1)
  [ -z "$out" ] || finding "$page" "groff -man -ww -z" "$out"

  if [ "$have_mandoc" = yes ]; then
    out=$(mandoc -Tlint -W warning "$page" 2>&1)
    [ -z "$out" ] || finding "$page" "mandoc -Tlint -W warning" "$out"
  fi

  # man -l: warnings go to standard error, the rendered page to standard output.
  errors=$(MANWIDTH=80 MAN_DISABLE_SECCOMP=1 man -l "$page" 2>&1 >/dev/null)
  [ -z "$errors" ] || finding "$page" "man -l (standard error)" "$errors"
  lines=$(MANWIDTH=80 MAN_DISABLE_SECCOMP=1 man -l "$page" 2>/dev/null | wc -l)
  [ "$lines" -gt 0 ] || finding "$page" "man -l rendered nothing" ""
  # No-fill text (the examples) is not broken: it must fit the 80 columns.
  # In the C locale the page is plain ASCII, one byte a column.
  out=$(LC_ALL=C MANWIDTH=80 MAN_DISABLE_SECCOMP=1 man -l "$page" 2>/dev/null | awk 'length > 80')
  [ -z "$out" ] || finding "$page" "lines wider than 80 columns" "$out"

  [ "$failures" -eq "$before" ] && echo "ok   $page"
done

if [ "$pages" -eq 0 ]; then
  echo "FAIL $dir: no *.1 page to check"
  exit 1
fi
[ "$have_mandoc" = yes ] || echo "note: mandoc is not installed; its lint was not run"
echo "$pages page(s), $failures finding(s)"
[ "$failures" -eq 0 ]
