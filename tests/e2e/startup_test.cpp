// The real program from outside: shape and place of the player, the credits after it, the end.
#include <gtest/gtest.h>
#include <windows.h>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "player/logic/Layout.h"
#include "resource.h"

namespace {

RECT RegionBox(HWND wnd)
{
    RECT box{};
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(wnd, region) != ERROR)
        ::GetRgnBox(region, &box);
    ::DeleteObject(region);
    return box;
}

// Starts the program and waits for its player window.
class Started : public RunningPlayer {
protected:
    // Closes the player by some path, then checks the credits window follows and ends the process.
    void ExpectCreditsThenEnd(const char* how)
    {
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(player) || !::IsWindowVisible(player); }, 10000)) << how;
        ASSERT_TRUE(WaitFor(
            [&] {
                HWND c = quon.Credits();
                return c && ::IsWindowVisible(c);
            },
            10000))
            << how;
        HWND credits = quon.Credits();
        EXPECT_FALSE(quon.HasExited()) << how;
        ::PostMessageA(credits, WM_CLOSE, 0, 0);
        EXPECT_TRUE(quon.HasExited(10000)) << "closing the credits window ends the process (" << how << ")";
    }
};

TEST_F(Started, PlayerIsTheBarWithTheKnobAtTheScreensBottomRight)
{
    RECT box = RegionBox(player);
    EXPECT_EQ(box.left, 130);
    EXPECT_GE(box.top, 165); // the knob's top vertex at 165 covers no pixel row of its own
    EXPECT_LE(box.top, 166);
    EXPECT_EQ(box.right, 435);
    EXPECT_EQ(box.bottom, 235);

    RECT screen{};
    ::GetClientRect(::GetDesktopWindow(), &screen);
    RECT own{};
    ::GetWindowRect(player, &own);
    if (screen.right >= layout::kWideScreen) {
        EXPECT_EQ(own.left, screen.right - layout::kPlayerFromRight);
        EXPECT_EQ(own.top, screen.bottom - layout::kPlayerFromBottom);
        EXPECT_EQ(own.right - own.left, layout::kPlayerWidth);
        EXPECT_EQ(own.bottom - own.top, layout::kPlayerHeight);
        if (screen.right == 1280 && screen.bottom == 1024) {
            EXPECT_EQ(own.left, 836);
            EXPECT_EQ(own.top, 736);
        }
    }
    Screenshot shot;
    shot.Save("player");
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    ExpectCreditsThenEnd("menu exit");
}

TEST_F(Started, CreditsStayHiddenWhileThePlayerRuns)
{
    HWND credits = quon.Credits();
    ASSERT_NE(credits, nullptr) << "the credits window exists, hidden, while the player runs";
    EXPECT_FALSE(::IsWindowVisible(credits));
    EXPECT_FALSE(::IsWindowEnabled(credits)) << "the player's modal loop disables its owner";
    HWND video = quon.Video();
    ASSERT_NE(video, nullptr);
    EXPECT_FALSE(::IsWindowVisible(video));
    ::Sleep(1500);
    EXPECT_FALSE(::IsWindowVisible(credits));
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    ExpectCreditsThenEnd("menu exit");
}

TEST_F(Started, EscapeClosesThePlayerAndShowsTheCredits)
{
    PressKey(player, VK_ESCAPE);
    ExpectCreditsThenEnd("Esc");
}

TEST_F(Started, ExitCommandClosesThePlayerAndShowsTheCredits)
{
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    ExpectCreditsThenEnd("command 1042");
}

TEST_F(Started, ProductNameBitmapClosesThePlayerAndShowsTheCredits)
{
    ClickAt(player, 153 + 10, 214 + 6);
    ASSERT_TRUE(WaitFor(
        [&] {
            HWND c = quon.Credits();
            return c && ::IsWindowVisible(c);
        },
        10000));
    ::Sleep(1500); // a frame of the banner
    Screenshot shot;
    shot.Save("credits");
    HWND credits = quon.Credits();
    RECT banner{};
    ::GetWindowRect(::GetDlgItem(credits, IDC_CREDITS_BANNER), &banner);
    int blue = 0;
    for (int y = banner.top; y < banner.bottom; ++y)
        for (int x = banner.left; x < banner.right; ++x)
            blue += shot.At(x, y) == RGB(0, 0, 255);
    EXPECT_GT(blue, 10) << "the banner shows a frame in blue";
    ExpectCreditsThenEnd("command 1012");
}

// Run by the test script in a session whose screen is 1000 x 800.
TEST_F(Started, Screen1000x800KeepsThePlayerCentredAtItsTemplateSize)
{
    RECT screen{};
    ::GetClientRect(::GetDesktopWindow(), &screen);
    if (screen.right >= 1024)
        GTEST_SKIP() << "needs a screen narrower than 1024 pixels";
    RECT own{};
    ::GetWindowRect(player, &own);
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    EXPECT_NE(width, 450);
    EXPECT_NEAR(own.left, work.left + (work.right - work.left - width) / 2, 1);
    EXPECT_NEAR(own.top, work.top + (work.bottom - work.top - height) / 2, 1);
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    ExpectCreditsThenEnd("menu exit");
}

} // namespace
