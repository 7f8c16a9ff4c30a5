// Narrowing decoded sound to 16 bits: what the output is given for each layout a decoder may produce.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "wmp/logic/SampleWidth.h"

namespace {

template <class Sample> std::vector<std::int16_t> Narrowed(const SampleLayout& layout, std::vector<Sample> in)
{
    std::vector<std::uint8_t> out;
    Narrow(layout, reinterpret_cast<const std::uint8_t*>(in.data()), in.size() * sizeof(Sample), out);
    std::vector<std::int16_t> samples(out.size() / 2);
    std::memcpy(samples.data(), out.data(), samples.size() * 2);
    return samples;
}

TEST(SampleWidth, EachLayoutKeepsItsTopSixteenBitsAndTheFrontPair)
{
    // 24-bit stereo: 0x123456 and its negative, the last byte of a cut frame left out.
    EXPECT_EQ(Narrowed<std::uint8_t>({2, 24, false}, {0x56, 0x34, 0x12, 0xaa, 0xcb, 0xed, 0x01}),
              (std::vector<std::int16_t>{0x1234, -0x1235}));
    EXPECT_EQ(Narrowed<std::int32_t>({1, 32, false}, {0x7fffffff, INT32_MIN}),
              (std::vector<std::int16_t>{32767, -32768}));
    // Floats are scaled, and clipped beyond full scale both ways.
    EXPECT_EQ(Narrowed<float>({2, 32, true}, {0.5f, -0.5f, 3.0f, -3.0f}),
              (std::vector<std::int16_t>{16384, -16384, 32767, -32767}));
    // Six channels (5.1): the front left and right of each frame.
    EXPECT_EQ(Narrowed<std::int16_t>({6, 16, false}, {0, 1, 2, 3, 4, 5, 10, 11, 12, 13, 14, 15}),
              (std::vector<std::int16_t>{0, 1, 10, 11}));
    // What it cannot read gives nothing: 8 bits (taken as they are), doubles, no channels.
    EXPECT_TRUE(Narrowed<std::uint8_t>({2, 8, false}, {1, 2, 3, 4}).empty());
    EXPECT_TRUE(Narrowed<double>({2, 64, true}, {0.5, 0.5}).empty());
    EXPECT_TRUE(Narrowed<std::int16_t>({0, 16, false}, {1, 2}).empty());
}

} // namespace
