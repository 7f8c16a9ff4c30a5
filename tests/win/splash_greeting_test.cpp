// The date greeting and the start-up splash, with the player window created on fixed dates.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/PlayerApp.h"
#include "framework/Gdi.h"
#include "player/PlayerDlg.h"
#include "player/Splash.h"
#include "player/logic/StatusStrings.h"
#include "resource.h"
#include "WinTestSupport.h"

namespace {

// Seconds since 1970 of 10:00 UTC on a Gregorian date (the machine's time zone is UTC).
std::time_t At10(int year, int month, int day)
{
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long days = era * 146097 + dayOfEra - 719468;
    return static_cast<std::time_t>(days) * 86400 + 10 * 3600;
}

class DatedPlayerDlg : public CPlayerDlg {
public:
    explicit DatedPlayerDlg(std::time_t when) : m_when(when) {}
    std::time_t ReadClock() const override { return m_when; }

private:
    std::time_t m_when;
};

void Close(DatedPlayerDlg& player)
{
    ::SendMessageA(player.m_hWnd, WM_COMMAND, ID_TRAY_EXIT, 0);
    player.DestroyWindow();
    g_statusFont.DeleteObject();
}

TEST(SplashGreeting, DaysWithoutSplashGreetInTheStatusLineOrNotAtAll)
{
    struct Case {
        const char* day;
        std::time_t when;
        const char* status;
    };
    const Case cases[] = {
        {"1 May (a Friday)", At10(2026, 5, 1), "五一节快乐！！   -----Osk"},
        {"2 May that is a Friday", At10(2025, 5, 2), kHelloQuon},
        {"a Monday in December", At10(2026, 12, 7), kHelloQuon},
        {"19 December, a Saturday", At10(2026, 12, 19), kHelloQuon},
        {"a Sunday in March", At10(2027, 3, 7), kHelloQuon},
        {"a Thursday in March", At10(2027, 3, 11), kHelloQuon},
    };
    for (const Case& c : cases) {
        DatedPlayerDlg player(c.when);
        ASSERT_TRUE(player.Create(IDD_PLAYER, nullptr)) << c.day;
        EXPECT_EQ(player.m_statusText, c.status) << c.day;
        EXPECT_EQ(player.m_pSplash, nullptr) << c.day << ": no splash";
        EXPECT_TRUE(::IsWindowVisible(player.m_hWnd)) << c.day;
        EXPECT_EQ(player.m_startTime, c.when) << c.day;
        Close(player);
    }
}

// What a second thread sees of the splash while the user-interface thread waits behind it.
struct SplashView {
    bool found = false;
    RECT rect{};
    bool drawn = false;
    COLORREF border = CLR_INVALID;
    COLORREF band = CLR_INVALID;
    COLORREF belowBand = CLR_INVALID;
    COLORREF background = CLR_INVALID;
    int greetingInk = 0;       // dark pixels in the greeting's rows
    int greetingDiffering = -1; // pixels of those rows unlike the greeting drawn where it belongs
    bool otherWindowVisible = false;
    bool stillVisibleAfterFiveSeconds = false;
};

struct Watch {
    Watch(DWORD thread, std::string text) : uiThread(thread), greeting(std::move(text)) {}
    DWORD uiThread;
    std::string greeting; // the text the splash should show
    HWND splash = nullptr;
    SplashView view;
};

BOOL CALLBACK FindSplash(HWND wnd, LPARAM param)
{
    auto* watch = reinterpret_cast<Watch*>(param);
    if (::GetWindowThreadProcessId(wnd, nullptr) != watch->uiThread || !::IsWindowVisible(wnd))
        return TRUE;
    char className[32] = "";
    ::GetClassNameA(wnd, className, sizeof className);
    RECT r{};
    ::GetWindowRect(wnd, &r);
    if (std::strcmp(className, "#32770") == 0 && r.left == 0 && r.top == 0 && r.right - r.left > 236)
        watch->splash = wnd;
    else
        watch->view.otherWindowVisible = true;
    return TRUE;
}

bool IsDark(COLORREF c)
{
    return c != CLR_INVALID && GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
}

// The rows of the splash between the band and the computer's name: the greeting, black on white in
// the window's own font, 110 pixels left of the centre at y 120, inside the grey border.
RECT GreetingRows(int width)
{
    return RECT{1, 104, width - 1, 156};
}

std::vector<COLORREF> ExpectedGreetingRows(const std::string& greeting, int width)
{
    const RECT rows = GreetingRows(width);
    return DrawnPixels(
        width, rows.bottom,
        [&](HDC memory) {
            CSelectObject selectFont(memory, ::GetStockObject(SYSTEM_FONT));
            const RECT all{0, 0, width, rows.bottom};
            ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            ::SetTextColor(memory, RGB(0, 0, 0));
            ::SetBkColor(memory, RGB(255, 255, 255));
            ::TextOutA(memory, width / 2 - 110, 120, greeting.c_str(), static_cast<int>(greeting.size()));
        },
        rows);
}

DWORD WINAPI WatchSplash(void* param)
{
    auto* watch = static_cast<Watch*>(param);
    const DWORD start = ::GetTickCount();
    while (!watch->splash && ::GetTickCount() - start < 6000) {
        watch->view.otherWindowVisible = false;
        ::EnumWindows(&FindSplash, reinterpret_cast<LPARAM>(watch));
        if (!watch->splash)
            ::Sleep(20);
    }
    if (!watch->splash)
        return 0;
    SplashView& view = watch->view;
    view.found = true;
    const DWORD seen = ::GetTickCount();
    ::GetWindowRect(watch->splash, &view.rect);
    const int w = view.rect.right - view.rect.left;
    const int h = view.rect.bottom - view.rect.top;
    // What is on the screen, not in the window's own buffer. The splash has no frame and sits
    // at the screen's origin, so its client coordinates are screen coordinates.
    HDC dc = ::GetDC(nullptr);
    // Drawn once, right after the window appeared.
    while (!view.drawn && ::GetTickCount() - seen < 3000) {
        view.drawn = ::GetPixel(dc, w - 10, 20) == RGB(160, 160, 230);
        ::Sleep(20);
    }
    view.border = ::GetPixel(dc, 0, h / 2);
    view.band = ::GetPixel(dc, w - 10, 50);
    view.belowBand = ::GetPixel(dc, w - 10, 101);
    view.background = ::GetPixel(dc, w - 10, h / 2);
    const std::vector<COLORREF> rows = PixelsIn(dc, GreetingRows(w));
    ::ReleaseDC(nullptr, dc);
    const std::vector<COLORREF> expected = ExpectedGreetingRows(watch->greeting, w);
    if (rows.size() == expected.size()) {
        view.greetingDiffering = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            view.greetingInk += IsDark(rows[i]);
            view.greetingDiffering += rows[i] != expected[i];
        }
    }
    // Nothing else shows up while the splash waits.
    while (::GetTickCount() - seen < 5000) {
        Watch again(watch->uiThread, watch->greeting);
        ::EnumWindows(&FindSplash, reinterpret_cast<LPARAM>(&again));
        view.otherWindowVisible = view.otherWindowVisible || again.view.otherWindowVisible;
        ::Sleep(100);
    }
    view.stillVisibleAfterFiveSeconds = ::IsWindowVisible(watch->splash) != FALSE;
    return 0;
}

