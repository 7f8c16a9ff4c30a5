#!/usr/bin/env bash
# Makes a 10-second MP3 and prints the CPU time of playing it through the player control and through
# a bare DirectShow player, in a private Wine session. Needs sox and lame (apt-get install lame).
# usage: bench/play_cpu/run.sh [path to bench_play_cpu.exe]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/win64/bin/bench_play_cpu.exe}")
for tool in sox lame; do
    command -v "$tool" >/dev/null ||
        { echo "play_cpu: $tool is missing (apt-get install $tool)" >&2; exit 1; }
done
WORK=$(mktemp -d /tmp/quon-play-cpu.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
# Two voices sweeping through the range, so that the encoder has something to code.
sox -n -r 44100 -c 2 -b 16 "$WORK/music.wav" synth 10 sine 220-1760 sine 330-2640 vol 0.4
lame --quiet -b 128 "$WORK/music.wav" "$WORK/music.mp3"
"$ROOT/scripts/wine-session" -- bash -c '"$WINE" "$1" "$2"' _ "$EXE" "Z:${WORK//\//\\}\\music.mp3"
