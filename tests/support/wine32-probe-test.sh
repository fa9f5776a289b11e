#!/usr/bin/env bash
# scripts/wine32-probe.sh against loaders that start and loaders that do not: silent and 0 for the
# one, a single line that says why and 1 for the others.
#   wine32-probe-test.sh PROBE
probe=$1
failed=0
check() {
    local what=$1 loader=$2 status=$3 lines=$4 output actual
    output=$(TOLLVEY_WINE32_LOADER=$loader "$probe")
    actual=$?
    if [ "$actual" != "$status" ] || [ "$(printf '%s' "$output" | grep -c '')" != "$lines" ] ||
        { [ "$lines" = 1 ] && [[ "$output" != "This host cannot run 32-bit Wine ("*"$5"*"): "* ]]; }; then
        echo "FAILED: $what: status $actual, output: ${output:-<none>}"
        failed=$((failed + 1))
    else
        echo "ok: $what"
    fi
}
check "a loader that starts" /bin/true 0 0
check "a loader that fails" /bin/false 1 1 "exited with status 1"
check "no loader at all" /nonexistent/wine 1 1 "No such file or directory"
exit "$failed"
