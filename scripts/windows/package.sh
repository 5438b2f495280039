#!/usr/bin/env bash
# The one command for the Windows release: builds the program for 64-bit
# Windows (scripts/windows/build.sh) and makes of it, in build-windows/dist/:
#   Purgatex/                        the program folder as windeployqt lays it out
#   Purgatex-<version>-win64.zip     that folder, zipped
#   Purgatex-<version>-win64-setup.exe  the installer (NSIS)
# Exits 3 when no MinGW Qt is to be had (see scripts/windows/mingw-qt.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
root="$(pwd)"
bash scripts/windows/build.sh
# shellcheck source=mingw-qt.sh
source scripts/windows/mingw-qt.sh
purgatex_find_mingw_qt
# shellcheck source=deploy-lib.sh
source scripts/windows/deploy-lib.sh

BUILD_DIR="$(cd "${PURGATEX_WINDOWS_BUILD_DIR:-build-windows}" && pwd)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/CMakeCache.txt")"
dist="$BUILD_DIR/dist"
layout="$dist/Purgatex"
rm -rf "$layout"
mkdir -p "$layout/platforms" "$layout/imageformats" "$layout/styles" "$layout/help"

cp "$BUILD_DIR/Purgatex.exe" "$layout/"
x86_64-w64-mingw32-strip "$layout/Purgatex.exe"
# The plug-ins the program loads: the Windows platform, JPEG (photo
# thumbnails; PNG is built into Qt) and ICO (the window icon), and the
# native look.
qt_plugins="$PURGATEX_MINGW_QT/plugins"
cp "$qt_plugins/platforms/qwindows.dll" "$layout/platforms/"
cp "$qt_plugins/imageformats/qjpeg.dll" "$qt_plugins/imageformats/qico.dll" "$layout/imageformats/"
cp "$qt_plugins/styles/qwindowsvistastyle.dll" "$layout/styles/"
purgatex_copy_dlls "$layout" "$layout/Purgatex.exe" "$layout"/platforms/*.dll "$layout"/imageformats/*.dll \
    "$layout"/styles/*.dll
cp resources/guide/user-guide.html "$layout/help/"
# Qt's own texts (the line edits' context menus) in the languages the program
# speaks; its own translations are compiled in. The MinGW Qt brings none: the
# build machine's Qt of the same version does (qttranslations5-l10n).
for lang in $(sed -n 's/^set(PURGATEX_LANGUAGES \(.*\))$/\1/p' translations/CMakeLists.txt); do
    qm="/usr/share/qt5/translations/qtbase_$lang.qm"
    if [ -f "$qm" ]; then
        mkdir -p "$layout/translations"
        cp "$qm" "$layout/translations/"
    fi
done
cp packaging/windows/purgatex.ico "$layout/Purgatex.ico"
# Text files in Windows line ends.
sed 's/$/\r/' packaging/windows/README.txt > "$layout/README.txt"

# The zip: one folder, Purgatex\.
zip_file="$dist/Purgatex-$version-win64.zip"
rm -f "$zip_file"
(cd "$dist" && zip -q -r -X "$zip_file" Purgatex)

# The installer: every file of the layout, installed and removed by name.
files="$dist/purgatex-files.nsh"
{
    echo '!macro PurgatexInstallFiles'
    (cd "$layout" && find . -type d ! -name . | sort) | while read -r d; do
        echo "  CreateDirectory \"\$INSTDIR\\${d#./}\""
    done
    (cd "$layout" && find . -type f | sort) | while read -r f; do
        rel="${f#./}"
        dir="$(dirname "$rel")"
        out='$INSTDIR'
        [ "$dir" != "." ] && out="\$INSTDIR\\${dir//\//\\}"
        echo "  SetOutPath \"$out\""
        echo "  File \"$layout/$rel\""
    done
    echo '!macroend'
    echo '!macro PurgatexRemoveFiles'
    (cd "$layout" && find . -type f | sort) | while read -r f; do
        rel="${f#./}"
        echo "  Delete \"\$INSTDIR\\${rel//\//\\}\""
    done
    (cd "$layout" && find . -type d ! -name . | sort -r) | while read -r d; do
        rel="${d#./}"
        echo "  RMDir \"\$INSTDIR\\${rel//\//\\}\""
    done
    echo '!macroend'
} > "$files"
setup="$dist/Purgatex-$version-win64-setup.exe"
size_kb="$(du -sk "$layout" | cut -f1)"
makensis -V2 -DVERSION="$version" -DLAYOUT="$layout" -DFILES="$files" -DOUTFILE="$setup" \
    -DSIZE_KB="$size_kb" "$root/packaging/windows/purgatex.nsi"

echo "Windows program folder: $layout"
echo "Windows zip: $zip_file ($(du -h "$zip_file" | cut -f1))"
echo "Windows installer: $setup ($(du -h "$setup" | cut -f1))"
