// CComboBox: a combo box control with an edit field, reached through its window messages.
#pragma once

#include <string>

#include "framework/Wnd.h"

class CComboBox : public CWnd {
public:
    // Appends text (unsorted box) and returns its index, or CB_ERR / CB_ERRSPACE.
    int AddString(const char* text) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
    // Index of the selected entry, or CB_ERR when none is.
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }

    // Text of entry index; empty for a bad index.
    void GetLBText(int index, std::string& text) const
    {
        text.clear();
        LRESULT length = ::SendMessageA(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == CB_ERR || length < 0)
            return;
        text.resize(static_cast<std::size_t>(length) + 1);
        LRESULT copied = ::SendMessageA(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied == CB_ERR || copied < 0 ? 0 : static_cast<std::size_t>(copied));
    }

    // The text of the edit field, whatever its length.
    void GetWindowText(std::string& text) const
    {
        int length = ::GetWindowTextLengthA(m_hWnd);
        text.assign(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        int copied = ::GetWindowTextA(m_hWnd, &text[0], length + 1);
        text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    }
};
