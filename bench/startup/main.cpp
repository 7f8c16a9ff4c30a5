// Start-up time: from creating the process to its window being visible, for Quon.exe against a bare
// Win32 dialog program (this same exe run with --bare). Prints the median of several runs of each
// and their ratio. Run it with bench/startup/run.sh, inside a prepared Wine session; --splash-today
// exits with 1 when Quon would show its greeting splash today.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "player/logic/Greeting.h"
#include "resource.h"

namespace {

const int kRuns = 9;
const DWORD kVisibleTimeoutMs = 30000;

// ---- the bare dialog -----------------------------------------------------------------------

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

void PutWord(std::vector<WORD>& out, WORD value) { out.push_back(value); }

void PutWide(std::vector<WORD>& out, const wchar_t* text)
{
    for (; *text; ++text)
        out.push_back(static_cast<WORD>(*text));
    out.push_back(0);
}

// A modal dialog of the player template's size and font, with no controls, from a template in memory.
int RunBareDialog()
{
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_POPUP | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    dialog->cdit = 0;
    dialog->cx = 333;
    dialog->cy = 278;
    PutWord(words, 0);          // no menu
    PutWord(words, 0);          // the standard dialog class
    PutWide(words, L"");        // no title
    PutWord(words, 8);          // point size
    PutWide(words, L"\u5B8B\u4F53");  // the player template's face, SimSun
    return static_cast<int>(::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr),
                                                      reinterpret_cast<DLGTEMPLATE*>(words.data()), nullptr,
                                                      &BareDialogProc, 0));
}

// ---- the driver ----------------------------------------------------------------------------

double WallSeconds()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

struct Search {
    DWORD pid;
    bool player;  // Quon's player window rather than any visible dialog
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != search->pid || !::IsWindowVisible(wnd))
        return TRUE;
    const bool match = search->player ? ::GetDlgItem(wnd, IDC_SKIN_QUON) && ::GetDlgItem(wnd, IDC_STATUS)
                                      : true;
    if (match) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindow(DWORD pid, bool player)
{
    Search search{pid, player, nullptr};
    ::EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK FindCredits(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid == search->pid && ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, IDC_CREDITS_PICTURE)) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// Seconds from CreateProcess to the first visible window (the player's for Quon); negative on failure.
double TimeOneStart(const std::string& exe, const std::string& arguments, bool quon)
{
    std::string commandLine = "\"" + exe + "\"" + arguments;
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const double start = WallSeconds();
    if (!::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info))
        return -1;
    HWND shown = nullptr;
    double elapsed = -1;
    while (WallSeconds() - start < kVisibleTimeoutMs / 1000.0) {
        if ((shown = VisibleWindow(info.dwProcessId, quon)) != nullptr) {
            elapsed = WallSeconds() - start;
            break;
        }
        if (::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0)
            break;
        ::Sleep(2);
    }
    ::Sleep(500);  // let it finish starting before it is closed
    if (shown && quon) {
        ::PostMessageA(shown, WM_COMMAND, ID_TRAY_EXIT, 0);
        Search credits{info.dwProcessId, false, nullptr};
        for (int i = 0; i < 500 && !credits.found; ++i) {
            ::Sleep(20);
            ::EnumWindows(&FindCredits, reinterpret_cast<LPARAM>(&credits));
        }
        if (credits.found)
            ::PostMessageA(credits.found, WM_CLOSE, 0, 0);
    } else if (shown) {
        ::PostMessageA(shown, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(info.hProcess, 1);
        ::WaitForSingleObject(info.hProcess, 5000);
    }
    ::CloseHandle(info.hProcess);
    ::CloseHandle(info.hThread);
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? -1 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

void PrintRuns(const char* what, const std::vector<double>& runs)
{
    std::printf("%-26s median %7.1f ms   runs:", what, Median(runs) * 1000);
    for (double r : runs)
        std::printf(" %.0f", r * 1000);
    std::printf("\n");
}

int Drive()
{
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string quonExe = self;
    quonExe = quonExe.substr(0, quonExe.find_last_of('\\')) + "\\Quon.exe";
    if (const char* configured = std::getenv("QUON_EXE"))
        quonExe = configured;
    // On a greeting date run.sh fixes the date of everything it starts to a plain Monday, so that
    // Quon's 8-second splash does not count.
    const char* date = std::getenv("FAKETIME");
    std::printf("Quon.exe: %s\ndate: %s\n", quonExe.c_str(), date ? date + (*date == '@') : "today's");

    // One start of each that is not counted: the first pays for loading the system's DLLs from disk.
    TimeOneStart(quonExe, "", true);
    TimeOneStart(self, " --bare", false);
    std::vector<double> quon, bare;
    for (int i = 0; i < kRuns; ++i) {
        const double q = TimeOneStart(quonExe, "", true);
        const double b = TimeOneStart(self, " --bare", false);
        if (q < 0 || b < 0) {
            std::printf("startup: run %d failed (Quon %.3f s, bare %.3f s)\n", i + 1, q, b);
            return 1;
        }
        quon.push_back(q);
        bare.push_back(b);
    }
    PrintRuns("Quon.exe player window", quon);
    PrintRuns("bare dialog program", bare);
    std::printf("ratio Quon / bare: %.2f\n", Median(quon) / Median(bare));
    return 0;
}

// Whether Quon would greet today with its splash.
bool SplashToday()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return SelectGreetingForDate(now.wMonth, now.wDay, now.wDayOfWeek + 1).splash;
}

}  // namespace

int main()
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring mode = argc == 2 ? argv[1] : L"";
    ::LocalFree(argv);
    if (mode == L"--bare")
        return RunBareDialog();
    if (mode == L"--splash-today")
        return SplashToday() ? 1 : 0;
    return Drive();
}
