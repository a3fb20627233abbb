#!/usr/bin/env bash
# Builds the native X11 program and runs it in a window on the current display; with no display,
# full screen on a private Xvfb for five seconds, saving a screenshot. Any arguments go to the
# program (for instance --source sky).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/display.sh

bash scripts/install-deps.sh --native

echo "== building build/native/mereflow"
mkdir -p build/run
log=$root/build/run/native-build.log
{ cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release &&
    cmake --build build/native -j "$(nproc)" --target mereflow_x11; } >"$log" 2>&1 ||
    { tail -30 "$log"; echo "the build failed; the whole log is in $log"; exit 1; }
program=$root/build/native/mereflow

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "== running mereflow${*:+ $*} on $DISPLAY (a key or a click in its window ends it)"
    status=0
    "$program" "$@" || status=$?
    echo "mereflow ended with status $status"
    exit 0
fi

start_xvfb
trap stop_xvfb EXIT
echo "== no display: running mereflow --fullscreen${*:+ $*} on a private Xvfb ($DISPLAY)"
shot=$root/build/run/native-screenshot.png
rm -f "$shot"
"$program" --fullscreen "$@" &
pid=$!
sleep 5
status=0
if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" || status=$?
    echo "mereflow ended by itself before the screenshot, with status $status"
    exit 1
fi
import -window root "$shot"
kill -TERM "$pid"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || echo "mereflow ended with status $status after SIGTERM"
echo "screenshot after 5 s: $shot"
