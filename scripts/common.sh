# Shared by scripts/play and scripts/test: where the build trees live and how to configure them.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${HW_BUILD_DIR:-$ROOT/build}"
JOBS="${HW_JOBS:-$(nproc)}"

configure_main() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

# Starts a named stage, first printing how long the previous one took.
STAGE_NAME=""
STAGE_START=$SECONDS
stage() {
  local now=$SECONDS
  if [[ -n "$STAGE_NAME" ]]; then
    printf '== %s took %d min %02d s\n' "$STAGE_NAME" $(((now - STAGE_START) / 60)) $(((now - STAGE_START) % 60))
  fi
  STAGE_NAME="$1"
  STAGE_START=$now
  echo "== $1 $(date +%T)"
}

# The test executables of a configured tree (every target named *_tests).
unit_test_targets() {
  cmake --build "$1" --target help | sed -n 's/^\([A-Za-z0-9_]*_tests\): .*/\1/p' | sort -u
}
