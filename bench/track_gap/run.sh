#!/usr/bin/env bash
# Plays lists of tones through the player control in a private Wine session while the session records
# its sound sink, then prints the silence at the joins of items (one format, sample rates in turn,
# both again with one core kept busy, one format with both cores busy), how much of each item is
# missing, and how soon a volume change and a stop are heard. With --windows VERSION Wine tells the
# bench it runs on that Windows (Wine's names: winxp for a 32-bit bench, winxp64 for a 64-bit one,
# win10...): the volume of a system before Vista is the program's own samples, not the device's.
# The 64-bit (test) build also plays the list as FLAC through Media Foundation's source reader, idle
# and with one core busy.
# usage: bench/track_gap/run.sh [--windows VERSION] [path to bench_track_gap.exe]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
version=""
if [[ ${1:-} == --windows ]]; then
    version=${2:?--windows needs a version}
    shift 2
fi
EXE=$(realpath "${1:-$ROOT/build/win64/bin/bench_track_gap.exe}")
RECORD=$(mktemp -d /tmp/quon-track-gap.XXXXXX)
trap 'rm -rf "$RECORD"' EXIT
# The version is the prefix's setting for the bench's file name; what was there before is put back.
# shellcheck disable=SC2016  # the session's shell expands these
"$ROOT/scripts/wine-session" --record "$RECORD/sink.wav" -- bash -c '
    key="HKCU\\Software\\Wine\\AppDefaults\\$(basename "$1")"
    if [[ -n $2 ]]; then
        had_key=0
        "$WINE" reg query "$key" >/dev/null 2>&1 && had_key=1
        before=$("$WINE" reg query "$key" /v Version 2>/dev/null | tr -d "\r" |
                 awk "\$1 == \"Version\" { print \$3 }") || true
        "$WINE" reg add "$key" /v Version /d "$2" /f >/dev/null
    fi
    # The FLAC list: the bench'"'"'s pitches (400 Hz up by 250 Hz) and lengths (600 ms) at its level.
    mkdir -p "$3"
    for i in $(seq 1 12); do
        gst-launch-1.0 -q audiotestsrc freq=$((400 + 250 * (i - 1))) volume=0.4 num-buffers=60 \
            samplesperbuffer=441 ! audio/x-raw,rate=44100,channels=2,format=S16LE ! audioconvert ! \
            flacenc ! filesink location="$3/flac$i.flac" || exit 1
    done
    export QUON_TRACK_GAP_FLAC=$3
    rc=0
    "$WINE" "$1" || rc=$?
    if [[ -n $2 && -n $before ]]; then
        "$WINE" reg add "$key" /v Version /d "$before" /f >/dev/null
    elif [[ -n $2 ]] && ((had_key)); then
        "$WINE" reg delete "$key" /v Version /f >/dev/null
    elif [[ -n $2 ]]; then
        "$WINE" reg delete "$key" /f >/dev/null
    fi
    exit $rc' _ "$EXE" "$version" "$RECORD/flac"
