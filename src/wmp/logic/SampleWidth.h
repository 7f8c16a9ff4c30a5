// Decoded sound in layouts the output does not take (24- and 32-bit integers, 32-bit floats, more
// than two channels) brought to 16-bit samples of one or two channels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct SampleLayout {
    std::uint16_t channels = 0;
    std::uint16_t bits = 0; // 16, 24 or 32 for integers; 32 for floats
    bool isFloat = false;

    std::uint32_t FrameBytes() const { return channels * (bits / 8u); }
    // Whether Narrow reads it.
    bool IsReadable() const;
};

// The channels the narrowed sound keeps: the first two (a layout's front left and right), or one.
std::uint16_t NarrowedChannels(const SampleLayout& layout);

// Appends the whole frames of data as 16-bit little-endian samples: integers keep their top 16
// bits, floats are clipped to -1..1; a partial frame at the end is left out.
void Narrow(const SampleLayout& layout, const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);
