# Sourced by the scripts: configuring and building one flavour of the source tree.

# Configures build/NAME with the given cmake options and builds it (only TARGET when the
# variable TARGET is set), logging into LOG_DIR as NAME-configure.log and NAME-build.log. On a
# failure it prints the logs' last lines and returns 1.
configure_and_build() {
    local name=$1
    shift
    local configure_log=$LOG_DIR/$name-configure.log
    local build_log=$LOG_DIR/$name-build.log
    local target=()
    [ -z "${TARGET:-}" ] || target=(--target "$TARGET")
    echo "== building build/$name${TARGET:+ ($TARGET)}"
    mkdir -p "$LOG_DIR"
    if cmake -S . -B "build/$name" -G Ninja "$@" >"$configure_log" 2>&1 &&
        cmake --build "build/$name" -j "$(nproc)" "${target[@]}" >"$build_log" 2>&1; then
        return 0
    fi
    echo "build $name failed:"
    tail -n 40 "$configure_log" "$build_log" 2>/dev/null
    return 1
}

