// Driving the running program's playlist chooser from the outside, and the drive its songs sit on.
#include "ChooserDriver.h"

#include "WineDrives.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>

#include "E2eSupport.h"
#include "resource.h"

namespace {

const DWORD kReplyTimeoutMs = 5000;

// The first letter from D on that names no drive: near the top of the drive box, so the drop-down
// list shows it without scrolling.
char FreeDriveLetter()
{
    const DWORD used = ::GetLogicalDrives();
    for (char letter = 'D'; letter <= 'Y'; ++letter) {
        if (!(used & (1u << (letter - 'A'))))
            return letter;
    }
    return 0;
}

LRESULT Send(HWND wnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(wnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

// The texts of a list box or of a combo box's list. Wine carries these texts across processes but
// hands an ANSI caller the wide characters unconverted, so they are asked for in wide form.
std::vector<std::string> Entries(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage)
{
    std::vector<std::string> texts;
    const LRESULT count = Send(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        if (!::SendMessageTimeoutW(control, lengthMessage, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG,
                                   kReplyTimeoutMs, &length) ||
            static_cast<LRESULT>(length) < 0)
            length = 0;
        std::wstring wide(length + 1, L'\0');
        DWORD_PTR got = 0;
        const LPARAM buffer = reinterpret_cast<LPARAM>(&wide[0]);
        if (!::SendMessageTimeoutW(control, textMessage, static_cast<WPARAM>(i), buffer, SMTO_ABORTIFHUNG,
                                   kReplyTimeoutMs, &got) ||
            static_cast<LRESULT>(got) < 0)
            got = 0;
        wide.resize(std::min<size_t>(got, length));
        const int chars = static_cast<int>(wide.size());
        const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), chars, nullptr, 0, nullptr,
                                                nullptr);
        std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
        if (bytes > 0)
            ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), chars, &text[0], bytes, nullptr, nullptr);
        texts.push_back(text);
    }
    return texts;
}

int IndexOf(const std::vector<std::string>& texts, const std::string& text)
{
    for (size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == text)
            return static_cast<int>(i);
    }
    return -1;
}

// The drop-down list of a combo box while it is open: a window of its own, owned by the same process.
HWND DroppedList(HWND combo)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(combo, &pid);
    HWND found = nullptr;
    for (HWND wnd = ::FindWindowExA(nullptr, nullptr, "ComboLBox", nullptr); wnd && !found;
         wnd = ::FindWindowExA(nullptr, wnd, "ComboLBox", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(wnd, &owner);
        if (owner == pid && ::IsWindowVisible(wnd))
            found = wnd;
    }
    return found;
}

// A real click at a point of another window's client area, sent through the control it belongs to
// (so that bringing the dialog to the front does not close a drop-down list first).
void ClickThrough(HWND via, HWND wnd, int x, int y)
{
    POINT p{x, y};
    ::ClientToScreen(wnd, &p);
    ::ScreenToClient(via, &p);
    ClickAt(via, p.x, p.y);
}

}  // namespace

MappedDrive::MappedDrive(const std::string& folder)
{
    const std::string unix = UnixPathOf(folder);
    m_letter = FreeDriveLetter();
    if (unix.empty() || !m_letter)
        return;
    m_mapped = DefineWineDrive(m_letter, unix, DRIVE_FIXED);
}

MappedDrive::~MappedDrive()
{
    if (m_mapped)
        DefineWineDrive(m_letter, "", DRIVE_NO_ROOT_DIR);
}

