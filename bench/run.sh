#!/bin/sh
# Runs the benchmarks of a build directory (default: build). A second
# argument, quick or full (default), picks SolverBench's problem sizes.
set -e
BUILD_DIR=${1:-build}
"$BUILD_DIR/bench/NumberTextBench"
"$BUILD_DIR/bench/SolverBench" "${2:-full}"
