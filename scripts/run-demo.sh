#!/usr/bin/env bash
# Builds the program and runs it against the simulated phone: the stand-in adb
# (one scripted, authorised phone without the companion package, so the install
# page shows) and the companion-app simulator on 127.0.0.1:10000, where the
# forward lands. The simulator prints what it is asked to erase.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
BUILD_DIR="$(cd "${PURGATEX_BUILD_DIR:-build}" && pwd)"

demo_dir="$(mktemp -d "${TMPDIR:-/tmp}/purgatex-demo.XXXXXX")"
sim_dir="$demo_dir/phone"
tools_dir="$demo_dir/tools"
mkdir -p "$sim_dir" "$tools_dir"
cat > "$sim_dir/scenario" <<'SCENARIO'
# One phone, plugged in and authorised; the companion package is not installed yet.
state = device
installed = 0
install.chunks = 60
install.chunk_ms = 40
SCENARIO

# adb, netstat and tasklist of the simulated phone and PC; the exit command
# (taskkill /f /im Purgatex.exe) uses the real Windows-format taskkill so that
# closing the window ends the program.
for tool in adb netstat tasklist; do
    ln -s "$BUILD_DIR/tools/simadb/$tool" "$tools_dir/$tool"
done
if [ -x "$BUILD_DIR/helpers/taskkill" ]; then
    ln -s "$BUILD_DIR/helpers/taskkill" "$tools_dir/taskkill"
else
    ln -s "$BUILD_DIR/tools/simadb/taskkill" "$tools_dir/taskkill"
fi

QT_QPA_PLATFORM=offscreen "$BUILD_DIR/tools/companionsim/purgatex-companion-sim" --port 10000 ${PURGATEX_SIM_ARGS:-} &
sim_pid=$!
cleanup() {
    kill "$sim_pid" 2>/dev/null || true
    rm -rf "$demo_dir"
}
trap cleanup EXIT

export PURGATEX_SIM_DIR="$sim_dir"
export PURGATEX_TOOLS_DIR="$tools_dir"
echo "Simulated phone: $sim_dir/scenario (edit it while the program runs: state = absent unplugs the phone)"

run() {
    if [ -z "${DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
        echo "No display: running under a virtual X server (xvfb-run)."
        xvfb-run -a -s "-screen 0 1920x1080x24" "$@"
    else
        "$@"
    fi
}
# The program's own folder must not be where the apk is looked for; the
# simulated adb accepts any path.
status=0
run "$BUILD_DIR/Purgatex" || status=$?
# Ended by its own exit command (taskkill) counts as a normal end.
if [ "$status" -ne 0 ] && [ "$status" -ne 137 ] && [ "$status" -ne 143 ]; then
    exit "$status"
fi
