#!/usr/bin/env bash
# Makes the coded test media that the tests cannot write themselves, with GStreamer's encoders
# inside the Wine sessions' root (scripts/in-root): FLAC and AAC (.m4a) tones, WMA sound in .asf,
# MPEG-1 video with its sound in .mpeg, an MP3 stream as .mpga, and a MIDI file. Each sound is a
# sine tone of its own pitch (see the names), 16-bit stereo at 44.1 kHz before coding.
# usage: tests/media/make-coded-media.sh OUT_DIR
set -euo pipefail
out=${1:?output folder}
mkdir -p "$out"
stamp="$out/.made"
# The script itself is the recipe: the media are made again when it changes.
recipe=$(sha1sum "${BASH_SOURCE[0]}" | cut -d' ' -f1)
[[ "$(cat "$stamp" 2>/dev/null)" == "$recipe" ]] && exit 0
rm -f "$stamp"
command -v gst-launch-1.0 >/dev/null || { echo "make-coded-media: gst-launch-1.0 is missing" >&2; exit 1; }

# tone HZ MILLISECONDS: raw sound for an encoder.
tone() {
    local buffers=$(($2 / 10))
    echo "audiotestsrc freq=$1 volume=0.8 num-buffers=$buffers samplesperbuffer=441 !" \
        "audio/x-raw,rate=44100,channels=2,format=S16LE ! audioconvert"
}
# picture FRAMES: moving bars, 160x120 at 10 frames a second.
picture() {
    echo "videotestsrc pattern=bar horizontal-speed=4 num-buffers=$1 !" \
        "video/x-raw,width=160,height=120,framerate=10/1,format=I420 ! videoconvert"
}
make() {
    local name=$1; shift
    # shellcheck disable=SC2068  # the pipeline's words are meant to split
    gst-launch-1.0 -q $@ || { echo "make-coded-media: $name failed" >&2; exit 1; }
    [[ -s "$out/$name" ]] || { echo "make-coded-media: $name is empty" >&2; exit 1; }
}

make flac440.flac "$(tone 440 1500) ! flacenc ! filesink location=$out/flac440.flac"
make flac550.flac "$(tone 550 1500) ! flacenc ! filesink location=$out/flac550.flac"
make aac660.m4a "$(tone 660 1500) ! avenc_aac ! mp4mux ! filesink location=$out/aac660.m4a"
make aac880.m4a "$(tone 880 1500) ! avenc_aac ! mp4mux ! filesink location=$out/aac880.m4a"
make wma523.asf "$(tone 523 1500) ! avenc_wmav2 bitrate=128000 ! asfmux ! filesink location=$out/wma523.asf"
# An MPEG-1 system stream, as Windows' own MPEG-1 splitter reads it (not an MPEG-2 program stream).
make video.mpeg "avmux_mpeg name=mux ! filesink location=$out/video.mpeg" \
    "$(picture 30) ! avenc_mpeg1video bitrate=400000 ! mpegvideoparse ! mux." \
    "$(tone 330 3000) ! avenc_mp2 ! mpegaudioparse ! mux."
make mp3784.mpga "$(tone 784 1500) ! lamemp3enc target=bitrate bitrate=128 ! filesink location=$out/mp3784.mpga"

# One held note, A4 (440 Hz) on a church organ for a steady level: 1440 ticks at 480 a quarter note
# and 120 beats a minute, 1.5 s. Header, then one track: program, note on, note off, end.
printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk\x00\x00\x00\x10' >"$out/organ440.MID"
printf '\x00\xc0\x13\x00\x90\x45\x7f\x8b\x20\x80\x45\x00\x00\xff\x2f\x00' >>"$out/organ440.MID"
echo "$recipe" >"$stamp"
