// CFileDialog: running the open dialog and walking the paths it returns.
#include "framework/FileDialog.h"

#include "framework/WinApp.h"
#include "framework/logic/Dbcs.h"

namespace {

// The dialog starts with room for a few names and grows while the user selects or types more.
const std::size_t kInitialBuffer = 4096;
// Typed names raise no notification, so the hook also looks at the name box this often.
const UINT_PTR kGrowTimer = 1;
const UINT kGrowInterval = 50;

bool EndsWithBackslash(const std::string& path)
{
    bool last = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsGbkLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
            last = false;
        } else {
            last = path[i] == '\\';
        }
    }
    return last;
}

} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_open(openFileDialog != FALSE), m_filter(filter ? filter : ""),
      m_defaultExt(defaultExt ? defaultExt : ""), m_buffer(kInitialBuffer, '\0')
{
    for (char& c : m_filter)
        if (c == '|')
            c = '\0';
    if (fileName)
        lstrcpynA(m_buffer.data(), fileName, static_cast<int>(m_buffer.size()));
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrDefExt = m_defaultExt.empty() ? nullptr : m_defaultExt.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpfnHook = &CFileDialog::HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

INT_PTR CFileDialog::DoModal()
{
    if (!m_ofn.hwndOwner && AfxGetMainWnd() && AfxGetMainWnd()->m_hWnd)
        m_ofn.hwndOwner = ::GetLastActivePopup(AfxGetMainWnd()->m_hWnd);
    m_ofn.lpstrFile = m_buffer.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_buffer.size());
    BOOL ok = m_open ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

// Keeps the file buffer large enough for the whole selection, so that a long multiple
// selection is never dropped.
bool CFileDialog::GrowBufferFor(HWND dialog, OPENFILENAMEA* ofn)
{
    HWND explorer = ::GetParent(dialog);
    LRESULT names = ::SendMessageA(explorer, CDM_GETSPEC, 0, 0);
    LRESULT folder = ::SendMessageA(explorer, CDM_GETFOLDERPATH, 0, 0);
    if (names < 0 || folder < 0)
        return false;
    std::size_t needed = static_cast<std::size_t>(names + folder) + 16;
    if (needed <= m_buffer.size())
        return false;
    m_buffer.assign(needed * 2, '\0');
    ofn->lpstrFile = m_buffer.data();
    ofn->nMaxFile = static_cast<DWORD>(m_buffer.size());
    m_ofn.lpstrFile = ofn->lpstrFile;
    m_ofn.nMaxFile = ofn->nMaxFile;
    return true;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
        ::SetPropA(dialog, "Quon.FileDialog", ofn);
        ::SetTimer(dialog, kGrowTimer, kGrowInterval, nullptr);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kGrowTimer) {
            auto* ofn = static_cast<OPENFILENAMEA*>(::GetPropA(dialog, "Quon.FileDialog"));
            auto* self = ofn ? reinterpret_cast<CFileDialog*>(ofn->lCustData) : nullptr;
            if (self)
                self->GrowBufferFor(dialog, ofn);
        }
        return 0;
    case WM_DESTROY:
        ::KillTimer(dialog, kGrowTimer);
        ::RemovePropA(dialog, "Quon.FileDialog");
        return 0;
    case WM_NOTIFY: {
        auto* notify = reinterpret_cast<OFNOTIFYA*>(lParam);
        auto* self = notify->lpOFN ? reinterpret_cast<CFileDialog*>(notify->lpOFN->lCustData) : nullptr;
        if (notify->hdr.code == CDN_SELCHANGE && self)
            self->GrowBufferFor(dialog, notify->lpOFN);
        if (notify->hdr.code == CDN_FILEOK && self && self->GrowBufferFor(dialog, notify->lpOFN)) {
            // Names typed and opened before the timer saw them were copied into the old buffer and
            // cut short: refuse this press and press Open again, now with room for all of them.
            ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
            ::PostMessageA(::GetParent(dialog), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return 1;
        }
        return 0;
    }
    default:
        return 0;
    }
}

std::size_t CFileDialog::GetStartPosition() const
{
    return m_buffer[0] ? 1 : 0;
}

std::string CFileDialog::GetNextPathName(std::size_t& pos) const
{
    if (pos == 0 || pos > m_buffer.size())
        return std::string();
    const char* base = m_buffer.data();
    std::string first(base);
    std::size_t afterFirst = first.size() + 1;
    bool multiple = afterFirst < m_buffer.size() && base[afterFirst] != '\0';
    if (!multiple) {
        pos = 0;
        return first;
    }
    // Several names: the folder comes first, then each name; pos - 1 indexes the next name.
    std::size_t at = pos == 1 ? afterFirst : pos - 1;
    std::string name(base + at);
    std::size_t next = at + name.size() + 1;
    pos = (next < m_buffer.size() && base[next] != '\0') ? next + 1 : 0;
    std::string folder = first;
    if (!EndsWithBackslash(folder))
        folder += '\\';
    return folder + name;
}
