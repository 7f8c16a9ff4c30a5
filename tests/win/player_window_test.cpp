// The player window in process: shape, layout, start-up state, exits, painting, status line and timers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/PlayerApp.h"
#include "framework/Gdi.h"
#include "player/PlayerDlg.h"
#include "player/logic/Layout.h"
#include "player/logic/StatusStrings.h"
#include "resource.h"
#include "ticker/Tobrick.h"
#include "wmp/VideoDlg.h"
#include "MessageRecorder.h"
#include "PlayerSession.h"
#include "WinTestSupport.h"

namespace {

RECT ChildRect(HWND parent, int id)
{
    RECT r{};
    HWND child = ::GetDlgItem(parent, id);
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class PlayerWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session.Created()); }
    void Command(UINT id) { session.Command(id); }
    void Tick(UINT_PTR id) { ::SendMessageA(player.m_hWnd, WM_TIMER, id, 0); }

    PlayerSession session;
    TestPlayerDlg& player = session.player;
};

TEST_F(PlayerWindow, RegionCutsTheBarAndTheKnob)
{
    CRgn region;
    region.Attach(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(player.m_hWnd, region), ERROR);
    RECT box{};
    ::GetRgnBox(region, &box);
    EXPECT_EQ(box.left, 130);
    // The knob's top is a single vertex at y 165, which covers no pixel of its own.
    EXPECT_GE(box.top, 165);
    EXPECT_LE(box.top, 166);
    EXPECT_EQ(box.right, 435);
    EXPECT_EQ(box.bottom, 235);
    EXPECT_EQ(player.m_windowRgn.GetSafeHandle(), nullptr) << "the window owns the region";
}

