// CWnd's side of hosting a window control: dispatch calls by DISPID and the control's events.
#include "framework/Wnd.h"

#include <cstdarg>

namespace {

BSTR NarrowToBstr(const char* text)
{
    if (!text)
        return SysAllocString(L"");
    int count = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (count <= 0)
        return SysAllocString(L"");
    BSTR result = SysAllocStringLen(nullptr, count - 1);
    if (result)
        MultiByteToWideChar(CP_ACP, 0, text, -1, result, count);
    return result;
}

} // namespace

bool CWnd::DispatchEvent(WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const EventCall*>(lParam);
    const EventSinkMap* map = GetEventSinkMap();
    if (!call || !map)
        return false;
    for (const EventSinkEntry* entry = map->entries; entry->handler; ++entry) {
        if (entry->controlId == static_cast<UINT>(wParam) && entry->dispid == call->dispid) {
            entry->handler(this, *call);
            return true;
        }
    }
    return false;
}

HRESULT CWnd::InvokeHelper(DISPID dispid, WORD flags, VARTYPE resultType, void* result, const char* paramInfo,
                           ...)
{
    constexpr UINT kMaxArgs = 8;
    VARIANT args[kMaxArgs];
    UINT argc = 0;
    HRESULT hr = S_OK;
    va_list list;
    va_start(list, paramInfo);
    for (const char* p = paramInfo; p && *p && argc < kMaxArgs; ++p) {
        VARIANT& arg = args[argc];
        VariantInit(&arg);
        switch (static_cast<unsigned char>(*p)) {
        case VT_I4:
            arg.vt = VT_I4;
            arg.lVal = va_arg(list, long);
            break;
        case VT_BOOL:
            arg.vt = VT_BOOL;
            arg.boolVal = va_arg(list, int) ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case 0x0E:
            arg.vt = VT_BSTR;
            arg.bstrVal = NarrowToBstr(va_arg(list, const char*));
            break;
        default:
            hr = DISP_E_TYPEMISMATCH;
            break;
        }
        if (FAILED(hr))
            break;
        ++argc;
    }
    va_end(list);

    if (SUCCEEDED(hr)) {
        DispatchCall call;
        call.dispid = dispid;
        call.flags = flags;
        call.argc = argc;
        call.args = args;
        VariantInit(&call.result);
        if (!m_hWnd || !::SendMessageA(m_hWnd, DispatchMessageId(), 0, reinterpret_cast<LPARAM>(&call)))
            call.hr = FAILED(call.hr) ? call.hr : E_FAIL;
        hr = call.hr;
        if (SUCCEEDED(hr) && result && resultType != VT_EMPTY) {
            VARIANT converted;
            VariantInit(&converted);
            hr = VariantChangeType(&converted, &call.result, 0, resultType);
            if (SUCCEEDED(hr)) {
                if (resultType == VT_I4)
                    *static_cast<long*>(result) = converted.lVal;
                else if (resultType == VT_BOOL)
                    *static_cast<BOOL*>(result) = converted.boolVal != VARIANT_FALSE;
            }
            VariantClear(&converted);
        }
        VariantClear(&call.result);
    }
    for (UINT i = 0; i < argc; ++i)
        VariantClear(&args[i]);
    return hr;
}
