#!/usr/bin/env bash
# Fuzzes the font parsers for <seconds> using the harness built in <fuzz build dir>; non-zero on a finding.
set -euo pipefail
seconds=${1:?usage: run.sh <seconds> <fuzz build dir>}
build=${2:?usage: run.sh <seconds> <fuzz build dir>}
harness="$build/fuzz/font/font_fuzz"
[[ -x $harness ]] || { echo "no harness at $harness (build target font_fuzz)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/font_fuzz.XXXXXX")
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
HW_FONT_FUZZ_SEEDS="$work/seeds" "$harness"
echo "seeds: $(ls "$work/seeds" | wc -l) files; corpus, artifacts in $work"
# Undefined behaviour counts as a finding, not just a printed warning.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"$harness" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$work/corpus" "$work/seeds"
