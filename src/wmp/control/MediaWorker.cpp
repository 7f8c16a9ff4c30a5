// The media thread of the player control: every DirectShow graph lives and is driven here.
#include "wmp/control/MediaWorker.h"

#include <utility>

#include "wmp/control/PcmSink.h"
#include "wmp/control/PlayerMessages.h"
#include "wmp/control/SoundReader.h"

namespace {

constexpr UINT kWorkerCommand = WM_APP + 1;     // lParam: the Command, owned by the message
constexpr UINT kWorkerGraphNotify = WM_APP + 2; // lParam: the item whose graph has events
constexpr UINT_PTR kWorkerTickTimer = 1;
// Timers for the end of a completed stream are told apart by their item (ids above this base).
constexpr UINT_PTR kEndTimerBase = 0x10000;
constexpr UINT kWorkerTickMs = 100;
// A finished graph keeps running this long, so that what its sound renderer still holds for
// the device is played out rather than cut.
constexpr DWORD kDrainMs = 400;
// Starting the thread, and ending it with every graph it holds.
constexpr DWORD kStartWaitMs = 5000;
constexpr DWORD kEndWaitMs = 8000;
const char kWorkerClass[] = "QuonMediaWorker";

// Waits for a handle while sent messages are handled, so that a thread that reaches this
// thread's windows meanwhile is answered.
bool WaitHandlingSentMessages(HANDLE handle, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
        const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + 1)
            return false;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

COpenTicket::COpenTicket() : m_pictureEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

COpenTicket::~COpenTicket()
{
    if (m_pictureEvent)
        CloseHandle(m_pictureEvent);
}

bool COpenTicket::WaitForPicture(DWORD timeoutMs) const
{
    return WaitHandlingSentMessages(m_pictureEvent, timeoutMs);
}

struct CMediaWorker::Command {
    enum class Kind { Open, Start, Stop, Restart, Close, Place, Audio, Quit };
    Kind kind = Kind::Quit;
    DWORD item = 0;
    DWORD run = 0;
    std::wstring path;
    std::shared_ptr<COpenTicket> ticket;
    RECT area{};
    bool naturalSize = false;
    long volume = 0;
    long balance = 0;
    bool mute = false;
};

struct CMediaWorker::Session {
    ~Session()
    {
        media.reset(); // the graph goes first; it holds the sink
        if (sink)
            sink->Release();
    }
    // Its sound goes to the control's output, decoded by the sink or the reader, or neither.
    bool FeedsOutput() const { return sink || reader; }
    DWORD item = 0;
    CPcmSink* sink = nullptr; // at the end of the graph, when it decodes for the control's output
    std::unique_ptr<CSoundReader> reader; // instead of a graph, for what DirectShow cannot play
    std::unique_ptr<CMediaSession> media = std::make_unique<CMediaSession>();
    bool endPosted = false; // the control has been told that it ended
    bool failed = false;
};

CMediaWorker::CMediaWorker(HWND control, CSoundOutput* sound) : m_control(control), m_sound(sound)
{
    m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, &CMediaWorker::ThreadMain, this, 0, nullptr);
    if (m_thread && m_ready)
        WaitForSingleObject(m_ready, kStartWaitMs);
}

CMediaWorker::~CMediaWorker()
{
    if (m_window)
        Post(std::make_unique<Command>()); // Quit
    if (m_thread) {
        if (!WaitHandlingSentMessages(m_thread, kEndWaitMs))
            TerminateThread(m_thread, 1); // a graph that hangs must not hang the program's exit
        CloseHandle(m_thread);
    }
    if (m_ready)
        CloseHandle(m_ready);
}

void CMediaWorker::Post(std::unique_ptr<Command> command)
{
    if (!m_window)
        return;
    Command* raw = command.release();
    if (!PostMessageA(m_window, kWorkerCommand, 0, reinterpret_cast<LPARAM>(raw)))
        delete raw;
}

void CMediaWorker::Open(DWORD item, const std::wstring& path, std::shared_ptr<COpenTicket> ticket)
{
    auto command = std::make_unique<Command>();
    command->kind = Command::Kind::Open;
    command->item = item;
    command->path = path;
    command->ticket = std::move(ticket);
    Post(std::move(command));
}

void CMediaWorker::Start(DWORD item, DWORD run)
{
    auto command = std::make_unique<Command>();
    command->kind = Command::Kind::Start;
    command->item = item;
    command->run = run;
    Post(std::move(command));
}

void CMediaWorker::Stop(DWORD item)
{
    auto command = std::make_unique<Command>();
    command->kind = Command::Kind::Stop;
    command->item = item;
    Post(std::move(command));
}

