#!/usr/bin/env bash
# Configures and builds plimsar with clang, the address and undefined-behaviour sanitizers and the
# fuzzer's coverage instrumentation into build-fuzz/ (or $PLIMSAR_FUZZ_BUILD_DIR): one build holds
# the libFuzzer targets (scripts/fuzz.sh) and the whole test suite (scripts/asan.sh), so the
# library is compiled once for both. PLIMSAR_TARGETS names the targets to build (default: all).
set -euo pipefail
cd "$(dirname "$0")/.."

# Warnings are not errors here: clang warns about things the main build's gcc does not, and the
# main build is the one that keeps the code warning-free. lld links each sanitized executable and
# plug-in in seconds where the default linker takes many minutes.
PLIMSAR_BUILD_DIR=${PLIMSAR_FUZZ_BUILD_DIR:-build-fuzz} bash scripts/build.sh \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPLIMSAR_SANITIZE=fuzzer-no-link,address,undefined -DPLIMSAR_WERROR=OFF \
  -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_MODULE_LINKER_FLAGS=-fuse-ld=lld \
  -DPLIMSAR_BUILD_FUZZ=ON -DPLIMSAR_BUILD_TESTS=ON -DPLIMSAR_BUILD_BENCH=OFF
