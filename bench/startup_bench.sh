#!/usr/bin/env bash
# Builds the saver and its helper, then times start-up and exit of the real mereflow.scr under
# Wine on a private Xvfb (a prefix of its own in build/bench). Usage: startup_bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/display.sh

bash scripts/install-deps.sh
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 -j "$(nproc)" --target mereflow_scr e2e_helper password_cpl fake_mpr \
    >/dev/null

start_xvfb
trap 'wineserver -k 2>/dev/null; stop_xvfb' EXIT
mkdir -p build/bench
use_wine_prefix "$root/build/bench"
python3 bench/startup_bench.py build/win32 "${1:-5}"
