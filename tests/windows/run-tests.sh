#!/usr/bin/env bash
# Runs every case of one cross-built test program under wine, each in a process of its own as
# CTest runs the Linux programs' cases (the engine is one per process), from the current
# directory, with the package's DLLs. Prints each case's outcome, the output of those that
# failed, and the time taken; the exit status is 0 only when every case passed.
# Usage: run-tests.sh PACKAGE PROGRAM.exe
set -u
package=$1
program=$2
export WINEPATH="Z:${package//\//\\}"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# Where an X window opens without a window manager, as for the Linux programs.
export SDL_VIDEO_WINDOW_POS=0,0
start=$SECONDS
# One wine server for all the cases: each start of a program then skips the server's own. It
# is gone again before the next program's tests start theirs.
wineserver -p
trap 'wineserver -k 2>/dev/null; wineserver -w' EXIT
trap 'exit 1' INT TERM
log=$(mktemp)
cases=$(wine "$program" --gtest_list_tests 2>"$log" | sed 's/\r$//' |
    awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }')
if [ -z "$cases" ]; then
    echo "$program lists no test cases"
    cat "$log"
    rm -f "$log"
    exit 1
fi
passed=0
failed=()
for name in $cases; do
    if wine "$program" --gtest_filter="$name" >"$log" 2>&1; then
        echo "passed: $name"
        passed=$((passed + 1))
    else
        echo "FAILED: $name"
        sed 's/\r$//' "$log"
        failed+=("$name")
    fi
done
rm -f "$log"
echo "$passed passed, ${#failed[@]} failed in $((SECONDS - start)) s: $program"
for name in "${failed[@]}"; do
    echo "FAILED: $name"
done
[ ${#failed[@]} -eq 0 ]
