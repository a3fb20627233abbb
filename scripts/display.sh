# Sourced by the scripts: a private Xvfb display and the test Wine prefix.
# Nothing here touches the developer's own display or Wine prefix.

# Starts Xvfb with GLX on the first free display number and exports DISPLAY.
start_xvfb() {
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 +extension GLX -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    export DISPLAY=":$n"
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# Exports the variables of a 32-bit prefix inside the given build folder and creates it once.
use_wine_prefix() {
    export WINEPREFIX="$1/wineprefix"
    export WINEARCH=win32
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        # NOTE: without a window manager, Wine waits about 2 s whenever it destroys a managed
        # window; unmanaged windows close at once.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
    fi
}
