// CFileDialog: the system's open dialog with multiple selection and a file buffer that grows.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <cstddef>
#include <string>
#include <vector>

#include "framework/Wnd.h"

class CFileDialog {
public:
    // filter: entries separated by '|', ending with "||".
    CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                const char* filter, CWnd* parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    INT_PTR DoModal();

    // Walks the chosen paths in the order the dialog returns them; 0 is the end.
    std::size_t GetStartPosition() const;
    std::string GetNextPathName(std::size_t& pos) const;

    OPENFILENAMEA m_ofn{};

private:
    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // Whether the buffer had to grow for the names and folder the dialog now shows.
    bool GrowBufferFor(HWND dialog, OPENFILENAMEA* ofn);

    bool m_open;
    std::string m_filter;
    std::string m_defaultExt;
    std::vector<char> m_buffer;
};
