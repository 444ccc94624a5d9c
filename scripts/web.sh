#!/usr/bin/env bash
# Builds the camera demo (or the named example) for the browser into build-web/NAME/ (index.html,
# NAME.js, NAME.wasm and NAME.data with the files it reads) and serves it on 127.0.0.1, printing
# the address. Without a display it instead opens the page in headless Chromium, saves a
# screenshot to build-web/NAME.png after about three seconds and prints its path.
# Usage: scripts/web.sh [NAME]   (NAME: gui_demo, scene3d_demo, audio_demo or scaled_light_demo;
#   default the demo)
#   ORVANE_WEB_PORT  the port to serve on (default 8000)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

name=${1:-camera2d_demo}
case "$name" in
    camera2d_demo | gui_demo | scene3d_demo | audio_demo | scaled_light_demo) ;;
    *)
        echo "Unknown program: $name (camera2d_demo, gui_demo, scene3d_demo, audio_demo or" \
            "scaled_light_demo)" >&2
        exit 2
        ;;
esac

# shellcheck disable=SC2086
orvane_install_packages $ORVANE_WEB_PACKAGES
# Debian's node does not look in Debian's own module folder, where emscripten's optimiser finds
# its JavaScript parser.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build-web --target "$name" -j"$(nproc)"

page=build-web/$name
echo "Page: $page/index.html ($(du -cb "$page"/"$name".{wasm,js,data} | tail -n 1 | cut -f 1) bytes to download)"
# Debian's python3 has Selenium; another python3 found first on PATH may not.
if [ -n "${DISPLAY:-}" ]; then
    exec /usr/bin/python3 tools/web_page.py serve "$page" --port "${ORVANE_WEB_PORT:-8000}"
fi
/usr/bin/python3 tools/web_page.py shot "$page" "build-web/$name.png"
