#!/usr/bin/python3
"""Serves a page of the engine's browser build and drives it in headless Chromium.

scripts/web.sh and the web tests (tests/web/) use it. It needs Debian's chromium,
chromium-driver and python3-selenium, so run it with /usr/bin/python3:

  tools/web_page.py serve build-web/NAME [--port N]
      serves the page on 127.0.0.1 until interrupted
  tools/web_page.py shot build-web/NAME OUT.png [--seconds S] [--whole-page]
      opens the page in headless Chromium, saves the canvas (or the whole page with its log)
      after S seconds of frames
"""

import argparse
import functools
import http.server
import os
import subprocess
import sys
import threading
import time

CHROMIUM_ARGUMENTS = [
    "--headless=new",
    "--no-sandbox",
    # Software WebGL: the machine has no GPU.
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    "--window-size=1100,1300",
    "--force-device-scale-factor=1",
    # Sound may start without a click first, as it does on the desktop.
    "--autoplay-policy=no-user-gesture-required",
]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript",
                             ".data": "application/octet-stream"})

    def log_message(self, *args):
        pass


class PageServer:
    """Serves one folder on 127.0.0.1 from a thread; port 0 takes a free one."""

    def __init__(self, folder, port=0):
        handler = functools.partial(QuietHandler, directory=os.path.abspath(folder))
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()


# Wraps every method of the page's WebGL context so that each call is counted by name.
COUNT_WEBGL_CALLS = """
var context = document.getElementById("canvas").getContext("webgl");
window.webglCalls = {};
var methods = Object.getPrototypeOf(context);
Object.getOwnPropertyNames(methods).forEach(function(name) {
    var method = Object.getOwnPropertyDescriptor(methods, name).value;
    if (typeof method !== "function" || context.hasOwnProperty(name)) return;
    context[name] = function() {
        window.webglCalls[name] = (window.webglCalls[name] || 0) + 1;
        return method.apply(context, arguments);
    };
});
"""


