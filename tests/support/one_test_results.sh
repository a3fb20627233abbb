# Sourced by the checks that the test command counts as one test each.

# Writes a JUnit-style results file of one test case: FILE SUITE CASE, then the name of each
# step that failed (none for a pass).
write_one_test_results() {
    local file=$1 suite=$2 case=$3
    shift 3
    local failures=$(($# > 0))
    {
        echo '<?xml version="1.0" encoding="UTF-8"?>'
        echo "<testsuites tests=\"1\" failures=\"$failures\" disabled=\"0\" errors=\"0\" name=\"$suite\">"
        echo "  <testsuite name=\"$suite\" tests=\"1\" failures=\"$failures\" disabled=\"0\" errors=\"0\">"
        echo "    <testcase name=\"$case\" classname=\"$suite\">"
        local what
        for what in "$@"; do
            echo "      <failure message=\"$(sed 's/&/\&amp;/g; s/</\&lt;/g; s/"/\&quot;/g' <<<"$what")\"/>"
        done
        echo "    </testcase>"
        echo "  </testsuite>"
        echo "</testsuites>"
    } >"$file"
}
