#!/usr/bin/env bash
# The real binary under Xvfb: a 640 x 480 window with a picture, frames paced near 60 a second,
# music heard, and a clean exit (status 0, nothing on standard error, the music stopped) on a held
# Escape, on the window's close button and on a termination signal; without a display, one line.
BUILD="$1"
SWAP_LIB="$2"
XCLOSE="$3"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"

start_display 640x480x24

# --- Pacing, picture, music, Escape ---------------------------------------------------------------
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_game
WIN=$(wait_window)
wait_swaps 2
read -r _ FIRST _ < <(swaps)
echo "start to first frame: $(( ${FIRST%.*} - START_MS )) ms"
eval "$(xdotool getwindowgeometry --shell "$WIN")"
[[ "$WIDTH" == 640 && "$HEIGHT" == 480 ]] || fail "window is ${WIDTH}x${HEIGHT}, not 640x480"

read -r N1 _ T1 < <(swaps)
sleep 3
read -r N2 _ T2 < <(swaps)
FPS=$(awk -v n="$((N2 - N1))" -v t1="$T1" -v t2="$T2" 'BEGIN { printf "%.1f", n * 1000.0 / (t2 - t1) }')
echo "frame rate: $FPS per second"
awk -v f="$FPS" 'BEGIN { exit !(f >= 50 && f <= 66) }' || fail "frame rate $FPS is not near 60"

shot "$WORK/select.ppm"
at_least "$(count "$WORK/select.ppm" 640x480+0+0 'r + g + b > 30')" 250000 "lit pixels"

xdotool windowfocus --sync "$WIN" 2>/dev/null || true
hold_key Escape 0.3
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "Escape: exit status $EXIT_STATUS"
# The disk audio driver announces itself on standard error; nothing else may appear there.
OTHER=$(grep -v -e 'disk i/o audio driver' -e 'Writing to file' "$WORK/game.err" || true)
[[ -z "$OTHER" ]] || fail "unexpected output on standard error: $OTHER"
LOUDEST=$(python3 -c 'import sys, array; a = array.array("h"); d = open(sys.argv[1], "rb").read()
a.frombytes(d[: len(d) // 2 * 2]); print(max((abs(v) for v in a), default=0))' "$WORK/audio.raw")
echo "loudest music sample: $LOUDEST"
at_least "$LOUDEST" 1000 "loudest music sample"
AFTER=$(stat -c %s "$WORK/audio.raw")
sleep 0.3
[[ "$(stat -c %s "$WORK/audio.raw")" == "$AFTER" ]] || fail "music still playing after exit"
export SDL_AUDIODRIVER=dummy

# --- The close button and a termination signal ----------------------------------------------------
for how in close TERM; do
  start_game
  WIN=$(wait_window)
  wait_swaps 2
  if [[ $how == close ]]; then "$XCLOSE" "$WIN"; else kill -TERM "$GAME_PID"; fi
  wait_exit 10
  [[ "$EXIT_STATUS" == 0 ]] || fail "$how: exit status $EXIT_STATUS"
done

# --- No display at all ----------------------------------------------------------------------------
set +e
ERR=$(cd "$BUILD/data" && env -u DISPLAY -u WAYLAND_DISPLAY "$BUILD/hoopwind" 2>&1 >/dev/null)
STATUS=$?
set -e
[[ "$STATUS" != 0 ]] || fail "without a display the game reported success"
[[ $(printf '%s\n' "$ERR" | wc -l) == 1 ]] || fail "expected one line on standard error, got: $ERR"
echo "without a display: status $STATUS, '$ERR'"

echo "window e2e passed"
