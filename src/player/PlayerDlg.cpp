// CPlayerDlg: construction, the message map, initialisation order and the end of the dialog.
#include "player/PlayerDlg.h"

#include "playback/IncomingFiles.h"
#include "player/Splash.h"
#include "player/logic/StatusStrings.h"
#include "resource.h"
#include "ticker/Tobrick.h"
#include "wmp/VideoDlg.h"

BEGIN_MESSAGE_MAP(CPlayerDlg, CDialog)
ON_WM_PAINT()
ON_WM_CTLCOLOR()
ON_WM_MOVE()
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_MESSAGE(WM_TRAYNOTIFY, OnTrayNotify)
ON_COMMAND(ID_TRAY_SUPPORT, OnSupport)
ON_COMMAND(ID_TRAY_SHOW_MAIN, OnShowMain)
ON_COMMAND(ID_TRAY_EXIT, OnExit)
ON_COMMAND(ID_TRAY_HIDE, OnHideWindow)
ON_COMMAND(ID_TRAY_CLOSE_MENU, OnCloseMenu)
ON_COMMAND(ID_TRAY_GREETING, OnShowGreeting)
ON_COMMAND(IDC_SKIN_QUON, OnClose1012)
ON_COMMAND(ID_TRAY_TRANSLUCENT, OnTranslucency)
ON_COMMAND(IDC_SKIN_EQ, OnToggleScroll)
ON_COMMAND(IDC_SKIN_MODE, OnCycleRepeatMode)
ON_COMMAND(IDC_BTN_NEXT, OnNext)
ON_COMMAND(IDC_BTN_BACK, OnBack)
ON_COMMAND(ID_TRAY_REPEAT_ONE, OnRepeatCurrent)
ON_COMMAND(ID_TRAY_REPEAT_LIST, OnRepeatList)
ON_COMMAND(IDC_SKIN_MUSIC, OnChoosePlaylist)
ON_COMMAND(ID_TRAY_CHOOSER, OnChoosePlaylist)
ON_MESSAGE(WM_DROPFILES, OnDropFiles)
ON_MESSAGE(WM_PLAY_INCOMING, OnPlayIncoming)
ON_MESSAGE(WM_APPCOMMAND, OnAppCommand)
ON_MESSAGE(WM_HOTKEY, OnHotKey)
END_MESSAGE_MAP()

CPlayerDlg::CPlayerDlg(CWnd* parent)
    : CDialog(IDD_PLAYER, parent), m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_QUON)))
{
    m_statusText = kHelloQuon;
    m_backgroundBrush.CreateSolidBrush(RGB(215, 215, 248));
}

CPlayerDlg::~CPlayerDlg()
{
    // Normally OnOK has released the modeless windows already; this covers a run that failed early.
    ReleaseWaysIn();
    delete m_pVideoDlg;
    delete m_pTicker;
    delete m_pSplash;
}

BOOL CPlayerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    BuildWindowRegion();
    PlaceSkinControls();
    CreateStatusFont();
    if (SelectGreeting())
        ShowSplash();
    PlaceOnScreen();
    AddTrayIcon();
    CreateTicker();
    PlaceVideoWindow();
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::BringWindowToTop(m_hWnd);
    MakeTickerTranslucent();
    AcceptWaysIn();
    return TRUE;
}

void CPlayerDlg::OnOK()
{
    ReleaseWaysIn();
    if (m_pVideoDlg) {
        m_pVideoDlg->DestroyWindow();
        delete m_pVideoDlg;
        m_pVideoDlg = nullptr;
    }
    if (m_pTicker) {
        m_pTicker->DestroyWindow();
        delete m_pTicker;
        m_pTicker = nullptr;
    }
    if (m_pSplash) {
        m_pSplash->DestroyWindow();
        delete m_pSplash;
        m_pSplash = nullptr;
    }
    CDialog::OnOK();
}

// Esc: stop, release the CD device, remove the tray icon, close.
void CPlayerDlg::OnCancel()
{
    StopPlayback();
    m_cd.Close();
    RemoveTrayIcon();
    OnOK();
}

// Menu "退出程序".
void CPlayerDlg::OnExit()
{
    RemoveTrayIcon();
    OnOK();
}

// The skin's product-name bitmap: close the drive tray as well.
void CPlayerDlg::OnClose1012()
{
    m_closing = true;
    StopPlayback();
    m_cd.CloseCD_Rom();
    m_cd.Close();
    RemoveTrayIcon();
    OnOK();
}
