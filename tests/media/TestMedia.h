// Media files made by the tests: tones as WAV files, and AVI videos with moving pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A sine tone of the given length and pitch, 16-bit PCM (or unsigned 8-bit); amplitude is the peak,
// 0..1.
std::vector<std::uint8_t> MakeToneWave(int milliseconds, double hz, double amplitude = 0.9,
                                       int sampleRate = 44100, int channels = 2, int bits = 16);

// How the frames of a test video look.
enum class VideoPicture {
    // A left half whose colour shifts from frame to frame beside a white right half.
    ColourHalves,
    // Eight vertical bars of strong, distinct colours that move sideways by a sixteenth of the
    // width each frame (at least one pixel), so that any two moments a few frames apart differ.
    MovingBars,
};

// The sound track of a test video: 16-bit stereo PCM at 44.1 kHz, a sine tone of this pitch.
constexpr double kVideoToneHz = 330;
constexpr double kVideoToneAmplitude = 0.37;
constexpr int kVideoSoundRate = 44100;
constexpr int kVideoSoundChannels = 2;

// An AVI of uncompressed bottom-up 24-bit frames (one "00db" chunk each), with or without an
// interleaved PCM sound stream ("01wb", one chunk beside each frame), and an index ("idx1").
std::vector<std::uint8_t> MakeVideoAvi(int frames, int width, int height, int fps, bool withSound = true,
                                       VideoPicture picture = VideoPicture::MovingBars);

// Writes bytes to a file; false on failure.
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
