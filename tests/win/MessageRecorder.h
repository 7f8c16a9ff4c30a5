// Records the messages that windows of this thread receive, in order, for tests that pin an order
// of messages; compared with an expected table whose optional rows may be missing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct RecordedMessage {
    HWND wnd;
    UINT message;
    bool operator==(const RecordedMessage& other) const
    {
        return wnd == other.wnd && message == other.message;
    }
};

// One row of an expected sequence: optional rows may be absent from what was recorded.
struct ExpectedMessage {
    HWND wnd;
    UINT message;
    bool optional = false;
};

class MessageRecorder {
public:
    // Records the given messages for the given windows while this object lives.
    MessageRecorder(std::vector<HWND> windows, std::vector<UINT> messages)
        : m_windows(std::move(windows)), m_messages(std::move(messages))
    {
        s_active = this;
        m_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &MessageRecorder::Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MessageRecorder()
    {
        if (m_hook)
            ::UnhookWindowsHookEx(m_hook);
        s_active = nullptr;
    }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    bool Hooked() const { return m_hook != nullptr; }
    const std::vector<RecordedMessage>& Recorded() const { return m_recorded; }

    // Whether the recording matches the expected rows in order, skipping optional rows that are
    // not there; says where it differs otherwise.
    std::string Compare(const std::vector<ExpectedMessage>& expected) const
    {
        size_t at = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            const ExpectedMessage& e = expected[i];
            const bool here = at < m_recorded.size() && m_recorded[at].wnd == e.wnd &&
                              m_recorded[at].message == e.message;
            if (here) {
                ++at;
            } else if (!e.optional) {
                return "row " + std::to_string(i) + " (message 0x" + Hex(e.message) + ") not at position " +
                       std::to_string(at) + " of " + std::to_string(m_recorded.size()) + " recorded";
            }
        }
        if (at != m_recorded.size())
            return std::to_string(m_recorded.size() - at) + " more message(s) than expected";
        return "";
    }

private:
    static std::string Hex(UINT value)
    {
        char text[16];
        wsprintfA(text, "%X", value);
        return text;
    }

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        MessageRecorder* self = s_active;
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && self && self->Wanted(message->hwnd, message->message))
            self->m_recorded.push_back({message->hwnd, message->message});
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    bool Wanted(HWND wnd, UINT message) const
    {
        bool window = false, kind = false;
        for (HWND w : m_windows)
            window = window || w == wnd;
        for (UINT m : m_messages)
            kind = kind || m == message;
        return window && kind;
    }

    static inline MessageRecorder* s_active = nullptr;
    std::vector<HWND> m_windows;
    std::vector<UINT> m_messages;
    HHOOK m_hook = nullptr;
    std::vector<RecordedMessage> m_recorded;
};
