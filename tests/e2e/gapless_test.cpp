// The real program joins sound items without a gap: what the recording hears at the joins, at the
// end of a list, after a stop, around a video between two sounds, and around a missing item.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "SoundAnalysis.h"
#include "TestMedia.h"
#include "resource.h"

namespace {

class Gapless : public RunningPlayer {
protected:
    void MakeTone(const std::string& name, int milliseconds, double hz)
    {
        ASSERT_TRUE(WriteFileBytes(folder + "\\" + name, MakeToneWave(milliseconds, hz, 0.9)));
    }

    bool WaitForStatus(const std::string& text, DWORD timeoutMs)
    {
        return WaitFor([&] { return StatusText(player) == text; }, timeoutMs);
    }

    std::vector<Tone> Heard(Recorder& recorder)
    {
        EXPECT_TRUE(recorder.Stop());
        EXPECT_TRUE(LoadRecording(recorder.WindowsPath(), recording)) << recorder.WindowsPath();
        return FindTones(recording);
    }

    static double Join(const Tone& before, const Tone& after)
    {
        return after.start - (before.start + before.length);
    }

    Recording recording;
};

TEST_F(Gapless, TwoTonesFollowEachOtherWithoutSilenceAndTheLastPlaysToItsEnd)
{
    MakeTone("low.wav", 2000, 440);
    MakeTone("high.wav", 2000, 660);
    Recorder recorder("gapless_two.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"high.wav\" \"low.wav\""); // each name goes to the head: low, then high
    ASSERT_TRUE(WaitForStatus("Songs Over", 15000)) << StatusText(player);
    ::Sleep(600);
    const std::vector<Tone> tones = Heard(recorder);
    ASSERT_EQ(tones.size(), 2u) << "the output's own underruns: " << quon.SoundUnderruns();
    EXPECT_NEAR(tones[0].frequency, 440, 15);
    EXPECT_NEAR(tones[1].frequency, 660, 15);
    EXPECT_LT(Join(tones[0], tones[1]), 0.010) << "silence at the join";
    EXPECT_NEAR(tones[0].length, 2.0, 0.020) << "the first item is heard in full";
    EXPECT_NEAR(tones[1].length, 2.0, 0.020) << "the last item plays to its end";
}

TEST_F(Gapless, StopInTheMiddleSilencesTheOutputAndNothingFollows)
{
    MakeTone("first.wav", 4000, 523);
    MakeTone("second.wav", 1000, 784);
    Recorder recorder("gapless_stop.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"second.wav\" \"first.wav\"");
    ASSERT_TRUE(recorder.WaitForTone(523, 10000));
    ::Sleep(1000);
    ClickAt(player, kCentre.x, kCentre.y); // stop
    ASSERT_TRUE(WaitForStatus("Hello Quon", 3000)) << StatusText(player);
    ::Sleep(1500);
    const std::vector<Tone> tones = Heard(recorder);
    // The sound server may let a few tens of milliseconds it had rendered ahead reach the
    // recording after a short break: those pieces are the stopped item's too.
    ASSERT_GE(tones.size(), 1u);
    for (const Tone& tone : tones)
        EXPECT_NEAR(tone.frequency, 523, 15) << "only the stopped item is heard";
    const double end = tones.back().start + tones.back().length;
    EXPECT_LT(end - tones[0].start, 2.5) << "cut by the stop, long before its 4 s";
    EXPECT_LT(PeakBetween(recording, end + 0.05, recording.Seconds()), 0.02) << "silence after the stop";
}

TEST_F(Gapless, AVideoBetweenTwoSoundsShowsItsPictureAndNoSoundIsMixedWithAnother)
{
    MakeTone("before.wav", 1000, 440);
    MakeTone("after.wav", 1000, 660);
    ASSERT_TRUE(WriteFileBytes(folder + "\\film.avi", MakeVideoAvi(20, 160, 120, 10)));
    Recorder recorder("gapless_video.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"after.wav\" \"film.avi\" \"before.wav\""); // before, film, after

    const bool shown = WaitFor(
        [&] {
            HWND video = quon.Video();
            return video && ::IsWindowVisible(video);
        },
        10000);
    EXPECT_TRUE(shown) << "the Windows Media window did not show for the video";
    ASSERT_TRUE(WaitForStatus("Songs Over", 20000)) << StatusText(player);
    EXPECT_FALSE(::IsWindowVisible(quon.Video())) << "hidden again after the video";
    ::Sleep(600);
    const std::vector<Tone> tones = Heard(recorder);
    ASSERT_EQ(tones.size(), 3u) << "three sounds, one after the other; "
                                << "the output's own underruns: " << quon.SoundUnderruns();
    EXPECT_NEAR(tones[0].frequency, 440, 15);
    EXPECT_NEAR(tones[1].frequency, kVideoToneHz, 15);
    EXPECT_NEAR(tones[2].frequency, 660, 15);
    EXPECT_NEAR(tones[0].length, 1.0, 0.030);
    EXPECT_NEAR(tones[1].length, 2.0, 0.150);
    EXPECT_NEAR(tones[2].length, 1.0, 0.030);
    EXPECT_GE(Join(tones[0], tones[1]), -0.002) << "the video's sound over the first item's";
    EXPECT_GE(Join(tones[1], tones[2]), -0.002) << "the last item's sound over the video's";
}

// Unsigned 8-bit sound is silent at 0x80, so zero bytes played where an 8-bit device runs dry are a
// full-scale step. 8-bit items between 16-bit ones and at the end of the list are heard at their own
// level, no louder, at every join and after the last sample.
TEST_F(Gapless, EightBitItemsMakeNoStepAtTheJoinsOrAfterTheListsEnd)
{
    struct Item {
        const char* name;
        double hz;
        int rate;
        int channels;
        int bits;
    };
    const Item items[] = {
        {"a.wav", 440, 44100, 2, 16},
        {"b.wav", 550, 22050, 1, 8},
        {"c.wav", 660, 44100, 2, 16},
        {"d.wav", 880, 8000, 1, 8},
    };
    for (const Item& item : items)
        ASSERT_TRUE(WriteFileBytes(folder + "\\" + item.name,
                                   MakeToneWave(800, item.hz, 0.5, item.rate, item.channels, item.bits)));
    Recorder recorder("gapless_8bit.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"d.wav\" \"c.wav\" \"b.wav\" \"a.wav\"");
    ASSERT_TRUE(WaitForStatus("Songs Over", 15000)) << StatusText(player);
    ::Sleep(kLastTailMs);
    const std::vector<Tone> tones = Heard(recorder);
    // The tones come out at 0.25 (the start-up volume -600 halves them); a step reaches 1.
    EXPECT_LT(PeakBetween(recording, 0, recording.Seconds()), 0.6) << "louder than any item";
    ASSERT_EQ(tones.size(), 4u) << "the output's own underruns: " << quon.SoundUnderruns();
    for (size_t i = 0; i < tones.size(); ++i)
        EXPECT_NEAR(tones[i].frequency, items[i].hz, 15) << items[i].name;
}

TEST_F(Gapless, AMissingItemBetweenTwoSoundsIsSkipped)
{
    MakeTone("one.wav", 1000, 440);
    MakeTone("two.wav", 1000, 880);
    MakeTone("gone.wav", 1000, 550);
    Recorder recorder("gapless_missing.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"two.wav\" \"gone.wav\" \"one.wav\"");
    ::DeleteFileA((folder + "\\gone.wav").c_str()); // gone before its turn comes
    ASSERT_TRUE(WaitForStatus("Songs Over", 15000)) << StatusText(player);
    ::Sleep(600);
    const std::vector<Tone> tones = Heard(recorder);
    ASSERT_EQ(tones.size(), 2u) << "the output's own underruns: " << quon.SoundUnderruns();
    EXPECT_NEAR(tones[0].frequency, 440, 15);
    EXPECT_NEAR(tones[1].frequency, 880, 15);
    EXPECT_NEAR(tones[0].length, 1.0, 0.020);
    EXPECT_NEAR(tones[1].length, 1.0, 0.020);
    EXPECT_FALSE(quon.HasExited());
}

} // namespace
