// Translucency on Windows XP and on a current Windows: the ticker from start-up, the Windows Media
// window switched by the menu's command, and the menu's entry, which is offered from 5.2 on.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "TraySupport.h"
#include "resource.h"

namespace {

const UINT kTrayNotify = WM_USER + 100;
const UINT kTrayIconId = 133;

struct Layering {
    bool layered = false;
    BYTE alpha = 0;
    DWORD flags = 0;
};

Layering LayeringOf(HWND wnd)
{
    Layering l;
    l.layered = (::GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    if (l.layered)
        ::GetLayeredWindowAttributes(wnd, nullptr, &l.alpha, &l.flags);
    return l;
}

// A message box of the program's ("Layering is not supported in this version of Windows").
bool ProgramShowsAMessageBox(const QuonProcess& quon)
{
    for (HWND wnd : quon.Windows()) {
        char className[16] = "";
        ::GetClassNameA(wnd, className, sizeof className);
        if (std::string(className) == "#32770" && ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, IDOK) &&
            ::GetDlgItem(wnd, 0xFFFF))
            return true;
    }
    return false;
}

using TranslucencyOnEachWindows = OnEachWindows<RunningPlayer>;

TEST_P(TranslucencyOnEachWindows, TickerAndVideoWindowTurnTranslucentAndTheMenuEntryActsFrom5Point2)
{
    HWND ticker = quon.Ticker();
    ASSERT_NE(ticker, nullptr);
    const Layering tickerLayering = LayeringOf(ticker);
    EXPECT_TRUE(tickerLayering.layered) << "the ticker from start-up";
    EXPECT_EQ(tickerLayering.alpha, 70);
    EXPECT_EQ(tickerLayering.flags, static_cast<DWORD>(LWA_ALPHA));

    HWND video = quon.Video();
    ASSERT_NE(video, nullptr);
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_TRANSLUCENT, 0);
    EXPECT_TRUE(WaitFor([&] { return LayeringOf(video).alpha == 80; }, 3000)) << "translucent at alpha 80";
    EXPECT_FALSE(ProgramShowsAMessageBox(quon)) << "the system has layered windows";
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_TRANSLUCENT, 0);
    EXPECT_TRUE(WaitFor([&] { return !LayeringOf(video).layered; }, 3000)) << "opaque again";

    // The menu's entry, chosen by keys while the Windows Media window is shown: it acts from 5.2
    // on and is greyed before.
    ::ShowWindow(video, SW_SHOWNOACTIVATE);
    ::PostMessageA(player, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitFor([&] { return FindPopupMenu(quon) != nullptr; }, 5000)) << "no menu opened";
    HWND menu = FindPopupMenu(quon);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) // the greeting, translucency, chosen
        ::PostMessageA(menu, WM_KEYDOWN, key, 0);
    // A greyed entry leaves the menu open.
    if (!WaitFor([&] { return FindPopupMenu(quon) == nullptr; }, 500))
        ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return FindPopupMenu(quon) == nullptr; }, 3000)) << "the menu closed";
    const bool offered = reportedVersion >= 5.2;
    EXPECT_EQ(WaitFor([&] { return LayeringOf(video).layered; }, 1000), offered)
        << "the entry " << (offered ? "acts" : "is greyed") << " on version " << reportedVersion;
}

INSTANTIATE_TEST_SUITE_P(On, TranslucencyOnEachWindows, ::testing::ValuesIn(kWindowsVersions),
                         WindowsVersionName);

} // namespace
