#!/usr/bin/env bash
# Builds Qt 5.15.8 (qtbase) for 64-bit Windows with MinGW-w64 (POSIX threads)
# from Debian's own source package into the cache where the Windows scripts
# look for it ($PURGATEX_CACHE, default ~/.cache/purgatex, folder
# qt-5.15.8-mingw64/qt5-mingw64): the same Qt as the prebuilt tarball. Needed
# only where that tarball is not at hand; takes 35-60 minutes on 2 cores and
# needs root (apt-get source, a deb-src entry).
#
#   bash scripts/windows/build-qt-mingw.sh [WORKDIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=mingw-qt.sh
source "$here/mingw-qt.sh"
prefix="$purgatex_qt_cache/qt5-mingw64"
work="${1:-$(mktemp -d)}"
mkdir -p "$work" "$prefix"
cd "$work"

if ! grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        > /etc/apt/sources.list.d/debian-src.sources
fi
apt-get update -q
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    g++-mingw-w64-x86-64-posix dpkg-dev xz-utils make perl python3
apt-get source -q --download-only qtbase-opensource-src
tar xf qtbase-opensource-src_*.orig.tar.xz
src="$(ls -d "$work"/qtbase-everywhere-src-*)"

# The Windows platform plug-in's pen-tablet support includes wintab.h, which
# Debian's repacked source leaves out; the program needs no tablet input.
win="$src/src/plugins/platforms/windows"
sed -i 's/QT_CONFIG(tabletevent)/0/g' "$win"/*.cpp "$win"/*.h
sed -i '/^qtConfig(tabletevent) {/,/^}/d' "$win/windows.pri"

# The POSIX-threads compiler by its own name, without changing the machine's
# alternatives: a folder of links that comes first on PATH.
bin="$work/mingw-posix-bin"
mkdir -p "$bin"
for tool in gcc g++; do
    ln -sf "/usr/bin/x86_64-w64-mingw32-$tool-posix" "$bin/x86_64-w64-mingw32-$tool"
done
export PATH="$bin:$PATH"

mkdir -p build && cd build
"$src/configure" -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
    -prefix "$prefix" -opensource -confirm-license -release \
    -nomake examples -nomake tests -no-opengl -no-dbus -no-icu \
    -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre -qt-freetype -qt-harfbuzz -no-feature-sql
make -j"$(nproc)"
make install
echo "MinGW Qt installed in $prefix"
