#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless (Xvfb, SDL's dummy audio driver).
# Usage: scripts/test.sh [--sanitize] [--sdl12-compat]
#   --sanitize      builds into build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer
#   --sdl12-compat  runs the same build on SDL 1.2 as sdl12-compat over SDL 2 (Debian's package
#                   libsdl1.2-compat, which lives beside classic SDL 1.2), by library path
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

sanitize=0
compat=0
for option in "$@"; do
    case $option in
        --sanitize) sanitize=1 ;;
        --sdl12-compat) compat=1 ;;
        *) echo "usage: scripts/test.sh [--sanitize] [--sdl12-compat]" >&2; exit 2 ;;
    esac
done

# shellcheck disable=SC2086
orvane_install_packages $ORVANE_BUILD_PACKAGES $ORVANE_HEADLESS_PACKAGES $ORVANE_TEST_PACKAGES
# The browser tests (label "web") and the Windows programs under wine (label "windows") run no
# desktop SDL of Linux: once, on classic SDL 1.2, is enough.
subset=()
if [ $compat -eq 1 ]; then
    subset=(-LE "web|windows")
    orvane_install_packages libsdl1.2-compat
    library=$(dpkg -L libsdl1.2-compat | sed -n 's|/libSDL-1\.2\.so\.0$||p' | head -n 1)
    export LD_LIBRARY_PATH=$library${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
fi

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
    ctest --test-dir "$build" --output-on-failure --timeout 300 "${subset[@]}"
