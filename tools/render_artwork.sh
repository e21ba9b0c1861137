#!/usr/bin/env bash
# Renders every embedded artwork entry to PNG, at the size the editor draws it and at twice that
# size, on the colour it is drawn over: build/artwork/<archive>-<entry>@1x.png and @2x.png.
# Builds the editor tests first; run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${PLIMSAR_BUILD_DIR:-build}
PLIMSAR_TARGETS="plimsar_editor_tests" scripts/build.sh >/dev/null
mkdir -p "$build_dir/artwork"
PLIMSAR_ARTWORK_PNG_DIR="$PWD/$build_dir/artwork" HOME="$(mktemp -d)" \
  "$build_dir/tests/plimsar_editor_tests" --gtest_filter='Entries/AlxArtwork.*' --gtest_brief=1
echo "previews in $build_dir/artwork"
