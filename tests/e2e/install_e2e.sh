#!/usr/bin/env bash
# Installs into a temporary prefix and starts the installed launcher under Xvfb from an unrelated
# working directory: it must reach the team-selection screen with its data, then quit on Escape.
BUILD="$1"
SWAP_LIB="$2"
XCLOSE="$3"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"

PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" || fail "install: $(cat "$WORK/install.log")"

for f in bin/hoopwind lib/hoopwind/hoopwind share/hoopwind/times_new1.glf share/hoopwind/BG.bmp \
         share/hoopwind/mesh/stadium.3ds share/hoopwind/Music/music0.mp3 \
         share/applications/hoopwind.desktop share/icons/hicolor/128x128/apps/hoopwind.png; do
  [[ -e "$PREFIX/$f" ]] || fail "$f was not installed"
done
[[ -x "$PREFIX/bin/hoopwind" ]] || fail "the launcher is not executable"
grep -q '^Exec=hoopwind$' "$PREFIX/share/applications/hoopwind.desktop" || fail "desktop entry Exec"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$PREFIX/share/applications/hoopwind.desktop" || fail "desktop entry invalid"
fi

start_display 640x480x24
export HW_SWAP_LOG="$WORK/swaps"
export SDL_AUDIODRIVER=dummy
(cd / && PATH="$PREFIX/bin:$PATH" LD_PRELOAD="$SWAP_LIB" exec hoopwind) >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
WIN=$(wait_window)
wait_swaps 10
screenshot "$WORK/select.png"
# The selection screen: the splash fills the view and yellow text sits over its middle band.
YELLOW=$(convert "$WORK/select.png" -fx '(r>0.6 && g>0.6 && b<0.3) ? 1 : 0' -format '%[fx:mean]' info:)
echo "yellow text coverage: $YELLOW"
awk -v y="$YELLOW" 'BEGIN { exit !(y > 0.002) }' || fail "no selection text on screen"
awk -v m="$(mean_brightness "$WORK/select.png")" 'BEGIN { exit !(m > 0.05) }' || fail "black screen"

hold_key Escape 0.3
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "exit status $EXIT_STATUS"
echo "install e2e passed"
