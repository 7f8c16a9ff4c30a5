// Painting of the player control's position bar.
#include "wmp/control/ControlBar.h"

#include "framework/Gdi.h"

#include <algorithm>
#include <cstdio>

namespace {

const COLORREF kBarFace = RGB(32, 32, 40);
const COLORREF kGroove = RGB(70, 70, 84);
const COLORREF kProgress = RGB(90, 150, 230);
const COLORREF kThumb = RGB(225, 230, 240);
constexpr int kMargin = 6;
constexpr int kGrooveHeight = 4;
constexpr int kThumbWidth = 6;

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    CBrush brush(colour);
    FillRect(dc, &rect, brush);
}

} // namespace

std::string FormatPlayTime(long long milliseconds)
{
    if (milliseconds < 0)
        return "--:--";
    const long long seconds = milliseconds / 1000;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

void DrawControlBar(HDC dc, const RECT& rect, long long positionMs, long long durationMs, COLORREF textColour)
{
    FillSolid(dc, rect, kBarFace);

    const std::string text = FormatPlayTime(durationMs > 0 ? positionMs : -1) + " / " +
                             FormatPlayTime(durationMs > 0 ? durationMs : -1);
    CSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);

    RECT textRect = rect;
    textRect.right -= kMargin;
    textRect.left = std::max(rect.left, textRect.right - extent.cx);
    {
        CScopedTextStyle style(dc, textColour);
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }

    RECT groove = rect;
    groove.left += kMargin;
    groove.right = textRect.left - kMargin;
    if (groove.right - groove.left < 2 * kThumbWidth)
        return; // too narrow for a tracker: the times alone
    groove.top = rect.top + (rect.bottom - rect.top - kGrooveHeight) / 2;
    groove.bottom = groove.top + kGrooveHeight;
    FillSolid(dc, groove, kGroove);

    const int span = groove.right - groove.left - kThumbWidth;
    const long long done = durationMs > 0 ? std::clamp(positionMs, 0LL, durationMs) : 0;
    const int thumbLeft = groove.left + static_cast<int>(durationMs > 0 ? span * done / durationMs : 0);
    RECT progress = groove;
    progress.right = thumbLeft;
    if (progress.right > progress.left)
        FillSolid(dc, progress, kProgress);
    RECT thumb{thumbLeft, groove.top - 4, thumbLeft + kThumbWidth, groove.bottom + 4};
    FillSolid(dc, thumb, kThumb);
}
