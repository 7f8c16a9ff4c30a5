// CWnd: one window object bound to its HWND, dispatching messages through its class's message map.
#pragma once

#include <windows.h>

#include "framework/Dispatch.h"
#include "framework/MessageMap.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object bound to a window by this framework, or null.
    static CWnd* FromHandlePermanent(HWND wnd);

    // Binds this object to an existing window and routes its messages through the message map.
    bool SubclassWindow(HWND wnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Window operations used by the program.
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const
    {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    BOOL MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) const
    {
        return ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) const { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0) const;
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0) const;
    void Invalidate(BOOL erase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL DestroyWindow();
    // Centres the window in the screen's work area.
    void CenterWindow() const;

    // Runs one operation of the window control by DISPID (framework/ControlHost.cpp). The arguments follow paramInfo (VTS_*).
    // Returns the control's HRESULT; a failed call leaves *result untouched.
    HRESULT InvokeHelper(DISPID dispid, WORD flags, VARTYPE resultType, void* result, const char* paramInfo,
                         ...);

    // Processes the message being handled with the window's previous procedure.
    LRESULT Default();

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    // Messages that a parent reflects back to the control that sent them (owner drawing).
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;
    virtual const EventSinkMap* GetEventSinkMap() const { return nullptr; }

    // Calls the previous procedure (the system's class procedure or a dialog's procedure).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK StaticWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Binds a window that is being created for this object (see CreatingWindowFor).
    void AttachCreating(HWND wnd);
    // Makes the next window of the given class created on this thread belong to this object, bound
    // before its first message; CreationDone ends the watch if no such window was made.
    void CreatingWindowFor(const char* className);
    static void CreationDone();

private:
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    bool DispatchMapped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool DispatchEvent(WPARAM wParam, LPARAM lParam);
    void Unlink();

    WNDPROC m_previousProc = nullptr;
    bool m_ownsWindow = false;  // created by this object (not a subclassed foreign window)
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{};
};
