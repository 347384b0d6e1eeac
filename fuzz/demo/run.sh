#!/usr/bin/env bash
# Builds the demo reader fuzzer and its seeds, then fuzzes for the given number of seconds.
# Usage: fuzz/demo/run.sh <seconds> <build-dir>
# The build dir is configured for fuzzing (clang, -DHW_FUZZ=ON) when it is not yet.
# Exits non-zero when the fuzzer finds a crash, leak or sanitizer report.
set -euo pipefail

seconds=${1:?usage: run.sh <seconds> <build-dir>}
build=${2:?usage: run.sh <seconds> <build-dir>}
repo=$(cd "$(dirname "$0")/../.." && pwd)

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  CC=clang CXX=clang++ cmake -S "$repo" -B "$build" -G Ninja -DHW_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target demo_fuzzer demo_make_seeds -j2 >/dev/null

work="$build/fuzz/demo"
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"
"$work/demo_make_seeds" "$work/seeds"

# New inputs go to corpus/; seeds/ is read only. Crashes land in artifacts/.
"$work/demo_fuzzer" "$work/corpus" "$work/seeds" \
  -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1
