#!/usr/bin/env bash
# Builds everything with ThreadSanitizer into build-tsan/ (or $PLIMSAR_TSAN_BUILD_DIR) and runs the
# test suites there. Any data race makes the test that ran into it fail. Arguments go to ctest
# (e.g. -R 'Concurrent|Threaded' for the concurrency tests only).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${PLIMSAR_TSAN_BUILD_DIR:-build-tsan}
bash scripts/setup.sh
PLIMSAR_BUILD_DIR=$build_dir bash scripts/build.sh -DPLIMSAR_SANITIZE=thread -DPLIMSAR_BUILD_BENCH=OFF
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
# The standalone smoke tests start the application under Xvfb and time out under the sanitizer's
# slowdown; they run in the main build.
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" -E 'standalone\.smoke' "$@"
