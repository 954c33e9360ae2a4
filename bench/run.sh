#!/bin/sh
# Runs the benchmarks of a build directory (default: build). A second
# argument, quick or full (default), picks the problem set; any further ones
# pick problems of it by name: sh bench/run.sh build full g85A.
# Figures are quoted on tmpfs, so scratch files go to /dev/shm unless TMPDIR
# says otherwise.
set -e
BUILD_DIR=${1:-build}
MODE=${2:-full}
shift $(($# < 2 ? $# : 2))
if [ -z "$TMPDIR" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR=/dev/shm
fi
TMPDIR=${TMPDIR:-/tmp}
export TMPDIR
echo "scratch: $TMPDIR ($(stat -f -c %T "$TMPDIR"))"
"$BUILD_DIR/bench/NumberTextBench"
echo
"$BUILD_DIR/bench/ReplayBench" "$MODE" "$@"
echo
"$BUILD_DIR/bench/SolverBench" "$MODE" "$@"
if [ "$MODE" = full ]; then
  echo
  "$BUILD_DIR/bench/ViewBench"
fi
