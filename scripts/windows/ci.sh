#!/usr/bin/env bash
# The Windows step of CI: when the MinGW Qt is to be had (scripts/windows/mingw-qt.sh),
# builds the Windows program with its zip and installer, runs the suites that
# need no window under Wine, and runs the Wine smoke journey
# (scripts/windows/smoke.sh). Without it, says so in one line and passes.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$(date +%s)
# shellcheck source=mingw-qt.sh
source scripts/windows/mingw-qt.sh
if ! purgatex_find_mingw_qt >/dev/null 2>&1; then
    echo "Windows build: skipped, no MinGW Qt (set PURGATEX_MINGW_QT, or put qt-5.15.8-mingw64-posix.tar.xz in ../shared/windows/, or run scripts/windows/build-qt-mingw.sh)"
    exit 0
fi
export PURGATEX_MINGW_QT
bash scripts/windows/package.sh
bash scripts/windows/test.sh
bash scripts/windows/smoke.sh
echo "Windows build, suites under Wine and smoke journey: $(( $(date +%s) - start )) s"
