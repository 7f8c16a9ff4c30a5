// The real program plays a video chosen with the open dialog: a moving picture, its sound, then hidden.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "SoundAnalysis.h"
#include "TestMedia.h"
#include "resource.h"
#include "wmp/control/ControlBar.h"

namespace {

// A clip of four seconds: bars that run sideways at ten frames a second, over a 330 Hz tone.
const int kClipFrames = 40;
const int kClipFps = 10;
const int kClipWidth = 160;
const int kClipHeight = 120;

class Video : public RunningPlayer {
protected:
    std::string MakeClip(const std::string& name)
    {
        const std::string path = folder + "\\" + name;
        EXPECT_TRUE(WriteFileBytes(path, MakeVideoAvi(kClipFrames, kClipWidth, kClipHeight, kClipFps)));
        return path;
    }

    // The time allowed grows with the program's slowdown (the emulated release opens media slowly).
    bool WaitForVideoWindow(bool visible, DWORD timeoutMs)
    {
        return WaitFor([&] {
            HWND video = quon.Video();
            return video && (::IsWindowVisible(video) != FALSE) == visible;
        }, static_cast<DWORD>(timeoutMs * Slowdown()));
    }

    bool StatusEndsWith(const std::string& tail)
    {
        const std::string text = StatusText(player);
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    }

    // The picture part of the Windows Media window on the screen: its client area above the
    // control's bar, less a margin where the player's knob may overlap the window's lower edge.
    RECT PictureArea(HWND video) const
    {
        RECT client{};
        ::GetClientRect(video, &client);
        POINT origin{0, 0};
        ::ClientToScreen(video, &origin);
        const int height = client.bottom - kControlBarHeight;
        RECT area{origin.x + 4, origin.y + 4, origin.x + client.right - 4, origin.y + height * 3 / 4};
        return area;
    }

};

TEST_F(Video, AnAviShowsAMovingPictureWithItsSoundAndTheWindowHidesWhenItEnds)
{
    MakeClip("clip.avi");
    Recorder recorder("video_sound.wav");
    ASSERT_TRUE(recorder.Start());
    OpenWithDialog("\"clip.avi\"");

    ASSERT_TRUE(WaitForVideoWindow(true, 10000)) << "the Windows Media window did not show";
    HWND video = quon.Video();
    char title[64] = "";
    ::GetWindowTextA(video, title, sizeof title);
    EXPECT_STREQ(title, "Quon_Video");
    EXPECT_TRUE(WaitFor([&] { return StatusEndsWith("clip.avi"); }, 2000)) << StatusText(player);

    ::Sleep(800);  // the first frames reach the screen
    const RECT area = PictureArea(video);
    ASSERT_GT(area.right - area.left, 50);
    ASSERT_GT(area.bottom - area.top, 50);
    const Screenshot first;
    ::Sleep(500);
    const Screenshot second;
    const int pixels = (area.right - area.left) * (area.bottom - area.top);
    EXPECT_GT(first.DistinctColours(area), 4) << "a picture, not a blank area";
    EXPECT_GT(second.DistinctColours(area), 4) << "a picture, not a blank area";
    EXPECT_GT(Screenshot::Difference(first, second, area), pixels / 20) << "the picture moves";
    if (HasFailure()) {
        first.Save("video_first");
        second.Save("video_second");
    }

    ASSERT_TRUE(WaitForVideoWindow(false, 15000)) << "the window stayed up after the video";
    EXPECT_TRUE(WaitFor([&] { return StatusText(player) == "Songs Over"; }, 5000)) << StatusText(player);
    ::Sleep(kLastTailMs);

    ASSERT_TRUE(recorder.Stop());
    Recording recording;
    ASSERT_TRUE(LoadRecording(recorder.WindowsPath(), recording)) << recorder.WindowsPath();
    const std::vector<Tone> tones = FindTones(recording);
    ASSERT_GE(tones.size(), 1u) << "the video's sound track was not heard";
    EXPECT_NEAR(tones[0].frequency, kVideoToneHz, 15);
    EXPECT_FALSE(quon.HasExited());
}

TEST_F(Video, ASoundAfterTheVideoPlaysWithTheWindowHidden)
{
    MakeClip("film.avi");
    ASSERT_TRUE(WriteFileBytes(folder + "\\after.wav", MakeToneWave(1500, 660)));
    OpenWithDialog("\"after.wav\" \"film.avi\"");  // each name goes to the head: film, then after

    ASSERT_TRUE(WaitForVideoWindow(true, 10000));
    ASSERT_TRUE(WaitFor([&] { return StatusEndsWith("after.wav"); }, 15000)) << StatusText(player);
    HWND video = quon.Video();
    EXPECT_FALSE(::IsWindowVisible(video)) << "a sound plays with the window hidden";
    EXPECT_TRUE(WaitFor([&] { return StatusText(player) == "Songs Over"; }, 10000)) << StatusText(player);
    EXPECT_FALSE(::IsWindowVisible(video));
}

}  // namespace
