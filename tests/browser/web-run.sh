#!/bin/sh
# The web page in a real browser (web-page.mjs): headless chromium against a
# loopback server, every downloaded file compared with the native build's.
# Usage: web-run.sh SITE BUILD_DIR [SCREENSHOT.png]  (BUILD_DIR: the native
# build, with its solver, mgame and tests/DrawGame)
# Exits 77 (skipped) when chromium, node or the npm packages are missing,
# unless CI=true, where that fails.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
site=$(realpath "$1") build=$(realpath "$2")
screenshot=${3:+$(realpath -m "$3")}
what="web page test"
. "$here/need-browser.sh"
CHROMIUM=$chromium node "$here/web-page.mjs" "$site" "$build" "$(cd "$here/../.." && pwd)" $screenshot
