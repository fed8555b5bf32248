"""The browser version against the desktop, side by side in one run on this
machine, both on software renderers (SwiftShader's WebGL, Mesa's llvmpipe):
processor time per frame of the late and extreme rounds, the time from
opening the page to its first picture, and the download's size. Writes the
figures into docs/bench/results.md under "In a browser".

  python3 bench/web_bench.py    (from scripts/web-bench.sh, under Xvfb)"""
import os
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
from browser import Browser  # noqa: E402
from web_test import Site  # noqa: E402

SCENES = ("late", "extreme")
TICKS = os.sysconf("SC_CLK_TCK")
WARM_UP_FRAMES = 10
MEASURED_FRAMES = 60
FIRST_FRAME = """
(function () {
  var raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = function (callback) {
    return raf(function (t) {
      if (window.__firstPicture === undefined && window.Module && Module.calledRun) {
        window.__firstPicture = performance.now();
      }
      callback(t);
    });
  };
})();
"""


def processor_seconds(root_pid):
    """User and system time of a process and all its descendants."""
    parents, times = {}, {}
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open(f"/proc/{name}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        parents[int(name)] = int(fields[1])
        times[int(name)] = (int(fields[11]) + int(fields[12])) / TICKS

    def within(pid):
        while pid in parents:
            if pid == root_pid:
                return True
            pid = parents[pid]
        return False

    return sum(t for pid, t in times.items() if within(pid))


def browser_frames(site):
    browser = Browser()
    try:
        browser.open(site.url + "bench.html")
        figures = {}
        for scene in SCENES:
            # The first frames of a scene start its sounds and warm the
            # caches; the measured ones come after them, counted, not timed.
            browser.wait_for(f"Module.benchScene === '{scene}' && Module.benchFrames >= "
                             f"{WARM_UP_FRAMES}", seconds=300, what=scene)
            frames, cpu = browser.evaluate("Module.benchFrames"), processor_seconds(
                browser.process.pid)
            browser.wait_for(f"Module.benchFrames >= {frames + MEASURED_FRAMES}", seconds=600,
                             what=f"{MEASURED_FRAMES} frames of {scene}")
            frames_after = browser.evaluate("Module.benchFrames")
            cpu_after = processor_seconds(browser.process.pid)
            figures[scene] = 1000 * (cpu_after - cpu) / (frames_after - frames)
        return figures
    finally:
        browser.close()


def first_picture(site):
    times = []
    for _ in range(5):
        browser = Browser()
        try:
            browser.open(site.url, FIRST_FRAME)
            browser.wait_for("window.__firstPicture !== undefined", seconds=60)
            times.append(browser.evaluate("window.__firstPicture"))
        finally:
            browser.close()
    return sorted(times)[len(times) // 2]


def desktop_frames():
    out = subprocess.run([os.path.join(ROOT, "build", "bench", "zibo-paced-bench")],
                         cwd=os.path.join(ROOT, "build"), capture_output=True, text=True,
                         check=True).stdout
    return {m.group(1): float(m.group(2)) for m in re.finditer(r"(\w+) ([\d.]+) ms", out)}


def main():
    web = os.path.join(ROOT, "build-web")
    download = sum(os.path.getsize(os.path.join(web, f))
                   for f in ("zibo.js", "zibo.wasm", "zibo.data"))
    desktop = desktop_frames()
    browser = browser_frames(Site(os.path.join(web, "cmake")))
    first = first_picture(Site(web))
    load = os.getloadavg()
    rows = [f"| {scene} round: processor time per frame | {browser[scene]:.2f} ms | "
            f"{desktop[scene]:.2f} ms | {browser[scene] / desktop[scene]:.2f} | at most 1.5: "
            f"{'met' if browser[scene] <= 1.5 * desktop[scene] else 'NOT met'} |"
            for scene in SCENES]
    section = "\n".join([
        "## In a browser", "",
        f"Measured {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())} by "
        "`bash scripts/web-bench.sh`, side by side in one run: headless Chromium on "
        "SwiftShader against the desktop on llvmpipe under Xvfb, the same scenes "
        "(`bench/PacedBench.cpp`); the browser's figure is the processor time of all "
        f"its processes. Load average {load[0]:.2f} {load[1]:.2f} {load[2]:.2f} after.", "",
        "| Measurement | Browser | Desktop | Ratio | Target |", "| --- | --- | --- | --- | --- |",
        *rows,
        f"| First picture after opening the page, median of 5 | {first:.0f} ms | - | - | "
        f"at most 3000 ms: {'met' if first <= 3000 else 'NOT met'} |",
        f"| Download: zibo.js + zibo.wasm + zibo.data | {download / 1e6:.2f} MB | - | - | "
        f"at most 5 MB: {'met' if download <= 5e6 else 'NOT met'} |", ""])
    print(section)
    results = os.path.join(ROOT, "docs", "bench", "results.md")
    with open(results, encoding="utf-8") as f:
        text = f.read().split("## In a browser")[0].rstrip("\n")
    with open(results, "w", encoding="utf-8") as f:
        f.write(text + "\n\n" + section)


if __name__ == "__main__":
    main()
