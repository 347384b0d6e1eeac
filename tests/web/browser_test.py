#!/usr/bin/env python3
# The browser build in headless Chromium: a session recorded on the desktop (headless twin) and
# timed there under Xvfb replays in the page to the same digest on every frame, with pictures
# compared; live play (start, keys the page must not act on, pointer lock, music, focus, Escape,
# the end, the recorded demo); damaged, missing and foreign demo URLs; a lost context; no WebGL.
# Prints the figures. Usage: browser_test.py NATIVE_BUILD SITE_FOLDER
import base64, functools, http.server, os, re, subprocess, sys, tempfile, threading, time
from cdp import Browser

BUILD, SITE = map(os.path.abspath, sys.argv[1:3])
WORK = tempfile.mkdtemp(prefix="hw-web-test-")
# A pixel matches the desktop's when no channel differs by more than TOLERANCE; a picture matches
# when at least MATCHING of its pixels do (SwiftShader and llvmpipe round edges and lighting apart).
TOLERANCE, MATCHING = 48, 0.97
CANVAS = "document.getElementById('canvas')"


def fail(text):
    sys.exit(f"FAIL: {text} (files kept in {WORK})")


# Run in the page: the screenshot (PNG, base64) against a desktop picture (PPM) served beside it:
# [width, share of pixels within the tolerance, mean channel difference].
COMPARE = """(async (png, ppm, tolerance) => {
  const c = new OffscreenCanvas(640, 480).getContext('2d'), n = 640 * 480;
  const img = await createImageBitmap(await (await fetch('data:image/png;base64,' + png)).blob());
  c.drawImage(img, 0, 0);
  const a = c.getImageData(0, 0, 640, 480).data, ref = new Uint8Array(await (await fetch(ppm)).arrayBuffer()).slice(-n * 3);
  let close = 0, sum = 0;
  for (let p = 0; p < n; ++p) {
    const d = [0, 1, 2].map(k => Math.abs(a[p * 4 + k] - ref[p * 3 + k]));
    sum += d[0] + d[1] + d[2];
    close += Math.max(...d) <= tolerance;
  }
  return [img.width * 10000 + img.height, close / n, sum / n / 3];
})"""


def compare(page, name, report=True):
    width, close, mean = page.js(f"{COMPARE}('{base64.b64encode(shot(page)).decode()}', '{name}.ppm', {TOLERANCE})")
    if report:
        print(f"picture {name}: {100 * close:.2f}% of pixels within {TOLERANCE}, mean difference {mean:.2f}")
    return width == 6400480 and close >= MATCHING


def desktop_half():
    """Records the session headless, then times it with the desktop game under Xvfb."""
    data = os.path.join(BUILD, "data")
    subprocess.run([os.path.join(BUILD, "tests/web/hw_web_session"), WORK], cwd=data, check=True, stderr=subprocess.DEVNULL)
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    env = dict(os.environ, DISPLAY=":" + os.read(read, 64).decode().strip(), SDL_AUDIODRIVER="dummy",
               HOOPWIND_DIGEST=os.path.join(WORK, "xvfb.digest"))
    try:
        line = subprocess.run([os.path.join(BUILD, "hoopwind"), "--windowed", "--timedemo", os.path.join(WORK, "session.hwd")],
                              cwd=data, env=env, check=True, capture_output=True, text=True, timeout=300).stdout.strip()
    finally:
        xvfb.kill()
    if open(os.path.join(WORK, "xvfb.digest")).read() != open(os.path.join(WORK, "record.digest")).read():
        fail("the desktop replay under Xvfb differs from the recording")
    return dict(line.split() for line in open(os.path.join(WORK, "frames.txt"))), line


def open_page(query, extra=()):
    page = Browser(extra)
    page.call("Emulation.setDeviceMetricsOverride", width=664, height=600, deviceScaleFactor=1, mobile=False)
    page.started = time.time()
    page.call("Page.navigate", url=URL + query)
    return page


def state(page, *wanted, timeout=60):
    page.wait(f"{list(wanted)}.includes(document.body && document.body.dataset.state)", timeout, f"the page's state {wanted}")


def play(page):
    state(page, "ready")
    x, y = page.js("(r => [r.x + r.width / 2, r.y + r.height / 2])(document.getElementById('play').getBoundingClientRect())")
    page.mouse(x, y, "mouseMoved", "mousePressed", "mouseReleased")


def shot(page):
    return page.screenshot(page.js(f"(r => ({{x: r.x, y: r.y, width: r.width, height: r.height}}))({CANVAS}.getBoundingClientRect())"))


def errors(page):
    return [text for kind, text in page.console if kind in ("error", "exception", "assert", "log-error")]


