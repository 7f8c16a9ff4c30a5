// The tray icon in process: its popup menu, the window commands, the two video layouts, translucency.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/PlayerApp.h"
#include "player/PlayerDlg.h"
#include "player/logic/Layout.h"
#include "player/Tray.h"
#include "resource.h"
#include "ticker/Tobrick.h"
#include "wmp/VideoDlg.h"
#include "PlayerSession.h"
#include "WinTestSupport.h"

namespace {

const char kShowGreeting[] = "显示祝福";
const char kHideGreeting[] = "隐藏祝福";
const char kMakeTranslucent[] = "播放窗口透明处理";
const char kCancelTranslucent[] = "取消透明处理";

// ---------------------------------------------------------------------------------------------
// Reading menus

struct MenuEntry {
    UINT id;
    std::string text;
    bool separator;
    bool greyed;
    bool disabled;
};

std::vector<MenuEntry> ReadMenu(HMENU menu)
{
    std::vector<MenuEntry> entries;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[128] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        entries.push_back({info.wID, text, (info.fType & MFT_SEPARATOR) != 0, (state & MF_GRAYED) != 0,
                           (state & MF_DISABLED) != 0});
    }
    return entries;
}

// The commands of the menu in their order, each followed by a separator but the last.
const UINT kMenuOrder[] = {ID_TRAY_GREETING, ID_TRAY_TRANSLUCENT, ID_TRAY_SUPPORT,     ID_TRAY_SHOW_MAIN,
                           ID_TRAY_CHOOSER,  ID_TRAY_REPEAT_ONE,  ID_TRAY_REPEAT_LIST, ID_TRAY_HIDE,
                           ID_TRAY_EXIT,     ID_TRAY_CLOSE_MENU};

struct FixedLabel {
    UINT id;
    const char* text;
};
const FixedLabel kFixedLabels[] = {
    {ID_TRAY_SUPPORT, "技术支持"},
    {ID_TRAY_SHOW_MAIN, "操控主界面"},
    {ID_TRAY_CHOOSER, "选择播放列表"},
    {ID_TRAY_REPEAT_ONE, "重复播放当前媒体文件"},
    {ID_TRAY_REPEAT_LIST, "重复播放媒体列表"},
    {ID_TRAY_HIDE, "隐藏程序窗口"},
    {ID_TRAY_EXIT, "退出程序"},
    {ID_TRAY_CLOSE_MENU, "关闭菜单"},
};

// What the user sees in an opened menu.
struct ExpectedMenu {
    const char* greetingLabel;
    const char* translucencyLabel;
    std::set<UINT> greyed;
};

void ExpectMenuShows(const std::vector<MenuEntry>& entries, const ExpectedMenu& expected,
                     const std::string& what)
{
    ASSERT_EQ(entries.size(), 2 * std::size(kMenuOrder) - 1) << what;
    for (size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry& e = entries[i];
        if (i % 2 == 1) {
            EXPECT_TRUE(e.separator) << what << ": entry " << i;
            continue;
        }
        const UINT id = kMenuOrder[i / 2];
        ASSERT_EQ(e.id, id) << what << ": entry " << i;
        std::string label;
        if (id == ID_TRAY_GREETING)
            label = expected.greetingLabel;
        else if (id == ID_TRAY_TRANSLUCENT)
            label = expected.translucencyLabel;
        for (const FixedLabel& f : kFixedLabels)
            if (f.id == id)
                label = f.text;
        EXPECT_EQ(e.text, label) << what << ": command " << id;
        const bool greyed = expected.greyed.count(id) != 0;
        EXPECT_EQ(e.greyed, greyed) << what << ": command " << id;
        EXPECT_EQ(e.disabled, greyed) << what << ": command " << id;
    }
}

HMENU LoadTraySubmenu(HMENU* loaded)
{
    *loaded = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    return *loaded ? ::GetSubMenu(*loaded, 0) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Catching the tracked popup menu from inside its modal loop

struct CaughtMenu {
    bool seen = false;
    RECT rect{};
    std::vector<MenuEntry> entries;
    int polls = 0;
};
CaughtMenu g_caught;

BOOL CALLBACK FindMenuWindow(HWND wnd, LPARAM param)
{
    char className[32] = "";
    ::GetClassNameA(wnd, className, sizeof className);
    if (std::strcmp(className, "#32768") == 0 && ::IsWindowVisible(wnd)) {
        *reinterpret_cast<HWND*>(param) = wnd;
        return FALSE;
    }
    return TRUE;
}

// Reads the popup menu window of this thread and closes the menu; gives up after about 5 s.
void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menuWindow = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindMenuWindow, reinterpret_cast<LPARAM>(&menuWindow));
    if (!menuWindow && ++g_caught.polls < 250)
        return;
    ::KillTimer(nullptr, timer);
    if (menuWindow) {
        g_caught.seen = true;
        ::GetWindowRect(menuWindow, &g_caught.rect);
        auto menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        g_caught.entries = ReadMenu(menu);
    }
    ::EndMenu();
}

