# Shared by scripts/play and scripts/test: where the build trees live and how to configure them.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${HW_BUILD_DIR:-$ROOT/build}"
JOBS="${HW_JOBS:-$(nproc)}"

configure_main() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}
