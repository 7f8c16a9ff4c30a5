// CColorButton: an owner-drawn push button in its own colours that lights up under the pointer.
#pragma once

#include "framework/Button.h"

class CColorButton : public CButton {
public:
    CColorButton() = default;

    // Subclasses control id of parent and keeps the colours; false (nothing kept) on failure.
    bool AttachButton(UINT id, CWnd* parent, COLORREF faceColor, COLORREF textColor, COLORREF hoverFrameColor,
                      COLORREF hoverFillColor, COLORREF disabledTextColor, int borderDepth);

    void DrawItem(DRAWITEMSTRUCT* item) override;

    COLORREF m_textColor = RGB(0, 0, 0);
    COLORREF m_faceColor = RGB(255, 255, 255);
    COLORREF m_disabledTextColor = RGB(128, 128, 128);
    COLORREF m_hoverFillColor = RGB(255, 255, 255);
    COLORREF m_hoverFrameColor = RGB(0, 0, 0);
    int m_borderDepth = 0;
    int m_hover = 0;

    static void FillColor(HDC dc, const RECT& rect, COLORREF color);
    static void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color);
    static void DrawTextColored(HDC dc, const RECT& rect, const char* text, COLORREF color);
    static void DrawFrame3D(HDC dc, const RECT& rect, int depth);

protected:
    void PreSubclassWindow() override;
    void OnMouseMove(UINT flags, POINT point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    void OnTimer(UINT_PTR id);

    DECLARE_MESSAGE_MAP()

private:
    bool TrackLeave();
    void GoOut(); // unlit, and no longer looking for the pointer
};