// Right-clicks the tray icon (through its callback message) and reads the menu it opens.
CaughtMenu OpenMenuThroughTheIcon(HWND player)
{
    g_caught = CaughtMenu();
    ::SetTimer(nullptr, 0, 20, &ReadAndCloseMenu);
    ::SendMessageA(player, WM_TRAYNOTIFY, IDI_QUON, WM_RBUTTONDOWN);
    PumpFor(50);
    return g_caught;
}

// ---------------------------------------------------------------------------------------------
// The player window, created modeless with a fixed plain date

RECT WindowRect(HWND wnd)
{
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return r;
}

RECT ChildRect(HWND parent, HWND child)
{
    RECT r = WindowRect(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT Screen()
{
    RECT screen{};
    ::GetClientRect(::GetDesktopWindow(), &screen);
    return screen;
}

void ExpectRect(const RECT& actual, int left, int top, int width, int height, const std::string& what)
{
    EXPECT_EQ(actual.left, left) << what;
    EXPECT_EQ(actual.top, top) << what;
    EXPECT_EQ(actual.right - actual.left, width) << what;
    EXPECT_EQ(actual.bottom - actual.top, height) << what;
}

bool HasStyle(HWND wnd, LONG_PTR bits)
{
    return (::GetWindowLongPtrA(wnd, GWL_STYLE) & bits) == bits;
}
bool HasNoStyle(HWND wnd, LONG_PTR bits)
{
    return (::GetWindowLongPtrA(wnd, GWL_STYLE) & bits) == 0;
}

// Watches for a message box of this thread while an action runs: reads it and presses OK.
struct CaughtBox {
    bool seen = false;
    std::string text;
    HWND owner = nullptr;
};
CaughtBox g_box;

BOOL CALLBACK FindMessageBox(HWND wnd, LPARAM param)
{
    char className[32] = "";
    ::GetClassNameA(wnd, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, 0xFFFF)) {
        *reinterpret_cast<HWND*>(param) = wnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ReadAndCloseMessageBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindMessageBox, reinterpret_cast<LPARAM>(&box));
    if (!box || g_box.seen)
        return;
    g_box.seen = true;
    char text[128] = "";
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    g_box.text = text;
    g_box.owner = ::GetWindow(box, GW_OWNER);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

template <class Action> CaughtBox WatchForMessageBox(Action action)
{
    g_box = CaughtBox();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &ReadAndCloseMessageBox);
    action();
    PumpFor(200);
    ::KillTimer(nullptr, timer);
    return g_box;
}

class TrayPlayer : public ::testing::Test {
public:
    void SetUp() override
    {
        ASSERT_TRUE(session.Created());
        video = player.m_pVideoDlg->m_hWnd;
        ticker = player.m_pTicker->m_hWnd;
    }
    void Command(UINT id) { session.Command(id); }
    void TrayMouse(UINT mouseMessage, UINT iconId = IDI_QUON)
    {
        ::SendMessageA(player.m_hWnd, WM_TRAYNOTIFY, iconId, mouseMessage);
        PumpFor(30);
    }
    void ShowVideo()
    {
        player.m_pVideoDlg->ShowWindow(SW_SHOWNOACTIVATE);
        PumpFor(30);
    }
    bool PlayerVisible() const { return ::IsWindowVisible(player.m_hWnd) != FALSE; }
    bool TickerVisible() const { return ::IsWindowVisible(ticker) != FALSE; }
    bool VideoVisible() const { return ::IsWindowVisible(video) != FALSE; }
    HWND Control() const { return player.m_pVideoDlg->m_player.m_hWnd; }

    PlayerSession session;
    TestPlayerDlg& player = session.player;
    HWND video = nullptr;
    HWND ticker = nullptr;
};

// The answer the prefix's configured Windows version gives: 5.2 and later offer translucency.
bool PrefixOffersTranslucency()
{
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!rtlGetVersion || rtlGetVersion(&info) != 0)
        return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 2);
}

// =============================================================================================
// The menu worked out from each state

