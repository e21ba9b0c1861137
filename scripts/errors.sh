#!/usr/bin/env bash
# Builds and prints only compiler diagnostics (for quick edit-compile cycles).
cd "$(dirname "$0")/.."
export CCACHE_SLOPPINESS=time_macros CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
ninja -C "${PLIMSAR_BUILD_DIR:-build}" -k 0 "$@" 2>&1 | grep -E "error|warning|undefined reference|FAILED" | grep -v "^/usr/bin/ccache" | sort | uniq | head -60
