#!/usr/bin/env bash
# Fuzzes the bitmap decoder for <seconds> using the harness built in <fuzz build dir>; seeds are
# small bitmaps of every form, made by the harness. Non-zero on a finding.
set -euo pipefail
seconds=${1:?usage: run.sh <seconds> <fuzz build dir>}
build=${2:?usage: run.sh <seconds> <fuzz build dir>}
harness="$build/fuzz/image/image_fuzzer"
[[ -x $harness ]] || { echo "no harness at $harness (build target image_fuzzer)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/image_fuzz.XXXXXX")
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
HW_IMAGE_FUZZ_SEEDS="$work/seeds" "$harness"
echo "corpus and artifacts in $work"
"$harness" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$work/corpus" "$work/seeds"
