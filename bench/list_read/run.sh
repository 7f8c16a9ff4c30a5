#!/usr/bin/env bash
# Makes 1,000 album folders of 100 empty .wav files each and prints how fast play lists of their
# 100,000 entries are read, in a private Wine session.
# usage: bench/list_read/run.sh [path to bench_list_read.exe]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/win64/bin/bench_list_read.exe}")
WORK=$(mktemp -d /tmp/quon-list-bench.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
for album in $(seq -f '%04g' 0 999); do
    mkdir "$WORK/Album $album"
    (cd "$WORK/Album $album" && touch $(seq -f 'Track%03g.wav' 0 99))
done
"$ROOT/scripts/wine-session" -- bash -c '"$WINE" "$1" "$2"' _ "$EXE" "Z:${WORK//\//\\}"
