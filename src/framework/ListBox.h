// CListBox: a list box control, reached through its window messages.
#pragma once

#include <string>

#include "framework/Wnd.h"

class CListBox : public CWnd {
public:
    // Appends text (unsorted list) and returns its index, or LB_ERR / LB_ERRSPACE.
    int AddString(const char* text) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    void ResetContent() const { ::SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0); }
    int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)); }

    // Reserves room for items entries and bytes of text before a long run of AddString.
    int InitStorage(int items, UINT bytes) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, LB_INITSTORAGE, static_cast<WPARAM>(items), bytes));
    }

    // Multiple-selection lists: how many entries are selected, and their indexes in list order.
    int GetSelCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETSELCOUNT, 0, 0)); }
    int GetSelItems(int maxItems, int* indexes) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, LB_GETSELITEMS, static_cast<WPARAM>(maxItems),
                                               reinterpret_cast<LPARAM>(indexes)));
    }
    // Selects or deselects entry index; -1 means every entry.
    int SetSel(int index, BOOL select = TRUE) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, LB_SETSEL, select, static_cast<LPARAM>(index)));
    }

    // Text of entry index; empty for a bad index.
    void GetText(int index, std::string& text) const
    {
        text.clear();
        LRESULT length = ::SendMessageA(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == LB_ERR || length < 0)
            return;
        text.resize(static_cast<std::size_t>(length) + 1);
        LRESULT copied = ::SendMessageA(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied == LB_ERR || copied < 0 ? 0 : static_cast<std::size_t>(copied));
    }

    // Width in pixels that the horizontal scroll bar can scroll through.
    void SetHorizontalExtent(int width) const
    {
        ::SendMessageA(m_hWnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
    }

    // Turns repainting off during a long fill and back on after it.
    void SetRedraw(BOOL redraw = TRUE) const { ::SendMessageA(m_hWnd, WM_SETREDRAW, redraw, 0); }
};
