#!/usr/bin/env bash
# Runs the camera demo under valgrind's memcheck for a few dozen frames without a display
# (Xvfb, SDL's dummy audio driver) and reports every error memcheck finds outside the dynamic
# loader and the driver (scripts/memcheck.supp names those), and how many of them have engine
# code on their stack. Exit status 0 only when there is no such error and the demo ended well.
# Usage: scripts/memcheck.sh [FRAMES]   (default 30; the full log goes to build/memcheck.log)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

frames=${1:-30}
# shellcheck disable=SC2086
orvane_install_packages $ORVANE_BUILD_PACKAGES $ORVANE_HEADLESS_PACKAGES valgrind

# Like scripts/demo.sh: only what it runs, so ctest finds no tests in the folder until
# scripts/test.sh builds them again.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build --target camera2d_demo -j"$(nproc)"

program=$PWD/build/camera2d_demo
log=build/memcheck.log
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
echo "Running the demo for $frames frames under memcheck (several minutes)..."
status=0
# --keep-debuginfo keeps the driver's names on stacks recorded before it was unloaded.
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=definite --keep-debuginfo=yes --num-callers=50 \
    --suppressions=scripts/memcheck.supp --log-file="$log" \
    "$program" --frames "$frames" >build/memcheck.out 2>&1 || status=$?

summary=$(grep -E "ERROR SUMMARY" "$log" | tail -n 1 | sed 's/^==[0-9]*== //')
# One paragraph per reported error: the log's lines without their process prefix, split at
# the empty ones. An error counts as the engine's when any frame lies in the program.
counts=$(sed 's/^==[0-9]*== \{0,1\}//' "$log" | awk -v program="(in $program)" '
    BEGIN { RS = ""; errors = 0; engine = 0 }
    /\n   (at|by) 0x/ {
        errors++
        if (index($0, program) > 0) engine++
    }
    END { print errors, engine }')
read -r errors engine <<<"$counts"

echo "Demo exit status: $status"
echo "memcheck: $summary"
echo "Errors outside the loader and the driver: $errors; with engine code on their stack: $engine"
echo "Full log: $log"
if [ "$status" -ne 0 ] || [ "$errors" -ne 0 ]; then
    exit 1
fi
