#!/usr/bin/env bash
# Installs what the Windows build, its packaging and its run under Wine need
# on a Debian 12 machine, skipping what is already there.
set -euo pipefail
packages=(cmake ninja-build ccache qtbase5-dev-tools
          # lrelease of the Linux host compiles the translations (the Windows
          # Qt brings none of the Linguist tools); Qt's own German texts
          qttools5-dev-tools qttranslations5-l10n
          # the cross compiler in the POSIX thread model the Windows Qt was built with
          g++-mingw-w64-x86-64-posix
          # the zip and the installer
          zip unzip nsis
          # running the Windows programs and the tests: Wine on a virtual X server
          wine wine64 xvfb imagemagick python3)
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
