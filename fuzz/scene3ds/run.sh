#!/usr/bin/env bash
# Fuzzes the scene database for <seconds>, with seeds from its own seed maker.
# Usage: fuzz/scene3ds/run.sh <seconds> <build-dir>
exec "$(dirname "$0")/../run-with-seeds.sh" scene3ds "$@"
