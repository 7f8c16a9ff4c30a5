// The course of the player control's medium: opening, starting, ending and stopping it, and the
// PlayStateChange reports that these owe the host. The graphs themselves are built and run on
// the media thread (MediaWorker.cpp); this side only keeps the state and never waits for them.
#include "wmp/control/PlayerControl.h"

#include <cstdint>
#include <utility>

#include "wmp/control/MediaPlayerControl.h"
#include "wmp/control/PlayerMessages.h"
#include "wmp/logic/MediaHeader.h"

namespace {

// The file's first bytes, and how many there are: none of a file that cannot be read, which counts
// as sound only (it cannot show a picture either).
std::size_t ReadMediaHeader(const std::wstring& path, std::uint8_t (&header)[kMediaHeaderBytes])
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD read = 0;
    const BOOL ok = ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    return ok ? read : 0;
}

} // namespace

CMediaWorker& CPlayerControl::Worker()
{
    if (!m_worker) {
        m_output = std::make_unique<CSoundOutput>(m_window);
        m_output->SetLevels(m_volume, m_balance, m_mute);
        m_worker = std::make_unique<CMediaWorker>(m_window, m_output.get());
        m_worker->SetAudio(m_volume, m_balance, m_mute);
    }
    return *m_worker;
}

void CPlayerControl::NoteOpenTime()
{
    if (!m_openBehindTail || !m_output)
        return;
    // The end of an item is reported early enough for the slowest of the last few opens (plus a
    // margin for the first samples) to finish while its tail plays.
    m_openBehindTail = false;
    m_recentOpensMs[m_recentOpenIndex] = GetTickCount() - m_openSince;
    m_recentOpenIndex = (m_recentOpenIndex + 1) % 4;
    DWORD slowest = 0;
    for (DWORD ms : m_recentOpensMs)
        slowest = slowest > ms ? slowest : ms;
    m_output->SetReportLead(slowest + kOpenMarginMs);
}

bool CPlayerControl::FeedsOutput() const
{
    return m_ticket && m_ticket->soundToControl;
}

void CPlayerControl::SilenceOutput()
{
    if (m_output)
        m_output->DropThrough(m_lastRun);
}

void CPlayerControl::CloseItem()
{
    // A medium replaced while it plays is cut; the tail of one that has ended plays on, and the
    // next medium follows it.
    if (m_state == ItemState::Playing)
        SilenceOutput();
    ReleaseItem();
    m_state = ItemState::None;
    // A medium that is replaced ends without a report: the host has moved on by itself.
    m_reports.clear();
    m_reportedState = kPlayStateStopped;
}

// Lets go of the current medium's graph and of whatever was asked of it.
void CPlayerControl::ReleaseItem()
{
    KillTimer(m_window, kTickTimer);
    KillTimer(m_window, kWaitOutputTimer);
    if (m_item && m_worker)
        m_worker->Close(m_item);
    m_item = 0;
    m_ticket.reset();
    m_playWanted = false;
    m_stopAfterOpen = false;
}

void CPlayerControl::OpenItem(const std::wstring& path)
{
    ReleaseItem();
    m_path = path;
    m_state = ItemState::None;
    if (!path.empty()) {
        m_item = ++m_lastItem;
        m_ticket = std::make_shared<COpenTicket>();
        std::uint8_t header[kMediaHeaderBytes] = {};
        const std::size_t read = ReadMediaHeader(path, header);
        m_soundOnlyFile = read == 0 || IsSoundOnlyHeader(header, read);
        m_pictureFile = IsPictureContainerHeader(header, read);
        m_openSince = GetTickCount();
        m_openBehindTail = m_output && !m_output->IsSilent();
        Worker().Open(m_item, path, m_ticket);
        m_state = ItemState::Opening;
    }
    InvalidateRect(m_window, nullptr, FALSE);
}

LRESULT CPlayerControl::OnItemOpened(WPARAM item, LPARAM)
{
    if (static_cast<DWORD>(item) != m_item || !m_ticket)
        return 0; // replaced meanwhile
    NoteOpenTime();
    if (m_state == ItemState::Playing) {
        // The next round of a medium played more than once.
        if (m_ticket->failed)
            EndItem(true);
        else
            StartNow();
        return 0;
    }
    if (m_state != ItemState::Opening)
        return 0;
    const bool playWanted = m_playWanted;
    const bool stopped = std::exchange(m_stopAfterOpen, false);
    m_playWanted = false;
    if (m_ticket->failed) {
        m_state = ItemState::Failed;
        // Stopped while it opened, it reports what a play and a stop would have reported then.
        if (playWanted || stopped)
            ReportFailure();
        if (stopped)
            StopUntoldFailure();
        InvalidateRect(m_window, nullptr, FALSE);
        return 0;
    }
    m_state = ItemState::Ready;
    Layout();
    if (stopped)
        QueueStopBeforeStart();
    if (playWanted)
        StartItem();
    InvalidateRect(m_window, nullptr, FALSE);
    return 0;
}

