// Files from outside waiting for the player window. All of it runs on the user-interface thread.
#include "playback/IncomingFiles.h"

#include "resource.h"

namespace {
std::vector<std::wstring> g_waiting;
HWND g_target = nullptr;
} // namespace

void QueueIncomingFiles(const std::vector<std::wstring>& paths)
{
    if (paths.empty())
        return;
    g_waiting.insert(g_waiting.end(), paths.begin(), paths.end());
    // Posted, not played here: the sender of a hand-over must not wait for media to open.
    if (g_target)
        ::PostMessageW(g_target, WM_PLAY_INCOMING, 0, 0);
}

std::vector<std::wstring> TakeIncomingFiles()
{
    std::vector<std::wstring> taken;
    taken.swap(g_waiting);
    return taken;
}

bool HasIncomingFiles()
{
    return !g_waiting.empty();
}

void SetIncomingTarget(HWND player)
{
    g_target = player;
}

HWND IncomingTarget()
{
    return g_target;
}

void ShowIncomingTarget()
{
    if (g_target)
        ::PostMessageW(g_target, WM_COMMAND, ID_TRAY_SHOW_MAIN, 0);
}
