// CPlayerDlg transport: play, stop, next and back, the repeat modes, the scroll and the timers.
#include "app/PlayerApp.h"
#include "playback/logic/Transport.h"
#include "playback/logic/VideoFile.h"
#include "player/PlayerDlg.h"
#include "player/logic/Layout.h"
#include "player/logic/StatusStrings.h"
#include "resource.h"
#include "wmp/VideoDlg.h"

namespace {
const UINT_PTR kHighlightTimer = 3;
const UINT_PTR kStatusPathTimer = 5;
const UINT_PTR kScrollTimer = 7;
const UINT kHighlightInterval = 1000;
const UINT kScrollInterval = 1000;
}  // namespace

void CPlayerDlg::PlayCurrent()
{
    if (m_currentPath.empty()) {
        m_playing = false;
        return;
    }
    m_playing = true;
    if (IsVideoFile(m_currentPath)) {
        // Laid out before playing; the window shows itself once the item has started.
        if (m_videoNormal) {
            RECT own;
            GetWindowRect(&own);
            const layout::Place& at = layout::kVideoFromPlayer;
            m_pVideoDlg->LayOutAt(own.left + at.x, own.top + at.y, at.cx, at.cy);
        } else {
            m_pVideoDlg->LayOutCompact();
        }
    }
    m_pVideoDlg->SetOwner(this);
    m_pVideoDlg->PlayFile(m_currentPath);
}

void CPlayerDlg::StopCurrent()
{
    m_playing = false;
    if (m_pVideoDlg && m_pVideoDlg->IsWindowVisible())
        m_pVideoDlg->ShowWindow(SW_HIDE);
}

void CPlayerDlg::StopPlayback()
{
    KillTimer(kStatusPathTimer);
    KillTimer(kScrollTimer);
    m_loaded = 0;
    m_playing = false;
    m_scrollOn = false;
    m_statusText = kHelloQuon;
    DrawStatusText(false);
    if (m_pVideoDlg)
        m_pVideoDlg->m_player.Stop();
}

// Next and back stop the control; its stop report then moves the list (by m_backPressed).
void CPlayerDlg::StepNext()
{
    if (m_mediaKind == kMediaWindowsMedia)
        StopPlayback();
}

void CPlayerDlg::StepBack()
{
    if (m_mediaKind == kMediaWindowsMedia)
        StopPlayback();
}

void CPlayerDlg::HighlightStatus()
{
    DrawStatusText(true);
    m_statusHighlight = true;
    SetTimer(kHighlightTimer, kHighlightInterval);
}

void CPlayerDlg::OnTimer(UINT_PTR id)
{
    m_scrollText = WelcomeScrollText();
    const int length = static_cast<int>(m_scrollText.size());
    if (id == kHighlightTimer) {
        m_statusHighlight = false;
        KillTimer(kHighlightTimer);
    }
    if (m_scrollOn) {
        if (id == kScrollTimer) {
            m_scrollOffset = NextScrollOffset(m_scrollOffset, length);
            m_statusText = ScrollWindow(m_scrollText, m_scrollOffset);
        }
    } else {
        if (id == kStatusPathTimer && m_mediaKind == kMediaWindowsMedia && m_loaded)
            m_statusText = m_currentPath;
        KillTimer(kScrollTimer);
    }
    DrawStatusText(m_statusHighlight);
    Default();
}

void CPlayerDlg::OnNext()
{
    StepNext();
    if (m_mediaKind != kMediaWindowsMedia)
        PlayCurrent();
    HighlightStatus();
}

void CPlayerDlg::OnBack()
{
    m_backPressed = true;
    StepBack();
    if (m_mediaKind != kMediaWindowsMedia)
        PlayCurrent();
    HighlightStatus();
}

void CPlayerDlg::ShowRepeatIndicators(bool repeatOne, bool repeatList)
{
    ::ShowWindow(GetDlgItem(IDC_SKIN_REPEAT_ONE), repeatOne ? SW_SHOW : SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_SKIN_REPEAT_LIST), repeatList ? SW_SHOW : SW_HIDE);
}

void CPlayerDlg::OnRepeatCurrent()
{
    if (m_playing) {
        m_repeatMode = kRepeatCurrentOnce;
        ShowRepeatIndicators(true, false);
        return;
    }
    PlayCurrent();
    HighlightStatus();
}

void CPlayerDlg::OnRepeatList()
{
    if (!m_playing) {
        m_pVideoDlg->SetOwner(this);
        m_pVideoDlg->PlayList();
        return;
    }
    m_repeatMode = kRepeatList;
    ShowRepeatIndicators(false, true);
}

void CPlayerDlg::OnCycleRepeatMode()
{
    m_repeatMode = NextRepeatMode(m_repeatMode);
    ShowRepeatIndicators(m_repeatMode == kRepeatCurrentOnce, m_repeatMode == kRepeatList);
}

void CPlayerDlg::OnToggleScroll()
{
    if (m_scrollOn) {
        m_scrollOn = false;  // timer 7 runs on until the next tick of any player timer
        return;
    }
    m_scrollOn = true;
    SetTimer(kScrollTimer, kScrollInterval);
}
