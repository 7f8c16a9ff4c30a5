// The program's presence on the desktop: while the player runs, the tray icon is its only sign outside
// its own windows; none of them gets a button on the taskbar.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "TestMedia.h"
#include "TraySupport.h"
#include "resource.h"

namespace {

// The windows that the desktop's taskbar shows a button for. Wine's taskbar keeps one owner-drawn
// button per window as a child of the tray window, with the window's handle as its control id.
std::vector<HWND> TaskbarWindows()
{
    std::vector<HWND> windows;
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    if (!tray)
        return windows;
    struct Walk {
        static BOOL CALLBACK Child(HWND child, LPARAM param)
        {
            char cls[32] = "";
            ::GetClassNameA(child, cls, sizeof cls);
            if (lstrcmpiA(cls, "Button") == 0 && ::IsWindowVisible(child)) {
                const auto id = static_cast<ULONG_PTR>(::GetWindowLongPtrA(child, GWLP_ID));
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(reinterpret_cast<HWND>(id));
            }
            return TRUE;
        }
    };
    ::EnumChildWindows(tray, &Walk::Child, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The program's windows that have a taskbar button; names them for the failure message.
std::string ProgramButtons(const QuonProcess& quon)
{
    std::string names;
    for (HWND target : TaskbarWindows()) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(target, &pid);
        if (pid != quon.Id())
            continue;
        char title[64] = "";
        ::GetWindowTextA(target, title, sizeof title);
        names += std::string(names.empty() ? "" : ", ") + "\"" + title + "\"";
        if (!::IsWindowVisible(target))
            names += " (hidden)";
        if (::GetWindowLongPtrA(target, GWL_STYLE) & WS_CHILD)
            names += " (a child window)";
    }
    return names;
}

// Every visible top-level window of the program is owned and does not ask for a button.
std::string UnownedWindows(const QuonProcess& quon)
{
    std::string names;
    for (HWND wnd : quon.Windows()) {
        if (!::IsWindowVisible(wnd))
            continue;
        const bool owned = ::GetWindow(wnd, GW_OWNER) != nullptr;
        const bool appWindow = (::GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
        if (owned && !appWindow)
            continue;
        char title[64] = "";
        ::GetWindowTextA(wnd, title, sizeof title);
        names += std::string(names.empty() ? "" : ", ") + "\"" + title + "\"";
    }
    return names;
}

class Taskbar : public RunningPlayer {};

TEST_F(Taskbar, PlayerTickerAndVideoWindowHaveNoButtons)
{
    ASSERT_TRUE(WaitFor([] { return ::FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }, 5000));
    // The ticker strip, switched on from the menu.
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_GREETING, 0);
    ASSERT_TRUE(WaitFor([&] { return quon.Ticker() && ::IsWindowVisible(quon.Ticker()); }, 5000));
    // The Windows Media window, up while a video plays.
    ASSERT_TRUE(WriteFileBytes(folder + "\\clip.avi", MakeVideoAvi(60, 160, 120, 10)));
    OpenWithDialog("\"clip.avi\"");
    ASSERT_TRUE(WaitFor([&] { return quon.Video() && ::IsWindowVisible(quon.Video()); }, 10000));
    ::Sleep(500);  // the taskbar follows window changes as it is told of them

    EXPECT_EQ(UnownedWindows(quon), "");
    EXPECT_EQ(ProgramButtons(quon), "") << "buttons on the taskbar";
}

// The splash of a greeting date is the only window for its eight seconds: no taskbar button either.
TEST(TaskbarSplash, OwnSessionChristmasSplashHasNoButton)
{
    QuonProcess quon;
    ASSERT_TRUE(quon.Start("2026-12-25 10:00:00"));
    ASSERT_TRUE(WaitFor([&] { return FindSplash(quon) != nullptr; }, 20000)) << "no splash appeared";
    ::Sleep(500);
    EXPECT_NE(::GetWindow(FindSplash(quon), GW_OWNER), nullptr) << "the splash is owned";
    EXPECT_EQ(ProgramButtons(quon), "") << "buttons on the taskbar";
    ASSERT_TRUE(quon.WaitForPlayer(20000));
    ::PostMessageA(quon.Player(), WM_COMMAND, ID_TRAY_EXIT, 0);
}

}  // namespace
