#!/usr/bin/env bash
# Plays the tone list through the player control in a private Wine session while the session records
# its sound sink, then prints the gap between items and how much of each item is missing.
# usage: bench/track_gap/run.sh [path to bench_track_gap.exe]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/win64/bin/bench_track_gap.exe}")
RECORD=$(mktemp -d /tmp/quon-track-gap.XXXXXX)
trap 'rm -rf "$RECORD"' EXIT
"$ROOT/scripts/wine-session" --record "$RECORD/sink.wav" -- bash -c '"$WINE" "$1"' _ "$EXE"
