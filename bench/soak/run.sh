#!/usr/bin/env bash
# Runs the player with the ticker shown and a short list repeated for 10 minutes (QUON_SOAK_SECONDS or
# --seconds N to change it) in a private Wine session, and prints its GDI object counts and memory at
# the start, each minute and at the end. The Quon.exe it runs is a counter build (QUON_GDI_COUNTERS,
# in build/soak): it answers the bench with its GDI counters; other builds give no such answer.
# With --long-item it plays one MP3 a minute longer than the run instead (made by bench/make-mp3.sh):
# the memory of an item that plays for a long time. --beside-bare (with --long-item) plays the same MP3
# in a bare DirectShow player beside it and prints that player's memory too.
# usage: bench/soak/run.sh [--seconds N] [--long-item [--beside-bare]]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
DIR=$ROOT/build/soak
LOG=$ROOT/build/soak.log
mkdir -p "$ROOT/build"
exec {lock}>"$ROOT/build/soak.lock"
flock "$lock"
if ! { cmake -S "$ROOT" -B "$DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64.cmake" \
           -DCMAKE_CXX_FLAGS=-DQUON_GDI_COUNTERS &&
       cmake --build "$DIR" -j 2 --target Quon Media bench_soak bench_play_cpu; } >"$LOG" 2>&1; then
    tail -n 40 "$LOG" >&2
    echo "soak: build FAILED (log: $LOG)" >&2
    exit 1
fi
BIN=$DIR/bin
WORK=$(mktemp -d /tmp/quon-soak.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
args=()
seconds=${QUON_SOAK_SECONDS:-600}
long_item=0
while (($#)); do
    case $1 in
        --long-item) long_item=1 ;;
        --seconds) seconds=${2:?--seconds needs a number}; args+=("$1" "$2"); shift ;;
        *) args+=("$1") ;;
    esac
    shift
done
if ((long_item)); then
    "$ROOT/bench/make-mp3.sh" $((seconds + 60)) "$WORK/long.mp3"
    args+=(--item "Z:${WORK//\//\\}\\long.mp3")
fi
export QUON_EXE="Z:${BIN//\//\\}\\Quon.exe"
export QUON_ARTIFACTS=$WORK
cd "$BIN"
"$ROOT/scripts/wine-session" -- bash -c '"$WINE" bench_soak.exe "$@"' _ ${args[@]+"${args[@]}"}
