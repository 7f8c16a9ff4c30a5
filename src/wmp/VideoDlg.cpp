// CVideoDlg: starting items on the control, and choosing what follows when an item stops.
#include "wmp/VideoDlg.h"

#include "app/PlayerApp.h"
#include "playback/logic/Transport.h"
#include "playback/logic/VideoFile.h"
#include "wmp/logic/ListStepping.h"
#include "player/PlayerDlg.h"
#include "player/logic/Layout.h"
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
    // Whatever starts here is played by the Windows Media window, also a list that no open or
    // chooser command loaded (a cancelled chooser leaves its songs in the list).
    m_pOwner->m_mediaKind = kMediaWindowsMedia;
    // A back or stop request that no stop report used (pressed while nothing played) belongs to
    // no item: left set, it would turn this item's natural end into a step back or swallow it.
    m_pOwner->m_backPressed = false;
    m_pOwner->m_userStopped = false;
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

    POSITION pos = CurrentPosition();
    ListPlace place;
    place.listEmpty = g_playList.IsEmpty();
    place.hasPosition = pos != nullptr;
    place.isFirst = pos && pos == g_playList.GetHeadPosition();
    place.isLast = pos && pos == g_playList.GetTailPosition();
    const StepDecision step = DecideStep(owner.m_repeatMode, owner.m_backPressed, place);
    if (step.backUsed)
        owner.m_backPressed = false;
    switch (step.action) {
    case StepAction::Nothing:
        break;
    case StepAction::ReplayCurrent:
        PlayFile(owner.m_currentPath);
        break;
    case StepAction::PlayPrevious:
        g_playList.GetPrev(pos);
        PlayEntry(pos);
        break;
    case StepAction::PlayNext:
        g_playList.GetNext(pos);
        PlayEntry(pos);
        break;
    case StepAction::PlayLast:
        PlayEntry(g_playList.GetTailPosition());
        break;
    case StepAction::PlayFirst:
        PlayEntry(g_playList.GetHeadPosition());
        break;
    case StepAction::SongsOver:
        SetPosition(nullptr);
        owner.m_statusText = kSongsOver;
        owner.m_loaded = 0;
        break;
    }
    if (step.repeatOnceUsed) {
        owner.m_repeatMode = kRepeatNone;
        ::ShowWindow(owner.GetDlgItem(IDC_SKIN_REPEAT_ONE), SW_HIDE);
    }
}

void CVideoDlg::PlayEntry(POSITION pos)
{
    SetPosition(pos);
    m_pOwner->m_currentPath = g_playList.GetAt(pos);
    PlayFile(m_pOwner->m_currentPath);
}

void CVideoDlg::LayOutCompact()
{
    RECT screen{};
    ::GetClientRect(::GetDesktopWindow(), &screen);
    ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
    MoveWindow(screen.right - layout::kCompactFromRight, screen.bottom - layout::kCompactFromBottom,
               layout::kCompactWidth, layout::kCompactHeight, TRUE);
    m_player.SetNaturalVideoSize(FALSE);
    const layout::Place& at = layout::kCompactControl;
    m_player.SetWindowPos(nullptr, at.x, at.y, at.cx, at.cy, SWP_SHOWWINDOW | SWP_NOZORDER);
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
