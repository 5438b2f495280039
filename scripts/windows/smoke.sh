#!/usr/bin/env bash
# The Windows program under Wine, end to end (after scripts/windows/package.sh):
#   1. the installer installs silently into a fresh Wine prefix (Program Files,
#      Start-menu entry, uninstall entry);
#   2. the installed Purgatex.exe without adb tells where it looked for adb.exe
#      (C:\platform-tools among the places) on its adb-missing notice;
#   3. the installed Purgatex.exe, with the Windows-built stand-in adb.exe put
#      beside it as a user puts platform-tools there, starts on a virtual
#      display, runs the connection sequence, loses the phone (unplugged while
#      the companion app starts), registers its device watcher while it waits
#      for it, and once the phone is back runs the connection sequence
#      (Windows process creation, hidden consoles, Wine's own netstat) up to
#      the phone page against the companion-app simulator, a Linux process on
#      127.0.0.1:10000; closing its window runs its exit command
#      (taskkill /f /im Purgatex.exe), which ends it;
#   4. the smoke driver (tests/windows/winsmoke.cpp), from the unzipped zip in
#      a folder whose name holds a blank, drives the same window through a
#      Private scan, erases one ticked contact and checks that the erase record
#      lies in the Windows application-data folder, with the window in German
#      (the translation compiled in, Qt's own German from the zip) while the
#      log lines and the record stay English;
#   5. installing again (an upgrade) keeps that record, and so does the
#      uninstaller, which removes the program, its Start-menu entry and its
#      uninstall entry.
# The logs, the record and a picture of every page end up in
# build-windows/smoke/. Exits non-zero when a step fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
root="$(pwd)"
# shellcheck source=mingw-qt.sh
source scripts/windows/mingw-qt.sh
purgatex_find_mingw_qt
# shellcheck source=deploy-lib.sh
source scripts/windows/deploy-lib.sh
# shellcheck source=wine-env.sh
source scripts/windows/wine-env.sh

BUILD_DIR="$(cd "${PURGATEX_WINDOWS_BUILD_DIR:-build-windows}" && pwd)"
dist="$BUILD_DIR/dist"
setup="$(ls "$dist"/Purgatex-*-win64-setup.exe | head -n1)"
zip_file="$(ls "$dist"/Purgatex-*-win64.zip | head -n1)"
work="$BUILD_DIR/smoke"
rm -rf "$work"
mkdir -p "$work/pictures"
pictures="$work/pictures"

sim_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    purgatex_wine_stop
}
trap cleanup EXIT

fail() {
    echo "Windows smoke: FAILED: $*" >&2
    import -window root "$pictures/failed-screen.png" 2>/dev/null || true
    exit 1
}
step() { echo "== Windows smoke: $*"; }
# Waits up to $1 seconds for a command to succeed.
wait_for() {
    local seconds="$1"; shift
    local end=$(( $(date +%s) + seconds ))
    until "$@"; do
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.5
    done
}
has_line() { grep -aqF -- "$2" "$1" 2>/dev/null; }

# The companion-app simulator is a Linux program of the Linux build.
companion_sim="$root/${PURGATEX_BUILD_DIR:-build}/tools/companionsim/purgatex-companion-sim"
if [ ! -x "$companion_sim" ]; then
    cmake -S . -B "${PURGATEX_BUILD_DIR:-build}" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "${PURGATEX_BUILD_DIR:-build}" --target purgatex-companion-sim
fi

step "fresh Wine prefix on a virtual display"
purgatex_wine_start "$work"
# The programs run with what their folder holds: no Qt or compiler DLLs from
# elsewhere, no plug-in folder of the Qt build.
unset WINEPATH QT_PLUGIN_PATH
drive_c="$WINEPREFIX/drive_c"

step "installing $(basename "$setup") silently"
wine "$setup" /S >"$work/install.log" 2>&1 </dev/null
install_dir="$drive_c/Program Files/Purgatex"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Purgatex for Android"
for f in Purgatex.exe Qt5Core.dll Qt5Widgets.dll libstdc++-6.dll platforms/qwindows.dll imageformats/qjpeg.dll \
         styles/qwindowsvistastyle.dll help/user-guide.html Uninstall.exe; do
    [ -f "$install_dir/$f" ] || fail "the installer did not install $f into C:\\Program Files\\Purgatex"
done
[ -f "$menu/Purgatex for Android.lnk" ] || fail "no Start-menu entry"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Purgatex' /v UninstallString \
    >"$work/uninstall-entry.txt" 2>&1 </dev/null || fail "no uninstall entry"
