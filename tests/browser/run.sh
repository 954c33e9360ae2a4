#!/bin/sh
# The steps pages in a real browser: renders the pages of the seed-12345 game
# (both players and the index) and of the worked example in headless chromium
# and checks them from the browser's DOM (steps-pages.mjs).
# Usage: run.sh LORVEX DRAWGAME MGAME WORK [SCREENSHOT.png]
# Exits 77 (skipped) when chromium, node or tests/browser/node_modules are
# missing, unless CI=true, where that fails.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
lorvex=$(realpath "$1") drawgame=$(realpath "$2") mgame=$(realpath "$3")
work=$(realpath -m "$4") screenshot=$(realpath -m "${5:-$4/steps.png}")
what="browser test"
. "$here/need-browser.sh"
sh "$here/make-runs.sh" "$lorvex" "$drawgame" "$work"
(cd "$work" && "$mgame" view game)
(cd "$work" && "$mgame" view worked)
CHROMIUM=$chromium node "$here/steps-pages.mjs" "$work" "$screenshot"
