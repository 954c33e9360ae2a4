#!/bin/sh
# Runs a Windows program under Wine, quietly, in a prefix of the build's own.
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-${TMPDIR:-/tmp}/mg-wine-prefix}"
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
exec "$wine" "$@"
