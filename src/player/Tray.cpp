// CPlayerDlg tray icon: the popup menu, showing and hiding the windows, and the window commands.
#include <windows.h>

#include <shellapi.h>

#include <memory>

#include "app/PlayerApp.h"
#include "framework/Handle.h"
#include "player/PlayerDlg.h"
#include "player/Tray.h"
#include "player/logic/Layout.h"
#include "player/logic/TranslucencyVersion.h"
#include "resource.h"
#include "ticker/Tobrick.h"
#include "wmp/VideoDlg.h"

namespace {

const char kShowGreeting[] = "显示祝福";
const char kHideGreeting[] = "隐藏祝福";
const char kMakeTranslucent[] = "播放窗口透明处理";
const char kCancelTranslucent[] = "取消透明处理";
const char kSupportPage[] = "\\Program Files\\Common Files\\Microsoft Shared\\preview_resume.htm";

void Grey(HMENU menu, UINT id) { ::EnableMenuItem(menu, id, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED); }

void Relabel(HMENU menu, UINT id, const char* text)
{
    ::ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING, id, text);
}

}  // namespace

bool SystemSupportsTranslucency()
{
    // The version word's top bit is set on the old non-NT family, which is not asked further.
    const bool ntFamily = (::GetVersion() & 0x80000000u) == 0;
    if (!ntFamily)
        return TranslucencySupported(false, 0, 0);
    auto info = std::make_unique<OSVERSIONINFOA>();  // the 148-byte record
    *info = OSVERSIONINFOA{};
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!::GetVersionExA(info.get()))
        return false;
    return TranslucencySupported(true, info->dwMajorVersion, info->dwMinorVersion);
}

void UpdateTrayMenu(HMENU menu, const TrayMenuState& state)
{
    Relabel(menu, ID_TRAY_GREETING, state.tickerShown ? kHideGreeting : kShowGreeting);
    if (state.playerVisible)
        Grey(menu, ID_TRAY_SHOW_MAIN);
    else
        Grey(menu, ID_TRAY_GREETING);
    Relabel(menu, ID_TRAY_TRANSLUCENT, state.translucent ? kCancelTranslucent : kMakeTranslucent);
    if (!state.videoVisible)
        Grey(menu, ID_TRAY_TRANSLUCENT);
    if (state.playListEmpty)
        Grey(menu, ID_TRAY_REPEAT_LIST);
    if (state.noCurrentPath)
        Grey(menu, ID_TRAY_REPEAT_ONE);
    if (!state.playerVisible)
        Grey(menu, ID_TRAY_HIDE);
    if (!state.translucencySupported)
        Grey(menu, ID_TRAY_TRANSLUCENT);
}

TrayMenuState CPlayerDlg::CurrentTrayMenuState() const
{
    TrayMenuState state;
    state.tickerShown = m_tickerShown;
    state.translucent = m_translucent;
    state.playerVisible = IsWindowVisible() != FALSE;
    state.videoVisible = m_pVideoDlg && m_pVideoDlg->IsWindowVisible();
    state.playListEmpty = g_playList.IsEmpty();
    state.noCurrentPath = m_currentPath.empty();
    state.translucencySupported = SystemSupportsTranslucency();
    return state;
}

LRESULT CPlayerDlg::OnTrayNotify(WPARAM iconId, LPARAM mouseMessage)
{
    m_trayIconId = static_cast<int>(iconId);
    m_trayMouseMsg = static_cast<int>(mouseMessage);
    if (m_trayIconId != IDI_QUON)
        return 0;
    if (m_trayMouseMsg == WM_RBUTTONDOWN)
        OpenTrayMenu();
    else if (m_trayMouseMsg == WM_LBUTTONDOWN || m_trayMouseMsg == WM_LBUTTONDBLCLK)
        ToggleWindowFromTray();
    return 0;
}

void CPlayerDlg::OpenTrayMenu()
{
    RECT screen{};
    ::GetClientRect(::GetDesktopWindow(), &screen);
    CMenuHandle loaded(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    if (!loaded.Valid())
        return;
    m_pTrayMenu = ::GetSubMenu(loaded, 0);
    UpdateTrayMenu(m_pTrayMenu, CurrentTrayMenuState());
    ::TrackPopupMenu(m_pTrayMenu, 0, screen.right - 20, screen.bottom - 28, 0, m_hWnd, nullptr);
    m_pTrayMenu = nullptr;  // destroyed with the loaded menu
}

void CPlayerDlg::ToggleWindowFromTray()
{
    if (!m_windowShown) {
        ShowWindow(SW_SHOW);
        if (m_tickerShown && m_pTicker)
            m_pTicker->ShowWindow(SW_SHOW);
        m_windowShown = true;
        return;
    }
    ShowWindow(SW_HIDE);
    if (m_pTicker)
        m_pTicker->ShowWindow(SW_HIDE);
    if (m_pVideoDlg && m_pVideoDlg->IsWindowVisible())
        SetVideoCompactLayout();
    m_windowShown = false;
}

void CPlayerDlg::SetVideoCompactLayout()
{
    m_pVideoDlg->ShowWindow(SW_HIDE);
    m_pVideoDlg->LayOutCompact();
    m_videoNormal = false;
    m_pVideoDlg->ShowWindow(SW_SHOWNORMAL);
}

void CPlayerDlg::SetVideoNormalLayout()
{
    m_pVideoDlg->ShowWindow(SW_HIDE);
    m_pVideoDlg->ModifyStyle(0, WS_CAPTION | WS_THICKFRAME);
    const layout::Place& at = layout::kVideoRestored;
    m_pVideoDlg->LayOutAt(at.x, at.y, at.cx, at.cy);
    m_videoNormal = true;
    m_pVideoDlg->ShowWindow(SW_SHOWNORMAL);
}

void CPlayerDlg::OnShowMain()
{
    ShowWindow(SW_SHOW);
    m_windowShown = true;
    if (m_tickerShown && m_pTicker)
        m_pTicker->ShowWindow(SW_SHOW);
    if (m_pVideoDlg && m_pVideoDlg->IsWindowVisible() && !m_videoNormal)
        SetVideoNormalLayout();
}

void CPlayerDlg::OnHideWindow()
{
    ShowWindow(SW_HIDE);
    if (m_pTicker)
        m_pTicker->ShowWindow(SW_HIDE);
    m_windowShown = false;
}

void CPlayerDlg::OnShowGreeting()
{
    m_tickerShown = !m_tickerShown;
    if (!m_pTicker)
        return;
    if (m_pTicker->IsWindowVisible()) {
        m_pTicker->ShowWindow(SW_HIDE);
        return;
    }
    RECT own;
    GetWindowRect(&own);
    // Shown active, so that Enter or Esc then reach the ticker itself.
    const layout::Place& at = layout::kTickerFromPlayer;
    m_pTicker->SetWindowPos(HWND_TOPMOST, own.left + at.x, own.top + at.y, at.cx, at.cy, SWP_SHOWWINDOW);
}

void CPlayerDlg::OnSupport()
{
    char path[MAX_PATH + sizeof kSupportPage] = "";
    ::GetWindowsDirectoryA(path, MAX_PATH);
    path[2] = '\0';  // the drive letter and colon
    lstrcatA(path, kSupportPage);
    ::ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

void CPlayerDlg::OnCloseMenu() {}