void CPlayerControl::PlayItem()
{
    switch (m_state) {
    case ItemState::None:
    case ItemState::Playing:
        return;
    case ItemState::Opening:
        m_playWanted = true;
        return;
    case ItemState::Ended:
        OpenItem(m_path); // played before: its graph is gone
        m_playWanted = m_state == ItemState::Opening;
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
    if (!FeedsOutput() && m_output && !m_output->IsSilent()) {
        // A medium with a sound renderer of its own waits for the output's tail to play out. The
        // output's device runs dry after that: its last sound is followed by silence of its own.
        m_output->Finish();
        m_playWanted = true;
        m_waitOutputSince = GetTickCount();
        SetTimer(m_window, kWaitOutputTimer, kWaitOutputMs, nullptr);
        return;
    }
    StartNow();
}

void CPlayerControl::StartNow()
{
    KillTimer(m_window, kWaitOutputTimer);
    m_playWanted = false;
    m_run = ++m_lastRun;
    Worker().Start(m_item, m_run);
    // A round of the same medium again (play count) keeps the count and owes no report.
    if (m_state != ItemState::Playing)
        m_playsLeft = m_playCount;
    m_state = ItemState::Playing;
    m_startTicks = GetTickCount();
    QueueReport(kPlayStatePlaying);
    SetTimer(m_window, kTickTimer, kTickMs, nullptr);
    Layout();
    InvalidateBar();
}

void CPlayerControl::StopItem()
{
    // Whatever still sounds, also the tail of an item that has ended, falls silent.
    SilenceOutput();
    if (m_state == ItemState::Opening && m_playWanted) {
        // Asked to play and stopped before its open was done: once the open is done it owes what
        // a play and a stop would have reported then (see OnItemOpened).
        m_playWanted = false;
        m_stopAfterOpen = true;
        return;
    }
    if (m_state == ItemState::Ready && m_playWanted) {
        // Opened, and waiting for the output to fall silent: reported as started and stopped.
        KillTimer(m_window, kWaitOutputTimer);
        m_playWanted = false;
        QueueStopBeforeStart();
        return;
    }
    if (m_state == ItemState::Failed) {
        StopUntoldFailure();
        return;
    }
    if (m_state != ItemState::Playing)
        return; // nothing plays: nothing to report
    KillTimer(m_window, kTickTimer);
    KillTimer(m_window, kWaitOutputTimer);
    Worker().Stop(m_item);
    if (FeedsOutput()) {
        m_item = 0; // its graph is released; Play opens it again
        m_ticket.reset();
        m_state = ItemState::Ended;
    } else {
        m_state = ItemState::Ready;
    }
    if (!m_reports.empty() && m_reports.back() == std::make_pair(LONG{kPlayStateStopped}, LONG{kPlayStatePlaying}))
        QueueStopBeforeStart();  // its start has not reached the host yet
    else {
        ForgetFailures();
        QueueReport(kPlayStateStopped);
    }
    InvalidateRect(m_window, nullptr, FALSE);
}

// An item stopped before the host heard of its start owes one report: from playing to stopped,
// as if it had played. A start and a stop would be two reports, and a host that swallows the one
// report after a stop of its own (the player's centre click) would take the second for the item's
// natural end and move on.
void CPlayerControl::QueueStopBeforeStart()
{
    ForgetFailures();
    if (!m_reports.empty() && m_reports.back() == std::make_pair(LONG{kPlayStateStopped}, LONG{kPlayStatePlaying}))
        m_reports.pop_back();
    if (m_sendPlayStateEvents)
        m_reports.emplace_back(kPlayStatePlaying, kPlayStateStopped);
    m_reportedState = kPlayStateStopped;
    if (!m_reports.empty() && !m_reportsPosted)
        m_reportsPosted = PostMessageA(m_window, kMsgFireReports, 0, 0) != FALSE;
}

// A failed medium stopped before its failure reached the host: the host hears one report, its
// stop's own, and not a start and an end that would move its list on after the stop. A failure
// that is not told (asked again before anything played) stays silent when stopped.
void CPlayerControl::StopUntoldFailure()
{
    if (m_reports.empty())
        return;
    m_reports.clear();
    QueueStopBeforeStart();
}

void CPlayerControl::ReportFailure()
{
    // Reported as a medium that started and ended at once, so that a host moves on to the next
    // one; asked again before anything played, it stays silent, so that a list of nothing but such
    // media stops after one pass. Asked again straight after its own failure (a host repeating the
    // item once), it is told once more, so that such a host goes on to the next item.
    const bool first = m_failedPaths.insert(m_path).second;
    const bool straightAgain = m_path == m_lastFailure;
    m_lastFailure = m_path;
    if (!first) {
        if (!straightAgain || m_lastFailureRetold)
            return;
        m_lastFailureRetold = true;
    } else {
        m_lastFailureRetold = false;
    }
    QueueReport(kPlayStatePlaying);
    QueueReport(kPlayStateStopped);
}

void CPlayerControl::ForgetFailures()
{
    m_failedPaths.clear();
    m_lastFailure.clear();
    m_lastFailureRetold = false;
}

LRESULT CPlayerControl::OnItemEnded(WPARAM item, LPARAM failed)
{
    if (static_cast<DWORD>(item) != m_item || m_state != ItemState::Playing)
        return 0;
    if (!failed && PlaysAgain()) {
        Worker().Restart(m_item); // another round of the same medium, without a report
        m_startTicks = GetTickCount();
        return 0;
    }
    EndItem(failed != FALSE);
    return 0;
}

LRESULT CPlayerControl::OnRunDecoded(WPARAM run, LPARAM)
{
    if (static_cast<DWORD>(run) != m_run || m_state != ItemState::Playing || !FeedsOutput())
        return 0;
    if (PlaysAgain()) {
        // Another round, decoded by a new graph right behind this one's last sample.
        Worker().Close(m_item);
        m_item = ++m_lastItem;
        m_ticket = std::make_shared<COpenTicket>();
        m_openSince = GetTickCount();
        m_openBehindTail = true;
        Worker().Open(m_item, m_path, m_ticket);
        m_playWanted = true;
        return 0;
    }
    m_output->EndRun(m_run);
    return 0;
}

LRESULT CPlayerControl::OnRunHandedOver(WPARAM run, LPARAM failed)
{
    if (static_cast<DWORD>(run) != m_run || m_state != ItemState::Playing)
        return 0;
    EndItem(failed != FALSE);
    return 0;
}

bool CPlayerControl::PlaysAgain()
{
    return m_playCount == 0 || --m_playsLeft > 0;
}

void CPlayerControl::EndItem(bool failed)
{
    KillTimer(m_window, kTickTimer);
    Worker().Close(m_item); // one that played to its end plays out its sound renderer's buffer
    m_item = 0;
    m_ticket.reset();
    if (failed) {
        m_failedPaths.insert(m_path);
        m_lastFailure = m_path;
        m_lastFailureRetold = false;
    } else
        ForgetFailures();
    m_state = ItemState::Ended;
    QueueReport(kPlayStateStopped);
    if (!m_sendPlayStateEvents && m_output)
        m_output->Finish(); // a host that hears no reports cannot go on from here
    InvalidateRect(m_window, nullptr, FALSE);
}

void CPlayerControl::ApplyAudio()
{
    if (m_output)
        m_output->SetLevels(m_volume, m_balance, m_mute);
    if (m_worker)
        m_worker->SetAudio(m_volume, m_balance, m_mute);
}

bool CPlayerControl::HasPicture() const
{
    return m_ticket && m_ticket->PictureKnown() && m_ticket->hasPicture && !m_ticket->failed &&
           (m_state == ItemState::Opening || m_state == ItemState::Ready || m_state == ItemState::Playing);
}

long long CPlayerControl::PositionMs() const
{
    if (m_state != ItemState::Playing)
        return 0;
    long long position = static_cast<long long>(GetTickCount() - m_startTicks);
    const long long duration = m_ticket ? m_ticket->durationMs : 0;
    return duration > 0 && position > duration ? duration : position;
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
    // Told of an item's end, the host opened nothing after it: its list is over.
    if (m_state == ItemState::Ended && m_output)
        m_output->Finish();
    return 0;
}
