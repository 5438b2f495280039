# Sourced by the Windows scripts: finds the MinGW-w64 build of Qt 5.15 and sets
# PURGATEX_MINGW_QT to its prefix (the folder holding lib/cmake/Qt5), or
# leaves it empty when none is to be had. Looked for, in this order:
#   1. PURGATEX_MINGW_QT, when already set to such a folder;
#   2. the cache, $PURGATEX_CACHE (default ~/.cache/purgatex)/qt-5.15.8-mingw64/qt5-mingw64,
#      made by an earlier unpacking or by scripts/windows/build-qt-mingw.sh;
#   3. the prebuilt tarball: PURGATEX_MINGW_QT_TARBALL, else
#      <clone>/../shared/windows/qt-5.15.8-mingw64-posix.tar.xz, unpacked into the cache.
purgatex_cache="${PURGATEX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/purgatex}"
purgatex_qt_cache="$purgatex_cache/qt-5.15.8-mingw64"

purgatex_is_mingw_qt() {
    [ -n "${1:-}" ] && [ -f "$1/lib/cmake/Qt5/Qt5Config.cmake" ] && [ -f "$1/bin/Qt5Core.dll" ]
}

purgatex_find_mingw_qt() {
    local root tarball
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
    if purgatex_is_mingw_qt "${PURGATEX_MINGW_QT:-}"; then
        PURGATEX_MINGW_QT="$(cd "$PURGATEX_MINGW_QT" && pwd)"
        return 0
    fi
    if [ -n "${PURGATEX_MINGW_QT:-}" ]; then
        echo "PURGATEX_MINGW_QT=$PURGATEX_MINGW_QT holds no MinGW Qt (lib/cmake/Qt5, bin/Qt5Core.dll)" >&2
    fi
    PURGATEX_MINGW_QT=""
    if purgatex_is_mingw_qt "$purgatex_qt_cache/qt5-mingw64"; then
        PURGATEX_MINGW_QT="$purgatex_qt_cache/qt5-mingw64"
        return 0
    fi
    tarball="${PURGATEX_MINGW_QT_TARBALL:-$root/../shared/windows/qt-5.15.8-mingw64-posix.tar.xz}"
    if [ -f "$tarball" ]; then
        echo "Unpacking the MinGW Qt: $tarball -> $purgatex_qt_cache"
        mkdir -p "$purgatex_qt_cache"
        local tmp
        tmp="$(mktemp -d "$purgatex_qt_cache/unpack.XXXXXX")"
        # Unpacked aside and moved in whole, so a broken unpacking is never taken for a Qt.
        if tar -xJf "$tarball" -C "$tmp" && purgatex_is_mingw_qt "$tmp/qt5-mingw64"; then
            rm -rf "$purgatex_qt_cache/qt5-mingw64"
            mv "$tmp/qt5-mingw64" "$purgatex_qt_cache/qt5-mingw64"
            rm -rf "$tmp"
            PURGATEX_MINGW_QT="$purgatex_qt_cache/qt5-mingw64"
            return 0
        fi
        rm -rf "$tmp"
        echo "The tarball $tarball holds no MinGW Qt" >&2
    fi
    return 1
}
