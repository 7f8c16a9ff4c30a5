// The real program on faked dates: the holiday splash, the tray menu in the screen's corner, and
// the ticker stepping through the message file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "E2eSupport.h"
#include "TraySupport.h"
#include "player/logic/Greeting.h"
#include "resource.h"

namespace {

// The program is started with a faked date here; each test runs alone in a session of its own, so
// that whatever a dated start leaves behind in the session cannot reach other tests.

const char kChristmas[] = "2026-12-25 10:00:00";
const char kPlainMonday[] = "2027-03-08 10:00:00";  // a Monday outside May and December
const UINT kTrayNotify = WM_USER + 100;
const UINT kTrayIconId = 133;

// Ends the program through the menu's exit command and waits for the credits window.
void ExitThroughTheMenuCommand(QuonProcess& quon, HWND player)
{
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    if (WaitFor([&] { HWND c = quon.Credits(); return c && ::IsWindowVisible(c); }, 10000))
        ::PostMessageA(quon.Credits(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(quon.HasExited(10000));
}

// Text drawn as the splash draws it (black on white in a window's default font, the system font)
// at (x, y), read back over area; drawn here apart from the program.
std::vector<COLORREF> ExpectedSplashText(const char* text, int x, int y, const RECT& area)
{
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, area.right, area.bottom);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    HGDIOBJ oldFont = ::SelectObject(memory, ::GetStockObject(SYSTEM_FONT));
    HBRUSH white = ::CreateSolidBrush(RGB(255, 255, 255));
    const RECT all{0, 0, area.right, area.bottom};
    ::FillRect(memory, &all, white);
    ::DeleteObject(white);
    ::SetTextColor(memory, RGB(0, 0, 0));
    ::SetBkColor(memory, RGB(255, 255, 255));
    ::TextOutA(memory, x, y, text, lstrlenA(text));
    std::vector<COLORREF> pixels;
    for (int py = area.top; py < area.bottom; ++py)
        for (int px = area.left; px < area.right; ++px)
            pixels.push_back(::GetPixel(memory, px, py));
    ::SelectObject(memory, oldFont);
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return pixels;
}

bool PlayerShown(const QuonProcess& quon)
{
    HWND player = quon.Player();
    return player && ::IsWindowVisible(player);
}

TEST(SplashOwnSession, ChristmasShowsTheGreetingSplashForAboutEightSecondsThenThePlayer)
{
    QuonProcess quon;
    ASSERT_TRUE(quon.Start(kChristmas)) << "needs QUON_EXE and libfaketime";
    ASSERT_TRUE(WaitFor([&] { return FindSplash(quon) != nullptr; }, 20000)) << "no splash appeared";
    const DWORD seen = ::GetTickCount();
    HWND splash = FindSplash(quon);
    ::Sleep(500);
    Screenshot shot;
    shot.Save("splash_christmas");
    RECT r{};
    ::GetWindowRect(splash, &r);
    EXPECT_EQ(shot.At(r.left, (r.top + r.bottom) / 2), RGB(92, 92, 92)) << "grey border";
    EXPECT_EQ(shot.At(r.right - 10, r.top + 50), RGB(160, 160, 230)) << "lavender band";
    EXPECT_EQ(shot.At(r.right - 10, r.top + 110), RGB(255, 255, 255)) << "white below the band";
    // The greeting line: the day's text in the window's own (system) font, black on white, with its
    // top-left corner 110 pixels left of the splash's centre and 120 down.
    {
        const GreetingChoice christmas = SelectGreetingForDate(12, 25, 6);
        ASSERT_NE(christmas.text, nullptr);
        const int w = r.right - r.left;
        const RECT line{w / 2 - 110 - 6, 112, w - 4, 150};
        const std::vector<COLORREF> expected = ExpectedSplashText(christmas.text, w / 2 - 110, 120, line);
        int differing = 0;
        size_t i = 0;
        for (int y = line.top; y < line.bottom; ++y)
            for (int x = line.left; x < line.right; ++x)
                differing += shot.At(r.left + x, r.top + y) != expected[i++];
        EXPECT_EQ(differing, 0) << "pixels of the greeting line unlike the day's text at its place";
    }

    // The player waits behind the splash for its eight seconds.
    bool playerShownEarly = false;
    while (::GetTickCount() - seen < 5000) {
        playerShownEarly = playerShownEarly || PlayerShown(quon);
        ::Sleep(50);
    }
    EXPECT_FALSE(playerShownEarly) << "the player appeared during the splash";
    EXPECT_TRUE(::IsWindowVisible(splash)) << "the splash still shows at 5 s";
    ASSERT_TRUE(WaitFor([&] { return PlayerShown(quon); }, 12000)) << "the player did not follow the splash";
    EXPECT_FALSE(::IsWindowVisible(splash)) << "the splash is hidden once the player shows";

    // The status line shows the greeting when it is next drawn (a click on the knob's plus sign
    // highlights it), cut to the line's 20 bytes.
    HWND player = quon.Player();
    ::Sleep(300);
    ClickAt(player, 392, 177);
    const std::string shown = std::string("圣诞快乐！！！   -----Osk").substr(0, 20);
    EXPECT_TRUE(WaitFor([&] { return StatusText(player) == shown; }, 3000))
        << "[" << StatusText(player) << "]";
    ::Sleep(100);
    Screenshot().Save("player_christmas");
    EXPECT_EQ(StatusText(player), shown);
    ExitThroughTheMenuCommand(quon, player);
}

TEST(SplashOwnSession, PlainWeekdayShowsThePlayerAtOnceWithoutSplash)
{
    QuonProcess quon;
    ASSERT_TRUE(quon.Start(kPlainMonday)) << "needs QUON_EXE and libfaketime";
    bool splashSeen = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            splashSeen = splashSeen || FindSplash(quon) != nullptr;
            return PlayerShown(quon);
        },
        20000));
    EXPECT_FALSE(splashSeen);
    HWND player = quon.Player();
    ::Sleep(300);
    ClickAt(player, 392, 177);
    EXPECT_TRUE(WaitFor([&] { return StatusText(player) == "Hello Quon"; }, 3000)) << StatusText(player);
    EXPECT_EQ(FindSplash(quon), nullptr);
    ExitThroughTheMenuCommand(quon, player);
}

