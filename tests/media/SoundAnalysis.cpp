// Reading WAV recordings and splitting them into tones.
#include "SoundAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

std::uint32_t Read32(const std::uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t Read16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// One tone over the samples first..last.
Tone MakeTone(const Recording& recording, std::size_t first, std::size_t last)
{
    const auto& s = recording.samples;
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
    return tone;
}

// Splits a stretch of sound where its pitch changes: at the zero crossing where the half periods
// of the few crossings before and after it differ by more than a sixth. Parts shorter than 20 ms
// are not split off (a cut or a click is no tone of its own).
std::vector<std::pair<std::size_t, std::size_t>> SplitByPitch(const std::vector<float>& s, int rate,
                                                              std::size_t first, std::size_t last)
{
    constexpr std::size_t kSide = 6;  // half periods compared on each side
    std::vector<std::size_t> crossings;
    for (std::size_t k = first + 1; k <= last; ++k) {
        if ((s[k - 1] < 0) != (s[k] < 0))
            crossings.push_back(k);
    }
    auto median = [&](std::size_t from, std::size_t to) {  // of the half periods from..to-1
        std::vector<std::size_t> halves;
        for (std::size_t i = from; i < to; ++i)
            halves.push_back(crossings[i + 1] - crossings[i]);
        std::nth_element(halves.begin(), halves.begin() + halves.size() / 2, halves.end());
        return static_cast<double>(halves[halves.size() / 2]);
    };
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    std::size_t partStart = first;
    const std::size_t minPart = static_cast<std::size_t>(rate / 50);  // 20 ms
    for (std::size_t i = kSide; i + kSide < crossings.size(); ++i) {
        auto ratioAt = [&](std::size_t at) {
            const double before = median(at - kSide, at);
            const double after = median(at, at + kSide);
            return before > after ? before / after : after / before;
        };
        if (ratioAt(i) <= 7.0 / 6.0)
            continue;
        // The change is where the two sides differ most: all of the old pitch before, all of
        // the new one after.
        // (Means here: a median is as far apart a crossing or two off the change.)
        auto meanRatioAt = [&](std::size_t at) {
            const double before = static_cast<double>(crossings[at] - crossings[at - kSide]);
            const double after = static_cast<double>(crossings[at + kSide] - crossings[at]);
            return before > after ? before / after : after / before;
        };
        std::size_t best = i;
        for (std::size_t j = i + 1; j <= i + kSide && j + kSide < crossings.size(); ++j) {
            if (meanRatioAt(j) > meanRatioAt(best))
                best = j;
        }
        if (crossings[best] - partStart >= minPart && last + 1 - crossings[best] >= minPart) {
            parts.emplace_back(partStart, crossings[best] - 1);
            partStart = crossings[best];
        }
        i = best + kSide;  // the next change is looked for past this one's window
    }
    parts.emplace_back(partStart, last);
    return parts;
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
        // Tones that touch (a player that joins items without a gap) are told apart by pitch.
        for (const auto& part : SplitByPitch(s, recording.sampleRate, first, last))
            tones.push_back(MakeTone(recording, part.first, part.second));
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
