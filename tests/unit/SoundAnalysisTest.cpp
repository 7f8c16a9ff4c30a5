// The test media and the recording analysis that the end-to-end sound tests rely on.
#include <gtest/gtest.h>

#include "../media/SoundAnalysis.h"
#include "../media/TestMedia.h"

TEST(SoundAnalysis, FindsTonesWithTheirLengthPitchAndLevel)
{
    std::vector<std::uint8_t> a = MakeToneWave(500, 440, 0.5);
    std::vector<std::uint8_t> gap = MakeToneWave(100, 440, 0.0);
    std::vector<std::uint8_t> b = MakeToneWave(300, 880, 0.9);
    // One recording: a, silence, b (concatenated sample data under a's header, sizes fixed below).
    std::vector<std::uint8_t> joined(a.begin(), a.end());
    joined.insert(joined.end(), gap.begin() + 44, gap.end());
    joined.insert(joined.end(), b.begin() + 44, b.end());
    const std::uint32_t data = static_cast<std::uint32_t>(joined.size() - 44);
    for (int i = 0; i < 4; ++i) {
        joined[40 + i] = static_cast<std::uint8_t>(data >> (8 * i));
        joined[4 + i] = static_cast<std::uint8_t>((data + 36) >> (8 * i));
    }
    Recording recording;
    ASSERT_TRUE(ParseRecording(joined, recording));
    EXPECT_EQ(recording.sampleRate, 44100);
    std::vector<Tone> tones = FindTones(recording);
    ASSERT_EQ(tones.size(), 2u);
    EXPECT_NEAR(tones[0].start, 0.0, 0.001);
    EXPECT_NEAR(tones[0].length, 0.5, 0.002);
    EXPECT_NEAR(tones[0].frequency, 440, 5);
    EXPECT_NEAR(tones[0].peak, 0.5, 0.01);
    EXPECT_NEAR(tones[1].start, 0.6, 0.002);
    EXPECT_NEAR(tones[1].length, 0.3, 0.002);
    EXPECT_NEAR(tones[1].frequency, 880, 5);
}

TEST(SoundAnalysis, RejectsWhatIsNotAPcmWave)
{
    Recording recording;
    EXPECT_FALSE(ParseRecording({}, recording));
    EXPECT_FALSE(ParseRecording(std::vector<std::uint8_t>(100, 'x'), recording));
    std::vector<std::uint8_t> cut = MakeToneWave(10, 440);
    cut.resize(30);
    EXPECT_FALSE(ParseRecording(cut, recording));
}

TEST(SoundAnalysis, TonesThatTouchAreToldApartByPitch)
{
    // 440 Hz for 400 ms straight into 660 Hz for 300 ms, then 440 Hz again for 200 ms.
    std::vector<std::uint8_t> joined = MakeToneWave(400, 440, 0.5);
    for (const auto& part : {MakeToneWave(300, 660, 0.5), MakeToneWave(200, 440, 0.5)})
        joined.insert(joined.end(), part.begin() + 44, part.end());
    const std::uint32_t data = static_cast<std::uint32_t>(joined.size() - 44);
    for (int i = 0; i < 4; ++i) {
        joined[40 + i] = static_cast<std::uint8_t>(data >> (8 * i));
        joined[4 + i] = static_cast<std::uint8_t>((data + 36) >> (8 * i));
    }
    Recording recording;
    ASSERT_TRUE(ParseRecording(joined, recording));
    std::vector<Tone> tones = FindTones(recording);
    ASSERT_EQ(tones.size(), 3u);
    const double hz[] = {440, 660, 440};
    const double lengths[] = {0.4, 0.3, 0.2};
    double start = 0;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(tones[i].frequency, hz[i], 5);
        EXPECT_NEAR(tones[i].start, start, 0.002);
        EXPECT_NEAR(tones[i].length, lengths[i], 0.003);
        start += lengths[i];
    }
}
