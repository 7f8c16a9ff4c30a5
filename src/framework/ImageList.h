// CImageList: an owned image list of the common controls, destroyed with its object.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    CImageList(CImageList&& other) noexcept : m_hImageList(std::exchange(other.m_hImageList, nullptr)) {}
    CImageList& operator=(CImageList&& other) noexcept
    {
        if (this != &other) {
            DeleteImageList();
            m_hImageList = std::exchange(other.m_hImageList, nullptr);
        }
        return *this;
    }

    // Images of cx x cy pixels; flags as ImageList_Create (ILC_COLOR8, ILC_MASK, ...).
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        DeleteImageList();
        m_hImageList = ::ImageList_Create(cx, cy, flags, initial, grow);
        return m_hImageList != nullptr;
    }

    BOOL DeleteImageList()
    {
        if (!m_hImageList)
            return FALSE;
        ::ImageList_Destroy(std::exchange(m_hImageList, nullptr));
        return TRUE;
    }

    COLORREF SetBkColor(COLORREF color) const { return ::ImageList_SetBkColor(m_hImageList, color); }
    // Adds the icon, scaled to the list's image size; returns its index or -1.
    int Add(HICON icon) const { return m_hImageList ? ::ImageList_AddIcon(m_hImageList, icon) : -1; }
    int GetImageCount() const { return m_hImageList ? ::ImageList_GetImageCount(m_hImageList) : 0; }

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    HIMAGELIST m_hImageList = nullptr;
};