TEST(TrayMenu, LabelsAndGreyedEntriesFollowTheState)
{
    struct Case {
        const char* name;
        TrayMenuState state;
        ExpectedMenu expected;
    };
    TrayMenuState start; // player shown, greeting off, nothing loaded, video hidden, 5.2 or later
    auto with = [&](auto change) {
        TrayMenuState s = start;
        change(s);
        return s;
    };
    const UINT showMain = ID_TRAY_SHOW_MAIN, greeting = ID_TRAY_GREETING, translucent = ID_TRAY_TRANSLUCENT,
               repeatOne = ID_TRAY_REPEAT_ONE, repeatList = ID_TRAY_REPEAT_LIST, hide = ID_TRAY_HIDE;
    const Case cases[] = {
        {"start-up",
         start,
         {kShowGreeting, kMakeTranslucent, {showMain, translucent, repeatList, repeatOne}}},
        {"player hidden",
         with([](TrayMenuState& s) { s.playerVisible = false; }),
         {kShowGreeting, kMakeTranslucent, {greeting, translucent, repeatList, repeatOne, hide}}},
        {"greeting on",
         with([](TrayMenuState& s) { s.tickerShown = true; }),
         {kHideGreeting, kMakeTranslucent, {showMain, translucent, repeatList, repeatOne}}},
        {"greeting on, player hidden",
         with([](TrayMenuState& s) {
             s.tickerShown = true;
             s.playerVisible = false;
         }),
         {kHideGreeting, kMakeTranslucent, {greeting, translucent, repeatList, repeatOne, hide}}},
        {"video visible on 5.2 or later",
         with([](TrayMenuState& s) { s.videoVisible = true; }),
         {kShowGreeting, kMakeTranslucent, {showMain, repeatList, repeatOne}}},
        {"video visible and translucent",
         with([](TrayMenuState& s) {
             s.videoVisible = true;
             s.translucent = true;
         }),
         {kShowGreeting, kCancelTranslucent, {showMain, repeatList, repeatOne}}},
        {"video hidden while translucent",
         with([](TrayMenuState& s) { s.translucent = true; }),
         {kShowGreeting, kCancelTranslucent, {showMain, translucent, repeatList, repeatOne}}},
        {"video visible on 5.1 or 5.0",
         with([](TrayMenuState& s) {
             s.videoVisible = true;
             s.translucencySupported = false;
         }),
         {kShowGreeting, kMakeTranslucent, {showMain, translucent, repeatList, repeatOne}}},
        {"list filled, a current medium",
         with([](TrayMenuState& s) {
             s.playListEmpty = false;
             s.noCurrentPath = false;
         }),
         {kShowGreeting, kMakeTranslucent, {showMain, translucent}}},
        {"list filled, no current medium",
         with([](TrayMenuState& s) { s.playListEmpty = false; }),
         {kShowGreeting, kMakeTranslucent, {showMain, translucent, repeatOne}}},
        {"everything on, player shown",
         with([](TrayMenuState& s) {
             s.tickerShown = s.translucent = s.videoVisible = true;
             s.playListEmpty = s.noCurrentPath = false;
         }),
         {kHideGreeting, kCancelTranslucent, {showMain}}},
        {"everything on, player hidden, 5.1",
         with([](TrayMenuState& s) {
             s.tickerShown = s.translucent = s.videoVisible = true;
             s.playListEmpty = s.noCurrentPath = false;
             s.playerVisible = s.translucencySupported = false;
         }),
         {kHideGreeting, kCancelTranslucent, {greeting, translucent, hide}}},
    };
    for (const Case& c : cases) {
        HMENU loaded = nullptr;
        HMENU menu = LoadTraySubmenu(&loaded);
        ASSERT_NE(menu, nullptr);
        UpdateTrayMenu(menu, c.state);
        ExpectMenuShows(ReadMenu(menu), c.expected, c.name);
        ::DestroyMenu(loaded);
    }
}

TEST(TrayMenu, ResourceHoldsTheEntriesInOrderWithTheUnusedTranslucencyText)
{
    HMENU loaded = nullptr;
    HMENU menu = LoadTraySubmenu(&loaded);
    ASSERT_NE(menu, nullptr);
    ExpectMenuShows(ReadMenu(menu), {kShowGreeting, "播放窗口不透明处理", {}}, "as loaded");
    ::DestroyMenu(loaded);
}

// =============================================================================================
// The real opening through the icon's callback

