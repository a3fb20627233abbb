#!/usr/bin/env bash
# Builds the native program, then times it on a private Xvfb: start to first frame, SIGTERM to
# exit, and the CPU time it takes per second under the frame cap. Usage: native_startup_bench.sh
# [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/display.sh

bash scripts/install-deps.sh
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j "$(nproc)" --target mereflow_program >/dev/null

start_xvfb
trap stop_xvfb EXIT
python3 bench/native_startup_bench.py build/native/mereflow "${1:-5}"
