#!/usr/bin/env python3
# The browser build in headless Chromium: a session recorded on the desktop (headless twin) and
# timed there under Xvfb is replayed in the page to the same digest on every frame, with pictures
# compared; live play (start, keys the page must not act on, pointer lock, music, Escape, the
# end and the recorded demo); damaged, missing and foreign demo URLs; a lost context; no WebGL.
# Prints the figures. Usage: browser_test.py NATIVE_BUILD SITE_FOLDER
import functools
import http.server
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

from cdp import Browser

BUILD, SITE = map(os.path.abspath, sys.argv[1:3])
WORK = tempfile.mkdtemp(prefix="hw-web-test-")
# A pixel matches the desktop's when no channel differs by more than TOLERANCE; a picture matches
# when at least MATCHING of its pixels do (the two rasterisers round edges and lighting apart).
TOLERANCE, MATCHING = 48, 0.97


def fail(text):
    print("FAIL: " + text, file=sys.stderr)
    sys.exit(1)


def png_rgb(data):
    """Width, height and RGB bytes of an 8-bit, non-interlaced PNG (the browser's screenshots)."""
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, _, colour = struct.unpack(">IIBB", body[:10])
            n = {2: 3, 6: 4}[colour]
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, out, prev = zlib.decompress(idat), width * n, bytearray(), bytearray(width * n)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a, b, c = (line[i - n] if i >= n else 0), prev[i], (prev[i - n] if i >= n else 0)
            pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
            line[i] = (line[i] + (0, a, b, (a + b) // 2,
                                  a if pa <= pb and pa <= pc else b if pb <= pc else c)[kind]) & 255
        out += line if n == 3 else bytes(v for i, v in enumerate(line) if i % 4 < 3)
        prev = line
    return width, height, bytes(out)


def compare(name, shot, reference):
    w, h, rgb = png_rgb(shot)
    ref = open(reference, "rb").read()[-640 * 480 * 3:]
    if (w, h) != (640, 480):
        fail(f"{name}: the page's picture is {w}x{h}")
    close = sum(1 for i in range(0, len(rgb), 3)
                if max(abs(rgb[i] - ref[i]), abs(rgb[i + 1] - ref[i + 1]), abs(rgb[i + 2] - ref[i + 2])) <= TOLERANCE)
    mean = sum(abs(a - b) for a, b in zip(rgb, ref)) / len(ref)
    print(f"picture {name}: {100.0 * close / (w * h):.2f}% of pixels within {TOLERANCE}, mean channel difference {mean:.2f}")
    if close < MATCHING * w * h:
        open(os.path.join(WORK, name + ".png"), "wb").write(shot)
        fail(f"{name}: the page's picture differs from the desktop's (kept in {WORK})")


def serve(folder):
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(Quiet, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{server.server_address[1]}/"


def desktop_half():
    """Records the session headless, then times it with the desktop game under Xvfb."""
    subprocess.run([os.path.join(BUILD, "tests/web/hw_web_session"), WORK], cwd=os.path.join(BUILD, "data"),
                   check=True, stderr=subprocess.DEVNULL)
    frames = dict(line.split() for line in open(os.path.join(WORK, "frames.txt")))
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "640x480x24", "-nolisten", "tcp"],
                            pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    display = os.read(read, 64).decode().strip()
    env = dict(os.environ, DISPLAY=":" + display, SDL_AUDIODRIVER="dummy",
               HOOPWIND_DIGEST=os.path.join(WORK, "xvfb.digest"))
    try:
        line = subprocess.run([os.path.join(BUILD, "hoopwind"), "--windowed", "--timedemo",
                               os.path.join(WORK, "session.hwd")], cwd=os.path.join(BUILD, "data"), env=env,
                              check=True, capture_output=True, text=True, timeout=300).stdout.strip()
    finally:
        xvfb.kill()
        xvfb.wait()
    if open(os.path.join(WORK, "xvfb.digest")).read() != open(os.path.join(WORK, "record.digest")).read():
        fail("the desktop replay under Xvfb differs from the recording")
    return frames, line


class Page:
    def __init__(self, url, extra=()):
        self.browser = Browser(extra)
        self.browser.call("Emulation.setDeviceMetricsOverride", width=664, height=600, deviceScaleFactor=1,
                          mobile=False)
        self.started = time.time()
        self.browser.call("Page.navigate", url=url)

    def __getattr__(self, name):
        return getattr(self.browser, name)

    def state(self, wanted, timeout=60):
        return self.wait(f"['{wanted}'].includes(document.body && document.body.dataset.state)", timeout,
                         f"the page's state {wanted}")

    def play(self):
        self.state("ready")
        r = self.js("(() => { const r = document.getElementById('play').getBoundingClientRect();"
                    " return [r.x + r.width / 2, r.y + r.height / 2]; })()")
        self.click(*r)

    def canvas(self):
        r = self.js("(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
                    " return {x: r.x, y: r.y, width: r.width, height: r.height}; })()")
        return self.screenshot(r)

    def errors(self):
        return [text for kind, text in self.console if kind in ("error", "exception", "assert")]