TEST_F(TrayPlayer, RightClickOpensTheMenuAtTheScreensBottomRightWithThePlayersState)
{
    const RECT screen = Screen();
    const bool offered = PrefixOffersTranslucency();
    EXPECT_EQ(SystemSupportsTranslucency(), offered) << "the prefix's Windows version decides";

    struct Step {
        const char* name;
        void (*act)(TrayPlayer&);
        ExpectedMenu expected; // on a system that offers translucency
    };
    const UINT showMain = ID_TRAY_SHOW_MAIN, greeting = ID_TRAY_GREETING, translucent = ID_TRAY_TRANSLUCENT,
               repeatOne = ID_TRAY_REPEAT_ONE, repeatList = ID_TRAY_REPEAT_LIST, hide = ID_TRAY_HIDE;
    const Step steps[] = {
        {"start-up",
         [](TrayPlayer&) {},
         {kShowGreeting, kMakeTranslucent, {showMain, translucent, repeatList, repeatOne}}},
        {"greeting switched on",
         [](TrayPlayer& t) { t.Command(ID_TRAY_GREETING); },
         {kHideGreeting, kMakeTranslucent, {showMain, translucent, repeatList, repeatOne}}},
        {"player hidden by command 132",
         [](TrayPlayer& t) { t.Command(ID_TRAY_HIDE); },
         {kHideGreeting, kMakeTranslucent, {greeting, translucent, repeatList, repeatOne, hide}}},
        {"player shown again by command 1041",
         [](TrayPlayer& t) { t.Command(ID_TRAY_SHOW_MAIN); },
         {kHideGreeting, kMakeTranslucent, {showMain, translucent, repeatList, repeatOne}}},
        {"greeting switched off",
         [](TrayPlayer& t) { t.Command(ID_TRAY_GREETING); },
         {kShowGreeting, kMakeTranslucent, {showMain, translucent, repeatList, repeatOne}}},
        {"a list and a current medium",
         [](TrayPlayer& t) {
             g_playList.AddTail("C:\\music\\a.mp3");
             t.player.m_currentPath = "C:\\music\\a.mp3";
         },
         {kShowGreeting, kMakeTranslucent, {showMain, translucent}}},
        {"video window visible",
         [](TrayPlayer& t) { t.ShowVideo(); },
         {kShowGreeting, kMakeTranslucent, {showMain}}},
        {"video window translucent",
         [](TrayPlayer& t) { t.Command(ID_TRAY_TRANSLUCENT); },
         {kShowGreeting, kCancelTranslucent, {showMain}}},
        {"player hidden through the icon",
         [](TrayPlayer& t) { t.TrayMouse(WM_LBUTTONDOWN); },
         {kShowGreeting, kCancelTranslucent, {greeting, hide}}},
    };
    for (const Step& s : steps) {
        s.act(*this);
        ExpectedMenu expected = s.expected;
        if (!offered)
            expected.greyed.insert(translucent);
        CaughtMenu menu = OpenMenuThroughTheIcon(player.m_hWnd);
        ASSERT_TRUE(menu.seen) << s.name << ": no popup menu appeared";
        ExpectMenuShows(menu.entries, expected, s.name);
        // Tracked at (W - 20, H - 28), the menu is pushed back onto the screen: it lies in the
        // bottom-right corner and covers that point or touches it.
        EXPECT_LE(menu.rect.left, screen.right - 20) << s.name;
        EXPECT_LE(menu.rect.top, screen.bottom - 28) << s.name;
        EXPECT_GE(menu.rect.right, screen.right - 22) << s.name;
        EXPECT_GE(menu.rect.bottom, screen.bottom - 30) << s.name;
        EXPECT_LE(menu.rect.right, screen.right) << s.name;
        EXPECT_LE(menu.rect.bottom, screen.bottom) << s.name;
        EXPECT_EQ(player.m_trayIconId, IDI_QUON);
        EXPECT_EQ(player.m_trayMouseMsg, WM_RBUTTONDOWN);
        EXPECT_EQ(player.m_pTrayMenu, nullptr) << "the menu is gone once it closed";
    }
}

