// The real program plays what the open dialog chose: the sound that came out, in order and in full.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "SoundAnalysis.h"
#include "TestMedia.h"
#include "player/logic/Layout.h"
#include "resource.h"

namespace {

// Knob parts, in the player's client pixels.
const POINT kBack = {414, 198};

struct ToneFile {
    const char* name;
    int milliseconds;
    double hz;
};

class Playback : public RunningPlayer {
protected:
    std::string Make(const ToneFile& tone, double amplitude = 0.9)
    {
        std::string path = folder + "\\" + tone.name;
        EXPECT_TRUE(WriteFileBytes(path, MakeToneWave(tone.milliseconds, tone.hz, amplitude)));
        return path;
    }

    bool WaitForStatus(const std::string& text, DWORD timeoutMs)
    {
        return WaitFor([&] { return StatusText(player) == text; }, timeoutMs);
    }

    // A click on the knob's centre while an item plays: whether the status line went back to
    // "Hello Quon".
    bool StopWithTheKnob()
    {
        ClickAt(player, kCentre.x, kCentre.y);
        return WaitForStatus("Hello Quon", 3000);
    }

    std::vector<Tone> Heard(Recorder& recorder)
    {
        EXPECT_TRUE(recorder.Stop());
        Recording recording;
        EXPECT_TRUE(LoadRecording(recorder.WindowsPath(), recording)) << recorder.WindowsPath();
        lastRecording = recording;
        return FindTones(recording);
    }

