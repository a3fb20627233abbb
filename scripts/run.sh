#!/usr/bin/env bash
# Builds mereflow.scr and runs it under Wine: full screen on the current display, or, with no
# display, on a private Xvfb for a few seconds, saving a screenshot. Any arguments go to the
# saver instead of /s (for instance /c for the configuration dialog).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/display.sh

bash scripts/install-deps.sh

echo "== building build/win32/mereflow.scr"
mkdir -p build/run
log=$root/build/run/build.log
{ cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake &&
    cmake --build build/win32 -j "$(nproc)" --target mereflow_scr; } >"$log" 2>&1 ||
    { tail -30 "$log"; echo "the build failed; the whole log is in $log"; exit 1; }
saver=$root/build/win32/mereflow.scr
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
[ -f "$root/build/run/wineprefix/system.reg" ] || echo "== creating the Wine prefix (once, about 15 s)"
use_wine_prefix "$root/build/run"
if [ "$headless" -eq 0 ]; then
    # A desktop with a window manager manages the saver's window like any other.
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
fi
# NOTE: under Wine the Desktop picture shows only Wine's own windows (black here), so a first
# run starts with the built-in Chomify picture; the configuration dialog (/c) changes it.
settings='HKLM\Software\Quorvane\ss\dr\10'
if ! wine reg query "$settings" /v 000_000 >/dev/null 2>&1; then
    wine reg add "$settings" /v 000_000 /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add "$settings" /v 000_046 /t REG_DWORD /d 1 /f >/dev/null 2>&1
fi

if [ "$headless" -eq 0 ]; then
    echo "== running mereflow.scr ${arguments[*]} on $DISPLAY (a key, a click or a move ends it)"
    status=0
    wine "$saver" "${arguments[@]}" || status=$?
    echo "mereflow.scr ended with exit code $status"
    exit 0
fi

echo "== no display: running mereflow.scr ${arguments[*]} on a private Xvfb ($DISPLAY)"
shot=$root/build/run/screenshot.png
xdotool mousemove 512 384
wine "$saver" "${arguments[@]}" &
pid=$!
sleep 5
import -window root "$shot"
xdotool key space
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
wineserver -k 2>/dev/null || true
echo "screenshot after 5 s: $shot"
