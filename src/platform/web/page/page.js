// The page around the browser build: checks for WebGL, loads the game and its packed data with a
// progress bar, starts it on a click (browsers allow sound and pointer lock only after one), turns
// the query string into the game's command line (?playdemo=URL, ?timedemo=URL, ?record, ?digest,
// ?volume=N, ?pauseat=frames),
// and says when the game has ended, failed to start or lost its picture.
"use strict";

const $ = (id) => document.getElementById(id);
const canvas = $("canvas");
const query = new URLSearchParams(location.search);
let lastError = "";
let started = false;

function setState(state) {
  document.body.dataset.state = state;
}

function show(id) {
  for (const over of ["loading", "start", "message"]) {
    $(over).hidden = over !== id;
  }
}

// One line on the page and one in the console; again restarts the page when given.
function message(text, again, state) {
  $("messagetext").textContent = text;
  $("again").textContent = again || "Play again";
  $("again").hidden = again === null;
  show("message");
  setState(state);
}

function fail(text) {
  console.error(text);
  message(text, null, "error");
}

function hasWebGL() {
  try {
    const probe = document.createElement("canvas");
    return !!(window.WebGLRenderingContext && probe.getContext("webgl"));
  } catch (e) {
    return false;
  }
}

// The demo named by the query string, fetched into the game's file system before it starts.
async function fetchDemo(url) {
  const name = url.split(/[?#]/)[0].split("/").pop() || "demo.hwd";
  let response;
  try {
    response = await fetch(url, { cache: "no-store" });
  } catch (e) {
    throw new Error(`demo ${name}: cannot be fetched (${e.message})`);
  }
  if (!response.ok) {
    throw new Error(`demo ${name}: not found (HTTP ${response.status})`);
  }
  const bytes = new Uint8Array(await response.arrayBuffer());
  Module.FS.mkdirTree("/demos");
  Module.FS.writeFile("/demos/" + name, bytes);
  return "/demos/" + name;
}

async function start() {
  if (started) {
    return;
  }
  started = true;
  const args = ["--windowed"];
  try {
    for (const mode of ["playdemo", "timedemo"]) {
      if (query.has(mode)) {
        args.push("--" + mode, await fetchDemo(query.get(mode)));
      }
    }
  } catch (e) {
    fail(e.message);
    return;
  }
  if (query.has("record")) {
    args.push("--record", "/session.hwd");
  }
  if (query.has("volume")) {
    args.push("--volume=" + query.get("volume"));
  }
  show(null);
  setState("playing");
  canvas.focus();
  Module.callMain(args);
}

function ended(status) {
  const audio = $("music");
  audio.pause();
  const links = $("messagelinks");
  links.textContent = "";
  if (query.has("record") && Module.FS.analyzePath("/session.hwd").exists) {
    const blob = new Blob([Module.FS.readFile("/session.hwd")], { type: "application/octet-stream" });
    const a = document.createElement("a");
    a.href = URL.createObjectURL(blob);
    a.download = "session.hwd";
    a.textContent = "Save the recorded demo";
    links.append(a);
  }
  if (status !== 0 && lastError) {
    message(lastError, "Play again", "ended");
  } else {
    message("The game has ended.", "Play again", "ended");
  }
  document.body.dataset.status = String(status);
}

var Module = {
  canvas,
  noInitialRun: true,
  // The C library reads its environment before main: ?digest writes one line per frame there.
  preRun: [() => {
    if (query.has("digest")) {
      Module.ENV.HOOPWIND_DIGEST = "/digest.txt";
    }
  }],
  print(line) {
    console.log(line);
    document.body.dataset.output = line;
  },
  printErr(line) {
    // The compiler's GL layer announces itself and the calls it ignores: notices, not errors.
    if (/^(WARNING: using emscripten GL|TODO: )/.test(line)) {
      console.debug(line);
      return;
    }
    console.error(line);
    lastError = lastError || line; // the complaint itself, not the usage text after it
  },
  setStatus(text) {
    const m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || "");
    if (m) {
      $("progress").max = Number(m[2]);
      $("progress").value = Number(m[1]);
    }
  },
  onRuntimeInitialized() {
    show("start");
    setState("ready");
    $("play").focus();
  },
  onExit: ended,
  // ?pauseat=N,M: a replay stops after these frames until Module.resume() (for comparing pictures
  // frame by frame).
  pauseAt: (query.get("pauseat") || "").split(",").filter(Boolean).map(Number),
  onPause(frame) {
    document.body.dataset.paused = String(frame);
  },
  resume() {
    delete document.body.dataset.paused;
    Module.paused = false;
  },
  onAbort(what) {
    fail(`The game stopped: ${what}`);
  },
};

$("play").addEventListener("click", start);
$("again").addEventListener("click", () => location.reload());
$("full").addEventListener("click", () => {
  const box = $("box");
  if (box.requestFullscreen) {
    box.requestFullscreen().catch(() => {});
  }
  canvas.focus();
});
canvas.addEventListener("contextmenu", (e) => e.preventDefault());
canvas.addEventListener("webglcontextlost", (e) => {
  e.preventDefault();
  Module.paused = true;
  $("music").pause();
  message("The browser took the game's picture away (the WebGL context was lost).", "Restart", "lost");
});
// The game marks how it holds the pointer; while it steers without a lock, say how to get one.
new MutationObserver(() => {
  $("hint").textContent =
    canvas.dataset.pointer === "steering" ? "Click the picture to steer with the mouse." : "";
}).observe(canvas, { attributes: true, attributeFilter: ["data-pointer"] });

if (!hasWebGL()) {
  message("This browser cannot show the game: WebGL is switched off or not available. " +
          "Turn on hardware acceleration or try another browser.", null, "nowebgl");
} else {
  const script = document.createElement("script");
  script.src = "hoopwind.js";
  script.onerror = () => fail("The game's files could not be loaded.");
  document.body.append(script);
}