    Recording lastRecording;
};

TEST_F(Playback, TwoTonesComeOutInListOrderEachForItsFullLength)
{
    const ToneFile a = {"a.wav", 900, 440};
    const ToneFile b = {"b.wav", 600, 880};
    Make(a);
    Make(b);
    Recorder recorder("two_tones.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"b.wav\" \"a.wav\""); // each name goes to the head: the list is a, b
    ASSERT_TRUE(WaitForStatus("Songs Over", 15000)) << StatusText(player);
    ::Sleep(kLastTailMs);
    std::vector<Tone> tones = Heard(recorder);
    ASSERT_EQ(tones.size(), 2u) << "the output's own underruns: " << quon.SoundUnderruns();
    EXPECT_NEAR(tones[0].frequency, a.hz, 15);
    EXPECT_NEAR(tones[1].frequency, b.hz, 15);
    EXPECT_NEAR(tones[0].length, a.milliseconds / 1000.0, 0.020) << "the first item is heard to its end";
    EXPECT_NEAR(tones[1].length, b.milliseconds / 1000.0, 0.020) << "the second item is heard to its end";
    EXPECT_NEAR(tones[0].peak, 0.9 * 0.5, 0.9 * 0.05) << "the start-up volume -600 halves the amplitude";
}

TEST_F(Playback, StopSilencesTheOutputAndKeepsTheItemLoaded)
{
    Make({"long.wav", 6000, 523});
    Recorder recorder("stop.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"long.wav\"");
    ASSERT_TRUE(recorder.WaitForTone(523, 10000)) << "the tone never started";
    ::Sleep(500);
    ASSERT_TRUE(StopWithTheKnob());
    ::Sleep(1500);
    std::vector<Tone> tones = Heard(recorder);
    ASSERT_GE(tones.size(), 1u);
    EXPECT_LT(tones[0].length, 3.0) << "the tone ended with the stop, long before its 6 s";
    const double end = tones[0].start + tones[0].length;
    EXPECT_LT(PeakBetween(lastRecording, end + 0.05, lastRecording.Seconds()), 0.02)
        << "silence after the stop";

    // Still loaded: the next click on the centre plays it again from the start.
    Recorder again("replay.wav");
    ASSERT_TRUE(again.Start());
    ClickAt(player, kCentre.x, kCentre.y);
    EXPECT_TRUE(again.WaitForTone(523, 10000)) << "not played again";
    ::Sleep(300);
    ClickAt(player, kCentre.x, kCentre.y);
    ::Sleep(300);
    std::vector<Tone> replay = Heard(again);
    ASSERT_GE(replay.size(), 1u);
    EXPECT_NEAR(replay[0].frequency, 523, 15);
}

// The wave device's volume as another program reads it: before Vista the whole system's (the
// mixer's wave slider), later that program's own. The device is opened for the reading.
bool ReadWaveDeviceVolume(DWORD& volume)
{
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    HWAVEOUT device = nullptr;
    if (::waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
        return false;
    const bool read = ::waveOutGetVolume(device, &volume) == MMSYSERR_NOERROR;
    ::waveOutClose(device);
    return read;
}

using PlaybackOnEachWindows = OnEachWindows<Playback>;

// The knob's minus while a tone plays: four single clicks take the start-up -600 to the quietest -1000,
// and the rest of the tone is heard at that level (an amplitude of 10^(-1000/2000)), the part
// before the clicks at the start-up level. Only the player's own sound changes: the wave device's
// volume, the system's before Vista, stays where it was.
TEST_P(PlaybackOnEachWindows, TheKnobsMinusIsHeardAtItsLevelAndLeavesTheDevicesVolumeAlone)
{
    DWORD deviceVolume = 0;
    ASSERT_TRUE(ReadWaveDeviceVolume(deviceVolume));
    Make({"steady.wav", 7000, 600});
    Recorder recorder("volume.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"steady.wav\"");
    // A second and more of the start-up level before the first click, however long the start takes.
    ASSERT_TRUE(WaitForSound(0.2, 10000)) << "the tone did not start";
    ::Sleep(1300);
    const layout::Edges minus = layout::kKnobVolumeDown;
    // Apart by more than the double-click time: the second click of a double click is not a
    // button-down of the player's.
    for (int click = 0; click < 4; ++click) {
        ClickAt(player, (minus.left + minus.right) / 2, (minus.top + minus.bottom) / 2);
        ::Sleep(::GetDoubleClickTime() + 100);
    }
    DWORD deviceVolumeAfter = 0;
    ASSERT_TRUE(ReadWaveDeviceVolume(deviceVolumeAfter));
    EXPECT_EQ(deviceVolumeAfter, deviceVolume) << "the wave device's volume";
    ::Sleep(1500);
    ASSERT_TRUE(StopWithTheKnob());
    ::Sleep(500);
    std::vector<Tone> tones = Heard(recorder);
    ASSERT_GE(tones.size(), 1u);
    const double start = tones[0].start;
    const double end = tones.back().start + tones.back().length;
    ASSERT_GT(end - start, 2.5) << "the tone stopped before the clicks were heard";
    EXPECT_NEAR(PeakBetween(lastRecording, start + 0.2, start + 1.0), 0.9 * 0.501, 0.9 * 0.03)
        << "the start-up level, -600";
    EXPECT_NEAR(PeakBetween(lastRecording, end - 1.0, end - 0.1), 0.9 * 0.316, 0.9 * 0.03)
        << "the quietest level the knob reaches, -1000";
}

INSTANTIATE_TEST_SUITE_P(On, PlaybackOnEachWindows, ::testing::ValuesIn(kWindowsVersions),
                         WindowsVersionName);

TEST_F(Playback, RepeatListWrapsToTheFirstItem)
{
    Make({"one.wav", 500, 440});
    Make({"two.wav", 500, 660});
    // Mode 1 -> 2 -> 0 (repeat the list).
    ClickAt(player, 273 + 12, 212 + 7);
    ::Sleep(700); // two quick clicks would make a double click
    ClickAt(player, 273 + 12, 212 + 7);
    Recorder recorder("repeat_list.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"two.wav\" \"one.wav\"");
    ASSERT_TRUE(recorder.WaitForTone(440, 15000, 2)) << "after the last item the first plays again";
    std::vector<Tone> tones = Heard(recorder);
    ASSERT_GE(tones.size(), 3u);
    EXPECT_NEAR(tones[0].frequency, 440, 15);
    EXPECT_NEAR(tones[1].frequency, 660, 15);
    EXPECT_NEAR(tones[2].frequency, 440, 15) << "after the last item the first plays again";
}

TEST_F(Playback, BackOnTheFirstItemPlaysTheLast)
{
    Make({"first.wav", 3000, 440});
    Make({"middle.wav", 600, 550});
    Make({"last.wav", 600, 880});
    Recorder recorder("back.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"last.wav\" \"middle.wav\" \"first.wav\"");
    ASSERT_TRUE(recorder.WaitForTone(440, 10000));
    ::Sleep(500);
    ClickAt(player, kBack.x, kBack.y);
    recorder.WaitForTone(880, 10000);
    ::Sleep(500);
    std::vector<Tone> tones = Heard(recorder);
    ASSERT_GE(tones.size(), 2u);
    EXPECT_NEAR(tones[0].frequency, 440, 15);
    EXPECT_LT(tones[0].length, 2.0) << "back stopped the first item";
    EXPECT_NEAR(tones[1].frequency, 880, 15) << "back from the first item wraps to the last";
}

TEST_F(Playback, MissingAndCorruptItemsAreSkippedAndTheListEnds)
{
    Make({"good1.wav", 500, 440});
    const std::string missing = Make({"gone.wav", 500, 550});
    std::string corrupt = folder + "\\broken.wav";
    ASSERT_TRUE(WriteFileBytes(corrupt, std::vector<std::uint8_t>(4000, 0x5A)));
    Make({"good2.wav", 500, 880});
    Recorder recorder("skip.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"good2.wav\" \"broken.wav\" \"gone.wav\" \"good1.wav\"");
    ::DeleteFileA(missing.c_str()); // gone before its turn comes
    ASSERT_TRUE(WaitForStatus("Songs Over", 15000)) << StatusText(player);
    ::Sleep(kLastTailMs);
    std::vector<Tone> tones = Heard(recorder);
    ASSERT_EQ(tones.size(), 2u) << "the output's own underruns: " << quon.SoundUnderruns();
    EXPECT_NEAR(tones[0].frequency, 440, 15);
    EXPECT_NEAR(tones[1].frequency, 880, 15);
    EXPECT_FALSE(quon.HasExited());
}

TEST_F(Playback, OpenDialogNamesGoToTheHeadOfTheList)
{
    Make({"x.wav", 300, 300});
    Make({"a.wav", 300, 400});
    Make({"b.wav", 300, 500});
    Make({"c.wav", 300, 600});
    OpenWithDialog("\"x.wav\"");
    ASSERT_TRUE(WaitForStatus("Songs Over", 10000));
    // Now pick a, b and c (returned in that order): the list becomes c, b, a, x.
    std::vector<std::string> seen;
    ClickAt(player, kCentre.x, kCentre.y);
    ASSERT_TRUE(ChooseInOpenDialog(quon, folder, "\"a.wav\" \"b.wav\" \"c.wav\""));
    ASSERT_TRUE(WaitFor([&] { return StatusText(player) != "Songs Over"; }, 5000));
    WaitFor(
        [&] {
            std::string text = StatusText(player);
            if (text.size() > 4 && text.compare(text.size() - 4, 4, ".wav") == 0 &&
                (seen.empty() || seen.back() != text))
                seen.push_back(text);
            return text == "Songs Over";
        },
        15000);
    const std::vector<std::string> expected = {"c.wav", "b.wav", "a.wav", "x.wav"};
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::string& text = seen[i];
        EXPECT_EQ(text.substr(text.size() - expected[i].size()), expected[i]) << i;
    }
}

} // namespace
