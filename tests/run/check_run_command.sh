#!/usr/bin/env bash
# Runs the README's run command as a new user would on a machine with no display, and checks
# that it ends with status 0 and leaves a screenshot of the water.
# usage: check_run_command.sh RUN_FOLDER [RESULTS.xml]   (the results file counts it as one test)
# The folder is emptied first, so that settings a run with /c left behind do not matter; the
# package install is skipped, as the test command has just done it.
set -uo pipefail
here=$(dirname "$0")
. "$here/../support/one_test_results.sh"
. "$here/../../scripts/display.sh"
run_dir=$(realpath -m "$1")
results=${2:-}
failed=()
rm -rf "$run_dir"
mkdir -p "$run_dir"

started=$SECONDS
status=0
env -u DISPLAY -u WINEPREFIX -u WINEARCH MEREFLOW_SKIP_INSTALL=1 MEREFLOW_RUN_DIR="$run_dir" \
    bash "$here/../../scripts/run.sh" >"$run_dir/run.log" 2>&1 || status=$?
sed 's/^/    /' "$run_dir/run.log"
echo "run.sh took $((SECONDS - started)) s and ended with status $status"
shot=$run_dir/screenshot.png
brightness=0
[ -s "$shot" ] && brightness=$(centre_brightness "$shot")
[ "$status" -eq 0 ] || failed+=("run.sh ended with status $status")
[ -s "$shot" ] || failed+=("run.sh left no screenshot")
[ "${brightness:-0}" -gt 30 ] || failed+=("the screenshot's centre is black")
for what in "${failed[@]}"; do echo "FAILED: $what"; done
[ ${#failed[@]} -gt 0 ] || echo "ok: the run command shows the water (centre brightness $brightness of 765)"
[ -z "$results" ] || write_one_test_results "$results" RunCommand HeadlessRunShowsTheWater "${failed[@]}"
[ ${#failed[@]} -eq 0 ]
