#!/usr/bin/env bash
# Renders the same notes to WAV with plimsar-render, fluidsynth (fast render, FluidR3_GM) and
# timidity (FluidR3_GM through its Debian configuration), several times each, and prints the
# medians side by side: wall-clock and CPU seconds, peak memory (from /usr/bin/time) and how many
# times faster plimsar is. plimsar computes the notes while it renders them (the factory's
# default program playing the built-in chords); the others render the MIDI file of those notes
# that plimsar wrote.
#
# usage: scripts/compare.sh [plimsar-render]
#   COMPARE_SECONDS  length of music rendered (default 300)
#   COMPARE_REPS     repetitions of each command (default 5)
# fluidsynth, fluid-soundfont-gm and timidity come from scripts/setup.sh, for this script only.
set -euo pipefail
cd "$(dirname "$0")/.."

render=${1:-build/tools/render/plimsar-render}
seconds=${COMPARE_SECONDS:-300}
reps=${COMPARE_REPS:-5}
rate=44100
soundfont=/usr/share/sounds/sf2/FluidR3_GM.sf2

for tool in "$render" fluidsynth timidity /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "compare.sh: $tool is missing (build plimsar; run scripts/setup.sh)" >&2; exit 1; }
done
[ -f "$soundfont" ] || { echo "compare.sh: $soundfont is missing (run scripts/setup.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work"

# The notes: what plimsar delivers to its synth, as a MIDI file.
"$render" --seconds "$seconds" --sample-rate "$rate" --midi-out "$work/notes.mid" --quiet

# Runs a command reps times under /usr/bin/time; prints the medians "wall cpu peak-KiB".
measure() {
  local runs="$work/runs"
  : >"$runs"
  for _ in $(seq "$reps"); do
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>&1 \
      || { echo "compare.sh: failed: $*" >&2; exit 1; }
    tail -n 1 "$work/time" >>"$runs"
  done
  local median=$(( (reps + 1) / 2 ))
  local wall cpu peak
  wall=$(awk '{ print $1 }' "$runs" | sort -g | sed -n "${median}p")
  cpu=$(awk '{ printf "%.2f\n", $2 + $3 }' "$runs" | sort -g | sed -n "${median}p")
  peak=$(awk '{ print $4 }' "$runs" | sort -g | sed -n "${median}p")
  echo "$wall $cpu $peak"
}

read -r p_wall p_cpu p_peak < <(measure "$render" --seconds "$seconds" --sample-rate "$rate" --wav-out "$work/plimsar.wav" --quiet)
read -r f_wall f_cpu f_peak < <(measure fluidsynth -q -n -i -r "$rate" -F "$work/fluidsynth.wav" "$soundfont" "$work/notes.mid")
read -r t_wall t_cpu t_peak < <(measure timidity -idq -s "$rate" -Ow -o "$work/timidity.wav" "$work/notes.mid")

echo "$seconds s of music at $rate Hz, median of $reps runs each"
printf '%-16s %9s %9s %9s %14s %16s %16s\n' renderer "wall s" "cpu s" "peak MB" "x real time" "plimsar faster" "(by cpu time)"
row() {
  awk -v name="$1" -v wall="$2" -v cpu="$3" -v peak="$4" -v seconds="$seconds" -v pwall="$p_wall" -v pcpu="$p_cpu" '
    function ratio(a, b) { return b > 0 ? sprintf("%.1fx", a / b) : "-" }
    BEGIN {
      printf "%-16s %9.2f %9.2f %9.1f %14s %16s %16s\n", name, wall, cpu, peak / 1024, \
        (wall > 0 ? sprintf("%.0fx", seconds / wall) : "-"), ratio(wall, pwall), ratio(cpu, pcpu)
    }'
}
row plimsar-render "$p_wall" "$p_cpu" "$p_peak"
row fluidsynth "$f_wall" "$f_cpu" "$f_peak"
row timidity "$t_wall" "$t_cpu" "$t_peak"
