"""Headless Chromium on the CPU (SwiftShader's WebGL), driven over the
DevTools protocol: pages, real key and mouse events, console lines and
screenshots read back as pixels."""
import base64
import io
import json
import os
import re
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket
from PIL import Image

WIDTH, HEIGHT = 640, 480

# A clock of the test's own behind the game's (the engine reads
# Module.cindermillClock): it stands still but for the frames that the test
# lets run, each one `step` milliseconds.
STEPPED_CLOCK = """
window.__zibo = {frames: 0, ticks: 0, step: 0, budget: 0};
(function () {
  var z = window.__zibo, raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = function (callback) {
    return raf(function (t) {
      z.frames++;
      if (z.budget > 0) { z.ticks += z.step; z.budget--; }
      callback(t);
    });
  };
  Object.defineProperty(window, "Module", {configurable: true, set: function (m) {
    m.cindermillClock = function () { return z.ticks; };
    Object.defineProperty(window, "Module", {value: m, writable: true, configurable: true});
  }});
})();
"""

# DOM key codes, which the browser's SDL reads, and the names of the keys.
KEYS = {
    "Space": (32, " "), "Escape": (27, "Escape"), "KeyW": (87, "w"), "KeyP": (80, "p"),
    "KeyD": (68, "d"), "Enter": (13, "Enter"), "AltLeft": (18, "Alt"), "F12": (123, "F12"),
}


class Browser:
    def __init__(self, extra_flags=()):
        self.profile = tempfile.mkdtemp(prefix="zibo-chromium-")
        self.downloads = os.path.join(self.profile, "downloads")
        os.makedirs(self.downloads)
        flags = ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                 "--no-sandbox", "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--disable-extensions",
                 "--autoplay-policy=user-gesture-required", "--mute-audio",
                 # DevTools on a port of the loopback only, for a client that
                 # is no web page: no Origin to vouch for.
                 "--remote-debugging-port=0", "--remote-allow-origins=*",
                 "--user-data-dir=" + self.profile,
                 "--window-size=800,600", *extra_flags, "about:blank"]
        self.process = subprocess.Popen(["chromium", *flags], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE, text=True)
        port = self._wait_for_port()
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list") as answer:
            page = next(t for t in json.load(answer) if t["type"] == "page")
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60,
                                                  suppress_origin=True)
        self.next_id = 0
        self.console = []
        self.exceptions = []
        self.events = []
        for domain in ("Page", "Runtime"):
            self.send(domain + ".enable")
        self.send("Browser.setDownloadBehavior", behavior="allow", downloadPath=self.downloads)

    def _wait_for_port(self):
        # Chromium names its DevTools port on standard error as it starts.
        for line in self.process.stderr:
            found = re.search(r"DevTools listening on ws://127\.0\.0\.1:(\d+)/", line)
            if found:
                return int(found.group(1))
        raise RuntimeError("chromium ended before it opened its DevTools port")

    def close(self):
        self.socket.close()
        self.process.kill()
        self.process.wait()
        self.process.stderr.close()
        shutil.rmtree(self.profile, ignore_errors=True)

    def _take_event(self, message):
        if message.get("method") == "Runtime.consoleAPICalled":
            params = message["params"]
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            self.console.append((params["type"], text))
        elif message.get("method") == "Runtime.exceptionThrown":
            self.exceptions.append(message["params"]["exceptionDetails"])
        elif "method" in message:
            self.events.append(message)

    def send(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})
            self._take_event(message)

    def wait_for_event(self, method):
        while True:
            for message in self.events:
                if message["method"] == method:
                    self.events.remove(message)
                    return message["params"]
            self._take_event(json.loads(self.socket.recv()))

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, expression, seconds=60, what=None):
        """Polls the page until the expression is true; the waits are for
        events (a frame drawn, a file loaded), the limit only ends a hang."""
        end = time.monotonic() + seconds
        guarded = f"(function () {{ try {{ return !!({expression}); }} catch (e) {{ return false; }} }})()"
        while time.monotonic() < end:
            if self.evaluate(guarded):
                return
            time.sleep(0.05)
        raise AssertionError(f"timed out waiting for {what or expression}")

    def open(self, url, before_load=None, width=WIDTH, height=HEIGHT + 40):
        """Opens the page at a size that shows the picture at one pixel a pixel."""
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=False)
        if before_load:
            self.send("Page.addScriptToEvaluateOnNewDocument", source=before_load)
        self.send("Page.navigate", url=url)

    def wait_for_game(self):
        self.wait_for("window.Module && Module.calledRun === true", what="the game to start")

    # Real input, as the browser's own input pipeline delivers it.
    def key(self, code, down=True, modifiers=0):
        key_code, name = KEYS[code]
        self.send("Input.dispatchKeyEvent", type="keyDown" if down else "keyUp", code=code,
                  key=name, windowsVirtualKeyCode=key_code, nativeVirtualKeyCode=key_code,
                  modifiers=modifiers)

    def mouse(self, kind, x, y, button="none"):
        left, top = self.canvas_origin()
        self.send("Input.dispatchMouseEvent", type=kind, x=left + x, y=top + y, button=button,
                  buttons=1 if kind == "mousePressed" and button == "left" else 0,
                  clickCount=1 if button != "none" else 0)

    def canvas_origin(self):
        rect = self.evaluate("(function(){var r=document.getElementById('canvas')"
                             ".getBoundingClientRect(); return [r.left, r.top];})()")
        return rect[0], rect[1]

    def picture(self):
        """The canvas as the page shows it: rows of (r, g, b) tuples."""
        left, top = self.canvas_origin()
        shot = self.send("Page.captureScreenshot", format="png",
                         clip={"x": left, "y": top, "width": WIDTH, "height": HEIGHT, "scale": 1})
        return read_image(base64.b64decode(shot["data"]))

    def advance(self, frames, step=None, wait=True):
        """Lets the stepped clock run this many frames, and waits for them."""
        if step is not None:
            self.evaluate(f"window.__zibo.step = {step}")
        self.evaluate(f"window.__zibo.budget = {frames}")
        if not wait:
            return
        self.wait_for("window.__zibo.budget === 0", what=f"{frames} frames")
        # One more frame draws the picture of the clock where it stands.
        start = self.evaluate("window.__zibo.frames")
        self.wait_for(f"window.__zibo.frames > {start + 1}", what="a frame drawn")


def read_image(source):
    """A PNG's bytes or an image file's path, as rows of (r, g, b) tuples."""
    image = Image.open(io.BytesIO(source) if isinstance(source, bytes) else source)
    pixels = list(image.convert("RGB").getdata())
    return [pixels[y * image.width:(y + 1) * image.width] for y in range(image.height)]
