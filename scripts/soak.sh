#!/usr/bin/env bash
# Soak test (not part of the default suite): the camera demo built with AddressSanitizer runs
# under Xvfb for 20000 frames or more while random key presses, mouse moves and clicks are
# injected from outside; it must end with status 0 on Escape, AddressSanitizer must report
# nothing, and its resident memory after the last thousand frames must lie within 2 MiB of that
# after the first thousand.
# Usage: scripts/soak.sh [FRAMES]   (default 20000)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

frames=${1:-20000}
# shellcheck disable=SC2086
orvane_install_packages $ORVANE_BUILD_PACKAGES $ORVANE_HEADLESS_PACKAGES

# Shares the sanitizer build folder of scripts/test.sh --sanitize, without the tests: ctest then
# lists none there until that script builds them again.
build=build-sanitize
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_SANITIZE=ON \
    -DORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target camera2d_demo -j"$(nproc)"

if [ -z "${ORVANE_SOAK_INNER:-}" ]; then
    export ORVANE_SOAK_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi

log_dir=$build/soak
mkdir -p "$log_dir"
# A small quarantine: AddressSanitizer otherwise holds up to 256 MiB of freed memory (the
# driver's per-frame allocations fill it), which would read as growth of resident memory.
export ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=8:thread_local_quarantine_size_kb=256
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export SDL_AUDIODRIVER=dummy
# Keeps Mesa's driver mapped until exit, so its own allocations are not reported as leaks from
# an unknown module (see tests/CMakeLists.txt).
preload="$(gcc -print-file-name=libasan.so)"
driver=$(ls /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so 2>/dev/null || true)
[ -n "$driver" ] && preload="$preload $driver"

LD_PRELOAD="$preload" "$build/camera2d_demo" >"$log_dir/stdout.txt" 2>"$log_dir/stderr.txt" &
pid=$!
sleep 3

rss_kib() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }
caption_fps() {
    local id
    id=$(xdotool search --name '^Orvane Engine - Sprite Animation Demo' 2>/dev/null | head -n 1)
    [ -n "$id" ] || { echo 0; return; }
    xdotool getwindowname "$id" | sed -n 's/.* Current FPS: \([0-9]*\).*/\1/p'
}

keys=(Up Down Left Right a w s d space Return x z 1 2)
counted=0
first_rss=""
last_rss=""
started=$(date +%s)
next_sample=$((started + 1))
RANDOM=2026
# The caption's rate, read once a second, counts the frames drawn.
while [ "$counted" -lt "$frames" ]; do
    kill -0 "$pid" 2>/dev/null || { echo "The demo ended early."; break; }
    case $((RANDOM % 4)) in
        0) xdotool key "${keys[RANDOM % ${#keys[@]}]}" ;;
        1) xdotool mousemove $((RANDOM % 1024)) $((RANDOM % 768)) ;;
        2) xdotool click $((RANDOM % 2 == 0 ? 1 : 3)) ;;
        3) xdotool keydown Left sleep 0.05 keyup Left ;;
    esac
    now=$(date +%s)
    if [ "$now" -ge "$next_sample" ]; then
        next_sample=$((now + 1))
        fps=$(caption_fps)
        counted=$((counted + ${fps:-0}))
        if [ -z "$first_rss" ] && [ "$counted" -ge 1000 ]; then
            first_rss=$(rss_kib)
            echo "After $counted frames: resident memory $first_rss KiB"
        fi
        if [ "$counted" -ge $((frames - 1000)) ]; then
            last_rss=$(rss_kib)
        fi
    fi
done
echo "After $counted frames: resident memory ${last_rss:-?} KiB"

status=1
if kill -0 "$pid" 2>/dev/null; then
    xdotool key Escape
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "No exit after Escape."
        kill -KILL "$pid"
    fi
fi
wait "$pid" && status=0 || status=$?
elapsed=$(( $(date +%s) - started ))

echo "Frames: $counted in ${elapsed} s; exit status: $status"
failed=0
if [ "$status" -ne 0 ]; then
    failed=1
fi
if grep -q -E "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$log_dir/stderr.txt"; then
    echo "Sanitizer report in $log_dir/stderr.txt:"
    head -n 40 "$log_dir/stderr.txt"
    failed=1
fi
if [ -n "$first_rss" ] && [ -n "$last_rss" ]; then
    growth=$((last_rss - first_rss))
    echo "Resident memory growth: $growth KiB (limit 2048 KiB)"
    if [ "${growth#-}" -gt 2048 ]; then
        failed=1
    fi
else
    echo "Too few frames to compare resident memory."
    failed=1
fi
if [ "$failed" -eq 0 ]; then
    echo "Soak test passed."
else
    echo "Soak test FAILED."
fi
exit "$failed"
