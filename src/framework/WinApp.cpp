// CWinApp: the one application object and the framework's process-wide calls.
#include "framework/WinApp.h"

#include <objbase.h>
#include <ole2.h>

#include "framework/Wnd.h"

namespace {
CWinApp* g_theApp = nullptr;
bool g_oleInitialised = false;
}  // namespace

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName ? appName : "Quon") { g_theApp = this; }

CWinApp::~CWinApp()
{
    if (g_theApp == this)
        g_theApp = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    if (g_oleInitialised) {
        ::OleUninitialize();
        g_oleInitialised = false;
    }
    return 0;
}

CWinApp* AfxGetApp() { return g_theApp; }

CWnd* AfxGetMainWnd() { return g_theApp ? g_theApp->m_pMainWnd : nullptr; }

HINSTANCE AfxGetResourceHandle()
{
    if (g_theApp && g_theApp->m_hInstance)
        return g_theApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

BOOL AfxEnableControlContainer()
{
    if (!g_oleInitialised)
        g_oleInitialised = SUCCEEDED(::OleInitialize(nullptr));
    return g_oleInitialised;
}

int AfxMessageBox(const char* text, UINT type)
{
    HWND owner = ::GetActiveWindow();
    if (!owner && AfxGetMainWnd())
        owner = AfxGetMainWnd()->m_hWnd;
    const char* caption = g_theApp ? g_theApp->m_pszAppName : "Quon";
    return ::MessageBoxA(owner, text, caption, type);
}

int AfxWinMain(HINSTANCE instance)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_hInstance = instance;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
