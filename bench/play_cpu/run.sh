#!/usr/bin/env bash
# Makes a 10-second MP3 and prints the CPU time of playing it through the player control and through
# a bare DirectShow player, in a private Wine session. Needs sox and lame (apt-get install lame), or
# python3 with the LAME library (libmp3lame0) when the lame program is missing.
# usage: bench/play_cpu/run.sh [path to bench_play_cpu.exe]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/win64/bin/bench_play_cpu.exe}")
command -v sox >/dev/null || { echo "play_cpu: sox is missing (apt-get install sox)" >&2; exit 1; }
WORK=$(mktemp -d /tmp/quon-play-cpu.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
# Two voices sweeping through the range, so that the encoder has something to code.
sox -n -r 44100 -c 2 -b 16 "$WORK/music.wav" synth 10 sine 220-1760 sine 330-2640 vol 0.4
if command -v lame >/dev/null; then
    lame --quiet -b 128 "$WORK/music.wav" "$WORK/music.mp3"
else
    python3 - "$WORK/music.wav" "$WORK/music.mp3" <<'PY' ||
import ctypes, sys, wave
lame = ctypes.CDLL("libmp3lame.so.0")
lame.lame_init.restype = ctypes.c_void_p
for name in ("lame_set_in_samplerate", "lame_set_num_channels", "lame_set_brate", "lame_init_params",
             "lame_encode_buffer_interleaved", "lame_encode_flush", "lame_close"):
    getattr(lame, name).argtypes = None
flags = ctypes.c_void_p(lame.lame_init())
source = wave.open(sys.argv[1])
lame.lame_set_in_samplerate(flags, source.getframerate())
lame.lame_set_num_channels(flags, source.getnchannels())
lame.lame_set_brate(flags, 128)
lame.lame_init_params(flags)
frames = source.getnframes()
pcm = source.readframes(frames)
out = ctypes.create_string_buffer(len(pcm) // 2 + 7200)
size = lame.lame_encode_buffer_interleaved(flags, ctypes.c_char_p(pcm), frames, out, len(out))
tail = ctypes.create_string_buffer(7200)
rest = lame.lame_encode_flush(flags, tail, len(tail))
with open(sys.argv[2], "wb") as mp3:
    mp3.write(out.raw[:size] + tail.raw[:rest])
lame.lame_close(flags)
PY
        { echo "play_cpu: neither lame nor libmp3lame0 for python3 (apt-get install lame)" >&2; exit 1; }
fi
"$ROOT/scripts/wine-session" -- bash -c '"$WINE" "$1" "$2"' _ "$EXE" "Z:${WORK//\//\\}\\music.mp3"
