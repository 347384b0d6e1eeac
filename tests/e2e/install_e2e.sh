#!/usr/bin/env bash
# Installs into a temporary prefix, moves the tree, and starts the installed launcher from / under
# Xvfb: it must find its data and reach the team-selection screen, then quit on Escape. The
# package's own checks (desktop entry, icons, manual page) are in scripts/check-package.
BUILD="$1"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_harness.sh"

cmake --install "$BUILD" --prefix "$WORK/prefix" >"$WORK/install.log" || fail "install: $(cat "$WORK/install.log")"
mv "$WORK/prefix" "$WORK/moved"
start_display 640x480x24
export PATH="$WORK/moved/games:$PATH"
(cd / && SDL_AUDIODRIVER=dummy exec hoopwind) >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
wait_window >/dev/null
wait_for "$WORK/select.ppm" 640x480+0+0 'r > 153 and g > 153 and b < 77' 600 # the selection text
hold_key Escape 0.3
wait_exit 10
[[ "$EXIT_STATUS" == 0 ]] || fail "exit status $EXIT_STATUS"
echo "install e2e passed"
