// Message maps: a static table per class binding messages, commands and notifications to handlers.
#pragma once

#include <windows.h>

class CWnd;
struct EventCall;

// One row of a class's table. A row matches a message in [message, lastMessage]; for WM_COMMAND
// and WM_NOTIFY it also matches the notification code and a control id in [id, lastId].
struct MessageEntry {
    UINT message;
    UINT lastMessage;
    UINT code;
    UINT id;
    UINT lastId;
    LRESULT (*handler)(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageEntry* entries;  // ends with a row whose handler is null
};

// One row of an event sink table: an event (by DISPID) of a child control (by id).
struct EventSinkEntry {
    UINT controlId;
    LONG dispid;
    void (*handler)(CWnd* wnd, const EventCall& call);
};

struct EventSinkMap {
    const EventSinkEntry* entries;  // ends with a row whose handler is null
};

#define DECLARE_MESSAGE_MAP()                       \
protected:                                          \
    static const MessageMap* GetThisMessageMap();   \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                    \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap()                               \
    {                                                                             \
        using ThisClass = theClass;                                               \
        using TheBase = baseClass;                                                \
        static const MessageEntry entries[] = {

#define END_MESSAGE_MAP()                                                   \
    {0, 0, 0, 0, 0, nullptr}                                                \
    }                                                                       \
    ;                                                                       \
    static const MessageMap map = {&TheBase::GetThisMessageMap, entries};   \
    return &map;                                                            \
    }

#define QUON_MSG_ROW(msg, lastMsg, code, id, lastId, ...)                                      \
    {msg, lastMsg, code, id, lastId,                                                            \
     [](CWnd* w_, UINT m_, WPARAM wp_, LPARAM lp_) -> LRESULT {                                 \
         auto* self = static_cast<ThisClass*>(w_);                                              \
         (void)self; (void)m_; (void)wp_; (void)lp_;                                            \
         __VA_ARGS__                                                                            \
     }},

// A raw handler: LRESULT fn(WPARAM, LPARAM).
#define ON_MESSAGE(msg, fn) QUON_MSG_ROW(msg, msg, 0, 0, 0xFFFF, return self->fn(wp_, lp_);)
// Command and notification handlers: void fn().
#define ON_COMMAND(id, fn) QUON_MSG_ROW(WM_COMMAND, WM_COMMAND, 0, id, id, self->fn(); return 0;)
#define ON_CONTROL(code, id, fn) QUON_MSG_ROW(WM_COMMAND, WM_COMMAND, code, id, id, self->fn(); return 0;)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
// WM_NOTIFY: void fn(NMHDR*, LRESULT* result).
#define ON_NOTIFY(code, id, fn)                                                       \
    QUON_MSG_ROW(WM_NOTIFY, WM_NOTIFY, (UINT)(code), id, id, LRESULT r_ = 0;          \
                 self->fn(reinterpret_cast<NMHDR*>(lp_), &r_); return r_;)

// Cracked window messages, named after the handlers they call.
#define ON_WM_PAINT() QUON_MSG_ROW(WM_PAINT, WM_PAINT, 0, 0, 0xFFFF, self->OnPaint(); return 0;)
#define ON_WM_TIMER() QUON_MSG_ROW(WM_TIMER, WM_TIMER, 0, 0, 0xFFFF, self->OnTimer((UINT_PTR)wp_); return 0;)
#define ON_WM_MOVE() \
    QUON_MSG_ROW(WM_MOVE, WM_MOVE, 0, 0, 0xFFFF, \
                 self->OnMove((short)LOWORD(lp_), (short)HIWORD(lp_)); return 0;)
#define ON_WM_SIZE() \
    QUON_MSG_ROW(WM_SIZE, WM_SIZE, 0, 0, 0xFFFF, \
                 self->OnSize((UINT)wp_, (short)LOWORD(lp_), (short)HIWORD(lp_)); return 0;)
#define QUON_MOUSE_ROW(msg, fn)                                                                 \
    QUON_MSG_ROW(msg, msg, 0, 0, 0xFFFF,                                                        \
                 POINT pt_{(short)LOWORD(lp_), (short)HIWORD(lp_)}; self->fn((UINT)wp_, pt_); return 0;)
#define ON_WM_LBUTTONDOWN() QUON_MOUSE_ROW(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_RBUTTONDOWN() QUON_MOUSE_ROW(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_MOUSEMOVE() QUON_MOUSE_ROW(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSELEAVE() \
    QUON_MSG_ROW(WM_MOUSELEAVE, WM_MOUSELEAVE, 0, 0, 0xFFFF, return self->OnMouseLeave(wp_, lp_);)
// All WM_CTLCOLOR* messages: HBRUSH OnCtlColor(HDC, HWND, UINT kind), kind being CTLCOLOR_*.
#define ON_WM_CTLCOLOR()                                                                        \
    QUON_MSG_ROW(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, 0, 0, 0xFFFF,                            \
                 return (LRESULT)self->OnCtlColor((HDC)wp_, (HWND)lp_, m_ - WM_CTLCOLORMSGBOX);)
#define ON_WM_SYSCOMMAND() \
    QUON_MSG_ROW(WM_SYSCOMMAND, WM_SYSCOMMAND, 0, 0, 0xFFFF, self->OnSysCommand((UINT)wp_, lp_); return 0;)
#define ON_WM_QUERYDRAGICON() \
    QUON_MSG_ROW(WM_QUERYDRAGICON, WM_QUERYDRAGICON, 0, 0, 0xFFFF, return (LRESULT)self->OnQueryDragIcon();)

#define DECLARE_EVENTSINK_MAP() \
protected:                      \
    const EventSinkMap* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass)                          \
    const EventSinkMap* theClass::GetEventSinkMap() const      \
    {                                                          \
        using ThisClass = theClass;                            \
        static const EventSinkEntry entries[] = {

// An event with two 32-bit integer arguments: void fn(long, long).
#define ON_EVENT_I4_I4(id, dispid, fn)                                                       \
    {id, dispid, [](CWnd* w_, const EventCall& c_) {                                         \
         if (c_.argc == 2)                                                                   \
             static_cast<ThisClass*>(w_)->fn(c_.args[0].lVal, c_.args[1].lVal);              \
     }},

#define END_EVENTSINK_MAP()             \
    {0, 0, nullptr}                     \
    }                                   \
    ;                                   \
    static const EventSinkMap map = {entries}; \
    return &map;                        \
    }
