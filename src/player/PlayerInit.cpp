// CPlayerDlg initialisation steps: shape, layout, font, placement, tray icon and the owned windows.
#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "app/PlayerApp.h"
#include "player/PlayerDlg.h"
#include "player/logic/Layout.h"
#include "player/logic/WindowRegion.h"
#include "resource.h"
#include "ticker/Tobrick.h"
#include "wmp/VideoDlg.h"

namespace {

const char kTrayTip[] = "Quon音乐播放";
const BYTE kTickerAlpha = 70;

} // namespace

void CPlayerDlg::BuildWindowRegion()
{
    std::vector<RegionPoint> computed = BuildWindowRegionPoints();
    std::vector<POINT> points;
    points.reserve(computed.size());
    for (const RegionPoint& p : computed)
        points.push_back(POINT{p.x, p.y});
    if (!m_windowRgn.Attach(::CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE))) {
        AfxMessageBox("H Wrong!", MB_OK);
        return;
    }
    // The window owns the region from here on.
    ::SetWindowRgn(m_hWnd, m_windowRgn.Detach(), TRUE);
}

void CPlayerDlg::PlaceSkinControls()
{
    for (const layout::SkinControl& control : layout::kSkinControls)
        ::MoveWindow(GetDlgItem(control.id), control.place.x, control.place.y, control.place.cx,
                     control.place.cy, FALSE);
}

void CPlayerDlg::CreateStatusFont()
{
    g_statusFont.CreateFont(18, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "Arial");
}

void CPlayerDlg::PlaceOnScreen()
{
    // Centred in the work area first; its owner (the credits window) is hidden now.
    CenterWindow();

    m_pVideoDlg = new CVideoDlg(nullptr);
    m_pVideoDlg->Create();

    RECT screen{};
    ::GetClientRect(::GetDesktopWindow(), &screen);
    if (screen.right >= layout::kWideScreen)
        MoveWindow(screen.right - layout::kPlayerFromRight, screen.bottom - layout::kPlayerFromBottom,
                   layout::kPlayerWidth, layout::kPlayerHeight, FALSE);
}

void CPlayerDlg::AddTrayIcon()
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = m_hWnd;
    data.uID = IDI_QUON;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = m_hIcon;
    lstrcpynA(data.szTip, kTrayTip, 64);
    ::Shell_NotifyIconA(NIM_ADD, &data);
}

void CPlayerDlg::RemoveTrayIcon()
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = m_hWnd;
    data.uID = IDI_QUON;
    ::Shell_NotifyIconA(NIM_DELETE, &data);
}

void CPlayerDlg::CreateTicker()
{
    m_pTicker = new CTobrick(nullptr);
    RECT own;
    GetWindowRect(&own);
    m_pTicker->Create(IDD_TICKER);
    const layout::Place& at = layout::kTickerFromPlayer;
    m_pTicker->SetWindowPos(HWND_TOPMOST, own.left + at.x, own.top + at.y, at.cx, at.cy,
                            SWP_HIDEWINDOW | SWP_NOACTIVATE);
}

void CPlayerDlg::PlaceVideoWindow()
{
    RECT own;
    GetWindowRect(&own);
    const layout::Place& at = layout::kVideoFromPlayer;
    m_pVideoDlg->SetWindowPos(HWND_TOPMOST, own.left + at.x, own.top + at.y, at.cx, at.cy, SWP_NOACTIVATE);
    m_pVideoDlg->m_player.SetNaturalVideoSize(FALSE);
    RECT client;
    m_pVideoDlg->GetClientRect(&client);
    m_pVideoDlg->m_player.SetWindowPos(nullptr, 0, 0, client.right, client.bottom,
                                       SWP_SHOWWINDOW | SWP_NOZORDER);
    m_pVideoDlg->m_player.SetVolume(-600);
}

void CPlayerDlg::MakeTickerTranslucent()
{
    g_pfnSetLayeredWindowAttributes = LookUpSetLayeredWindowAttributes();
    if (!g_pfnSetLayeredWindowAttributes || !m_pTicker || !m_pTicker->m_hWnd)
        return;
    LONG_PTR style = ::GetWindowLongPtrA(m_pTicker->m_hWnd, GWL_EXSTYLE);
    ::SetWindowLongPtrA(m_pTicker->m_hWnd, GWL_EXSTYLE, style ^ WS_EX_LAYERED);
    g_pfnSetLayeredWindowAttributes(m_pTicker->m_hWnd, 0, kTickerAlpha, LWA_ALPHA);
}