RemoteBuffer::RemoteBuffer(DWORD processId, SIZE_T size)
    : m_process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                  PROCESS_QUERY_LIMITED_INFORMATION,
                              FALSE, processId))
{
    if (m_process)
        m_address = ::VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer()
{
    if (m_address)
        ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    if (m_process)
        ::CloseHandle(m_process);
}

bool RemoteBuffer::Is32Bit() const
{
    BOOL wow64 = FALSE;
    return sizeof(void*) == 4 || (m_process && ::IsWow64Process(m_process, &wow64) && wow64);
}

bool RemoteBuffer::Write(const void* data, SIZE_T size, SIZE_T offset) const
{
    SIZE_T done = 0;
    return m_address && ::WriteProcessMemory(m_process, At(offset), data, size, &done) && done == size;
}

bool RemoteBuffer::Read(void* data, SIZE_T size, SIZE_T offset) const
{
    SIZE_T done = 0;
    return m_address && ::ReadProcessMemory(m_process, At(offset), data, size, &done) && done == size;
}

HWND ChooserWindow::Find(const QuonProcess& quon)
{
    for (HWND wnd : quon.Windows()) {
        char className[64] = "";
        ::GetClassNameA(wnd, className, sizeof className);
        if (std::string(className) == "#32770" && ::IsWindowVisible(wnd) &&
            ::GetDlgItem(wnd, IDC_FOLDER_TREE) && ::GetDlgItem(wnd, IDC_SONG_LIST))
            return wnd;
    }
    return nullptr;
}

std::vector<std::string> ChooserWindow::DriveEntries() const
{
    return Entries(Item(IDC_DRIVE_COMBO), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

bool ChooserWindow::PickDrive(const std::string& text) const
{
    const int index = IndexOf(DriveEntries(), text);
    if (index < 0)
        return false;
    // The arrow button fills the right end of the box's edit row.
    HWND combo = Item(IDC_DRIVE_COMBO);
    RECT box{};
    ::GetClientRect(combo, &box);
    const int arrow = ::GetSystemMetrics(SM_CXVSCROLL);
    ClickAt(combo, box.right - arrow / 2 - 1, (box.bottom - box.top) / 2);
    HWND list = nullptr;
    if (!WaitFor([&] { return (list = DroppedList(combo)) != nullptr; }, 3000))
        return false;
    ::Sleep(200);
    RECT item{};
    RECT client{};
    ::GetClientRect(list, &client);
    Send(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if (item.top < client.top || item.bottom > client.bottom) {
        // Out of sight: scrolled to, as with the list's scroll bar.
        Send(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        Send(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    ClickThrough(combo, list, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    WaitFor([&] { return !::IsWindowVisible(list); }, 3000);
    return Send(combo, CB_GETCURSEL, 0, 0) == index;
}

HTREEITEM ChooserWindow::Root() const
{
    return reinterpret_cast<HTREEITEM>(Send(Item(IDC_FOLDER_TREE), TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

std::vector<HTREEITEM> ChooserWindow::Children(HTREEITEM parent) const
{
    HWND tree = Item(IDC_FOLDER_TREE);
    std::vector<HTREEITEM> items;
    auto next = [&](UINT how, HTREEITEM from) {
        return reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    };
    for (HTREEITEM item = next(TVGN_CHILD, parent); item; item = next(TVGN_NEXT, item))
        items.push_back(item);
    return items;
}

std::string ChooserWindow::Text(HTREEITEM item) const
{
    // TVITEMA as a 32-bit process lays it out.
    struct TvItem32 {
        UINT mask;
        DWORD hItem;
        UINT state, stateMask;
        DWORD pszText;
        int cchTextMax, iImage, iSelectedImage, cChildren;
        DWORD lParam;
    };
    const SIZE_T textBytes = 520;
    const SIZE_T textAt = sizeof(TVITEMA); // after either layout of the item
    RemoteBuffer remote(m_processId, textAt + textBytes);
    if (!remote.Valid())
        return std::string();
    const char nothing = '\0';
    if (remote.Is32Bit()) {
        TvItem32 query{};
        query.mask = TVIF_TEXT | TVIF_HANDLE;
        query.hItem = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(item));
        query.pszText = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(remote.At(textAt)));
        query.cchTextMax = static_cast<int>(textBytes);
        remote.Write(&query, sizeof query);
    } else {
        TVITEMA query{};
        query.mask = TVIF_TEXT | TVIF_HANDLE;
        query.hItem = item;
        query.pszText = static_cast<char*>(remote.At(textAt));
        query.cchTextMax = static_cast<int>(textBytes);
        remote.Write(&query, sizeof query);
    }
    remote.Write(&nothing, 1, textAt);
    if (Send(Item(IDC_FOLDER_TREE), TVM_GETITEMA, 0, remote.Address()) <= 0)
        return std::string();
    std::string text(textBytes, '\0');
    remote.Read(&text[0], textBytes, textAt);
    text.resize(std::strlen(text.c_str()));
    return text;
}

HTREEITEM ChooserWindow::ChildNamed(HTREEITEM parent, const std::string& text) const
{
    for (HTREEITEM item : Children(parent)) {
        if (Text(item) == text)
            return item;
    }
    return nullptr;
}

HTREEITEM ChooserWindow::Selected() const
{
    return reinterpret_cast<HTREEITEM>(Send(Item(IDC_FOLDER_TREE), TVM_GETNEXTITEM, TVGN_CARET, 0));
}

bool ChooserWindow::Expand(HTREEITEM item) const
{
    Send(Item(IDC_FOLDER_TREE), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    return IsExpanded(item);
}

bool ChooserWindow::IsExpanded(HTREEITEM item) const
{
    const LRESULT state =
        Send(Item(IDC_FOLDER_TREE), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED);
    return state > 0 && (state & TVIS_EXPANDED);
}

bool ChooserWindow::ItemRect(HTREEITEM item, RECT& rect) const
{
    RemoteBuffer remote(m_processId, sizeof(RECT));
    if (!remote.Valid() || !remote.Write(&item, sizeof item))
        return false;
    // TRUE: the rectangle of the label alone, which is where a click selects the item.
    if (Send(Item(IDC_FOLDER_TREE), TVM_GETITEMRECT, TRUE, remote.Address()) <= 0)
        return false;
    return remote.Read(&rect, sizeof rect);
}

bool ChooserWindow::ClickNode(HTREEITEM item) const
{
    HWND tree = Item(IDC_FOLDER_TREE);
    Send(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT label{};
    if (!ItemRect(item, label))
        return false;
    ClickAt(tree, (label.left + label.right) / 2, (label.top + label.bottom) / 2);
    return WaitFor([&] { return Selected() == item; }, 3000);
}

std::vector<std::string> ChooserWindow::Songs() const
{
    return Entries(Item(IDC_SONG_LIST), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::string> ChooserWindow::PickedSongs() const
{
    HWND list = Item(IDC_SONG_LIST);
    std::vector<std::string> picked;
    const std::vector<std::string> all = Songs();
    for (size_t i = 0; i < all.size(); ++i) {
        if (Send(list, LB_GETSEL, i, 0) > 0)
            picked.push_back(all[i]);
    }
    return picked;
}

std::vector<std::string> ChooserWindow::Collected() const
{
    return Entries(Item(IDC_SELECTED_LIST), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

bool ChooserWindow::ClickSong(const std::string& name) const
{
    HWND list = Item(IDC_SONG_LIST);
    const int index = IndexOf(Songs(), name);
    if (index < 0)
        return false;
    const bool wasPicked = Send(list, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    RECT item{};
    RECT client{};
    ::GetClientRect(list, &client);
    Send(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if (item.top < client.top || item.bottom > client.bottom) {
        Send(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        Send(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    ClickAt(list, item.left + 12, (item.top + item.bottom) / 2);
    return WaitFor([&] { return (Send(list, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0) != wasPicked; },
                   3000);
}

void ChooserWindow::ClickButton(int id) const
{
    HWND button = Item(id);
    RECT box{};
    ::GetClientRect(button, &box);
    ClickAt(button, box.right / 2, box.bottom / 2);
}
