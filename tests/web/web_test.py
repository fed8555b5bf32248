"""ZIBO's browser version, played in headless Chromium from a local server:
the title and a round's start as the desktop draws them, a round by keyboard
and mouse and by a pad, the pause of a hidden page, the sounds, the end of
the credits, and the pages that say why the game cannot start."""
import argparse
import functools
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from browser import HEIGHT, STEPPED_CLOCK, WIDTH, Browser, read_image

FRAME_MS = 33
FADE_FRAMES = 70  # a fade lasts two seconds
OPTIONS = None
SITE = None

# A pad of the test's own behind the Gamepad API, in its standard layout.
STAND_IN_PAD = """
window.__pad = {id: "stand-in", index: 0, connected: true, mapping: "standard", timestamp: 1,
  axes: [0, 0, 0, 0], buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
navigator.getGamepads = function () { return [window.__pad, null, null, null]; };
"""


def press_pad(button, down):
    return (f"window.__pad.buttons[{button}] = {{pressed: {str(down).lower()}, "
            f"value: {1 if down else 0}}}; window.__pad.timestamp++")


def difference(a, b, box):
    """Share of the box's pixels that differ clearly between two pictures."""
    left, top, right, bottom = box
    changed = sum(1 for y in range(top, bottom) for x in range(left, right)
                  if max(abs(p - q) for p, q in zip(a[y][x], b[y][x])) > 40)
    return changed / ((right - left) * (bottom - top))


def red_share(picture, box):
    """Share of the box's pixels that are the health bar's red."""
    left, top, right, bottom = box
    red = sum(1 for y in range(top, bottom) for x in range(left, right)
              if picture[y][x][0] > 150 and picture[y][x][1] < 110)
    return red / ((right - left) * (bottom - top))


def brightness(picture, box):
    left, top, right, bottom = box
    return sum(sum(picture[y][x]) for y in range(top, bottom) for x in range(left, right)) / (
        3 * (right - left) * (bottom - top))


FULL = (0, 0, WIDTH, HEIGHT)
# The round's "Body Count" and "Time" along the bottom.
TEXT_BAND = (0, 455, WIDTH, HEIGHT)


def crop(picture, box):
    left, top, right, bottom = box
    return [row[left:right] for row in picture[top:bottom]]


def far_apart(a, b):
    """Share of pixels whose channels differ by more than a renderer's rounding."""
    far = sum(1 for ra, rb in zip(a, b) for pa, pb in zip(ra, rb)
              if max(abs(p - q) for p, q in zip(pa, pb)) > 24)
    return far / (len(a) * len(a[0]))


def game_lines(console, kind):
    # Emscripten's own notes on its OpenGL emulation and audio loading go to
    # the console's verbose level; the rest is the game's.
    return [text for level, text in console if level == kind]


