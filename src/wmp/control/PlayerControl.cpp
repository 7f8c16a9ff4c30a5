// The player control's window class: registration, its messages, settings, layout and painting.
#include "wmp/control/PlayerControl.h"

#include "framework/Gdi.h"
#include "res/resource.h"
#include "wmp/control/ControlBar.h"
#include "wmp/control/MediaPlayerControl.h"
#include "wmp/control/PlayerMessages.h"
#include "wmp/logic/StateStream.h"

#include <algorithm>

bool RegisterMediaPlayerControl(HINSTANCE instance)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, QUON_PLAYER_CONTROL_CLASS, &existing))
        return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    // A global class, so that dialog templates of any module of the process can name it.
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = &CPlayerControl::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = QUON_PLAYER_CONTROL_CLASS;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

UINT SoundUnderrunsMessageId()
{
    static const UINT id = RegisterWindowMessageA(QUON_SOUND_UNDERRUNS_MESSAGE);
    return id;
}

const CPlayerControl::MessageEntry CPlayerControl::s_messageMap[] = {
    {WM_CREATE, &CPlayerControl::OnCreate},
    {WM_DESTROY, &CPlayerControl::OnDestroy},
    {WM_SIZE, &CPlayerControl::OnSize},
    {WM_ERASEBKGND, &CPlayerControl::OnEraseBackground},
    {WM_PAINT, &CPlayerControl::OnPaint},
    {WM_TIMER, &CPlayerControl::OnTimer},
    {kMsgItemOpened, &CPlayerControl::OnItemOpened},
    {kMsgItemEnded, &CPlayerControl::OnItemEnded},
    {kMsgRunDecoded, &CPlayerControl::OnRunDecoded},
    {kMsgRunHandedOver, &CPlayerControl::OnRunHandedOver},
    {kMsgFireReports, &CPlayerControl::OnFireReports},
    {kLoadFromStreamCode, &CPlayerControl::OnLoadFromStream},
};

LRESULT CALLBACK CPlayerControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CPlayerControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCCREATE && !self) {
        self = new CPlayerControl(window);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self) {
        if (message == DispatchMessageId())
            return self->OnDispatch(wParam, lParam);
        if (message == SoundUnderrunsMessageId())
            return self->OnSoundUnderruns(wParam, lParam);
        for (const MessageEntry& entry : s_messageMap) {
            if (entry.message == message)
                return (self->*entry.handler)(wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            delete self;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

CPlayerControl::CPlayerControl(HWND window) : m_window(window)
{
    ApplyInitialState(PlayerInitialState{});
}

CPlayerControl::~CPlayerControl()
{
    *m_alive = false;
    ShutDown();
}

void CPlayerControl::ShutDown()
{
    KillTimer(m_window, kTickTimer);
    KillTimer(m_window, kWaitOutputTimer);
    // The media thread releases every graph, and takes their pictures out of this window, before
    // the system destroys the children.
    m_worker.reset();
    m_output.reset();
    m_item = 0;
    m_ticket.reset();
    m_playWanted = false;
    m_stopAfterOpen = false;
    m_reports.clear();
    if (m_state != ItemState::None)
        m_state = ItemState::Ended;
}

LRESULT CPlayerControl::OnCreate(WPARAM, LPARAM)
{
    // The picture is a child window: painting the background must leave it alone.
    SetWindowLongPtrA(m_window, GWL_STYLE, GetWindowLongPtrA(m_window, GWL_STYLE) | WS_CLIPCHILDREN);
    return 0;
}

LRESULT CPlayerControl::OnDestroy(WPARAM, LPARAM)
{
    // The graphs go before the system destroys the children, the picture window among them.
    ShutDown();
    return 0;
}

LRESULT CPlayerControl::OnSize(WPARAM, LPARAM)
{
    Layout();
    InvalidateRect(m_window, nullptr, FALSE);
    return 0;
}

LRESULT CPlayerControl::OnSoundUnderruns(WPARAM, LPARAM)
{
    return m_output ? m_output->Underruns() : 0;
}

LRESULT CPlayerControl::OnEraseBackground(WPARAM, LPARAM)
{
    return 1; // all of it is painted by OnPaint
}

LRESULT CPlayerControl::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(m_window);
    const RECT video = VideoArea();
    {
        CBrush background(m_backColour);
        FillRect(dc, &video, background);
    }
    if (m_showControls) {
        const long long duration = m_ticket && m_state != ItemState::Opening ? m_ticket->durationMs : 0;
        DrawControlBar(dc, BarArea(), PositionMs(), duration, m_foreColour);
    }
    return 0;
}

LRESULT CPlayerControl::OnTimer(WPARAM id, LPARAM)
{
    switch (id) {
    case kTickTimer:
        if (m_state != ItemState::Playing) {
            KillTimer(m_window, kTickTimer);
            break;
        }
        InvalidateBar();
        break;
    case kWaitOutputTimer:
        if (m_state != ItemState::Ready || !m_playWanted) {
            KillTimer(m_window, kWaitOutputTimer);
            break;
        }
        if ((m_output && m_output->IsSilent()) || GetTickCount() - m_waitOutputSince >= kWaitOutputLongestMs)
            StartNow();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CPlayerControl::OnLoadFromStream(WPARAM size, LPARAM bytes)
{
    PlayerInitialState state;
    if (bytes && ParseStateStream(reinterpret_cast<const std::uint8_t*>(bytes), size, state))
        ApplyInitialState(state);
    return TRUE;
}

void CPlayerControl::ApplyInitialState(const PlayerInitialState& state)
{
    m_autoStart = state.autoStart;
    m_mute = state.mute;
    m_showControls = state.showControls;
    m_sendPlayStateEvents = state.sendPlayStateChangeEvents;
    // Display size 4 fits the picture to the control; the others keep its own size.
    m_naturalSize = state.displaySize != 4;
    m_volume = std::clamp<long>(state.volume, -10000, 0);
    m_balance = std::clamp<long>(state.balance, -10000, 10000);
    m_playCount = std::max<long>(state.playCount, 0);
    m_backColour = static_cast<COLORREF>(state.displayBackColor & 0xFFFFFF);
    m_foreColour = static_cast<COLORREF>(state.displayForeColor & 0xFFFFFF);
    ApplyAudio();
    Layout();
    InvalidateRect(m_window, nullptr, FALSE);
    if (!state.fileName.empty()) {
        const int length = MultiByteToWideChar(CP_ACP, 0, state.fileName.data(),
                                               static_cast<int>(state.fileName.size()), nullptr, 0);
        std::wstring path(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, state.fileName.data(), static_cast<int>(state.fileName.size()),
                            path.data(), length);
        CloseItem();
        OpenItem(path);
        if (m_autoStart)
            PlayItem();
    }
}

RECT CPlayerControl::VideoArea() const
{
    RECT area{};
    GetClientRect(m_window, &area);
    if (m_showControls)
        area.bottom = std::max(area.top, area.bottom - kControlBarHeight);
    return area;
}

RECT CPlayerControl::BarArea() const
{
    RECT area{};
    GetClientRect(m_window, &area);
    area.top = std::max(area.top, area.bottom - kControlBarHeight);
    return area;
}

void CPlayerControl::InvalidateBar()
{
    if (!m_showControls)
        return;
    const RECT bar = BarArea();
    InvalidateRect(m_window, &bar, FALSE);
}

void CPlayerControl::Layout()
{
    if (m_item && m_worker && HasPicture())
        m_worker->Place(m_item, VideoArea(), m_naturalSize);
}
