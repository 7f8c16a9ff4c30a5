// Helpers for in-process tests: pumping messages for a bounded time, and waiting for a condition.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <vector>

#include "framework/Gdi.h"

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

// The pixels of a rectangle of a device context (a window's, the screen's or a memory one), row by
// row, read in one copy.
inline std::vector<COLORREF> PixelsIn(HDC source, const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        {
            CSelectObject select(memory, bitmap);
            ::BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY);
            ::GdiFlush();
            const auto* quads = static_cast<const RGBQUAD*>(bits);
            for (int i = 0; i < width * height; ++i)
                pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
        }
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    return pixels;
}

// A picture drawn here, apart from the program, to compare with what it shows: draw paints a
// memory bitmap of width by height like the screen's, and the pixels of area of it are returned.
inline std::vector<COLORREF> DrawnPixels(int width, int height, const std::function<void(HDC)>& draw,
                                         const RECT& area)
{
    CClientDC screen(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    std::vector<COLORREF> pixels;
    {
        CSelectObject select(memory, bitmap);
        draw(memory);
        pixels = PixelsIn(memory, area);
    }
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return pixels;
}
