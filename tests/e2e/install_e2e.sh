#!/usr/bin/env bash
# Installs into a temporary prefix, moves the tree, and starts the installed launcher under Xvfb from
# an unrelated working directory: it must reach the team-selection screen with its data, then quit
# on Escape. The package's own checks (validators, lintian, manual page) are in scripts/check-package.
BUILD="$1"
SWAP_LIB="$2"
XCLOSE="$3"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"

PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" || fail "install: $(cat "$WORK/install.log")"

for f in games/hoopwind libexec/hoopwind/hoopwind share/games/hoopwind/times_new1.glf \
         share/games/hoopwind/BG.bmp share/games/hoopwind/mesh/stadium.3ds \
         share/games/hoopwind/Music/music0.mp3 share/applications/org.example.hoopwind.desktop \
         share/metainfo/org.example.hoopwind.metainfo.xml share/man/man6/hoopwind.6.gz \
         share/doc/hoopwind/copyright; do
  [[ -e "$PREFIX/$f" ]] || fail "$f was not installed"
done
for size in 16 32 48 64 128 256; do
  [[ -e "$PREFIX/share/icons/hicolor/${size}x${size}/apps/hoopwind.png" ]] || fail "no $size px icon"
done
# The icons belong to the theme, not to the game's data folder.
[[ ! -e "$PREFIX/share/games/hoopwind/icons" ]] || fail "icons installed into the data folder"
[[ -x "$PREFIX/games/hoopwind" ]] || fail "the launcher is not executable"
grep -q '^Exec=hoopwind$' "$PREFIX/share/applications/org.example.hoopwind.desktop" || fail "desktop entry Exec"

# The tree must work wherever it ends up: play from a moved copy.
mv "$PREFIX" "$WORK/moved"
PREFIX="$WORK/moved"

start_display 640x480x24
export HW_SWAP_LOG="$WORK/swaps"
export SDL_AUDIODRIVER=dummy
(cd / && PATH="$PREFIX/games:$PATH" LD_PRELOAD="$SWAP_LIB" exec hoopwind) >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
WIN=$(wait_window)
wait_swaps 10
shot "$WORK/select.ppm"
# The selection screen: the splash fills the view and yellow text sits over its middle band.
at_least "$(count "$WORK/select.ppm" 640x480+0+0 'r + g + b > 30')" 250000 "lit pixels"
at_least "$(count "$WORK/select.ppm" 640x480+0+0 'r > 153 and g > 153 and b < 77')" 600 "yellow text"
hold_key Escape 0.3
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "exit status $EXIT_STATUS"
echo "install e2e passed"
