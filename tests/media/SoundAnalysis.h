// Reading a recorded WAV file and finding the tones in it: where each starts, how long, pitch, level.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Recording {
    int sampleRate = 0;
    int channels = 0;
    std::vector<float> samples;  // the first channel, -1..1
    double Seconds() const { return sampleRate ? static_cast<double>(samples.size()) / sampleRate : 0; }
};

// Reads a 16-bit PCM WAV file (as parec writes it); false when it is not one.
bool LoadRecording(const std::string& path, Recording& out);
bool ParseRecording(const std::vector<std::uint8_t>& bytes, Recording& out);

struct Tone {
    double start = 0;      // seconds from the recording's start
    double length = 0;     // seconds
    double frequency = 0;  // Hz, from zero crossings
    double peak = 0;       // largest absolute sample, 0..1
};

// Splits the recording into stretches of sound separated by silence (at least minGap seconds
// below the threshold), and a stretch where its pitch changes into one tone per pitch; each
// stretch is one tone. Sample-accurate at the edges (to about a half period where tones touch).
std::vector<Tone> FindTones(const Recording& recording, double threshold = 0.02, double minGap = 0.010);

// The loudest absolute sample between two times.
double PeakBetween(const Recording& recording, double from, double to);
