// CWnd: binding windows to objects, message-map dispatch and subclassing.
#include "framework/Wnd.h"

#include "framework/CriticalSection.h"
#include "framework/Gdi.h"

#include <string>
#include <unordered_map>

namespace {

// Windows bound to their objects. A map rather than a window property: a property lookup is a
// round trip to the window server under Wine, and it would run for every message.
class WindowMap {
public:
    CWnd* Find(HWND wnd)
    {
        CLock lock(m_lock);
        auto it = m_objects.find(wnd);
        return it == m_objects.end() ? nullptr : it->second;
    }
    void Add(HWND wnd, CWnd* object)
    {
        CLock lock(m_lock);
        m_objects[wnd] = object;
    }
    void Remove(HWND wnd)
    {
        CLock lock(m_lock);
        m_objects.erase(wnd);
    }

private:
    CCriticalSection m_lock;
    std::unordered_map<HWND, CWnd*> m_objects;
};

WindowMap& Bound()
{
    static WindowMap map;
    return map;
}

// The object waiting for the window that is being created on this thread, and the class
// that window must have (so that helper windows the system makes meanwhile are not taken).
thread_local CWnd* t_creating = nullptr;
thread_local const char* t_creatingClass = nullptr;
thread_local HHOOK t_creationHook = nullptr;

} // namespace

CWnd::~CWnd()
{
    if (m_hWnd) {
        HWND wnd = m_hWnd;
        bool owns = m_ownsWindow;
        Unlink();
        if (owns && ::IsWindow(wnd))
            ::DestroyWindow(wnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND wnd)
{
    return wnd ? Bound().Find(wnd) : nullptr;
}

bool CWnd::SubclassWindow(HWND wnd)
{
    if (!wnd || m_hWnd || FromHandlePermanent(wnd))
        return false;
    m_hWnd = wnd;
    Bound().Add(wnd, this);
    PreSubclassWindow();
    m_previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWindowProc)));
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND item = parent ? ::GetDlgItem(parent->m_hWnd, static_cast<int>(id)) : nullptr;
    return item && SubclassWindow(item);
}

HWND CWnd::UnsubclassWindow()
{
    HWND wnd = m_hWnd;
    Unlink();
    return wnd;
}

void CWnd::Unlink()
{
    if (!m_hWnd)
        return;
    Bound().Remove(m_hWnd);
    if (m_previousProc &&
        ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::StaticWindowProc))
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
    m_previousProc = nullptr;
    m_hWnd = nullptr;
    m_ownsWindow = false;
}

void CWnd::AttachCreating(HWND wnd)
{
    if (SubclassWindow(wnd))
        m_ownsWindow = true;
}

void CWnd::CreatingWindowFor(const char* className)
{
    t_creating = this;
    t_creatingClass = className;
    if (!t_creationHook)
        t_creationHook = ::SetWindowsHookExA(WH_CBT, &CWnd::CreationHook, nullptr, ::GetCurrentThreadId());
}

void CWnd::CreationDone()
{
    t_creating = nullptr;
    t_creatingClass = nullptr;
    if (t_creationHook) {
        ::UnhookWindowsHookEx(t_creationHook);
        t_creationHook = nullptr;
    }
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = t_creationHook;
    if (code == HCBT_CREATEWND && t_creating) {
        HWND wnd = reinterpret_cast<HWND>(wParam);
        char className[64] = "";
        ::GetClassNameA(wnd, className, sizeof className);
        if (!t_creatingClass || lstrcmpiA(className, t_creatingClass) == 0) {
            CWnd* object = t_creating;
            CreationDone();
            object->AttachCreating(wnd);
        }
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* object = FromHandlePermanent(wnd);
    if (!object)
        return ::DefWindowProcA(wnd, message, wParam, lParam);
    CurrentMessage saved = object->m_current;
    object->m_current = {message, wParam, lParam};
    LRESULT result = object->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        object->Unlink();
        object->PostNcDestroy(); // may delete the object
        return result;
    }
    object->m_current = saved;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == EventMessageId() && DispatchEvent(wParam, lParam))
        return 0;
#ifdef QUON_GDI_COUNTERS
    if (message == GdiCountersMessageId())
        return GdiCounterValue(wParam);
#endif
    if (message == WM_DRAWITEM && lParam) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        CWnd* child = item->CtlType != ODT_MENU ? FromHandlePermanent(item->hwndItem) : nullptr;
        LRESULT result = 0;
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, &result))
            return result;
    }
    LRESULT result = 0;
    if (DispatchMapped(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

const MessageMap* CWnd::GetThisMessageMap()
{
    static const MessageEntry entries[] = {{0, 0, 0, 0, 0, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

bool CWnd::DispatchMapped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    UINT code = 0;
    UINT id = 0;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header)
            return false;
        code = header->code;
        id = static_cast<UINT>(header->idFrom);
    }
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageEntry* entry = map->entries; entry->handler; ++entry) {
            if (message < entry->message || message > entry->lastMessage)
                continue;
            if ((message == WM_COMMAND || message == WM_NOTIFY) &&
                (entry->code != code || id < entry->id || id > entry->lastId))
                continue;
            *result = entry->handler(this, message, wParam, lParam);
            return true;
        }
    }
    return false;
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_previousProc)
        return ::CallWindowProcA(m_previousProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

namespace {

// Changes one of a window's style words; frame flags make the system apply the change at once.
BOOL ModifyStyleWord(HWND wnd, int index, DWORD remove, DWORD add, UINT flags)
{
    LONG_PTR style = ::GetWindowLongPtrA(wnd, index);
    LONG_PTR changed = (style & ~static_cast<LONG_PTR>(remove)) | static_cast<LONG_PTR>(add);
    if (changed == style)
        return FALSE;
    ::SetWindowLongPtrA(wnd, index, changed);
    if (flags)
        ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) const
{
    return ModifyStyleWord(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) const
{
    return ModifyStyleWord(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

void CWnd::CenterWindow() const
{
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT own{};
    ::GetWindowRect(m_hWnd, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    ::SetWindowPos(m_hWnd, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    HWND wnd = m_hWnd;
    bool owns = m_ownsWindow;
    if (!owns)
        Unlink();
    return ::DestroyWindow(wnd); // an owned window unlinks itself at WM_NCDESTROY
}
