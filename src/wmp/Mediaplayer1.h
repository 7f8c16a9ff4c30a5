// CMediaplayer1: the thin window class over the media player control; every call is a dispatch by DISPID.
#pragma once

#include "framework/Wnd.h"

class CMediaplayer1 : public CWnd {
public:
    // Makes the control's window class known, so dialog templates can create the control.
    static bool RegisterControlClass();

    // Creates the control as a child window (the program's template creates it instead).
    BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, void* context = nullptr);

    void SetFileName(const char* path);           // 1026, put
    void Play();                                  // 2001, method
    void Stop();                                  // 2003, method
    long GetVolume();                             // 19, get
    void SetVolume(long volume);                  // 19, put
    // 23, put: true keeps the picture at its natural size, false stretches it over the control.
    void SetNaturalVideoSize(BOOL natural);
    // 1065, get: true while the current medium has no picture to show (sound only, or unplayable).
    BOOL GetHasNoPicture();
};
