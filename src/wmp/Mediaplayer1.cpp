// CMediaplayer1: dispatch calls on the media player control.
#include "wmp/Mediaplayer1.h"

#include "framework/WinApp.h"
#include "resource.h"
#include "wmp/control/MediaPlayerControl.h"

bool CMediaplayer1::RegisterControlClass()
{
    return RegisterMediaPlayerControl(AfxGetResourceHandle());
}

BOOL CMediaplayer1::Create(const char*, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                           UINT id, void*)
{
    RegisterControlClass();
    HWND wnd = ::CreateWindowExA(
        0, QUON_PLAYER_CONTROL_CLASS, windowName, style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetResourceHandle(), nullptr);
    return wnd && SubclassWindow(wnd);
}

void CMediaplayer1::SetFileName(const char* path)
{
    InvokeHelper(kDispidFileName, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BSTR, path);
}

void CMediaplayer1::Play()
{
    InvokeHelper(kDispidPlay, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE);
}

void CMediaplayer1::Stop()
{
    InvokeHelper(kDispidStop, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE);
}

long CMediaplayer1::GetVolume()
{
    long volume = 0;
    InvokeHelper(kDispidVolume, DISPATCH_PROPERTYGET, VT_I4, &volume, VTS_NONE);
    return volume;
}

void CMediaplayer1::SetVolume(long volume)
{
    InvokeHelper(kDispidVolume, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_I4, volume);
}

void CMediaplayer1::SetNaturalVideoSize(BOOL natural)
{
    InvokeHelper(kDispidNaturalSize, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BOOL, natural);
}

BOOL CMediaplayer1::GetHasNoPicture()
{
    BOOL result = TRUE;
    InvokeHelper(kDispidNoPicture, DISPATCH_PROPERTYGET, VT_BOOL, &result, VTS_NONE);
    return result;
}
