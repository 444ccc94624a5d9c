#!/usr/bin/env bash
# Cross-builds the engine, the demo and every example for 64-bit Windows, packs them as
# build-windows/orvane-windows-x64.zip and runs one of them under wine. Without a display it runs
# in Xvfb, saves build-windows/NAME.png after about three seconds, presses Escape and prints the
# screenshot's path, the exit status and the program's stdout.txt.
# Usage: scripts/windows.sh [NAME]   (NAME: an example's name, e.g. gui_demo; the demo by default)
#        scripts/windows.sh --build  (build and pack only, and build the engine's test programs)
#        scripts/windows.sh --test   (the same, then the tests of label "windows")
#        scripts/windows.sh --install (only the cross compiler and wine, so that scripts/test.sh
#                                      includes the tests of label "windows")
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

mode=run
name=camera2d_demo
case "${1:-}" in
    --build) mode=build ;;
    --test) mode=test ;;
    --install) mode=install ;;
    "") ;;
    *) name=$1 ;;
esac

# shellcheck disable=SC2086
orvane_install_packages $ORVANE_WINDOWS_PACKAGES
if [ $mode = install ]; then
    exit 0
fi
prefix=$(scripts/windows-deps.sh | tail -n 1)

build=build-windows/cmake
# The libraries' paths are cached: a new prefix needs a new configuration.
if [ -f $build/CMakeCache.txt ] &&
    ! grep -qxF "ORVANE_SDL_IMPORT_LIBRARY:FILEPATH=$prefix/lib/libSDL.dll.a" $build/CMakeCache.txt; then
    rm -rf $build
fi
# The engine's test programs are built for the tests only.
tests=OFF
if [ $mode != run ]; then
    tests=ON
fi
cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/windows-x64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DORVANE_WINDOWS_PREFIX="$prefix" -DORVANE_BUILD_TESTS=$tests >/dev/null
cmake --build $build -j"$(nproc)"

# The package: every program, exactly the DLLs they import that Windows does not have itself
# (and those those import), the data, the shaders and a note.
package=build-windows/orvane-windows-x64
rm -rf "$package" "$package.zip"
mkdir -p "$package"
cp $build/*.exe "$package/"  # the tests' own programs are in $build/tools and $build/tests
imports() {
    x86_64-w64-mingw32-objdump -p "$@" | sed -n 's/^\tDLL Name: //p' | sort -u
}
wanted=$(imports "$package"/*.exe)
while [ -n "$wanted" ]; do
    next=""
    for dll in $wanted; do
        if [ -f "$prefix/bin/$dll" ] && [ ! -f "$package/$dll" ]; then
            cp "$prefix/bin/$dll" "$package/"
            next="$next $(imports "$package/$dll")"
        fi
    done
    wanted=$next
done
x86_64-w64-mingw32-strip "$package"/*.exe "$package"/*.dll
cp -r Data shaders "$package/"
cat > "$package/README.txt" <<EOF
Orvane Engine for Windows (64-bit)

Double-click camera2d_demo.exe to run the camera demo: the arrow keys move the maps, Escape
ends it. The examples: gui_demo.exe, scene3d_demo.exe, audio_demo.exe, scaled_light_demo.exe.

Each program reads Data\\ and shaders\\ beside it and writes its log to stdout.txt (and its
errors, if any, to stderr.txt) in the same folder. It needs OpenGL 2.0 or the shader
extensions from the graphics driver.
EOF
sed -i 's/$/\r/' "$package/README.txt"
(cd build-windows && zip -qr orvane-windows-x64.zip orvane-windows-x64)
echo "Package: build-windows/orvane-windows-x64.zip ($(du -k build-windows/orvane-windows-x64.zip | cut -f1) KiB)"

export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/orvane/wine}
export WINEDEBUG=-all
if [ $mode = build ]; then
    exit 0
fi
if [ $mode = test ]; then
    # shellcheck disable=SC2086
    orvane_install_packages $ORVANE_BUILD_PACKAGES $ORVANE_HEADLESS_PACKAGES $ORVANE_TEST_PACKAGES
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=ON >/dev/null
    # The Linux side of the tests: what drives the Windows programs end to end.
    cmake --build build -j"$(nproc)" --target camera2d_demo test_windows test_e2e_demo \
        test_e2e_examples test_e2e_reload
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
        ctest --test-dir build -L windows --output-on-failure --timeout 300
fi

if [ ! -f "$package/$name.exe" ]; then
    echo "No program $name in the package." >&2
    exit 1
fi
if [ -n "${DISPLAY:-}" ]; then
    cd "$package" && exec wine "$name.exe"
fi
# Without a display there is no sound card either: SDL_mixer plays into the dummy driver.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# Xvfb has no window manager: the window's inside goes to the top left, where an X window opens
# on Linux, and its frame off the screen.
export SDL_VIDEO_WINDOW_POS=0,0
shot=build-windows/$name.png
status=0
# Wine's server and desktop belong to one X display: each run starts them in its own Xvfb and
# waits for them to end before that goes. The first run in a new prefix sets the prefix up, which
# takes longer than the program.
wineserver -k 2>/dev/null || true
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
    trap "wineserver -w" EXIT
    tests/windows/setup-prefix.sh
    cd "$1" && wine "$2.exe" 2>/dev/null &
    pid=$!
    sleep 3
    import -window root "$3"
    xdotool key Escape
    for _ in $(seq 1 100); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    kill -0 $pid 2>/dev/null && kill -TERM $pid
    wait $pid' windows-run "$package" "$name" "$shot" || status=$?
echo "Screenshot: $shot"
echo "Exit status: $status"
echo "stdout.txt:"
cat "$package/stdout.txt"
if [ -f "$package/stderr.txt" ]; then
    echo "stderr.txt:"
    cat "$package/stderr.txt"
fi
exit $status