def live_play():
    """The page as a player meets it: load, click, choose a team, fly, lose the focus, quit."""
    page = open_page("?record")
    play(page)
    while not compare(page, "select", False):  # the same picture as the desktop's selection screen
        if time.time() > page.started + 60:
            fail("no selection screen within a minute")
    to_select = time.time() - page.started
    # Keys the game binds are the game's (Tab, F1, Page Down, arrows); others and Ctrl+S the browser's.
    for code, key, ctrl, taken in [("Tab", "Tab", "false", True), ("F1", "F1", "false", True), ("Numpad8", "8", "false", True),
                                   ("PageDown", "PageDown", "false", True), ("ArrowDown", "ArrowDown", "false", True),
                                   ("KeyS", "s", "true", False), ("Space", " ", "false", False), ("F5", "F5", "false", False)]:
        prevented = page.js(f"(o => {{ const e = new KeyboardEvent('keydown', o); window.dispatchEvent(e); window.dispatchEvent("
                            f"new KeyboardEvent('keyup', o)); return e.defaultPrevented; }})({{code: '{code}', key: '{key}', "
                            f"ctrlKey: {ctrl}, cancelable: true}})")
        if prevented != taken:
            fail(f"{code} (Ctrl {ctrl}): default prevented is {prevented}")
    music = "(a => [!a.paused && a.src.startsWith('blob:'), a.currentTime])(document.getElementById('music'))"
    playing, position = page.js(music)
    page.key("KeyM", "m", 77)  # M mutes and unmutes; the track runs on
    muted = page.js("document.getElementById('music').muted")
    page.key("KeyM", "m", 77)
    if not muted or page.js("document.getElementById('music').muted"):
        fail("M does not mute and unmute the music")
    if not playing or page.js(f"{CANVAS}.dataset.pointer") != "free":
        fail(f"after the click: music playing {playing}, pointer {page.js(f'{CANVAS}.dataset.pointer')}")
    # In play the pointer is locked (headless Chromium grants it after a key press, as a desktop
    # browser does); a blur frees it and the focus brings it back; the first Escape only frees it.
    # A Seeker may catch the Flicket at once: then the game is played again.
    locked = f"{CANVAS}.dataset.pointer === 'locked' && document.pointerLockElement === {CANVAS}"
    free = "document.pointerLockElement === null"
    steps = [("Digit1", locked), ("blur", free), ("focus", locked), ("Escape", free)]
    for attempt in range(6):
        for action, expected in steps:
            if action in ("blur", "focus"):
                page.js(f"window.dispatchEvent(new FocusEvent('{action}'))")
            else:  # a tap: down and up between two frames
                page.key(action, action[-1] if action == "Digit1" else action, {"Digit1": 49, "Escape": 27}[action])
            if not page.until(expected):
                break
        else:
            time.sleep(0.3)
            break
        if page.js(f"{CANVAS}.dataset.pointer") != "free":
            fail(f"in play, after {action}: {expected} does not hold")
        page.key("Enter", "Enter", 13)  # the game ended meanwhile: play again
    else:
        fail("six games in a row ended before the pointer checks were done")
    if page.js("document.body.dataset.state") != "playing" or page.js(music)[1] <= position:
        fail("the first Escape with the pointer locked quit the game, or the music stopped")
    page.key("Escape", "Escape", 27)
    state(page, "ended", timeout=10)
    ended = page.js("[messagetext.textContent, again.hidden || again.textContent, String.fromCharCode("
                    "...Module.FS.readFile('/session.hwd').slice(0, 6)), messagelinks.textContent]")
    if ended != ["The game has ended.", "Play again", "HWDEMO", "Save the recorded demo"] or errors(page):
        fail(f"after quitting: {ended}; console errors {errors(page)}")
    page.close()
    return to_select


def replay(frames):
    """The recorded session replayed unpaced, held at the compared frames; then the digests."""
    names = {int(frame): name for name, frame in frames.items() if name != "total"}
    page = open_page("?timedemo=session.hwd&digest&pauseat=" + ",".join(map(str, sorted(names))))
    play(page)
    for frame in sorted(names):
        page.wait(f"document.body.dataset.paused === '{frame}'", 60, f"the replay at frame {frame}")
        page.js("new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)))")
        if not compare(page, names[frame]):
            fail(f"{names[frame]}: the page's picture differs from the desktop's")
        page.js("Module.resume()")
    state(page, "ended", timeout=120)
    ours = page.js("Module.FS.readFile('/digest.txt', {encoding: 'utf8'})").splitlines()
    theirs = open(os.path.join(WORK, "record.digest")).read().splitlines()
    first = next((i for i, (a, b) in enumerate(zip(ours, theirs)) if a != b), None)
    if first is not None or len(ours) != len(theirs) or errors(page):
        fail(f"the page's {len(ours)} digests against {len(theirs)}, first difference at line {first}; {errors(page)}")
    page.close()
    return len(ours)


