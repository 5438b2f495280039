#!/usr/bin/env bash
# Builds the program and runs it against the simulated phone.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
BUILD_DIR="${PURGATEX_BUILD_DIR:-build}"
run() {
    if [ -z "${DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
        echo "No display: running under a virtual X server (xvfb-run)."
        xvfb-run -a "$@"
    else
        "$@"
    fi
}
run "$BUILD_DIR/Purgatex"
