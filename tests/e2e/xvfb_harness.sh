# Shared by the end-to-end scripts: a private Xvfb display, the game started from its data folder
# with the swap counter preloaded, and helpers to wait, press keys, and look at the screen.
# Expects: BUILD, SWAP_LIB, XCLOSE set by the caller; defines start_display, start_game, etc.

set -euo pipefail

WORK="$(mktemp -d)"
XVFB_PID=""
GAME_PID=""

cleanup() {
  if [[ -n "$GAME_PID" ]] && kill -0 "$GAME_PID" 2>/dev/null; then
    { kill -9 "$GAME_PID"; wait "$GAME_PID"; } 2>/dev/null || true
  fi
  if [[ -n "$XVFB_PID" ]]; then
    { kill -9 "$XVFB_PID"; wait "$XVFB_PID"; } 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

start_display() {
  local geometry="${1:-640x480x24}"
  # Xvfb picks a free display itself and tells us which, so parallel runs never share one.
  exec {DFD}<> <(:)
  # -noreset: an X server resets when its last client leaves, refusing connections meanwhile.
  Xvfb -displayfd "$DFD" -screen 0 "$geometry" -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local n=""
  read -r -t 10 -u "$DFD" n || fail "Xvfb did not report a display: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do
    if xdpyinfo >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  fail "Xvfb did not come up on :$n"
}

now_ms() { date +%s%3N; }

# start_game [FOLDER [ARG...]]: launches $GAME (default: the build's game) in the background from
# FOLDER (default: the data folder) with the arguments; sets GAME_PID and START_MS.
start_game() {
  local dir="${1:-$BUILD/data}"
  shift || true
  export HW_SWAP_LOG="$WORK/swaps"
  export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
  START_MS=$(now_ms)
  (cd "$dir" && LD_PRELOAD="$SWAP_LIB" exec "${GAME:-$BUILD/hoopwind}" "$@") >"$WORK/game.out" 2>"$WORK/game.err" &
  GAME_PID=$!
}

# wait_window: prints the game window's id once it is mapped.
wait_window() {
  local id=""
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name '^Hoopwind$' 2>/dev/null | head -1 || true)
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb ($DISPLAY) died: $(cat "$WORK/xvfb.log")"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game exited early on $DISPLAY: $(cat "$WORK/game.err")"
    sleep 0.1
  done
  fail "no Hoopwind window appeared"
}

# swaps: "count first_ms last_ms" from the swap counter.
swaps() {
  cat "$WORK/swaps" 2>/dev/null || echo "0 0 0"
}

wait_swaps() {
  local want="$1"
  for _ in $(seq 1 200); do
    local n
    n=$(swaps | cut -d' ' -f1)
    if (( n >= want )); then
      return 0
    fi
    sleep 0.05
  done
  fail "fewer than $want frames were shown"
}

# hold_key KEY SECONDS: holds a key down across several frames (the game polls key state).
hold_key() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}

# wait_exit SECONDS: waits for the game to end; sets EXIT_STATUS. Not for use in $(...): only
# this shell can collect its child's status.
wait_exit() {
  local limit=$(( $1 * 10 ))
  for _ in $(seq 1 "$limit"); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      wait "$GAME_PID" && EXIT_STATUS=0 || EXIT_STATUS=$?
      GAME_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "the game did not exit within $1 s"
}

screenshot() {
  import -display "$DISPLAY" -window root "$1"
}

shot() {
  import -display "$DISPLAY" -window root -depth 8 "ppm:$1"
}

# count FILE GEOMETRY EXPR: pixels of the region WxH+X+Y of a shot for which the Python expression
# over r, g, b (0..255) holds.
count() {
  python3 - "$@" <<'PY'
import re, sys
path, geometry, expr = sys.argv[1:4]
w, h, x, y = map(int, re.fullmatch(r"(\d+)x(\d+)\+(\d+)\+(\d+)", geometry).groups())
data = open(path, "rb").read()
header = re.match(rb"P6\s+(\d+)\s+\d+\s+\d+\s", data)
width, px = int(header.group(1)), data[header.end():]
test = eval("lambda r, g, b: " + expr)
n = 0
for row in range(y, y + h):
    base = (row * width + x) * 3
    n += sum(1 for i in range(base, base + 3 * w, 3) if test(px[i], px[i + 1], px[i + 2]))
print(n)
PY
}

at_least() { # at_least VALUE MIN WHAT
  awk -v v="$1" -v m="$2" 'BEGIN { exit !(v >= m) }' || fail "$3: $1 (wanted at least $2)"
}
at_most() {
  awk -v v="$1" -v m="$2" 'BEGIN { exit !(v <= m) }' || fail "$3: $1 (wanted at most $2)"
}
