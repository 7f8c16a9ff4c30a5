// CPlayerDlg ways in from outside: files dropped on the player or the Windows Media window, files
// handed over by the command line or another start, and the keyboard's media keys.
#include <windows.h>

#include <shellapi.h>

#include "playback/IncomingFiles.h"
#include "player/PlayerDlg.h"
#include "wmp/VideoDlg.h"

namespace {

std::vector<std::wstring> DroppedPaths(HDROP drop)
{
    std::vector<std::wstring> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring path(length + 1, L'\0');
        const UINT copied = ::DragQueryFileW(drop, i, &path[0], length + 1);
        path.resize(copied);
        if (!path.empty())
            paths.push_back(path);
    }
    return paths;
}

} // namespace

void CPlayerDlg::AcceptWaysIn()
{
    ::DragAcceptFiles(m_hWnd, TRUE);
    if (m_pVideoDlg && m_pVideoDlg->m_hWnd)
        ::DragAcceptFiles(m_pVideoDlg->m_hWnd, TRUE);
    // A key that another program holds is simply not ours; the others still are.
    for (unsigned key : kMediaHotKeyCodes)
        ::RegisterHotKey(m_hWnd, static_cast<int>(key), 0, key);
    SetIncomingTarget(m_hWnd);
    // Files from the command line (or handed over while this window initialised) play once the
    // window is up, after the greeting's splash.
    if (HasIncomingFiles())
        ::PostMessageW(m_hWnd, WM_PLAY_INCOMING, 0, 0);
}

void CPlayerDlg::ReleaseWaysIn()
{
    if (m_hWnd) {
        for (unsigned key : kMediaHotKeyCodes)
            ::UnregisterHotKey(m_hWnd, static_cast<int>(key));
    }
    const HWND target = IncomingTarget();
    if (target && (target == m_hWnd || !::IsWindow(target)))
        SetIncomingTarget(nullptr);
}

LRESULT CPlayerDlg::OnDropFiles(WPARAM drop, LPARAM)
{
    const HDROP handle = reinterpret_cast<HDROP>(drop);
    const std::vector<std::wstring> paths = DroppedPaths(handle);
    ::DragFinish(handle);
    PlayIncoming(paths);
    return 0;
}

LRESULT CPlayerDlg::OnPlayIncoming(WPARAM, LPARAM)
{
    PlayIncoming(TakeIncomingFiles());
    return 0;
}

LRESULT CPlayerDlg::OnAppCommand(WPARAM, LPARAM command)
{
    const MediaKey key = MediaKeyForAppCommand(GET_APPCOMMAND_LPARAM(command));
    if (key == MediaKey::None)
        return Default();
    OnMediaKey(key);
    return TRUE;
}

LRESULT CPlayerDlg::OnHotKey(WPARAM id, LPARAM)
{
    // Each key is registered under its own key code.
    OnMediaKey(MediaKeyForVirtualKey(static_cast<unsigned>(id)));
    return 0;
}

void CPlayerDlg::OnMediaKey(MediaKey key)
{
    // Play/pause with nothing loaded runs the open dialog's own loop, where further key presses
    // arrive: they must not open a second dialog.
    if (m_mediaKeyBusy)
        return;
    m_mediaKeyBusy = true;
    switch (key) {
    case MediaKey::PlayPause:
        PressCentre();
        break;
    case MediaKey::Stop:
        if (m_loaded && m_playing)
            StopKeepingLoaded();
        break;
    case MediaKey::Next:
        OnNext();
        break;
    case MediaKey::Previous:
        OnBack();
        break;
    case MediaKey::None:
        break;
    }
    m_mediaKeyBusy = false;
}

// Dropped on the Windows Media window: played as if dropped on the player.
LRESULT CVideoDlg::OnDropFiles(WPARAM drop, LPARAM)
{
    const HWND player = IncomingTarget();
    if (player)
        return ::SendMessageW(player, WM_DROPFILES, drop, 0);
    ::DragFinish(reinterpret_cast<HDROP>(drop));
    return 0;
}
