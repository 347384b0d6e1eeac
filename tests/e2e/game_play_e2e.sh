#!/usr/bin/env bash
# The real game under Xvfb driven like a player: the selection screen, choosing a team with a
# held key, flying, lights, the player switch with the right button, Escape to quit (status 0);
# the pictures are checked pixel by pixel, the music output is checked for sound, and the frame
# rate in play is measured.
BUILD="$1"
SWAP_LIB="$2"
XCLOSE="$3"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"

# pixels FILE X Y W H KIND: how many pixels of the region (top-left origin) are of that kind.
declare -A KIND=(
  [yellow]='r > 200 and g > 200 and b < 90'
  [red]='r > 200 and g < 80 and b < 80'
  [sky]='abs(r - 217) <= 3 and abs(g - 217) <= 3 and b >= 250'
  [lit]='r + g + b > 30'
)
pixels() { count "$1" "${4}x${5}+${2}+${3}" "${KIND[$6]}"; }

# differing A B X Y W H: pixels of the region whose colour differs noticeably between two shots.
differing() {
  convert "$1" "$2" -compose difference -composite -depth 8 "ppm:$WORK/difference.ppm"
  count "$WORK/difference.ppm" "${5}x${6}+${3}+${4}" 'r + g + b > 40'
}

# brightness FILE: mean of all channels, 0..255, over the lower two thirds (the world, not the
# head-up text).
brightness() {
  convert "$1" -crop 640x320+0+160 +repage -format '%[fx:mean * 255]' info:
}

# in_play FILE: the head-up line and the play sky are on screen (not the game-over screen).
# In play exactly while the red head-up lines show: the selection and game-over screens have none.
# (The sky is not a test of that: a flyer near the stands can fill the view with them.)
in_play() {
  (( $(pixels "$1" 10 8 300 30 red) > 200 ))
}

start_display 640x480x24
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_game
WIN=$(wait_window)
wait_swaps 10
xdotool windowfocus --sync "$WIN" 2>/dev/null || true

# --- The selection screen -------------------------------------------------------------------------
shot "$WORK/select.ppm"
at_least "$(pixels "$WORK/select.ppm" 0 0 640 480 lit)" 290000 "selection screen lit pixels"
at_least "$(pixels "$WORK/select.ppm" 20 195 600 30 yellow)" 800 "prompt line"
at_least "$(pixels "$WORK/select.ppm" 50 258 170 30 yellow)" 200 "choice 1"
at_least "$(pixels "$WORK/select.ppm" 410 258 170 30 yellow)" 200 "choice 2"
at_most "$(pixels "$WORK/select.ppm" 0 330 640 150 yellow)" 20 "yellow below the choices"
echo "selection screen: background and three yellow lines present"

# --- Play: a computer Seeker may end a game within seconds, so each attempt starts a new game -----
# over_again: the game ended under our hands; back to the selection screen for the next attempt.
over_again() {
  echo "attempt $attempt: the game ended during $1; starting another"
  hold_key Return 0.3
  sleep 0.3
}