TEST_F(TrayPlayer, MenuCommandReachesThePlayerAfterTheMenuCloses)
{
    // Choosing "显示祝福" in the menu: the command arrives as an ordinary command message.
    g_caught = CaughtMenu();
    struct Chooser {
        static void CALLBACK Choose(HWND, UINT, UINT_PTR timer, DWORD)
        {
            HWND menuWindow = nullptr;
            ::EnumThreadWindows(::GetCurrentThreadId(), &FindMenuWindow,
                                reinterpret_cast<LPARAM>(&menuWindow));
            if (!menuWindow && ++g_caught.polls < 250)
                return;
            ::KillTimer(nullptr, timer);
            g_caught.seen = menuWindow != nullptr;
            // Down to the first entry, then Enter.
            if (menuWindow) {
                ::PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
                ::PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
            } else {
                ::EndMenu();
            }
        }
    };
    ::SetTimer(nullptr, 0, 20, &Chooser::Choose);
    ::SendMessageA(player.m_hWnd, WM_TRAYNOTIFY, IDI_QUON, WM_RBUTTONDOWN);
    ASSERT_TRUE(g_caught.seen);
    ASSERT_TRUE(PumpUntil([&] { return player.m_tickerShown; }, 3000)) << "command 32773 was not chosen";
    EXPECT_TRUE(TickerVisible());
}

// =============================================================================================
// Left clicks on the icon

TEST_F(TrayPlayer, LeftClickTogglesThePlayerAndBringsTheTickerBackOnlyWithTheGreetingOn)
{
    TrayMouse(WM_LBUTTONDOWN);
    EXPECT_FALSE(PlayerVisible());
    EXPECT_FALSE(player.m_windowShown);
    EXPECT_FALSE(TickerVisible());
    TrayMouse(WM_LBUTTONDOWN);
    EXPECT_TRUE(PlayerVisible());
    EXPECT_TRUE(player.m_windowShown);
    EXPECT_FALSE(TickerVisible()) << "the greeting is off";

    Command(ID_TRAY_GREETING);
    ASSERT_TRUE(TickerVisible());
    TrayMouse(WM_LBUTTONDOWN);
    EXPECT_FALSE(PlayerVisible());
    EXPECT_FALSE(TickerVisible()) << "hiding the player hides the ticker";
    TrayMouse(WM_LBUTTONDOWN);
    EXPECT_TRUE(PlayerVisible());
    EXPECT_TRUE(TickerVisible()) << "the greeting is on";
}

TEST_F(TrayPlayer, DoubleClickTogglesTwice)
{
    // A double click arrives as a button-down and then a double-click message.
    TrayMouse(WM_LBUTTONDOWN);
    TrayMouse(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(PlayerVisible());
    EXPECT_TRUE(player.m_windowShown);
    TrayMouse(WM_LBUTTONDBLCLK);
    EXPECT_FALSE(PlayerVisible());
    EXPECT_FALSE(player.m_windowShown);
}

TEST_F(TrayPlayer, OtherMessagesAndOtherIconsAreIgnoredButRemembered)
{
    struct Case {
        UINT iconId;
        UINT mouseMessage;
    };
    const Case cases[] = {{IDI_QUON, WM_MOUSEMOVE},     {IDI_QUON, WM_LBUTTONUP}, {IDI_QUON, WM_RBUTTONUP},
                          {IDI_QUON, WM_RBUTTONDBLCLK}, {134, WM_LBUTTONDOWN},    {0, WM_RBUTTONDOWN}};
    for (const Case& c : cases) {
        TrayMouse(c.mouseMessage, c.iconId);
        EXPECT_EQ(player.m_trayIconId, static_cast<int>(c.iconId));
        EXPECT_EQ(player.m_trayMouseMsg, static_cast<int>(c.mouseMessage));
        EXPECT_TRUE(PlayerVisible()) << c.iconId << " " << c.mouseMessage;
        EXPECT_TRUE(player.m_windowShown) << c.iconId << " " << c.mouseMessage;
        HWND menuWindow = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindMenuWindow, reinterpret_cast<LPARAM>(&menuWindow));
        EXPECT_EQ(menuWindow, nullptr);
    }
}

// =============================================================================================
// The Windows Media window's two layouts

