// Helpers for in-process tests: pumping messages for a bounded time, and waiting for a condition.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>

// Dispatches every waiting message of this thread (also for dialogs).
inline void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Pumps messages until condition holds or timeoutMs has passed; returns whether it held.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Pumps messages for about ms milliseconds.
inline void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

// Whether the notification area holds an icon of that window and id: a change of nothing in it
// succeeds only for an icon it holds.
inline bool TrayHolds(HWND owner, UINT id)
{
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = 0;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// One pixel of a window's client area as it is on the screen.
inline COLORREF PixelAt(HWND wnd, int x, int y)
{
    HDC dc = ::GetDC(wnd);
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(wnd, dc);
    return colour;
}
