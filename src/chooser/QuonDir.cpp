// CQuonDir: construction, control binding, the message map, initialisation and colours.
#include "chooser/QuonDir.h"

#include "app/PlayerApp.h"
#include "framework/WinApp.h"
#include "resource.h"

namespace {

const COLORREF kBackground = RGB(250, 250, 232);
const COLORREF kLabelText = RGB(0, 0, 0);

// The chooser's button colours.
const COLORREF kButtonFace = RGB(210, 255, 190);
const COLORREF kButtonText = RGB(0, 0, 255);
const COLORREF kButtonHoverFrame = RGB(20, 20, 20);
const COLORREF kButtonHoverFill = RGB(200, 255, 180);
const COLORREF kButtonDisabledText = RGB(128, 128, 128);
const int kButtonBorderDepth = 2;

// The tree's images: 0 the root and drive, 1 an open folder, 2 the selected folder.
const UINT kTreeIcons[] = {IDI_TREE_ROOT, IDI_TREE_FOLDER, IDI_TREE_SEARCH};

}  // namespace

BEGIN_MESSAGE_MAP(CQuonDir, CDialog)
ON_CBN_SELCHANGE(IDC_DRIVE_COMBO, OnSelchangeDrive)
// The tree's notifications come in the form its parent asks for; both carry the same fields.
ON_NOTIFY(TVN_SELCHANGEDA, IDC_FOLDER_TREE, OnSelchangedTree)
ON_NOTIFY(TVN_SELCHANGEDW, IDC_FOLDER_TREE, OnSelchangedTree)
ON_LBN_SELCHANGE(IDC_SONG_LIST, OnSelchangeSongs)
ON_BN_CLICKED(IDC_SELECT_ALL, OnSelectAll)
ON_BN_CLICKED(IDC_RESET, OnReset)
ON_BN_CLICKED(IDOK, OnClickOK)
ON_WM_CTLCOLOR()
ON_CBN_EDITCHANGE(IDC_DRIVE_COMBO, OnEditchangeDrive)
END_MESSAGE_MAP()

CQuonDir::CQuonDir(CWnd* parent) : CDialog(IDD_CHOOSER, parent), m_backgroundBrush(kBackground) {}

void CQuonDir::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SELECTED_LIST, m_selectedList);
    DDX_Control(dx, IDC_FOLDER_TREE, m_tree);
    DDX_Control(dx, IDC_DRIVE_COMBO, m_driveCombo);
    DDX_Control(dx, IDC_SONG_LIST, m_songList);
}

BOOL CQuonDir::OnInitDialog()
{
    CColorButton* buttons[] = {&m_btnOK, &m_btnCancel, &m_btnSelectAll, &m_btnReset};
    const UINT ids[] = {IDOK, IDCANCEL, IDC_SELECT_ALL, IDC_RESET};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->AttachButton(ids[i], this, kButtonFace, kButtonText, kButtonHoverFrame, kButtonHoverFill,
                                 kButtonDisabledText, kButtonBorderDepth);
    }
    CDialog::OnInitDialog();

    FillDriveCombo();

    m_imageList.Create(16, 16, ILC_COLOR8, 0, 3);
    m_imageList.SetBkColor(::GetSysColor(COLOR_WINDOW));
    for (UINT id : kTreeIcons) {
        // Shared icons of the standard size; the list scales them to 16 x 16.
        m_imageList.Add(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)));
    }
    m_tree.SetImageList(&m_imageList, TVSIL_NORMAL);

    m_rootItem = m_tree.InsertItem("选择文件夹", 0, 0);

    m_songList.SetHorizontalExtent(200);
    m_selectedList.SetHorizontalExtent(300);

    // The chooser command keeps a copy for a cancelled run. Emptying the list also ends the Windows
    // Media window's place in it.
    if (!g_playList.IsEmpty())
        g_playList.RemoveAll();

    // The template has no place of its own: the chooser opens in the middle of the screen.
    CenterWindow();
    return TRUE;
}

HBRUSH CQuonDir::OnCtlColor(HDC dc, HWND, UINT kind)
{
    auto defaultBrush = reinterpret_cast<HBRUSH>(Default());
    if (kind == CTLCOLOR_DLG || kind == CTLCOLOR_STATIC) {
        ::SetTextColor(dc, kLabelText);
        ::SetBkColor(dc, kBackground);
        return m_backgroundBrush;
    }
    return defaultBrush;
}
