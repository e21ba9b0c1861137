#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, address and undefined-behaviour sanitizers into
# build-fuzz/ (or $PLIMSAR_FUZZ_BUILD_DIR), then runs each target for a bounded time on a working
# copy of the seed corpus (fuzz/corpus/<target>). Exits non-zero when a target finds a crash,
# a sanitizer report, a leak, a timeout or a broken round trip; the input that did it is kept in
# <build dir>/artifacts/ (add it to tests/state/regressions/ once fixed).
#   PLIMSAR_FUZZ_SECONDS   seconds per target (default 60)
#   PLIMSAR_FUZZ_TARGETS   targets to run (default: bank_chunk bank_file program_file)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${PLIMSAR_FUZZ_SECONDS:-60}
targets=${PLIMSAR_FUZZ_TARGETS:-bank_chunk bank_file program_file}
build_dir=${PLIMSAR_FUZZ_BUILD_DIR:-build-fuzz}

bash scripts/setup.sh

# Warnings are not errors here: clang warns about things the main build's gcc does not, and the
# main build is the one that keeps the code warning-free.
build_start=$(date +%s)
fuzz_targets=""
for target in $targets; do fuzz_targets="$fuzz_targets plimsar_fuzz_$target"; done
PLIMSAR_BUILD_DIR=$build_dir PLIMSAR_TARGETS=$fuzz_targets bash scripts/build.sh \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPLIMSAR_SANITIZE=fuzzer-no-link,address,undefined -DPLIMSAR_WERROR=OFF \
  -DPLIMSAR_BUILD_FUZZ=ON -DPLIMSAR_BUILD_TESTS=OFF -DPLIMSAR_BUILD_BENCH=OFF
echo "fuzz: build took $(( $(date +%s) - build_start )) s"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

artifacts=$build_dir/artifacts
mkdir -p "$artifacts"
failed=()

for target in $targets; do
  corpus=$build_dir/corpus/$target
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"$target"/* "$corpus"/
  echo "fuzz: $target for $seconds s"

  if ! "$build_dir/fuzz/plimsar_fuzz_$target" "$corpus" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -dict=fuzz/state.dict -artifact_prefix="$artifacts/$target-" -print_final_stats=1 \
        2> "$build_dir/$target.log"; then
    failed+=("$target")
    tail -60 "$build_dir/$target.log"
  fi

  # Executions, coverage (cov: edges, ft: features), corpus and memory at the end of the run.
  grep -E "DONE|^stat::(number_of_executed_units|peak_rss_mb)" "$build_dir/$target.log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: FAILED: ${failed[*]} (inputs in $artifacts)"
  exit 1
fi
echo "fuzz: passed: $targets"
