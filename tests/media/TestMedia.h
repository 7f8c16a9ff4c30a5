// Media files made by the tests: tones as WAV files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A sine tone of the given length and pitch, 16-bit PCM; amplitude is the peak, 0..1.
std::vector<std::uint8_t> MakeToneWave(int milliseconds, double hz, double amplitude = 0.9, int sampleRate = 44100,
                                       int channels = 2);

// Writes bytes to a file; false on failure.
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
