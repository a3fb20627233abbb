#!/usr/bin/env bash
# Builds mereflow.scr and runs it under Wine: full screen on the current display, or, with no
# display, on a private Xvfb until the water shows, saving a screenshot. Any arguments go to the
# saver instead of /s (for instance /c for the configuration dialog).
# Where this machine runs no 32-bit Windows programs, it runs the 64-bit build of the same code.
# MEREFLOW_SKIP_INSTALL=1 skips the package install; MEREFLOW_RUN_DIR=FOLDER keeps the Wine
# prefix, the logs and the screenshot there instead of in build/run (build/run64).
set -euo pipefail
run_dir=${MEREFLOW_RUN_DIR:+$(realpath -m "$MEREFLOW_RUN_DIR")}
cd "$(dirname "$0")/.."
root=$PWD
. scripts/display.sh
. scripts/build.sh

[ -n "${MEREFLOW_SKIP_INSTALL:-}" ] || bash scripts/install-deps.sh

if runs_32_bit_programs; then
    flavour=win32
    toolchain=cmake/mingw-i686.cmake
    run_dir=${run_dir:-$root/build/run}
    why="this machine runs 32-bit Windows programs: running the 32-bit saver, as Windows users install it"
else
    flavour=win64
    toolchain=cmake/mingw-x86_64.cmake
    run_dir=${run_dir:-$root/build/run64}
    why="this machine runs no 32-bit Windows programs (no 32-bit kernel support or no 32-bit Wine): running the 64-bit build of the same saver under 64-bit Wine"
fi
echo "== $why"
LOG_DIR=$run_dir TARGET=mereflow_scr configure_and_build "$flavour" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" ||
    { echo "the whole logs are in $run_dir"; exit 1; }
saver=$root/build/$flavour/mereflow.scr
arguments=("$@")
[ ${#arguments[@]} -gt 0 ] || arguments=(/s)

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    headless=1
    start_xvfb
    trap stop_xvfb EXIT
fi

# A Wine prefix of its own, so the settings of these runs stay apart from the tests' and from
# the user's own Wine.
[ -f "$run_dir/wineprefix/system.reg" ] || echo "== creating the Wine prefix (once, about 15 s)"
use_wine_prefix "$run_dir" "$flavour" || exit
log=$run_dir/wine.log
: >"$log"
if [ "$headless" -eq 0 ]; then
    # A desktop with a window manager manages the saver's window like any other.
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
fi
# NOTE: under Wine the Desktop picture shows only Wine's own windows (black here), so a first
# run starts with the built-in Chomify picture; the configuration dialog (/c) changes it.
settings='HKLM\Software\Quorvane\ss\dr\10'
if ! wine reg query "$settings" /v 000_000 >/dev/null 2>&1; then
    logged_step "$log" wine reg add "$settings" /v 000_000 /t REG_DWORD /d 0 /f || exit
    logged_step "$log" wine reg add "$settings" /v 000_046 /t REG_DWORD /d 1 /f || exit
fi

if [ "$headless" -eq 0 ]; then
    echo "== running build/$flavour/mereflow.scr ${arguments[*]} on $DISPLAY (a key, a click or a move ends it)"
    status=0
    wine "$saver" "${arguments[@]}" || status=$?
    # The exit code is the mode's result (the configuration dialog's OK or Cancel), not a failure.
    echo "mereflow.scr ended with exit code $status"
    exit 0
fi

echo "== no display: running build/$flavour/mereflow.scr ${arguments[*]} on a private Xvfb ($DISPLAY)"
shot=$run_dir/screenshot.png
rm -f "$shot"
xdotool mousemove 512 384
wine "$saver" "${arguments[@]}" >>"$log" 2>&1 &
pid=$!
# The first frame has come when the centre of the screen is no longer black; a few seconds more
# give the drips time to spread their rings.
frame=$run_dir/frame.png
deadline=$((SECONDS + 20))
lit=0
while [ "$SECONDS" -lt "$deadline" ] && kill -0 "$pid" 2>/dev/null; do
    brightness=0
    import -window root "$frame" 2>/dev/null && brightness=$(centre_brightness "$frame")
    if [ "${brightness:-0}" -gt 30 ]; then
        lit=1
        sleep 3
        break
    fi
    sleep 0.2
done
rm -f "$frame"
if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    echo "mereflow.scr ended with exit code $status before the screenshot; no screenshot was taken"
    tail -n 15 "$log" | sed 's/^/    /'
    wineserver -k 2>/dev/null || true
    exit "$status"
fi
taken=0
import -window root "$shot" && taken=1
xdotool key space
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
wineserver -k 2>/dev/null || true
if [ "$taken" -eq 0 ]; then
    echo "no screenshot was taken: import could not read the screen"
elif [ "$lit" -eq 1 ]; then
    echo "screenshot of the water: $shot"
else
    echo "the centre of the screen was still black after 20 s; screenshot: $shot"
fi
