#!/usr/bin/env bash
# Installs what the project needs on a Debian 12 machine, skipping what is
# already there. Runs apt-get update once, only when something is missing.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config qtbase5-dev qtbase5-dev-tools
          libqt5svg5-dev adb xvfb xauth ccache
          # lupdate and lrelease (the translations), with their CMake package,
          # and Qt's own translations for the standard texts (context menus)
          qttools5-dev-tools qttools5-dev qttranslations5-l10n
          # fuzz targets (libFuzzer comes with clang's runtime libraries)
          clang libclang-rt-14-dev
          # syntax check of the Windows sources
          g++-mingw-w64-x86-64
          # PDF reports in tests, and the installed desktop entry's check
          poppler-utils desktop-file-utils)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
