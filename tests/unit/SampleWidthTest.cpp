// Narrowing decoded sound to 16 bits: what the output is given for each layout a decoder may produce.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "wmp/logic/SampleWidth.h"

namespace {

std::vector<std::int16_t> Samples(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST(SampleWidth, IntegersKeepTheirTopSixteenBitsAndFloatsAreScaledAndClipped)
{
    std::vector<std::uint8_t> out;
    // 24-bit stereo: 0x123456 and -0x123456 (two's complement 0xEDCBAA).
    const std::uint8_t pcm24[] = {0x56, 0x34, 0x12, 0xaa, 0xcb, 0xed};
    Narrow({2, 24, false}, pcm24, sizeof pcm24, out);
    // 32-bit mono: the largest and smallest values.
    const std::int32_t pcm32[] = {0x7fffffff, static_cast<std::int32_t>(0x80000000)};
    Narrow({1, 32, false}, reinterpret_cast<const std::uint8_t*>(pcm32), sizeof pcm32, out);
    // Floats: half scale, and beyond full scale both ways.
    const float floats[] = {0.5f, -0.5f, 3.0f, -3.0f};
    Narrow({2, 32, true}, reinterpret_cast<const std::uint8_t*>(floats), sizeof floats, out);
    EXPECT_EQ(Samples(out), (std::vector<std::int16_t>{0x1234, -0x1235, 32767, -32768, 16384, -16384, 32767,
                                                         -32767}));
}

TEST(SampleWidth, SixChannelsKeepTheFrontPairAndAPartialFrameIsLeftOut)
{
    std::vector<std::int16_t> frames;
    for (int frame = 0; frame < 2; ++frame)
        for (int channel = 0; channel < 6; ++channel)
            frames.push_back(static_cast<std::int16_t>(frame * 10 + channel));
    std::vector<std::uint8_t> out;
    const SampleLayout sixChannels{6, 16, false};
    ASSERT_EQ(NarrowedChannels(sixChannels), 2);
    // Two whole frames and a third cut short.
    frames.push_back(99);
    Narrow(sixChannels, reinterpret_cast<const std::uint8_t*>(frames.data()), frames.size() * 2, out);
    EXPECT_EQ(Samples(out), (std::vector<std::int16_t>{0, 1, 10, 11}));
}

TEST(SampleWidth, LayoutsItCannotReadGiveNothing)
{
    std::vector<std::uint8_t> out;
    const std::uint8_t bytes[16] = {};
    Narrow({2, 8, false}, bytes, sizeof bytes, out);  // 8 bits: the output takes them as they are
    Narrow({2, 64, true}, bytes, sizeof bytes, out);  // doubles
    Narrow({0, 16, false}, bytes, sizeof bytes, out); // no channels
    EXPECT_TRUE(out.empty());
}

} // namespace
