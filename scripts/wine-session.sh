#!/usr/bin/env bash
# Starts or stops a headless Wine session for one build tree: its own Wine prefix inside the
# build tree, its own Xvfb display and a persistent wineserver. Only what it started is stopped.
#
#   wine-session.sh start <build-dir>   prepares the prefix, starts Xvfb and wineserver
#   wine-session.sh stop  <build-dir>   stops them again
#   wine-session.sh prefix <build-dir>  only prepares the prefix (for a run on a real display)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
action=${1:?usage: wine-session.sh start|stop|prefix <build-dir>}
build=$(mkdir -p "${2:?build dir}" && cd "$2" && pwd)
session="$build/wine"
envfile="$session/session.env"
mkdir -p "$session"

wine_bin=/usr/lib/wine/wine64
wineserver_bin=/usr/lib/wine/wineserver64
[[ -x $wineserver_bin ]] || wineserver_bin=/usr/lib/wine/wineserver

prefix="$session/prefix"
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export LANG=C.UTF-8

# Keep wine from holding our stdout and stderr open: ctest and pipes would never see them close.
quiet() { "$@" </dev/null >>"$session/wine.log" 2>&1; }

# Bump when the prefix set-up below changes, so existing prefixes take the new settings.
setup_version=2

prepare_prefix() {
    [[ $(cat "$prefix/.dawatik-ready" 2>/dev/null) == "$setup_version" ]] && return 0
    if [[ ! -f $prefix/system.reg ]]; then
        echo "wine-session: creating the Wine prefix in $prefix"
        quiet "$wine_bin" wineboot -i
        quiet "$wineserver_bin" -w
    fi
    # This Wine does not look in /usr/share/wine/fonts: without Tahoma and Marlett captions,
    # menus and the status bar draw Arabic and the caption buttons wrongly.
    cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
    "$here/wine-fonts.sh" "$prefix"
    quiet "$wine_bin" regedit /S "$session/fonts.reg"
    quiet "$wineserver_bin" -w
    echo "$setup_version" >"$prefix/.dawatik-ready"
}

free_display() {
    local n
    for n in $(seq 90 190); do
        if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

start() {
    stop_quietly
    prepare_prefix
    local display
    display=$(free_display)
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >>"$session/xvfb.log" 2>&1 &
    echo $! >"$session/xvfb.pid"
    for _ in $(seq 100); do
        [[ -e /tmp/.X11-unix/X$display ]] && break
        sleep 0.05
    done
    [[ -e /tmp/.X11-unix/X$display ]] || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
    cat >"$envfile" <<ENV
export DISPLAY=:$display
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export LANG=C.UTF-8
ENV
    export DISPLAY=":$display"
    # A persistent server makes each test process start in milliseconds instead of a second;
    # the warm-up lets the services it spawns inherit /dev/null rather than a caller's pipe.
    quiet "$wineserver_bin" -p
    quiet "$wine_bin" wineboot
    echo "wine-session: display :$display, prefix $prefix"
}

stop_quietly() {
    if [[ -d $prefix ]]; then
        "$wineserver_bin" -k </dev/null >/dev/null 2>&1 || true
    fi
    if [[ -f $session/xvfb.pid ]]; then
        kill "$(cat "$session/xvfb.pid")" 2>/dev/null || true
        rm -f "$session/xvfb.pid"
    fi
    rm -f "$envfile"
}

write_prefix_env() {
    cat >"$session/prefix.env" <<ENV
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export LANG=C.UTF-8
ENV
}

case $action in
start) start ;;
stop) stop_quietly ;;
prefix) prepare_prefix && write_prefix_env ;;
*) echo "usage: wine-session.sh start|stop|prefix <build-dir>" >&2; exit 2 ;;
esac
