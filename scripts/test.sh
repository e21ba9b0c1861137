#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest. Exits non-zero on failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh
build_dir=${PLIMSAR_BUILD_DIR:-build}
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)"
