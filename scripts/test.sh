#!/usr/bin/env bash
# The test command: installs what is missing, builds both builds, runs every test, and ends
# with one line that counts the tests that passed and failed.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/display.sh
. scripts/build.sh

bash scripts/install-deps.sh || { echo "installing the packages failed"; exit 1; }

results=$root/build/results
rm -rf "$results"
mkdir -p "$results"
broken=0

# Every build logs into the results folder; a failed one counts as a broken run.
LOG_DIR=$results
build() { configure_and_build "$@" || { broken=1; return 1; }; }

run_tests() {
    local name=$1
    shift
    echo "== testing $name"
    "$@" --gtest_brief=1 >"$results/$name.log" 2>&1
    local status=$?
    grep -E '^\[  (PASSED|FAILED) |Failure|^.*: error' "$results/$name.log" | head -60
    if [ ! -s "$results/$name.xml" ]; then
        echo "$name: no results (exit $status)"
        tail -20 "$results/$name.log"
        broken=1
    elif [ "$status" -ne 0 ] && grep -q '<testsuites[^>]* failures="0"' "$results/$name.xml"; then
        # Every test passed, yet the run failed: a sanitizer's report at exit, a leak say.
        echo "$name: every test passed, but the run ended with status $status"
        grep -E -A12 '^(==[0-9]+==ERROR|SUMMARY)' "$results/$name.log" | head -30
        broken=1
    fi
}

if build native -DCMAKE_BUILD_TYPE=Release; then
    run_tests native build/native/tests/mereflow_tests --gtest_output="xml:$results/native.xml"
    # The native X11 program, end to end on an Xvfb that the tests start themselves.
    run_tests x11-e2e build/native/tests/x11/e2e/mereflow_x11_e2e \
        --gtest_output="xml:$results/x11-e2e.xml"
    # And under a headless sway and a headless weston that the tests start themselves.
    run_tests wayland-e2e build/native/tests/wayland/e2e/mereflow_wayland_e2e \
        --gtest_output="xml:$results/wayland-e2e.xml"
    # The Debian package, checked from outside as one test; it is never installed here.
    echo "== testing package"
    if cmake --build build/native --target package >"$results/package-build.log" 2>&1; then
        bash tests/package/check_package.sh build/native "$results/package.xml" |
            tee "$results/package.log"
        [ -s "$results/package.xml" ] || { echo "package: no results"; broken=1; }
    else
        echo "building the package failed:"
        tail -n 20 "$results/package-build.log"
        broken=1
    fi
fi

if build sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMEREFLOW_SANITIZE=ON; then
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        LSAN_OPTIONS=suppressions=$root/tests/support/leak_suppressions.txt \
        run_tests sanitize build/sanitize/tests/mereflow_tests --gtest_output="xml:$results/sanitize.xml"
    # The program's leak check stays off: the OpenGL driver it loads keeps allocations to the end.
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        run_tests sanitize-x11-e2e build/sanitize/tests/x11/e2e/mereflow_x11_e2e \
        --gtest_output="xml:$results/sanitize-x11-e2e.xml"
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        run_tests sanitize-wayland-e2e build/sanitize/tests/wayland/e2e/mereflow_wayland_e2e \
        --gtest_output="xml:$results/sanitize-wayland-e2e.xml"
fi

build win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# NOTE: on a machine that runs no 32-bit programs, or has no 32-bit Wine, the Windows tests run
# on a 64-bit build of the same code under 64-bit Wine; the 32-bit build is still made, and the
# end-to-end checks that only read the program file read the 32-bit one.
windows=win32
e2e_options=()
if ! runs_32_bit_programs; then
    echo "this machine runs no 32-bit Windows programs (no 32-bit kernel support or no 32-bit Wine): the Windows tests run on a 64-bit build"
    windows=win64
    e2e_options=(--shipped build/win32 --no-32-bit)
    build win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake ||
        windows=
fi
if [ -n "$windows" ] && [ -f build/win32/mereflow.scr ] && [ -f "build/$windows/tests/mereflow_tests.exe" ]; then
    start_xvfb
    use_wine_prefix "$root/build/$windows" "$windows" || broken=1
    (cd "build/$windows/tests" && run_tests "$windows" wine mereflow_tests.exe --gtest_output="xml:Z:$results/$windows.xml")
    # The Windows tests photograph the dialogs as BMP files; PNG ones are smaller.
    for shot in "build/$windows"/tests/screenshots/*.bmp; do
        [ -e "$shot" ] && convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
    done
    # The real mereflow.scr, driven from outside.
    echo "== testing e2e"
    python3 tests/e2e/run_e2e.py "build/$windows" "$results/e2e.xml" "${e2e_options[@]}" >"$results/e2e.log" 2>&1
    grep -E '^\[FAILED\]' "$results/e2e.log" | head -20
    [ -s "$results/e2e.xml" ] || { echo "e2e: no results"; tail -20 "$results/e2e.log"; broken=1; }
    wineserver -k 2>/dev/null
    stop_xvfb
    [ -s "$results/$windows.xml" ] || broken=1
    # The README's run command as a new user runs it with no display, on the build just made.
    echo "== testing run"
    bash tests/run/check_run_command.sh build/run-check "$results/run.xml" >"$results/run.log" 2>&1
    grep -E '^(ok|FAILED):|took' "$results/run.log"
    [ -s "$results/run.xml" ] || { echo "run: no results"; tail -20 "$results/run.log"; broken=1; }
else
    broken=1
fi

passed=0
failed=0
skipped=0
for xml in "$results"/*.xml; do
    [ -e "$xml" ] || continue
    summary=$(grep -m1 '<testsuites' "$xml")
    tests=$(sed -E 's/.* tests="([0-9]+)".*/\1/' <<<"$summary")
    failures=$(sed -E 's/.* failures="([0-9]+)".*/\1/' <<<"$summary")
    disabled=$(sed -E 's/.* disabled="([0-9]+)".*/\1/' <<<"$summary")
    skips=0
    [[ $summary =~ skipped=\"([0-9]+)\" ]] && skips=${BASH_REMATCH[1]}
    echo "$(basename "$xml" .xml): $tests tests, $failures failed, $skips skipped"
    passed=$((passed + tests - failures - disabled - skips))
    failed=$((failed + failures))
    skipped=$((skipped + skips))
done
[ "$broken" -eq 0 ] || failed=$((failed + 1))
[ "$broken" -eq 0 ] || echo "a build or a test run broke (counted as one failure)"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