played=0
for attempt in 1 2 3 4 5 6 7 8; do
  hold_key 2 0.3
  sleep 0.2
  shot "$WORK/play0.ppm"
  in_play "$WORK/play0.ppm" || { over_again "the team choice"; continue; }
  SKY=$(pixels "$WORK/play0.ppm" 0 60 640 200 sky)

  # The right button hands control to the Seeker: the first word of the head-up line changes.
  xdotool mousedown 3; sleep 0.1; xdotool mouseup 3
  sleep 0.2
  shot "$WORK/after_switch.ppm"
  in_play "$WORK/after_switch.ppm" || { over_again "the player switch"; continue; }
  SWITCHED=$(differing "$WORK/play0.ppm" "$WORK/after_switch.ppm" 10 8 90 30)
  # A left click in play is harmless whatever is in reach.
  xdotool mousedown 1; sleep 0.1; xdotool mouseup 1

  # Fly sideways and up: the whole stadium shifts in the view.
  shot "$WORK/before_fly.ppm"
  hold_key Left 0.5
  xdotool keydown KP_8; sleep 0.3; xdotool keyup KP_8
  shot "$WORK/after_fly.ppm"
  in_play "$WORK/after_fly.ppm" || { over_again "the flight"; continue; }
  MOVED=$(differing "$WORK/before_fly.ppm" "$WORK/after_fly.ppm" 0 160 640 320)

  # Lights: brief Tab presses until the world's brightness changes (a held Tab flips every frame,
  # so one press may flip the lights an even number of times).
  BASE=$(brightness "$WORK/after_fly.ppm")
  LIT_CHANGE=0
  for _ in 1 2 3 4 5 6 7 8; do
    xdotool keydown Tab; sleep 0.02; xdotool keyup Tab
    sleep 0.15
    shot "$WORK/lights.ppm"
    in_play "$WORK/lights.ppm" || break
    NOW=$(brightness "$WORK/lights.ppm")
    LIT_CHANGE=$(awk -v a="$BASE" -v b="$NOW" 'BEGIN { d = a - b; if (d < 0) d = -d; printf "%.1f", d }')
    if awk -v d="$LIT_CHANGE" 'BEGIN { exit !(d > 4) }'; then
      break
    fi
  done
  in_play "$WORK/lights.ppm" || { over_again "the lights"; continue; }

  # Frame rate while playing.
  read -r N1 _ T1 < <(swaps)
  sleep 1.5
  read -r N2 _ T2 < <(swaps)
  FPS=$(awk -v n="$((N2 - N1))" -v t1="$T1" -v t2="$T2" 'BEGIN { printf "%.1f", n * 1000.0 / (t2 - t1) }')
  played=1
  break
done
(( played )) || fail "no game stayed in play long enough to be driven"
at_least "$SKY" 500 "sky pixels above the stands at the start of play (the world is drawn)"

echo "frame rate in play: $FPS per second"
# Paced to 60; a shared, busy machine drawing with a software renderer may fall well short.
awk -v f="$FPS" 'BEGIN { exit !(f >= 10) }' || fail "frame rate in play $FPS is below 10"
at_least "$MOVED" 20000 "pixels changed by flying sideways"
awk -v d="$LIT_CHANGE" 'BEGIN { exit !(d > 4) }' || fail "Tab never changed the lighting"
echo "lights toggled: world brightness changed by $LIT_CHANGE"
at_least "$SWITCHED" 60 "head-up pixels changed by the player switch"
echo "flying moved $MOVED pixels; the switch changed $SWITCHED head-up pixels"

# --- Music ------------------------------------------------------------------------------------------
PEAK=$(python3 - "$WORK/audio.raw" <<'PY'
import sys, array
a = array.array("h")
data = open(sys.argv[1], "rb").read()
a.frombytes(data[: len(data) // 2 * 2])
print(max((abs(v) for v in a), default=0), len(data))
PY
)
read -r LOUDEST BYTES <<<"$PEAK"
echo "music output: $BYTES bytes, loudest sample $LOUDEST"
at_least "$LOUDEST" 1000 "loudest music sample"

# --- Escape -----------------------------------------------------------------------------------------
hold_key Escape 0.3
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "Escape: exit status $EXIT_STATUS"
# The disk audio driver announces itself on standard error; nothing else may appear there.
OTHER=$(grep -v -e 'disk i/o audio driver' -e 'Writing to file' "$WORK/game.err" || true)
[[ -z "$OTHER" ]] || fail "unexpected output on standard error: $OTHER"
AFTER=$(stat -c %s "$WORK/audio.raw")
sleep 0.3
[[ "$(stat -c %s "$WORK/audio.raw")" == "$AFTER" ]] || fail "music still playing after exit"

echo "game play e2e passed"