TEST_F(TrayPlayer, HidingThroughTheIconMovesAVisibleVideoWindowToItsCompactCorner)
{
    const RECT screen = Screen();
    ShowVideo();
    TrayMouse(WM_LBUTTONDOWN);
    EXPECT_FALSE(PlayerVisible());
    ASSERT_TRUE(VideoVisible()) << "shown again after the change";
    EXPECT_TRUE(HasNoStyle(video, WS_CAPTION)) << "no caption";
    EXPECT_TRUE(HasNoStyle(video, WS_THICKFRAME)) << "no sizing border";
    ExpectRect(WindowRect(video), screen.right - layout::kCompactFromRight, screen.bottom - layout::kCompactFromBottom,
               layout::kCompactWidth, layout::kCompactHeight, "compact window");
    ExpectRect(ChildRect(video, Control()), layout::kCompactControl.x, layout::kCompactControl.y,
               layout::kCompactControl.cx, layout::kCompactControl.cy, "control inside the compact window");
    EXPECT_TRUE(::IsWindowVisible(Control()));
    EXPECT_FALSE(player.m_videoNormal);

    // Showing through the icon keeps the compact layout; command 1041 restores the normal one.
    TrayMouse(WM_LBUTTONDOWN);
    EXPECT_TRUE(PlayerVisible());
    EXPECT_FALSE(player.m_videoNormal);
    ExpectRect(WindowRect(video), screen.right - layout::kCompactFromRight, screen.bottom - layout::kCompactFromBottom,
               layout::kCompactWidth, layout::kCompactHeight, "still compact");

    Command(ID_TRAY_SHOW_MAIN);
    PumpFor(30);
    EXPECT_TRUE(PlayerVisible());
    ASSERT_TRUE(VideoVisible());
    EXPECT_TRUE(HasStyle(video, WS_CAPTION)) << "caption back";
    EXPECT_TRUE(HasStyle(video, WS_THICKFRAME)) << "sizing border back";
    ExpectRect(WindowRect(video), 400, 300, 320, 220, "normal window");
    RECT client{};
    ::GetClientRect(video, &client);
    ExpectRect(ChildRect(video, Control()), 0, 0, client.right, client.bottom,
               "control fills the client area");
    EXPECT_TRUE(player.m_videoNormal);
}

TEST_F(TrayPlayer, HiddenVideoWindowKeepsItsLayout)
{
    const RECT before = WindowRect(video);
    TrayMouse(WM_LBUTTONDOWN);
    EXPECT_FALSE(VideoVisible());
    EXPECT_TRUE(player.m_videoNormal);
    EXPECT_TRUE(HasStyle(video, WS_CAPTION));
    Command(ID_TRAY_SHOW_MAIN);
    EXPECT_FALSE(VideoVisible());
    const RECT after = WindowRect(video);
    EXPECT_TRUE(::EqualRect(&before, &after));
}

TEST_F(TrayPlayer, Command1041WithTheNormalLayoutOnlyShowsThePlayer)
{
    ShowVideo();
    const RECT before = WindowRect(video);
    Command(ID_TRAY_HIDE);
    EXPECT_FALSE(PlayerVisible());
    EXPECT_TRUE(VideoVisible()) << "command 132 leaves the video window alone";
    Command(ID_TRAY_SHOW_MAIN);
    EXPECT_TRUE(PlayerVisible());
    EXPECT_TRUE(player.m_windowShown);
    const RECT after = WindowRect(video);
    EXPECT_TRUE(::EqualRect(&before, &after)) << "still where start-up placed it";
    EXPECT_TRUE(player.m_videoNormal);
}

// =============================================================================================
// Window commands

TEST_F(TrayPlayer, HideCommandHidesPlayerAndTickerAndTheIconShowsThemAgain)
{
    Command(ID_TRAY_GREETING);
    Command(ID_TRAY_HIDE);
    EXPECT_FALSE(PlayerVisible());
    EXPECT_FALSE(TickerVisible());
    EXPECT_FALSE(player.m_windowShown);
    EXPECT_TRUE(player.m_tickerShown) << "the greeting stays on";
    TrayMouse(WM_LBUTTONDOWN);
    EXPECT_TRUE(PlayerVisible()) << "one left click shows the window at once";
    EXPECT_TRUE(TickerVisible());
    EXPECT_TRUE(player.m_windowShown);
}

