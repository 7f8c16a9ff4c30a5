// CColorButton: drawing the button in its states and tracking the pointer over it.
#include "controls/ColorButton.h"

#include <commctrl.h>

#include "controls/logic/Frame3D.h"
#include "framework/Gdi.h"

namespace {
const COLORREF kActiveCaption = RGB(0, 0, 255);
// While the system does not track the pointer for a lit button, the button looks for it itself.
const UINT_PTR kPointerCheckTimer = 0x4342;
const UINT kPointerCheckMs = 100;
} // namespace

BEGIN_MESSAGE_MAP(CColorButton, CButton)
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_TIMER()
END_MESSAGE_MAP()

bool CColorButton::AttachButton(UINT id, CWnd* parent, COLORREF faceColor, COLORREF textColor,
                                COLORREF hoverFrameColor, COLORREF hoverFillColor, COLORREF disabledTextColor,
                                int borderDepth)
{
    if (!SubclassDlgItem(id, parent))
        return false;
    m_faceColor = faceColor;
    m_textColor = textColor;
    m_hoverFrameColor = hoverFrameColor;
    m_hoverFillColor = hoverFillColor;
    m_disabledTextColor = disabledTextColor;
    m_borderDepth = borderDepth;
    return true;
}

void CColorButton::PreSubclassWindow() { ModifyStyle(0, BS_OWNERDRAW | BS_NOTIFY); }

void CColorButton::FillColor(HDC dc, const RECT& rect, COLORREF color)
{
    CBrush brush(color);
    ::FillRect(dc, &rect, brush);
}

void CColorButton::DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color)
{
    CPen pen(PS_SOLID, 1, color);
    CSelectObject select(dc, pen);
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

void CColorButton::DrawTextColored(HDC dc, const RECT& rect, const char* text, COLORREF color)
{
    COLORREF previous = ::SetTextColor(dc, color);
    ::SetBkMode(dc, TRANSPARENT);
    RECT area = rect;
    ::DrawTextA(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(dc, previous);
}

void CColorButton::DrawFrame3D(HDC dc, const RECT& rect, int depth)
{
    Frame3DColors colors = Frame3DColorsForDepth(depth);
    const COLORREF topLeft = colors.topLeft;
    const COLORREF bottomRight = colors.bottomRight;
    DrawLine(dc, rect.left, rect.top, rect.right, rect.top, topLeft);
    DrawLine(dc, rect.left, rect.top, rect.left, rect.bottom, topLeft);
    DrawLine(dc, rect.left + 1, rect.bottom - 1, rect.right, rect.bottom - 1, bottomRight);
    DrawLine(dc, rect.right - 1, rect.top + 1, rect.right - 1, rect.bottom, bottomRight);
}

void CColorButton::DrawItem(DRAWITEMSTRUCT* item)
{
    HDC dc = item->hDC;
    const RECT whole = item->rcItem;
    RECT inner = whole;
    ::InflateRect(&inner, -3, -3);
    char caption[512] = "";
    ::GetWindowTextA(m_hWnd, caption, sizeof caption);

    FillColor(dc, whole, m_faceColor);
    DrawTextColored(dc, whole, caption, m_textColor);

    CBrush panelBrush(m_hoverFillColor);
    CSelectObject selectBrush(dc, panelBrush);
    if (item->itemState & ODS_FOCUS) {
        DrawTextColored(dc, whole, caption, kActiveCaption);
        if (item->itemState & ODS_SELECTED) {
            FillColor(dc, whole, m_faceColor);
            DrawFrame3D(dc, whole, -1);
            DrawTextColored(dc, whole, caption, m_textColor);
            ::DrawFocusRect(dc, &inner);
        }
    } else if (item->itemState & ODS_DISABLED) {
        DrawTextColored(dc, whole, caption, m_disabledTextColor);
    }
    if (m_hover) {
        DrawFrame3D(dc, whole, m_borderDepth);
        CPen framePen(PS_SOLID, 1, m_hoverFrameColor);
        {
            CSelectObject selectPen(dc, framePen);
            ::RoundRect(dc, inner.left, inner.top, inner.right, inner.bottom, 6, 6);
        }
        DrawTextColored(dc, whole, caption, kActiveCaption);
    }
}

void CColorButton::OnMouseMove(UINT flags, POINT point)
{
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    HWND under = ::WindowFromPoint(screen);
    if ((flags & MK_LBUTTON) && !m_hover)
        return;  // a drag that started elsewhere does not light the button
    if (under == m_hWnd && ::GetActiveWindow()) {
        if (!m_hover) {
            m_hover = 1;
            Invalidate(TRUE);
            if (!TrackLeave())
                ::SetTimer(m_hWnd, kPointerCheckTimer, kPointerCheckMs, nullptr);
        }
    } else {
        GoOut();
    }
    Default();
}

LRESULT CColorButton::OnMouseLeave(WPARAM, LPARAM)
{
    GoOut();
    return 0;
}

// Asks for a WM_MOUSELEAVE, and tells whether the system now tracks the pointer for this button.
// It may not: the system judges by its own reading of the pointer, which can lag behind the move
// that lit the button (Wine's, when that move is older than 100 ms), and then posts no leave at all.
bool CColorButton::TrackLeave()
{
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    ::_TrackMouseEvent(&track);
    TRACKMOUSEEVENT query{};
    query.cbSize = sizeof query;
    query.dwFlags = TME_QUERY;
    return ::_TrackMouseEvent(&query) && query.hwndTrack == m_hWnd && (query.dwFlags & TME_LEAVE);
}

void CColorButton::OnTimer(UINT_PTR id)
{
    if (id != kPointerCheckTimer) {
        Default();
        return;
    }
    POINT pointer{};
    if (!m_hover || !::GetCursorPos(&pointer) || ::WindowFromPoint(pointer) != m_hWnd)
        GoOut();
    else if (TrackLeave())
        ::KillTimer(m_hWnd, kPointerCheckTimer);
}

void CColorButton::GoOut()
{
    ::KillTimer(m_hWnd, kPointerCheckTimer);
    if (m_hover) {
        m_hover = 0;
        Invalidate(TRUE);
    }
}
