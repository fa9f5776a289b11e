#!/usr/bin/env bash
# Starts or stops what a test run needs around Wine: its own prefix (made once and kept in the build
# folder), an Xvfb display of its own, a persistent wineserver started after the display, and the
# prefix's desktop, held open until the server stops by TOLLVEY_DESKTOP_HOLDER, when that names the
# build's tests/support/tollvey_desktop_holder.exe (DesktopHolder.cpp says why).
#   wine-session.sh start|stop [--shared-display]
# Reads WINEPREFIX, DISPLAY and, for a new prefix, WINEARCH from the environment; logs go beside the
# prefix. With --shared-display the display is another session's, already running: only this
# prefix's wineserver is started and stopped.
set -euo pipefail

: "${WINEPREFIX:?WINEPREFIX must name the test run's prefix}"
: "${DISPLAY:?DISPLAY must name the test run's display}"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

state="${WINEPREFIX}.session"
mkdir -p "$state"
display_number=${DISPLAY#:}
own_display=true
[ "${2:-}" = "--shared-display" ] && own_display=false

start_xvfb() {
    if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
        return
    fi
    if [ -e "/tmp/.X${display_number}-lock" ]; then
        echo "display $DISPLAY is already taken by another X server; reconfigure with -DTOLLVEY_DISPLAY=N" >&2
        exit 1
    fi
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$state/xvfb.log" 2>&1 </dev/null &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X${display_number}" ] && return
        sleep 0.1
    done
    echo "Xvfb did not start on $DISPLAY (see $state/xvfb.log)" >&2
    exit 1
}

case "${1:-}" in
start)
    if $own_display; then start_xvfb; fi
    mkdir -p "$WINEPREFIX"
    # Fails harmlessly when this prefix's server is already running.
    wineserver -p >"$state/wineserver.log" 2>&1 </dev/null || true
    # system.reg appears only once a wineserver has saved the registry; the Windows folder at once.
    if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
        echo "making Wine prefix $WINEPREFIX"
        wineboot --init >"$state/wineboot.log" 2>&1 </dev/null
        # wineboot leaves a new prefix with two service managers, between which the RPC service
        # stays pending: each time the desktop starts, the program that opens a window waits ten
        # seconds for it. A server started anew starts one manager.
        wineserver -k >/dev/null 2>&1 </dev/null || true
        wineserver -p >>"$state/wineserver.log" 2>&1 </dev/null
    fi
    # Windows drawn with Wine's own fonts look like Windows' own in the screenshots.
    "$(dirname "$0")/wine-fonts.sh"
    # No window manager runs on the display, so Wine stands in for one: it decorates its windows
    # itself (a caption and a close box), takes the X input focus as it comes rather than waiting
    # for a manager's offer of it, and does not wait for a manager to withdraw a window it hides,
    # which cost each window that closed two seconds. The first program of the session, so that the
    # first test does not pay for the prefix's start-up.
    printf '%s\r\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
        '"Decorated"="Y"' '"Managed"="N"' '"UseTakeFocus"="N"' '' >"$state/no-window-manager.reg"
    if ! wine reg import "Z:$(echo "$state/no-window-manager.reg" | tr / '\\')" >"$state/reg.log" 2>&1 </dev/null; then
        echo "Wine's reg import of $state/no-window-manager.reg failed:" >&2
        cat "$state/reg.log" >&2
        exit 1
    fi
    if [ -n "${TOLLVEY_DESKTOP_HOLDER:-}" ]; then
        wine "$TOLLVEY_DESKTOP_HOLDER" </dev/null >"$state/desktop.log" 2>&1 &
        for _ in $(seq 200); do
            grep -q ready "$state/desktop.log" && break
            sleep 0.1
        done
        grep -q ready "$state/desktop.log" || { echo "the desktop did not open within 20 s (see $state/desktop.log)" >&2; exit 1; }
    fi
    ;;
stop)
    wineserver -k >/dev/null 2>&1 </dev/null || true
    if $own_display && [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
        rm -f "$state/xvfb.pid"
    fi
    ;;
*)
    echo "usage: $0 start|stop [--shared-display]" >&2
    exit 2
    ;;
esac