TEST_F(TrayPlayer, GreetingCommandShowsTheTickerTopmostBelowTheStatusLineAndHidesIt)
{
    ASSERT_FALSE(TickerVisible());
    // Move the player so the ticker's place is worked out afresh.
    player.SetWindowPos(nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(30);
    Command(ID_TRAY_GREETING);
    EXPECT_TRUE(player.m_tickerShown);
    ASSERT_TRUE(TickerVisible());
    const RECT own = WindowRect(player.m_hWnd);
    const layout::Place& at = layout::kTickerFromPlayer;
    ExpectRect(WindowRect(ticker), own.left + at.x, own.top + at.y, at.cx, at.cy, "ticker");
    EXPECT_TRUE(::GetWindowLongPtrA(ticker, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(::GetActiveWindow(), ticker) << "the strip takes the keyboard: Enter and Esc reach it";

    Command(ID_TRAY_GREETING);
    EXPECT_FALSE(player.m_tickerShown);
    EXPECT_FALSE(TickerVisible());
}

TEST_F(TrayPlayer, GreetingCommandFollowsTheTickersVisibilityNotTheFlag)
{
    Command(ID_TRAY_GREETING); // on, shown
    Command(ID_TRAY_HIDE);     // the ticker is hidden with the player; the flag stays on
    ASSERT_TRUE(player.m_tickerShown);
    ASSERT_FALSE(TickerVisible());
    Command(ID_TRAY_GREETING);
    EXPECT_FALSE(player.m_tickerShown);
    EXPECT_TRUE(TickerVisible()) << "the hidden ticker is shown although the flag went off";
}

TEST_F(TrayPlayer, CloseMenuAndSupportCommandsChangeNothing)
{
    // There is no support page in the prefix: the shell's failure passes silently.
    const UINT commands[] = {ID_TRAY_CLOSE_MENU, ID_TRAY_SUPPORT};
    for (UINT id : commands) {
        CaughtBox box = WatchForMessageBox([&] { Command(id); });
        EXPECT_FALSE(box.seen) << id << ": " << box.text;
        EXPECT_TRUE(PlayerVisible()) << id;
        EXPECT_TRUE(player.m_windowShown) << id;
        EXPECT_FALSE(player.m_tickerShown) << id;
        EXPECT_FALSE(TickerVisible()) << id;
        EXPECT_NE(player.m_pVideoDlg, nullptr) << id;
    }
}

// =============================================================================================
// Translucency

struct Layering {
    bool layered;
    BYTE alpha;
    DWORD flags;
};

Layering LayeringOf(HWND wnd)
{
    Layering l{(::GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, 0, 0};
    if (l.layered)
        ::GetLayeredWindowAttributes(wnd, nullptr, &l.alpha, &l.flags);
    return l;
}

TEST_F(TrayPlayer, TranslucencyCommandSwitchesTheVideoWindowAt80AndBack)
{
    ShowVideo();
    ASSERT_FALSE(LayeringOf(video).layered);
    ASSERT_FALSE(player.m_translucent);

    Command(ID_TRAY_TRANSLUCENT);
    Layering once = LayeringOf(video);
    EXPECT_TRUE(once.layered);
    EXPECT_EQ(once.alpha, 80);
    EXPECT_EQ(once.flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_TRUE(player.m_translucent);
    EXPECT_EQ(player.CurrentTrayMenuState().translucent, true);

    Command(ID_TRAY_TRANSLUCENT);
    EXPECT_FALSE(LayeringOf(video).layered) << "opaque again";
    EXPECT_FALSE(player.m_translucent);

    HMENU loaded = nullptr;
    HMENU menu = LoadTraySubmenu(&loaded);
    UpdateTrayMenu(menu, player.CurrentTrayMenuState());
    char label[64] = "";
    ::GetMenuStringA(menu, ID_TRAY_TRANSLUCENT, label, sizeof label, MF_BYCOMMAND);
    EXPECT_STREQ(label, kMakeTranslucent);
    ::DestroyMenu(loaded);

    Command(ID_TRAY_TRANSLUCENT);
    EXPECT_TRUE(LayeringOf(video).layered) << "and a third time translucent again";
    EXPECT_TRUE(player.m_translucent);
}

TEST_F(TrayPlayer, TickerIsTranslucentAt70WhetherOrNotTheGreetingIsShown)
{
    for (int i = 0; i < 3; ++i) {
        Layering l = LayeringOf(ticker);
        EXPECT_TRUE(l.layered) << i;
        EXPECT_EQ(l.alpha, 70) << i;
        EXPECT_EQ(l.flags, static_cast<DWORD>(LWA_ALPHA)) << i;
        Command(ID_TRAY_GREETING);
    }
    EXPECT_FALSE(LayeringOf(player.m_hWnd).layered) << "the player itself is never translucent";
}

TEST_F(TrayPlayer, TranslucencyWithoutTheVideoWindowReportsNullHwndAndChangesNothing)
{
    CVideoDlg* kept = player.m_pVideoDlg;
    player.m_pVideoDlg = nullptr;
    CaughtBox box = WatchForMessageBox([&] { Command(ID_TRAY_TRANSLUCENT); });
    player.m_pVideoDlg = kept;
    EXPECT_TRUE(box.seen);
    EXPECT_EQ(box.text, "null hwnd");
    EXPECT_EQ(box.owner, player.m_hWnd);
    EXPECT_FALSE(player.m_translucent);
    EXPECT_FALSE(LayeringOf(video).layered);
}

// =============================================================================================
// The decision on translucency under other Windows versions of the prefix: a copy of this runner
// started under a per-program version setting opens the real menu and reports what it saw.

const char kProbeOutput[] = "QUON_TRAY_PROBE_OUTPUT";

TEST_F(TrayPlayer, DISABLED_VersionProbeReportsTheTranslucencyEntry)
{
    char output[MAX_PATH] = "";
    // Run only as the probe that TrayVersion starts under another Windows version.
    ASSERT_TRUE(::GetEnvironmentVariableA(kProbeOutput, output, sizeof output));
    ShowVideo();
    CaughtMenu menu = OpenMenuThroughTheIcon(player.m_hWnd);
    bool greyed = true;
    for (const MenuEntry& e : menu.entries)
        if (e.id == ID_TRAY_TRANSLUCENT)
            greyed = e.greyed;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ::GetVersionExA(&info);
    char report[128];
    wsprintfA(report, "%lu.%lu supported=%d seen=%d greyed=%d", info.dwMajorVersion, info.dwMinorVersion,
              SystemSupportsTranslucency() ? 1 : 0, menu.seen ? 1 : 0, greyed ? 1 : 0);
    HANDLE file = ::CreateFileA(output, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, report, lstrlenA(report), &written, nullptr);
    ::CloseHandle(file);
}

std::string ReadWholeFile(const std::string& path)
{
    std::string text;
    HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[512];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read)
        text.append(buffer, read);
    ::CloseHandle(file);
    return text;
}

std::string ModuleFolder()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// Runs a copy of this runner named for the version under HKCU\Software\Wine\AppDefaults.
std::string RunProbeUnder(const char* wineVersion, const std::string& folder)
{
    const std::string exeName = std::string("quon_probe_") + wineVersion + ".exe";
    const std::string exe = folder + "\\" + exeName;
    const std::string output = folder + "\\" + wineVersion + ".txt";
    const std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    if (!::CopyFileA(self, exe.c_str(), FALSE))
        return "copy failed";
    HKEY hkey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hkey,
                          nullptr) != ERROR_SUCCESS)
        return "registry failed";
    ::RegSetValueExA(hkey, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(wineVersion),
                     static_cast<DWORD>(std::strlen(wineVersion) + 1));
    ::RegCloseKey(hkey);

    std::string commandLine = "\"" + exe +
                              "\" --gtest_also_run_disabled_tests"
                              " --gtest_filter=TrayPlayer.DISABLED_VersionProbeReportsTheTranslucencyEntry";
    ::SetEnvironmentVariableA(kProbeOutput, output.c_str());
    // The probe's own test report is not wanted in this runner's output.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION info{};
    const BOOL started = ::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                          folder.c_str(), &startup, &info);
    ::SetEnvironmentVariableA(kProbeOutput, nullptr);
    if (nul != INVALID_HANDLE_VALUE)
        ::CloseHandle(nul);
    std::string report = "did not start";
    if (started) {
        if (::WaitForSingleObject(info.hProcess, 60000) != WAIT_OBJECT_0)
            ::TerminateProcess(info.hProcess, 1);
        ::WaitForSingleObject(info.hProcess, 5000);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
        report = ReadWholeFile(output);
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    ::DeleteFileA(exe.c_str());
    ::DeleteFileA(output.c_str());
    return report;
}

TEST(TrayVersion, TranslucencyEntryIsGreyedBelow5Point2EvenWithTheVideoWindowVisible)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "quon_tray_probe";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    // The runner needs the media engine library beside it.
    const std::string library = folder + "\\Media.dll";
    ASSERT_TRUE(::CopyFileA((ModuleFolder() + "\\Media.dll").c_str(), library.c_str(), FALSE));
    struct Case {
        const char* wineVersion;
        const char* reported; // major.minor as the program asks for it
        bool offered;
    };
    const Case cases[] = {
        {"win2k", "5.0", false},
        {"winxp", "5.1", false},
        {"win2003", "5.2", true},
        {"win10", nullptr, true}, // 6.2 or 10.0, depending on the manifest
    };
    for (const Case& c : cases) {
        const std::string report = RunProbeUnder(c.wineVersion, folder);
        const std::string expected =
            c.offered ? "supported=1 seen=1 greyed=0" : "supported=0 seen=1 greyed=1";
        if (c.reported)
            EXPECT_EQ(report, std::string(c.reported) + " " + expected) << c.wineVersion;
        else
            EXPECT_NE(report.find(expected), std::string::npos) << c.wineVersion << ": " << report;
    }
    ::DeleteFileA(library.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

} // namespace
