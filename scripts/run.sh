#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: with a usable display, the standalone
# application; without one, an offline render of the demo into out/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh
build_dir=${PLIMSAR_BUILD_DIR:-build}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run: starting the standalone application on display $DISPLAY"
  exec "$build_dir/src/standalone/plimsar"
fi

mkdir -p out
"$build_dir/tools/render/plimsar-render" --bars 8 --wav-out out/demo.wav --midi-out out/demo.mid
echo "run: no display, so the demo was rendered offline instead: eight bars of the default program"
echo "     (\"clean start\") playing the built-in demo chords at 120 bpm."
echo "  $PWD/out/demo.wav  the built-in synth's audio; play it with 'aplay out/demo.wav' or any audio player"
echo "  $PWD/out/demo.mid  the notes; list them with 'midicsv out/demo.mid' or open the file in a sequencer"
