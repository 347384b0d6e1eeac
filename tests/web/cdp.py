# Headless Chromium over --remote-debugging-pipe (DevTools messages on fds 3 and 4, NUL-separated
# JSON), attached to one page whose console, exceptions and log entries are collected.
import base64, json, os, shutil, subprocess, tempfile, time


class Browser:
    def __init__(self, extra=()):
        self.profile = tempfile.mkdtemp(prefix="hw-chromium-")
        to_browser, self.out = os.pipe()
        self.inp, from_browser = os.pipe()

        def pipes():  # high copies first: a pipe end may already sit at 3 or 4
            for number, end in zip((3, 4), [os.dup(to_browser), os.dup(from_browser)]):
                os.dup2(end, number)
                os.set_inheritable(number, True)

        self.proc = subprocess.Popen(
            ["chromium", "--headless", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox",
             "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run",
             "--user-data-dir=" + self.profile, "--remote-debugging-pipe", *extra, "about:blank"],
            preexec_fn=pipes, close_fds=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        self.buffer, self.last, self.session, self.console = b"", 0, None, []
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            self.call(domain + ".enable")

    def call(self, method, timeout=60, **params):
        self.last += 1
        message = {"id": self.last, "method": method, "params": params}
        if not method.startswith("Target."):
            message["sessionId"] = self.session
        os.write(self.out, json.dumps(message).encode() + b"\0")
        deadline = time.time() + timeout
        while True:
            while b"\0" not in self.buffer:
                if time.time() > deadline:
                    raise TimeoutError(f"{method}: no answer")
                chunk = os.read(self.inp, 1 << 20)
                self.buffer += chunk if chunk else exit("the browser closed its pipe")
            m, self.buffer = self.buffer.split(b"\0", 1)
            m = json.loads(m)
            if m.get("id") == self.last:
                if "error" in m:
                    raise RuntimeError(f"{method}: {m['error']}")
                return m.get("result", {})
            p = m.get("params", {})
            if m.get("method") == "Runtime.consoleAPICalled":
                self.console.append((p["type"], " ".join(str(a.get("value", a.get("description"))) for a in p["args"])))
            elif m.get("method") == "Runtime.exceptionThrown":
                self.console.append(("exception", str(p["exceptionDetails"])))
            elif m.get("method") == "Log.entryAdded":
                self.console.append(("log-" + p["entry"]["level"], p["entry"]["text"]))

    def js(self, expression, timeout=60):
        r = self.call("Runtime.evaluate", timeout, expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in r:
            raise RuntimeError(f"{expression}: {r['exceptionDetails']}")
        return r["result"].get("value")

    def until(self, expression, timeout=5):
        deadline = time.time() + timeout
        while not self.js(expression):
            if time.time() > deadline:
                return False
            time.sleep(0.05)
        return True

    def wait(self, expression, timeout=30, what=None):
        if not self.until(expression, timeout):
            exit(f"FAIL: waited {timeout} s for {what or expression}")

    def key(self, code, key, vk):
        for kind in ("keyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, code=code, key=key, windowsVirtualKeyCode=vk,
                      text=key if kind == "keyDown" and len(key) == 1 else "")

    def mouse(self, x, y, *kinds, button="left"):
        for kind in kinds:
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, clickCount=1)

    def screenshot(self, clip):
        return base64.b64decode(self.call("Page.captureScreenshot", format="png", clip=dict(clip, scale=1))["data"])

    def close(self):
        self.proc.kill()
        self.proc.wait()
        os.close(self.out)
        os.close(self.inp)
        shutil.rmtree(self.profile, ignore_errors=True)
