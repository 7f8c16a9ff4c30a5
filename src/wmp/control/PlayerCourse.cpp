// The course of the player control's medium: opening, starting, ending and stopping it, and the
// PlayStateChange reports that these owe the host.
#include "wmp/control/PlayerControl.h"

#include "wmp/control/MediaPlayerControl.h"
#include "wmp/control/PlayerMessages.h"

void CPlayerControl::CloseItem()
{
    KillTimer(m_window, kEndTimer);
    KillTimer(m_window, kTickTimer);
    m_session.reset();
    m_state = ItemState::None;
    // A medium that is replaced ends without a report: the host has moved on by itself.
    m_reports.clear();
    m_reportedState = kPlayStateStopped;
}

void CPlayerControl::OpenItem(const std::wstring& path)
{
    KillTimer(m_window, kEndTimer);
    KillTimer(m_window, kTickTimer);
    m_session.reset();
    m_path = path;
    m_state = ItemState::None;
    if (!path.empty()) {
        auto session = std::make_unique<CMediaSession>();
        ++m_sessionCookie;
        if (SUCCEEDED(session->Open(path, m_window, kMsgGraphNotify, m_sessionCookie,
                                    m_spareAudioRenderer.Get()))) {
            if (session->UsedAudioRenderer())
                m_spareAudioRenderer.Reset();
            m_session = std::move(session);
            m_session->ApplyAudio(m_volume, m_balance, m_mute);
            m_state = ItemState::Ready;
            Layout();
        } else {
            m_state = ItemState::Failed;
        }
    }
    InvalidateRect(m_window, nullptr, FALSE);
}

void CPlayerControl::PlayItem()
{
    switch (m_state) {
    case ItemState::None:
    case ItemState::Playing:
        return;
    case ItemState::Ended:
        OpenItem(m_path);  // played before: its graph is gone
        if (m_state == ItemState::Ready)
            StartItem();
        else if (m_state == ItemState::Failed)
            ReportFailure();
        return;
    case ItemState::Ready:
        StartItem();
        return;
    case ItemState::Failed:
        ReportFailure();
        return;
    }
}

void CPlayerControl::StartItem()
{
    if (FAILED(m_session->Start())) {
        m_session.reset();
        m_state = ItemState::Failed;
        InvalidateRect(m_window, nullptr, FALSE);
        ReportFailure();
        return;
    }
    m_state = ItemState::Playing;
    m_playsLeft = m_playCount;
    QueueReport(kPlayStatePlaying);
    if (!m_spareAudioRenderer) {
        LONGLONG half = m_session->DurationMs() / 2;
        UINT delay = static_cast<UINT>(half < 150 ? 150 : (half > 1000 ? 1000 : half));
        SetTimer(m_window, kPrepareTimer, delay, nullptr);
    }
    SetTimer(m_window, kTickTimer, kTickMs, nullptr);
    Layout();
    InvalidateBar();
}

void CPlayerControl::StopItem()
{
    ReleaseDrained(true);
    if (m_state != ItemState::Playing)
        return;  // nothing plays: nothing to report
    KillTimer(m_window, kEndTimer);
    KillTimer(m_window, kTickTimer);
    m_session->StopAndRewind();
    m_state = ItemState::Ready;
    m_failedPaths.clear();
    QueueReport(kPlayStateStopped);
    InvalidateRect(m_window, nullptr, FALSE);
}

void CPlayerControl::ReportFailure()
{
    // Reported as a medium that started and ended at once, so that a host moves on to the next
    // one; asked again before anything played, it stays silent.
    if (!m_failedPaths.insert(m_path).second)
        return;
    QueueReport(kPlayStatePlaying);
    QueueReport(kPlayStateStopped);
}

void CPlayerControl::ScheduleEnd()
{
    const DWORD remaining = m_session->MillisecondsToEnd();
    if (remaining == INFINITE)
        return;  // not complete yet
    if (remaining == 0)
        EndItem(false);
    else
        SetTimer(m_window, kEndTimer, remaining, nullptr);
}

void CPlayerControl::EndItem(bool failed)
{
    KillTimer(m_window, kEndTimer);
    if (!failed && (m_playCount == 0 || --m_playsLeft > 0)) {
        // Another round of the same medium, without a report.
        m_session->StopAndRewind();
        if (SUCCEEDED(m_session->Start()))
            return;
        failed = true;
    }
    KillTimer(m_window, kTickTimer);
    if (failed) {
        m_session.reset();
        m_failedPaths.insert(m_path);
    } else {
        DrainLater(std::move(m_session));
        m_failedPaths.clear();
    }
    m_state = ItemState::Ended;
    QueueReport(kPlayStateStopped);
    InvalidateRect(m_window, nullptr, FALSE);
}

void CPlayerControl::DrainLater(std::unique_ptr<CMediaSession> session)
{
    session->HideVideo();
    m_draining.push_back({std::move(session), GetTickCount() + kDrainMs});
    SetTimer(m_window, kDrainTimer, kDrainCheckMs, nullptr);
}

void CPlayerControl::ReleaseDrained(bool all)
{
    const DWORD now = GetTickCount();
    for (auto it = m_draining.begin(); it != m_draining.end();) {
        if (all || static_cast<LONG>(now - it->releaseAt) >= 0)
            it = m_draining.erase(it);
        else
            ++it;
    }
    if (m_draining.empty()) {
        KillTimer(m_window, kDrainTimer);
        // Nothing followed: the spare sound device is not kept open while the control is idle.
        if (m_state != ItemState::Playing)
            m_spareAudioRenderer.Reset();
    }
}

void CPlayerControl::QueueReport(LONG newState)
{
    if (newState == m_reportedState)
        return;
    if (m_sendPlayStateEvents)
        m_reports.emplace_back(m_reportedState, newState);
    m_reportedState = newState;
    if (!m_reports.empty() && !m_reportsPosted)
        m_reportsPosted = PostMessageA(m_window, kMsgFireReports, 0, 0) != FALSE;
}

LRESULT CPlayerControl::OnFireReports(WPARAM, LPARAM)
{
    m_reportsPosted = false;
    // The host's handler may drive this control again, or destroy it: nothing of the object is
    // touched after a report once it is gone.
    const std::shared_ptr<bool> alive = m_alive;
    while (!m_reports.empty()) {
        const std::pair<LONG, LONG> report = m_reports.front();
        m_reports.pop_front();
        const HWND parent = GetParent(m_window);
        if (!parent)
            continue;
        VARIANT args[2];
        VariantInit(&args[0]);
        VariantInit(&args[1]);
        args[0].vt = VT_I4;
        args[0].lVal = report.first;
        args[1].vt = VT_I4;
        args[1].lVal = report.second;
        EventCall call;
        call.dispid = kDispidPlayStateChange;
        call.argc = 2;
        call.args = args;
        SendMessageA(parent, EventMessageId(), static_cast<WPARAM>(GetDlgCtrlID(m_window)),
                     reinterpret_cast<LPARAM>(&call));
        if (!*alive)
            return 0;
    }
    return 0;
}

LRESULT CPlayerControl::OnPrepareAudio(WPARAM, LPARAM)
{
    if (!m_spareAudioRenderer)
        CoCreateInstance(CLSID_DSoundRender, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                         m_spareAudioRenderer.ReceiveVoid());
    return 0;
}
