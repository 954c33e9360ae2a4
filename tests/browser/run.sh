#!/bin/sh
# The steps pages in a real browser: renders the pages of the seed-12345 game
# (both players and the index) and of the worked example in headless chromium
# and checks them from the browser's DOM (steps-pages.mjs).
# Usage: run.sh LORVEX DRAWGAME MGAME_VIEW WORK [SCREENSHOT.png]
# Exits 77 (skipped) when chromium, node or tests/browser/node_modules are
# missing, unless CI=true, where that fails.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
lorvex=$(realpath "$1") drawgame=$(realpath "$2") view=$(realpath "$3")
work=$(realpath -m "$4") screenshot=$(realpath -m "${5:-$4/steps.png}")
chromium=${CHROMIUM:-/usr/bin/chromium}
missing=""
[ -x "$chromium" ] || missing="$missing $chromium"
command -v node >/dev/null 2>&1 || missing="$missing node"
[ -d "$here/node_modules/playwright-core" ] || missing="$missing $here/node_modules (npm ci in tests/browser)"
if [ -n "$missing" ]; then
  if [ "${CI:-}" = true ]; then
    echo "browser test: missing$missing" >&2
    exit 1
  fi
  echo "browser test skipped: missing$missing"
  exit 77
fi
sh "$here/make-runs.sh" "$lorvex" "$drawgame" "$work"
(cd "$work" && "$view" game)
(cd "$work" && "$view" worked)
CHROMIUM=$chromium node "$here/steps-pages.mjs" "$work" "$screenshot"
