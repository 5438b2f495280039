#!/usr/bin/env bash
# Builds the Windows program (scripts/windows/build.sh) and runs the test
# suites that need no window through ctest, each under Wine (a fresh prefix
# of this run, on a virtual display). Exits 3 when no MinGW Qt is to be had.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/windows/build.sh
# shellcheck source=mingw-qt.sh
source scripts/windows/mingw-qt.sh
purgatex_find_mingw_qt
# shellcheck source=deploy-lib.sh
source scripts/windows/deploy-lib.sh
# shellcheck source=wine-env.sh
source scripts/windows/wine-env.sh
BUILD_DIR="$(cd "${PURGATEX_WINDOWS_BUILD_DIR:-build-windows}" && pwd)"
work="$BUILD_DIR/wine-test"
mkdir -p "$work"
trap purgatex_wine_stop EXIT
purgatex_wine_start "$work"
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
