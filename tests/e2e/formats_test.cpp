// The real program plays the coded types its open dialog offers (an MP3 stream as .mpga, WMA in
// .asf, MPEG-1 video, MIDI), and decodes through Media Foundation what DirectShow cannot
// (AAC in .m4a, FLAC) into the same output, joined to its neighbours without a gap.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "SoundAnalysis.h"
#include "TestMedia.h"

namespace {

// Encoders put this many frames of silence before the first sample (AAC's decoder delay), and the
// files made here do not mark it for removal: it is heard before such an item's tone.
constexpr double kAacDelay = 1024.0 / 44100;

class Formats : public RunningPlayer {
protected:
    // Copies made media (tests/media/make-coded-media.sh, in QUON_CODED_MEDIA) into the folder.
    void Take(const std::vector<std::string>& names)
    {
        char made[MAX_PATH] = "";
        ASSERT_GT(::GetEnvironmentVariableA("QUON_CODED_MEDIA", made, MAX_PATH), 0u)
            << "QUON_CODED_MEDIA names the made media (scripts/test sets it)";
        for (const std::string& name : names)
            ASSERT_TRUE(::CopyFileA((std::string(made) + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE))
                << name;
    }

    std::vector<Tone> PlayAndHear(const char* recordingName, const std::string& names, DWORD timeoutMs)
    {
        Recorder recorder(recordingName);
        EXPECT_TRUE(recorder.Start());
        OpenWithDialog(names);
        EXPECT_TRUE(WaitFor([&] { return StatusText(player) == "Songs Over"; }, timeoutMs)) << StatusText(player);
        ::Sleep(kLastTailMs);
        EXPECT_TRUE(recorder.Stop());
        EXPECT_TRUE(LoadRecording(recorder.WindowsPath(), recording)) << recorder.WindowsPath();
        return FindTones(recording);
    }

    // The pieces of one item joined: a short piece and the one right behind it (a coder's first
    // frame may sound a moment at another pitch), and pieces of one pitch split by a short break
    // (the sound server of a busy machine dropping out), taken at the longer piece's pitch. Such
    // breaks hold the sound back rather than lose it: breaks gets their length in each item.
    static std::vector<Tone> Items(const std::vector<Tone>& tones, std::vector<double>* breaks = nullptr)
    {
        std::vector<Tone> joined;
        std::vector<double> broke;
        for (const Tone& tone : tones) {
            const bool touching =
                !joined.empty() && Join(joined.back(), tone) < 0.002 && joined.back().length < 0.100;
            const bool broken = !joined.empty() && Join(joined.back(), tone) < 0.100 &&
                                std::abs(joined.back().frequency - tone.frequency) < 15;
            if (touching || broken) {
                Tone& last = joined.back();
                if (!touching)
                    broke.back() += Join(last, tone);
                if (tone.length > last.length)
                    last.frequency = tone.frequency;
                last.length = tone.start + tone.length - last.start;
                last.peak = std::max(last.peak, tone.peak);
            } else {
                joined.push_back(tone);
                broke.push_back(0);
            }
        }
        if (breaks)
            *breaks = broke;
        return joined;
    }

    static double Join(const Tone& before, const Tone& after)
    {
        return after.start - (before.start + before.length);
    }

    Recording recording;
};

TEST_F(Formats, AnMpegSoundStreamWmaInAsfMpegVideoAndMidiAreHeardInListOrder)
{
    Take({"mp3784.mpga", "wma523.asf", "video.mpeg", "organ440.MID"});
    const std::vector<Tone> tones = PlayAndHear(
        "formats_sound.wav", "\"organ440.MID\" \"video.mpeg\" \"wma523.asf\" \"mp3784.mpga\"", 30000);
    const std::vector<Tone> items = Items(tones);
    ASSERT_GE(items.size(), 3u);
    EXPECT_NEAR(items[0].frequency, 784, 15) << ".mpga";
    EXPECT_NEAR(items[0].length, 1.5, 0.1);
    EXPECT_NEAR(items[1].frequency, 523, 15) << ".asf (WMA)";
    EXPECT_NEAR(items[1].length, 1.5, 0.1);
    EXPECT_NEAR(items[2].frequency, 330, 15) << ".mpeg";
    EXPECT_NEAR(items[2].length, 3.0, 0.1);
    // The synthesizer's organ is quiet and rich in overtones: heard for about as long as the note
    // is held, after the MPEG's sound.
    const double from = items[2].start + items[2].length + 0.05;
    const std::vector<Tone> note = FindTones(recording, 0.004, 0.050);
    double first = 0, last = 0;
    for (const Tone& piece : note) {
        if (piece.start < from)
            continue;
        first = first > 0 ? first : piece.start;
        last = piece.start + piece.length;
    }
    EXPECT_GT(last - first, 1.2) << ".MID";
    EXPECT_FALSE(quon.HasExited());
}

// What DirectShow cannot decode on Windows goes to Media Foundation: under Wine both decode, so
// the test build sends these extensions there first.
class FormatsThroughMediaFoundation : public Formats {
protected:
    void SetUp() override
    {
        ::SetEnvironmentVariableA("QUON_READER_EXTENSIONS", ".m4a;.flac");
        Formats::SetUp();
    }
    void TearDown() override
    {
        Formats::TearDown();
        ::SetEnvironmentVariableA("QUON_READER_EXTENSIONS", nullptr);
    }
};

TEST_F(FormatsThroughMediaFoundation, FlacAndAacJoinEachOtherAndWavesWithoutAGapAndAnUnreadableOneIsSkipped)
{
    Take({"flac440.flac", "flac550.flac", "aac660.m4a", "aac880.m4a"});
    ASSERT_TRUE(::CopyFileA((folder + "\\flac440.flac").c_str(), (folder + "\\again440.flac").c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(folder + "\\w990.wav", MakeToneWave(1000, 990, 0.8)));
    ASSERT_TRUE(WriteFileBytes(folder + "\\w330.wav", MakeToneWave(1000, 330, 0.8)));
    ASSERT_TRUE(WriteFileBytes(folder + "\\w1320.wav", MakeToneWave(1000, 1320, 0.8)));
    ASSERT_TRUE(WriteFileBytes(folder + "\\broken.m4a", std::vector<std::uint8_t>(4096, 0x5a)));
    // Played as: aac660 w990 flac440 | flac550 aac880 w330 again440 broken w1320. Under Wine the
    // first item of each kind loads its decoders while its predecessor plays (far longer than on
    // Windows): the joins are measured once each kind has played.
    const std::vector<Tone> pieces = PlayAndHear("formats_reader.wav",
                                                 "\"w1320.wav\" \"broken.m4a\" \"again440.flac\" \"w330.wav\" "
                                                 "\"aac880.m4a\" \"flac550.flac\" \"flac440.flac\" \"w990.wav\" "
                                                 "\"aac660.m4a\"",
                                                 40000);
    std::vector<double> breaks;
    const std::vector<Tone> tones = Items(pieces, &breaks);
    const double hz[] = {660, 990, 440, 550, 880, 330, 440, 1320};
    const double seconds[] = {1.5, 1.0, 1.5, 1.5, 1.5, 1.0, 1.5, 1.0};
    ASSERT_EQ(tones.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_NEAR(tones[i].frequency, hz[i], 15) << "item " << i;
        EXPECT_NEAR(tones[i].length - breaks[i], seconds[i], 0.030) << "item " << i << " at its full length";
    }
    EXPECT_LT(Join(tones[2], tones[3]), 0.010) << "FLAC to FLAC";
    EXPECT_LT(Join(tones[3], tones[4]), 0.010 + kAacDelay) << "FLAC to AAC";
    EXPECT_LT(Join(tones[4], tones[5]), 0.010) << "AAC to WAV";
    EXPECT_LT(Join(tones[5], tones[6]), 0.010) << "WAV to FLAC";
    EXPECT_LT(Join(tones[6], tones[7]), 0.500) << "past the unreadable item";
    EXPECT_FALSE(quon.HasExited());
}

} // namespace