class Site:
    """build-web/ served on a free port of 127.0.0.1."""

    def __init__(self, directory):
        handler = functools.partial(QuietHandler, directory=directory)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/"


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class WebTest(unittest.TestCase):
    def setUp(self):
        self.browser = Browser()

    def tearDown(self):
        self.browser.close()

    def start(self, before_load=STEPPED_CLOCK):
        self.browser.open(SITE.url, before_load)
        self.browser.wait_for_game()

    def begin_round(self):
        self.browser.key("Space")
        self.browser.advance(FADE_FRAMES, FRAME_MS)
        self.browser.key("Space", down=False)

    def test_the_title_and_a_round_as_the_desktop_draws_them_with_its_log(self):
        frames = 30
        with tempfile.TemporaryDirectory() as work:
            for folder in ("sprites", "sfx"):
                os.symlink(os.path.join(OPTIONS.build, folder), os.path.join(work, folder))
            desktop = subprocess.run(
                [OPTIONS.reference, str(frames), str(FADE_FRAMES), str(FRAME_MS), work], cwd=work,
                capture_output=True, text=True, timeout=60,
                env=dict(os.environ, SDL_AUDIODRIVER="dummy"))
            self.assertEqual(desktop.returncode, 0, desktop.stderr)
            references = {moment: [read_image(os.path.join(work, f"{moment}-{n}.bmp"))
                                   for n in range(3)] for moment in ("title", "round")}
        self.start()
        self.browser.advance(frames, FRAME_MS)
        shown = {"title": self.browser.picture()}
        self.begin_round()
        shown["round"] = self.browser.picture()
        # The round's share is smaller: its sprites and text are small, and
        # one missing or shifted shows as a few hundred pixels.
        limits = {"title": (FULL, 0.01), "round": (FULL, 0.002), "round text": (TEXT_BAND, 0.01)}
        for moment, (box, limit) in limits.items():
            picture = crop(shown[moment.split()[0]], box)
            gaps = sorted(far_apart(picture, crop(reference, box))
                          for reference in references[moment.split()[0]])
            # One floor is the browser's; the others differ in most pixels.
            self.assertLess(gaps[0], limit, (moment, gaps))
            self.assertGreater(gaps[1], 0.05, (moment, gaps))
        # The desktop's reference ends its game, which the page goes on with.
        started = desktop.stdout.split("INFO) Emptying bitmap font")[0]
        self.assertEqual(game_lines(self.browser.console, "log"), started.splitlines())
        # SDL's reason for a missing file is its own in each.
        cut = lambda lines: [line.split("... ")[0] for line in lines]
        self.assertEqual(cut(game_lines(self.browser.console, "error")),
                         cut(desktop.stderr.splitlines()))

    def test_a_round_walked_aimed_fired_ended_and_played_again(self):
        browser = self.browser
        self.start()
        self.assertEqual(browser.evaluate("Module.canvas.style.cursor"), "")
        self.begin_round()
        start = browser.picture()
        self.assertEqual(browser.evaluate("Module.canvas.style.cursor"), "crosshair")
        browser.key("KeyW")
        browser.advance(30)
        browser.key("KeyW", down=False)
        walked = browser.picture()
        # 30 frames of 33 ms at 100 pixels a second: 99 pixels up.
        self.assertGreater(difference(start, walked, (308, 228, 332, 252)), 0.1)
        self.assertGreater(difference(start, walked, (308, 129, 332, 153)), 0.1)
        self.assertLess(difference(start, walked, (300, 300, 340, 340)), 0.05)

        browser.mouse("mouseMoved", 540, 141)
        browser.advance(1)
        aimed = browser.picture()
        browser.mouse("mousePressed", 540, 141, "left")
        browser.mouse("mouseReleased", 540, 141, "left")
        browser.advance(3)
        fired = browser.picture()
        # The bullet, some 40 pixels out along the aim; nothing else there moves.
        self.assertGreater(difference(aimed, fired, (340, 131, 420, 151)), 0.005)
        self.assertEqual(difference(aimed, fired, (340, 171, 420, 191)), 0)

        browser.key("Escape")
        browser.advance(1)
        browser.key("Escape", down=False)
        browser.advance(FADE_FRAMES)
        statistics = browser.picture()
        self.assertEqual(browser.evaluate("Module.canvas.style.cursor"), "")
        # The HUD's full health bar: gone from the statistics screen, full
        # again in the next round (which may lie on another floor).
        bar = (36, 24, 130, 32)
        self.assertGreater(red_share(start, bar), 0.9)
        self.assertLess(red_share(statistics, bar), 0.5)
        self.begin_round()
        self.assertGreater(red_share(browser.picture(), bar), 0.9)

    def test_fullscreen_and_the_picture_of_f12(self):
        browser = self.browser
        self.start()
        browser.advance(5, FRAME_MS)
        browser.key("AltLeft", modifiers=1)
        browser.key("Enter", modifiers=1)
        browser.advance(2)
        browser.key("Enter", down=False, modifiers=1)
        browser.key("AltLeft", down=False)
        browser.wait_for("document.fullscreenElement && document.fullscreenElement.id === 'stage'",
                         seconds=10, what="the stage to fill the screen")
        browser.evaluate("document.exitFullscreen()")
        browser.wait_for("!document.fullscreenElement", seconds=10)
        browser.advance(2)
        shown = browser.picture()
        browser.key("F12")
        browser.advance(3)
        browser.key("F12", down=False)
        path = os.path.join(browser.downloads, "screenshot.png")
        end = time.monotonic() + 20
        while not os.path.exists(path) and time.monotonic() < end:
            time.sleep(0.1)
        # One download however long the key was held.
        self.assertEqual(os.listdir(browser.downloads), ["screenshot.png"])
        self.assertLess(far_apart(read_image(path), shown), 0.01)

    def test_a_hidden_page_pauses_the_round_and_a_key_plays_on(self):
        browser = self.browser
        self.start()
        self.begin_round()
        playing = browser.picture()
        other = browser.send("Target.createTarget", url="about:blank", newWindow=False)
        browser.wait_for("document.hidden", seconds=10, what="the page to be hidden")
        browser.send("Target.closeTarget", targetId=other["targetId"])
        browser.wait_for("!document.hidden", seconds=10, what="the page to show again")
        browser.advance(2)
        paused = browser.picture()
        self.assertLess(brightness(paused, (0, 300, 640, 420)),
                        0.7 * brightness(playing, (0, 300, 640, 420)))
        self.assertEqual(browser.evaluate("Module.canvas.style.cursor"), "")
        browser.key("KeyD")
        browser.key("KeyD", down=False)
        browser.advance(2)
        going = browser.picture()
        self.assertGreater(brightness(going, (0, 300, 640, 420)),
                           0.9 * brightness(playing, (0, 300, 640, 420)))

    def test_a_pad_begins_walks_and_fires(self):
        browser = self.browser
        self.start(STEPPED_CLOCK + STAND_IN_PAD)
        # The title screen looks for a pad once a second.
        browser.advance(40, FRAME_MS)
        browser.evaluate(press_pad(0, True))
        browser.advance(FADE_FRAMES)
        browser.evaluate(press_pad(0, False))
        start = browser.picture()
        browser.evaluate("window.__pad.axes[1] = -1; window.__pad.timestamp++")
        browser.advance(30)
        browser.evaluate("window.__pad.axes[1] = 0; window.__pad.timestamp++")
        walked = browser.picture()
        self.assertGreater(difference(start, walked, (308, 129, 332, 153)), 0.1)
        browser.evaluate("window.__pad.axes[2] = 1; window.__pad.timestamp++")
        browser.advance(1)
        aimed = browser.picture()
        browser.evaluate(press_pad(7, True))
        browser.advance(3)
        fired = browser.picture()
        self.assertGreater(difference(aimed, fired, (340, 131, 420, 151)), 0.005)
        self.assertEqual(difference(aimed, fired, (340, 171, 420, 191)), 0)

    def test_every_sound_decodes(self):
        self.start()
        decoded = self.browser.evaluate("""(async () => {
            const context = new OfflineAudioContext(2, 44100, 44100);
            const lengths = {};
            for (const name of FS.readdir('/sfx').filter(n => n[0] !== '.')) {
                const bytes = FS.readFile('/sfx/' + name);
                try {
                    lengths[name] = (await context.decodeAudioData(bytes.slice().buffer)).duration;
                } catch (e) { lengths[name] = -1; }
            }
            return lengths;
        })()""")
        self.assertEqual(len(decoded), 13, decoded)
        self.assertTrue(all(seconds > 0 for seconds in decoded.values()), decoded)
        self.assertGreater(decoded["0.ogg"], 50)

    def test_the_end_of_the_credits_says_so(self):
        browser = self.browser
        self.start()
        browser.key("Escape")
        # The program's last frame ends the frames.
        browser.advance(FADE_FRAMES + 2, FRAME_MS, wait=False)
        browser.wait_for("!document.getElementById('notice').hidden", seconds=10)
        self.assertIn("Thanks for playing", browser.evaluate(
            "document.getElementById('message').textContent"))
        self.assertFalse(browser.evaluate("document.getElementById('again').hidden"))

    def test_a_page_that_cannot_load_its_data_says_so(self):
        browser = self.browser
        browser.send("Fetch.enable", patterns=[{"urlPattern": "*zibo.data"}])
        browser.open(SITE.url)
        paused = browser.wait_for_event("Fetch.requestPaused")
        browser.send("Fetch.failRequest", requestId=paused["requestId"], errorReason="Failed")
        browser.wait_for("document.getElementById('message').textContent.includes('could not be"
                         " loaded')", seconds=20, what="the data's message")


class NoWebGlTest(unittest.TestCase):
    def test_a_page_without_webgl_says_so(self):
        browser = Browser(["--disable-webgl"])
        try:
            browser.open(SITE.url)
            browser.wait_for("document.getElementById('message').textContent.includes('WebGL')",
                             seconds=20, what="the WebGL message")
            self.assertFalse(browser.evaluate("document.getElementById('notice').hidden"))
            self.assertIsNone(browser.evaluate("window.Module"))
        finally:
            browser.close()


def main():
    global OPTIONS, SITE
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--reference", required=True)
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.reference = os.path.abspath(OPTIONS.reference)
    OPTIONS.build = os.path.abspath(OPTIONS.build)
    if not os.path.exists(os.path.join(OPTIONS.site, "zibo.data")):
        print(f"web: {OPTIONS.site} holds no browser build (bash scripts/web.sh)", file=sys.stderr)
        return 1
    SITE = Site(OPTIONS.site)
    result = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