def timed():
    page = open_page("?timedemo=session.hwd")
    play(page)
    state(page, "ended", timeout=120)
    line = page.js("document.body.dataset.output")
    page.close()
    return line


def refusals():
    """Damaged, missing and foreign demos and a bad volume: one line on the page, the same first in
    the console, at once."""
    data = open(os.path.join(WORK, "session.hwd"), "rb").read()
    half = len(data) // 2
    for name, body in [("cut.hwd", data[:half]), ("flipped.hwd", data[:half] + bytes([data[half] ^ 0x10]) + data[half + 1:])]:
        open(os.path.join(WORK, "site", name), "wb").write(body)
    for demo in ["cut.hwd", "flipped.hwd", "missing.hwd", "page.js", "loud"]:  # the last: a bad volume
        page = open_page(("?volume=" if demo == "loud" else "?playdemo=") + demo)
        play(page)
        state(page, "ended", "error", timeout=15)
        text = page.js("messagetext.textContent")
        ours = [t for k, t in page.console if k == "error"]
        if "\n" in text or ours[:1] != [text] or len(ours) > (1 if demo != "loud" else 20) or demo not in text:
            fail(f"{demo}: the page says {text!r}, the console {ours}")
        print(f"refused {demo} after {time.time() - page.started:.1f} s: {text}")
        page.close()


def pad_resized_lost_and_missing():
    """A pad starts play; a wider window draws a larger picture; a lost context offers a restart;
    no WebGL is said."""
    page = open_page("")
    play(page)
    state(page, "playing")
    # A pad with the standard layout: X chooses the first team, and play steers the pointer.
    page.js("navigator.getGamepads = () => [{connected: true, mapping: 'standard', axes: [0, 0, 0, 0],"
            " buttons: Array.from({length: 16}, (_, i) => ({pressed: i === 2, value: i === 2 ? 1 : 0}))}]")
    page.wait(f"{CANVAS}.dataset.pointer !== undefined && {CANVAS}.dataset.pointer !== 'free'", 10, "a pad's X starting play")
    page.call("Emulation.setDeviceMetricsOverride", width=984, height=800, deviceScaleFactor=1, mobile=False)
    page.wait(f"(c => (r => c.width > 640 && c.width === Math.round(r.width) && c.height === Math.round(r.height))"
              f"(c.getBoundingClientRect()))({CANVAS})", 10, "the picture following the page's layout")
    page.js(f"{CANVAS}.getContext('webgl').getExtension('WEBGL_lose_context').loseContext()")
    state(page, "lost", timeout=10)
    if page.js("again.textContent") != "Restart":
        fail("a lost context offers no restart")
    page.close()
    page = open_page("", ["--disable-3d-apis"])  # a browser with WebGL switched off
    state(page, "nowebgl", timeout=20)
    page.close()


def main():
    global URL
    started = time.time()
    frames, desktop = desktop_half()
    os.mkdir(os.path.join(WORK, "site"))
    for name in os.listdir(SITE):
        os.symlink(os.path.join(SITE, name), os.path.join(WORK, "site", name))
    for name in [n for n in os.listdir(WORK) if n.endswith((".ppm", ".hwd"))]:
        os.symlink(os.path.join(WORK, name), os.path.join(WORK, "site", name))
    quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *a: None})
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(quiet, directory=os.path.join(WORK, "site")))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    URL = f"http://127.0.0.1:{server.server_address[1]}/"
    to_select, replayed, page_time = live_play(), replay(frames), timed()
    refusals()
    pad_resized_lost_and_missing()
    fps = [float(re.search(r"([0-9.]+) fps", line).group(1)) for line in (page_time, desktop)]
    print("transfer: " + ", ".join(f".{n} {os.path.getsize(os.path.join(SITE, 'hoopwind.' + n)) / 1024:.0f} KiB" for n in ("wasm", "js", "data")))
    print(f"navigation to the selection screen: {to_select:.2f} s (with the click)")
    print(f"replay: {replayed} frames with the desktop's digest on every frame")
    print(f"timedemo: page {page_time}; desktop under Xvfb {desktop}; page/desktop {fps[0] / fps[1]:.2f} (goal 0.5)")
    print(f"browser tests passed in {time.time() - started:.0f} s")
    subprocess.run(["rm", "-rf", WORK])


if __name__ == "__main__":
    main()
