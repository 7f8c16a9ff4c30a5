// Media files made by the tests.
#include "TestMedia.h"

#include <cmath>
#include <fstream>

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<std::uint8_t> MakeToneWave(int milliseconds, double hz, double amplitude, int sampleRate, int channels)
{
    const std::uint32_t frames = static_cast<std::uint32_t>(static_cast<long long>(sampleRate) * milliseconds / 1000);
    const std::uint32_t dataBytes = frames * 2u * static_cast<std::uint32_t>(channels);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(channels));
    Put32(out, static_cast<std::uint32_t>(sampleRate));
    Put32(out, static_cast<std::uint32_t>(sampleRate * channels * 2));
    Put16(out, static_cast<unsigned>(channels * 2));
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    const double pi = 3.14159265358979323846;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2 * pi * hz * i / sampleRate);
        const auto sample = static_cast<std::int16_t>(std::lround(value * 32767));
        for (int c = 0; c < channels; ++c)
            Put16(out, static_cast<std::uint16_t>(sample));
    }
    return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
