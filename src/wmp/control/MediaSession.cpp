// The DirectShow side of the player control: one filter graph per medium, run against its clock.
#include "wmp/control/MediaSession.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The renderer's window is created as a top-level window of its own. A shell that keeps a taskbar
// entry for every window it saw created at the top (Wine's) shows a button for it while it is
// visible and has no owner, even once it is the control's child; so while it is still at the top,
// it is given the window that holds the control as its owner.
void OwnRendererWindows(HWND control)
{
    struct Search {
        DWORD process;
        HWND root;
        static BOOL CALLBACK Each(HWND wnd, LPARAM param)
        {
            const auto* search = reinterpret_cast<const Search*>(param);
            DWORD process = 0;
            ::GetWindowThreadProcessId(wnd, &process);
            wchar_t title[32] = L"";
            if (process == search->process && !::GetWindow(wnd, GW_OWNER) && !::IsWindowVisible(wnd) &&
                ::GetWindowTextW(wnd, title, 32) > 0 && lstrcmpW(title, L"ActiveMovie Window") == 0)
                ::SetWindowLongPtrW(wnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(search->root));
            return TRUE;
        }
    };
    Search search{::GetCurrentProcessId(), ::GetAncestor(control, GA_ROOT)};
    if (search.root)
        ::EnumWindows(&Search::Each, reinterpret_cast<LPARAM>(&search));
}

// How far ahead of the clock a started stream begins: time for the prerolled renderers to take
// their first samples, so that the start of the medium is not dropped as late. A sound renderer
// opened for this graph starts its stream cold and breaks up its first tenth of a second with a
// shorter lead.
constexpr REFERENCE_TIME kStartLead = 150 * 10000;
// Waiting for a graph to preroll (decoders started, first samples at the renderers).
constexpr DWORD kPrerollTimeoutMs = 3000;
// After completion, when the length is unknown, the sound renderer's buffer is given this long.
constexpr LONGLONG kUnknownLengthTailMs = 250;
// The longest the end of a completed stream is waited for, whatever the clock says.
constexpr LONGLONG kLongestTailMs = 1000;
// A running stream this far past its length without a report of its end is taken as ended.
constexpr LONGLONG kOverdueMs = 3000;
// The sound renderer's quietest level; IBasicAudio counts in hundredths of a decibel.
constexpr long kSilentVolume = -10000;

LONGLONG TicksNow()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

LONGLONG TicksToMs(LONGLONG ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return ticks * 1000 / frequency.QuadPart;
}

// Whether any pin of the filter is connected.
bool IsConnected(IBaseFilter* filter)
{
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Receive())))
        return false;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Receive(), nullptr) == S_OK) {
        ComPtr<IPin> peer;
        if (SUCCEEDED(pin->ConnectedTo(peer.Receive())) && peer)
            return true;
    }
    return false;
}

// The pin that feeds the filter's first connected input, or null.
ComPtr<IPin> UpstreamOf(IBaseFilter* filter)
{
    ComPtr<IPin> result;
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Receive())))
        return result;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Receive(), nullptr) == S_OK) {
        if (SUCCEEDED(pin->ConnectedTo(result.Receive())) && result)
            return result;
    }
    result.Reset();
    return result;
}

} // namespace

CMediaSession::~CMediaSession()
{
    DetachWindows();
    if (m_control)
        m_control->Stop();
}

