// CVideoDlg: starting items on the control, and choosing what follows when an item stops.
#include "wmp/VideoDlg.h"

#include "app/PlayerApp.h"
#include "playback/logic/Transport.h"
#include "playback/logic/VideoFile.h"
#include "player/PlayerDlg.h"
#include "player/logic/StatusStrings.h"
#include "resource.h"

namespace {
const UINT_PTR kStatusPathTimer = 5;
const UINT kStatusPathInterval = 100;
}  // namespace

BEGIN_MESSAGE_MAP(CVideoDlg, CDialog)
ON_WM_SIZE()
ON_WM_MOVE()
ON_MESSAGE(WM_DROPFILES, OnDropFiles)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CVideoDlg)
ON_EVENT_I4_I4(IDC_MEDIA_PLAYER, kDispidPlayStateChange, OnPlayStateChange)
END_EVENTSINK_MAP()

CVideoDlg::CVideoDlg(CWnd* parent) : CDialog(IDD_VIDEO, parent) {}

CVideoDlg::~CVideoDlg() { m_pOwner = nullptr; }

BOOL CVideoDlg::Create()
{
    CMediaplayer1::RegisterControlClass();
    return CDialog::Create(IDD_VIDEO, m_pParentWnd);
}

void CVideoDlg::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDC_MEDIA_PLAYER, m_player); }

POSITION CVideoDlg::CurrentPosition() const
{
    return m_listGeneration == g_playList.GetGeneration() ? m_posCurrent : nullptr;
}

void CVideoDlg::SetPosition(POSITION pos)
{
    m_posCurrent = pos;
    m_listGeneration = g_playList.GetGeneration();
}

void CVideoDlg::StartOnControl(const std::string& path, bool stretchPicture)
{
    m_pOwner->m_loaded = 1;
    m_pOwner->m_noAdvance = false;
    m_pOwner->m_playing = true;
    m_pOwner->m_statusText = path;
    m_pOwner->SetTimer(kStatusPathTimer, kStatusPathInterval);
    m_player.SetFileName(path.c_str());
    if (stretchPicture)
        m_player.SetNaturalVideoSize(FALSE);
    m_player.Play();
    BOOL noPicture = m_player.GetHasNoPicture();
    if (!noPicture && IsVideoFile(path))
        ShowWindow(SW_SHOW);
}

void CVideoDlg::PlayList()
{
    SetPosition(g_playList.GetHeadPosition());
    if (!m_posCurrent)
        return;
    m_pOwner->m_currentPath = g_playList.GetAt(m_posCurrent);
    if (m_pOwner->m_currentPath.empty())
        return;
    StartOnControl(m_pOwner->m_currentPath, true);
}

void CVideoDlg::PlayFile(std::string path)
{
    if (path.empty())
        return;
    StartOnControl(path, false);
}

void CVideoDlg::OnPlayStateChange(long oldState, long newState)
{
    if (!m_pOwner)
        return;  // nothing has been played through this window yet
    CPlayerDlg& owner = *m_pOwner;
    if (owner.m_closing || owner.m_noAdvance)
        return;
    if (owner.m_userStopped) {
        owner.m_userStopped = false;
        return;
    }
    if (oldState != kPlayStatePlaying || newState != kPlayStateStopped)
        return;
    ShowWindow(SW_HIDE);
    owner.m_playing = false;
    if (owner.m_backPressed) {
        owner.m_backPressed = false;
        GoBack();
    } else {
        Advance();
    }
}

// With an empty list only the current path is left: repeat-list mode plays it again.
bool CVideoDlg::ReplayIfListEmpty()
{
    if (!g_playList.IsEmpty())
        return false;
    if (m_pOwner->m_repeatMode == kRepeatList)
        PlayFile(m_pOwner->m_currentPath);
    return true;
}

void CVideoDlg::PlayEntry(POSITION pos)
{
    SetPosition(pos);
    m_pOwner->m_currentPath = g_playList.GetAt(pos);
    PlayFile(m_pOwner->m_currentPath);
}

void CVideoDlg::GoBack()
{
    if (ReplayIfListEmpty())
        return;
    POSITION pos = CurrentPosition();
    if (!pos)
        return;
    g_playList.GetPrev(pos);
    PlayEntry(pos ? pos : g_playList.GetTailPosition());
}

void CVideoDlg::Advance()
{
    CPlayerDlg& owner = *m_pOwner;
    if (owner.m_repeatMode == kRepeatCurrentOnce) {
        PlayFile(owner.m_currentPath);
        owner.m_repeatMode = kRepeatNone;
        ::ShowWindow(owner.GetDlgItem(IDC_SKIN_REPEAT_ONE), SW_HIDE);
        return;
    }
    if (ReplayIfListEmpty())
        return;
    POSITION pos = CurrentPosition();
    if (!pos)
        return;
    g_playList.GetNext(pos);
    if (!pos && owner.m_repeatMode != kRepeatList) {
        SetPosition(nullptr);
        owner.m_statusText = kSongsOver;
        owner.m_loaded = 0;
        return;
    }
    PlayEntry(pos ? pos : g_playList.GetHeadPosition());
}

void CVideoDlg::LayOutCompact()
{
    RECT screen{};
    ::GetClientRect(::GetDesktopWindow(), &screen);
    ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
    MoveWindow(screen.right - 264, screen.bottom - 148, 160, 120, TRUE);
    m_player.SetNaturalVideoSize(FALSE);
    m_player.SetWindowPos(nullptr, 2, 2, 156, 116, SWP_SHOWWINDOW | SWP_NOZORDER);
}

void CVideoDlg::LayOutAt(int x, int y, int cx, int cy)
{
    MoveWindow(x, y, cx, cy, TRUE);
    m_player.SetNaturalVideoSize(FALSE);
    RECT client;
    GetClientRect(&client);
    m_player.SetWindowPos(nullptr, 0, 0, client.right, client.bottom, SWP_SHOWWINDOW | SWP_NOZORDER);
}

void CVideoDlg::OnSize(UINT, int, int)
{
    Default();
    RECT outer;
    GetWindowRect(&outer);
    if (!IsWindowVisible())
        return;
    m_player.SetWindowPos(nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                          SWP_SHOWWINDOW | SWP_NOZORDER);
    m_player.SetNaturalVideoSize(FALSE);
}

void CVideoDlg::OnMove(int, int) { Default(); }
