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

# Runs a step with its output in the log; on a failure prints what failed, the log's last lines,
# and returns the step's status.
logged_step() {
    local log=$1
    shift
    local status=0
    "$@" >>"$log" 2>&1 || status=$?
    [ "$status" -eq 0 ] && return 0
    echo "failed with status $status: $*"
    tail -n 15 "$log" | sed 's/^/    /'
    return "$status"
}

# Exports the variables of a Wine prefix inside the given build folder and creates it once:
# 32-bit, or 64-bit when the second argument is win64. On a failure it prints Wine's last lines,
# removes the half-made prefix (so that the next try makes it afresh) and returns Wine's status.
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
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    local log=$1/wine-prefix.log
    mkdir -p "$1"
    : >"$log"
    # NOTE: a 64-bit prefix reports a failure for its missing 32-bit half, yet works; whether the
    # prefix works shows in the next step, whose failure prints these lines too.
    wineboot -i >>"$log" 2>&1 || true
    # NOTE: without a window manager, Wine waits about 2 s whenever it destroys a managed
    # window; unmanaged windows close at once.
    local status=0
    logged_step "$log" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
        logged_step "$log" wineserver -w || status=$?
    if [ "$status" -ne 0 ]; then
        wineserver -k >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    fi
    return "$status"
}

# The sum of the red, green and blue of the picture file's centre pixel, 0 to 765.
centre_brightness() {
    convert "$1" -gravity center -crop 1x1+0+0 +repage -format '%[fx:int(255*(r+g+b)+0.5)]' info:
}
