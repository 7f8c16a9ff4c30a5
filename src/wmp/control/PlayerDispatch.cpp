// The player control's dispatch operations: the table of DISPIDs and what each one does.
#include "wmp/control/MediaPlayerControl.h"
#include "wmp/control/PlayerControl.h"
#include "wmp/control/PlayerMessages.h"

#include <algorithm>

namespace {

// One operation: the argument or result type and the member for each kind it supports.
struct DispatchEntry {
    LONG dispid;
    VARTYPE type;
    HRESULT (CPlayerControl::*get)(VARIANT&);
    HRESULT (CPlayerControl::*put)(const VARIANT&);
    HRESULT (CPlayerControl::*method)();
};

} // namespace

// Declared here rather than in the class: the table needs the private members.
struct CPlayerControlDispatchTable {
    static const DispatchEntry* Find(LONG dispid)
    {
        static const DispatchEntry entries[] = {
            {kDispidVolume, VT_I4, &CPlayerControl::GetVolume, &CPlayerControl::PutVolume, nullptr},
            {kDispidNaturalSize, VT_BOOL, &CPlayerControl::GetNaturalSize, &CPlayerControl::PutNaturalSize,
             nullptr},
            {kDispidFileName, VT_BSTR, &CPlayerControl::GetFileName, &CPlayerControl::PutFileName, nullptr},
            {kDispidNoPicture, VT_BOOL, &CPlayerControl::GetNoPicture, nullptr, nullptr},
            {kDispidPlay, VT_EMPTY, nullptr, nullptr, &CPlayerControl::Play},
            {kDispidStop, VT_EMPTY, nullptr, nullptr, &CPlayerControl::Stop},
        };
        for (const DispatchEntry& entry : entries) {
            if (entry.dispid == dispid)
                return &entry;
        }
        return nullptr;
    }
};

LRESULT CPlayerControl::OnDispatch(WPARAM, LPARAM lParam)
{
    auto* call = reinterpret_cast<DispatchCall*>(lParam);
    if (!call)
        return FALSE;
    const DispatchEntry* entry = CPlayerControlDispatchTable::Find(call->dispid);
    if (!entry) {
        call->hr = DISP_E_MEMBERNOTFOUND;
        return FALSE;
    }
    if (call->argc > 0 && !call->args) {
        call->hr = E_INVALIDARG;
        return TRUE;
    }

    if (call->flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!entry->put) {
            call->hr = DISP_E_MEMBERNOTFOUND;
        } else if (call->argc != 1) {
            call->hr = DISP_E_BADPARAMCOUNT;
        } else {
            VARIANT value;
            VariantInit(&value);
            if (FAILED(VariantChangeType(&value, const_cast<VARIANT*>(&call->args[0]), 0, entry->type))) {
                call->hr = DISP_E_TYPEMISMATCH;
            } else {
                call->hr = (this->*entry->put)(value);
                VariantClear(&value);
            }
        }
    } else if ((call->flags & DISPATCH_PROPERTYGET) && entry->get) {
        if (call->argc != 0) {
            call->hr = DISP_E_BADPARAMCOUNT;
        } else {
            VariantClear(&call->result);
            call->hr = (this->*entry->get)(call->result);
        }
    } else if ((call->flags & DISPATCH_METHOD) && entry->method) {
        call->hr = call->argc != 0 ? DISP_E_BADPARAMCOUNT : (this->*entry->method)();
    } else {
        call->hr = DISP_E_MEMBERNOTFOUND;
    }
    return TRUE;
}

HRESULT CPlayerControl::GetVolume(VARIANT& result)
{
    result.vt = VT_I4;
    result.lVal = m_volume;
    return S_OK;
}

HRESULT CPlayerControl::PutVolume(const VARIANT& value)
{
    m_volume = std::clamp<long>(value.lVal, -10000, 0);
    ApplyAudio();
    return S_OK;
}

HRESULT CPlayerControl::GetNaturalSize(VARIANT& result)
{
    result.vt = VT_BOOL;
    result.boolVal = m_naturalSize ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT CPlayerControl::PutNaturalSize(const VARIANT& value)
{
    m_naturalSize = value.boolVal != VARIANT_FALSE;
    Layout();
    return S_OK;
}

HRESULT CPlayerControl::GetFileName(VARIANT& result)
{
    result.vt = VT_BSTR;
    result.bstrVal = SysAllocStringLen(m_path.data(), static_cast<UINT>(m_path.size()));
    return result.bstrVal || m_path.empty() ? S_OK : E_OUTOFMEMORY;
}

HRESULT CPlayerControl::PutFileName(const VARIANT& value)
{
    std::wstring path;
    if (value.bstrVal)
        path.assign(value.bstrVal, SysStringLen(value.bstrVal));
    // The same medium named again while its start is still being reported (a host that writes
    // the name once more before playing) is left as it is.
    if (path == m_path && !path.empty() && m_state != ItemState::Ended &&
        (m_state == ItemState::Opening || !m_reports.empty()))
        return S_OK;
    CloseItem();
    OpenItem(path);
    if (m_autoStart)
        PlayItem();
    return S_OK;
}

HRESULT CPlayerControl::GetNoPicture(VARIANT& result)
{
    // Asked right after Play, while the medium may still be opening on the media thread: a file
    // whose first bytes show sound only is answered at once; any other waits (a bounded time) for
    // its graph to tell whether it has a picture, as the host shows its window only on that answer.
    if (m_state == ItemState::Opening && m_ticket && !m_soundOnlyFile)
        m_ticket->WaitForPicture(kPictureWaitMs);
    // Still opening after that (a slow machine, a slow drive): a file whose first bytes open a
    // container of pictures is taken to have one, so that a film is not played unseen. One that
    // turns out to have none shows the host's window black until it ends.
    const bool stillOpening = m_state == ItemState::Opening && m_ticket && !m_ticket->PictureKnown();
    const bool picture = HasPicture() || (stillOpening && m_pictureFile);
    result.vt = VT_BOOL;
    result.boolVal = picture ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

HRESULT CPlayerControl::Play()
{
    PlayItem();
    return S_OK;
}

HRESULT CPlayerControl::Stop()
{
    StopItem();
    return S_OK;
}
