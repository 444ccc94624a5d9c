#!/usr/bin/env bash
# Sets up, builds (Release) and runs the camera-movement demo from the repository root, where
# Data/ and shaders/ are found. With a display it opens the real window; without one it runs
# under Xvfb, saves a screenshot to build/demo.png after about three seconds and presses Escape.
# Usage: scripts/demo.sh [EXAMPLE]   (EXAMPLE: an example's name, e.g. gui_demo)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

name=${1:-}
if [ -z "$name" ]; then
    target=camera2d_demo
    shot=build/demo.png
else
    target=$name
    shot=build/$name.png
fi

packages="$ORVANE_BUILD_PACKAGES"
if [ -z "${DISPLAY:-}" ]; then
    packages="$packages $ORVANE_HEADLESS_PACKAGES"
fi
# shellcheck disable=SC2086
orvane_install_packages $packages

# Builds only what it runs, without the tests (they need GoogleTest): the folder then lists no
# tests for ctest until scripts/test.sh configures it with them again and builds them.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build --target "$target" -j"$(nproc)"

program=build/$target
if [ ! -x "$program" ]; then
    program=$(find build -type f -name "$target" -perm -u+x | head -n 1)
fi

if [ -n "${DISPLAY:-}" ]; then
    exec "$program"
fi
# Without a display there is no sound card either: SDL_mixer plays into the dummy driver.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" scripts/headless-run.sh "$program" "$shot"
