#!/usr/bin/env bash
# Frame benchmark: the camera demo's frame drawn by the engine against the same frame written
# straight against SDL/OpenGL (a GLSL and a fixed-function variant), in alternating rounds under
# Xvfb; then the engine library's own instructions per frame under callgrind.
# With --sprites it runs the sprite and text marks instead: N blended 32 x 32 sprites bouncing
# in the window, and a screen of 60 lines of 80 characters, drawn through the engine and by a plain
# SDL/OpenGL program with one vertex array per frame and no depth buffer; then the instructions
# per sprite of both under callgrind.
# With --sprites --web it runs both marks in headless Chromium instead: the engine's page against
# a page written by hand against WebGL (one buffer per frame), 1,000 and 10,000 sprites and the
# screen of text.
# Usage: scripts/bench.sh [--frames N] [--rounds R] [--callgrind-frames "N1 N2"] [--no-callgrind]
#                        [--callgrind-references]
#        scripts/bench.sh --sprites [--counts "1000 10000 50000"] [--frames N] [--rounds R]
#                        [--no-callgrind]
#        scripts/bench.sh --sprites --web [--counts "1000 10000"] [--rounds R] [--seconds S]
#                        [--cpus "0 1"]
#   --frames            timed frames per run (default 300; 100 with --sprites)
#   --rounds            rounds of engine, GLSL reference, fixed-function reference (default 7;
#                       with --sprites, rounds of engine and reference, default 5)
#   --counts            the sprite counts of the sprite mark
#   --web               the marks' pages in headless Chromium, taking turns (rounds default 30)
#   --seconds           seconds per page turn (default 3)
#   --cpus              the processors the browsers may use, e.g. "0 1" (default: the last one;
#                       software WebGL then rasterises on the first)
#   --callgrind-frames  the two frame counts whose difference gives the per-frame figure
#                       (default "10 60")
#   --no-callgrind      skip the instruction count (also skipped when valgrind is missing)
#   --callgrind-references  also count the whole process's instructions per frame of the
#                       engine and both references: a steady comparison of the work per frame
#                       where other load makes frame rates noisy (several more minutes)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

frames=""
rounds=""
callgrind_frames="10 60"
callgrind=1
references=0
sprites=0
counts="1000 10000 50000"
web=0
seconds=""
cpus=""
while [ $# -gt 0 ]; do
    case "$1" in
        --frames) frames=$2; shift 2 ;;
        --rounds) rounds=$2; shift 2 ;;
        --sprites) sprites=1; shift ;;
        --web) web=1; shift ;;
        --seconds) seconds=$2; shift 2 ;;
        --cpus) cpus=$2; shift 2 ;;
        --counts) counts=$2; shift 2 ;;
        --callgrind-frames) callgrind_frames=$2; shift 2 ;;
        --no-callgrind) callgrind=0; shift ;;
        --callgrind-references) references=1; shift ;;
        *) echo "Unknown option: $1" >&2; exit 2 ;;
    esac
done

if [ $web -eq 1 ]; then
    # ImageMagick compares the two text pages' pictures.
    # shellcheck disable=SC2086
    orvane_install_packages $ORVANE_WEB_PACKAGES imagemagick
    export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
    emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF >/dev/null
    cmake --build build-web --target bench_marks_page -j"$(nproc)"
    echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores"
    if [ "$counts" = "1000 10000 50000" ]; then
        counts="1000 10000"
    fi
    exec /usr/bin/python3 tools/web_bench.py build-web --counts "$counts" \
        ${rounds:+--rounds "$rounds"} --seconds "${seconds:-3}" ${cpus:+--cpus "$cpus"}
fi

# shellcheck disable=SC2086
orvane_install_packages $ORVANE_BUILD_PACKAGES $ORVANE_HEADLESS_PACKAGES
if [ $callgrind -eq 1 ] && ! command -v valgrind >/dev/null; then
    orvane_install_packages valgrind || true
    if ! command -v valgrind >/dev/null; then
        echo "valgrind is not available: skipping the instruction count."
        callgrind=0
    fi
fi

# Without the tests, which ctest then no longer lists in build/ (scripts/test.sh builds them).
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build --target bench_engine bench_reference bench_run bench_marks_engine \
    bench_marks_reference bench_marks -j"$(nproc)"

logs=build/bench-logs
mkdir -p "$logs"
xvfb="xvfb-run -a -s"
xvfb_args="-screen 0 1024x768x24 -noreset"
# The dummy driver stands in for a sound card, so the engine opens its audio device as it would
# on a desktop.
export SDL_AUDIODRIVER=dummy