TEST_F(PlayerWindow, IsPlacedByScreenWidth)
{
    RECT screen{};
    ::GetClientRect(::GetDesktopWindow(), &screen);
    RECT own{};
    player.GetWindowRect(&own);
    if (screen.right >= layout::kWideScreen) {
        EXPECT_EQ(own.left, screen.right - layout::kPlayerFromRight);
        EXPECT_EQ(own.top, screen.bottom - layout::kPlayerFromBottom);
        EXPECT_EQ(own.right - own.left, layout::kPlayerWidth);
        EXPECT_EQ(own.bottom - own.top, layout::kPlayerHeight);
    }
    EXPECT_TRUE(::GetWindowLongPtrA(player.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(PlayerWindow, SkinControlsSitAtTheirPixelPlaces)
{
    struct Place {
        int id;
        RECT rect;
        bool visible;
    };
    const Place places[] = {
        {IDC_STATUS, {160, 181, 340, 212}, true},
        {IDC_SKIN_QUON, {153, 214, 174, 227}, true},
        {IDC_SKIN_EQ, {250, 212, 272, 226}, true},
        {IDC_SKIN_MODE, {273, 212, 298, 226}, true},
        {IDC_SKIN_MUSIC, {299, 212, 324, 226}, true},
        {IDC_SKIN_REPEAT_ONE, {340, 181, 362, 194}, false},
        {IDC_SKIN_REPEAT_LIST, {340, 200, 362, 213}, false},
    };
    for (const Place& p : places) {
        RECT r = ChildRect(player.m_hWnd, p.id);
        EXPECT_EQ(r.left, p.rect.left) << p.id;
        EXPECT_EQ(r.top, p.rect.top) << p.id;
        EXPECT_EQ(r.right, p.rect.right) << p.id;
        EXPECT_EQ(r.bottom, p.rect.bottom) << p.id;
        EXPECT_EQ(::IsWindowVisible(player.GetDlgItem(p.id)) != FALSE, p.visible) << p.id;
    }
}

TEST_F(PlayerWindow, StartsWithItsInitialState)
{
    EXPECT_EQ(player.m_statusText, kHelloQuon);
    EXPECT_EQ(player.m_mediaKind, -1);
    EXPECT_EQ(player.m_repeatMode, 1);
    EXPECT_EQ(player.m_cdTrack, 1);
    EXPECT_TRUE(player.m_windowShown);
    EXPECT_TRUE(player.m_videoNormal);
    EXPECT_FALSE(player.m_tickerShown);
    EXPECT_FALSE(player.m_loaded);
    EXPECT_NE(g_statusFont.GetSafeHandle(), nullptr);

    ASSERT_NE(player.m_pVideoDlg, nullptr);
    EXPECT_FALSE(player.m_pVideoDlg->IsWindowVisible());
    EXPECT_TRUE(::GetWindowLongPtrA(player.m_pVideoDlg->m_player.m_hWnd, GWL_STYLE) & WS_VISIBLE)
        << "the control is shown inside";

    ASSERT_NE(player.m_pTicker, nullptr);
    EXPECT_FALSE(player.m_pTicker->IsWindowVisible());
    RECT ticker{};
    RECT own{};
    player.m_pTicker->GetWindowRect(&ticker);
    player.GetWindowRect(&own);
    EXPECT_EQ(ticker.left, own.left + layout::kTickerFromPlayer.x);
    EXPECT_EQ(ticker.top, own.top + layout::kTickerFromPlayer.y);
    EXPECT_EQ(ticker.right - ticker.left, layout::kTickerFromPlayer.cx);
    EXPECT_EQ(ticker.bottom - ticker.top, layout::kTickerFromPlayer.cy);
    ASSERT_TRUE(::GetWindowLongPtrA(player.m_pTicker->m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(player.m_pTicker->m_hWnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 70);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
}

TEST_F(PlayerWindow, EachExitPathReleasesTheOwnedWindows)
{
    const UINT exits[] = {ID_TRAY_EXIT, IDCANCEL, IDC_SKIN_QUON};
    for (UINT exit : exits) {
        if (!player.m_hWnd) {
            ASSERT_TRUE(player.Create(IDD_PLAYER, nullptr));
        }
        PumpFor(50);
        HWND video = player.m_pVideoDlg->m_hWnd;
        HWND ticker = player.m_pTicker->m_hWnd;
        EXPECT_TRUE(TrayHolds(player.m_hWnd, IDI_QUON)) << exit << ": the tray icon is there";
        MessageRecorder recorder({video, ticker}, {WM_DESTROY});
        ASSERT_TRUE(recorder.Hooked());
        Command(exit);
        EXPECT_EQ(recorder.Compare({{video, WM_DESTROY}, {ticker, WM_DESTROY}}), "")
            << exit << ": the Windows Media window goes first, then the ticker";
        ASSERT_TRUE(::IsWindow(player.m_hWnd));
        EXPECT_FALSE(TrayHolds(player.m_hWnd, IDI_QUON)) << exit << ": the exit removed the tray icon";
        EXPECT_EQ(player.m_pVideoDlg, nullptr) << exit;
        EXPECT_EQ(player.m_pTicker, nullptr) << exit;
        EXPECT_FALSE(::IsWindow(video)) << exit;
        EXPECT_FALSE(::IsWindow(ticker)) << exit;
        EXPECT_FALSE(player.IsWindowVisible()) << exit;
        EXPECT_EQ(player.m_closing, exit == IDC_SKIN_QUON) << exit;
        player.DestroyWindow();
        g_statusFont.DeleteObject();
    }
}

TEST_F(PlayerWindow, PaintsTheKnobAndBarsInTheSkinColours)
{
    ::RedrawWindow(player.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    PumpFor(50);
    EXPECT_EQ(PixelAt(player.m_hWnd, 372, 185), RGB(130, 130, 220)) << "outer disc";
    EXPECT_EQ(PixelAt(player.m_hWnd, 384, 200), RGB(160, 160, 220)) << "inner disc";
    EXPECT_EQ(PixelAt(player.m_hWnd, 250, 173), RGB(190, 190, 255)) << "upper bar";
    EXPECT_EQ(PixelAt(player.m_hWnd, 250, 225), RGB(190, 190, 255)) << "lower bar";
    EXPECT_EQ(PixelAt(player.m_hWnd, 393, 178), RGB(200, 60, 0)) << "plus sign";
    EXPECT_EQ(PixelAt(player.m_hWnd, 140, 200), RGB(215, 215, 248)) << "skin background";

    RECT play = player.m_rcPlay;
    EXPECT_EQ(play.left, 385);
    EXPECT_EQ(play.top, 192);
    EXPECT_EQ(play.right, 403);
    EXPECT_EQ(play.bottom, 205);
}

TEST_F(PlayerWindow, StatusLineIsBlueOnBlackAndBlackOnBlueWhenHighlighted)
{
    HWND box = player.GetDlgItem(IDC_STATUS);
    player.m_statusText = "WWWWWWWW";
    player.DrawStatusText(false);
    EXPECT_EQ(PixelAt(box, 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(box, 175, 28), RGB(0, 0, 0));
    bool sawText = false;
    for (int x = 8; x < 60 && !sawText; ++x)
        for (int y = 8; y < 26 && !sawText; ++y)
            sawText = PixelAt(box, x, y) == RGB(0, 0, 255);
    EXPECT_TRUE(sawText) << "blue text";

    player.DrawStatusText(true);
    EXPECT_EQ(PixelAt(box, 2, 2), RGB(0, 0, 255));
    bool sawBlack = false;
    for (int x = 8; x < 60 && !sawBlack; ++x)
        for (int y = 8; y < 26 && !sawBlack; ++y)
            sawBlack = PixelAt(box, x, y) == RGB(0, 0, 0);
    EXPECT_TRUE(sawBlack) << "black text";

    char mirrored[64] = "";
    ::GetWindowTextA(box, mirrored, sizeof mirrored);
    EXPECT_STREQ(mirrored, "WWWWWWWW");
}

// The status line as it must look: the text in bold Arial of height 18 at (8, 8) of the box, in
// the line's colours, drawn here apart from the program into a bitmap of the box's size.
std::vector<COLORREF> ExpectedStatusLine(const std::string& text, bool highlight, int width, int height)
{
    const COLORREF ink = highlight ? RGB(0, 0, 0) : RGB(0, 0, 255);
    const COLORREF paper = highlight ? RGB(0, 0, 255) : RGB(0, 0, 0);
    const RECT all{0, 0, width, height};
    return DrawnPixels(
        width, height,
        [&](HDC memory) {
            CFont font;
            font.CreateFont(18, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "Arial");
            CBrush fill(paper);
            CSelectObject selectFont(memory, font);
            ::FillRect(memory, &all, fill);
            ::SetTextColor(memory, ink);
            ::SetBkColor(memory, paper);
            ::TextOutA(memory, 8, 8, text.c_str(), static_cast<int>(text.size()));
        },
        all);
}

TEST_F(PlayerWindow, StatusTextIsDrawnInItsBoldArialAtItsPlace)
{
    HWND box = player.GetDlgItem(IDC_STATUS);
    RECT client{};
    ::GetClientRect(box, &client);
    for (bool highlight : {false, true}) {
        player.m_statusText = "Hello Quon";
        player.DrawStatusText(highlight);
        const std::vector<COLORREF> expected =
            ExpectedStatusLine("Hello Quon", highlight, client.right, client.bottom);
        HDC dc = ::GetDC(box);
        const std::vector<COLORREF> shown = PixelsIn(dc, client);
        ::ReleaseDC(box, dc);
        ASSERT_EQ(shown.size(), expected.size());
        int differing = 0;
        for (size_t i = 0; i < shown.size(); ++i)
            differing += shown[i] != expected[i];
        EXPECT_EQ(differing, 0) << (highlight ? "highlighted" : "normal") << ": pixels unlike the expected line";
    }
}

TEST_F(PlayerWindow, StatusLineShortensLongPathsInPlace)
{
    player.m_statusText = "C:\\music\\pop\\song name.mp3";
    player.DrawStatusText(false);
    EXPECT_EQ(player.m_statusText, "pop\\song name.mp3") << "folders go one at a time down to 17 bytes";
    player.m_statusText = "D:\\a long song title.mp3";
    player.DrawStatusText(false);
    EXPECT_EQ(player.m_statusText, "a long song title") << "a long name loses its extension";
}

TEST_F(PlayerWindow, HighlightTimerIsOneShot)
{
    Command(IDC_BTN_NEXT);
    EXPECT_TRUE(player.m_statusHighlight);
    Tick(3);
    EXPECT_FALSE(player.m_statusHighlight);
    // Killed: no further tick of timer 3 arrives.
    PumpFor(1300);
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, player.m_hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) && msg.wParam == 3);
}

TEST_F(PlayerWindow, PathTimerCopiesThePathOnlyWhileLoadedAndNotScrolling)
{
    player.m_mediaKind = 5;
    player.m_currentPath = "D:\\a.mp3";
    player.m_loaded = 0;
    Tick(5);
    EXPECT_EQ(player.m_statusText, kHelloQuon);
    player.m_loaded = 1;
    Tick(5);
    EXPECT_EQ(player.m_statusText, "D:\\a.mp3");
    player.m_scrollOn = true;
    player.m_statusText = "x";
    Tick(5);
    EXPECT_EQ(player.m_statusText, "x");
}

TEST_F(PlayerWindow, ScrollTimerScrollsAndAnyTickWhileOffKillsIt)
{
    Command(IDC_SKIN_EQ);
    EXPECT_TRUE(player.m_scrollOn);
    Tick(7);
    EXPECT_EQ(player.m_scrollOffset, 2);
    EXPECT_EQ(player.m_statusText.size(), 20u);
    Tick(7);
    EXPECT_EQ(player.m_scrollOffset, 4);
    Command(IDC_SKIN_EQ);
    EXPECT_FALSE(player.m_scrollOn);
    Tick(3); // any tick while the scroll is off kills timer 7
    EXPECT_FALSE(::KillTimer(player.m_hWnd, 7));
    Command(IDC_SKIN_EQ); // on again: restarts from the kept offset
    Tick(7);
    EXPECT_EQ(player.m_scrollOffset, 6);
}

TEST_F(PlayerWindow, RepeatModeCyclesAndShowsItsIndicator)
{
    struct Step {
        int mode;
        bool repeatOne;
        bool repeatList;
    };
    const Step steps[] = {{2, true, false}, {0, false, true}, {1, false, false}, {2, true, false}};
    for (const Step& s : steps) {
        Command(IDC_SKIN_MODE);
        EXPECT_EQ(player.m_repeatMode, s.mode);
        EXPECT_EQ(::IsWindowVisible(player.GetDlgItem(IDC_SKIN_REPEAT_ONE)) != FALSE, s.repeatOne) << s.mode;
        EXPECT_EQ(::IsWindowVisible(player.GetDlgItem(IDC_SKIN_REPEAT_LIST)) != FALSE, s.repeatList)
            << s.mode;
    }
}

TEST_F(PlayerWindow, StepsBeforeAnythingWasLoadedOnlyHighlight)
{
    Command(IDC_BTN_NEXT);
    EXPECT_TRUE(player.m_statusHighlight);
    EXPECT_EQ(player.m_statusText, kHelloQuon);
    EXPECT_TRUE(player.m_currentPath.empty());
    Command(IDC_BTN_BACK);
    EXPECT_TRUE(player.m_backPressed);
    EXPECT_FALSE(player.m_playing);
}

TEST_F(PlayerWindow, VolumeClicksWithNothingLoadedOnlyHighlight)
{
    ::SendMessageA(player.m_hWnd, WM_PAINT, 0, 0);
    ::SendMessageA(player.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(390, 175));
    EXPECT_TRUE(player.m_statusHighlight);
    EXPECT_EQ(player.m_pVideoDlg->m_player.GetVolume(), -600);
}

TEST_F(PlayerWindow, TimerTicksAndPaintsLeakNoGdiObjects)
{
    player.m_mediaKind = 5;
    player.m_loaded = 1;
    player.m_currentPath = "C:\\some folder\\a song with a long name.mp3";
    for (int i = 0; i < 200; ++i)
        Tick(5); // warm up caches the system keeps per DC
    const GdiCounters before = GetGdiCounters();
    const int kTicks = 100000;
    for (int i = 0; i < kTicks; ++i) {
        Tick(i % 3 == 0 ? 5 : (i % 3 == 1 ? 3 : 7));
        if (i % 10 == 0)
            ::RedrawWindow(player.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (i == kTicks / 2)
            Command(IDC_SKIN_EQ);
    }
    const GdiCounters after = GetGdiCounters();
    EXPECT_EQ(after.Live(), before.Live());
    EXPECT_EQ(after.failed, before.failed);
    EXPECT_GT(after.created - before.created, kTicks) << "every draw made its brush";
}

} // namespace
