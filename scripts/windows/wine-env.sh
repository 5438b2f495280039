# Sourced by the Windows scripts that run programs under Wine: a fresh Wine
# prefix of this run, a virtual X server, and the folders of the Qt and
# compiler DLLs on Wine's search path. Needs PURGATEX_MINGW_QT (mingw-qt.sh)
# and deploy-lib.sh.
#   purgatex_wine_start WORKDIR   makes the prefix WORKDIR/wineprefix and starts Xvfb and the wineserver
#   purgatex_wine_stop            ends both (installed as an EXIT trap by the caller)

purgatex_windows_path() {
    # A Linux path as Wine's Z: drive shows it.
    local p="$1"
    echo "Z:${p//\//\\}"
}

purgatex_wine_start() {
    local work="$1"
    export WINEPREFIX="$work/wineprefix"
    export WINEARCH=win64
    export WINEDEBUG="${WINEDEBUG:--all}"
    # No Mono or Gecko installer questions in a fresh prefix.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    rm -rf "$WINEPREFIX"
    local dirs=() dir
    while read -r dir; do dirs+=("$(purgatex_windows_path "$dir")"); done < <(purgatex_dll_dirs | awk '!seen[$0]++')
    export WINEPATH
    WINEPATH="$(IFS=';'; echo "${dirs[*]}")"
    export QT_PLUGIN_PATH
    QT_PLUGIN_PATH="$(purgatex_windows_path "$PURGATEX_MINGW_QT/plugins")"

    # A display of our own: the first free number from 90 on.
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    purgatex_xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    # The wineserver and Wine's own services outlive every single program:
    # started here with their output elsewhere, so that nothing waits on a
    # pipe they hold.
    mkdir -p "$WINEPREFIX"
    wineserver -p >"$work/wineserver.log" 2>&1 </dev/null
    wine wineboot -i >"$work/wineboot.log" 2>&1 </dev/null
}

purgatex_wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${purgatex_xvfb_pid:-}" ]; then
        kill "$purgatex_xvfb_pid" 2>/dev/null || true
        wait "$purgatex_xvfb_pid" 2>/dev/null || true
        purgatex_xvfb_pid=""
    fi
}
