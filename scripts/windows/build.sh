#!/usr/bin/env bash
# Cross-builds the program for 64-bit Windows in ./build-windows: Purgatex.exe,
# the Windows builds of the simulated phone's stand-in tools (adb.exe,
# netstat.exe, tasklist.exe, taskkill.exe), the test suites that need no
# window and the Wine smoke driver. Needs the MinGW Qt (scripts/windows/mingw-qt.sh
# says where it is looked for); exits 3 when there is none.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/windows/setup-deps.sh
# shellcheck source=mingw-qt.sh
source scripts/windows/mingw-qt.sh
if ! purgatex_find_mingw_qt; then
    echo "No MinGW Qt: set PURGATEX_MINGW_QT, or put qt-5.15.8-mingw64-posix.tar.xz in ../shared/windows/, or run scripts/windows/build-qt-mingw.sh" >&2
    exit 3
fi
BUILD_DIR="${PURGATEX_WINDOWS_BUILD_DIR:-build-windows}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$(pwd)/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$PURGATEX_MINGW_QT" ${PURGATEX_WINDOWS_CMAKE_ARGS:-}
cmake --build "$BUILD_DIR" -j"$(nproc)"
# A changed window form regenerates its header in the first pass.
cmake --build "$BUILD_DIR" -j"$(nproc)"
