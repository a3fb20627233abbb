#!/usr/bin/env bash
# Builds the native program, then times its Wayland host under a private headless sway with two
# outputs (800x600 and 1280x720): start to the first frame on every output, a key to exit, and
# the processor time it takes per second drawing both. Usage: wayland_startup_bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --native
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j 2 --target mereflow_program >/dev/null
for tool in sway wtype; do
    command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install sway wtype)"; exit 1; }
done

# sway refuses to run as root: it runs as nobody, in a runtime folder of its own.
runtime=$(mktemp -d /tmp/mereflow-bench-wayland.XXXXXX)
chown 65534:65534 "$runtime"
chmod 700 "$runtime"
printf 'output HEADLESS-1 mode 800x600 position 0 0\noutput HEADLESS-2 mode 1280x720 position 800 0\n' \
    >"$runtime.conf"
XDG_RUNTIME_DIR=$runtime WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_HEADLESS_OUTPUTS=2 setpriv --reuid=65534 --regid=65534 --clear-groups \
    sway -c "$runtime.conf" >"$runtime.log" 2>&1 &
sway_pid=$!
trap 'kill $sway_pid 2>/dev/null; wait $sway_pid 2>/dev/null; rm -rf "$runtime" "$runtime.conf" "$runtime.log"' EXIT
for _ in $(seq 100); do
    [ -S "$runtime/wayland-1" ] && break
    sleep 0.1
done
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-1 \
    python3 bench/wayland_startup_bench.py build/native/mereflow "${1:-5}" "$sway_pid"
