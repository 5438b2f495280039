# Sourced by the Windows scripts: copies a Windows program's DLLs beside it as
# windeployqt would, from the MinGW Qt and the compiler's run-time folders.
#   purgatex_dll_dirs              the folders DLLs are taken from (needs PURGATEX_MINGW_QT)
#   purgatex_copy_dlls DEST FILE.. every DLL the files need, and what those need, into DEST

purgatex_mingw_cxx=x86_64-w64-mingw32-g++-posix

purgatex_dll_dirs() {
    echo "$PURGATEX_MINGW_QT/bin"
    local dll
    for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
        dll="$($purgatex_mingw_cxx -print-file-name="$dll")"
        [ -f "$dll" ] && dirname "$dll"
    done
    echo "/usr/x86_64-w64-mingw32/lib"
}

# The DLL names a Windows program or DLL imports.
purgatex_imports() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}

purgatex_copy_dlls() {
    local dest="$1"; shift
    local -a dirs queue
    mapfile -t dirs < <(purgatex_dll_dirs | awk '!seen[$0]++')
    queue=("$@")
    while [ ${#queue[@]} -gt 0 ]; do
        local file="${queue[0]}"
        queue=("${queue[@]:1}")
        local name
        while read -r name; do
            [ -n "$name" ] || continue
            [ -e "$dest/$name" ] && continue
            local dir found=""
            for dir in "${dirs[@]}"; do
                # DLL names are not case-sensitive on Windows.
                found="$(find "$dir" -maxdepth 1 -iname "$name" -print -quit 2>/dev/null)"
                [ -n "$found" ] && break
            done
            # Not ours to ship: a DLL of Windows itself (KERNEL32, USER32 ...).
            [ -n "$found" ] || continue
            cp "$found" "$dest/$name"
            queue+=("$dest/$name")
        done < <(purgatex_imports "$file")
    done
}
