#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, address and undefined-behaviour sanitizers
# (scripts/build-sanitized.sh), then runs each target for a bounded time on a working copy of its
# seed corpus (fuzz/corpus/<target>) with its dictionary. Exits non-zero when a target finds a
# crash, a sanitizer report, a leak, a timeout or a broken property; the input that did it is kept
# in <build dir>/artifacts/ (once mended, add it to fuzz/corpus/<target>/ and to a test).
#   --long                 30 minutes per target instead of PLIMSAR_FUZZ_SECONDS
#   --bench                measures the speed of each target: PLIMSAR_FUZZ_SECONDS (default 30)
#                          from its seed corpus alone, then names the targets below 2,000
#                          executions per second of processor time
#   PLIMSAR_FUZZ_SECONDS   seconds per target (default 60)
#   PLIMSAR_FUZZ_RUNS      also stops a target after this many executions (a long run:
#                          PLIMSAR_FUZZ_RUNS=3000000 scripts/fuzz.sh --long)
#   PLIMSAR_FUZZ_TARGETS   targets to run (default: all eight)
# Prints per target the executions, executions per second of wall clock and of processor time,
# coverage (cov: edges, ft: features), corpus size and peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
seconds=${PLIMSAR_FUZZ_SECONDS:-60}
case $mode in
  --long) seconds=1800 ;;
  --bench) seconds=${PLIMSAR_FUZZ_SECONDS:-30} ;;
esac
# Executions per second of processor time each target must reach.
goal=2000
targets=${PLIMSAR_FUZZ_TARGETS:-bank_chunk bank_file program_file legacy_document render_midi sequencer_midi sound_bank settings}
build_dir=${PLIMSAR_FUZZ_BUILD_DIR:-build-fuzz}

bash scripts/setup.sh

build_start=$(date +%s)
fuzz_targets=""
for target in $targets; do fuzz_targets="$fuzz_targets plimsar_fuzz_$target"; done
PLIMSAR_TARGETS=$fuzz_targets bash scripts/build-sanitized.sh
echo "fuzz: build took $(( $(date +%s) - build_start )) s"

# Every allocation records its call stack for a report: five frames say where a block came from
# at a fraction of the default 30's cost in these deep XML readers. Running a kept input alone
# under the target with malloc_context_size=30 shows the whole stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:malloc_context_size=5}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

dictionary_of() {
  case $1 in
    bank_chunk|bank_file|program_file|legacy_document) echo fuzz/state.dict ;;
    render_midi|sequencer_midi) echo fuzz/midi.dict ;;
    *) echo "fuzz/$1.dict" ;;
  esac
}

artifacts=$build_dir/artifacts
mkdir -p "$artifacts"
failed=()
slow=()
summary=()

for target in $targets; do
  corpus=$build_dir/corpus/$target
  # A benchmark starts from the seeds alone, so that its figures do not depend on earlier runs.
  if [ "$mode" = "--bench" ]; then corpus=$build_dir/bench-corpus/$target; rm -rf "$corpus"; fi
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"$target"/* "$corpus"/
  echo "fuzz: $target for $seconds s"

  # Only this process writes to the corpus, so it is not read again while it runs (-reload=0):
  # otherwise libFuzzer lists it every second and runs each input it wrote itself once more.
  started=$(date +%s)
  if ! /usr/bin/time -f "%U %S" -o "$build_dir/$target.cpu" "$build_dir/fuzz/plimsar_fuzz_$target" "$corpus" \
        -max_total_time="$seconds" -runs="${PLIMSAR_FUZZ_RUNS:--1}" -timeout=10 -rss_limit_mb=2048 -max_len=65536 -reload=0 \
        -dict="$(dictionary_of "$target")" -artifact_prefix="$artifacts/$target-" -print_final_stats=1 \
        2> "$build_dir/$target.log"; then
    failed+=("$target")
    tail -60 "$build_dir/$target.log"
  fi

  elapsed=$(( $(date +%s) - started ))
  if [ "$elapsed" -lt 1 ]; then elapsed=1; fi

  # The last status line holds coverage, features and corpus; the final statistics the totals.
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build_dir/$target.log")
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$build_dir/$target.log")
  status=$(grep -E '^#[0-9]+' "$build_dir/$target.log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<< "$status")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<< "$status")
  units=$(sed -n 's/.* corp: \([0-9]*\/[0-9a-zA-Z]*\).*/\1/p' <<< "$status")
  # On a shared machine the wall clock says little: executions per second of processor time too.
  per_cpu_second=$(awk -v runs="${runs:-0}" '{ cpu = $1 + $2; printf "%d", (cpu > 0 ? runs / cpu : 0) }' "$build_dir/$target.cpu" 2>/dev/null || echo 0)
  if [ "$per_cpu_second" -lt "$goal" ]; then slow+=("$target"); fi
  summary+=("$(printf '%-16s %12s %9s %9s %7s %7s %12s %6s' "$target" "${runs:-?}" "$(( ${runs:-0} / elapsed ))" \
    "$per_cpu_second" "${cov:-?}" "${ft:-?}" "${units:-?}" "${rss:-?}")")
done

printf '%-16s %12s %9s %9s %7s %7s %12s %6s\n' target executions "exec/s" "exec/cpu-s" cov ft corpus "MB"
printf '%s\n' "${summary[@]}"

if [ ${#slow[@]} -gt 0 ]; then
  echo "fuzz: below $goal executions per second of processor time: ${slow[*]}"
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: FAILED: ${failed[*]} (inputs in $artifacts)"
  exit 1
fi
echo "fuzz: passed: $targets"
