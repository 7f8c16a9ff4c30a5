// CDialog: creation from templates, the dialog procedure and dialog-initialisation data.
#include "framework/Dialog.h"

#include <cstring>
#include <vector>

#include "framework/WinApp.h"

namespace {
const char kDialogClass[] = "#32770";
const WORD kDialogInitType = 240;
} // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

// A dialog given no parent is owned by the application's main window, modal or not: an owned
// window gets no taskbar button of its own.
HWND CDialog::OwnerWindow() const
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    CWnd* main = AfxGetMainWnd();
    if (!owner && main && main != this)
        owner = main->m_hWnd;
    return owner;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = OwnerWindow();
    m_modal = true;
    CreatingWindowFor(kDialogClass);
    INT_PTR result = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                                       &CDialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
    CreationDone();
    m_modal = false;
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    m_pParentWnd = parent;
    m_modal = false;
    const HWND owner = OwnerWindow();
    // An owner that was only implied does not move the window: its template position stays a
    // screen position (as with DS_ABSALIGN), where it would otherwise count from the owner's
    // client area.
    std::vector<BYTE> absolute;
    if (!parent && owner)
        absolute = AbsolutelyAlignedTemplate(templateId);
    CreatingWindowFor(kDialogClass);
    HWND wnd = nullptr;
    if (!absolute.empty())
        wnd = ::CreateDialogIndirectParamA(AfxGetResourceHandle(),
                                           reinterpret_cast<LPCDLGTEMPLATEA>(absolute.data()), owner,
                                           &CDialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
    else
        wnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId), owner,
                                   &CDialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
    CreationDone();
    return wnd != nullptr;
}

// A copy of the dialog template with DS_ABSALIGN added to its style; empty when it cannot be read.
std::vector<BYTE> CDialog::AbsolutelyAlignedTemplate(UINT templateId)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(templateId), RT_DIALOG);
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    const DWORD size = found ? ::SizeofResource(instance, found) : 0;
    if (!data || size < 16)
        return {};
    std::vector<BYTE> copy(data, data + size);
    // An extended template starts with version 1 and signature 0xFFFF; its style follows the help
    // id and the extended style. A plain one starts with its style.
    WORD version, signature;
    std::memcpy(&version, copy.data(), 2);
    std::memcpy(&signature, copy.data() + 2, 2);
    const size_t styleAt = version == 1 && signature == 0xFFFF ? 12 : 0;
    DWORD style;
    std::memcpy(&style, copy.data() + styleAt, 4);
    style |= DS_ABSALIGN;
    std::memcpy(copy.data() + styleAt, &style, 4);
    return copy;
}

// Every message reaches the object through its subclassed window procedure first; what the
// object passes on arrives here and gets the dialog manager's default handling.
INT_PTR CALLBACK CDialog::StaticDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ExecuteDlgInit();
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CDialog::ExecuteDlgInit()
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found =
        ::FindResourceA(instance, MAKEINTRESOURCEA(m_templateId), MAKEINTRESOURCEA(kDialogInitType));
    if (!found)
        return;
    HGLOBAL loaded = ::LoadResource(instance, found);
    const auto* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    DWORD size = ::SizeofResource(instance, found);
    if (!data)
        return;
    // Records: control id (16 bits), message (16 bits), byte count (32 bits), the bytes; a 0 id ends.
    DWORD offset = 0;
    while (offset + 2 <= size) {
        WORD id;
        std::memcpy(&id, data + offset, 2);
        if (id == 0 || offset + 8 > size)
            break;
        WORD code;
        DWORD length;
        std::memcpy(&code, data + offset + 2, 2);
        std::memcpy(&length, data + offset + 4, 4);
        offset += 8;
        if (length > size - offset)
            break;
        ::SendDlgItemMessageA(m_hWnd, id, code, code == kLoadFromStreamCode ? length : 0,
                              reinterpret_cast<LPARAM>(data + offset));
        offset += length;
    }
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate != FALSE);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result)
{
    if (m_hWnd)
        ::EndDialog(m_hWnd, result);
}
