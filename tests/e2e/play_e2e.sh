#!/usr/bin/env bash
# Playing as a person does where full screen is refused: the command line, a session from / replayed
# under Xvfb and headless to the same digests, the ways to quit, no display, the tree installed.
BUILD="$1"
XCLOSE="$2"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"

"$BUILD/hoopwind" --volume=0 --volume 100 --help >"$WORK/help" || fail "--help: status $?"
grep -q -- '--playdemo FILE' "$WORK/help" || fail "--help: $(cat "$WORK/help")"
for bad in --frobnicate "--volume 101" "--volume -1" "--volume abc" --volume=1000; do
  STATUS=0
  "$BUILD/hoopwind" $bad >"$WORK/out" 2>"$WORK/bad" || STATUS=$?
  [[ $STATUS == 2 && ! -s "$WORK/out" ]] || fail "$bad: status $STATUS"
  grep -qx "hoopwind: .*'${bad##*[ =]}'.* (hoopwind --help lists the options)" "$WORK/bad" ||
    fail "$bad: $(cat "$WORK/bad")"
done
STATUS=0
(cd "$BUILD/data" && env -u DISPLAY -u WAYLAND_DISPLAY "$BUILD/hoopwind") 2>"$WORK/err" || STATUS=$?
[[ $STATUS != 0 && $(wc -l <"$WORK/err") == 1 ]] || fail "no display: status $STATUS, $(cat "$WORK/err")"

YELLOW='r > 153 and g > 153 and b < 77'
RED='r > 200 and g < 80 and b < 80'
SKY='abs(r - 217) <= 4 and abs(g - 217) <= 4 and b >= 248'
tap() { xdotool keydown "$1"; sleep 0.01; xdotool keyup "$1"; }
pointer_at() { # pointer_at X Y: moves the pointer there and prints where it really went
  xdotool mousemove "$1" "$2"; sleep 0.2
  eval "$(xdotool getmouselocation --shell)"; echo "$X $Y"
}

# A session from /, recorded, with music.
start_display 800x600x24
export HOOPWIND_DIGEST="$WORK/record.digest" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_game / --mode-switch --record="$WORK/session.hwd"
# No 640 x 480 mode: the question is a box (answered Yes, with Return) or a line on standard error.
for _ in $(seq 1 100); do
  BOX=$(xwininfo -root -tree | awk '/"FULLSCREEN Error"/ { print $1; exit }')
  [[ -n "$BOX" ]] && sleep 0.3 && xdotool windowfocus "$BOX" key Return && break
  grep -q 'FULLSCREEN Error' "$WORK/game.err" && break
  sleep 0.1
done
[[ -n "$BOX" ]] || grep -q 'FULLSCREEN Error' "$WORK/game.err" || fail "no question about a window"
WIN=$(wait_window)
xdotool windowfocus --sync "$WIN" # as a window manager gives it
eval "$(xdotool getwindowgeometry --shell "$WIN")"
[[ "$WIDTH" == 640 && "$HEIGHT" == 480 ]] || fail "window is ${WIDTH}x${HEIGHT}"
INSIDE="640x480+$X+$Y"
wait_for "$WORK/select.ppm" "$INSIDE" "$YELLOW" 600 # selection text, drawn from /
# Frames a second: the digest gets a line a frame, counted a second apart.
lines_now() { echo "$(wc -l <"$1") $(date +%s%N)"; }
read -r L1 T1 < <(lines_now "$HOOPWIND_DIGEST")
sleep 1
read -r L2 T2 < <(lines_now "$HOOPWIND_DIGEST")
FPS=$(((L2 - L1) * 1000000000 / (T2 - T1)))
((FPS >= 50 && FPS <= 66)) || fail "frame rate $FPS is not near 60"

# In play while the red head-up lines show; the first frame of play may take a while to draw.
in_play() { (($(count "$1" "$HUD" "$RED") >= 250)); }
HUD="300x30+$((X + 10))+$((Y + 8))"
tap 2
wait_for "$WORK/play.ppm" "$HUD" "$RED" 250 # a 10 ms tap of 2 starts the game
read -r PX PY < <(pointer_at 790 590)
screenshot "$WORK/now.ppm" # a Seeker may catch the Flicket at once: then there was no play to look at
if in_play "$WORK/now.ppm" && ((PX >= X + 640 || PY >= Y + 480)); then
  fail "the pointer left the window in play ($PX, $PY)"
