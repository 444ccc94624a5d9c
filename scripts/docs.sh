#!/usr/bin/env bash
# Builds the API documentation from the engine's headers and docs/mainpage.md into
# build/docs/html with doxygen, and fails when doxygen printed any warning.
# Usage: scripts/docs.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

orvane_install_packages doxygen

# A fresh tree each time, so pages of removed classes do not linger.
rm -rf build/docs/html
mkdir -p build/docs
log=build/docs/doxygen-warnings.log
status=0
doxygen Doxyfile 2>"$log" || status=$?
if [ $status -ne 0 ] || [ -s "$log" ]; then
    cat "$log" >&2
    echo "doxygen failed or printed warnings (listed above)" >&2
    exit 1
fi
echo "API documentation: build/docs/html/index.html"
