#!/usr/bin/env bash
# Builds the VST3 and LV2 plug-ins and installs them for the current user: plimsar.vst3 into
# ~/.vst3 and plimsar.lv2 into ~/.lv2, replacing copies installed before.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${PLIMSAR_BUILD_DIR:-build}
PLIMSAR_TARGETS="plimsar_plugin_VST3 plimsar_plugin_LV2" bash scripts/build.sh

for format in VST3 LV2; do
  suffix=$(echo "$format" | tr '[:upper:]' '[:lower:]')
  bundle=$(ls -d "$build_dir"/src/plugin/plimsar_plugin_artefacts/*/"$format"/plimsar."$suffix" | head -1)
  destination="$HOME/.$suffix"
  mkdir -p "$destination"
  rm -rf "$destination/plimsar.$suffix"
  cp -r "$bundle" "$destination/"
  echo "install-plugins: $destination/plimsar.$suffix"
done
