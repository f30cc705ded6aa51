# Sourced by the test and main-job scripts: a Wine prefix of the project's own and an Xvfb
# display for windowed programs. Nothing here touches ~/.wine.
#
#   NRV_WINE_DIR   where the prefixes live (default: build/wine under the source tree)

nrv_root=${nrv_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
NRV_WINE_DIR=${NRV_WINE_DIR:-$nrv_root/build/wine}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEPREFIX=$NRV_WINE_DIR/prefix
export HOME=$NRV_WINE_DIR/home
# No Mono or Gecko download prompts while the prefix boots, and no debugger window when a
# program crashes: a crash then ends the process at once instead of hanging the test.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

# A booted template is kept between runs; every run works on a fresh copy of it.
wine_prepare_prefix() {
    mkdir -p "$NRV_WINE_DIR" "$HOME"
    if [ ! -f "$NRV_WINE_DIR/template/.booted" ]; then
        rm -rf "$NRV_WINE_DIR/template"
        WINEPREFIX=$NRV_WINE_DIR/template wineboot -i >/dev/null 2>&1
        WINEPREFIX=$NRV_WINE_DIR/template wineserver -w
        touch "$NRV_WINE_DIR/template/.booted"
    fi
    rm -rf "$WINEPREFIX"
    cp -a "$NRV_WINE_DIR/template" "$WINEPREFIX"
}

# A second prefix owned by an unprivileged user (65534), for tests in which Windows refuses
# what Wine lets root do (writing read-only files, for one). Prints the prefix path.
wine_prepare_unprivileged_prefix() {
    local dir=$NRV_WINE_DIR/unprivileged
    rm -rf "$dir"
    mkdir -p "$dir/home"
    cp -a "$NRV_WINE_DIR/template" "$dir/prefix"
    # The template's server link points into root's private server folder.
    rm -f "$dir/prefix/wineserver"
    chown -R 65534:65534 "$dir"
    echo "$dir/prefix"
}

xvfb_start() {
    local n
    for n in $(seq 90 190); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        NRV_XVFB_PID=$!
        local i
        for i in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if kill -0 "$NRV_XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            return 0
        fi
    done
    echo "no free display for Xvfb" >&2
    return 1
}

xvfb_stop() {
    [ -n "${NRV_XVFB_PID:-}" ] && kill "$NRV_XVFB_PID" 2>/dev/null && wait "$NRV_XVFB_PID" 2>/dev/null
    NRV_XVFB_PID=
}

# A persistent, warmed wineserver: without it CTest waits ~2 s a test for Wine's services.
# The warm-up makes the services children of that command, not of the first test.
wine_up() {
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1
}

wine_down() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
}
