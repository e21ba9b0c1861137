#!/usr/bin/env bash
# Configures and builds plimsar into build/ (or $PLIMSAR_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${PLIMSAR_BUILD_DIR:-build}
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-time_macros}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

cmake -S . -B "$build_dir" -G Ninja "$@"
# PLIMSAR_TARGETS names the targets to build (default: all).
targets=()
for target in ${PLIMSAR_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$build_dir" --parallel "${PLIMSAR_JOBS:-$(nproc)}" "${targets[@]}"
