#!/usr/bin/env bash
# Builds everything with the address and undefined-behaviour sanitizers (scripts/build-sanitized.sh,
# the build the fuzz targets use) and runs the whole test suite there. Any sanitizer report halts
# the process that ran into it and fails its test; leaks count too. The only exceptions are the
# findings inside third-party code that JUCE compiles in, each named in tests/lsan.supp or
# tests/ubsan.supp. Arguments go to ctest (e.g. -R synth).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${PLIMSAR_FUZZ_BUILD_DIR:-build-fuzz}
bash scripts/setup.sh

build_start=$(date +%s)
bash scripts/build-sanitized.sh
echo "asan: build took $(( $(date +%s) - build_start )) s"

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:suppressions=$PWD/tests/ubsan.supp}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}

test_start=$(date +%s)
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" "$@"
echo "asan: tests took $(( $(date +%s) - test_start )) s"