void CMediaWorker::Restart(DWORD item)
{
    auto command = std::make_unique<Command>();
    command->kind = Command::Kind::Restart;
    command->item = item;
    Post(std::move(command));
}

void CMediaWorker::Close(DWORD item)
{
    auto command = std::make_unique<Command>();
    command->kind = Command::Kind::Close;
    command->item = item;
    Post(std::move(command));
}

void CMediaWorker::Place(DWORD item, const RECT& area, bool naturalSize)
{
    auto command = std::make_unique<Command>();
    command->kind = Command::Kind::Place;
    command->item = item;
    command->area = area;
    command->naturalSize = naturalSize;
    Post(std::move(command));
}

void CMediaWorker::SetAudio(long volume, long balance, bool mute)
{
    auto command = std::make_unique<Command>();
    command->kind = Command::Kind::Audio;
    command->volume = volume;
    command->balance = balance;
    command->mute = mute;
    Post(std::move(command));
}

DWORD WINAPI CMediaWorker::ThreadMain(void* param)
{
    auto* self = static_cast<CMediaWorker*>(param);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    self->Run();
    CoUninitialize();
    return 0;
}

void CMediaWorker::Run()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &CMediaWorker::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kWorkerClass;
    RegisterClassA(&wc); // fails harmlessly once it exists
    HWND window = CreateWindowExA(0, kWorkerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
    m_window = window;
    SetEvent(m_ready);
    if (!window)
        return;
    SetTimer(window, kWorkerTickTimer, kWorkerTickMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // Commands still queued are dropped with their window.
    while (PeekMessageA(&msg, window, kWorkerCommand, kWorkerCommand, PM_REMOVE))
        delete reinterpret_cast<Command*>(msg.lParam);
}

LRESULT CALLBACK CMediaWorker::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CMediaWorker*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case kWorkerCommand: {
        std::unique_ptr<Command> command(reinterpret_cast<Command*>(lParam));
        self->Execute(*command);
        return 0;
    }
    case kWorkerGraphNotify:
        self->OnGraphNotify(static_cast<DWORD>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kWorkerTickTimer) {
            self->OnTick();
        } else if (wParam > kEndTimerBase) {
            KillTimer(window, wParam);
            auto it = self->m_sessions.find(static_cast<DWORD>(wParam - kEndTimerBase));
            if (it != self->m_sessions.end())
                self->CheckEnd(*it->second);
        }
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void CMediaWorker::Execute(Command& command)
{
    auto found = m_sessions.find(command.item);
    Session* session = found != m_sessions.end() ? found->second.get() : nullptr;
    switch (command.kind) {
    case Command::Kind::Open:
        DoOpen(command);
        break;
    case Command::Kind::Start:
        if (session)
            DoStart(*session, command.run);
        else
            PostToControl(kMsgItemEnded, command.item, TRUE); // nothing to start: it failed
        break;
    case Command::Kind::Stop:
        if (session && session->FeedsOutput()) {
            DoClose(command.item); // played again from a graph of its own
        } else if (session) {
            KillTimer(m_window, kEndTimerBase + session->item);
            session->media->StopAndRewind();
            session->endPosted = false;
        }
        break;
    case Command::Kind::Restart:
        if (session && !session->reader) {
            KillTimer(m_window, kEndTimerBase + session->item);
            session->media->StopAndRewind();
            DoStart(*session, command.run);
        }
        break;
    case Command::Kind::Close:
        DoClose(command.item);
        break;
    case Command::Kind::Place:
        if (session)
            session->media->PlaceVideo(m_control, command.area, command.naturalSize);
        break;
    case Command::Kind::Audio:
        m_volume = command.volume;
        m_balance = command.balance;
        m_mute = command.mute;
        for (auto& entry : m_sessions)
            entry.second->media->ApplyAudio(m_volume, m_balance, m_mute);
        break;
    case Command::Kind::Quit:
        KillTimer(m_window, kWorkerTickTimer);
        m_sessions.clear();
        ReleaseDrained(true);
        DestroyWindow(m_window);
        PostQuitMessage(0);
        break;
    }
}

void CMediaWorker::DoOpen(Command& command)
{
    COpenTicket& ticket = *command.ticket;
    auto session = std::make_unique<Session>();
    session->item = command.item;
    // Sound-only media are decoded into the control's output, where one medium follows the other
    // without a gap; without a sound device they fail as they would with a renderer.
    const bool soundDevice = m_sound && waveOutGetNumDevs() > 0;
    HRESULT hr = E_FAIL;
    if (!CSoundReader::TakesFirst(command.path)) {
        if (soundDevice)
            session->sink = CPcmSink::Create(m_control, m_sound);
        hr = session->media->Open(command.path, m_window, kWorkerGraphNotify, command.item, session->sink);
        if (SUCCEEDED(hr) && session->sink && !session->media->FeedsSink()) {
            session->sink->Release();
            session->sink = nullptr;
        }
    }
    if (FAILED(hr) && soundDevice && OpenReader(*session, command.path)) {
        ticket.soundToControl = true;
        ticket.durationMs = session->reader->DurationMs();
        ticket.SignalPicture();
        m_sessions[command.item] = std::move(session);
        PostToControl(kMsgItemOpened, command.item, 0);
        return;
    }
    if (FAILED(hr)) {
        ticket.failed = true;
        ticket.SignalPicture();
        PostToControl(kMsgItemOpened, command.item, 0);
        return;
    }
    ticket.hasPicture = session->media->HasPicture();
    ticket.SignalPicture();
    session->media->AttachVideo(m_control);
    hr = session->media->Preroll();
    if (FAILED(hr)) {
        ticket.failed = true;
        PostToControl(kMsgItemOpened, command.item, 0);
        return;
    }
    session->media->ApplyAudio(m_volume, m_balance, m_mute);
    ticket.soundToControl = session->media->FeedsSink();
    ticket.durationMs = session->media->DurationMs();
    m_sessions[command.item] = std::move(session);
    PostToControl(kMsgItemOpened, command.item, 0);
}

bool CMediaWorker::OpenReader(Session& session, const std::wstring& path)
{
    // What DirectShow built on the way is let go first.
    session.media = std::make_unique<CMediaSession>();
    if (session.sink) {
        session.sink->Release();
        session.sink = nullptr;
    }
    session.reader = std::make_unique<CSoundReader>(m_control, m_sound);
    if (SUCCEEDED(session.reader->Open(path)))
        return true;
    session.reader.reset();
    return false;
}

void CMediaWorker::DoStart(Session& session, DWORD run)
{
    session.endPosted = false;
    if (session.FeedsOutput())
        ReleaseDrained(true); // no sound of a finished picture under the next medium's
    if (session.sink)
        session.sink->SetRun(run);
    const bool started = session.reader ? session.reader->Start(run) : SUCCEEDED(session.media->Start());
    if (!started) {
        session.failed = true;
        session.endPosted = true;
        PostToControl(kMsgItemEnded, session.item, TRUE);
    }
}

void CMediaWorker::DoClose(DWORD item)
{
    auto it = m_sessions.find(item);
    if (it == m_sessions.end())
        return;
    KillTimer(m_window, kEndTimerBase + item);
    std::unique_ptr<Session> session = std::move(it->second);
    m_sessions.erase(it);
    if (!session->FeedsOutput() && session->endPosted && !session->failed && session->media->IsRunning()) {
        session->media->HideVideo();
        m_draining.push_back({std::move(session), GetTickCount() + kDrainMs});
    }
}

void CMediaWorker::OnGraphNotify(DWORD item)
{
    auto it = m_sessions.find(item);
    if (it == m_sessions.end())
        return; // a graph that is gone or draining
    Session& session = *it->second;
    const CMediaSession::GraphEvent event = session.media->TakeEvents();
    if (session.endPosted || !session.media->IsRunning())
        return;
    if (event == CMediaSession::GraphEvent::Aborted) {
        session.failed = true;
        session.endPosted = true;
        PostToControl(kMsgItemEnded, item, TRUE);
    } else if (event == CMediaSession::GraphEvent::Complete) {
        CheckEnd(session);
    }
}

void CMediaWorker::CheckEnd(Session& session)
{
    if (session.endPosted || !session.media->IsRunning())
        return;
    const DWORD remaining = session.media->MillisecondsToEnd();
    if (remaining == INFINITE)
        return; // not complete yet
    if (remaining == 0) {
        session.endPosted = true;
        PostToControl(kMsgItemEnded, session.item, FALSE);
    } else {
        SetTimer(m_window, kEndTimerBase + session.item, remaining, nullptr);
    }
}

void CMediaWorker::OnTick()
{
    // A stream whose renderer never reports its end is ended by the clock.
    for (auto& entry : m_sessions) {
        Session& session = *entry.second;
        if (!session.endPosted && session.media->IsOverdue()) {
            session.endPosted = true;
            PostToControl(kMsgItemEnded, session.item, FALSE);
        }
    }
    ReleaseDrained(false);
}

void CMediaWorker::ReleaseDrained(bool all)
{
    const DWORD now = GetTickCount();
    for (auto it = m_draining.begin(); it != m_draining.end();) {
        if (all || static_cast<LONG>(now - it->releaseAt) >= 0)
            it = m_draining.erase(it);
        else
            ++it;
    }
}

void CMediaWorker::PostToControl(UINT message, DWORD item, LPARAM value)
{
    PostMessageA(m_control, message, static_cast<WPARAM>(item), value);
}
