#!/usr/bin/env bash
# Starts Quon.exe in a private Wine session and prints how long its user-interface thread leaves
# pings unanswered while files are opened and while items start and change.
# usage: bench/ui_latency/run.sh   (builds build/win64 first if the bench or Quon.exe is missing)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BIN=$ROOT/build/win64/bin
if [[ ! -f $BIN/bench_ui_latency.exe || ! -f $BIN/Quon.exe ]]; then
    "$ROOT/scripts/build" win64
fi
cd "$BIN"
"$ROOT/scripts/wine-session" -- bash -c 'exec "$WINE" bench_ui_latency.exe'