[ ! -e "$install_dir/adb.exe" ] || fail "the installer must not ship adb.exe"

step "the simulated phone and the companion-app simulator on 127.0.0.1:10000"
sim_dir="$work/phone"
mkdir -p "$sim_dir"
cat >"$sim_dir/scenario" <<'SCENARIO'
# Authorised, the companion package installed. Starting the companion app
# takes a while the first time: the smoke run unplugs the phone meanwhile
# and plugs it in again once the program waits for it (device watcher on).
state = device
fault.am.delay_ms = 4000
fault.am.times = 1
installed = 1
line_endings = crlf
SCENARIO
export PURGATEX_SIM_DIR
PURGATEX_SIM_DIR="$(purgatex_windows_path "$sim_dir")"
unset PURGATEX_TOOLS_DIR
QT_QPA_PLATFORM=offscreen "$companion_sim" --port 10000 \
    >"$work/companion-sim.log" 2>&1 &
sim_pid=$!
wait_for 30 bash -c 'exec 3<>/dev/tcp/127.0.0.1/10000' 2>/dev/null || fail "the companion-app simulator does not listen"
# The installed program runs from its folder, as its shortcut starts it. Its
# log reaches a terminal only (see console-text.py): a transcript of one.
start_installed() {
    program_log="$work/$1.log"
    console="$work/$1.console"
    (cd "$install_dir" && QT_FORCE_STDERR_LOGGING=1 exec script -qfc "stty cols 500 rows 60; exec wine ./Purgatex.exe" \
        "$console") >/dev/null 2>&1 </dev/null &
    program_pid=$!
}
has_line() {
    if [ "$1" = "$program_log" ]; then python3 "$root/scripts/windows/console-text.py" "$console" >"$program_log"; fi
    grep -aqF -- "$2" "$1" 2>/dev/null
}
# Closing the window runs the program's exit command (taskkill /f /im
# Purgatex.exe), which ends it.
close_installed() {
    wine taskkill /im Purgatex.exe >>"$work/close.log" 2>&1 </dev/null || true
    wait_for 30 bash -c "! kill -0 $program_pid 2>/dev/null" || fail "the program did not end after its window was closed"
    program_pid=""
    # The close button's way: the exit command, run by Wine's own taskkill,
    # ends the program before it can say more.
    has_line "$program_log" "releaseAndClose" || has_line "$program_log" "ProgramType::Idle" \
        || fail "closing the window did not run the program's close"
}

step "the installed Purgatex.exe without adb"
start_installed installed-without-adb
wait_for 60 has_line "$program_log" "link problem told: adb missing" || fail "the adb-missing notice was not told"
grep -aF "link problem: adb missing" "$program_log" | grep -aqF 'C:\\platform-tools' \
    || fail "the places adb was looked for lack C:\\platform-tools"
sleep 1
import -window root "$pictures/00-installed-adb-missing.png"
close_installed

# The stand-in adb, put beside the installed program as the adb-missing notice tells the user.
cp "$BUILD_DIR/tools/simadb/adb.exe" "$install_dir/adb.exe"

step "the installed Purgatex.exe with adb.exe beside it"
start_installed installed-program
# "helpers used:" follows the "adb used:" line whole.
wait_for 60 has_line "$program_log" "helpers used:" || fail "the program did not start (log: $program_log)"
grep -aF "adb used:" "$program_log" | head -n1 | grep -aqiF 'C:\\Program Files\\Purgatex\\adb.exe' \
    || grep -aF "adb used:" "$program_log" | head -n1 | grep -aqiF 'C:/Program Files/Purgatex/adb.exe' \
    || fail "the program did not take the adb.exe beside it: $(grep -aF 'adb used:' "$program_log" | head -n1)"
wait_for 60 grep -aq "am start" "$sim_dir/calls.log" || fail "the connection sequence did not start the companion app"
sed -i 's/^state = device$/state = absent/' "$sim_dir/scenario"
wait_for 60 has_line "$program_log" "device watcher: registered for USB device notifications" \
    || fail "the device watcher did not register ($(grep -aF 'device watcher' "$program_log" | head -n1))"
sleep 1
import -window root "$pictures/01-installed-please-connect.png"
# Wine sends no device notifications: the presence poll (adb devices) sees the phone come back.
sed -i 's/^state = absent$/state = device/' "$sim_dir/scenario"
wait_for 90 has_line "$program_log" "in homeinforeadable ,home info:" \
    || fail "the installed program did not reach the phone page (log: $program_log)"
