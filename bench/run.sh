#!/bin/sh
# Runs the benchmarks of a build directory (default: build).
set -e
BUILD_DIR=${1:-build}
"$BUILD_DIR/bench/NumberTextBench"
