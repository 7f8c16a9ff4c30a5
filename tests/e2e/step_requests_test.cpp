// Step requests that nothing used: the sound of the list that follows them comes out in list order.
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

class StepRequests : public RunningPlayer {};

TEST_F(StepRequests, BackPressedWhileNothingPlaysLeavesTheNextListInOrder)
{
    const double c = 440, b = 660, a = 880;
    ASSERT_TRUE(WriteFileBytes(folder + "\\c.wav", MakeToneWave(500, c)));
    ASSERT_TRUE(WriteFileBytes(folder + "\\b.wav", MakeToneWave(500, b)));
    ASSERT_TRUE(WriteFileBytes(folder + "\\a.wav", MakeToneWave(500, a)));
    // "&B" and the knob's back part, with nothing loaded: a request no item takes up.
    ::SendMessageA(player, WM_COMMAND, IDC_BTN_BACK, 0);
    ClickAt(player, 414, 198);
    ::Sleep(300);

    Recorder recorder("back_then_list.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"a.wav\" \"b.wav\" \"c.wav\"");  // each name goes to the head: c, b, a
    ASSERT_TRUE(WaitFor([&] { return StatusText(player) == "Songs Over"; }, 15000)) << StatusText(player);
    ::Sleep(kLastTailMs);
    ASSERT_TRUE(recorder.Stop());
    Recording recording;
    ASSERT_TRUE(LoadRecording(recorder.WindowsPath(), recording));
    const std::vector<Tone> tones = FindTones(recording);
    std::string heard;
    for (const Tone& tone : tones)
        heard += std::to_string(static_cast<int>(tone.frequency)) + " Hz at " + std::to_string(tone.start) +
                 " s for " + std::to_string(tone.length) + " s; ";
    ASSERT_EQ(tones.size(), 3u) << heard;
    EXPECT_NEAR(tones[0].frequency, c, 15);
    EXPECT_NEAR(tones[1].frequency, b, 15) << "the second item follows the first, not the last";
    EXPECT_NEAR(tones[2].frequency, a, 15);
}

}  // namespace
