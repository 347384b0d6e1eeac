#!/usr/bin/env bash
# Playing as a person does, on a screen larger than the game where full screen is refused and no
# message box can be shown: the command line, the game started from /, the pointer free outside
# play, 10 ms taps, and a recorded session replayed under Xvfb and headless to the same digests.
BUILD="$1"
SWAP_LIB="$2"
XCLOSE="$3"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"

# --- The command line -----------------------------------------------------------------------------
"$BUILD/hoopwind" --help >"$WORK/help" || fail "--help: status $?"
grep -q -- '--playdemo FILE' "$WORK/help" || fail "--help: $(cat "$WORK/help")"
STATUS=0
"$BUILD/hoopwind" --frobnicate >"$WORK/out" 2>"$WORK/bad" || STATUS=$?
[[ $STATUS == 2 && ! -s "$WORK/out" ]] || fail "a bad option: status $STATUS"
head -1 "$WORK/bad" | grep -q "unknown option '--frobnicate'" || fail "bad option: $(cat "$WORK/bad")"
grep -q '^Usage: hoopwind' "$WORK/bad" || fail "no usage after a bad option"

YELLOW='r > 153 and g > 153 and b < 77'
RED='r > 200 and g < 80 and b < 80'
SKY='abs(r - 217) <= 4 and abs(g - 217) <= 4 and b >= 248'
tap() { xdotool keydown "$1"; sleep 0.01; xdotool keyup "$1"; }
pointer_at() { # pointer_at X Y: moves the pointer there and prints where it really went
  xdotool mousemove "$1" "$2"; sleep 0.2
  eval "$(xdotool getmouselocation --shell)"; echo "$X $Y"
}

# --- A session from /, recorded ------------------------------------------------------------------
start_display 800x600x24
export HOOPWIND_DIGEST="$WORK/record.digest"
start_game / --record "$WORK/session.hwd"
WIN=$(wait_window)
wait_swaps 10
xdotool windowfocus --sync "$WIN" # as a window manager gives it
grep -q 'FULLSCREEN Error' "$WORK/game.err" || fail "the refused full screen was not reported"
eval "$(xdotool getwindowgeometry --shell "$WIN")"
[[ "$WIDTH" == 640 && "$HEIGHT" == 480 ]] || fail "window is ${WIDTH}x${HEIGHT}"
INSIDE="640x480+$X+$Y"
shot "$WORK/select.ppm"
at_least "$(count "$WORK/select.ppm" "$INSIDE" "$YELLOW")" 600 "selection text drawn from /"

# In play while the red head-up lines show; the first frame of play may take a while to draw.
in_play() { (( $(count "$1" "300x30+$((X + 10))+$((Y + 8))" "$RED") >= 250 )); }
tap 2
for _ in $(seq 1 50); do
  shot "$WORK/play.ppm"
  in_play "$WORK/play.ppm" && break
  sleep 0.1
done
in_play "$WORK/play.ppm" || fail "a 10 ms tap of 2 did not start the game"
at_most "$(count "$WORK/play.ppm" "$INSIDE" "$SKY")" 150000 "sky pixels in play (the stadium hides most)"
read -r PX PY < <(pointer_at 790 590)
(( PX < X + 640 && PY < Y + 480 )) || fail "the pointer left the window in play ($PX, $PY)"
hold_key Left 0.4
# Right, left, right: back on the Chaser, so both sides' Seekers hunt the Flicket.
xdotool mousemove_relative 25 10 click 3 click 1 click 3
hold_key KP_8 0.3
tap Tab
# A computer Seeker catches the Flicket sooner or later: the red head-up lines of play go.
for _ in $(seq 1 120); do
  shot "$WORK/now.ppm"
  in_play "$WORK/now.ppm" || break
  sleep 0.5
done
in_play "$WORK/now.ppm" && fail "no game ended within a minute"
read -r PX PY < <(pointer_at 790 590)
[[ "$PX $PY" == "790 590" ]] || fail "the pointer is held on the game-over screen ($PX, $PY)"
pointer_at $((X + 320)) $((Y + 240)) >/dev/null
tap Return
sleep 1
tap 1
sleep 0.5
tap Escape
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "a 10 ms Escape tap: exit status $EXIT_STATUS"
FRAMES=$(wc -l <"$WORK/record.digest")
echo "recorded $FRAMES frames: team choice, flight, clicks, a catch, a restart, Escape"

# --- The same session replayed, unpaced under Xvfb and headless -----------------------------------
export HOOPWIND_DIGEST="$WORK/replay.digest"
start_game / --timedemo "$WORK/session.hwd"
wait_exit 120
[[ "$EXIT_STATUS" == 0 ]] || fail "--timedemo: exit status $EXIT_STATUS"
LINE=$(cat "$WORK/game.out")
[[ "$LINE" =~ ^$FRAMES\ frames,\ [0-9.]+\ seconds,\ [0-9.]+\ fps$ ]] || fail "timedemo: '$LINE'"
cmp "$WORK/record.digest" "$WORK/replay.digest" || fail "the replay under Xvfb differs"
export HOOPWIND_DIGEST="$WORK/headless.digest"
(cd "$BUILD/data" && "$BUILD/tests/platform/hoopwind_headless" --playdemo "$WORK/session.hwd") ||
  fail "headless replay: status $?"
cmp "$WORK/record.digest" "$WORK/headless.digest" || fail "the headless replay differs"
unset HOOPWIND_DIGEST
echo "replayed under Xvfb ($LINE) and headless: the same digest in all $FRAMES frames"

# --- Damaged demos: one line, status 1, no window ---------------------------------------------------
head -c $(( $(stat -c %s "$WORK/session.hwd") / 2 )) "$WORK/session.hwd" >"$WORK/cut.hwd"
for bad in "$WORK/cut.hwd" /etc/hostname "$WORK/missing.hwd"; do
  STATUS=0
  "$BUILD/hoopwind" --playdemo "$bad" >/dev/null 2>"$WORK/err" || STATUS=$?
  [[ $STATUS == 1 && $(wc -l <"$WORK/err") == 1 ]] || fail "$bad: status $STATUS, $(cat "$WORK/err")"
  echo "$(cat "$WORK/err")"
done
echo "play e2e passed"
