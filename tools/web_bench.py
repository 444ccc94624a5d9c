#!/usr/bin/python3
"""The sprite and text marks in headless Chromium: the engine's page (bench_marks_page) against
the same pictures written by hand against WebGL (bench_marks_reference), alternating round by
round, one browser each run; scripts/bench.sh --sprites --web runs it.

  tools/web_bench.py PAGES [--counts "1000 10000"] [--marks "sprites text"] [--rounds R]
                           [--seconds S] [--cpus "1"]

PAGES is the browser build's page folder (build-web). Each run times a page from a few seconds
after its 20th frame, once the browser has optimised the page's code. It reports the frame rate,
the page's main-thread CPU time per frame, and the WebGL draws and calls per frame; then the
medians, the engine/reference ratios and the targets, and whether the two text pages showed the
same picture. --cpus pins the browser to those processor numbers: on one core a run no longer
depends on how software WebGL's worker threads and the compositor happen to share the cores.

The main-thread time is the CPU time of the page process's main thread, read from /proc: the
page's own code, the WebGL calls it makes and the browser's own work per frame, but not the time
a WebGL call sleeps while it waits for the GPU process. Software WebGL rasterises on the same
cores, so that wait grows with the pictures' pixels, and a graphics card would hide it. What is
left is what a faster graphics card could not take away.
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from web_page import Page, PageServer  # noqa: E402

# Frames paced by the page's work, not by a display's refresh.
UNTHROTTLED = ["--disable-gpu-vsync", "--disable-frame-rate-limit"]
FPS_TARGET = 0.95
SETTLE_SECONDS = 3.0
MAIN_THREAD_LIMIT = 1.5


def renderer_main_threads():
    """The CPU time so far, in nanoseconds, of each Chromium page process's main thread, where
    the page's code and its WebGL calls run. A WebGL call that waits for the GPU process sleeps
    meanwhile, so the figure keeps only what the page itself costs."""
    times = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as cmdline:
                if b"--type=renderer" not in cmdline.read():
                    continue
            with open("/proc/%s/task/%s/schedstat" % (pid, pid)) as schedstat:
                times[pid] = int(schedstat.read().split()[0])
        except OSError:
            continue
    return times


def measure(url, seconds, picture=False):
    with Page(url, UNTHROTTLED) as page:
        deadline = time.monotonic() + 120
        while page.frames() < 20:
            if time.monotonic() > deadline:
                raise TimeoutError("no frames from " + url)
            time.sleep(0.1)
        # The first seconds of a page include compiling its code a second time, optimised, in
        # the background; what a player sees after that is the steady frame rate.
        time.sleep(SETTLE_SECONDS)
        read = "return [performance.now(), Module.frameCount];"
        start, cpu_start = page.script(read), renderer_main_threads()
        time.sleep(seconds)
        end, cpu_end = page.script(read), renderer_main_threads()
        frames = end[1] - start[1]
        # The page's own process is the busiest one.
        cpu = max(cpu_end[pid] - cpu_start.get(pid, 0) for pid in cpu_end)
        calls = page.webgl_calls(3)
        png = page.canvas.screenshot_as_png if picture else None
    return {
        "picture": png,
        "fps": frames * 1000.0 / (end[0] - start[0]),
        "cpu": cpu / 1e6 / frames,
        "draws": calls.get("drawElements", 0) + calls.get("drawArrays", 0),
        "calls": sum(calls.values()),
    }


def label(case):
    return "%d sprites" % case[1] if case[1] is not None else "text, 60 x 80"


def differing_pixels(pictures):
    with tempfile.TemporaryDirectory() as folder:
        paths = []
        for number, png in enumerate(pictures):
            paths.append(os.path.join(folder, "%d.png" % number))
            with open(paths[-1], "wb") as out:
                out.write(png)
        compare = subprocess.run(["compare", "-metric", "AE"] + paths + ["null:"],
                                 capture_output=True, text=True)
    return compare.stderr.strip()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("pages")
    parser.add_argument("--counts", default="1000 10000")
    parser.add_argument("--marks", default="sprites text")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=5.0)
    parser.add_argument("--cpus", default="")
    arguments = parser.parse_args()
    if arguments.cpus:
        # The browser and its helper processes inherit the runner's processors.
        os.sched_setaffinity(0, {int(cpu) for cpu in arguments.cpus.split()})
    marks = arguments.marks.split()
    # (name, sprite count, what the page's URL asks for); the text mark has no count.
    cases = [("sprites", count, "?arg=--count&arg=%d" % count)
             for count in [int(count) for count in arguments.counts.split()]
             if "sprites" in marks]
    if "text" in marks:
        cases.append(("text", None, "?arg=--mark&arg=text"))
    programs = ["bench_marks_page", "bench_marks_reference"]
    results = {(program, case[:2]): [] for program in programs for case in cases}

    print("Marks in headless Chromium (software WebGL): %d rounds of %.0f s per run%s"
          % (arguments.rounds, arguments.seconds,
             ", processors " + arguments.cpus if arguments.cpus else ""))
    with PageServer(arguments.pages) as server:
        for round_number in range(1, arguments.rounds + 1):
            print("round %d" % round_number)
            for case in cases:
                # Alternating which goes first evens out a machine that slows down or warms up.
                order = programs if round_number % 2 else list(reversed(programs))
                for program in order:
                    result = measure("%s%s/index.html%s" % (server.url, program, case[2]),
                                     arguments.seconds, picture=case[0] == "text")
                    results[(program, case[:2])].append(result)
                    print("  %-22s %-15s %7.1f fps %7.2f ms main thread/frame "
                          "%6.1f draws %8.1f WebGL calls/frame" % (
                              program, label(case), result["fps"], result["cpu"],
                              result["draws"], result["calls"]), flush=True)

    print("medians over %d rounds" % arguments.rounds)
    print("  mark             engine fps  ref fps  ratio (target >= %.2f)  engine ms  ref ms  "
          "ms ratio (target <= %.1f)  engine draws/calls  ref draws/calls"
          % (FPS_TARGET, MAIN_THREAD_LIMIT))
    met = True
    for case in cases:
        def median(program, key):
            return statistics.median(run[key] for run in results[(program, case[:2])])
        engine_fps, reference_fps = median(programs[0], "fps"), median(programs[1], "fps")
        engine_cpu, reference_cpu = median(programs[0], "cpu"), median(programs[1], "cpu")
        fps_ratio = engine_fps / reference_fps
        cpu_ratio = engine_cpu / reference_cpu
        ok = fps_ratio >= FPS_TARGET and cpu_ratio <= MAIN_THREAD_LIMIT
        met = met and ok
        print("  %-15s  %10.1f  %7.1f  %5.2f %-16s  %9.2f  %6.2f  %5.2f %-18s  %7.0f / %-8.0f  "
              "%5.0f / %.0f" % (
                  label(case), engine_fps, reference_fps, fps_ratio,
                  "met" if fps_ratio >= FPS_TARGET else "NOT MET", engine_cpu, reference_cpu,
                  cpu_ratio, "met" if cpu_ratio <= MAIN_THREAD_LIMIT else "NOT MET",
                  median(programs[0], "draws"), median(programs[0], "calls"),
                  median(programs[1], "draws"), median(programs[1], "calls")))
    if "text" in marks:
        # The text is the same in every frame, so the two pages must show the same picture.
        differing = differing_pixels([results[(program, ("text", None))][-1]["picture"]
                                      for program in programs])
        print("text pictures, engine against hand-written: %s pixels differ" % differing)
        met = met and differing == "0"
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
