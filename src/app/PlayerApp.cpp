// CPlayerApp: start-up runs the credits window, which runs the player window; then the process ends.
#include "app/PlayerApp.h"

#include <commctrl.h>

#include "app/CommandLine.h"
#include "app/CreditsDlg.h"
#include "app/SingleInstance.h"
#include "playback/IncomingFiles.h"
#include "playback/OpenPaths.h"

CStringList g_playList(10);
PFN_SetLayeredWindowAttributes g_pfnSetLayeredWindowAttributes = nullptr;
CPlayerApp theApp;
CFont& g_statusFont = theApp.g_statusFont;

PFN_SetLayeredWindowAttributes LookUpSetLayeredWindowAttributes()
{
    FARPROC found = ::GetProcAddress(::GetModuleHandleA("USER32.DLL"), "SetLayeredWindowAttributes");
    return reinterpret_cast<PFN_SetLayeredWindowAttributes>(reinterpret_cast<void*>(found));
}

CPlayerApp::CPlayerApp() : CWinApp(nullptr) {}

BOOL CPlayerApp::InitInstance()
{
    // Before any window: a second start gives its files to the running player and ends. Play-list
    // files travel as they are: the player that plays them reads them.
    const std::vector<std::wstring> files = ExpandIncomingPaths(CommandLineArguments());
    if (HandOverToRunningPlayer(files))
        return FALSE;
    QueueIncomingFiles(files);  // played once the player window is up

    ::InitCommonControls();
    CWinApp::InitInstance();
    AfxEnableControlContainer();

    CCreditsDlg credits(nullptr);
    m_pMainWnd = &credits;
    credits.DoModal();
    m_pMainWnd = nullptr;
    CloseInstanceWindow();
    // No message loop follows: returning FALSE ends the process.
    return FALSE;
}
