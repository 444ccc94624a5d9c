#!/usr/bin/env bash
# The demo on native Wayland, under a headless Weston of its own with no X server in reach: the
# demo writes the transcript it writes under X and ends by itself with status 0; the picture
# and GL-error tests read the demo's and an example's frames back from their Wayland windows.
# Needs the test build (scripts/test.sh) and SDL 2 underneath SDL 1.2 (sdl12-compat), whose
# Wayland support SDL 1.2 itself lacks. Exit status: 0 when all of it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh
# shellcheck disable=SC2086
orvane_install_packages weston $ORVANE_HEADLESS_PACKAGES

XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR SDL_AUDIODRIVER=dummy
socket=orvane-wayland
weston --backend=headless --renderer=gl --socket=$socket --width=1024 --height=768 \
    >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 50); do
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    sleep 0.2
done
if [ ! -S "$XDG_RUNTIME_DIR/$socket" ]; then
    cat "$XDG_RUNTIME_DIR/weston.log"
    exit 1
fi

frames=100
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" build/camera2d_demo --frames $frames \
    >"$XDG_RUNTIME_DIR/x.out"
wayland() {
    env -u DISPLAY WAYLAND_DISPLAY=$socket "$@"
}
failed=0
status=0
wayland SDL_VIDEODRIVER=wayland build/camera2d_demo --frames $frames \
    >"$XDG_RUNTIME_DIR/wayland.out" || status=$?
echo "camera2d_demo on Wayland: exit $status"
if [ $status -ne 0 ] || ! diff "$XDG_RUNTIME_DIR/x.out" "$XDG_RUNTIME_DIR/wayland.out"; then
    failed=1
fi
# Without a driver named the engine picks Wayland itself. A Wayland compositor does not let a
# program put the pointer where it likes, so the pictures whose tests do stay with the X runs.
# Each test runs in a process of its own, as under ctest (the frame-rate count is the process's).
for test in PictureAppTest.CameraDemoAtFixedFrames PictureAppTest.AudioExampleAtFixedFrames; do
    wayland build/tests/test_pictures --gtest_filter=$test || failed=1
done
wayland build/tests/test_gl_errors || failed=1
exit $failed
