// Narrowing decoded sound to the output's 16-bit samples.
#include "wmp/logic/SampleWidth.h"

#include <cmath>
#include <cstring>

bool SampleLayout::IsReadable() const
{
    if (channels == 0)
        return false;
    return isFloat ? bits == 32 : (bits == 16 || bits == 24 || bits == 32);
}

std::uint16_t NarrowedChannels(const SampleLayout& layout)
{
    return layout.channels >= 2 ? 2 : layout.channels;
}

namespace {

std::int16_t SampleAt(const SampleLayout& layout, const std::uint8_t* at)
{
    if (layout.isFloat) {
        float value = 0;
        std::memcpy(&value, at, sizeof value);
        if (!(value > -1.0f)) // also NaN
            value = value > 0 ? 1.0f : -1.0f;
        if (value > 1.0f)
            value = 1.0f;
        return static_cast<std::int16_t>(std::lround(value * 32767.0f));
    }
    // Little-endian integers: the most significant two bytes are the last two.
    const std::size_t bytes = layout.bits / 8u;
    return static_cast<std::int16_t>(at[bytes - 2] | (at[bytes - 1] << 8));
}

} // namespace

void Narrow(const SampleLayout& layout, const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out)
{
    if (!layout.IsReadable() || !data)
        return;
    const std::size_t frameBytes = layout.FrameBytes();
    const std::size_t sampleBytes = layout.bits / 8u;
    const std::uint16_t kept = NarrowedChannels(layout);
    const std::size_t frames = size / frameBytes;
    out.reserve(out.size() + frames * kept * 2);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (std::uint16_t channel = 0; channel < kept; ++channel) {
            const std::int16_t sample = SampleAt(layout, data + frame * frameBytes + channel * sampleBytes);
            out.push_back(static_cast<std::uint8_t>(sample & 0xff));
            out.push_back(static_cast<std::uint8_t>((sample >> 8) & 0xff));
        }
    }
}
