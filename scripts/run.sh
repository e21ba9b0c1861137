#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh
echo "run: built; the renderer is not part of this build yet; the standalone application is build/src/standalone/plimsar (needs a display)."
