// CTreeCtrl: a tree view control, reached through its window messages.
#pragma once

#include <commctrl.h>

#include <string>

#include "framework/ImageList.h"
#include "framework/Wnd.h"

class CTreeCtrl : public CWnd {
public:
    // Inserts a node with its text and images under parent, after the sibling after.
    HTREEITEM InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST) const
    {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = const_cast<char*>(text);
        insert.item.iImage = image;
        insert.item.iSelectedImage = selectedImage;
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageA(m_hWnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }

    // Deletes the node with every node below it.
    BOOL DeleteItem(HTREEITEM item) const
    {
        return static_cast<BOOL>(::SendMessageA(m_hWnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
    }

    BOOL Expand(HTREEITEM item, UINT code) const
    {
        return static_cast<BOOL>(::SendMessageA(m_hWnd, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageA(m_hWnd, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }

    // Text of the node (a folder name may take up to MAX_PATH characters, two bytes each in GBK).
    std::string GetItemText(HTREEITEM item) const
    {
        char buffer[2 * MAX_PATH + 2] = "";
        TVITEMA query{};
        query.mask = TVIF_TEXT | TVIF_HANDLE;
        query.hItem = item;
        query.pszText = buffer;
        query.cchTextMax = sizeof buffer;
        if (!::SendMessageA(m_hWnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)))
            return std::string();
        return std::string(buffer);
    }

    // Gives the tree an image list (TVSIL_NORMAL or TVSIL_STATE); the caller keeps owning it.
    HIMAGELIST SetImageList(CImageList* images, int kind) const
    {
        return reinterpret_cast<HIMAGELIST>(::SendMessageA(
            m_hWnd, TVM_SETIMAGELIST, static_cast<WPARAM>(kind),
            reinterpret_cast<LPARAM>(images ? images->GetSafeHandle() : nullptr)));
    }
};
