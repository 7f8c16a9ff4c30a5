// CPlayerApp: the application object and the process-wide objects whose lifetime it spans.
#pragma once

#include <windows.h>

#include "framework/Gdi.h"
#include "framework/StringList.h"
#include "framework/WinApp.h"

class CPlayerApp : public CWinApp {
public:
    CPlayerApp();
    BOOL InitInstance() override;

    // The status-line font: created by the player window, deleted when the credits window closes.
    CFont g_statusFont;
};

extern CPlayerApp theApp;
// The shared status-line font, kept in the application object.
extern CFont& g_statusFont;
// The one play list of full paths (ANSI code page).
extern CStringList g_playList;

using PFN_SetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
// SetLayeredWindowAttributes, looked up at run time; null where the system lacks it.
extern PFN_SetLayeredWindowAttributes g_pfnSetLayeredWindowAttributes;
// Looks SetLayeredWindowAttributes up by name in the already loaded USER32.DLL.
PFN_SetLayeredWindowAttributes LookUpSetLayeredWindowAttributes();
