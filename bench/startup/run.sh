#!/usr/bin/env bash
# Prints the time from process start to the visible player window of Quon.exe against a bare Win32
# dialog program built the same way (median of 9 runs each, and the ratio), in a private Wine session.
# On a date when Quon greets with its 8-second splash, both run on a plain Monday (libfaketime).
# usage: bench/startup/run.sh   (builds build/win64 first if the bench or Quon.exe is missing)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BIN=$ROOT/build/win64/bin
if [[ ! -f $BIN/bench_startup.exe || ! -f $BIN/Quon.exe ]]; then
    "$ROOT/scripts/build" win64
fi
cd "$BIN"
# Windows processes started by a faked one inherit the fake date; monotonic clocks stay real.
"$ROOT/scripts/wine-session" -- bash -c '
    if "$WINE" bench_startup.exe --splash-today; then
        exec "$WINE" bench_startup.exe
    fi
    library=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
    [[ -f $library ]] || echo "startup: libfaketime missing, the splash counts too" >&2
    FAKETIME="@2026-12-07 12:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 LD_PRELOAD=$library \
        exec "$WINE" bench_startup.exe'
