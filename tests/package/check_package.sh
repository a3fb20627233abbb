#!/usr/bin/env bash
# Checks the Debian package of the native program without installing it, and prints each check:
# its name, control fields and six files, the link that puts the program on the PATH, the theme
# file, the copyright, the unpacked program's --help, and lintian.
# usage: check_package.sh BUILD_FOLDER [RESULTS.xml]   (the results file counts it as one test)
set -uo pipefail
. "$(dirname "$0")/../support/one_test_results.sh"
build=$1
results=${2:-}
version=$(head -n1 "$(dirname "$0")/../../VERSION")
deb=$build/mereflow_${version}_$(dpkg --print-architecture).deb
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=()

check() {
    local what=$1
    shift
    if "$@" >"$scratch/output" 2>&1; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        sed 's/^/    /' "$scratch/output" | head -20
        failed+=("$what")
    fi
}

field() { dpkg-deb --field "$deb" "$1"; }
# The regular files of the package, each as ./path.
regular_files() { dpkg-deb --contents "$deb" | awk '$1 ~ /^-/ {print $6}' | sort; }
expected_files() {
    printf './usr/%s\n' libexec/xscreensaver/mereflow share/xscreensaver/config/mereflow.xml \
        share/applications/screensavers/mereflow.desktop share/man/man6/mereflow.6.gz \
        share/doc/mereflow/copyright share/doc/mereflow/changelog.gz | sort
}
# Made by gzip -9n: the best compression, and neither the file's name nor its time inside.
made_by_gzip_9n() {
    local kind
    kind=$(file -b "$scratch/root$1")
    echo "$kind"
    [[ $kind == *"max compression"* && $kind != *", was "* && $kind != *"last modified"* ]]
}
depends_are_runtime_libraries() {
    local depends
    depends=$(field Depends)
    echo "Depends: $depends"
    local library
    for library in libgl1 libx11-6 libwayland-client0 libwayland-egl1 libegl1; do
        grep -qE "(^|[ ,|])$library([ ,(]|\$)" <<<"$depends" || return 1
    done
    ! grep -qiE -- '-dev|gtest|benchmark|osmesa' <<<"$depends"
}
theme=$scratch/root/usr/share/applications/screensavers/mereflow.desktop
# Debian's own theme files get the hint that Screensaver is no main category too.
theme_validates() {
    local output
    output=$(desktop-file-validate "$theme" 2>&1)
    local status=$?
    echo "$output"
    [ "$status" -eq 0 ] && ! grep -qE ': (error|warning):' <<<"$output"
}
copyright_is_machine_readable() {
    local copyright=$scratch/root/usr/share/doc/mereflow/copyright
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" &&
        grep -qx 'Files: \*' "$copyright" && grep -qx 'License: Expat' "$copyright" &&
        grep -q 'Permission is hereby granted, free of charge' "$copyright"
}
# Run as a user types it: through the link on the PATH.
help_runs() {
    local help
    help=$("$scratch/root/usr/bin/mereflow" --help) || return 1
    grep -q '^usage: mereflow' <<<"$help"
}

check "the package is $deb" test -s "$deb"
check "dpkg-deb --info reads it" dpkg-deb --info "$deb"
check "Package mereflow, Version $version, Section x11, Enhances xscreensaver" \
    test "$(field Package) $(field Version) $(field Section) $(field Enhances)" = \
    "mereflow $version x11 xscreensaver"
check "Depends names the GLX, X11, Wayland and EGL libraries, and nothing -dev, gtest, benchmark or osmesa" \
    depends_are_runtime_libraries
check "dpkg-deb --contents lists the six files and no other" \
    diff <(expected_files) <(regular_files)
check "/usr/bin/mereflow is a relative link to the program" grep -qx \
    'lrwxrwxrwx .* ./usr/bin/mereflow -> ../libexec/xscreensaver/mereflow' \
    <(dpkg-deb --contents "$deb" | tr -s ' ')
check "dpkg-deb -x unpacks it into a scratch folder" dpkg-deb -x "$deb" "$scratch/root"
check "the program is stripped" grep -q ', stripped' \
    <(file -b "$scratch/root/usr/libexec/xscreensaver/mereflow")
for gz in share/man/man6/mereflow.6.gz share/doc/mereflow/changelog.gz; do
    check "$gz is made with gzip -9n" made_by_gzip_9n "/usr/$gz"
done
check "the changelog's top entry is $version" grep -q "^mereflow ($version) " \
    <(zcat "$scratch/root/usr/share/doc/mereflow/changelog.gz" | head -n1)
check "desktop-file-validate finds no error or warning in the theme file" theme_validates
check "the theme file runs /usr/libexec/xscreensaver/mereflow" grep -qx \
    'Exec=/usr/libexec/xscreensaver/mereflow -root' "$theme"
check "the copyright file is machine-readable and names the Expat licence" \
    copyright_is_machine_readable
check "the unpacked program runs with --help" help_runs
# Its warnings and notes are shown too: they fail nothing, but are worth a look.
lintian_output=$(lintian --fail-on error --display-info "$deb" 2>&1)
lintian_status=$?
check "lintian --fail-on error finds no error" test "$lintian_status" -eq 0
grep -v 'root privileges' <<<"$lintian_output" | sed 's/^/    lintian: /'

echo "package check: $(du -k "$deb" | cut -f1) KB, ${#failed[@]} failed"
[ -z "$results" ] || write_one_test_results "$results" Package DebianPackageHoldsTheNativeProgram "${failed[@]}"
[ ${#failed[@]} -eq 0 ]
