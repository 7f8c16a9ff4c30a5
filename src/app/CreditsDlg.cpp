// CCreditsDlg: hosts the player window's run, then animates the credits banner until closed.
#include "app/CreditsDlg.h"

#include <memory>

#include "app/PlayerApp.h"
#include "app/SingleInstance.h"
#include "app/logic/Banner.h"
#include "player/PlayerDlg.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CCreditsDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_CTLCOLOR()
ON_WM_TIMER()
END_MESSAGE_MAP()

CCreditsDlg::CCreditsDlg(CWnd* parent)
    : CDialog(IDD_CREDITS, parent), m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_QUON)))
{
}

BOOL CCreditsDlg::OnInitDialog()
{
    m_okButton.AttachButton(IDOK, this, RGB(190, 190, 255), RGB(0, 0, 255), RGB(2, 2, 2), RGB(140, 140, 255),
                            RGB(128, 128, 128), 2);
    CDialog::OnInitDialog();
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    RunPlayer();
    CenterWindow();
    return TRUE;  // only now is the credits window shown
}

void CCreditsDlg::RunPlayer()
{
    auto player = std::make_unique<CPlayerDlg>(nullptr);
    player->DoModal();
    CloseInstanceWindow();  // a start from now on begins a player of its own
    SetTimer(kBannerTimer, 1000);
    player.reset();
}

void CCreditsDlg::OnOK()
{
    KillTimer(kBannerTimer);
    g_statusFont.DeleteObject();
    CDialog::OnOK();
}

void CCreditsDlg::OnCancel()
{
    KillTimer(kBannerTimer);
    g_statusFont.DeleteObject();
    CDialog::OnCancel();
}

void CCreditsDlg::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == 0x0010)
        return;
    Default();
}

void CCreditsDlg::OnPaint()
{
    if (!::IsIconic(m_hWnd)) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), 0);
    RECT client;
    GetClientRect(&client);
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
}

HCURSOR CCreditsDlg::OnQueryDragIcon() { return m_hIcon; }

HBRUSH CCreditsDlg::OnCtlColor(HDC dc, HWND, UINT kind)
{
    auto defaultBrush = reinterpret_cast<HBRUSH>(Default());
    if (kind == CTLCOLOR_STATIC) {
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(215, 215, 248));
        return m_backgroundBrush;
    }
    if (kind == CTLCOLOR_DLG) {
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(160, 180, 220));
        return m_backgroundBrush;
    }
    return defaultBrush;
}

void CCreditsDlg::OnTimer(UINT_PTR)
{
    HWND banner = GetDlgItem(IDC_CREDITS_BANNER);
    RECT client{};
    ::GetClientRect(banner, &client);
    {
        CClientDC dc(banner);
        CBrush white(RGB(255, 255, 255));
        CSelectObject selectBrush(dc, white);
        // The banner's own font, so that the Chinese frames are drawn in the dialog's face.
        CSelectObject selectFont(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(banner, WM_GETFONT, 0, 0)));
        ::FillRect(dc, &client, white);
        ::SetTextColor(dc, RGB(0, 0, 255));
        BannerFrame frame = BannerFrameForStep(m_step);
        ::TextOutA(dc, frame.x, frame.y, frame.text, lstrlenA(frame.text));
        m_step = NextBannerStep(m_step);
    }
    Default();
}
