#!/bin/sh
# Installs the Debian packages whose commands are missing, when run as root.
# Usage: scripts/need-packages.sh COMMAND:PACKAGE...
set -eu
missing=""
for pair in "$@"; do
  command -v "${pair%%:*}" >/dev/null 2>&1 || missing="$missing ${pair#*:}"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages:$missing (install them, or run as root)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# shellcheck disable=SC2086
apt-get install -y -q $missing
