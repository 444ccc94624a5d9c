#!/usr/bin/python3
"""The sprite and text marks in headless Chromium: the engine's page (bench_marks_page) against
the same pictures written by hand against WebGL (bench_marks_reference); scripts/bench.sh
--sprites --web runs it.

  tools/web_bench.py PAGES [--counts "1000 10000"] [--marks "sprites text"] [--rounds R]
                           [--seconds S] [--cpus "0 1"]

PAGES is the browser build's page folder (build-web). Both pages of a mark are open at once,
each in a browser of its own, and take turns: one draws for about S seconds while the other is
paused, in the order AB BA AB and so on. A machine whose speed drifts (another virtual machine
on the same host, a processor that warms up) then slows both alike, and each round's ratio
compares two turns a few seconds apart. Every 6 rounds both browsers make way for fresh ones,
so that no one browser's speed decides the median. With the frame rate unthrottled, a page's
frames run ahead of what software WebGL has drawn, by hundreds of frames. So a turn asks for as
many frames as the page drew in S seconds in its last turn, and ends by pausing the page and
reading a pixel back, which waits until WebGL has drawn every frame the page sent. A turn's
time covers all of its frames' work and none of the other page's.

It reports each round's frame rates; then per mark both frame rates, the median of the rounds'
ratios and their quartiles, the page's main-thread CPU time per frame, and the WebGL draws and
calls per frame; and whether the two text pages showed the same picture. Single rounds' ratios
spread widely (0.82 to 1.25 in one run of 30), so the median of 10 rounds still moved between
0.93 and 1.02 from one run to the next; hence 30 rounds by default.

The browsers run on the last processor unless --cpus names others ("0 1"). Software WebGL's
rasterising threads do not follow: they place themselves on the first processor whatever the
browser was given. So by default the rasterising has the first processor to itself and the rest
of the browser (the page, the GPU process's command thread, the compositor) shares the last.
With everything on one processor the page runs so far ahead of the drawing that the first
pause's read-back outlasts the browser driver's script time limit.

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
ROUNDS = 30
# Fresh browsers every this many rounds. A browser's GPU process can keep a speed of its own for
# its whole life (its CPU time per frame for the same page differs by up to 20% from one browser
# to the next), which turns cannot even out; so the rounds' median covers several pairs.
ROUNDS_PER_BROWSERS = 6
MAIN_THREAD_LIMIT = 1.5
# Pauses the page's frames, then waits for WebGL to finish what the page has sent.
PAUSE = ("Module.pauseMainLoop();"
         "document.getElementById('canvas').getContext('webgl')"
         ".readPixels(0, 0, 1, 1, 0x1908, 0x1401, new Uint8Array(4));"
         "return [performance.now(), Module.frameCount];")
RESUME = "var now = performance.now(); Module.resumeMainLoop(); return [now, Module.frameCount];"


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


def open_paused(url):
    """The page in a browser of its own, past its start-up and paused."""
    page = Page(url, UNTHROTTLED)
    try:
        deadline = time.monotonic() + 120
        while page.frames() < 20:
            if time.monotonic() > deadline:
                raise TimeoutError("no frames from " + url)
            time.sleep(0.1)
        # The first seconds of a page include compiling its code a second time, optimised, in
        # the background; what a player sees after that is the steady frame rate.
        time.sleep(SETTLE_SECONDS)
        page.script(PAUSE)
    except BaseException:
        page.close()
        raise
    return page


def turn(page, frames):
    """Frames, seconds and main-thread nanoseconds of one turn of the page: at least the frames
    asked for."""
    cpu_start = renderer_main_threads()
    start = page.script(RESUME)
    while page.frames() < start[1] + frames:
        time.sleep(0.02)
    end = page.script(PAUSE)
    cpu_end = renderer_main_threads()
    # The other page is paused: the busiest page process is this one.
    cpu = max(cpu_end[pid] - cpu_start.get(pid, 0) for pid in cpu_end)
    return end[1] - start[1], (end[0] - start[0]) / 1000.0, cpu


def calls_per_frame(page):
    page.script("Module.resumeMainLoop();")
    calls = page.webgl_calls(3)
    page.script(PAUSE)
    return (calls.get("drawElements", 0) + calls.get("drawArrays", 0), sum(calls.values()))


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


def measure(urls, rounds, seconds, picture):
    """Both pages of a mark in turns: [frames, seconds, nanoseconds] each, the rounds' ratios,
    draws and calls per frame, and the pictures if asked for."""
    totals = [[0, 0.0, 0] for _ in urls]
    ratios = []
    calls = pictures = None
    # A turn is as many frames as the page drew in the seconds asked for last time, the first
    # turn not counted: a page can send hundreds more in that time, which WebGL would then take
    # minutes to draw.
    def length(frames, took):
        return max(3, round(seconds * frames / took))
    while len(ratios) < rounds:
        pages = []
        try:
            for url in urls:
                pages.append(open_paused(url))
            lengths = [length(*turn(page, 5)[:2]) for page in pages]
            for _ in range(min(ROUNDS_PER_BROWSERS, rounds - len(ratios))):
                rates = [0.0, 0.0]
                # AB BA AB ...: a steady drift in the machine's speed weighs on both alike.
                for index in ([0, 1] if len(ratios) % 2 == 0 else [1, 0]):
                    frames, took, cpu = turn(pages[index], lengths[index])
                    lengths[index] = length(frames, took)
                    totals[index] = [totals[index][0] + frames, totals[index][1] + took,
                                     totals[index][2] + cpu]
                    rates[index] = frames / took
                ratios.append(rates[0] / rates[1])
                print("    round %2d: %7.2f against %7.2f fps, ratio %.3f"
                      % (len(ratios), rates[0], rates[1], ratios[-1]), flush=True)
            if len(ratios) == rounds:
                calls = [calls_per_frame(page) for page in pages]
                pictures = [page.canvas.screenshot_as_png for page in pages] if picture else None
        finally:
            for page in pages:
                page.close()
    return totals, ratios, calls, pictures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("pages")
    parser.add_argument("--counts", default="1000 10000")
    parser.add_argument("--marks", default="sprites text")
    parser.add_argument("--rounds", type=int, default=ROUNDS)
    parser.add_argument("--seconds", type=float, default=3.0)
    parser.add_argument("--cpus", default=str(max(os.sched_getaffinity(0))))
    arguments = parser.parse_args()
    # The browsers and their helper processes inherit the runner's processors.
    os.sched_setaffinity(0, {int(cpu) for cpu in arguments.cpus.split()})
    marks = arguments.marks.split()
    # (label, what the page's URL asks for); the text mark has no count.
    cases = [("%d sprites" % count, "?arg=--count&arg=%d" % count)
             for count in [int(count) for count in arguments.counts.split()]
             if "sprites" in marks]
    if "text" in marks:
        cases.append(("text, 60 x 80", "?arg=--mark&arg=text"))

    print("Marks in headless Chromium (software WebGL): engine's page against hand-written, "
          "%d rounds of %.0f s turns, processors %s"
          % (arguments.rounds, arguments.seconds, arguments.cpus))
    summary = []
    differing = None
    with PageServer(arguments.pages) as server:
        for name, query in cases:
            print("  " + name, flush=True)
            urls = ["%s%s/index.html%s" % (server.url, program, query)
                    for program in ["bench_marks_page", "bench_marks_reference"]]
            text = query.endswith("text")
            totals, ratios, calls, pictures = measure(urls, arguments.rounds, arguments.seconds,
                                                      text)
            summary.append((name, totals, ratios, calls))
            if text:
                # The text is the same in every frame, so the two pages must show the same
                # picture.
                differing = differing_pixels(pictures)

    print("over %d rounds (frame rates over all turns; ratio: the rounds' median, and their "
          "quartiles)" % arguments.rounds)
    print("  mark             engine fps  ref fps  ratio (target >= %.2f)  quartiles  engine ms  "
          "ref ms  ms ratio (target <= %.1f)  engine draws/calls  ref draws/calls"
          % (FPS_TARGET, MAIN_THREAD_LIMIT))
    met = True
    for name, totals, ratios, calls in summary:
        fps = [frames / took for frames, took, _ in totals]
        cpu = [nanoseconds / 1e6 / frames for frames, _, nanoseconds in totals]
        fps_ratio = statistics.median(ratios)
        # A single round gives no spread.
        low, _, high = statistics.quantiles(ratios, n=4) if len(ratios) > 1 else [fps_ratio] * 3
        cpu_ratio = cpu[0] / cpu[1]
        ok = fps_ratio >= FPS_TARGET and cpu_ratio <= MAIN_THREAD_LIMIT
        met = met and ok
        print("  %-15s  %10.1f  %7.1f  %5.2f %-16s  %4.2f-%4.2f  %9.2f  %6.2f  %5.2f %-18s  "
              "%7.0f / %-8.0f  %5.0f / %.0f" % (
                  name, fps[0], fps[1], fps_ratio,
                  "met" if fps_ratio >= FPS_TARGET else "NOT MET", low, high, cpu[0], cpu[1],
                  cpu_ratio,
                  "met" if cpu_ratio <= MAIN_THREAD_LIMIT else "NOT MET",
                  calls[0][0], calls[0][1], calls[1][0], calls[1][1]))
    if differing is not None:
        print("text pictures, engine against hand-written: %s pixels differ" % differing)
        met = met and differing == "0"
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
