# For the end-to-end scripts and scripts/check-package (given BUILD): Xvfb, the game, waits, looks.

set -euo pipefail

WORK="$(mktemp -d)"
XVFB_PID=""
GAME_PID=""

cleanup() { kill -9 $GAME_PID $XVFB_PID 2>/dev/null && wait 2>/dev/null; rm -rf "$WORK"; }
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# start_display [GEOMETRY]: on a free display, said by Xvfb; -noreset: open when its clients leave.
start_display() {
  exec {DFD}<> <(:)
  Xvfb -displayfd "$DFD" -screen 0 "${1:-640x480x24}" -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local n=""
  read -r -t 10 -u "$DFD" n || fail "Xvfb did not report a display: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$n" # reported once it accepts connections
}

# start_game [FOLDER [ARG...]]: the game in the background, from FOLDER (the data); sets GAME_PID.
start_game() {
  local dir="${1:-$BUILD/data}"
  shift || true
  export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
  (cd "$dir" && exec "$BUILD/hoopwind" "$@") >"$WORK/game.out" 2>"$WORK/game.err" &
  GAME_PID=$!
}

# wait_window: prints the game window's id once it is mapped.
wait_window() {
  local id=""
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name '^Hoopwind$' 2>/dev/null | head -1 || true)
    [[ -n "$id" ]] && echo "$id" && return 0
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game exited early: $(cat "$WORK/game.err")"
    sleep 0.1
  done
  fail "no Hoopwind window appeared"
}

# hold_key KEY SECONDS: held across several frames.
hold_key() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }

# wait_exit SECONDS: sets EXIT_STATUS. Not for $(...): only this shell can collect its child.
wait_exit() {
  for _ in $(seq 1 $(($1 * 10))); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      wait "$GAME_PID" && EXIT_STATUS=0 || EXIT_STATUS=$?
      GAME_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "the game did not exit within $1 s"
}

screenshot() { import -display "$DISPLAY" -window root -depth 8 "$1"; }

# count FILE.ppm GEOMETRY EXPR: pixels of the region WxH+X+Y where the Python EXPR of r, g, b holds.
count() {
  python3 - "$@" <<'PY'
import re, sys
path, geometry, expr = sys.argv[1:4]
w, h, x, y = map(int, re.findall(r"\d+", geometry))
data = open(path, "rb").read()
header = re.match(rb"P6\s+(\d+)\s+\d+\s+\d+\s", data)
width, px = int(header.group(1)), data[header.end():]
test = eval("lambda r, g, b: " + expr)
rows = (range((row * width + x) * 3, (row * width + x + w) * 3, 3) for row in range(y, y + h))
print(sum(1 for r in rows for i in r if test(px[i], px[i + 1], px[i + 2])))
PY
}

# look_for FILE.ppm GEOMETRY EXPR MIN: screenshots until MIN pixels match (else 1); wait_for fails.
look_for() {
  for _ in $(seq 1 50); do
    screenshot "$1"
    (($(count "$@") >= $4)) && return 0
    sleep 0.2
  done
  return 1
}
wait_for() { look_for "$@" || fail "$(count "$@") pixels of $2 are '$3' (wanted at least $4)"; }
