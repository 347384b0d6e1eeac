#!/usr/bin/env bash
# Builds one format's fuzzer and its seed maker, writes the seeds, then fuzzes for the given time.
# Usage: fuzz/run-with-seeds.sh <format> <seconds> <build-dir>, where fuzz/<format>/ holds
# <format>_fuzzer and <format>_make_seeds. The build dir is configured for fuzzing (clang,
# -DHW_FUZZ=ON) when it is not yet. Exits non-zero when the fuzzer finds a crash, leak or
# sanitizer report.
set -euo pipefail

format=${1:?usage: run-with-seeds.sh <format> <seconds> <build-dir>}
seconds=${2:?usage: run-with-seeds.sh <format> <seconds> <build-dir>}
build=${3:?usage: run-with-seeds.sh <format> <seconds> <build-dir>}
repo=$(cd "$(dirname "$0")/.." && pwd)

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  CC=clang CXX=clang++ cmake -S "$repo" -B "$build" -G Ninja -DHW_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target "${format}_fuzzer" "${format}_make_seeds" -j2 >/dev/null

work="$build/fuzz/$format"
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"
"$work/${format}_make_seeds" "$work/seeds"

# New inputs go to corpus/; seeds/ is read only. Crashes land in artifacts/.
"$work/${format}_fuzzer" "$work/corpus" "$work/seeds" \
  -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1
