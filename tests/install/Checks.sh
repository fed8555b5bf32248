# Sourced by the install tests' shell scripts: a scratch directory removed on
# exit, and checks that count their failures rather than stop at the first.
#   source Checks.sh NAME; ...; finish
set -u
test_name=$1
work=$(mktemp -d "/tmp/zibo-$test_name.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

expect() {
    local what=$1
    shift
    "$@" || {
        echo "FAILED: $what" >&2
        failures=$((failures + 1))
    }
}

finish() {
    [ "$failures" -eq 0 ] && echo "$test_name: passed"
    exit $((failures > 0))
}
