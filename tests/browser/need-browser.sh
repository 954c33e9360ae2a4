# Sourced by the browser tests: sets $chromium, and exits 77 (skipped) when
# chromium, node or tests/browser/node_modules are missing, unless CI=true,
# where that fails. Needs $here (this folder) and $what (the test's name).
chromium=${CHROMIUM:-/usr/bin/chromium}
missing=""
[ -x "$chromium" ] || missing="$missing $chromium"
command -v node >/dev/null 2>&1 || missing="$missing node"
[ -d "$here/node_modules/playwright-core" ] || missing="$missing $here/node_modules (npm ci in tests/browser)"
if [ -n "$missing" ]; then
  if [ "${CI:-}" = true ]; then
    echo "$what: missing$missing" >&2
    exit 1
  fi
  echo "$what skipped: missing$missing"
  exit 77
fi
