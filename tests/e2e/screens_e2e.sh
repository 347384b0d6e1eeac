#!/usr/bin/env bash
# Screens of every size: the default start covers the display, the picture keeps its shape in
# black bars and, boxed down to 640 x 480, matches a 640 x 480 window's frame; --mode-switch takes
# a 640 x 480 display full screen; F11 and Alt+Enter switch both ways in play without touching
# the digest; one pointer motion turns alike at every size.
BUILD="$1"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"
KEEP="${KEEP:-}"
YELLOW='r > 153 and g > 153 and b < 77'
export SDL_AUDIODRIVER=dummy

# off_by REF.ppm SHOT.ppm GEOMETRY: share of pixels of the 4:3 area, boxed down to 640 x 480, more
# than 24/255 away from the reference in some channel.
off_by() {
  convert "$2" -crop "$3" +repage -filter Box -resize '640x480!' "$WORK/small.ppm"
  convert "$1" "$WORK/small.ppm" -compose difference -composite -separate \
    -evaluate-sequence max -threshold 9.6% -format '%[fx:mean]' info:
}
# frame_shot DIGEST FRAME SHOT: stops the replay once its digest holds FRAME lines, looks, goes on.
frame_shot() {
  while (($(wc -l <"$1" 2>/dev/null || echo 0) < $2)); do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the replay ended before frame $2"
    sleep 0.002
  done
  kill -STOP "$GAME_PID"
  screenshot "$3"
  kill -CONT "$GAME_PID"
}
# headings DEMO: the pointer's sums the game read in play, and the heading they turned (degrees).
headings() {
  python3 - "$1" <<'PY'
import struct, sys
d = open(sys.argv[1], "rb").read()
i, dx, dy = 12, 0, 0
while i < len(d):
    t, n = d[i], struct.unpack_from("<H", d, i + 1)[0]
    if t == 3:
        _, x, y = struct.unpack_from("<Bii", d, i + 3)
        dx, dy = dx + x - 320, dy + y - 240
    i += 3 + n
print(dx, dy, -dx * 0.12)
PY
}

# The reference: a short session in a 640 x 480 window, with frames 5 (selection) and 150 (play).
start_display 800x600x24
export HOOPWIND_DIGEST="$WORK/ref.digest"
start_game "$BUILD/data" --windowed --record "$WORK/ref.hwd"
WIN=$(wait_window)
sleep 1.5
xdotool key 1
sleep 2
xdotool key Escape
wait_exit 10
kill -9 "$XVFB_PID"
start_display 800x600x24
start_game "$BUILD/data" --windowed --playdemo "$WORK/ref.hwd"
WIN=$(wait_window)
eval "$(xdotool getwindowgeometry --shell "$WIN")"
for f in 5 150; do
  frame_shot "$HOOPWIND_DIGEST" $f "$WORK/shot.ppm"
  convert "$WORK/shot.ppm" -crop "640x480+$X+$Y" +repage "$WORK/ref$f.ppm"
done
wait_exit 20
kill -9 "$XVFB_PID"

for size in 1920x1080 1280x800 640x480; do
  start_display "${size}x24"
  export HOOPWIND_DIGEST="$WORK/$size.digest"
  start_game "$BUILD/data" --playdemo "$WORK/ref.hwd"
  WIN=$(wait_window)
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
  [[ "${WIDTH}x$HEIGHT" == "$size" ]] || fail "on $size the window is ${WIDTH}x$HEIGHT"
  SW=$((HEIGHT * 4 / 3))
  BAR=$(((WIDTH - SW) / 2))
  for f in 5 150; do
    frame_shot "$HOOPWIND_DIGEST" $f "$WORK/shot.ppm"
    if ((BAR > 0)); then
      LIT=$(($(count "$WORK/shot.ppm" "${BAR}x$HEIGHT+0+0" 'r + g + b > 0') + \
        $(count "$WORK/shot.ppm" "${BAR}x$HEIGHT+$((BAR + SW))+0" 'r + g + b > 0')))
      ((LIT == 0)) || fail "$LIT lit pixels in the bars on $size, frame $f"
    fi
    OFF=$(off_by "$WORK/ref$f.ppm" "$WORK/shot.ppm" "${SW}x$HEIGHT+$BAR+0")
    [[ -n "$KEEP" ]] && cp "$WORK/shot.ppm" "$KEEP/$size-$f.ppm" && cp "$WORK/ref$f.ppm" "$WORK/small.ppm" "$KEEP/"
    echo "$size frame $f: $OFF of the boxed-down picture is off by more than 24/255"
    # Hard edges and unsmoothed textures sampled at 640 x 480 cannot match a finer drawing pixel
    # for pixel (play most); a stretched, shifted or cut picture is far above this.
    awk -v o="$OFF" -v f=$f 'BEGIN { exit !(o <= (f == 5 ? 0.04 : 0.2)) }' ||
      fail "$size frame $f differs from the window's"
  done
  wait_exit 20
  kill -9 "$XVFB_PID"
