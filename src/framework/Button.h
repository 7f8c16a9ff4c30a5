// CButton: a push button control whose owner drawing is reflected back to its own object.
#pragma once

#include "framework/Wnd.h"

class CButton : public CWnd {
public:
    // Draws an owner-drawn button; called when the parent receives WM_DRAWITEM for it.
    virtual void DrawItem(DRAWITEMSTRUCT* item) {}

protected:
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message != WM_DRAWITEM)
            return false;
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    }
};
