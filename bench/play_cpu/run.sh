#!/usr/bin/env bash
# Makes a 10-second MP3 and prints the CPU time of playing it through the player control and through
# a bare DirectShow player, in a private Wine session. The MP3 is made by bench/make-mp3.sh (sox and
# lame, or python3 with the LAME library).
# usage: bench/play_cpu/run.sh [path to bench_play_cpu.exe]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/win64/bin/bench_play_cpu.exe}")
WORK=$(mktemp -d /tmp/quon-play-cpu.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
"$ROOT/bench/make-mp3.sh" 10 "$WORK/music.mp3"
"$ROOT/scripts/wine-session" -- bash -c '"$WINE" "$1" "$2"' _ "$EXE" "Z:${WORK//\//\\}\\music.mp3"
