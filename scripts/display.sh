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

# True where this machine runs 32-bit Windows programs: its kernel runs 32-bit x86 programs (some
# run 64-bit programs only) and 32-bit Wine is installed.
runs_32_bit_programs() {
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine ] && command -v wine >/dev/null
}

# Exports the variables of a Wine prefix inside the given build folder and creates it once:
# 32-bit, or 64-bit when the second argument is win64.
use_wine_prefix() {
    export WINEPREFIX="$1/wineprefix"
    export WINEARCH=${2:-win32}
    if [ "$WINEARCH" = win64 ]; then
        # NOTE: Debian's wine command starts the 32-bit loader; 64-bit programs need wine64,
        # which is not on the PATH and must keep its own name.
        mkdir -p "$1/bin"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$1/bin/wine"
        chmod +x "$1/bin/wine"
        export PATH="$1/bin:$PATH"
    fi
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        # NOTE: a 64-bit prefix reports a failure for its missing 32-bit half, yet works.
        wineboot -i >/dev/null 2>&1 || true
        # NOTE: without a window manager, Wine waits about 2 s whenever it destroys a managed
        # window; unmanaged windows close at once.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
    fi
}
