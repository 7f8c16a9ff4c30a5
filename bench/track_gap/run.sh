#!/usr/bin/env bash
# Plays lists of tones through the player control in a private Wine session while the session records
# its sound sink, then prints the silence at the joins of items (one format, sample rates in turn,
# both again with one core kept busy, one format with both cores busy), how much of each item is
# missing, and how soon a volume change and a stop are heard.
# usage: bench/track_gap/run.sh [path to bench_track_gap.exe]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/win64/bin/bench_track_gap.exe}")
RECORD=$(mktemp -d /tmp/quon-track-gap.XXXXXX)
trap 'rm -rf "$RECORD"' EXIT
"$ROOT/scripts/wine-session" --record "$RECORD/sink.wav" -- bash -c '"$WINE" "$1"' _ "$EXE"
