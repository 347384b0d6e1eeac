#!/usr/bin/env bash
# Screens of every size: full screen keeps the picture's shape in black bars and matches a window's
# frame; F11 and Alt+Enter switch both ways, replays keep the digest, one motion turns alike.
BUILD="$1"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"
export SDL_AUDIODRIVER=dummy
# off_by REF SHOT GEOMETRY: share of the 4:3 area, boxed down to 640 x 480, off by over 24/255.
off_by() {
  convert "$2" -crop "$3" +repage -filter Box -resize '640x480!' "$WORK/small.ppm"
  convert "$1" "$WORK/small.ppm" -compose difference -composite -separate \
    -evaluate-sequence max -threshold 9.6% -format '%[fx:mean]' info:
}
# frame_shot FRAME SHOT: stops the replay once its digest holds FRAME lines, looks, goes on.
frame_shot() {
  local end=$((SECONDS + 30))
  while (($(wc -l <"$HOOPWIND_DIGEST") < $1)); do
    # Alive and neither stopped nor a zombie; a moment in disk sleep (loading its data) is fine.
    ((SECONDS < end)) && kill -0 "$GAME_PID" 2>/dev/null &&
      ! grep -q '^State:.*[ZXTt]' "/proc/$GAME_PID/status" 2>/dev/null ||
      fail "the replay ended or stalled before frame $1 ($(wc -l <"$HOOPWIND_DIGEST") frames, $(grep '^State' "/proc/$GAME_PID/status" 2>/dev/null)): $(cat "$WORK/game.err")"
  done
  kill -STOP "$GAME_PID"
  screenshot "$2"
  kill -CONT "$GAME_PID"
}
# replay SIZE ARG...: the session's demo replayed on a fresh display, with its digest.
replay() {
  kill -9 "$XVFB_PID"
  start_display "$1x24"
  export HOOPWIND_DIGEST="$WORK/$1.digest"
  : >"$HOOPWIND_DIGEST"
  start_game "$BUILD/data" "${@:2}" --playdemo "$WORK/session.hwd"
  WIN=$(wait_window)
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
}

# A session full screen on 1280 x 800, switched to a window and back twice in play.
start_display 1280x800x24
export HOOPWIND_DIGEST="$WORK/session.digest"
start_game "$BUILD/data" --record "$WORK/session.hwd"
WIN=$(wait_window)
sleep 1
xdotool key 1
sleep 0.5
for keys in F11 alt+Return alt+KP_Enter F11; do
  xdotool key "$keys"
  sleep 0.7
  hold_key Left 0.2
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
  SIZES+="${WIDTH}x$HEIGHT "
done
[[ "$SIZES" == "640x480 1280x800 640x480 1280x800 " ]] || fail "toggled sizes: $SIZES"
xdotool key Escape
wait_exit 10
SHOTS="5 80 $(($(wc -l <"$HOOPWIND_DIGEST") - 3))" # selection, play, and play or game over

# The frames in a 640 x 480 window, then full screen at three sizes (640 x 480 by a mode switch).
for size in 800x600 1920x1080 1280x800 640x480; do
  replay $size $(case $size in 800x600) echo --windowed ;; 640x480) echo --mode-switch ;; esac)
  SW=$((HEIGHT * 4 / 3)) BAR=$(((WIDTH - HEIGHT * 4 / 3) / 2))
  for f in $SHOTS; do
    frame_shot $f "$WORK/shot.ppm"
    if [[ $size == 800x600 ]]; then
      convert "$WORK/shot.ppm" -crop "640x480+$X+$Y" +repage "$WORK/ref$f.ppm"
      continue
    fi
    [[ "${WIDTH}x$HEIGHT+$X+$Y" == "$size+0+0" ]] || fail "on $size the window is ${WIDTH}x$HEIGHT"
    LIT=$(count "$WORK/shot.ppm" "${BAR}x$HEIGHT+0+0" 'r + g + b > 0')
    LIT=$((LIT + $(count "$WORK/shot.ppm" "${BAR}x$HEIGHT+$((BAR + SW))+0" 'r + g + b > 0')))
    ((LIT == 0)) || fail "$LIT lit pixels in the bars on $size, frame $f"
    OFF=$(off_by "$WORK/ref$f.ppm" "$WORK/shot.ppm" "${SW}x$HEIGHT+$BAR+0")
    PLAY=$(($(count "$WORK/ref$f.ppm" 640x40+0+0 'r > 200 and g < 80 and b < 80') > 200))
    echo "$size frame $f (play $PLAY): $OFF of the boxed-down picture is off by over 24/255"
    # Hard edges and unsmoothed textures sampled at 640 x 480 cannot match a finer drawing pixel
    # for pixel (play most); a stretched, shifted or cut picture is far above this.
    awk -v o="$OFF" -v p=$PLAY 'BEGIN { exit !(o <= (p ? 0.2 : 0.04)) }' || fail "$size, $f"
  done
  wait_exit 30
  cmp "$WORK/session.digest" "$HOOPWIND_DIGEST" || fail "the replay on $size differs"
done
! grep FULLSCREEN "$WORK/game.err" || fail "--mode-switch on 640 x 480 asked about a window"
unset HOOPWIND_DIGEST

# One motion of 40 in play turns alike everywhere; tried again, as a loaded machine can lose it.
steer() { # steer SIZE ARG: prints what the pointer read in play, summed
  kill -9 "$XVFB_PID"
  start_display 2560x1440x24
  start_game "$BUILD/data" "$2" --record "$WORK/steer.hwd"
  WIN=$(wait_window)
  xdotool windowsize --sync "$WIN" "${1%x*}" "${1#*x}" windowfocus --sync "$WIN"
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
  xdotool mousemove $((X + (WIDTH < 640 ? WIDTH / 2 : 320))) $((Y + (HEIGHT < 480 ? HEIGHT / 2 : 240)))
  sleep 1
  xdotool key 1
  # No red head-up lines of play (an early catch, or a key lost to the focus change): try again.
  look_for "$WORK/play.ppm" "${WIDTH}x$((HEIGHT / 8))+$X+$Y" 'r > 200 and g < 80 and b < 80' 30 ||
    { xdotool key Escape; wait_exit 10; return 1; }
  sleep 0.5
  xdotool mousemove_relative 40 0
  sleep 1.5
  xdotool key Escape
  wait_exit 10
  python3 -c 'import struct, sys
d, i, s = open(sys.argv[1], "rb").read(), 12, [0, 0]
while i < len(d):
    if d[i] == 3: s = [a + b - c for a, b, c in zip(s, struct.unpack_from("<ii", d, i + 4), (320, 240))]
    i += 3 + struct.unpack_from("<H", d, i + 1)[0]
print(*s)' "$WORK/steer.hwd"
}
for how in 640x480:--windowed 200x150:--windowed 2560x1440:--fullscreen; do
  for try in 1 2 3; do
    DX=none DY=none
    steer "${how%:*}" "${how#*:}" >"$WORK/sums" && read -r DX DY <"$WORK/sums"
    echo "${how%:*}: pointer read +$DX, +$DY in play: a turn of $(awk "BEGIN { print -$DX * 0.12 }") degrees"
    [[ "$DX $DY" == "40 0" ]] && break
  done
  [[ "$DX $DY" == "40 0" ]] || fail "${how%:*}: the motion read as $DX, $DY"
done
echo "screens e2e passed"