def count(shot, test, box=(0, 0, 640, 480)):
    w, _, rgb = png_rgb(shot)
    return sum(1 for y in range(box[1], box[3]) for x in range(box[0], box[2])
               if test(*rgb[(y * w + x) * 3:(y * w + x) * 3 + 3]))


def yellow(r, g, b):
    return r > 153 and g > 153 and b < 77


def red(r, g, b):
    return r > 200 and g < 80 and b < 80


def wait_picture(page, test, least, box=(0, 0, 640, 480), what="", timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if count(page.canvas(), test, box) >= least:
            return
        time.sleep(0.1)
    fail(f"no {what} on the page within {timeout} s")


def live_play(url):
    """The page as a player meets it: load, click, choose a team, fly, quit twice over."""
    page = Page(url + "?record")
    try:
        page.play()
        wait_picture(page, yellow, 600, what="selection screen")
        to_select = time.time() - page.started
        if page.errors():
            fail(f"console errors on loading: {page.errors()}")
        # Game keys are the game's, not the page's (Tab, F1, Page Down, arrows); others and Ctrl
        # combinations stay the browser's.
        for code, key, ctrl, taken in [("Tab", "Tab", False, True), ("F1", "F1", False, True),
                                       ("PageDown", "PageDown", False, True), ("ArrowDown", "ArrowDown", False, True),
                                       ("Numpad8", "8", False, True), ("KeyS", "s", True, False),
                                       ("Space", " ", False, False), ("F5", "F5", False, False)]:
            prevented = page.js(f"(() => {{ const o = {{code: '{code}', key: '{key}', ctrlKey: {str(ctrl).lower()},"
                                " cancelable: true, bubbles: true}; const e = new KeyboardEvent('keydown', o);"
                                " window.dispatchEvent(e); window.dispatchEvent(new KeyboardEvent('keyup', o));"
                                " return e.defaultPrevented; })()")
            if prevented != taken:
                fail(f"{code}{' with Ctrl' if ctrl else ''}: default prevented is {prevented}")
        if page.js("document.getElementById('canvas').dataset.pointer") == "locked":
            fail("the pointer is locked on the selection screen")
        music = "(() => { const a = document.getElementById('music'); return [!a.paused, a.currentTime, a.src]; })()"
        playing, position, src = page.js(music)
        if not (playing and src.startswith("blob:")):
            fail(f"no music after the click: playing {playing}, source {src!r}")
        page.key("Digit1", "1", 49)  # a tap: down and up between two frames
        wait_picture(page, red, 250, (10, 8, 310, 38), "head-up text of play")
        # Headless Chromium grants the lock after the key press (a user activation), as a desktop
        # browser does; the page's own mark must agree with the browser's.
        page.wait("document.getElementById('canvas').dataset.pointer === 'locked' &&"
                  " document.pointerLockElement === document.getElementById('canvas')", 5, "the pointer locked in play")
        if page.js(music)[1] <= position:
            fail("the music does not advance")
        page.mouse("mouseMoved", 400, 300)
        page.mouse("mouseMoved", 440, 320)
        page.js("window.dispatchEvent(new FocusEvent('blur'))")
        page.wait("document.pointerLockElement === null", 5, "the pointer freed by a blur")
        page.js("window.dispatchEvent(new FocusEvent('focus'))")
        if page.js("document.body.dataset.state") != "playing":
            fail("losing the focus ended the game")
        page.wait("document.pointerLockElement !== null", 5, "the lock again once the focus is back")
        page.key("Escape", "Escape", 27)
        page.wait("document.pointerLockElement === null", 5, "the first Escape freeing the pointer")
        time.sleep(0.3)
        if page.js("document.body.dataset.state") != "playing":
            fail("the first Escape with the pointer locked quit the game")
        page.key("Escape", "Escape", 27)
        page.state("ended", 10)
        text = page.js("document.getElementById('messagetext').textContent")
        again = page.js("!document.getElementById('again').hidden && document.getElementById('again').textContent")
        demo = page.js("Array.from(Module.FS.readFile('/session.hwd').slice(0, 6)).map(c => String.fromCharCode(c)).join('')")
        if text != "The game has ended." or again != "Play again" or demo != "HWDEMO":
            fail(f"after quitting: {text!r}, button {again!r}, recorded demo starts {demo!r}")
        if page.errors():
            fail(f"console errors in play: {page.errors()}")
        return to_select
    finally:
        page.close()


def replay(url, frames):
    """The recorded session replayed unpaced, stopping at the compared frames; then the digests."""
    names = {int(frame): name for name, frame in frames.items() if name != "total"}
    page = Page(url + "?timedemo=session.hwd&digest&pauseat=" + ",".join(map(str, sorted(names))))
    try:
        page.play()
        for frame in sorted(names):
            page.wait(f"document.body.dataset.paused === '{frame}'", 60, f"the replay at frame {frame}")
            page.js("new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)))")
            compare(names[frame], page.canvas(), os.path.join(WORK, names[frame] + ".ppm"))
            page.js("Module.resume()")
        page.state("ended", 120)
        digest = page.js("Module.FS.readFile('/digest.txt', {encoding: 'utf8'})").splitlines()
        recorded = open(os.path.join(WORK, "record.digest")).read().splitlines()
        for i, (ours, theirs) in enumerate(zip(digest, recorded)):
            if ours != theirs:
                fail(f"the page's replay leaves the desktop's at line {i + 1}: {ours} against {theirs}")
        if len(digest) != len(recorded) or page.js("document.body.dataset.status") != "0":
            fail(f"the page replayed {len(digest)} of {len(recorded)} frames")
        if page.errors():
            fail(f"console errors in the replay: {page.errors()}")
        return len(digest)
    finally:
        page.close()


def timed(url):
    page = Page(url + "?timedemo=session.hwd")
    try:
        page.play()
        page.state("ended", 120)
        return page.js("document.body.dataset.output")
    finally:
        page.close()


def refusals(url):
    """Damaged, missing and foreign demos: one line on the page and one in the console, at once."""
    data = open(os.path.join(WORK, "session.hwd"), "rb").read()
    open(os.path.join(WORK, "site", "cut.hwd"), "wb").write(data[:len(data) // 2])
    flipped = bytearray(data)
    flipped[len(data) // 2] ^= 0x10
    open(os.path.join(WORK, "site", "flipped.hwd"), "wb").write(flipped)
    for demo in ["cut.hwd", "flipped.hwd", "missing.hwd", "page.js"]:
        page = Page(url + "?playdemo=" + demo)
        try:
            started = time.time()
            page.play()
            page.state("ended', 'error", 15)
            text = page.js("document.getElementById('messagetext').textContent")
            ours = [t for k, t in page.console if k == "error"]
            if "\n" in text or ours != [text] or demo.split(".")[0] not in text:
                fail(f"{demo}: the page says {text!r}, the console {ours}")
            print(f"refused {demo} in {time.time() - started:.1f} s: {text}")
        finally:
            page.close()


def lost_and_missing(url):
    page = Page(url)
    try:
        page.play()
        page.state("playing")
        page.js("document.getElementById('canvas').getContext('webgl').getExtension('WEBGL_lose_context').loseContext()")
        page.state("lost", 10)
        if page.js("document.getElementById('again').textContent") != "Restart":
            fail("a lost context offers no restart")
    finally:
        page.close()
    page = Page(url, ["--disable-3d-apis"])  # a browser with WebGL switched off
    try:
        page.state("nowebgl", 20)
    finally:
        page.close()


def main():
    started = time.time()
    frames, desktop = desktop_half()
    os.mkdir(os.path.join(WORK, "site"))
    for name in os.listdir(SITE):
        os.symlink(os.path.join(SITE, name), os.path.join(WORK, "site", name))
    shutil.copy(os.path.join(WORK, "session.hwd"), os.path.join(WORK, "site"))
    url = serve(os.path.join(WORK, "site"))
    to_select = live_play(url)
    replayed = replay(url, frames)
    page_time = timed(url)
    refusals(url)
    lost_and_missing(url)
    sizes = {n: os.path.getsize(os.path.join(SITE, "hoopwind." + n)) for n in ("wasm", "js", "data")}
    fps = [float(re.search(r"([0-9.]+) fps", line).group(1)) for line in (page_time, desktop)]
    print("transfer: " + ", ".join(f".{n} {v / 1024:.0f} KiB" for n, v in sizes.items()))
    print(f"navigation to the selection screen: {to_select:.2f} s (with the click)")
    print(f"replay: {replayed} frames with the desktop's digest on every frame")
    print(f"timedemo: page {page_time}; desktop under Xvfb {desktop}; page/desktop {fps[0] / fps[1]:.2f}")
    if fps[0] < 0.5 * fps[1]:
        print("note: the page's timedemo is below half the desktop's")
    print(f"browser tests passed in {time.time() - started:.0f} s")


if __name__ == "__main__":
    main()
    shutil.rmtree(WORK, ignore_errors=True)  # kept when a check failed
