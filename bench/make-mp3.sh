#!/usr/bin/env bash
# Makes an MP3 of two voices sweeping through the range (so that the encoder has something to code),
# 44.1 kHz stereo at 128 kbit/s, for the benches. Needs sox and lame (apt-get install lame), or
# python3 with the LAME library (libmp3lame0) when the lame program is missing.
# usage: bench/make-mp3.sh SECONDS OUT.mp3
set -euo pipefail
seconds=${1:?seconds}
out=${2:?output file}
command -v sox >/dev/null || { echo "make-mp3: sox is missing (apt-get install sox)" >&2; exit 1; }
WORK=$(mktemp -d /tmp/quon-mp3.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
# The sweep repeats every 10 s, so a long file is no harder to make than a short one.
sox -n -r 44100 -c 2 -b 16 "$WORK/sweep.wav" synth 10 sine 220-1760 sine 330-2640 vol 0.4
sox "$WORK/sweep.wav" "$WORK/music.wav" repeat $(((seconds + 9) / 10 - 1)) trim 0 "$seconds"
if command -v lame >/dev/null; then
    lame --quiet -b 128 "$WORK/music.wav" "$out"
    exit 0
fi
python3 - "$WORK/music.wav" "$out" <<'PY' ||
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
chunk = 44100  # frames per call: a long file is encoded in pieces
out = ctypes.create_string_buffer(chunk * 5 // 4 + 7200)
with open(sys.argv[2], "wb") as mp3:
    while True:
        pcm = source.readframes(chunk)
        frames = len(pcm) // (2 * source.getnchannels())
        if frames == 0:
            break
        size = lame.lame_encode_buffer_interleaved(flags, ctypes.c_char_p(pcm), frames, out, len(out))
        mp3.write(out.raw[:size])
    size = lame.lame_encode_flush(flags, out, len(out))
    mp3.write(out.raw[:size])
lame.lame_close(flags)
PY
    { echo "make-mp3: neither lame nor libmp3lame0 for python3 (apt-get install lame)" >&2; exit 1; }
