// GoogleTest's Notification for the Windows builds, whose C++ runtime (the win32 thread model, see
// mingw-common.cmake) has neither std::mutex nor std::condition_variable. Included ahead of every
// source that includes GoogleTest; GoogleTest only uses it to start threads of its own.
#pragma once

#include <windows.h>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : m_event(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { ::CloseHandle(m_event); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(m_event); }
    void WaitForNotification() { ::WaitForSingleObject(m_event, INFINITE); }

private:
    HANDLE m_event;
};

} // namespace internal
} // namespace testing
