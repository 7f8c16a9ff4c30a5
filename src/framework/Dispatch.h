// Dispatch calls and events between a host window and a window control, carried by window messages.
#pragma once

#include <windows.h>
#include <oleauto.h>

// Parameter-type bytes for InvokeHelper (each string ends with a zero byte).
#define VTS_I4 "\x03"
#define VTS_BOOL "\x0B"
#define VTS_BSTR "\x0E"  // a narrow string, converted to the control's string type
#define VTS_NONE ""

// A host asks a control to run one operation by DISPID: it sends DispatchMessageId() to the
// control's window with lParam pointing at a DispatchCall. The control fills result and hr and
// answers TRUE when it knows the DISPID.
struct DispatchCall {
    DISPID dispid = 0;
    WORD flags = 0;              // DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT
    UINT argc = 0;               // arguments in their natural order
    const VARIANT* args = nullptr;
    VARIANT result{};            // VT_EMPTY on entry; the control sets it for property gets
    HRESULT hr = DISP_E_MEMBERNOTFOUND;
};

// A control fires an event by sending EventMessageId() to its parent window with wParam = the
// control's id and lParam pointing at an EventCall. It is always sent on the thread that owns
// the windows, so handlers run on the user-interface thread.
struct EventCall {
    DISPID dispid = 0;
    UINT argc = 0;
    const VARIANT* args = nullptr;
};

inline UINT DispatchMessageId()
{
    static const UINT id = RegisterWindowMessageA("Quon.Dispatch.Invoke");
    return id;
}

inline UINT EventMessageId()
{
    static const UINT id = RegisterWindowMessageA("Quon.Dispatch.Event");
    return id;
}

// The dialog-initialisation code that hands a control its persisted state: the dialog sends
// this message to the control with wParam = byte count and lParam = the bytes.
constexpr UINT kLoadFromStreamCode = 0x0376;
