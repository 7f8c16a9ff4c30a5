// CWinApp: the application object, its start-up hook and the process-wide framework calls.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The start-up hook; returning FALSE ends the process without a message loop.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int Run();
    virtual int ExitInstance();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetResourceHandle();
// Enables hosting window controls: initialises OLE/COM for the thread (once).
BOOL AfxEnableControlContainer();
// The framework's message box: owned by the active window, captioned with the application's name.
int AfxMessageBox(const char* text, UINT type = MB_OK);
// Entry point body: runs the application object's start-up hook (and loop, if it asks for one).
int AfxWinMain(HINSTANCE instance);
