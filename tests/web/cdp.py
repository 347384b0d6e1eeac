# A headless Chromium driven over --remote-debugging-pipe (DevTools messages on fds 3 and 4,
# NUL-separated JSON), with the page's console and exceptions collected as they arrive.
import json
import os
import shutil
import subprocess
import tempfile
import time


class Browser:
    def __init__(self, extra=()):
        self.profile = tempfile.mkdtemp(prefix="hw-chromium-")
        to_browser, self.out = os.pipe()
        self.inp, from_browser = os.pipe()

        def pipes():  # high copies first: a pipe end may already sit at 3 or 4
            ends = [os.dup(to_browser), os.dup(from_browser)]
            for number, end in zip((3, 4), ends):
                os.dup2(end, number)
                os.set_inheritable(number, True)

        self.proc = subprocess.Popen(
            [shutil.which("chromium") or "chromium", "--headless", "--use-angle=swiftshader",
             "--enable-unsafe-swiftshader", "--no-sandbox", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--no-first-run",
             "--user-data-dir=" + self.profile, "--remote-debugging-pipe", "--window-size=800,700",
             *extra, "about:blank"],
            preexec_fn=pipes, close_fds=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        self.buffer, self.next_id, self.session = b"", 0, None
        self.console, self.events = [], []
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            self.call(domain + ".enable")

    def _read(self, deadline):
        while b"\0" not in self.buffer:
            if time.time() > deadline:
                raise TimeoutError("the browser did not answer")
            chunk = os.read(self.inp, 1 << 20)
            if not chunk:
                raise RuntimeError("the browser closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def _event(self, m):
        p = m.get("params", {})
        if m["method"] == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in p["args"])
            self.console.append((p["type"], text))
        elif m["method"] == "Runtime.exceptionThrown":
            self.console.append(("exception", p["exceptionDetails"].get("exception", {}).get(
                "description", p["exceptionDetails"]["text"])))
        elif m["method"] == "Log.entryAdded":
            self.console.append(("log-" + p["entry"]["level"], p["entry"]["text"]))
        self.events.append(m)

    def call(self, method, timeout=60, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session and not method.startswith("Target."):
            message["sessionId"] = self.session
        os.write(self.out, json.dumps(message).encode() + b"\0")
        deadline = time.time() + timeout
        while True:
            m = self._read(deadline)
            if m.get("id") == self.next_id:
                if "error" in m:
                    raise RuntimeError(f"{method}: {m['error']}")
                return m.get("result", {})
            if "method" in m:
                self._event(m)

    def js(self, expression, timeout=60):
        r = self.call("Runtime.evaluate", timeout=timeout, expression=expression,
                      returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in r:
            raise RuntimeError(f"{expression}: {r['exceptionDetails']}")
        return r["result"].get("value")

    def wait(self, expression, timeout=30, what=None):
        deadline = time.time() + timeout
        while time.time() < deadline:
            value = self.js(expression)
            if value:
                return value
            time.sleep(0.05)
        raise TimeoutError(f"waited {timeout} s for {what or expression}")

    def key(self, code, key, vk, down=True, up=True):
        for kind in (["keyDown"] if down else []) + (["keyUp"] if up else []):
            self.call("Input.dispatchKeyEvent", type=kind, code=code, key=key,
                      windowsVirtualKeyCode=vk, text=key if kind == "keyDown" and len(key) == 1 else "")

    def mouse(self, kind, x, y, button="none"):
        self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                  clickCount=1 if button != "none" else 0)

    def click(self, x, y, button="left"):
        self.mouse("mouseMoved", x, y)
        self.mouse("mousePressed", x, y, button)
        self.mouse("mouseReleased", x, y, button)

    def screenshot(self, clip):
        import base64
        data = self.call("Page.captureScreenshot", format="png", clip=dict(clip, scale=1))["data"]
        return base64.b64decode(data)

    def close(self):
        try:
            self.call("Browser.close", timeout=5)
        except Exception:
            pass
        try:
            self.proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        os.close(self.out)
        os.close(self.inp)
        shutil.rmtree(self.profile, ignore_errors=True)
