#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless (Xvfb, SDL's dummy audio driver).
# Usage: scripts/test.sh [--sanitize]
#   --sanitize  builds into build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

sanitize=0
if [ "${1:-}" = "--sanitize" ]; then
    sanitize=1
fi

# shellcheck disable=SC2086
orvane_install_packages $ORVANE_BUILD_PACKAGES $ORVANE_HEADLESS_PACKAGES $ORVANE_TEST_PACKAGES

if [ $sanitize -eq 1 ]; then
    build=build-sanitize
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_SANITIZE=ON \
        -DORVANE_BUILD_TESTS=ON >/dev/null
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    build=build
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)"

export SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    ctest --test-dir "$build" --output-on-failure --timeout 300
