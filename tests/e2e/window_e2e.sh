#!/usr/bin/env bash
# The real binary under Xvfb: a 640 x 480 window with a picture, frames paced near 60 a second,
# and a clean exit (status 0) on Escape, on the window's close button and on a termination signal.
BUILD="$1"
SWAP_LIB="$2"
XCLOSE="$3"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"

start_display 640x480x24

# --- Escape -------------------------------------------------------------------------------------
start_game
WIN=$(wait_window)
wait_swaps 2
read -r _ FIRST _ < <(swaps)
echo "start to first frame: $(( ${FIRST%.*} - START_MS )) ms"

eval "$(xdotool getwindowgeometry --shell "$WIN")"
[[ "$WIDTH" == 640 && "$HEIGHT" == 480 ]] || fail "window is ${WIDTH}x${HEIGHT}, not 640x480"

# Frame pacing over three seconds.
read -r N1 _ T1 < <(swaps)
sleep 3
read -r N2 _ T2 < <(swaps)
FPS=$(awk -v n="$((N2 - N1))" -v t1="$T1" -v t2="$T2" 'BEGIN { printf "%.1f", n * 1000.0 / (t2 - t1) }')
echo "frame rate: $FPS per second"
awk -v f="$FPS" 'BEGIN { exit !(f >= 50 && f <= 66) }' || fail "frame rate $FPS is not near 60"

screenshot "$WORK/select.png"
MEAN=$(mean_brightness "$WORK/select.png")
echo "selection screen mean brightness: $MEAN"
awk -v m="$MEAN" 'BEGIN { exit !(m > 0.05) }' || fail "the screen is black"

xdotool windowfocus --sync "$WIN" 2>/dev/null || true
hold_key Escape 0.3
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "Escape: exit status $EXIT_STATUS"
[[ ! -s "$WORK/game.err" ]] || fail "unexpected output on standard error: $(cat "$WORK/game.err")"

# --- The close button ---------------------------------------------------------------------------
start_game
WIN=$(wait_window)
wait_swaps 2
"$XCLOSE" "$WIN"
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "close button: exit status $EXIT_STATUS"

# --- Termination signal -------------------------------------------------------------------------
start_game
wait_window >/dev/null
wait_swaps 2
kill -TERM "$GAME_PID"
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "SIGTERM: exit status $EXIT_STATUS"

# --- No display at all --------------------------------------------------------------------------
set +e
ERR=$(cd "$BUILD/data" && env -u DISPLAY -u WAYLAND_DISPLAY "$BUILD/hoopwind" 2>&1 >/dev/null)
STATUS=$?
set -e
[[ "$STATUS" != 0 ]] || fail "without a display the game reported success"
[[ $(printf '%s\n' "$ERR" | wc -l) == 1 ]] || fail "expected one line on standard error, got: $ERR"
echo "without a display: status $STATUS, '$ERR'"

echo "window e2e passed"
