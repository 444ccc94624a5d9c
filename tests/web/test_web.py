#!/usr/bin/python3
"""The browser tests: the pages of the demo and the examples in headless Chromium, against the
desktop programs of the same build running under the test's X display (Xvfb).

Run by CTest (label "web"), one case per process:
  /usr/bin/python3 tests/web/test_web.py CASE --pages BUILD/web --programs BUILD
from the repository root, with DISPLAY set; needs chromium, chromium-driver, python3-selenium,
xdotool and ImageMagick.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from web_page import Page, PageServer  # noqa: E402

LAST_LOAD_LINE = "Loading Texture: Data/Logo/orvlogo.png"
PROGRAMS = ["camera2d_demo", "gui_demo", "scene3d_demo", "audio_demo"]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# ---- Pictures --------------------------------------------------------------------------------

class Picture:
    """An RGB picture decoded by ImageMagick (no imaging module needed)."""

    def __init__(self, png):
        ppm = subprocess.run(["convert", "png:-", "-depth", "8", "ppm:-"], input=png,
                             stdout=subprocess.PIPE, check=True).stdout
        fields = ppm.split(maxsplit=4)
        self.width, self.height = int(fields[1]), int(fields[2])
        # The pixels are the file's last bytes: splitting would also eat a first pixel whose
        # bytes read as white space.
        self.data = ppm[len(ppm) - 3 * self.width * self.height:]

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return self.data[i], self.data[i + 1], self.data[i + 2]


def alpha_mask(path):
    """The alpha channel of a picture file, row by row."""
    size = subprocess.run(["identify", "-format", "%w %h", path], stdout=subprocess.PIPE,
                          check=True).stdout.split()
    gray = subprocess.run(["convert", path, "-alpha", "extract", "-depth", "8", "gray:-"],
                          stdout=subprocess.PIPE, check=True).stdout
    return int(size[0]), int(size[1]), gray


def differs(a, b, tolerance):
    return max(abs(a[0] - b[0]), abs(a[1] - b[1]), abs(a[2] - b[2])) > tolerance


def compare_where(desktop, page, points, tolerance, what, allowed=0.0):
    """Fails when more than the allowed share of the points differ by more than the tolerance
    in some channel."""
    points = list(points)
    bad = [p for p in points if differs(desktop.at(*p), page.at(*p), tolerance)]
    check(points, "no pixels to compare for " + what)
    check(len(bad) <= allowed * len(points),
          "%s: %d of %d pixels differ by more than %d (first at %s: desktop %s, page %s)" % (
              what, len(bad), len(points), tolerance, bad[0] if bad else None,
              desktop.at(*bad[0]) if bad else None, page.at(*bad[0]) if bad else None))


def opaque_points(path, left, top):
    """The window pixels where a sprite drawn at (left, top) is fully opaque."""
    width, height, alpha = alpha_mask(path)
    return [(left + x, top + y) for y in range(height) for x in range(width)
            if alpha[y * width + x] == 255]


def white_points(picture, left, top, right, bottom):
    return {(x, y) for y in range(top, bottom) for x in range(left, right)
            if min(picture.at(x, y)) > 250}


def vertical_shift(before, after):
    """The (dx, dy) that best maps a patch of one picture onto the other."""
    best = None
    for dy in range(-8, 9):
        for dx in range(-40, 41):
            total = 0
            for y in range(200, 440, 8):
                for x in range(300, 700, 8):
                    a = before.at(x, y)
                    b = after.at(x + dx, y + dy)
                    total += abs(a[0] - b[0]) + abs(a[1] - b[1]) + abs(a[2] - b[2])
                if best is not None and total >= best[0]:
                    break
            if best is None or total < best[0]:
                best = (total, dx, dy)
    return best[1], best[2]


def mean_difference(a, b, left, top, right, bottom):
    total = count = 0
    for y in range(top, bottom, 4):
        for x in range(left, right, 4):
            p, q = a.at(x, y), b.at(x, y)
            total += abs(p[0] - q[0]) + abs(p[1] - q[1]) + abs(p[2] - q[2])
            count += 1
    return total / count


# ---- The desktop program -------------------------------------------------------------------

class Desktop:
    """A desktop program of this build, full screen under the test's X display."""

    def __init__(self, programs, name):
        environment = dict(os.environ, SDL_AUDIODRIVER="dummy")
        self.process = subprocess.Popen([os.path.join(programs, name)], env=environment,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        text=True)
        self.lines = []
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.append(line)

    def wait_line(self, text, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if any(line.rstrip("\n") == text for line in self.lines):
                # Its first frames, after the last line of the start-up.
                time.sleep(1.5)
                return
            time.sleep(0.05)
        raise Failure("the desktop program did not write %r" % text)

    def xdotool(self, *arguments):
        subprocess.run(["xdotool"] + list(arguments), check=True)

    def picture(self):
        return Picture(subprocess.run(["import", "-window", "root", "png:-"],
                                      stdout=subprocess.PIPE, check=True).stdout)

    def finish(self):
        """Escape; returns standard output and error."""
        self.xdotool("key", "Escape")
        self.process.wait(timeout=15)
        self.reader.join(timeout=5)
        return "".join(self.lines), self.process.stderr.read()


def desktop_run(programs, name, last_line, actions=None):
    desktop = Desktop(programs, name)
    try:
        desktop.wait_line(last_line)
        result = actions(desktop) if actions else None
    finally:
        if desktop.process.poll() is None:
            out, err = desktop.finish()
        else:
            out, err = "".join(desktop.lines), desktop.process.stderr.read()
    return out, err, result


class PageRun:
    def __init__(self, pages, name):
        self.server = PageServer(os.path.join(pages, name))

    def __enter__(self):
        self.server.__enter__()
        try:
            self.page = Page(self.server.url)
            self.page.wait_frames(1)
        except BaseException:
            self.server.__exit__(None, None, None)
            raise
        return self.page

    def __exit__(self, *exc):
        self.page.close()
        self.server.__exit__(*exc)


def error_lines(page):
    return page.script("return Array.from(document.querySelectorAll('#log .error'))"
                       ".map(function (e) { return e.textContent; })")


def up_to_last_load(log):
    return log[:log.rindex(LAST_LOAD_LINE + "\n") + len(LAST_LOAD_LINE) + 1]


def picture(page):
    return Picture(page.canvas_png())


# ---- The cases -------------------------------------------------------------------------------

def PagesDrawTheirFirstFrame(pages, programs):
    for name in PROGRAMS:
        with PageRun(pages, name) as page:
            # A WebGL call that sets an error is a desktop call the page cannot carry out, and
            # it costs the page time every frame.
            page.wait_frames(5)
            warnings = page.webgl_warnings()
            check(not warnings, "%s: %s" % (name, warnings))
            shot = picture(page)
            colours = {shot.at(x, y) for y in range(0, 768, 16) for x in range(0, 1024, 16)}
            check(len(colours) > 8, "%s: the first frame is nearly one colour" % name)
            # A file that does not load or a shader that does not compile writes a line to
            # standard error, which the page shows as an error line.
            check(not error_lines(page), "%s: %s" % (name, error_lines(page)))
            if name == "scene3d_demo":
                check(page.log().count("shader...\n") == 10, "not all ten built-in programs")


def DemoLogEqualsTheDesktopTranscript(pages, programs):
    desktop_out, desktop_err, _ = desktop_run(programs, "camera2d_demo", LAST_LOAD_LINE)
    check(desktop_err == "", "the desktop demo wrote to standard error: " + desktop_err)
    with PageRun(pages, "camera2d_demo") as page:
        page.wait_log(LAST_LOAD_LINE + "\n")
        page_lines = up_to_last_load(page.log()).split("\n")
        # The caption, with the frame rate once a second, is the page's title.
        caption = "Orvane Engine - Sprite Animation Demo Current FPS: "
        page.wait_for(lambda: page.title().startswith(caption), 10.0, "the caption")
    desktop_lines = up_to_last_load(desktop_out).split("\n")
    check(len(page_lines) == len(desktop_lines),
          "%d lines on the page, %d on the desktop:\n%s" % (
              len(page_lines), len(desktop_lines), "\n".join(page_lines)))
    for ours, theirs in zip(page_lines, desktop_lines):
        if theirs.startswith("Detected "):
            # The driver's own strings name the browser's WebGL instead of Mesa.
            ours, theirs = ours.split(": ")[0], theirs.split(": ")[0]
        check(ours == theirs, "page line %r, desktop line %r" % (ours, theirs))


def DemoPictureAgreesWithTheDesktop(pages, programs):
    _, _, desktop = desktop_run(programs, "camera2d_demo", LAST_LOAD_LINE,
                                lambda run: run.picture())
    with PageRun(pages, "camera2d_demo") as page:
        page.wait_frames(5)
        shot = picture(page)
    # The logo, where it is opaque: it is drawn last, 2 pixels inside the bottom-right corner.
    compare_where(desktop, shot, opaque_points("Data/Logo/orvlogo.png", 1022 - 256, 766 - 64),
                  12, "the logo", 0.005)
    # The two text lines: the white cores of their glyphs, which the scrolling maps under them
    # barely change. Where the edges blend with the maps a pixel may cross the line either way,
    # mostly beside a pixel both agree on: a missing or moved glyph differs in many away from any.
    for box in [(356, 26, 660, 50), (16, 736, 240, 760)]:
        ours, theirs = white_points(shot, *box), white_points(desktop, *box)
        check(len(theirs) > 50, "no text on the desktop in %s" % (box,))
        both = ours & theirs
        stray = [(x, y) for (x, y) in ours ^ theirs
                 if not any((x + dx, y + dy) in both for dx in (-1, 0, 1) for dy in (-1, 0, 1))]
        # The maps carry 4 x 3 white marks; one scrolled under a glyph's edge brightens up to
        # that many edge pixels at a distance from the cores, on one side only.
        check(len(ours ^ theirs) <= 0.05 * len(theirs) and len(stray) <= 12,
              "text in %s: %d white pixels on the page, %d on the desktop, %d differ, "
              "%d away from the glyphs (first %s)" % (box, len(ours), len(theirs),
                                                     len(ours ^ theirs), len(stray), stray[:1]))


def PagesDrawOncePerRunAndAskNothing(pages, programs):
    # The demo: the cursor, the frame rate, two maps, the two prints as one run, the logo. The
    # GUI example: one run per picture its windows, widgets and labels change to, well under its
    # 200 quads.
    for name, most_draws in [("camera2d_demo", 6), ("gui_demo", 20)]:
        with PageRun(pages, name) as page:
            page.wait_frames(5)
            calls = page.webgl_calls(10)
            draws = calls.get("drawElements", 0) + calls.get("drawArrays", 0)
            queries = sum(calls.get(query, 0) for query in ("getParameter", "isEnabled",
                                                             "getError"))
            check(0 < draws <= most_draws, "%s: %.1f WebGL draws a frame" % (name, draws))
            check(queries == 0, "%s: %.1f state queries a frame (%s)" % (name, queries, calls))
            print("%s: %.1f draws and %.1f WebGL calls a frame" % (name, draws,
                                                                   sum(calls.values())))


def DemoArrowKeyMovesTheMaps(pages, programs):
    with PageRun(pages, "camera2d_demo") as page:
        page.wait_frames(5)
        first = picture(page)
        page.wait_more_frames(5)
        second = picture(page)
        # The drift only moves the maps sideways.
        check(vertical_shift(first, second)[1] == 0, "the maps moved up or down by themselves")
        page.key("ARROW_UP")
        page.wait_more_frames(5)
        third = picture(page)
        shift = vertical_shift(second, third)
        check(abs(shift[1]) == 5, "Up moved the maps by %s instead of 5 pixels" % (shift,))


def DemoEscapeStopsTheLoop(pages, programs):
    with PageRun(pages, "camera2d_demo") as page:
        page.wait_log(LAST_LOAD_LINE + "\n")
        page.wait_frames(3)
        page.key("ESCAPE")
        page.wait_for(page.ended, 20.0, "the end of the frames")
        frames = page.frames()
        time.sleep(1.0)
        check(page.frames() == frames, "frames went on after Escape")
        # The desktop demo writes nothing more on the way out.
        check(page.log().endswith(LAST_LOAD_LINE + "\n"), "lines after Escape: " + page.log())


def GuiClicksDragsAndKeys(pages, programs):
    with PageRun(pages, "gui_demo") as page:
        page.wait_frames(3)
        tooltip = (100, 406, 520, 430)
        page.move(600, 450)
        page.wait_more_frames(3)
        without = len(white_points(picture(page), *tooltip))
        page.move(152, 186)
        page.wait_more_frames(3)
        with_tip = len(white_points(picture(page), *tooltip))
        check(with_tip > without + 100, "no tooltip over button 1 (%d, %d)" % (without, with_tip))
        expected = []

        def expect(*lines):
            expected.extend(lines)
            page.wait_log("\n".join(expected) + "\n", 20.0)

        page.click(152, 186)
        expect("Clicked: 1")
        page.click(151, 285)
        expect("Clicked: 10", "Toggle: on")
        page.move(250, 107)
        expect("Cursor: alternate")
        page.drag(250, 107, 350, 157)
        expect("Drag: started", "Drag: ended at (200, 150)")
        page.key("h")
        expect("Second window: hidden")
        page.key("h")
        expect("Second window: shown")
        page.click(911, 586)
        expect("Cursor: normal", "Clicked: 4", "Second window: hidden")


def compare_static_page(pages, programs, name, last_line, keys=(), pointer=(600, 450)):
    """The whole picture, but for the frame rate in the top-left corner, after the same keys
    and with the pointer at the same place."""
    def actions(run):
        run.xdotool("mousemove", str(pointer[0]), str(pointer[1]))
        for key in keys:
            run.xdotool("key", key[1])
        time.sleep(1.0)
        return run.picture()

    _, _, desktop = desktop_run(programs, name, last_line, actions)
    with PageRun(pages, name) as page:
        page.wait_frames(3)
        page.move(*pointer)
        for key in keys:
            page.key(key[0])
        page.wait_more_frames(5)
        shot = picture(page)
    points = [(x, y) for y in range(0, 768) for x in range(0, 1024) if y > 20 or x > 240]
    compare_where(desktop, shot, points, 16, name, 0.002)
    return desktop, shot


def GuiPictureAgreesWithTheDesktop(pages, programs):
    desktop, shot = compare_static_page(pages, programs, "gui_demo",
                                        "Loading Texture: Data/GUI/button3.png")
    # The sprite cursor, where its picture is opaque.
    compare_where(desktop, shot, opaque_points("Data/MousePointer.png", 600, 450), 12,
                  "the cursor")


def SceneProgramsMouseLookAndKeys(pages, programs):
    with PageRun(pages, "scene3d_demo") as page:
        check(not error_lines(page), "compile or link errors: %s" % error_lines(page))
        page.wait_frames(3)
        floor = (0, 480, 1024, 700)
        first = picture(page)
        page.wait_more_frames(2)
        still = picture(page)
        check(mean_difference(first, still, *floor) < 2, "the view moved by itself")
        # The first movement over the page only tells where the mouse is.
        page.move(512, 384)
        page.move(612, 384)
        page.wait_more_frames(3)
        turned = picture(page)
        check(mean_difference(still, turned, *floor) > 10, "the mouse did not turn the view")
        for key in "124567893":
            page.key(key)
        page.wait_log("".join("Shader: %s\n" % key for key in "3124567893"), 60.0)
        page.key("i", hold=1.0)
        page.wait_log("\nBall at (", 30.0)
        page.key("w", hold=0.5)
        page.wait_log("\nCamera at (", 30.0)
        check(not error_lines(page), "errors: %s" % error_lines(page))


def AudioKeysAndState(pages, programs):
    keys = [("SPACE", "space"), ("m", "m"), ("ARROW_DOWN", "Down")]
    compare_static_page(pages, programs, "audio_demo", "Loading Font: Data/Font/font.tga", keys)
    with PageRun(pages, "audio_demo") as page:
        page.key("SPACE")
        page.wait_log("Effect played\n")
        page.key("m")
        page.wait_log("Effect played\nMusic: playing\n")
        page.key("m")
        page.wait_log("Effect played\nMusic: playing\nMusic: stopped\n")
        check(page.script("return SDL.audioContext.state") == "running",
              "the browser's audio is not running")
        check(not error_lines(page), "errors: %s" % error_lines(page))


def ScaledLightAgreesWithTheDesktop(pages, programs):
    # A ball scaled differently along each axis and lit per pixel: where its light falls shows
    # whether the page's shaders turn its normals as OpenGL's normal matrix does.
    desktop, shot = compare_static_page(pages, programs, "scaled_light_demo",
                                        "Loading Font: Data/Font/font.tga")
    background = desktop.at(0, 767)
    ball = [(x, y) for y in range(0, 768, 2) for x in range(0, 1024, 2)
            if differs(desktop.at(x, y), background, 30)]
    check(len(ball) > 20000, "the ball is missing on the desktop")
    compare_where(desktop, shot, ball, 12, "the lit ball", 0.01)
    # The logo at half its size samples its first mip level, which the page holds back until
    # the program sets a mipmap filter.
    logo = [(x, y) for y in range(722, 750) for x in range(882, 1006)]
    check(sum(differs(desktop.at(*p), background, 30) for p in logo) > 400,
          "the logo is missing on the desktop")
    compare_where(desktop, shot, logo, 12, "the half-size logo", 0.01)


# ---- Pages that cannot run -------------------------------------------------------------------

class BrokenPage:
    """A copy of a built page, spoilt by spoil(folder, name) before it is served."""

    def __init__(self, pages, name, spoil, arguments=()):
        self.folder = tempfile.TemporaryDirectory()
        self.name = name
        page_dir = os.path.join(self.folder.name, name)
        shutil.copytree(os.path.join(pages, name), page_dir)
        spoil(page_dir, name)
        self.server = PageServer(page_dir)
        self.arguments = arguments

    def __enter__(self):
        self.server.__enter__()
        self.page = Page(self.server.url, self.arguments)
        return self.page

    def __exit__(self, *exc):
        self.page.close()
        self.server.__exit__(*exc)
        self.folder.cleanup()


def overwrite_packed(file, garbage):
    """Replaces the bytes of one packed file (a path from the repository root) in the data."""
    def spoil(page_dir, name):
        with open(os.path.join(page_dir, name + ".js")) as script:
            found = re.search(r'"filename":"/%s","start":(\d+),"end":(\d+)' % re.escape(file),
                              script.read())
        start, end = int(found.group(1)), int(found.group(2))
        with open(os.path.join(page_dir, name + ".data"), "r+b") as data:
            data.seek(start)
            data.write((garbage * (end - start))[:end - start])
    return spoil


def remove_data(page_dir, name):
    os.remove(os.path.join(page_dir, name + ".data"))


def truncate_data(page_dir, name):
    path = os.path.join(page_dir, name + ".data")
    os.truncate(path, os.path.getsize(path) // 2)


def StoppedPagesSayWhy(pages, programs):
    cases = [
        ("missing data", remove_data, (), "File not found"),
        ("truncated data", truncate_data, (), "camera2d_demo.data is truncated"),
        ("broken font", overwrite_packed("Data/Font/font.tga", b"\0"), (),
         "Error: the font Data/Font/font.tga could not be loaded"),
        ("no WebGL", lambda page_dir, name: None, ("--disable-3d-apis",), "no WebGL context")]
    for what, spoil, arguments, reason in cases:
        with BrokenPage(pages, "camera2d_demo", spoil, arguments) as page:
            page.wait_for(lambda: page.status().startswith("The program stopped: "), 30.0,
                          "%s: the page to say that it stopped" % what)
            check(reason in page.status(), "%s: status %r" % (what, page.status()))
            check(reason in page.log(), "%s: log %r" % (what, page.log()))


def AnUndecodablePictureIsOneLine(pages, programs):
    with BrokenPage(pages, "camera2d_demo", overwrite_packed("Data/MAP1.png", b"not a png ")) \
            as page:
        page.wait_frames(3)
        lines = [line for line in page.log().splitlines() if "MAP1.png" in line]
        check(len(lines) == 2 and lines[0] == "Loading Texture: Data/MAP1.png" and
              lines[1].startswith("Failed to load the image: Data/MAP1.png, Error: "),
              "lines about the picture: %r" % lines)
        check(not error_lines(page), "error lines: %r" % error_lines(page))
        check(page.status().startswith("Running"), "status: %r" % page.status())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case")
    parser.add_argument("--pages", required=True)
    parser.add_argument("--programs", required=True)
    arguments = parser.parse_args()
    case = globals().get(arguments.case)
    if case is None:
        sys.exit("No such case: " + arguments.case)
    try:
        case(arguments.pages, arguments.programs)
    except Failure as failure:
        print("FAILED: %s" % failure)
        sys.exit(1)
    print("passed")


if __name__ == "__main__":
    main()
