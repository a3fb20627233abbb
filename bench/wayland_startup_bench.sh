#!/usr/bin/env bash
# Builds the native program, then times it under a headless sway with two outputs: start to
# first frame on both, a key to exit, and the CPU time it takes per second under the frame cap.
# Runs as root, as the tests do (sway itself runs as nobody). Usage: wayland_startup_bench.sh
# [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --native
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j 2 --target mereflow_program >/dev/null
python3 bench/wayland_startup_bench.py build/native/mereflow "${1:-5}"
