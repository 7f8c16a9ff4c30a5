// The program's icon in the notification area: there while the player runs, gone after every exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "E2eSupport.h"
#include "resource.h"

namespace {

const UINT kTrayIconId = 133;

// Whether the notification area holds an icon of that window and id: changing nothing of it
// succeeds only for an icon it holds.
bool TrayHolds(HWND owner, UINT id)
{
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = 0;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

TEST(TrayIcon, IsThereWhileThePlayerRunsAndGoneAfterEachExitPath)
{
    const struct {
        const char* how;
        UINT command;
    } exits[] = {{"the menu's exit", ID_TRAY_EXIT}, {"Esc", IDCANCEL}, {"the product bitmap", IDC_SKIN_QUON}};
    for (const auto& exit : exits) {
        SCOPED_TRACE(exit.how);
        QuonProcess quon;
        ASSERT_TRUE(quon.Start());
        ASSERT_TRUE(quon.WaitForPlayer());
        const HWND player = quon.Player();
        EXPECT_TRUE(WaitFor([&] { return TrayHolds(player, kTrayIconId); }, 3000))
            << "the icon is in the notification area";
        EXPECT_FALSE(TrayHolds(player, kTrayIconId + 1)) << "and no other icon of the player";
        ::PostMessageA(player, WM_COMMAND, exit.command, 0);
        ASSERT_TRUE(WaitFor([&] { return quon.Credits() && ::IsWindowVisible(quon.Credits()); }, 10000));
        EXPECT_FALSE(TrayHolds(player, kTrayIconId)) << "the icon left with the player";
        ::PostMessageA(quon.Credits(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(quon.HasExited(10000));
    }
}

}  // namespace
