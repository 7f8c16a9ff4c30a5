// CQuonDir: the playlist chooser; browses drives and folders and collects songs into the play list.
#pragma once

#include <string>

#include "controls/ColorButton.h"
#include "framework/ComboBox.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/ImageList.h"
#include "framework/ListBox.h"
#include "framework/StringList.h"
#include "framework/TreeCtrl.h"

class CQuonDir : public CDialog {
public:
    explicit CQuonDir(CWnd* parent = nullptr);
    ~CQuonDir() override = default;

    // State, in declaration order.
    HTREEITEM m_driveItem = nullptr;  // the node of the chosen drive; at most one exists
    HTREEITEM m_rootItem = nullptr;   // the root node "选择文件夹"
    CStringList m_folderSongs{10};    // full paths of the entries of list 1003, same order
    CStringList m_selectedSongs{10};  // full paths of the songs picked in the folder shown
    CImageList m_imageList;           // the tree's three icons
    bool m_nothingCollected = true;   // no change of folder has yet moved a picked song into the play list
    CListBox m_selectedList;          // 1004: the songs collected so far
    CTreeCtrl m_tree;                 // 1027: drives and folders
    std::string m_driveText;          // the drive as taken from the drive box ("C:")
    std::string m_folderPath;         // the folder of the tree selection, without a trailing backslash
    CComboBox m_driveCombo;           // 1006
    CListBox m_songList;              // 1003: the entries of the folder listed last
    CColorButton m_btnOK;
    CColorButton m_btnCancel;
    CColorButton m_btnSelectAll;
    CColorButton m_btnReset;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);

    // Drives and folders (chooser/FolderTree.cpp).
    void FillDriveCombo();
    void ShowDrive();
    void AddSubfolders(HTREEITEM item);
    void OnSelchangeDrive();
    void OnEditchangeDrive();
    void OnSelchangedTree(NMHDR* header, LRESULT* result);

    // Song lists and buttons (chooser/SongLists.cpp).
    bool FillSongList();
    void RefreshSelectedList();
    void CollectPickedSongs();
    void OnSelchangeSongs();
    void OnSelectAll();
    void OnReset();
    void OnClickOK();

    // The background of the dialog and of its labels: the colour never changes, so one brush
    // made with the dialog answers every colour request.
    CBrush m_backgroundBrush;

    DECLARE_MESSAGE_MAP()
};