HRESULT CMediaSession::Open(const std::wstring& path, HWND notifyWindow, UINT notifyMessage, LONG_PTR cookie,
                            IBaseFilter* soundSink)
{
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  m_graph.ReceiveVoid());
    if (FAILED(hr))
        return hr;
    m_control = m_graph.As<IMediaControl>(IID_IMediaControl);
    m_events = m_graph.As<IMediaEventEx>(IID_IMediaEventEx);
    m_seeking = m_graph.As<IMediaSeeking>(IID_IMediaSeeking);
    m_filter = m_graph.As<IMediaFilter>(IID_IMediaFilter);
    if (!m_control || !m_events || !m_filter)
        return E_NOINTERFACE;
    m_events->SetNotifyWindow(reinterpret_cast<OAHWND>(notifyWindow), notifyMessage, cookie);

    // The plain GDI renderer is offered first: the default choice draws through Direct3D, which
    // shows nothing where the display has no 3D support. Unused, it leaves the graph again.
    ComPtr<IBaseFilter> videoRenderer;
    if (SUCCEEDED(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   videoRenderer.ReceiveVoid()))) {
        // The renderer's window is a top-level window until the control takes it in
        // (AttachVideo); it must not show itself there meanwhile.
        if (ComPtr<IVideoWindow> window = videoRenderer.As<IVideoWindow>(IID_IVideoWindow))
            window->put_AutoShow(OAFALSE);
        m_graph->AddFilter(videoRenderer.Get(), L"Video Renderer");
    }
    if (soundSink)
        m_graph->AddFilter(soundSink, L"Sound Sink");

    hr = m_graph->RenderFile(path.c_str(), nullptr);
    const bool videoConnected = videoRenderer && IsConnected(videoRenderer.Get());
    if (videoRenderer && !videoConnected)
        m_graph->RemoveFilter(videoRenderer.Get());
    if (soundSink) {
        m_feedsSink = IsConnected(soundSink);
        if (m_feedsSink && videoConnected && SUCCEEDED(hr)) {
            // Sound beside a picture is timed with it by a renderer of its own.
            ComPtr<IPin> upstream = UpstreamOf(soundSink);
            m_graph->RemoveFilter(soundSink);
            m_feedsSink = false;
            if (upstream && FAILED(m_graph->Render(upstream.Get())))
                hr = VFW_S_AUDIO_NOT_RENDERED;
        } else if (!m_feedsSink) {
            m_graph->RemoveFilter(soundSink);
        }
    }
    if (FAILED(hr))
        return hr;

    m_basicVideo = m_graph.As<IBasicVideo>(IID_IBasicVideo);
    if (videoConnected && m_basicVideo &&
        SUCCEEDED(m_basicVideo->GetVideoSize(&m_videoWidth, &m_videoHeight))) {
        // Some renderers give a top-down picture's height as negative, as its bitmap header has it.
        m_videoHeight = std::abs(m_videoHeight);
        m_hasPicture = m_videoWidth > 0 && m_videoHeight > 0;
    }
    // A medium whose sound found no renderer plays only if it has a picture to show.
    if (hr == VFW_S_AUDIO_NOT_RENDERED && !m_hasPicture)
        return VFW_E_NO_AUDIO_HARDWARE;
    if (!m_feedsSink)
        m_audio = m_graph.As<IBasicAudio>(IID_IBasicAudio);

    if (m_seeking) {
        m_seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
        LONGLONG duration = 0;
        if (SUCCEEDED(m_seeking->GetDuration(&duration)) && duration > 0)
            m_duration = duration;
    }
    if (m_feedsSink && m_duration == 0) {
        // The sink does not seek; the pin that feeds it knows the length.
        ComPtr<IPin> upstream = UpstreamOf(soundSink);
        ComPtr<IMediaSeeking> seeking = upstream.As<IMediaSeeking>(IID_IMediaSeeking);
        LONGLONG duration = 0;
        if (seeking && SUCCEEDED(seeking->GetDuration(&duration)) && duration > 0)
            m_duration = duration;
    }
    return S_OK;
}

void CMediaSession::AttachVideo(HWND owner)
{
    if (!m_hasPicture || m_videoOwned)
        return;
    m_video = m_graph.As<IVideoWindow>(IID_IVideoWindow);
    if (!m_video)
        return;
    m_video->put_AutoShow(OAFALSE);
    OwnRendererWindows(owner);
    m_video->put_Owner(reinterpret_cast<OAHWND>(owner));
    m_video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_video->put_MessageDrain(reinterpret_cast<OAHWND>(owner));
    m_videoOwned = true;
}

HRESULT CMediaSession::Preroll()
{
    if (!m_control)
        return E_UNEXPECTED;
    if (m_feedsSink)
        return S_OK; // the sink waits for the run; nothing to gain from a preroll
    HRESULT hr = m_control->Pause();
    if (FAILED(hr))
        return hr;
    OAFilterState state = State_Stopped;
    return m_control->GetState(kPrerollTimeoutMs, &state);
}

HRESULT CMediaSession::Start()
{
    if (!m_control)
        return E_UNEXPECTED;
    if (m_running)
        return S_OK;
    m_complete = false;
    if (m_feedsSink) {
        // No clock: the graph decodes ahead as fast as the sink accepts.
        m_filter->SetSyncSource(nullptr);
        HRESULT hr = m_control->Run();
        if (FAILED(hr))
            return hr;
        m_runStartTicks = TicksNow();
        m_running = true;
        return S_OK;
    }
    HRESULT hr = m_control->Pause();
    if (FAILED(hr))
        return hr;
    OAFilterState state = State_Stopped;
    m_control->GetState(kPrerollTimeoutMs, &state);

    m_clock.Reset();
    m_filter->GetSyncSource(m_clock.Receive());
    hr = E_FAIL;
    if (m_clock) {
        REFERENCE_TIME now = 0;
        if (SUCCEEDED(m_clock->GetTime(&now))) {
            m_streamStart = now + kStartLead;
            hr = m_filter->Run(m_streamStart);
        }
    }
    if (FAILED(hr)) {
        // Without a usable clock the graph picks its own start and reports its own position.
        m_clock.Reset();
        hr = m_control->Run();
    }
    if (FAILED(hr))
        return hr;
    m_runStartTicks = TicksNow();
    m_running = true;
    return S_OK;
}

