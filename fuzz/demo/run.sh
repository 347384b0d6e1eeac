#!/usr/bin/env bash
# Fuzzes the demo reader for <seconds>, with seeds from its own seed maker.
# Usage: fuzz/demo/run.sh <seconds> <build-dir>
exec "$(dirname "$0")/../run-with-seeds.sh" demo "$@"
