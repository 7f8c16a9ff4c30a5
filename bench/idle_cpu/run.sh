#!/usr/bin/env bash
# Prints the player's CPU use over 10 s with nothing loaded and with a silent item loaded (timer 5
# refreshing the status line), and the cost of one refresh, in a private Wine session.
# usage: bench/idle_cpu/run.sh   (builds build/win64 first if the bench or Quon.exe is missing)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BIN=$ROOT/build/win64/bin
if [[ ! -f $BIN/bench_idle_cpu.exe || ! -f $BIN/Quon.exe ]]; then
    "$ROOT/scripts/build" win64
fi
WORK=$(mktemp -d /tmp/quon-idle-cpu.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
export QUON_EXE="Z:${BIN//\//\\}\\Quon.exe"
export QUON_ARTIFACTS=$WORK
cd "$BIN"
"$ROOT/scripts/wine-session" -- bash -c '"$WINE" bench_idle_cpu.exe'