if [ $sprites -eq 1 ]; then
    # Both programs must draw the same picture, or the comparison means nothing.
    $xvfb "$xvfb_args" sh -c "
        build/bench/bench_marks_engine --mark sprites --count 1000 --frames 20 \
            --snapshot $logs/marks-engine-sprites.ppm &&
        build/bench/bench_marks_reference --mark sprites --count 1000 --frames 20 \
            --snapshot $logs/marks-reference-sprites.ppm &&
        build/bench/bench_marks_engine --mark text --frames 2 \
            --snapshot $logs/marks-engine-text.ppm &&
        build/bench/bench_marks_reference --mark text --frames 2 \
            --snapshot $logs/marks-reference-text.ppm" >"$logs/marks-snapshots.log" 2>&1
    for mark in sprites text; do
        differing=$(compare -metric AE "$logs/marks-engine-$mark.ppm" \
            "$logs/marks-reference-$mark.ppm" null: 2>&1 || true)
        echo "Pixels that differ between the engine's and the reference's $mark picture: $differing"
    done
    echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores"
    $xvfb "$xvfb_args" build/bench/bench_marks --engine build/bench/bench_marks_engine \
        --reference build/bench/bench_marks_reference --counts "$counts" \
        --frames "${frames:-100}" --rounds "${rounds:-5}" --logs "$logs"
    if [ $callgrind -eq 0 ]; then
        exit 0
    fi
    echo
    # Frames 10 to 20: by then llvmpipe has compiled every shader variant the mark needs.
    echo "Instructions per sprite (callgrind, whole process, 1,000 sprites, frames 10 to 20)..."
    for program in engine reference; do
        for count in 10 20; do
            LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true $xvfb "$xvfb_args" \
                valgrind --tool=callgrind --callgrind-out-file="$logs/marks-$program-$count.out" \
                "build/bench/bench_marks_$program" --mark sprites --count 1000 \
                --frames "$count" >"$logs/marks-callgrind-$program-$count.log" 2>&1
        done
        a=$(sed -n 's/^summary: //p' "$logs/marks-$program-10.out")
        b=$(sed -n 's/^summary: //p' "$logs/marks-$program-20.out")
        echo "  $program: $(((b - a) / 10 / 1000)) instructions per sprite"
    done
    exit 0
fi
frames=${frames:-300}
rounds=${rounds:-7}

# The comparison only means something if all three draw the same picture: after the same number
# of frames (same camera position) the windows must match pixel for pixel.
$xvfb "$xvfb_args" sh -c "
    build/bench/bench_engine --frames 20 --snapshot $logs/engine.ppm &&
    build/bench/bench_reference --mode glsl --frames 20 --snapshot $logs/glsl.ppm &&
    build/bench/bench_reference --mode fixed --frames 20 --snapshot $logs/fixed.ppm" \
    >"$logs/snapshots.log" 2>&1
for variant in glsl fixed; do
    differing=$(compare -metric AE "$logs/engine.ppm" "$logs/$variant.ppm" null: 2>&1 || true)
    echo "Pixels that differ between the engine's and the $variant reference's picture: $differing"
done

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
# llvmpipe rasterises on the calling thread (LP_NUM_THREADS=0) and compiles every shader afresh
# (no disk cache), so both runs of a program do the same start-up work and it cancels out.
profile() { # NAME FRAMES PROGRAM [ARGS...]
    local name=$1 count=$2
    shift 2
    LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true $xvfb "$xvfb_args" valgrind --tool=callgrind \
        --callgrind-out-file="$logs/callgrind-$name-$count.out" \
        "$@" --frames "$count" >"$logs/callgrind-$name-$count.log" 2>&1
}
for count in "$first" "$second"; do
    profile engine "$count" build/bench/bench_engine
done
# The library's functions: every code symbol that liborvane.a defines.
nm -C --defined-only build/liborvane.a | awk '$2 ~ /^[TtWw]$/ { $1 = ""; $2 = ""; sub(/^  /, ""); print }' |
    sort -u >"$logs/engine-symbols.txt"
awk -v symbols="$logs/engine-symbols.txt" -v frames1="$first" -v frames2="$second" \
    -f bench/callgrind_engine.awk "$logs/callgrind-engine-$first.out" \
    "$logs/callgrind-engine-$second.out"

if [ $references -eq 1 ]; then
    for count in "$first" "$second"; do
        profile glsl "$count" build/bench/bench_reference --mode glsl
        profile fixed "$count" build/bench/bench_reference --mode fixed
    done
    echo "Whole process, instructions per frame (OpenGL driver and rasteriser included):"
    for name in engine glsl fixed; do
        a=$(sed -n 's/^summary: //p' "$logs/callgrind-$name-$first.out")
        b=$(sed -n 's/^summary: //p' "$logs/callgrind-$name-$second.out")
        echo "  $name: $(((b - a) / (second - first)))"
    done
fi
