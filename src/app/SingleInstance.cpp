// One running player. The running one keeps a hidden message-only window of a class of its own;
// a second start finds it under a named mutex (so that two quick starts do not both miss each
// other) and sends it the files with WM_COPYDATA, never waiting long for a busy player.
#include "app/SingleInstance.h"

#include <windows.h>

#include <cstring>

#include "playback/IncomingFiles.h"
#include "playback/logic/ArgumentPaths.h"

namespace {

const wchar_t kInstanceClass[] = L"QuonPlayerInstance";
const wchar_t kInstanceMutex[] = L"Local\\QuonPlayerInstance";
// Marks a WM_COPYDATA block of paths from another start of this program ("QUON").
const ULONG_PTR kHandOverTag = 0x51554F4E;
// The same block in a section handed into the running process, for a player too busy to answer
// at once: wParam the section's handle there, lParam its size in bytes.
const UINT kMsgHandOverSection = WM_APP + 0x21;
// A player that does not answer within this time is busy (a splash, a modal dialog).
const UINT kHandOverWaitMs = 800;
const DWORD kLockWaitMs = 3000;

HWND g_instanceWindow = nullptr;

void Receive(const wchar_t* data, size_t count)
{
    const std::vector<std::wstring> files = UnpackPathList(data, count);
    if (files.empty())
        ShowIncomingTarget();
    else
        QueueIncomingFiles(files);
}

LRESULT OnCopyData(LPARAM lParam)
{
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || data->dwData != kHandOverTag)
        return FALSE;
    Receive(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    return TRUE;
}

LRESULT OnHandOverSection(WPARAM wParam, LPARAM lParam)
{
    const HANDLE section = reinterpret_cast<HANDLE>(wParam);
    const size_t bytes = static_cast<size_t>(lParam);
    if (!section || bytes == 0)
        return 0;
    if (const void* view = ::MapViewOfFile(section, FILE_MAP_READ, 0, 0, bytes)) {
        Receive(static_cast<const wchar_t*>(view), bytes / sizeof(wchar_t));
        ::UnmapViewOfFile(view);
    }
    ::CloseHandle(section);
    return 0;
}

LRESULT CALLBACK InstanceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA:
        return OnCopyData(lParam);
    case kMsgHandOverSection:
        return OnHandOverSection(wParam, lParam);
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND CreateInstanceWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &InstanceWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kInstanceClass;
    ::RegisterClassW(&windowClass);
    return ::CreateWindowExW(0, kInstanceClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             windowClass.hInstance, nullptr);
}

// Puts the block into a section, gives the running process a handle to it and posts it there: a
// posted message waits in its queue for as long as the player is busy.
bool PostSection(HWND running, const std::vector<wchar_t>& block)
{
    const DWORD bytes = static_cast<DWORD>(block.size() * sizeof(wchar_t));
    HANDLE section = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, bytes, nullptr);
    if (!section)
        return false;
    bool posted = false;
    if (void* view = ::MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, bytes)) {
        std::memcpy(view, block.data(), bytes);
        ::UnmapViewOfFile(view);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(running, &pid);
        HANDLE process = ::OpenProcess(PROCESS_DUP_HANDLE, FALSE, pid);
        HANDLE remote = nullptr;
        if (process &&
            ::DuplicateHandle(::GetCurrentProcess(), section, process, &remote, FILE_MAP_READ, FALSE, 0)) {
            posted = ::PostMessageW(running, kMsgHandOverSection, reinterpret_cast<WPARAM>(remote),
                                    static_cast<LPARAM>(bytes)) != FALSE;
            if (!posted)
                ::DuplicateHandle(process, remote, nullptr, nullptr, 0, FALSE, DUPLICATE_CLOSE_SOURCE);
        }
        if (process)
            ::CloseHandle(process);
    }
    ::CloseHandle(section);
    return posted;
}

bool SendTo(HWND running, const std::vector<std::wstring>& files)
{
    std::vector<wchar_t> block = PackPathList(files);
    COPYDATASTRUCT data{};
    data.dwData = kHandOverTag;
    data.cbData = static_cast<DWORD>(block.size() * sizeof(wchar_t));
    data.lpData = block.data();
    DWORD_PTR taken = 0;
    if (::SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                              SMTO_BLOCK | SMTO_ABORTIFHUNG, kHandOverWaitMs, &taken))
        return taken == TRUE;
    // Busy, or gone: a window that still exists gets the files by post.
    return ::IsWindow(running) && PostSection(running, block);
}

// Holds the named mutex while a start looks for the running player or becomes it.
class InstanceLock {
public:
    InstanceLock() : m_mutex(::CreateMutexW(nullptr, FALSE, kInstanceMutex))
    {
        if (m_mutex) {
            const DWORD waited = ::WaitForSingleObject(m_mutex, kLockWaitMs);
            m_locked = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        }
    }
    ~InstanceLock()
    {
        if (m_locked)
            ::ReleaseMutex(m_mutex);
        if (m_mutex)
            ::CloseHandle(m_mutex);
    }
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

private:
    HANDLE m_mutex;
    bool m_locked = false;
};

} // namespace

bool HandOverToRunningPlayer(const std::vector<std::wstring>& files)
{
    InstanceLock lock;
    const HWND running = ::FindWindowExW(HWND_MESSAGE, nullptr, kInstanceClass, nullptr);
    if (running && SendTo(running, files))
        return true;
    if (!g_instanceWindow)
        g_instanceWindow = CreateInstanceWindow();
    return false;
}

void CloseInstanceWindow()
{
    if (g_instanceWindow)
        ::DestroyWindow(g_instanceWindow);
    g_instanceWindow = nullptr;
}