TEST(SplashGreeting, ChristmasShowsTheGreetingSplashForItsWaitBeforeThePlayer)
{
    const GdiCounters before = GetGdiCounters();
    Watch watch(::GetCurrentThreadId(), "圣诞快乐！！！   -----Osk");
    HANDLE watcher = ::CreateThread(nullptr, 0, &WatchSplash, &watch, 0, nullptr);
    ASSERT_NE(watcher, nullptr);
    {
        DatedPlayerDlg player(At10(2026, 12, 25));
        ASSERT_TRUE(player.Create(IDD_PLAYER, nullptr));  // returns after the splash's wait
        ::WaitForSingleObject(watcher, 10000);
        ::CloseHandle(watcher);

        EXPECT_EQ(player.m_statusText, "圣诞快乐！！！   -----Osk");
        ASSERT_NE(player.m_pSplash, nullptr);
        EXPECT_FALSE(player.m_pSplash->IsWindowVisible()) << "hidden after the wait, kept until the end";
        EXPECT_TRUE(::IsWindowVisible(player.m_hWnd));
        Close(player);
        EXPECT_EQ(player.m_pSplash, nullptr);
    }
    EXPECT_EQ(GetGdiCounters().Live(), before.Live()) << "the splash's pens and brushes are deleted";

    const SplashView& view = watch.view;
    ASSERT_TRUE(view.found) << "no splash appeared";
    EXPECT_TRUE(view.drawn) << "the lavender band";
    EXPECT_EQ(view.border, RGB(92, 92, 92)) << "grey border";
    EXPECT_EQ(view.band, RGB(160, 160, 230));
    EXPECT_EQ(view.belowBand, RGB(255, 255, 255)) << "the band ends at y 100";
    EXPECT_EQ(view.background, RGB(255, 255, 255));
    EXPECT_GT(view.greetingInk, 20) << "the greeting is drawn";
    EXPECT_EQ(view.greetingDiffering, 0) << "the greeting in the window's font, 110 pixels left of the centre at y 120";
    EXPECT_FALSE(view.otherWindowVisible) << "the player waits behind the splash";
    EXPECT_TRUE(view.stillVisibleAfterFiveSeconds);
}

}  // namespace