sleep 2
import -window root "$pictures/02-installed-phone-page.png"
for line in "start adb,no e,started" "start rsa,no e,authorized" "after forward adb check" "after get serial check"; do
    has_line "$program_log" "$line" || fail "the connection sequence lacks \"$line\""
done
step "closing the installed program's window (its exit command ends it)"
close_installed

step "the smoke journey from the unzipped program folder"
journey_dir="$work/Purgatex smoke"
mkdir -p "$journey_dir"
unzip -q "$zip_file" -d "$journey_dir"
app_dir="$journey_dir/Purgatex"
cp "$BUILD_DIR/tools/simadb/adb.exe" "$BUILD_DIR/tests/windows/purgatex-winsmoke.exe" "$app_dir/"
purgatex_copy_dlls "$app_dir" "$app_dir/purgatex-winsmoke.exe"
journey_log="$work/journey.log"
status=0
(cd "$app_dir" && QT_FORCE_STDERR_LOGGING=1 timeout 600 wine ./purgatex-winsmoke.exe \
    "$(purgatex_windows_path "$pictures")") >"$journey_log" 2>&1 </dev/null || status=$?
cp "$pictures/winsmoke.log" "$work/journey-window.log" 2>/dev/null || true
[ "$status" -eq 0 ] || fail "the smoke journey ended with $status: $(grep -a 'FAILED' "$journey_log" | head -n1)"
for line in "smoke: language: de, Qt's own texts: German" "adb used:" "in homeinforeadable ,home info:" \
            "smoke: scanned:" "erase record:" "smoke: record:" "close command over, quitting"; do
    has_line "$journey_log" "$line" || fail "the journey's log lacks \"$line\""
done
grep -aF "adb used:" "$journey_log" | head -n1 | grep -aqF "Purgatex smoke" \
    || fail "the journey did not take the adb.exe beside it"
records="$(ls -d "$drive_c"/users/*/AppData/Roaming/Purgatex/records 2>/dev/null | head -n1)"
[ -n "$records" ] || fail "no records folder under %APPDATA%\\Purgatex"
record_json="$(ls "$records"/erase-*.json 2>/dev/null | head -n1)"
[ -n "$record_json" ] && [ -f "${record_json%.json}.pdf" ] || fail "no erase record (JSON and PDF) in $records"
cp "$record_json" "${record_json%.json}.pdf" "$work/"
python3 - "$record_json" <<'PY' || fail "the erase record does not hold the one erased contact"
import json, sys
record = json.load(open(sys.argv[1], encoding="utf-8"))
text = json.dumps(record)
contacts = [c for c in record.get("categories", []) if c.get("category") == "Contact"]
assert contacts, text[:400]
c = contacts[0]
assert c["chosen"] >= 1 and c["confirmed_erased"] == c["chosen"] and c["failed"] == 0, c
print("record:", sys.argv[1].rsplit("/", 1)[-1], json.dumps(contacts[0])[:300])
PY
grep -aqi "erase" "$work/companion-sim.log" || fail "the companion-app simulator received no erase request"

step "upgrade and uninstall keep the erase records"
wine "$setup" /S >"$work/upgrade.log" 2>&1 </dev/null
[ -f "$install_dir/Purgatex.exe" ] || fail "the upgrade left no program"
[ -f "$record_json" ] || fail "the upgrade removed the erase record"
rm -f "$install_dir/adb.exe"
# The uninstaller runs a copy of itself from the temporary folder and returns
# at once: its work is waited for.
wine "C:\\Program Files\\Purgatex\\Uninstall.exe" /S >"$work/uninstall.log" 2>&1 </dev/null
wait_for 60 test ! -e "$install_dir/Uninstall.exe" || fail "the uninstaller did not finish"
for f in Purgatex.exe Qt5Core.dll platforms/qwindows.dll help/user-guide.html; do
    [ ! -e "$install_dir/$f" ] || fail "the uninstaller left $f"
done
[ ! -e "$menu/Purgatex for Android.lnk" ] || fail "the uninstaller left the Start-menu entry"
if wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Purgatex' >/dev/null 2>&1 </dev/null; then
    fail "the uninstaller left its uninstall entry"
fi
[ -f "$record_json" ] || fail "the uninstaller removed the erase record"

echo "Windows smoke: passed (pictures in $pictures)"
