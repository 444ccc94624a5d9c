#!/usr/bin/env bash
# Frame benchmark: the camera demo's frame drawn by the engine against the same frame written
# straight against SDL/OpenGL (a GLSL and a fixed-function variant), in alternating rounds under
# Xvfb; then the engine library's own instructions per frame under callgrind.
# Usage: scripts/bench.sh [--frames N] [--rounds R] [--callgrind-frames "N1 N2"] [--no-callgrind]
#   --frames            timed frames per run (default 300)
#   --rounds            rounds of engine, GLSL reference, fixed-function reference (default 5)
#   --callgrind-frames  the two frame counts whose difference gives the per-frame figure
#                       (default "10 60")
#   --no-callgrind      skip the instruction count (also skipped when valgrind is missing)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

frames=300
rounds=5
callgrind_frames="10 60"
callgrind=1
while [ $# -gt 0 ]; do
    case "$1" in
        --frames) frames=$2; shift 2 ;;
        --rounds) rounds=$2; shift 2 ;;
        --callgrind-frames) callgrind_frames=$2; shift 2 ;;
        --no-callgrind) callgrind=0; shift ;;
        *) echo "Unknown option: $1" >&2; exit 2 ;;
    esac
done

# shellcheck disable=SC2086
orvane_install_packages $ORVANE_BUILD_PACKAGES $ORVANE_HEADLESS_PACKAGES
if [ $callgrind -eq 1 ] && ! command -v valgrind >/dev/null; then
    orvane_install_packages valgrind || true
    if ! command -v valgrind >/dev/null; then
        echo "valgrind is not available: skipping the instruction count."
        callgrind=0
    fi
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build --target bench_engine bench_reference bench_run -j"$(nproc)"

logs=build/bench-logs
mkdir -p "$logs"
xvfb="xvfb-run -a -s"
xvfb_args="-screen 0 1024x768x24 -noreset"
# The dummy driver stands in for a sound card, so the engine opens its audio device as it would
# on a desktop.
export SDL_AUDIODRIVER=dummy

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores"
$xvfb "$xvfb_args" build/bench/bench_run --engine build/bench/bench_engine \
    --reference build/bench/bench_reference --frames "$frames" --rounds "$rounds" --logs "$logs"
renderer=$(sed -n 's/^Detected Renderer: //p' "$logs/engine-round1.log" | head -n 1)
echo "Renderer: ${renderer:-unknown}"

if [ $callgrind -eq 0 ]; then
    exit 0
fi
read -r first second <<<"$callgrind_frames"
echo
echo "Instruction count (callgrind, llvmpipe on the calling thread; takes a few minutes)..."
for count in "$first" "$second"; do
    LP_NUM_THREADS=0 $xvfb "$xvfb_args" valgrind --tool=callgrind \
        --callgrind-out-file="$logs/callgrind-$count.out" \
        build/bench/bench_engine --frames "$count" >"$logs/callgrind-$count.log" 2>&1
done
# The library's functions: every code symbol that liborvane.a defines.
nm -C --defined-only build/liborvane.a | awk '$2 ~ /^[TtWw]$/ { $1 = ""; $2 = ""; sub(/^  /, ""); print }' |
    sort -u >"$logs/engine-symbols.txt"
awk -v symbols="$logs/engine-symbols.txt" -v frames1="$first" -v frames2="$second" \
    -f bench/callgrind_engine.awk "$logs/callgrind-$first.out" "$logs/callgrind-$second.out"
