// Reading WAV recordings and splitting them into tones.
#include "SoundAnalysis.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::uint32_t Read32(const std::uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t Read16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

} // namespace

bool ParseRecording(const std::vector<std::uint8_t>& bytes, Recording& out)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(&bytes[8], "WAVE", 4) != 0)
        return false;
    std::size_t at = 12;
    int bits = 0;
    out = Recording();
    while (at + 8 <= bytes.size()) {
        const std::uint8_t* chunk = &bytes[at];
        std::size_t size = Read32(chunk + 4);
        std::size_t body = at + 8;
        // A recorder stopped early may leave the data size unset (0 or 0xFFFFFFFF): take the rest.
        if (std::memcmp(chunk, "data", 4) == 0 && (size == 0 || size > bytes.size() - body))
            size = bytes.size() - body;
        if (size > bytes.size() - body)
            return false;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            if (Read16(&bytes[body]) != 1)
                return false;
            out.channels = Read16(&bytes[body + 2]);
            out.sampleRate = static_cast<int>(Read32(&bytes[body + 4]));
            bits = Read16(&bytes[body + 14]);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (bits != 16 || out.channels <= 0)
                return false;
            const std::size_t frame = 2u * out.channels;
            out.samples.reserve(size / frame);
            for (std::size_t i = body; i + frame <= body + size; i += frame)
                out.samples.push_back(static_cast<std::int16_t>(Read16(&bytes[i])) / 32768.0f);
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

bool LoadRecording(const std::string& path, Recording& out)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return ParseRecording(bytes, out);
}

std::vector<Tone> FindTones(const Recording& recording, double threshold, double minGap)
{
    std::vector<Tone> tones;
    const auto& s = recording.samples;
    if (recording.sampleRate <= 0)
        return tones;
    const std::size_t gapSamples = static_cast<std::size_t>(minGap * recording.sampleRate);
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && std::fabs(s[i]) < threshold)
            ++i;
        if (i >= s.size())
            break;
        const std::size_t start = i;
        std::size_t lastLoud = i;
        while (i < s.size() && i - lastLoud <= gapSamples) {
            if (std::fabs(s[i]) >= threshold)
                lastLoud = i;
            ++i;
        }
        // Widen to the zero crossings just outside the loud stretch, so the edges are the tone's own.
        std::size_t first = start;
        while (first > 0 && s[first - 1] != 0 && (s[first - 1] > 0) == (s[first] > 0))
            --first;
        std::size_t last = lastLoud;
        while (last + 1 < s.size() && s[last + 1] != 0 && (s[last + 1] > 0) == (s[last] > 0))
            ++last;
        Tone tone;
        tone.start = static_cast<double>(first) / recording.sampleRate;
        tone.length = static_cast<double>(last + 1 - first) / recording.sampleRate;
        int crossings = 0;
        double peak = 0;
        for (std::size_t k = first; k <= last; ++k) {
            peak = std::max(peak, static_cast<double>(std::fabs(s[k])));
            if (k > first && (s[k - 1] < 0) != (s[k] < 0))
                ++crossings;
        }
        tone.peak = peak;
        tone.frequency = tone.length > 0 ? crossings / (2.0 * tone.length) : 0;
        tones.push_back(tone);
    }
    return tones;
}

double PeakBetween(const Recording& recording, double from, double to)
{
    double peak = 0;
    const auto begin = static_cast<std::size_t>(std::max(0.0, from) * recording.sampleRate);
    const auto end = std::min(recording.samples.size(), static_cast<std::size_t>(to * recording.sampleRate));
    for (std::size_t i = begin; i < end; ++i)
        peak = std::max(peak, static_cast<double>(std::fabs(recording.samples[i])));
    return peak;
}
