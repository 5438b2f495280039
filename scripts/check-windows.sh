#!/usr/bin/env bash
# Compiles every source of the program for Windows (x86_64, MinGW) with
# -fsyntax-only against the installed Qt 5 headers, so the Windows-only code
# (device notifications, hidden consoles, tool lookup) is at least checked by a
# compiler. The window form's generated header and the version header come
# from the Linux build in ./build (made when missing). Exits non-zero when a
# source does not compile.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh

BUILD_DIR="${PURGATEX_BUILD_DIR:-build}"
ui_dir="$BUILD_DIR/purgatex_core_autogen/include"
if [ ! -f "$ui_dir/ui_mainwindow.h" ] || [ ! -f "$BUILD_DIR/generated/purgatexversion.h" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
    cmake --build "$BUILD_DIR" --target purgatex_core_autogen
fi

CXX="${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}"
qt="$(qmake -query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt5)"
flags=(-std=c++17 -fsyntax-only -Wall -Wextra -Werror
       -DUNICODE -D_UNICODE -DWIN32 -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_NETWORK_LIB
       -I. -Iapp -I"$ui_dir" -I"$BUILD_DIR/generated"
       -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets"
       -isystem "$qt/QtNetwork")

mapfile -t sources < <(find app devicelink devicewatcher protocol workflow browser -name '*.cpp' | sort)
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
status=0
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} sh -c \
    'out=$("$0" "$@" {} 2>&1) || { printf "FAILED {}\n%s\n" "$out"; exit 1; }; [ -z "$out" ] || printf "{}\n%s\n" "$out"' \
    "$CXX" "${flags[@]}" >"$log" || status=$?
cat "$log"
if [ "$status" -ne 0 ]; then
    echo "Windows syntax check: failed" >&2
    exit 1
fi
echo "Windows syntax check: ${#sources[@]} sources compile for Windows"