done
unset HOOPWIND_DIGEST

# The display's own 640 x 480 mode, switched to: full screen as asked, no question.
start_display 640x480x24
start_game "$BUILD/data" --mode-switch
WIN=$(wait_window)
eval "$(xdotool getwindowgeometry --shell "$WIN")"
[[ "$WIDTH $HEIGHT $X $Y" == "640 480 0 0" ]] || fail "--mode-switch: ${WIDTH}x$HEIGHT+$X+$Y"
wait_for "$WORK/select.ppm" 640x480+0+0 "$YELLOW" 600
xdotool key Escape
wait_exit 10
grep -q FULLSCREEN "$WORK/game.err" && fail "--mode-switch on 640 x 480 asked about a window"
kill -9 "$XVFB_PID"

# Toggles in play, recorded: the window changes both ways; a window replay has the same digest.
start_display 1280x800x24
export HOOPWIND_DIGEST="$WORK/toggled.digest"
start_game "$BUILD/data" --record "$WORK/toggled.hwd"
WIN=$(wait_window)
sleep 1
xdotool key 1
sleep 0.5
for keys in F11 alt+Return alt+KP_Enter F11; do
  xdotool key "$keys"
  sleep 0.7
  hold_key Left 0.2
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
  echo "after $keys: ${WIDTH}x$HEIGHT"
  SIZES+="${WIDTH}x$HEIGHT "
done
[[ "$SIZES" == "640x480 1280x800 640x480 1280x800 " ]] || fail "toggled sizes: $SIZES"
xdotool key Escape
wait_exit 10
export HOOPWIND_DIGEST="$WORK/replayed.digest"
start_game "$BUILD/data" --windowed --timedemo "$WORK/toggled.hwd"
wait_exit 60
cmp "$WORK/toggled.digest" "$WORK/replayed.digest" || fail "the toggled session replays differently"
unset HOOPWIND_DIGEST
kill -9 "$XVFB_PID"

# One motion of 40 to the right, and none: the same turn in every window and full screen.
for how in 640x480:--windowed 200x150:--windowed 2560x1440:--fullscreen; do
  size=${how%%:*}
  start_display 2560x1440x24
  start_game "$BUILD/data" "${how#*:}" --record "$WORK/steer.hwd"
  WIN=$(wait_window)
  xdotool windowsize --sync "$WIN" "${size%x*}" "${size#*x}"
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
  xdotool mousemove $((X + 320)) $((Y + 240)) # where the game puts it, so play starts still
  sleep 1
  xdotool key 1
  sleep 2 # in play, past the first look, which never turns
  xdotool mousemove_relative 40 0
  sleep 0.5
  xdotool key Escape
  wait_exit 10
  read -r DX DY TURN < <(headings "$WORK/steer.hwd")
  echo "$size: pointer read +$DX, +$DY in play: a turn of $TURN degrees"
  [[ "$DX $DY" == "40 0" ]] || fail "$size: the motion read as $DX, $DY"
  kill -9 "$XVFB_PID"
done
echo "screens e2e passed"
