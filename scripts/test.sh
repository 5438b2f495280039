#!/usr/bin/env bash
# Builds everything and runs every test suite through ctest, headless.
# Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
BUILD_DIR="${PURGATEX_BUILD_DIR:-build}"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