fi
SKYPX=$(count "$WORK/play.ppm" "$INSIDE" "$SKY")
((SKYPX <= 150000)) || fail "$SKYPX sky pixels in play: the stadium was not drawn"
hold_key Left 0.4
# Right, left, right: back on the Chaser, so both sides' Seekers hunt the Flicket.
xdotool mousemove_relative 25 10 click 3 click 1 click 3
hold_key KP_8 0.3
tap Tab
# A computer Seeker catches the Flicket sooner or later: the red head-up lines of play go.
for _ in $(seq 1 120); do
  screenshot "$WORK/now.ppm"
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
# Besides the refused full screen only the disk audio driver speaks on standard error, as ours.
OTHER=$(grep -v -e '^hoopwind: .*disk i/o audio driver' -e '^hoopwind: .*Writing to file' \
  -e '^hoopwind: FULLSCREEN Error: .* by Your Video Card.  Use Windowed mode instead?$' "$WORK/game.err" || true)
[[ -z "$OTHER" ]] || fail "unexpected output on standard error: $OTHER"
loudest() { python3 -c 'import sys, array; a = array.array("h"); d = open(sys.argv[1], "rb").read()
a.frombytes(d[: len(d) // 2 * 2]); print(max((abs(v) for v in a), default=-1))' "$1"; }
LOUDEST=$(loudest "$WORK/audio.raw")
((LOUDEST >= 1000)) || fail "the loudest music sample is $LOUDEST"
AFTER=$(stat -c %s "$WORK/audio.raw")
sleep 0.3
[[ "$(stat -c %s "$WORK/audio.raw")" == "$AFTER" ]] || fail "music still playing after exit"
FRAMES=$(wc -l <"$WORK/record.digest")
echo "recorded $FRAMES frames at $FPS a second: team choice, flight, clicks, a catch, a restart, Escape"

export HOOPWIND_DIGEST="$WORK/replay.digest" SDL_DISKAUDIOFILE="$WORK/quiet.raw"
start_game / --timedemo "$WORK/session.hwd" --volume=0
wait_exit 120
[[ "$EXIT_STATUS" == 0 ]] || fail "--timedemo: exit status $EXIT_STATUS"
[[ "$(loudest "$WORK/quiet.raw")" == 0 ]] || fail "music heard at --volume 0"
export SDL_AUDIODRIVER=dummy
LINE=$(cat "$WORK/game.out")
[[ "$LINE" =~ ^$FRAMES\ frames,\ [0-9.]+\ seconds,\ [0-9.]+\ fps$ ]] || fail "timedemo: '$LINE'"
cmp "$WORK/record.digest" "$WORK/replay.digest" || fail "the replay under Xvfb differs"
export HOOPWIND_DIGEST="$WORK/headless.digest"
(cd "$BUILD/data" && "$BUILD/tests/platform/hoopwind_headless" --playdemo "$WORK/session.hwd") ||
  fail "headless replay: status $?"
cmp "$WORK/record.digest" "$WORK/headless.digest" || fail "the headless replay differs"
unset HOOPWIND_DIGEST
echo "replayed under Xvfb ($LINE) and headless: the same digest in all $FRAMES frames"

for how in close TERM; do
  start_game
  WIN=$(wait_window)
  if [[ $how == close ]]; then "$XCLOSE" "$WIN"; else kill -TERM "$GAME_PID"; fi
  wait_exit 10
  [[ "$EXIT_STATUS" == 0 ]] || fail "$how: exit status $EXIT_STATUS"
done

head -c $(($(stat -c %s "$WORK/session.hwd") / 2)) "$WORK/session.hwd" >"$WORK/cut.hwd"
for bad in "$WORK/cut.hwd" /etc/hostname "$WORK/missing.hwd"; do
  STATUS=0
  "$BUILD/hoopwind" --playdemo "$bad" >/dev/null 2>"$WORK/err" || STATUS=$?
  [[ $STATUS == 1 && $(wc -l <"$WORK/err") == 1 ]] || fail "$bad: status $STATUS, $(cat "$WORK/err")"
done
# Installed, moved, and played from / with the launcher: it finds its data.
cmake --install "$BUILD" --prefix "$WORK/prefix" >"$WORK/install.log" || fail "install: $(cat "$WORK/install.log")"
mv "$WORK/prefix" "$WORK/moved"
STATUS=0 # a demo named from the caller's folder is found there, though the game runs in its data
(cd "$WORK" && "$WORK/moved/games/hoopwind" --playdemo cut.hwd) 2>"$WORK/err" || STATUS=$?
[[ $STATUS == 1 ]] && grep -qF "hoopwind: $WORK/cut.hwd: " "$WORK/err" || fail "launcher: $(cat "$WORK/err")"
(cd / && PATH="$WORK/moved/games:$PATH" exec hoopwind) >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
WIN=$(wait_window)
eval "$(xdotool getwindowgeometry --shell "$WIN")"
wait_for "$WORK/select.ppm" "640x480+$X+$Y" "$YELLOW" 600 # the selection text
"$XCLOSE" "$WIN"
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "installed game: exit status $EXIT_STATUS"
echo "play e2e passed"