TEST(TrayMenuOwnSession, RightClickOnTheIconOpensTheMenuInTheScreensBottomRightCorner)
{
    QuonProcess quon;
    ASSERT_TRUE(quon.Start(kPlainMonday));
    ASSERT_TRUE(quon.WaitForPlayer());
    HWND player = quon.Player();
    ::Sleep(300);
    ::PostMessageA(player, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitFor([&] { return FindPopupMenu(quon) != nullptr; }, 5000)) << "no menu opened";
    HWND menu = FindPopupMenu(quon);
    ::Sleep(300);
    Screenshot shot;
    shot.Save("tray_menu");

    RECT screen{};
    ::GetClientRect(::GetDesktopWindow(), &screen);
    RECT r{};
    ::GetWindowRect(menu, &r);
    // Tracked at (W - 20, H - 28); the system pushes it back onto the screen.
    EXPECT_LE(r.left, screen.right - 20);
    EXPECT_LE(r.top, screen.bottom - 28);
    EXPECT_GE(r.right, screen.right - 22);
    EXPECT_GE(r.bottom, screen.bottom - 30);
    EXPECT_LE(r.right, screen.right);
    EXPECT_LE(r.bottom, screen.bottom);
    EXPECT_GT(shot.DistinctColours(r), 2) << "the menu's labels are drawn";

    // Esc closes the menu only; the player stays.
    HWND foreground = ::GetForegroundWindow();
    if (quon.Owns(foreground)) {
        INPUT keys[2]{};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
    } else {
        ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    EXPECT_TRUE(WaitFor([&] { return FindPopupMenu(quon) == nullptr; }, 5000)) << "Esc left the menu open";
    ::Sleep(500);
    EXPECT_TRUE(PlayerShown(quon)) << "Esc reached the menu, not the player";
    EXPECT_FALSE(quon.HasExited());
    ExitThroughTheMenuCommand(quon, player);
}

// The sequence of distinct pictures a screen area shows, each taken once it has settled.
std::vector<Frame> WatchFrames(const RECT& area, size_t count, DWORD timeoutMs)
{
    std::vector<Frame> frames;
    Frame previous = Capture(Screenshot(), area);
    const DWORD start = ::GetTickCount();
    while (frames.size() < count && ::GetTickCount() - start < timeoutMs) {
        ::Sleep(150);
        Frame now = Capture(Screenshot(), area);
        const bool settled = now == previous;
        previous = now;
        if (settled && (frames.empty() || now != frames.back()))
            frames.push_back(now);
    }
    return frames;
}

TEST(TickerOwnSession, GreetingShowsTheMessageSegmentsInTurnWithTheTitleBetween)
{
    MessageFile file("第一段 早上好 AAAA**BB 第二段 BB**第三段 CCCCCCCCCCCC");
    ASSERT_TRUE(file.Written()) << file.Path();
    QuonProcess quon;
    ASSERT_TRUE(quon.Start(kPlainMonday));
    ASSERT_TRUE(quon.WaitForPlayer());
    HWND player = quon.Player();
    ::Sleep(300);
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_GREETING, 0);
    ASSERT_TRUE(WaitFor([&] { HWND t = quon.Ticker(); return t && ::IsWindowVisible(t); }, 5000));
    HWND ticker = quon.Ticker();
    RECT area{};
    ::GetWindowRect(ticker, &area);
    RECT own{};
    ::GetWindowRect(player, &own);
    EXPECT_EQ(area.left, own.left + 150);
    EXPECT_EQ(area.top, own.top + 155);
    EXPECT_EQ(area.right - area.left, 236);
    EXPECT_EQ(area.bottom - area.top, 20);

    // Whatever the strip showed when it appeared, the ticks that follow (3 s apart) alternate
    // between the title and the next segment: A, title, B, title, C, title, A, ... The first
    // picture may still be the one from before the first tick, so the last eight are compared.
    std::vector<Frame> watched = WatchFrames(area, 9, 45000);
    Screenshot().Save("ticker_on_screen");
    for (size_t i = 0; i < watched.size(); ++i)
        SaveFrame(watched[i], "ticker_frame_" + std::to_string(i));
    ASSERT_GE(watched.size(), 9u) << "the strip did not change every 3 s";
    const std::vector<Frame> frames(watched.end() - 8, watched.end());

    // The title frames are the ones that repeat every other tick.
    const size_t title = frames[0] == frames[2] && frames[2] == frames[4] ? 0 : 1;
    std::vector<Frame> segments;
    for (size_t i = 0; i < 8; ++i) {
        if (i % 2 == title)
            EXPECT_TRUE(frames[i] == frames[title]) << "title at frame " << i;
        else
            segments.push_back(frames[i]);
    }
    ASSERT_EQ(segments.size(), 4u);
    EXPECT_TRUE(segments[0] != segments[1]) << "segments 1 and 2 differ";
    EXPECT_TRUE(segments[1] != segments[2]) << "segments 2 and 3 differ";
    EXPECT_TRUE(segments[0] != segments[2]) << "segments 1 and 3 differ";
    EXPECT_TRUE(segments[3] == segments[0]) << "the fourth segment tick starts over";
    for (const Frame& s : segments)
        EXPECT_TRUE(s != frames[title]) << "a segment differs from the title";
    ExitThroughTheMenuCommand(quon, player);
}

}  // namespace