void CMediaSession::StopAndRewind()
{
    if (!m_control)
        return;
    m_control->Stop();
    if (m_seeking) {
        LONGLONG start = 0;
        m_seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    }
    m_running = false;
    m_complete = false;
}

CMediaSession::GraphEvent CMediaSession::TakeEvents()
{
    GraphEvent result = GraphEvent::None;
    if (!m_events)
        return result;
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (m_events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
        m_events->FreeEventParams(code, param1, param2);
        if (!m_running)
            continue; // left over from before a stop
        if (code == EC_COMPLETE) {
            if (result == GraphEvent::None)
                result = GraphEvent::Complete;
            if (!m_complete) {
                m_complete = true;
                m_completeTicks = TicksNow();
            }
        } else if (code == EC_ERRORABORT || code == EC_USERABORT || code == EC_ERRORABORTEX) {
            result = GraphEvent::Aborted;
        }
    }
    return result;
}

REFERENCE_TIME CMediaSession::ClockNow() const
{
    REFERENCE_TIME now = 0;
    if (m_clock)
        m_clock->GetTime(&now);
    return now;
}

DWORD CMediaSession::MillisecondsToEnd() const
{
    if (!m_complete)
        return INFINITE;
    const LONGLONG sinceComplete = TicksToMs(TicksNow() - m_completeTicks);
    LONGLONG remaining = kUnknownLengthTailMs - sinceComplete;
    if (m_clock && m_duration > 0)
        remaining = (m_streamStart + m_duration - ClockNow()) / 10000;
    remaining = std::min(remaining, kLongestTailMs - sinceComplete);
    return remaining > 0 ? static_cast<DWORD>(remaining) : 0;
}

LONGLONG CMediaSession::PositionMs() const
{
    if (!m_running)
        return 0;
    LONGLONG position = 0;
    if (m_clock) {
        position = std::max<LONGLONG>(0, (ClockNow() - m_streamStart) / 10000);
    } else if (m_seeking) {
        LONGLONG current = 0;
        if (SUCCEEDED(m_seeking->GetCurrentPosition(&current)))
            position = current / 10000;
    }
    if (m_duration > 0)
        position = std::min(position, DurationMs());
    return position;
}

bool CMediaSession::IsOverdue() const
{
    if (!m_running || m_complete || m_duration <= 0)
        return false;
    const LONGLONG streamMs =
        m_clock ? (ClockNow() - m_streamStart) / 10000 : TicksToMs(TicksNow() - m_runStartTicks);
    return streamMs > DurationMs() + kOverdueMs;
}

void CMediaSession::ApplyAudio(long volume, long balance, bool mute)
{
    if (!m_audio)
        return;
    m_audio->put_Volume(mute ? kSilentVolume : std::clamp(volume, kSilentVolume, 0L));
    m_audio->put_Balance(std::clamp(balance, -10000L, 10000L));
}

void CMediaSession::PlaceVideo(HWND owner, const RECT& area, bool naturalSize)
{
    if (!m_video || !m_videoOwned)
        return;
    LONG width = std::max<LONG>(0, area.right - area.left);
    LONG height = std::max<LONG>(0, area.bottom - area.top);
    LONG x = area.left, y = area.top;
    if (naturalSize && m_videoWidth > 0 && m_videoHeight > 0) {
        LONG w = m_videoWidth, h = m_videoHeight;
        if (w > width || h > height) {
            // Shrunk to fit with its aspect kept.
            if (static_cast<LONGLONG>(w) * height > static_cast<LONGLONG>(h) * width) {
                h = static_cast<LONG>(static_cast<LONGLONG>(h) * width / w);
                w = width;
            } else {
                w = static_cast<LONG>(static_cast<LONGLONG>(w) * height / h);
                h = height;
            }
        }
        x += (width - w) / 2;
        y += (height - h) / 2;
        width = w;
        height = h;
    }
    m_video->SetWindowPosition(x, y, width, height);
    m_video->put_Visible(width > 0 && height > 0 ? OATRUE : OAFALSE);
}

void CMediaSession::HideVideo()
{
    if (m_video && m_videoOwned)
        m_video->put_Visible(OAFALSE);
}

void CMediaSession::DetachWindows()
{
    if (m_events)
        m_events->SetNotifyWindow(0, 0, 0);
    if (m_video && m_videoOwned) {
        // The renderer's window leaves the control before the graph goes, as DirectShow asks.
        m_video->put_Visible(OAFALSE);
        m_video->put_MessageDrain(0);
        m_video->put_Owner(0);
        m_videoOwned = false;
    }
}
