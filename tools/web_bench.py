#!/usr/bin/python3
"""The sprite mark in headless Chromium: the engine's page (bench_marks_page) against the same
picture written by hand against WebGL (bench_marks_reference), alternating round by round, one
browser each run; scripts/bench.sh --sprites --web runs it.

  tools/web_bench.py PAGES [--counts "1000 10000"] [--rounds R] [--seconds S]

PAGES is the browser build's page folder (build-web). Each run times a page from a few seconds
after its 20th frame, once the browser has optimised the page's code. It reports the frame rate,
the page's main-thread time per frame, and the WebGL draws and calls per frame; then the
medians, the engine/reference ratios and the targets.

The main-thread time is the page's own code and the WebGL calls it makes, less the time its
buffer uploads spend waiting for the GPU process to finish the frame before: software WebGL
rasterises on the same two cores, so that wait grows with the sprites' pixels, and a graphics
card would hide it. What is left is what a faster graphics card could not take away.
"""

import argparse
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from web_page import Page, PageServer  # noqa: E402

# Frames paced by the page's work, not by a display's refresh.
UNTHROTTLED = ["--disable-gpu-vsync", "--disable-frame-rate-limit"]
# Sums up the time the page's buffer uploads take (the wait for the GPU process is in there).
TIME_UPLOADS = """
var context = document.getElementById("canvas").getContext("webgl");
var upload = Object.getPrototypeOf(context).bufferData;
window.uploadTime = 0;
context.bufferData = function() {
    var start = performance.now();
    upload.apply(context, arguments);
    window.uploadTime += performance.now() - start;
};
"""
FPS_TARGET = 0.95
SETTLE_SECONDS = 3.0
MAIN_THREAD_LIMIT = 1.5


def measure(url, seconds):
    with Page(url, UNTHROTTLED) as page:
        deadline = time.monotonic() + 120
        while page.frames() < 20:
            if time.monotonic() > deadline:
                raise TimeoutError("no frames from " + url)
            time.sleep(0.1)
        # The first seconds of a page include compiling its code a second time, optimised, in
        # the background; what a player sees after that is the steady frame rate.
        time.sleep(SETTLE_SECONDS)
        page.script(TIME_UPLOADS)
        read = ("return [performance.now(), Module.frameCount, Module.frameTime, "
                "window.uploadTime];")
        start = page.script(read)
        time.sleep(seconds)
        end = page.script(read)
        frames = end[1] - start[1]
        calls = page.webgl_calls(3)
    return {
        "fps": frames * 1000.0 / (end[0] - start[0]),
        "cpu": ((end[2] - start[2]) - (end[3] - start[3])) / frames,
        "draws": calls.get("drawElements", 0) + calls.get("drawArrays", 0),
        "calls": sum(calls.values()),
    }


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("pages")
    parser.add_argument("--counts", default="1000 10000")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=5.0)
    arguments = parser.parse_args()
    counts = [int(count) for count in arguments.counts.split()]
    programs = ["bench_marks_page", "bench_marks_reference"]
    results = {(program, count): [] for program in programs for count in counts}

    print("Sprite mark in headless Chromium (software WebGL): %d rounds of %.0f s per run"
          % (arguments.rounds, arguments.seconds))
    with PageServer(arguments.pages) as server:
        for round_number in range(1, arguments.rounds + 1):
            print("round %d" % round_number)
            for count in counts:
                # Alternating which goes first evens out a machine that slows down or warms up.
                order = programs if round_number % 2 else list(reversed(programs))
                for program in order:
                    url = "%s%s/index.html?arg=--count&arg=%d" % (server.url, program, count)
                    result = measure(url, arguments.seconds)
                    results[(program, count)].append(result)
                    print("  %-22s %6d sprites %7.1f fps %7.2f ms main thread/frame "
                          "%6.1f draws %8.1f WebGL calls/frame" % (
                              program, count, result["fps"], result["cpu"], result["draws"],
                              result["calls"]), flush=True)

    print("medians over %d rounds" % arguments.rounds)
    print("  sprites  engine fps  ref fps  ratio (target >= %.2f)  engine ms  ref ms  "
          "ms ratio (target <= %.1f)  engine draws/calls  ref draws/calls"
          % (FPS_TARGET, MAIN_THREAD_LIMIT))
    met = True
    for count in counts:
        def median(program, key):
            return statistics.median(run[key] for run in results[(program, count)])
        engine_fps, reference_fps = median(programs[0], "fps"), median(programs[1], "fps")
        engine_cpu, reference_cpu = median(programs[0], "cpu"), median(programs[1], "cpu")
        fps_ratio = engine_fps / reference_fps
        cpu_ratio = engine_cpu / reference_cpu
        ok = fps_ratio >= FPS_TARGET and cpu_ratio <= MAIN_THREAD_LIMIT
        met = met and ok
        print("  %7d  %10.1f  %7.1f  %5.2f %-16s  %9.2f  %6.2f  %5.2f %-18s  %7.0f / %-8.0f  "
              "%5.0f / %.0f" % (
                  count, engine_fps, reference_fps, fps_ratio,
                  "met" if fps_ratio >= FPS_TARGET else "NOT MET", engine_cpu, reference_cpu,
                  cpu_ratio, "met" if cpu_ratio <= MAIN_THREAD_LIMIT else "NOT MET",
                  median(programs[0], "draws"), median(programs[0], "calls"),
                  median(programs[1], "draws"), median(programs[1], "calls")))
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
