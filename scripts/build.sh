#!/usr/bin/env bash
# Configures and builds the program, its tools and its tests in ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
BUILD_DIR="${PURGATEX_BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" ${PURGATEX_CMAKE_ARGS:-}
cmake --build "$BUILD_DIR" -j"$(nproc)"
# A changed window form regenerates its header in the first pass; the files
# that include it are rebuilt in the second (a no-op when nothing changed).
cmake --build "$BUILD_DIR" -j"$(nproc)"
