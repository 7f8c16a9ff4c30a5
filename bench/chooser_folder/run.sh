#!/usr/bin/env bash
# Makes a folder of 20,000 files and prints how fast the chooser lists it against a bare find loop,
# in a private Wine session. Quon.exe must sit beside the bench: the dialog's resources are read from it.
# usage: bench/chooser_folder/run.sh [path to bench_chooser_folder.exe]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/win64/bin/bench_chooser_folder.exe}")
WORK=$(mktemp -d /tmp/quon-chooser-bench.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/songs"
(cd "$WORK/songs" && seq -f '%05g 流行歌曲 track.mp3' 0 19999 | xargs -d '\n' touch)
"$ROOT/scripts/wine-session" -- bash -c '"$WINE" "$1" "$2"' _ "$EXE" "Z:${WORK//\//\\}\\songs"
