#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build, test and run plimsar.
# Idempotent and non-interactive: when every package is present it only checks and returns.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang lld ccache pkg-config
  juce-modules-source libjack-jackd2-dev libkissfft-dev
  libasound2-dev libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev libfreetype-dev
  libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev
  # running and checking
  xvfb xauth x11-utils xdotool jackd2 midicsv python3 python3-construct time
  # artwork: lettering of the editor's SVG sources becomes outlines of these fonts at build time
  python3-fonttools fonts-dejavu-core fonts-dejavu-extra
  # the end-to-end test: a window manager, screenshots, spectra
  openbox imagemagick python3-numpy
  # hosting the plug-ins: an LV2 host, the LV2 inspection tools and the Turtle validator
  jalv lilv-utils lv2-dev sordi
  # a DAW for the plug-in test in a real session: its Lua session tool runs headless (45 MB
  # download, 191 MB installed, about 70 s to install)
  ardour
  # scripts/compare.sh only: other renderers of the same notes, with a General MIDI sound font
  fluidsynth fluid-soundfont-gm timidity
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"

for p in "${missing[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
    || { echo "setup: FAILED to install $p" >&2; exit 1; }
done
echo "setup: done"
