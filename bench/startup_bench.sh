#!/usr/bin/env bash
# Builds the saver and its helper, then times start-up and exit of the real mereflow.scr under
# Wine on a private Xvfb (a prefix of its own in build/bench). Usage: startup_bench.sh [RUNS]
# On a machine that runs no 32-bit programs it times the 64-bit build of the same code.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/display.sh

bash scripts/install-deps.sh
build=win32 toolchain=mingw-i686
if ! runs_32_bit_programs; then
    echo "this machine runs no 32-bit programs: timing the 64-bit build"
    build=win64 toolchain=mingw-x86_64
fi
cmake -S . -B "build/$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain.cmake" >/dev/null
cmake --build "build/$build" -j "$(nproc)" --target mereflow_scr e2e_helper password_cpl fake_mpr \
    >/dev/null

start_xvfb
trap 'wineserver -k 2>/dev/null; stop_xvfb' EXIT
mkdir -p "build/bench-$build"
use_wine_prefix "$root/build/bench-$build" "$build"
python3 bench/startup_bench.py "build/$build" "${1:-5}"
