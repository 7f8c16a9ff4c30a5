// CPlayerDlg mouse clicks: the knob's five parts, and dragging the window by its body.
#include "app/PlayerApp.h"
#include "playback/logic/Transport.h"
#include "player/PlayerDlg.h"
#include "wmp/VideoDlg.h"

void CPlayerDlg::OnLButtonDown(UINT, POINT point)
{
    if (::PtInRect(&m_rcVolUp, point)) {
        if (m_loaded) {
            CMediaplayer1& control = m_pVideoDlg->m_player;
            control.SetVolume(VolumeStepUp(control.GetVolume()));
        }
        HighlightStatus();
    } else if (::PtInRect(&m_rcVolDown, point)) {
        if (m_loaded) {
            CMediaplayer1& control = m_pVideoDlg->m_player;
            control.SetVolume(VolumeStepDown(control.GetVolume()));
        }
        HighlightStatus();
    } else if (::PtInRect(&m_rcLeft, point)) {
        StepNext();
        if (m_mediaKind != kMediaWindowsMedia)
            PlayCurrent();
        HighlightStatus();
    } else if (::PtInRect(&m_rcRight, point)) {
        m_backPressed = true;
        StepBack();
        if (m_mediaKind != kMediaWindowsMedia)
            PlayCurrent();
        HighlightStatus();
    } else if (::PtInRect(&m_rcPlay, point)) {
        PressCentre();
    } else {
        // The body of the skin: let the system drag the window as if by a caption.
        ::PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
        Default();
    }
}

void CPlayerDlg::PressCentre()
{
    m_userStopped = true;  // the control's next report is this click's own
    if (!m_loaded) {
        m_cd.Pause();
        m_cd.Stop();
        OpenFiles();
        m_cd.SeekTo(m_cdTrack, 0, 0, 0);
        PlayCurrent();
        HighlightStatus();
    } else if (m_playing) {
        StopKeepingLoaded();
    } else {
        PlayCurrent();
        HighlightStatus();
    }
}

void CPlayerDlg::StopKeepingLoaded()
{
    m_userStopped = true;  // the stop's report must not move the list on
    StopCurrent();
    StopPlayback();
    m_loaded = 1;  // stays loaded: the next play starts it again from the start
}

void CPlayerDlg::OnRButtonDown(UINT, POINT point)
{
    if (!::PtInRect(&m_rcPlay, point))
        return;
    if (!m_loaded) {
        OpenFiles();
        PlayCurrent();
        HighlightStatus();
        return;
    }
    // Eject: stop, forget the list and open the drive tray.
    m_noAdvance = true;
    StopCurrent();
    g_playList.RemoveAll();
    StopPlayback();
    m_currentPath.clear();
    m_cd.OpenCD_Rom();
    m_cd.Close();
}