class Page:
    """One page in headless Chromium: its log, title and frame count, the canvas as a
    picture, and keys and mouse sent to the canvas."""

    def __init__(self, url, arguments=()):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service

        options = webdriver.ChromeOptions()
        for argument in CHROMIUM_ARGUMENTS + list(arguments):
            options.add_argument(argument)
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.get(url)
        self.canvas = self.driver.find_element("id", "canvas")

    def close(self):
        self.driver.quit()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def script(self, code):
        return self.driver.execute_script(code)

    def frames(self):
        return self.script("return Module.frameCount || 0") or 0

    def wait_for(self, condition, timeout=30.0, what="the page"):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if condition():
                return
            time.sleep(0.05)
        raise TimeoutError("Timed out waiting for %s; its log:\n%s" % (what, self.log()))

    def wait_frames(self, count, timeout=60.0):
        """Waits until the program has drawn at least count frames since it started."""
        self.wait_for(lambda: self.frames() >= count, timeout, "frame %d" % count)

    def wait_more_frames(self, count, timeout=30.0):
        start = self.frames()
        self.wait_frames(start + count, timeout)

    def webgl_calls(self, frames):
        """The WebGL calls of the next frames, by method name, per frame."""
        self.script(COUNT_WEBGL_CALLS)
        self.wait_more_frames(2)
        start = self.script("window.webglCalls = {}; return Module.frameCount;")
        self.wait_more_frames(frames)
        calls, end = self.script("return [window.webglCalls, Module.frameCount];")
        return {name: count / (end - start) for name, count in calls.items()}

    def webgl_warnings(self):
        """What the browser's console said of WebGL so far: every error a WebGL call set, up to
        the browser's limit per page."""
        return [entry["message"] for entry in self.driver.get_log("browser")
                if "WebGL" in entry["message"]]

    def log(self):
        """The page's log area: the program's standard output and error, in order."""
        return self.script("return document.getElementById('log').textContent")

    def wait_log(self, text, timeout=30.0):
        self.wait_for(lambda: text in self.log(), timeout, repr(text))

    def title(self):
        return self.driver.title

    def status(self):
        return self.script("return document.getElementById('status').textContent")

    def ended(self):
        return self.script("return document.getElementById('status').textContent") == \
            "The program has ended."

    def canvas_png(self, path=None):
        """The canvas as PNG bytes (saved to path as well when given). The program's frames
        pause meanwhile: software WebGL may lag seconds behind a heavy scene, and the picture
        is only taken once it has caught up."""
        self.script("Module.pauseMainLoop();"
                    "GLctx.readPixels(0, 0, 1, 1, GLctx.RGBA, GLctx.UNSIGNED_BYTE,"
                    "                 new Uint8Array(4));")
        try:
            data = self.canvas.screenshot_as_png
        finally:
            self.script("Module.resumeMainLoop();")
        if path:
            with open(path, "wb") as out:
                out.write(data)
        return data

    def _actions(self):
        from selenium.webdriver.common.action_chains import ActionChains
        return ActionChains(self.driver)

    def key(self, name, hold=0.0):
        """Presses a key (a selenium Keys name such as ARROW_UP, or a character) with the
        canvas focused, holding it down for hold seconds."""
        from selenium.webdriver.common.keys import Keys
        key = getattr(Keys, name) if len(name) > 1 else name
        self.script("document.getElementById('canvas').focus()")
        actions = self._actions().key_down(key)
        if hold > 0:
            actions = actions.pause(hold)
        actions.key_up(key).perform()

    def move(self, x, y):
        """Puts the mouse at canvas pixel (x, y)."""
        actions = self._actions()
        left, top = self._canvas_origin()
        actions.w3c_actions.pointer_action.move_to_location(left + x, top + y)
        actions.perform()

    def click(self, x, y):
        """A press and release at canvas pixel (x, y): a drag that goes nowhere."""
        self.drag(x, y, x, y, steps=0)

    def drag(self, x0, y0, x1, y1, steps=8):
        actions = self._actions()
        left, top = self._canvas_origin()
        pointer = actions.w3c_actions.pointer_action
        pointer.move_to_location(left + x0, top + y0)
        pointer.pointer_down()
        pointer.pause(0.2)
        for step in range(1, steps + 1):
            pointer.move_to_location(left + x0 + (x1 - x0) * step // steps,
                                     top + y0 + (y1 - y0) * step // steps)
            pointer.pause(0.05)
        pointer.pause(0.2)
        pointer.pointer_up()
        actions.perform()

    def _canvas_origin(self):
        rect = self.script("var r = document.getElementById('canvas').getBoundingClientRect();"
                           "return [Math.round(r.left), Math.round(r.top)];")
        return rect[0], rect[1]


def serve(folder, port):
    with PageServer(folder, port) as server:
        print("Serving %s at %s (Ctrl-C stops)" % (folder, server.url), flush=True)
        try:
            while True:
                time.sleep(3600)
        except KeyboardInterrupt:
            pass


def shot(folder, out, seconds, whole_page):
    with PageServer(folder) as server:
        print("Serving %s at %s" % (folder, server.url), flush=True)
        with Page(server.url) as page:
            page.wait_frames(1)
            time.sleep(seconds)
            if whole_page:
                # The page's own size: the canvas, the status line and the log below it.
                width, height = page.script(
                    "var c = document.getElementById('canvas').getBoundingClientRect();"
                    "var l = document.getElementById('log').getBoundingClientRect();"
                    "return [Math.ceil(c.right) + 12, Math.ceil(l.bottom) + 12];")
                page.driver.save_screenshot(out)
                subprocess.run(["convert", out, "-crop", "%dx%d+0+0" % (width, height),
                                "+repage", out], check=True)
            else:
                page.canvas_png(out)
            print("Frames drawn: %d; page title: %s" % (page.frames(), page.title()))
    print("Screenshot: %s" % out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    serve_parser = commands.add_parser("serve")
    serve_parser.add_argument("folder")
    serve_parser.add_argument("--port", type=int, default=8000)
    shot_parser = commands.add_parser("shot")
    shot_parser.add_argument("folder")
    shot_parser.add_argument("out")
    shot_parser.add_argument("--seconds", type=float, default=3.0)
    shot_parser.add_argument("--whole-page", action="store_true")
    arguments = parser.parse_args()
    if not os.path.isfile(os.path.join(arguments.folder, "index.html")):
        sys.exit("No page in %s: build it first (scripts/web.sh)." % arguments.folder)
    if arguments.command == "serve":
        serve(arguments.folder, arguments.port)
    else:
        shot(arguments.folder, arguments.out, arguments.seconds, arguments.whole_page)


if __name__ == "__main__":
    main()
